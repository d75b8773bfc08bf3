// The window's commands for existing text art and page files.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QStatusBar>

#include "app/canvas_widget.h"
#include "app/core_reasons.h"
#include "app/main_window.h"
#include "app/post_status.h"
#include "engine/open_text_art.h"
#include "files/file_bytes.h"
#include "io/page_files.h"
#include "render/text_art_cells.h"
#include "render/text_art_picture.h"
#include "text/text_art_lines.h"

namespace fudeline {
namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString Reason(const Error& error) {
    return ReasonText(error);
}

}  // namespace

void MainWindow::OpenTextArt() {
    const FileChoice choice = chooseFile_(
        {FileRequest::Purpose::OpenTextArt,
         false,
         tr("テキストアートを開く"),
         {tr("テキストアート (*.txt *.mlt *.ast)"), tr("すべてのファイル (*)")},
         {}},
        this);
    if (choice.path.isEmpty()) return;
    const QString failed = tr("「%1」をテキストアートとして開けませんでした。");
    const std::string path = LocalPath(choice.path);
    if (QFileInfo(choice.path).isDir())
        return Warn(failed, choice.path, tr("ファイルではなくフォルダです"));
    const Result<std::string> bytes = ReadFileBytes(path, kMaxTextArtFileBytes);
    if (!bytes) return Warn(failed, choice.path, Reason(bytes.error()));
    const TextArtPageChoice choosePage = [&](const PageFile& file) -> std::optional<std::size_t> {
        QStringList labels;
        // Leading spaces place the line's art; in a list they only push it aside.
        for (const std::string& label : PageChoiceLabels(file)) {
            labels << QString::fromStdString(label).trimmed();
        }
        const PagePreview preview = [&](int index) {
            return PagePicture(file.pages[static_cast<std::size_t>(index)].text);
        };
        const int index = choosePage_(labels, preview, this);
        if (index < 0 || index >= labels.size()) return std::nullopt;
        return static_cast<std::size_t>(index);
    };
    // Opened over a drawing already kept, the text is what is kept: closing
    // right away asks nothing. Over unkept work, closing still asks.
    const bool kept = !HasUnkeptDrawing();
    canvas_->EndTyping();
    const Result<std::optional<TextArtDrawing>> opened =
        document_.OpenTextArt(*bytes, path, choosePage);  // one undoable step
    if (!opened) return Warn(failed, choice.path, Reason(opened.error()));
    if (!*opened) return;
    const TextArtDrawing& drawing = **opened;
    if (kept) keptInk_ = state_.inkLayer();
    canvas_->update();
    DrawingChanged();
    // The face cannot draw them: they stay in the text but not in the ink.
    if (!drawing.undrawn.empty()) {
        QStringList where;
        for (const UndrawnCharacter& c : drawing.undrawn) {
            where << tr("%1 行 %2 文字目の「%3」")
                         .arg(c.line)
                         .arg(c.column)
                         .arg(QString::fromUcs4(&c.code, 1));
        }
        ShowStatusMessage(
            tr("フォントにない文字はテキストのまま残しました（絵にはなりません）: %1")
                .arg(where.join(tr("、"))));
    }
}

QImage MainWindow::PagePicture(const std::string& sjisText) const {
    const Image picture = fudeline::PagePicture(sjisText, engine_.face());
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) row[x] = 0xFF000000u | picture.Pixel(x, y);
    }
    return image;
}

void MainWindow::AppendPage() {
    const FileChoice choice = chooseFile_({FileRequest::Purpose::AppendPage,
                                           true,
                                           tr("ページとして追加"),
                                           {tr("MLT ファイル (*.mlt)"), tr("AST ファイル (*.ast)")},
                                           "mlt"},
                                          this);
    if (choice.path.isEmpty()) return;
    QString path = choice.path;
    // A name typed without a suffix takes the chosen format's; an existing
    // file keeps its name; a new name with another suffix is asked about,
    // never changed behind the user's back.
    if (!PageFormatForName(LocalPath(path)) && !QFileInfo::exists(path)) {
        const QString suffixed =
            path + (choice.filterIndex == 1 ? QStringLiteral(".ast") : QStringLiteral(".mlt"));
        if (!QFileInfo(path).suffix().isEmpty()) {
            QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                            tr("「%1」は MLT でも AST でもない名前です。\n\n「%2」に追加しますか？")
                                .arg(QFileInfo(path).fileName(), QFileInfo(suffixed).fileName()),
                            QMessageBox::Yes | QMessageBox::Cancel, this);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            if (box.exec() != QMessageBox::Yes) return;
        }
        path = suffixed;
    }
    const QString failed = tr("「%1」にページを追加できませんでした。");
    QString name;
    // An existing file keeps its own format, whatever its name says.
    std::optional<PageFormat> format = PageFormatForName(LocalPath(path));
    if (QFileInfo::exists(path)) {
        const Result<PageFile> existing = ReadPageFile(LocalPath(path));
        if (!existing) return Warn(failed, path, Reason(existing.error()));
        format = existing->format;
    }
    if (format == PageFormat::Ast) {
        const std::optional<QString> asked = askPageName_(this);
        if (!asked) return;
        name = *asked;
    }
    Result<StagedPage> page = document_.StagePage(LocalPath(path), name.toStdString());
    if (!page) return Warn(failed, path, Reason(page.error()));
    if (Status added = page->Commit(); !added) return Warn(failed, path, Reason(added.error()));
    ShowStatusMessage(tr("「%1」にページを追加しました").arg(QFileInfo(path).fileName()),
                             5000);
}

}  // namespace fudeline
