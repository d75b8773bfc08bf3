#include "app/page_dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>

namespace fudeline {
namespace {

// A page's picture at most this large: a whole canvas of text fits at half size.
constexpr int kPreviewWidth = 400;
constexpr int kPreviewHeight = 262;

}  // namespace

int ChoosePageWithDialog(const QStringList& labels, const PagePreview& preview, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QCoreApplication::translate("PageDialogs", "テキストアートを開く"));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("pageList"));
    for (int i = 0; i < labels.size(); ++i) {
        list->addItem(QStringLiteral("%1: %2").arg(i + 1).arg(labels[i]));
    }
    auto* picture = new QLabel(&dialog);
    picture->setObjectName(QStringLiteral("pagePreview"));
    picture->setFixedSize(kPreviewWidth, kPreviewHeight);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setStyleSheet(QStringLiteral("background: white"));
    QObject::connect(list, &QListWidget::currentRowChanged, picture, [&](int row) {
        if (row < 0 || !preview) return picture->clear();
        const QImage image = preview(row);
        // Larger pages are shown smaller, never larger than their pixels.
        const QImage shown = image.width() > kPreviewWidth || image.height() > kPreviewHeight
                                 ? image.scaled(kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio,
                                                Qt::SmoothTransformation)
                                 : image;
        picture->setPixmap(QPixmap::fromImage(shown));
    });
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* lists = new QVBoxLayout;
    lists->addWidget(new QLabel(QCoreApplication::translate("PageDialogs", "開くページ:"), &dialog));
    lists->addWidget(list);
    auto* row = new QHBoxLayout;
    row->addLayout(lists, 1);
    row->addWidget(picture);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(row);
    layout->addWidget(buttons);
    list->setCurrentRow(0);
    return dialog.exec() == QDialog::Accepted ? list->currentRow() : -1;
}

std::optional<QString> AskPageNameWithDialog(QWidget* parent) {
    bool accepted = false;
    const QString name = QInputDialog::getText(parent, QCoreApplication::translate("PageDialogs", "ページとして追加"),
                                               QCoreApplication::translate("PageDialogs", "ページの名前（空でも構いません）:"),
                                               QLineEdit::Normal, QString(), &accepted);
    if (!accepted) return std::nullopt;
    return name;
}

}  // namespace fudeline
