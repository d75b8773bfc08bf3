#include "app/frame_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fudeline {
namespace {

QString Translated(const char* text) {
    return QCoreApplication::translate("FrameDialog", text);
}

}  // namespace

std::optional<FrameRequest> AskFrameWithDialog(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frameDialog"));
    dialog.setWindowTitle(Translated("吹き出し"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(Translated("吹き出しの中の言葉(&W):"), &dialog);
    auto* words = new QPlainTextEdit(&dialog);
    words->setObjectName(QStringLiteral("frameWords"));
    words->setTabChangesFocus(true);
    label->setBuddy(words);
    auto* style = new QComboBox(&dialog);
    style->setObjectName(QStringLiteral("frameStyle"));
    style->addItem(Translated("角の丸い枠"), static_cast<int>(FrameStyle::Rounded));
    style->addItem(Translated("四角い枠"), static_cast<int>(FrameStyle::Box));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(Translated("置く場所を選ぶ"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(words);
    layout->addWidget(style);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return FrameRequest{words->toPlainText(),
                        static_cast<FrameStyle>(style->currentData().toInt())};
}

}  // namespace fudeline
