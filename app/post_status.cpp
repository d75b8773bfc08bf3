#include "app/post_status.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QSettings>
#include <QSpinBox>

#include "app/settings_keys.h"

namespace fudeline {
namespace {

// The custom board's name in the settings, beside the rows' names.
constexpr char kCustomName[] = "custom";

// Asks for custom limits; nothing when cancelled.
std::optional<BoardLimits> AskCustomLimits(QWidget* parent, const BoardLimits& current) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("customBoardDialog"));
    dialog.setWindowTitle(PostStatus::tr("掲示板の上限"));
    auto* form = new QFormLayout(&dialog);
    const QString noLimit = PostStatus::tr("0 にした項目は上限なしになります。");
    // The boxes take what the command line's --board takes: 0 to the largest limit.
    auto spin = [&](const char* name, const QString& label, std::int64_t value) {
        auto* box = new QSpinBox(&dialog);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, static_cast<int>(kMaxBoardLimit));
        box->setSpecialValueText(PostStatus::tr("上限なし"));
        box->setToolTip(noLimit);
        box->setValue(static_cast<int>(value));
        form->addRow(label, box);
        return box;
    };
    QSpinBox* bytes = spin("maxBytes", PostStatus::tr("バイト数:"), current.maxBytes);
    QSpinBox* lines = spin("maxLines", PostStatus::tr("行数:"), current.maxLines);
    QSpinBox* line = spin("maxLineBytes", PostStatus::tr("1行のバイト数:"), current.maxLineBytes);
    auto* note = new QLabel(noLimit, &dialog);
    note->setObjectName(QStringLiteral("noLimitNote"));
    form->addRow(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return BoardLimits{bytes->value(), lines->value(), line->value()};
}

// Limits kept in the settings as --board writes them; a value the rule
// refuses (edited by hand, or from another version) gives the default board's.
BoardLimits LimitsFromText(const QString& text) {
    return ParseBoardLimits(text.toStdString()).value_or(kDefaultBoard.limits);
}

// The custom board's entry in the list: its limits once they are chosen.
QString CustomBoardName(const BoardLimits& limits) {
    QStringList parts;
    // Limits are at most kMaxBoardLimit: they fit an int.
    if (limits.maxBytes > 0)
        parts << PostStatus::tr("%nバイト", nullptr, static_cast<int>(limits.maxBytes));
    if (limits.maxLines > 0)
        parts << PostStatus::tr("%n行", nullptr, static_cast<int>(limits.maxLines));
    if (limits.maxLineBytes > 0)
        parts << PostStatus::tr("1行%nバイト", nullptr, static_cast<int>(limits.maxLineBytes));
    if (parts.isEmpty()) parts << PostStatus::tr("上限なし");
    return PostStatus::tr("カスタム (%1)").arg(parts.join(PostStatus::tr("・")));
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
    // The counter takes what the other controls of the line leave, and two
    // lines of text: a warning too long for the first wraps onto the second,
    // while the window keeps one size whatever the count says.
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    // A fixed height: a wrapping label would otherwise ask for a height from
    // its width, and the window would change size with the text.
    label_->setFixedHeight(2 * label_->fontMetrics().lineSpacing() + 2);
    label_->installEventFilter(this);
    boards_ = new QComboBox(this);
    boards_->setObjectName(QStringLiteral("boardChooser"));
    boards_->setFocusPolicy(Qt::StrongFocus);  // a tab stop like every control
    for (const BoardProfile& board : kBoardProfiles) {
        // The context lupdate gives the names it reads in boards.h.
        boards_->addItem(
            QCoreApplication::translate("Board", std::string(board.windowName).c_str()));
    }
    boards_->addItem(tr("カスタム..."));
    // The custom board's limits make its entry longer once chosen: the list
    // grows with it rather than cutting the limits off.
    boards_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    layout->addWidget(label_, 1);
    layout->addWidget(boards_);

    QSettings settings;
    custom_ = LimitsFromText(settings.value(settings_keys::kCustomLimits).toString());
    board_ = BoardNamed(settings.value(settings_keys::kBoard).toString().toStdString());
    ShowBoard();
    connect(boards_, &QComboBox::activated, this, &PostStatus::OnBoardActivated);
    Refresh();
}

PostStatus::Board PostStatus::BoardNamed(std::string_view name) {
    if (name == kCustomName) return kCustom;
    const BoardProfile* board = FindBoard(name);
    return static_cast<Board>((board ? board : &kDefaultBoard) - kBoardProfiles.data());
}

std::string_view PostStatus::boardName() const {
    return board_ == kCustom ? std::string_view(kCustomName)
                             : kBoardProfiles[static_cast<std::size_t>(board_)].name;
}

BoardLimits PostStatus::limits() const {
    return board_ == kCustom ? custom_ : kBoardProfiles[static_cast<std::size_t>(board_)].limits;
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
    if (ValidBoardLimits(custom)) custom_ = custom;  // the rule --board follows
    ShowBoard();
    QSettings settings;
    const std::string_view name = boardName();
    settings.setValue(settings_keys::kBoard,
                      QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    settings.setValue(settings_keys::kCustomLimits, QString::fromStdString(FormatBoardLimits(custom_)));
    Refresh();
    emit boardChosen();
}

void PostStatus::ShowBoard() {
    // Chosen, the custom board shows its limits; "..." says a dialog asks for them.
    boards_->setItemText(kCustom, board_ == kCustom ? CustomBoardName(custom_) : tr("カスタム..."));
    boards_->setCurrentIndex(board_);
}

void PostStatus::Show(const std::string& sjis) {
    // A figure worked out for another text would mislead until the next one comes.
    if (sjis != sjis_) alignedBytes_.reset();
    sjis_ = sjis;
    Refresh();
}

void PostStatus::ShowAlignedLeft(std::optional<std::int64_t> bytes) {
    alignedBytes_ = bytes;
    Refresh();
}

bool PostStatus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label_ && event->type() == QEvent::Resize) ShowText();
    return QWidget::eventFilter(watched, event);
}

void PostStatus::ShowText() {
    const QFontMetrics metrics = label_->fontMetrics();
    const QRect room = label_->contentsRect();
    auto fits = [&](const QString& text) {
        const QRect wrapped(0, 0, room.width(), 100 * room.height());
        return metrics.boundingRect(wrapped, Qt::TextWordWrap, text).height() <= room.height();
    };
    QString shown = text_;
    if (!room.isEmpty() && !fits(shown)) {
        // More than the two lines hold (long numbers, a narrow line): cut
        // where it stops fitting, marked as cut.
        const QChar ellipsis(0x2026);
        while (!shown.isEmpty() && !fits(shown + ellipsis)) shown.chop(1);
        shown += ellipsis;
    }
    label_->setText(shown);
    // A warning, or anything cut, reads whole on hover.
    label_->setToolTip(count_.over() || shown != text_ ? text_ : QString());
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
    if (!over.isEmpty()) text += tr("　上限を超えています: %1").arg(over.join(tr("、")));
    if (alignedBytes_ && *alignedBytes_ < count_.bytes) {
        text += tr("　左に寄せると %1 バイト").arg(QLocale().toString(static_cast<qint64>(*alignedBytes_)));
    }
    text_ = text;
    ShowText();
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, count_.over()
                                               ? QColor(0xC0, 0, 0)
                                               : this->palette().color(QPalette::WindowText));
    label_->setPalette(palette);
}

}  // namespace fudeline
