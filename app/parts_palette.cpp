#include "app/parts_palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

#include "engine/open_text_art.h"

namespace fudeline {
namespace {

// A part's picture in the list: its text drawn at this size at most.
constexpr int kPictureWidth = 160;
constexpr int kPictureHeight = 96;
// Whether an item's picture is drawn (where its part is, `listed_` says).
constexpr int kDrawnRole = Qt::UserRole;

}  // namespace

PartsPalette::PartsPalette(Picture picture, QWidget* parent)
    : QDockWidget(tr("部品"), parent), picture_(std::move(picture)) {
    setObjectName(QStringLiteral("partsPalette"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    auto* buttons = new QHBoxLayout;
    auto* open = new QPushButton(tr("部品集を開く(&O)..."), body);
    open->setObjectName(QStringLiteral("openPartsButton"));
    open->setToolTip(tr("MLT や AST のファイルのページを部品として並べます"));
    clear_ = new QPushButton(tr("すべて閉じる"), body);
    clear_->setObjectName(QStringLiteral("closePartsButton"));
    clear_->setEnabled(false);
    buttons->addWidget(open);
    buttons->addWidget(clear_);
    search_ = new QLineEdit(body);
    search_->setObjectName(QStringLiteral("partsSearch"));
    search_->setPlaceholderText(tr("名前か1行目で探す"));
    search_->setClearButtonEnabled(true);
    list_ = new QListWidget(body);
    list_->setObjectName(QStringLiteral("partsList"));
    list_->setIconSize(QSize(kPictureWidth, kPictureHeight));
    list_->setUniformItemSizes(true);
    list_->setWordWrap(true);
    list_->setToolTip(tr("部品を選んでから、キャンバスの置きたい所をクリックします"));
    note_ = new QLabel(body);
    note_->setObjectName(QStringLiteral("partsNote"));
    note_->setWordWrap(true);
    layout->addLayout(buttons);
    layout->addWidget(search_);
    layout->addWidget(list_, 1);
    layout->addWidget(note_);
    setWidget(body);

    connect(open, &QPushButton::clicked, this, &PartsPalette::openRequested);
    connect(clear_, &QPushButton::clicked, this, &PartsPalette::RemoveLibraries);
    connect(search_, &QLineEdit::textChanged, this, &PartsPalette::List);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ChooseListed(list_->row(item)); });
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ChooseListed(list_->row(item)); });
    connect(list_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &PartsPalette::DrawVisiblePictures);
    List();
}

void PartsPalette::AddLibrary(const QString& path, PageFile file) {
    Library library{path, std::move(file), {}};
    // Leading spaces place a line's art; in a list they only push it aside.
    for (const std::string& label : PageChoiceLabels(library.file)) {
        library.labels.push_back(QString::fromStdString(label).trimmed());
    }
    bool replaced = false;
    for (Library& held : libraries_) {
        if (held.path == path) {
            held = std::move(library);
            replaced = true;
            break;
        }
    }
    if (!replaced) libraries_.push_back(std::move(library));
    List();
    emit librariesChanged(libraries());
}

void PartsPalette::RemoveLibraries() {
    libraries_.clear();
    List();
    emit librariesChanged(libraries());
}

QStringList PartsPalette::libraries() const {
    QStringList paths;
    for (const Library& library : libraries_) paths << library.path;
    return paths;
}

QStringList PartsPalette::listedLabels() const {
    QStringList labels;
    for (int row = 0; row < list_->count(); ++row) labels << list_->item(row)->text();
    return labels;
}

void PartsPalette::ChooseListed(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= listed_.size()) return;
    const Listed& part = listed_[static_cast<std::size_t>(row)];
    const Library& library = libraries_[part.library];
    emit partChosen(library.labels[part.page], library.file.pages[part.page].text);
}

void PartsPalette::List() {
    list_->clear();
    listed_.clear();
    clear_->setEnabled(!libraries_.empty());
    const QString wanted = search_->text().trimmed();
    std::size_t found = 0;
    for (std::size_t l = 0; l < libraries_.size(); ++l) {
        const Library& library = libraries_[l];
        for (std::size_t p = 0; p < library.labels.size(); ++p) {
            if (!wanted.isEmpty() && !library.labels[p].contains(wanted, Qt::CaseInsensitive))
                continue;
            ++found;
            if (listed_.size() >= static_cast<std::size_t>(kMostListed)) continue;
            listed_.push_back({l, p});
            auto* item = new QListWidgetItem(library.labels[p], list_);
            item->setSizeHint(QSize(kPictureWidth + 8, kPictureHeight + 24));
        }
    }
    if (libraries_.empty()) {
        note_->setText(
            tr("部品集がありません。「部品集を開く」で MLT や AST のファイルを開きます"));
    } else if (found > listed_.size()) {
        note_->setText(tr("%1 件のうち %2 件を表示しています。探す言葉で絞り込めます")
                           .arg(found)
                           .arg(listed_.size()));
    } else {
        note_->setText(tr("%1 件").arg(found));
    }
    DrawVisiblePictures();
}

void PartsPalette::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    DrawVisiblePictures();
}

void PartsPalette::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    DrawVisiblePictures();
}

void PartsPalette::DrawVisiblePictures() {
    if (list_->count() == 0 || !picture_) return;
    // The rows in view and a screenful after them: a library of thousands of
    // pages draws only what is looked at.
    const QListWidgetItem* first = list_->itemAt(QPoint(4, 4));
    const int from = first ? list_->row(first) : 0;
    const int shown = std::max(1, list_->viewport()->height() / (kPictureHeight + 24) + 1);
    const int to = std::min(list_->count(), from + 2 * shown);
    for (int row = from; row < to; ++row) {
        QListWidgetItem* item = list_->item(row);
        if (item->data(kDrawnRole).toBool()) continue;
        const Listed& part = listed_[static_cast<std::size_t>(row)];
        const QImage drawn = picture_(libraries_[part.library].file.pages[part.page].text);
        const QImage small = drawn.width() > kPictureWidth || drawn.height() > kPictureHeight
                                 ? drawn.scaled(kPictureWidth, kPictureHeight, Qt::KeepAspectRatio,
                                                Qt::SmoothTransformation)
                                 : drawn;
        item->setIcon(QIcon(QPixmap::fromImage(small)));
        item->setData(kDrawnRole, true);
    }
}

}  // namespace fudeline
