// What the window tests share: recorded strokes played as mouse events, the
// command-line tool for comparison, modal boxes answered, settings kept away
// from the user's own.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "app/canvas_widget.h"
#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/settings_keys.h"
#include "engine/engine.h"
#include "pixels/geometry.h"
#include "session/client_map.h"

namespace fudeline::testing {

// A recorded event in window client pixels: the same events go to the window
// and, as a replay script, to fudeline-cli.
struct Event {
    enum Kind { Down, Move, Up } kind;
    int x = 0, y = 0;
    bool shift = false;  // held with a press or a move
};

inline QString ScriptOf(const QList<Event>& events) {
    QString script;
    for (const Event& e : events) {
        const QString shift = e.shift ? QStringLiteral(" shift") : QString();
        if (e.kind == Event::Down) script += QStringLiteral("down %1 %2%3\n").arg(e.x).arg(e.y).arg(shift);
        if (e.kind == Event::Move) script += QStringLiteral("move %1 %2%3\n").arg(e.x).arg(e.y).arg(shift);
        if (e.kind == Event::Up) script += QStringLiteral("up\n");
    }
    return script;
}

// A zig-zag over several rows, then an angle lower down.
inline QList<Event> Wave() {
    QList<Event> events{{Event::Down, 60, 120}};
    for (int i = 1; i <= 40; ++i) {
        events.append(
            Event{Event::Move, 60 + i * 12, 120 + ((i % 8) < 4 ? i % 4 : 4 - i % 4) * 15});
    }
    events.append(Event{Event::Up});
    events.append(Event{Event::Down, 100, 300});
    events.append(Event{Event::Move, 400, 330});
    events.append(Event{Event::Move, 400, 420});
    events.append(Event{Event::Up});
    return events;
}

// A client pixel as the canvas widget sees it.
inline QPoint OnCanvas(int clientX, int clientY) {
    return QPoint(clientX - kCanvasLeft, clientY - kCanvasTop);
}

// One event as the canvas receives it (without the paint).
inline void Send(CanvasWidget* canvas, const Event& e) {
    const QPoint p = OnCanvas(e.x, e.y);
    const Qt::KeyboardModifiers keys = e.shift ? Qt::ShiftModifier : Qt::NoModifier;
    if (e.kind == Event::Down) QTest::mousePress(canvas, Qt::LeftButton, keys, p);
    if (e.kind == Event::Move && !e.shift) QTest::mouseMove(canvas, p);
    if (e.kind == Event::Move && e.shift) {
        // QTest's moves carry no keys; the window reads Shift from the move itself.
        QMouseEvent move(QEvent::MouseMove, p, canvas->mapToGlobal(QPointF(p)), Qt::NoButton,
                         Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(canvas, &move);
    }
    if (e.kind == Event::Up) QTest::mouseRelease(canvas, Qt::LeftButton, keys, p);
}

// Plays `events` on the canvas, one paint after every event as the replay does.
inline void Play(MainWindow& window, const QList<Event>& events) {
    CanvasWidget* canvas = window.canvas();
    for (const Event& e : events) {
        Send(canvas, e);
        canvas->repaint();
    }
}

inline QByteArray RunCli(const QStringList& args) {
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + "/fudeline-cli", args);
    if (!process.waitForFinished(20000) || process.exitCode() != 0) return "CLI FAILED";
    return process.readAllStandardOutput();
}

// What fudeline-cli replay prints for `events`, with `flags` such as --sjis, --br.
inline QByteArray ReplayOf(const QList<Event>& events, const QStringList& flags) {
    QTemporaryDir dir;
    const QString script = dir.filePath("events.replay");
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly)) return "NO SCRIPT";
    file.write(ScriptOf(events).toUtf8());
    file.close();
    return RunCli(QStringList{"replay", script} + flags);
}

// Runs `answer` on the next modal widget once it is up.
template <typename Widget>
void OnNextModal(std::function<void(Widget*)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* widget = qobject_cast<Widget*>(QApplication::activeModalWidget());
        QVERIFY(widget);
        answer(widget);
    });
}

// Answers the next message box with `button` (Escape when NoButton); keeps its text.
inline void AnswerNextBox(QMessageBox::StandardButton button, QString* text = nullptr) {
    OnNextModal<QMessageBox>([button, text](QMessageBox* box) {
        if (text) *text = box->text();
        if (button == QMessageBox::NoButton) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(button)->click();
        }
    });
}

// Settings in a fresh temporary folder, never the user's.
class TemporarySettings {
  public:
    TemporarySettings() {
        QCoreApplication::setOrganizationName(QStringLiteral("FudelineTest"));
        QCoreApplication::setApplicationName(QStringLiteral("FudelineTest"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    }
    void Clear() { QSettings().clear(); }

  private:
    QTemporaryDir dir_;
};

// Lays `bytes` at `name` in `dir` and returns the path. Two byte strings
// stand for hostile cases instead: "FOLDER" makes a folder of that name,
// "MISSING" leaves nothing there.
inline QString PlaceTestFile(const QTemporaryDir& dir, const QString& name,
                             const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    if (bytes == "FOLDER") {
        QDir(dir.path()).mkdir(name);
    } else if (bytes != "MISSING") {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    }
    return path;
}

// Loads the catalogue and the face once per test program.
inline Engine& Resources() {
    static std::unique_ptr<Engine> engine = [] {
        Result<Engine> loaded = Engine::Load();
        if (!loaded) qFatal("%s", loaded.error().Message().c_str());
        return std::make_unique<Engine>(std::move(*loaded));
    }();
    return *engine;
}

// The answer to every file request: this path, this filter; records the
// request in `seen` when given.
inline FileChooser Answer(const QString& path, int filter = 0, FileRequest* seen = nullptr) {
    return [=](const FileRequest& request, QWidget*) {
        if (seen) *seen = request;
        return FileChoice{path, filter};
    };
}

// A new main window for every test function, over settings of its own:
// call Open() from init() and Close() from cleanup().
class FreshWindow {
  public:
    // False (with the failure reported) when the window never showed.
    bool Open(bool active = false) {
        settings_.Clear();
        // The tests compare with the command line's defaults, the row matcher
        // and strokes as they came; what a new user sees is
        // startsWithTheFineDecoder's and newUserStartsWithAWeakStabilizer's.
        QSettings().setValue(settings_keys::kFine, false);
        QSettings().setValue(settings_keys::kStabilizer, QStringLiteral("off"));
        // They place pictures at their own size; a new user's are fitted
        // (newPicturesAreFittedToTheCanvasByDefault).
        QSettings().setValue(settings_keys::kBackgroundSize, 100);
        window_ = std::make_unique<MainWindow>(Resources());
        window_->show();
        if (!QTest::qWaitForWindowExposed(window_.get())) return false;
        if (!active) return true;
        QApplication::setActiveWindow(window_.get());
        return QTest::qWaitForWindowActive(window_.get());
    }
    void Close() { window_.reset(); }

    MainWindow* operator->() const { return window_.get(); }
    MainWindow& operator*() const { return *window_; }
    MainWindow* get() const { return window_.get(); }

  private:
    TemporarySettings settings_;
    std::unique_ptr<MainWindow> window_;
};

template <typename T>
T* Find(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found) qWarning("no child named %s", name);
    return found;
}

}  // namespace fudeline::testing
