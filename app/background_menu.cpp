#include "app/background_menu.h"

#include "background/background_picture.h"

namespace fudeline {
namespace {

QAction* AddCommand(QMenu* menu, const QString& text, int command, bool checked) {
    QAction* action = menu->addAction(text);
    action->setData(command);
    action->setObjectName(QString::number(command));
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

}  // namespace

int ScaleOfCommand(int command) {
    switch (command) {
        case kScale25:
            return 25;
        case kScale50:
            return 50;
        case kScale75:
            return 75;
        case kScale100:
            return 100;
        case kScale120:
            return 120;
        case kScale150:
            return 150;
        case kScale200:
            return 200;
        default:
            return 0;
    }
}

QMenu* BuildBackgroundMenu(const BackgroundPicture& picture, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("popup"));
    QAction* choose = menu->addAction(QStringLiteral("画像を指定..."));
    choose->setData(int{kChoosePicture});
    choose->setObjectName(QString::number(kChoosePicture));
    AddCommand(menu, QStringLiteral("表示"), kToggleShow, picture.shown());
    menu->addSeparator();
    AddCommand(menu, QStringLiteral("淡く表示"), kToggleFaint, picture.faint());

    QMenu* sizes = menu->addMenu(QStringLiteral("サイズ"));
    sizes->setObjectName(QStringLiteral("サイズ"));
    const int scale = picture.scale();
    AddCommand(sizes, QStringLiteral("25%"), kScale25, scale == 25);
    AddCommand(sizes, QStringLiteral("50%"), kScale50, scale == 50);
    AddCommand(sizes, QStringLiteral("75%"), kScale75, scale == 75);
    sizes->addSeparator();
    AddCommand(sizes, QStringLiteral("100%"), kScale100, scale == 100);
    sizes->addSeparator();
    AddCommand(sizes, QStringLiteral("120%"), kScale120, scale == 120);
    AddCommand(sizes, QStringLiteral("150%"), kScale150, scale == 150);
    AddCommand(sizes, QStringLiteral("200%"), kScale200, scale == 200);
    return menu;
}

}  // namespace fudeline
