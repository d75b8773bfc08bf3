#include "app/background_menu.h"

#include <QActionGroup>

#include "background/background_picture.h"

namespace fudeline {

BackgroundMenu::BackgroundMenu(BackgroundPicture& picture, QWidget* parent)
    : QMenu(parent), picture_(picture) {
    setObjectName(QStringLiteral("backgroundMenu"));
    choose_ = addAction(tr("画像を指定..."));
    choose_->setObjectName(QStringLiteral("choosePictureAction"));
    connect(choose_, &QAction::triggered, this, &BackgroundMenu::choosePictureRequested);
    show_ = AddToggle(this, "showPictureAction", tr("表示"),
                      [](BackgroundPicture& p) { p.ToggleShown(); });
    addSeparator();
    faint_ = AddToggle(this, "faintPictureAction", tr("淡く表示"),
                       [](BackgroundPicture& p) { p.ToggleFaint(); });

    QMenu* sizes = addMenu(tr("サイズ"));
    sizes->setObjectName(QStringLiteral("pictureSizeMenu"));
    sizes_ = new QActionGroup(this);
    for (int percent : {25, 50, 75, 0, 100, 0, 120, 150, 200}) {
        if (percent == 0) {
            sizes->addSeparator();
            continue;
        }
        QAction* size = sizes->addAction(QStringLiteral("%1%").arg(percent));
        size->setObjectName(QStringLiteral("pictureSize%1Action").arg(percent));
        size->setData(percent);
        size->setCheckable(true);
        sizes_->addAction(size);
        connect(size, &QAction::triggered, this, [this, percent] {
            picture_.SetScale(percent);
            SyncMarks();
            emit pictureChanged();
        });
    }
    addSeparator();
    trace_ = addAction(tr("線を取り込む"));
    trace_->setObjectName(QStringLiteral("traceLinesAction"));
    connect(trace_, &QAction::triggered, this, &BackgroundMenu::traceLinesRequested);
    SyncMarks();
}

void BackgroundMenu::SetTracing(bool tracing) {
    tracing_ = tracing;
    SyncMarks();
}

QAction* BackgroundMenu::AddToggle(QMenu* menu, const char* name, const QString& text,
                                   void (*flip)(BackgroundPicture&)) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, flip] {
        flip(picture_);
        SyncMarks();
        emit pictureChanged();
    });
    return action;
}

void BackgroundMenu::SyncMarks() {
    show_->setChecked(picture_.shown());
    faint_->setChecked(picture_.faint());
    for (QAction* size : sizes_->actions())
        size->setChecked(size->data().toInt() == picture_.scale());
    trace_->setEnabled(picture_.shown() && picture_.hasPicture() && !tracing_);
}

}  // namespace fudeline
