#include "app/file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QSettings>
#include <QSplitter>
#include <QTreeView>

#include <algorithm>

#include "app/settings_keys.h"

namespace fudeline {

QString LastFolderKey(FileRequest::Purpose purpose) {
    switch (purpose) {
        case FileRequest::Purpose::BackgroundPicture:
            return settings_keys::kBackgroundPictureFolder;
        case FileRequest::Purpose::OpenDrawing:
        case FileRequest::Purpose::SaveDrawing:
            return settings_keys::kDrawingFolder;  // opened where it was saved
        case FileRequest::Purpose::ExportText:
            return settings_keys::kExportTextFolder;
        case FileRequest::Purpose::SaveTextPicture:
            return settings_keys::kTextPictureFolder;
        case FileRequest::Purpose::OpenTextArt:
        case FileRequest::Purpose::AppendPage:
        case FileRequest::Purpose::OpenPartsLibrary:
            return settings_keys::kTextArtFolder;  // pages are added where art is kept
    }
    return settings_keys::kOtherFolder;
}

QString StartFolder(FileRequest::Purpose purpose) {
    const QString remembered = QSettings().value(LastFolderKey(purpose)).toString();
    return remembered.isEmpty() ? QDir::homePath() : remembered;
}

namespace {

// Qt's own dialog (where the desktop offers none) opens too narrow for
// Japanese: the date column shows "2026/1… 19:47" and the places "コンピュ…".
// It opens wider, the date column as wide as its dates, the places whole.
void FitDialogToItsTexts(QFileDialog& dialog) {
    constexpr int kDateColumn = 3;
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        view->header()->setSectionResizeMode(kDateColumn, QHeaderView::ResizeToContents);
    }
    const QSize size = dialog.sizeHint().expandedTo(QSize(780, 500));
    dialog.resize(size);
    if (auto* sidebar = dialog.findChild<QWidget*>(QStringLiteral("sidebar"))) {
        if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"))) {
            const int places = std::max(170, sidebar->sizeHint().width());
            splitter->setSizes({places, size.width() - places});
        }
    }
}

}  // namespace

FileChoice ChooseFileWithDialog(const FileRequest& request, QWidget* parent) {
    QSettings settings;
    const QString key = LastFolderKey(request.purpose);
    QFileDialog dialog(parent, request.title, StartFolder(request.purpose));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    // A page is added to the file, which stays: nothing is replaced.
    if (request.purpose == FileRequest::Purpose::AppendPage) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    FitDialogToItsTexts(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    FileChoice choice;
    choice.path = dialog.selectedFiles().front();
    choice.filterIndex = std::max<int>(0, request.filters.indexOf(dialog.selectedNameFilter()));
    settings.setValue(key, QFileInfo(choice.path).absolutePath());
    return choice;
}

}  // namespace fudeline
