// The window's parts palette: page files opened as libraries of parts, kept
// between runs, and a part chosen (or words in a speech frame) laid into the
// drawing where the canvas is clicked next.
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "app/canvas_widget.h"
#include "app/core_reasons.h"
#include "app/main_window.h"
#include "app/parts_palette.h"
#include "app/settings_keys.h"
#include "engine/engine_errors.h"
#include "engine/open_text_art.h"
#include "files/file_bytes.h"
#include "io/page_format.h"

namespace fudeline {

void MainWindow::CreatePartsPalette(QMenu* viewMenu) {
    parts_ = new PartsPalette([this](const std::string& text) { return PagePicture(text); }, this);
    parts_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    addDockWidget(Qt::RightDockWidgetArea, parts_);
    QAction* shown = parts_->toggleViewAction();
    shown->setObjectName(QStringLiteral("partsPaletteAction"));
    shown->setText(tr("部品(&B)"));
    shown->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    commands_.append(shown);
    viewMenu->addSeparator();
    viewMenu->addAction(shown);
    QAction* open = AddCommand("openPartsAction", tr("部品集を開く(&L)..."), QKeySequence(),
                               &MainWindow::OpenPartsLibrary);
    fileMenu_->insertAction(fileMenu_->actions().value(fileMenu_->actions().size() - 2), open);
    QAction* frame =
        AddCommand("speechFrameAction", tr("吹き出しを置く(&W)..."),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W), &MainWindow::PlaceSpeechFrame);
    QMenu* edit = menuBar()->findChild<QMenu*>(QStringLiteral("editMenu"));
    edit->insertAction(edit->actions().value(edit->actions().size() - 2), frame);

    connect(parts_, &PartsPalette::openRequested, this, &MainWindow::OpenPartsLibrary);
    connect(parts_, &PartsPalette::librariesChanged, this, [](const QStringList& paths) {
        QSettings().setValue(settings_keys::kPartsLibraries, paths);
    });
    connect(
        parts_, &PartsPalette::partChosen, this,
        [this](const QString& label, const std::string& text) {
            canvas_->SetPendingPlacement([this, text](PenPoint at) {
                return document_.PlacePart(text, TextEncoding::ShiftJis, at);
            });
            ShowStatusMessage(tr("キャンバスの置きたい所をクリックしてください: %1").arg(label));
        });
    connect(canvas_, &CanvasWidget::placed, this, [this] {
        ShowStatusMessage(QString());
        SyncTools();
    });
    connect(canvas_, &CanvasWidget::placementRefused, this,
            [this](const QString& reason) { ShowStatusMessage(reason, kMessageMs); });
    parts_->hide();
}

void MainWindow::RestorePartsLibraries() {
    // One gone or changed past reading since is said and let go.
    const QStringList kept = QSettings().value(settings_keys::kPartsLibraries).toStringList();
    for (const QString& path : kept) LoadPartsLibrary(path, true);
}

void MainWindow::PlaceSpeechFrame() {
    const std::optional<FrameRequest> request = askFrame_(this);
    if (!request) return;
    const std::string words = request->words.toStdString();
    const FrameStyle style = request->style;
    canvas_->SetPendingPlacement(
        [this, words, style](PenPoint at) { return document_.PlaceFramedWords(words, style, at); });
    ShowStatusMessage(tr("キャンバスの置きたい所をクリックしてください: %1").arg(tr("吹き出し")));
}

void MainWindow::OpenPartsLibrary() {
    const FileChoice choice = chooseFile_({FileRequest::Purpose::OpenPartsLibrary,
                                           false,
                                           tr("部品集を開く"),
                                           {tr("部品集 (*.mlt *.ast)"), tr("すべてのファイル (*)")},
                                           {}},
                                          this);
    if (choice.path.isEmpty()) return;
    LoadPartsLibrary(choice.path);
}

bool MainWindow::LoadPartsLibrary(const QString& path, bool quiet) {
    const QString failed = tr("「%1」を部品集として開けませんでした。");
    auto refuse = [&](const QString& reason) {
        if (quiet) {
            ShowStatusMessage(failed.arg(QFileInfo(path).fileName()) + QLatin1Char(' ') + reason);
        } else {
            Warn(failed, path, reason);
        }
        return false;
    };
    const std::string local = QFile::encodeName(path).toStdString();
    const Result<std::string> bytes = ReadFileBytes(local, kMaxTextArtFileBytes);
    if (!bytes) return refuse(ReasonText(bytes.error()));
    Result<PageFile> file = ParsePageFile(*bytes, local);
    if (!file) return refuse(ReasonText(file.error()));
    if (file->pages.empty()) return refuse(ReasonText(Error{local, kinds::NoPages}));
    parts_->AddLibrary(path, std::move(*file));
    parts_->show();
    return true;
}

}  // namespace fudeline
