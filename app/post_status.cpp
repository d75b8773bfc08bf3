#include "app/post_status.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QSettings>
#include <QSpinBox>

namespace fudeline {
namespace {

const QString kBoardKey = QStringLiteral("post/board");
const QString kCustomKey = QStringLiteral("post/customLimits");
const char* const kBoardNames[] = {"2ch", "shitaraba", "custom"};

// Asks for custom limits; nothing when cancelled.
std::optional<BoardLimits> AskCustomLimits(QWidget* parent, const BoardLimits& current) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("customBoardDialog"));
    dialog.setWindowTitle(PostStatus::tr("掲示板の上限"));
    auto* form = new QFormLayout(&dialog);
    auto spin = [&](const char* name, const QString& label, std::int64_t value) {
        auto* box = new QSpinBox(&dialog);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, 1000000);
        box->setSpecialValueText(PostStatus::tr("上限なし"));
        box->setValue(static_cast<int>(value));
        form->addRow(label, box);
        return box;
    };
    QSpinBox* bytes = spin("maxBytes", PostStatus::tr("バイト数:"), current.maxBytes);
    QSpinBox* lines = spin("maxLines", PostStatus::tr("行数:"), current.maxLines);
    QSpinBox* line = spin("maxLineBytes", PostStatus::tr("1行のバイト数:"), current.maxLineBytes);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return BoardLimits{bytes->value(), lines->value(), line->value()};
}

QString LimitsText(const BoardLimits& limits) {
    return QStringLiteral("%1:%2:%3")
        .arg(limits.maxBytes)
        .arg(limits.maxLines)
        .arg(limits.maxLineBytes);
}

BoardLimits LimitsFromText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3) return k2chLimits;
    BoardLimits limits;
    std::int64_t* fields[] = {&limits.maxBytes, &limits.maxLines, &limits.maxLineBytes};
    for (int i = 0; i < 3; ++i) *fields[i] = std::max<qint64>(0, parts[i].toLongLong());
    return limits;
}

// "1,234" or "1,234 / 2,048" when there is a limit.
QString Measure(std::int64_t value, std::int64_t limit) {
    const QLocale locale;
    if (limit <= 0) return locale.toString(static_cast<qint64>(value));
    return QStringLiteral("%1 / %2").arg(locale.toString(static_cast<qint64>(value)),
                                         locale.toString(static_cast<qint64>(limit)));
}

}  // namespace

PostStatus::PostStatus(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("postStatus"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 0, 0);  // the text clear of the window edge
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("postCount"));
    // The counter takes what the other controls of the line leave.
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label_->installEventFilter(this);
    boards_ = new QComboBox(this);
    boards_->setObjectName(QStringLiteral("boardChooser"));
    boards_->setFocusPolicy(Qt::ClickFocus);
    boards_->addItems(
        {tr("2ちゃんねる互換 (2048バイト・24行)"), tr("したらば (4096バイト)"), tr("カスタム...")});
    layout->addWidget(label_, 1);
    layout->addWidget(boards_);

    QSettings settings;
    custom_ = LimitsFromText(settings.value(kCustomKey, LimitsText(k2chLimits)).toString());
    const QString saved = settings.value(kBoardKey).toString();
    for (int i = 0; i < 3; ++i) {
        if (saved == QLatin1String(kBoardNames[i])) board_ = static_cast<Board>(i);
    }
    boards_->setCurrentIndex(board_);
    connect(boards_, &QComboBox::activated, this, &PostStatus::OnBoardActivated);
    Refresh();
}

BoardLimits PostStatus::limits() const {
    switch (board_) {
        case kShitaraba:
            return kShitarabaLimits;
        case kCustom:
            return custom_;
        default:
            return k2chLimits;
    }
}

void PostStatus::OnBoardActivated(int index) {
    if (index == kCustom) {
        const auto limits = AskCustomLimits(this, custom_);
        if (!limits) {
            boards_->setCurrentIndex(board_);  // cancelled: the board stays
            return;
        }
        ChooseBoard(kCustom, *limits);
        return;
    }
    ChooseBoard(static_cast<Board>(index), custom_);
}

void PostStatus::ChooseBoard(Board board, const BoardLimits& custom) {
    board_ = board;
    custom_ = custom;
    boards_->setCurrentIndex(board_);
    QSettings settings;
    settings.setValue(kBoardKey, QString::fromLatin1(kBoardNames[board_]));
    settings.setValue(kCustomKey, LimitsText(custom_));
    Refresh();
}

void PostStatus::Show(const std::string& sjis) {
    sjis_ = sjis;
    Refresh();
}

bool PostStatus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label_ && event->type() == QEvent::Resize) ShowText();
    return QWidget::eventFilter(watched, event);
}

void PostStatus::ShowText() {
    const QString shown =
        label_->fontMetrics().elidedText(text_, Qt::ElideRight, label_->contentsRect().width());
    label_->setText(shown);
    label_->setToolTip(shown == text_ ? QString() : text_);
}

void PostStatus::Refresh() {
    const BoardLimits limits = this->limits();
    count_ = CountPost(sjis_, limits);
    QString text =
        tr("%1 バイト　%2 行")
            .arg(Measure(count_.bytes, limits.maxBytes), Measure(count_.lines, limits.maxLines));
    QStringList over;
    if (count_.overBytes) over << tr("バイト数");
    if (count_.overLines) over << tr("行数");
    if (count_.overLineBytes)
        over << tr("1行の長さ (最長 %1 バイト)")
                    .arg(QLocale().toString(static_cast<qint64>(count_.longestLine)));
    if (!over.isEmpty())
        text += tr("　一度に投稿できません: %1が上限を超えています").arg(over.join(tr("、")));
    text_ = text;
    ShowText();
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, count_.over()
                                               ? QColor(0xC0, 0, 0)
                                               : this->palette().color(QPalette::WindowText));
    label_->setPalette(palette);
}

}  // namespace fudeline
