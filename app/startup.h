// What happens before the window opens: answering --help and --version,
// refusing to start without a display, the language of the user interface.
#pragma once

#include <QLocale>
#include <QString>

#include <functional>

class QCoreApplication;

namespace fudeline {

enum class StartRequest { OpenWindow, Help, Version, NoDisplay };

// What the command line and the environment ask for. --help and --version win
// over everything; without a display (no DISPLAY, no WAYLAND_DISPLAY, no
// -platform argument, no QT_QPA_PLATFORM) there is no window to open.
StartRequest ReadStartRequest(int argc, const char* const* argv,
                              const std::function<const char*(const char*)>& getEnv);

// Writes the answer to a request other than OpenWindow (help and version on
// stdout, the display problem on stderr) and returns the exit status.
int AnswerWithoutWindow(StartRequest request);

enum class UiLanguage { Japanese, English };

// English when the system language is English; Japanese for Japanese, for the
// C and POSIX locales, and for every other language.
UiLanguage ChooseUiLanguage(const QLocale& system);

// Installs Qt's own translations and the window's for `language` into `app`.
// Japanese is the source language: it needs Qt's dialogs translated only,
// from Qt's catalogue and the window's own for what that lacks.
// False when a translation could not be loaded.
bool InstallTranslations(QCoreApplication& app, UiLanguage language);

// The start-up failure when a file the window needs cannot be read, in the
// interface language, naming the file and the reason.
QString CannotStartText(const QString& path, const QString& reason);

// The application's names, version and face, set once the application exists.
void SetUpApplication(QCoreApplication& app);

// Every pointer position the system reports becomes a point of the stroke.
// Qt by default keeps only the newest of the moves that waited while the
// window was busy converting, and a fast stroke then cuts its corners. Call
// once the application exists: its constructor turns the merging on.
void KeepEveryPointerMove();

}  // namespace fudeline
