// The window as a drawing app: steps back and forth, a selection moved, the
// drawing moved to the left edge, zoom and pan, every command from the
// keyboard, and a window that fits the screen at any scale.
#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QMimeData>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>

#include "app/background_menu.h"
#include "app/post_status.h"
#include "tests/app/window_test_support.h"

using namespace fudeline;
using namespace fudeline::testing;

namespace {

// Three strokes on different rows.
QList<Event> ThreeStrokes() {
    return {{Event::Down, 100, 80},  {Event::Move, 260, 100}, {Event::Up},
            {Event::Down, 120, 200}, {Event::Move, 140, 320}, {Event::Move, 300, 330}, {Event::Up},
            {Event::Down, 400, 150}, {Event::Move, 600, 420}, {Event::Up}};
}

// A face of strokes with its top left at client (x, y).
QList<Event> Face(int x, int y) {
    const QList<QList<QPoint>> strokes = {
        {{0, 0}, {40, 10}, {80, 0}},
        {{10, 30}, {20, 40}, {30, 30}},
        {{50, 30}, {60, 40}, {70, 30}},
        {{20, 70}, {40, 85}, {60, 70}},
        {{-10, -20}, {-20, 60}, {0, 110}, {80, 110}, {100, 60}, {90, -20}},
    };
    QList<Event> events;
    for (const QList<QPoint>& stroke : strokes) {
        events.append(Event{Event::Down, x + stroke[0].x(), y + stroke[0].y()});
        for (int i = 1; i < stroke.size(); ++i) {
            events.append(Event{Event::Move, x + stroke[i].x(), y + stroke[i].y()});
        }
        events.append(Event{Event::Up});
    }
    return events;
}

// What fudeline-cli replay prints for a script of `events` followed by `more`.
QByteArray ReplayWith(const QList<Event>& events, const QString& more, const QStringList& flags) {
    QTemporaryDir dir;
    QFile file(dir.filePath("events.replay"));
    if (!file.open(QIODevice::WriteOnly)) return "NO SCRIPT";
    file.write((ScriptOf(events) + more).toUtf8());
    file.close();
    return RunCli(QStringList{"replay", file.fileName()} + flags);
}

QByteArray Copied(MainWindow& window) {
    return QByteArray::fromStdString(window.ExportText());
}

}  // namespace

class EditingWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { Resources(); }
    void init() { QVERIFY(window_.Open(/*active=*/true)); }
    void cleanup() { window_.Close(); }

    // --- Steps.

    void threeStrokesUndoneAndRedoneStepByStepAreReplayWithRedo_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("buttons") << "buttons";
        QTest::newRow("Ctrl+Z, Ctrl+Shift+Z") << "shift";
        QTest::newRow("Ctrl+Z, Ctrl+Y") << "y";
    }
    void threeStrokesUndoneAndRedoneStepByStepAreReplayWithRedo() {
        QFETCH(QString, how);
        const QList<Event> strokes = ThreeStrokes();
        Play(*window_, strokes);
        auto undo = [&] {
            if (how == "buttons") {
                Find<QPushButton>(*window_, "undoButton")->click();
            } else {
                QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
            }
        };
        auto redo = [&] {
            if (how == "buttons") {
                Find<QPushButton>(*window_, "redoButton")->click();
            } else if (how == "shift") {
                QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            } else {
                QTest::keyClick(window_.get(), Qt::Key_Y, Qt::ControlModifier);
            }
        };
        QString script;
        const QStringList sequence{"undo", "undo", "undo", "redo", "redo", "undo", "redo", "redo"};
        for (const QString& step : sequence) {
            step == "undo" ? undo() : redo();
            script += step + QLatin1Char('\n');
            QCOMPARE(Copied(*window_), ReplayWith(strokes, script, {"--sjis", "--history", "steps"}));
        }
        // Three strokes, all back: nothing more to redo.
        QVERIFY(!Find<QPushButton>(*window_, "redoButton")->isEnabled());
        QCOMPARE(Copied(*window_), ReplayWith(strokes, {}, {"--sjis"}));
    }

    // The single toggling undo stays, as a setting that is remembered.
    void singleUndoSettingTogglesAsBefore() {
        QAction* single = window_->findChild<QAction*>("singleUndoAction");
        QVERIFY(single && !single->isChecked());
        single->trigger();
        QVERIFY(QSettings().value(settings_keys::kSingleUndo).toBool());
        Play(*window_, ThreeStrokes());
        const QByteArray drawn = Copied(*window_);
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(Copied(*window_) != drawn);
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);  // the second undo redoes
        QCOMPARE(Copied(*window_), drawn);
        const QByteArray twice = ReplayWith(ThreeStrokes(), "undo\nundo\n", {"--sjis"});
        QCOMPARE(Copied(*window_), twice);
    }

    // --- The selection.

    // A face drawn in the middle, selected with the selection tool and moved
    // with the arrows, Shift and the mouse, is the face drawn where it lands.
    void movedSelectionIsTheDrawingDrawnThere() {
        Play(*window_, Face(400, 200));
        QTest::keyClick(window_.get(), Qt::Key_S);
        QCOMPARE(window_->canvas()->tool(), CanvasWidget::Tool::Select);
        CanvasWidget* canvas = window_->canvas();
        // A rectangle around the face, drawn with the mouse.
        QTest::mousePress(canvas, Qt::LeftButton, {}, OnCanvas(370, 160));
        QTest::mouseMove(canvas, OnCanvas(520, 330));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, OnCanvas(520, 330));
        QVERIFY(window_->document().selection());
        canvas->setFocus();
        for (int i = 0; i < 3; ++i) QTest::keyClick(canvas, Qt::Key_Left);
        QTest::keyClick(canvas, Qt::Key_Down, Qt::ShiftModifier);  // a row: 18 screen pixels
        QTest::keyClick(canvas, Qt::Key_Left, Qt::ShiftModifier);   // 11 pixels
        QCOMPARE(Copied(*window_), ReplayWith(Face(400 - 14, 200 + 18), {}, {"--sjis"}));
        // Dragged by the mouse, 200 pixels left and two rows up.
        const QRect on = *canvas->SelectionOnWidget();
        const QPoint from = on.center();
        QTest::mousePress(canvas, Qt::LeftButton, {}, from);
        QTest::mouseMove(canvas, from + QPoint(-100, -18));
        canvas->repaint();
        QTest::mouseMove(canvas, from + QPoint(-200, -36));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, from + QPoint(-200, -36));
        canvas->repaint();
        QCOMPARE(Copied(*window_), ReplayWith(Face(400 - 214, 200 - 18), {}, {"--sjis"}));
        // The drag was one step: one undo puts the face back where the keys left it.
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Copied(*window_), ReplayWith(Face(400 - 14, 200 + 18), {}, {"--sjis"}));
    }

    void cutPasteAndDeleteWorkOnTheSelection() {
        Play(*window_, Face(300, 200));
        const QByteArray face = Copied(*window_);
        window_->findChild<QAction*>("selectAllAction")->trigger();
        QTest::keyClick(window_.get(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(window_->postStatus()->count().bytes, 0);
        QTest::keyClick(window_.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Copied(*window_), face);
        QTest::keyClick(window_.get(), Qt::Key_Delete);
        QCOMPARE(window_->postStatus()->count().bytes, 0);
        // With the selection cleared, Ctrl+C copies the text again.
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(window_.get(), Qt::Key_Escape);
        QVERIFY(!window_->document().selection());
        QTest::keyClick(window_.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(kShiftJisMime), face);
    }

    // The counter's "左に寄せると" figure is what "左に寄せる" leaves.
    void alignLeftFigureIsTheCountAfterAligning() {
        Play(*window_, Face(400, 200));
        const qint64 before = window_->postStatus()->count().bytes;
        QRegularExpression figure(QStringLiteral("左に寄せると ([0-9,]+) バイト"));
        QTRY_VERIFY(figure.match(window_->postStatus()->text()).hasMatch());
        const qint64 promised =
            figure.match(window_->postStatus()->text()).captured(1).remove(QLatin1Char(',')).toLongLong();
        QVERIFY(promised < before);
        QTest::keyClick(window_.get(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(window_->postStatus()->count().bytes, promised);
        QTest::qWait(400);
        QVERIFY(!figure.match(window_->postStatus()->text()).hasMatch());  // at the edge now
    }

    // --- Zoom and pan.

    void zoomedStrokesLandOnTheirPixels_data() {
        QTest::addColumn<double>("zoom");
        QTest::newRow("150 %") << 1.5;
        QTest::newRow("400 %") << 4.0;
        QTest::newRow("800 %") << 8.0;
    }
    void zoomedStrokesLandOnTheirPixels() {
        QFETCH(double, zoom);
        window_->ZoomTo(zoom);
        CanvasWidget* canvas = window_->canvas();
        QCOMPARE(canvas->zoom(), zoom);
        QCOMPARE(canvas->size(), QSize(qRound(800 * zoom), qRound(522 * zoom)));
        // Each point just inside its canvas pixel's square on screen.
        const QList<Event> strokes = ThreeStrokes();
        for (const Event& e : strokes) {
            const QPoint c = OnCanvas(e.x, e.y);
            const QPoint p(int(c.x() * zoom + zoom / 2), int(c.y() * zoom + zoom / 2));
            if (e.kind == Event::Down) QTest::mousePress(canvas, Qt::LeftButton, {}, p);
            if (e.kind == Event::Move) QTest::mouseMove(canvas, p);
            if (e.kind == Event::Up) QTest::mouseRelease(canvas, Qt::LeftButton, {}, p);
            canvas->repaint();
        }
        QCOMPARE(Copied(*window_), ReplayWith(strokes, {}, {"--sjis"}));
    }

    void ctrlWheelZoomsAboutThePointerWithinItsSteps() {
        CanvasWidget* canvas = window_->canvas();
        QWidget* viewport = window_->view()->viewport();
        const QPoint pointer(300, 200);
        const QPoint onViewport = canvas->mapTo(viewport, pointer);
        const QPoint pixel = canvas->CanvasPixel(pointer);
        auto wheel = [&](int delta) {
            const QPoint at = canvas->mapFrom(viewport, onViewport);
            QWheelEvent event(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(canvas, &event);
        };
        wheel(120);
        QCOMPARE(canvas->zoom(), 1.5);
        wheel(240);
        QCOMPARE(canvas->zoom(), 3.0);
        // The canvas pixel under the pointer stays under it.
        QCOMPARE(canvas->CanvasPixel(canvas->mapFrom(viewport, onViewport)), pixel);
        for (int i = 0; i < 10; ++i) wheel(120);
        QCOMPARE(canvas->zoom(), 8.0);
        for (int i = 0; i < 10; ++i) wheel(-120);
        QCOMPARE(canvas->zoom(), 1.0);
        // Without Ctrl the wheel scrolls.
        window_->ZoomTo(4.0);
        const int before = window_->view()->verticalScrollBar()->value();
        QWheelEvent plain(QPointF(10, 10), canvas->mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &plain);
        QVERIFY(window_->view()->verticalScrollBar()->value() > before);
        QCOMPARE(canvas->zoom(), 4.0);
    }

    void keysZoomAndFitTheWholeCanvas() {
        QTest::keyClick(window_.get(), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(window_->canvas()->zoom(), 1.5);
        QTest::keyClick(window_.get(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(window_->canvas()->zoom(), 1.0);
        window_->ZoomTo(6.0);
        window_->findChild<QAction*>("fitCanvasAction")->trigger();
        const QSize shown = window_->canvas()->size();
        const QSize room = window_->view()->maximumViewportSize();
        QVERIFY(shown.width() <= room.width() && shown.height() <= room.height());
        QVERIFY(shown.width() >= room.width() - 1 || shown.height() >= room.height() - 1);
    }

    void middleButtonAndSpaceDragPan() {
        window_->ZoomTo(4.0);
        CanvasWidget* canvas = window_->canvas();
        QScrollBar* across = window_->view()->horizontalScrollBar();
        across->setValue(1000);
        QTest::mousePress(canvas, Qt::MiddleButton, {}, QPoint(1200, 800));
        QTest::mouseMove(canvas, QPoint(1100, 800));
        QTest::mouseRelease(canvas, Qt::MiddleButton, {}, QPoint(1100, 800));
        QCOMPARE(across->value(), 1100);
        QVERIFY(!window_->state().strokeActive());  // no ink: panning draws nothing
        canvas->setFocus();
        QTest::keyPress(canvas, Qt::Key_Space);
        QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(1300, 800));
        QTest::mouseMove(canvas, QPoint(1350, 800));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(1350, 800));
        QTest::keyRelease(canvas, Qt::Key_Space);
        QCOMPARE(across->value(), 1050);
        QCOMPARE(window_->postStatus()->count().bytes, 0);
    }

    // --- The keyboard.

    // Tab reaches every control; every menu and command has its mnemonic.
    void tabWalksEveryControlAndEveryCommandHasAMnemonic() {
        Play(*window_, ThreeStrokes());
        Find<QPushButton>(*window_, "undoButton")->click();  // something to redo
        QWidget* first = Find<QWidget>(*window_, "undoButton");
        first->setFocus();
        QSet<QWidget*> reached;
        for (int i = 0; i < 40; ++i) {
            reached.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QStringList missing;
        for (const char* name :
             {"textButton", "undoButton", "redoButton", "clearButton", "copyButton",
              "brTagCheckBox", "rowLinesCheckBox", "backgroundButton", "fileButton", "canvas",
              "fineCheckBox", "noFillersCheckBox", "unicodeSpacingCheckBox",
              "stabilizerComboBox"}) {
            QWidget* control = Find<QWidget>(*window_, name);
            if (control->isEnabled() && !reached.contains(control)) missing << name;
        }
        bool boards = false;
        for (QWidget* w : reached) boards = boards || w->objectName() == "boardChooser";
        if (!boards) missing << "board list";
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));

        for (QAction* menuAction : window_->menuBar()->actions()) {
            QVERIFY2(menuAction->text().contains(QLatin1Char('&')), qPrintable(menuAction->text()));
            QSet<QChar> keys;
            for (QAction* action : menuAction->menu()->actions()) {
                if (action->isSeparator() || action->menu()) continue;
                const QRegularExpressionMatch key =
                    QRegularExpression(QStringLiteral("&(.)")).match(action->text());
                QVERIFY2(key.hasMatch(), qPrintable(action->text()));
                QVERIFY2(!keys.contains(key.captured(1).at(0).toUpper()), qPrintable(action->text()));
                keys.insert(key.captured(1).at(0).toUpper());
            }
        }
    }

    void eAndPChooseTheToolAndTheIndicatorLightsIt() {
        QWidget* indicator = Find<QWidget>(*window_, "penIndicator");
        auto lit = [&](int x) {
            return indicator->grab().toImage().pixelColor(x, 3) == indicator->palette().highlight().color();
        };
        QVERIFY(lit(4) && !lit(20));
        QTest::keyClick(window_.get(), Qt::Key_E);
        QVERIFY(!window_->state().penMode());
        QVERIFY(!lit(4) && lit(20));
        QVERIFY(window_->findChild<QAction*>("eraserAction")->isChecked());
        QTest::keyClick(window_.get(), Qt::Key_S);
        QVERIFY(!lit(4) && !lit(20));
        QTest::keyClick(window_.get(), Qt::Key_P);
        QVERIFY(window_->state().penMode());
        QVERIFY(lit(4) && !lit(20));
        QCOMPARE(window_->canvas()->tool(), CanvasWidget::Tool::Draw);
    }

    // [ and ] step the eraser's width, remembered, as replay's eraser line.
    void bracketKeysSetTheEraserWidthAsReplayDoes() {
        const QList<Event> events = ThreeStrokes();
        Play(*window_, events);
        QTest::keyClick(window_.get(), Qt::Key_E);
        const QString eraser = QStringLiteral("down 20 20\nup\n");  // a click on the indicator
        QVERIFY(!window_->state().penMode());
        QVERIFY(window_->findChild<QAction*>("eraser_medium_Action")->isChecked());
        QTest::keyClick(window_.get(), Qt::Key_BracketRight);
        QVERIFY(window_->findChild<QAction*>("eraser_large_Action")->isChecked());
        QCOMPARE(QSettings().value(settings_keys::kEraserSize).toString(), QStringLiteral("large"));
        // Seven pixels below the first stroke: the large eraser reaches it,
        // the medium one would not.
        const QList<Event> rub = {{Event::Down, 100, 87}, {Event::Move, 260, 107}, {Event::Up}};
        Play(*window_, rub);
        const QByteArray large = ReplayWith(events, eraser + "eraser large\n" + ScriptOf(rub), {"--sjis"});
        QCOMPARE(Copied(*window_), large);
        QVERIFY(large != ReplayWith(events, eraser + ScriptOf(rub), {"--sjis"}));
        // Down to small, and no further.
        for (int i = 0; i < 3; ++i) QTest::keyClick(window_.get(), Qt::Key_BracketLeft);
        QVERIFY(window_->findChild<QAction*>("eraser_small_Action")->isChecked());
        QCOMPARE(QSettings().value(settings_keys::kEraserSize).toString(), QStringLiteral("small"));
    }

    void helpListsEveryShortcut() {
        const QStringList list = window_->ShortcutList();
        for (QAction* action : window_->findChildren<QAction*>()) {
            for (const QKeySequence& key : action->shortcuts()) {
                const QString text = key.toString(QKeySequence::NativeText);
                bool listed = false;
                for (const QString& line : list) listed = listed || line.contains(text);
                QVERIFY2(listed, qPrintable(text));
            }
        }
        OnNextModal<QMessageBox>([](QMessageBox* box) {
            QVERIFY(box->text().contains(QStringLiteral("Ctrl+Shift+Z")));
            box->button(QMessageBox::Close)->click();
        });
        QTest::keyClick(window_.get(), Qt::Key_F1);
    }

    // --- The smaller items.

    void statusMessagesLeaveTheCounterVisible() {
        Play(*window_, ThreeStrokes());
        Find<QPushButton>(*window_, "copyButton")->click();
        QVERIFY(!window_->statusMessage().isEmpty());
        auto* count = Find<QLabel>(*window_, "postCount");
        QVERIFY(count->isVisible());
        QVERIFY(count->text().contains(QStringLiteral("バイト")));
        QVERIFY(Find<QComboBox>(*window_, "boardChooser")->isVisible());
    }

    void newPicturesAreFittedToTheCanvasByDefault() {
        QSettings().remove(settings_keys::kBackgroundSize);  // a new user
        MainWindow fresh(Resources());
        QCOMPARE(fresh.background().scale(), kFitCanvasScale);
        QVERIFY(fresh.findChild<QAction*>("pictureSizeFitAction")->isChecked());
    }

    // At twice the scale on a 1280 x 1024 screen the window and every control
    // of it are on screen (run by CTest with QT_SCALE_FACTOR=2).
    void windowFitsTheScreen() {
        const QRect screen = window_->screen()->availableGeometry();
        const QRect frame = window_->frameGeometry();
        QVERIFY2(screen.contains(frame), qPrintable(QStringLiteral("%1 x %2 on %3 x %4")
                                                        .arg(frame.width())
                                                        .arg(frame.height())
                                                        .arg(screen.width())
                                                        .arg(screen.height())));
        for (QWidget* control : window_->findChildren<QAbstractButton*>()) {
            if (!control->isVisible() || control->window() != window_.get()) continue;
            const QRect at(control->mapTo(window_.get(), QPoint()), control->size());
            QVERIFY2(window_->rect().contains(at), qPrintable(control->objectName()));
        }
        QVERIFY(Find<QLabel>(*window_, "postCount")->isVisible());
        // The whole canvas can be brought into view.
        window_->findChild<QAction*>("fitCanvasAction")->trigger();
        const QSize room = window_->view()->maximumViewportSize();
        QVERIFY(window_->canvas()->width() <= room.width());
        QVERIFY(window_->canvas()->height() <= room.height());
    }

  private:
    FreshWindow window_;
};

QTEST_MAIN(EditingWindowTest)
#include "editing_window_test.moc"
