#include "app/background_menu.h"

#include <QActionGroup>
#include <QSettings>

#include <algorithm>
#include <iterator>

#include "app/settings_keys.h"
#include "app/background/background_picture.h"

namespace fudeline {
namespace {

// The size choices in menu order; -1 stands for a separator between groups.
constexpr int kSizeChoices[] = {kFitCanvasScale, -1, 25, 50, 75, -1, 100, -1, 120, 150, 200};

bool IsSizeChoice(int scale) {
    return scale >= 0 && std::find(std::begin(kSizeChoices), std::end(kSizeChoices), scale) !=
                             std::end(kSizeChoices);
}

}  // namespace

BackgroundMenu::BackgroundMenu(BackgroundPicture& picture, QWidget* parent)
    : QMenu(parent), picture_(picture) {
    setObjectName(QStringLiteral("backgroundMenu"));
    choose_ = addAction(tr("画像を指定(&I)..."));
    choose_->setObjectName(QStringLiteral("choosePictureAction"));
    connect(choose_, &QAction::triggered, this, &BackgroundMenu::choosePictureRequested);
    show_ = AddToggle(this, "showPictureAction", tr("表示(&S)"),
                      [](BackgroundPicture& p) { p.ToggleShown(); });
    addSeparator();
    faint_ = AddToggle(this, "faintPictureAction", tr("淡く表示(&F)"),
                       [](BackgroundPicture& p) { p.ToggleFaint(); });

    QMenu* sizes = addMenu(tr("サイズ(&Z)"));
    sizes->setObjectName(QStringLiteral("pictureSizeMenu"));
    sizes_ = new QActionGroup(this);
    for (int scale : kSizeChoices) {
        if (scale < 0) {
            sizes->addSeparator();
            continue;
        }
        const bool fit = scale == kFitCanvasScale;
        QAction* size =
            sizes->addAction(fit ? tr("キャンバスに合わせる") : QStringLiteral("%1%").arg(scale));
        size->setObjectName(fit ? QStringLiteral("pictureSizeFitAction")
                                : QStringLiteral("pictureSize%1Action").arg(scale));
        size->setData(scale);
        size->setCheckable(true);
        sizes_->addAction(size);
        connect(size, &QAction::triggered, this, [this, scale] {
            picture_.SetScale(scale);
            QSettings().setValue(settings_keys::kBackgroundSize, scale);
            SyncMarks();
            emit pictureChanged();
        });
    }
    // The size chosen last time, for this picture and the next; until one
    // is chosen, pictures are fitted to the canvas, as the page fits them.
    bool known = false;
    const int saved = QSettings().value(settings_keys::kBackgroundSize).toInt(&known);
    picture_.SetScale(known && IsSizeChoice(saved) ? saved : kFitCanvasScale);
    addSeparator();
    trace_ = addAction(tr("線を取り込む(&L)"));
    trace_->setObjectName(QStringLiteral("traceLinesAction"));
    connect(trace_, &QAction::triggered, this, &BackgroundMenu::traceLinesRequested);
    traceToFit_ = addAction(tr("ボードに合わせて線を取り込む(&B)"));
    traceToFit_->setObjectName(QStringLiteral("traceLinesToFitBoardAction"));
    connect(traceToFit_, &QAction::triggered, this,
            &BackgroundMenu::traceLinesToFitBoardRequested);
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
    // Fitting traces the file at several sizes: a file too large to keep
    // (shown from its pixels alone) has none to trace.
    traceToFit_->setEnabled(trace_->isEnabled() && !picture_.fileBytes().isEmpty());
}

}  // namespace fudeline
