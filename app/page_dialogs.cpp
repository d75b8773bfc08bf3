#include "app/page_dialogs.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QWidget>

namespace fudeline {

int ChoosePageWithDialog(const QStringList& labels, QWidget* parent) {
    QStringList items;
    for (int i = 0; i < labels.size(); ++i) {
        items << QStringLiteral("%1: %2").arg(i + 1).arg(labels[i]);
    }
    bool accepted = false;
    const QString chosen =
        QInputDialog::getItem(parent, QCoreApplication::translate("PageDialogs", "テキストアートを開く"),
                              QCoreApplication::translate("PageDialogs", "開くページ:"), items, 0, false, &accepted);
    return accepted ? static_cast<int>(items.indexOf(chosen)) : -1;
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
