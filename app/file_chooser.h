// Asking the user for a file to open or to save, each kind of file in the
// folder it was last chosen from. The window asks through a replaceable
// function so that tests can answer without a dialog.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace fudeline {

struct FileRequest {
    enum class Purpose {
        BackgroundPicture,
        OpenDrawing,
        SaveDrawing,
        ExportText,
        SaveTextPicture,
        OpenTextArt,
        AppendPage,
        OpenPartsLibrary,
    };
    Purpose purpose = Purpose::BackgroundPicture;
    bool save = false;
    QString title;
    QStringList filters;    // "Name (*.ext ...)"; the first is chosen at start
    QString defaultSuffix;  // added to a saved name that has none
};

struct FileChoice {
    QString path;         // empty when the user cancelled
    int filterIndex = 0;  // which of the request's filters was chosen
};

using FileChooser = std::function<FileChoice(const FileRequest&, QWidget* parent)>;

// Qt's file dialog, opening in the folder last used for the same purpose
// (remembered in the settings) and remembering the folder chosen now.
FileChoice ChooseFileWithDialog(const FileRequest& request, QWidget* parent);

// The settings key under which the folder of `purpose` is remembered.
QString LastFolderKey(FileRequest::Purpose purpose);

// Where the dialog for `purpose` opens: the folder remembered for it, else
// the home folder, never the folder some other kind of file came from (Qt's
// dialog would open where any dialog was last used).
QString StartFolder(FileRequest::Purpose purpose);

}  // namespace fudeline
