// Drives the real window offscreen: its face, drawing, the commands and their
// shortcuts, the clipboard, the background picture.
#include <QCheckBox>
#include <QComboBox>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollArea>
#include <QStatusBar>

#include "app/background_menu.h"
#include "app/post_status.h"
#include "trace/trace_options.h"
#include "tests/app/window_test_support.h"

using namespace fudeline;
using namespace fudeline::testing;

namespace {

int BlackPixels(const Image& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += image.Pixel(x, y) == kBlack;
    }
    return n;
}

bool RowsEmpty(const TextRows& rows) {
    for (const TextRow& row : rows) {
        if (!row.empty()) return false;
    }
    return true;
}

// The ink's black pixels' bounding box.
QRect InkBounds(const Image& ink) {
    QRect bounds;
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            if (ink.Pixel(x, y) == kBlack) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

QString SavePicture(const QTemporaryDir& dir, const char* name, QRgb colour, int w, int h) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    const QString path = dir.filePath(name);
    picture.save(path);
    return path;
}

// The window's ink against an ink picture the command-line tool saved: how
// many pixels the window inks, and in how many the two differ.
std::pair<int, int> CompareInk(const Image& ink, const QImage& tool) {
    int inkPixels = 0, differing = 0;
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            const bool window = ink.Pixel(x, y) == kBlack;
            inkPixels += window;
            differing += window != (qGray(tool.pixel(x, y)) < 128);
        }
    }
    return {inkPixels, differing};
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { Resources(); }

    void init() { QVERIFY(window_.Open(/*active=*/true)); }
    void cleanup() { window_.Close(); }

    // --- The face: caption, controls in one row, canvas, status line.

    void windowHasItsCaptionControlsCanvasAndStatusLine() {
        QCOMPARE(window_->windowTitle(), QStringLiteral(" 〆(x`) Fudeline v" FUDELINE_VERSION));
        const QList<std::pair<const char*, QString>> controls = {
            {"undoButton", "元に戻す"},
            {"redoButton", "やり直し"},
            {"clearButton", "すべてクリア"},
            {"copyButton", "クリップボードにコピー"},
            {"brTagCheckBox", "コピー時<BR>タグを追加"},
            {"rowLinesCheckBox", "行ラインを表示"},
            {"backgroundButton", "背景..."},
            {"fileButton", "ファイル..."}};
        // At its first size the controls stand in one row above the canvas.
        QWidget* client = window_->centralWidget();
        const QWidget* canvas = window_->canvas();
        const int canvasTop = canvas->mapTo(client, QPoint(0, 0)).y();
        int previousRight = kIndicatorLeft + kIndicatorWidth;
        for (const auto& [name, text] : controls) {
            auto* button = Find<QAbstractButton>(*window_, name);
            QVERIFY2(button, name);
            QCOMPARE(button->text(), text);
            const QRect at(button->mapTo(client, QPoint(0, 0)), button->size());
            QVERIFY(at.left() >= previousRight);  // one row, in this order
            QVERIFY(at.bottom() < canvasTop);
            QVERIFY(at.right() < client->width());
            previousRight = at.right();
        }
        QVERIFY(!Find<QCheckBox>(*window_, "brTagCheckBox")->isChecked());
        QVERIFY(!Find<QCheckBox>(*window_, "rowLinesCheckBox")->isChecked());

        // The whole canvas in view at 100 %, centred, with at least its margin.
        QCOMPARE(canvas->size(), QSize(kCanvasWidth, kCanvasHeight));
        const int left = canvas->mapTo(client, QPoint(0, 0)).x();
        QVERIFY(left >= kCanvasLeft);
        QVERIFY(std::abs(left - (client->width() - kCanvasWidth - left)) <= 1);
        QVERIFY(window_->view()->viewport()->rect().contains(
            QRect(canvas->mapTo(window_->view()->viewport(), QPoint(0, 0)), canvas->size())));
        const QWidget* indicator = Find<QWidget>(*window_, "penIndicator");
        QCOMPARE(indicator->mapTo(client, QPoint(0, 0)).x(), kIndicatorLeft);
        // The status line lies below the canvas, inside the window.
        const QWidget* status = Find<QWidget>(*window_, "postCount");
        QVERIFY(status->isVisible());
        QVERIFY(status->mapTo(window_.get(), QPoint(0, 0)).y() >
                canvas->mapTo(window_.get(), QPoint(0, kCanvasHeight)).y());
        QVERIFY(window_->height() >
                status->mapTo(window_.get(), QPoint(0, status->height())).y() - 1);
    }

    // --- Drawing.

    void strokeBecomesRowsAndBlackTextOnTheCanvas() {
        Play(*window_, Wave());
        int rowsWithText = 0;
        for (const TextRow& row : window_->state().rows()) rowsWithText += !row.empty();
        QVERIFY(rowsWithText >= 5);
        QVERIFY(BlackPixels(window_->canvas()->image()) > 200);
        // The ink itself never shows: no red preview once the button is up.
        for (int y = 0; y < kCanvasHeight; ++y) {
            for (int x = 0; x < kCanvasWidth; ++x) {
                QVERIFY(window_->canvas()->image().Pixel(x, y) != kRed);
            }
        }
    }

    void previewShowsWhileTheButtonIsDown() {
        CanvasWidget* canvas = window_->canvas();
        QTest::mousePress(canvas, Qt::LeftButton, {}, OnCanvas(100, 200));
        QTest::mouseMove(canvas, OnCanvas(300, 200));
        canvas->repaint();
        QCOMPARE(canvas->image().Pixel(150 - kCanvasLeft, 200 - kCanvasTop), kRed);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, OnCanvas(300, 200));
    }

    void indicatorTogglesPenAndEraser_data() {
        QTest::addColumn<QPoint>("client");
        QTest::addColumn<bool>("toggles");
        QTest::newRow("top left of the symbol") << QPoint(11, 11) << true;
        QTest::newRow("last column and row of the press area") << QPoint(43, 31) << true;
    }
    void indicatorTogglesPenAndEraser() {
        QFETCH(QPoint, client);
        QFETCH(bool, toggles);
        auto* indicator = Find<QWidget>(*window_, "penIndicator");
        const QPoint local = client - QPoint(kIndicatorLeft, kIndicatorTop);
        QTest::mouseClick(indicator, Qt::LeftButton, {}, local);
        QCOMPARE(window_->state().penMode(), !toggles);
        QTest::mouseClick(indicator, Qt::LeftButton, {}, local);
        QVERIFY(window_->state().penMode());
        QVERIFY(!window_->state().strokeActive());
        // Beside the symbol, on the client area: nothing.
        QTest::mouseClick(window_->centralWidget(), Qt::LeftButton, {}, QPoint(44, 11));
        QVERIFY(window_->state().penMode());
    }

    void eraserRemovesText() {
        Play(*window_, {{Event::Down, 100, 100}, {Event::Move, 300, 100}, {Event::Up}});
        QVERIFY(!window_->state().rows()[3].empty());
        QTest::mouseClick(Find<QWidget>(*window_, "penIndicator"), Qt::LeftButton, {},
                          QPoint(9, 9));
        Play(*window_, {{Event::Down, 90, 100}, {Event::Move, 320, 100}, {Event::Up}});
        QVERIFY(window_->state().rows()[3].empty());
    }

    void mouseExtremesAndLostReleases() {
        CanvasWidget* canvas = window_->canvas();
        QTest::mousePress(canvas, Qt::LeftButton, {}, OnCanvas(100, 100));
        QTest::mouseMove(canvas, OnCanvas(-40000, -40000));  // held at client -32768
        QTest::mouseMove(canvas, OnCanvas(40000, 40000));
        QTest::mouseMove(canvas, OnCanvas(200, 150));
        canvas->repaint();
        // The release never comes; a new press continues the same stroke.
        QTest::mousePress(canvas, Qt::LeftButton, {}, OnCanvas(300, 300));
        QVERIFY(window_->state().strokeActive());
        QTest::mouseMove(canvas, OnCanvas(400, 300));
        canvas->repaint();
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, OnCanvas(400, 300));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, OnCanvas(400, 300));  // a stray one
        canvas->repaint();
        QVERIFY(!window_->state().strokeActive());
        QCOMPARE(window_->state().inkMinX(), 0);
        QCOMPARE(window_->state().inkMaxX(), 799);
        QVERIFY(!window_->state().rows()[14].empty());
    }

    void rowLinesCheckBoxRepaintsAtOnce() {
        Find<QCheckBox>(*window_, "rowLinesCheckBox")->click();
        QVERIFY(window_->canvas()->showRowLines());
        window_->canvas()->repaint();
        QCOMPARE(window_->canvas()->image().Pixel(5, 16), kLightGrey);
        QCOMPARE(window_->canvas()->image().Pixel(5, 520), kWhite);
    }

    // --- Commands, by button and by shortcut.

    void commandsHaveTheirStandardShortcuts_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("undo") << "undoAction" << QKeySequence(Qt::CTRL | Qt::Key_Z);
        QTest::newRow("copy") << "copyAction" << QKeySequence(Qt::CTRL | Qt::Key_C);
        QTest::newRow("save drawing") << "saveDrawingAction" << QKeySequence(Qt::CTRL | Qt::Key_S);
        QTest::newRow("open drawing") << "openDrawingAction" << QKeySequence(Qt::CTRL | Qt::Key_O);
        QTest::newRow("export text") << "exportTextAction" << QKeySequence(Qt::CTRL | Qt::Key_E);
        QTest::newRow("save text picture")
            << "saveTextPictureAction" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    }
    void commandsHaveTheirStandardShortcuts() {
        QFETCH(QString, action);
        QFETCH(QKeySequence, keys);
        Play(*window_, Wave());  // something to take back
        auto* command = window_->findChild<QAction*>(action);
        QVERIFY(command);
        QCOMPARE(command->shortcut(), keys);
        QSignalSpy triggered(command, &QAction::triggered);
        window_->SetFileChooser([](const FileRequest&, QWidget*) { return FileChoice{}; });
        QTest::keySequence(window_.get(), keys);
        QCOMPARE(triggered.count(), 1);
    }

    void undoTwiceTakesBothStrokesBack_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("button") << false;
        QTest::newRow("Ctrl+Z") << true;
    }
    void undoTwiceTakesBothStrokesBack() {
        QFETCH(bool, byKey);
        Play(*window_, Wave());
        const TextRows drawn = window_->state().rows();
        auto undo = [&] {
            if (byKey) {
                QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
            } else {
                Find<QPushButton>(*window_, "undoButton")->click();
            }
        };
        undo();  // the second stroke goes, its rows with it
        QVERIFY(window_->state().rows() != drawn);
        QVERIFY(window_->state().rows()[16].empty());
        undo();
        QVERIFY(RowsEmpty(window_->state().rows()));
        QVERIFY(!Find<QPushButton>(*window_, "undoButton")->isEnabled() ||
                !window_->state().CanUndo());
    }

    void clearAsksAndOnlyYesErases() {
        Play(*window_, Wave());
        const TextRows drawn = window_->state().rows();
        auto* clear = Find<QPushButton>(*window_, "clearButton");
        for (auto answer : {QMessageBox::No, QMessageBox::NoButton}) {
            AnswerNextBox(answer);
            clear->click();
            QVERIFY(window_->state().rows() == drawn);
        }
        OnNextModal<QMessageBox>([](QMessageBox* box) {
            QCOMPARE(box->text(), QStringLiteral("すべて消去します。\n\nよろしいですか？"));
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
            box->button(QMessageBox::Yes)->click();
        });
        clear->click();
        QVERIFY(RowsEmpty(window_->state().rows()));
        Find<QPushButton>(*window_, "undoButton")->click();
        QVERIFY(window_->state().rows() == drawn);
    }

    // `conversion` names the check boxes clicked after drawing, which are also
    // the command-line flags that convert the same way.
    void copyPutsWhatTheCommandLineToolPrints_data() {
        QTest::addColumn<bool>("br");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QStringList>("conversion");
        const QStringList greedy, fine{"--fine"}, bare{"--fine", "--no-fillers"};
        QTest::newRow("plain, button") << false << false << greedy;
        QTest::newRow("with <BR>, button") << true << false << greedy;
        QTest::newRow("plain, Ctrl+C") << false << true << greedy;
        QTest::newRow("with <BR>, Ctrl+C") << true << true << greedy;
        QTest::newRow("fine") << false << true << fine;
        QTest::newRow("fine without fillers") << false << true << bare;
    }
    void copyPutsWhatTheCommandLineToolPrints() {
        QFETCH(bool, br);
        QFETCH(bool, byKey);
        QFETCH(QStringList, conversion);
        const QList<Event> events = Wave();
        Play(*window_, events);
        const TextRows greedy = window_->state().rows();
        ClickConversionBoxes(conversion);
        QCOMPARE(window_->state().rows() != greedy, !conversion.isEmpty());
        if (br) Find<QCheckBox>(*window_, "brTagCheckBox")->click();
        if (byKey) {
            QTest::keyClick(window_.get(), Qt::Key_C, Qt::ControlModifier);
        } else {
            Find<QPushButton>(*window_, "copyButton")->click();
        }
        const QStringList flags = (br ? QStringList{"--br"} : QStringList{}) + conversion;
        const QByteArray utf8 = ReplayOf(events, flags);
        const QByteArray sjis = ReplayOf(events, flags + QStringList{"--sjis"});
        QVERIFY(!sjis.isEmpty());
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QCOMPARE(mime->text().toUtf8(), utf8);
        QCOMPARE(mime->data(kShiftJisMime), sjis);
        QCOMPARE(sjis.contains("<BR>\r\n"), br);
        QCOMPARE(window_->postStatus()->count().bytes,
                 CountPost(sjis.toStdString(), kDefaultBoard.limits).bytes);
    }

    // Moves that came faster than the paints are in the copied text too.
    void copyRightAfterMovesHasEveryMove() {
        const QList<Event> events = Wave();
        CanvasWidget* canvas = window_->canvas();
        for (const Event& e : events) {
            const QPoint p = OnCanvas(e.x, e.y);
            if (e.kind == Event::Down) QTest::mousePress(canvas, Qt::LeftButton, {}, p);
            if (e.kind == Event::Move) QTest::mouseMove(canvas, p);
            if (e.kind == Event::Up) QTest::mouseRelease(canvas, Qt::LeftButton, {}, p);
        }
        QVERIFY(window_->state().conversionPending());  // no paint came between
        Find<QPushButton>(*window_, "copyButton")->click();
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(kShiftJisMime),
                 ReplayOf(events, {"--sjis"}));
    }

    // --- Steadier strokes and Shift's lines: the window's text is the text
    // replay gives for the same events with the same setting.

    void steadiedStrokesCopyWhatReplayGives_data() {
        QTest::addColumn<QString>("stabilizer");
        QTest::addColumn<QStringList>("conversion");
        for (const char* stabilizer : {"off", "weak", "strong"}) {
            QTest::addRow("%s, row matcher", stabilizer) << stabilizer << QStringList{};
            QTest::addRow("%s, fine", stabilizer) << stabilizer << QStringList{"--fine"};
        }
    }
    void steadiedStrokesCopyWhatReplayGives() {
        QFETCH(QString, stabilizer);
        QFETCH(QStringList, conversion);
        auto* box = Find<QComboBox>(*window_, "stabilizerComboBox");
        box->setCurrentIndex(box->findData(stabilizer));
        QCOMPARE(QString::fromLatin1(StabilizerName(window_->state().stabilizer()).data()),
                 stabilizer);
        ClickConversionBoxes(conversion);
        const QList<Event> events = ShakyStrokes();
        Play(*window_, events);
        const TextRows drawn = window_->state().rows();
        Find<QPushButton>(*window_, "copyButton")->click();
        const QStringList flags = QStringList{"--sjis", "--stabilizer", stabilizer} + conversion;
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(kShiftJisMime),
                 ReplayOf(events, flags));
        // The setting reached the strokes: steadied, they are other text.
        if (stabilizer != "off") {
            QVERIFY(ReplayOf(events, flags) !=
                    ReplayOf(events, QStringList{"--sjis"} + conversion));
        }
    }

    // Shift held: a line from where it went down, turned to 15°, shown in red
    // while dragged and converted when the button goes up; let go mid-stroke,
    // the stroke goes on freehand from the line's end.
    void shiftDrawsAStraightLineAsReplayDoes() {
        CanvasWidget* canvas = window_->canvas();
        const QList<Event> events{
            {Event::Down, 100, 100},      {Event::Move, 140, 104},      {Event::Move, 180, 98},
            {Event::Move, 300, 260, true}, {Event::Move, 330, 205, true}, {Event::Move, 360, 200},
            {Event::Move, 420, 210},      {Event::Up},
            {Event::Down, 500, 300, true}, {Event::Move, 700, 310, true}, {Event::Up},
        };
        for (int i = 0; i < 5; ++i) {
            Send(canvas, events[i]);
            canvas->repaint();
        }
        const TextRows beforeLine = window_->state().rows();
        // From (180, 98) towards (330, 205): 35.5 degrees, shown at 30; a
        // move before, towards (300, 260), it was at 60.
        QCOMPARE(SnapToAngleStep({180, 98}, {330, 205}), (PenPoint{340, 190}));
        QCOMPARE(SnapToAngleStep({180, 98}, {300, 260}), (PenPoint{281, 273}));
        const QPoint onLine = OnCanvas(260, 144);
        QCOMPARE(canvas->image().Pixel(onLine.x(), onLine.y()), kRed);
        const QPoint before = OnCanvas(230, 185);
        QVERIFY(canvas->image().Pixel(before.x(), before.y()) != kRed);
        QVERIFY(window_->state().rows() == beforeLine);  // nothing converted yet
        for (int i = 5; i < events.size(); ++i) {
            Send(canvas, events[i]);
            canvas->repaint();
        }
        QVERIFY(window_->state().rows() != beforeLine);
        Find<QPushButton>(*window_, "copyButton")->click();
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(kShiftJisMime),
                 ReplayOf(events, {"--sjis"}));
        // The same stroke without Shift is other text.
        QList<Event> freehand = events;
        for (Event& e : freehand) e.shift = false;
        QVERIFY(ReplayOf(freehand, {"--sjis"}) != ReplayOf(events, {"--sjis"}));
    }

    // A new user draws with the weak stabilizer; a choice is remembered.
    void newUserStartsWithAWeakStabilizer() {
        window_.Close();
        QSettings().clear();
        {
            MainWindow fresh(Resources());
            auto* box = Find<QComboBox>(fresh, "stabilizerComboBox");
            QCOMPARE(box->currentText(), QStringLiteral("弱"));
            QCOMPARE(fresh.state().stabilizer(), Stabilizer::Weak);
            QCOMPARE(box->count(), 3);
            QCOMPARE(box->itemText(0), QStringLiteral("なし"));
            QCOMPARE(box->itemText(2), QStringLiteral("強"));
            box->setCurrentIndex(2);
            QCOMPARE(fresh.state().stabilizer(), Stabilizer::Strong);
        }
        {
            MainWindow next(Resources());
            QCOMPARE(Find<QComboBox>(next, "stabilizerComboBox")->currentText(),
                     QStringLiteral("強"));
            QCOMPARE(next.state().stabilizer(), Stabilizer::Strong);
        }
        // A value no version wrote reads as the default.
        QSettings().setValue(settings_keys::kStabilizer, QStringLiteral("wobbly"));
        MainWindow odd(Resources());
        QCOMPARE(odd.state().stabilizer(), Stabilizer::Weak);
    }

    void copyOfAnEmptyCanvasEmptiesTheClipboard() {
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        Find<QPushButton>(*window_, "copyButton")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    void enterAndEscapeDoNothing() {
        Play(*window_, Wave());
        const TextRows drawn = window_->state().rows();
        auto* undo = Find<QPushButton>(*window_, "undoButton");
        undo->setFocus();
        for (auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(window_.get(), key);
            QTest::keyClick(undo, key);
            QTest::keyClick(Find<QCheckBox>(*window_, "rowLinesCheckBox"), key);
        }
        QVERIFY(window_->isVisible());
        QVERIFY(window_->state().rows() == drawn);
        QVERIFY(!Find<QCheckBox>(*window_, "rowLinesCheckBox")->isChecked());
    }

    // --- The background picture.

    void backgroundMenuShowsMarksAtTheButton() {
        auto* button = Find<QPushButton>(*window_, "backgroundButton");
        bool checked = false;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            const auto actions = menu->actions();
            QCOMPARE(actions.size(), 8);
            QCOMPARE(actions[0]->text(), QStringLiteral("画像を指定(&I)..."));
            QCOMPARE(actions[1]->text(), QStringLiteral("表示(&S)"));
            QVERIFY(!actions[1]->isChecked());
            QVERIFY(actions[2]->isSeparator());
            QCOMPARE(actions[3]->text(), QStringLiteral("淡く表示(&F)"));
            QVERIFY(actions[3]->isChecked());
            QCOMPARE(actions[4]->text(), QStringLiteral("サイズ(&Z)"));
            const auto sizes = actions[4]->menu()->actions();
            const char* texts[] = {"キャンバスに合わせる",
                                   "",
                                   "25%",
                                   "50%",
                                   "75%",
                                   "",
                                   "100%",
                                   "",
                                   "120%",
                                   "150%",
                                   "200%"};
            QCOMPARE(sizes.size(), int{std::size(texts)});
            for (int i = 0; i < sizes.size(); ++i) {
                QCOMPARE(sizes[i]->isSeparator(), *texts[i] == '\0');
                if (!sizes[i]->isSeparator()) QCOMPARE(sizes[i]->text(), QString(texts[i]));
                QCOMPARE(sizes[i]->isChecked(), i == 6);
            }
            QVERIFY(actions[5]->isSeparator());
            QCOMPARE(actions[6]->text(), QStringLiteral("線を取り込む(&L)"));
            QCOMPARE(actions[7]->text(), QStringLiteral("ボードに合わせて線を取り込む(&B)"));
            QVERIFY(!actions[7]->isEnabled());  // no picture
            QCOMPARE(menu->pos(), button->mapToGlobal(QPoint(0, button->height())));
            checked = true;
            menu->close();
        });
        button->click();
        QVERIFY(checked);
    }

    void backgroundCommandsChangeTheCanvasButNotTheDrawing_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<uint>("colour");
        QTest::newRow("chosen: shown faint")
            << QStringList{} << QPoint(399, 299) << ((191u << 16) | (191u << 8) | 241u);
        QTest::newRow("beyond the picture: white")
            << QStringList{} << QPoint(400, 100) << uint{kWhite};
        QTest::newRow("plain") << QStringList{"faintPictureAction"} << QPoint(399, 299)
                               << 0x0000C8u;
        QTest::newRow("200%") << QStringList{"faintPictureAction", "pictureSize200Action"}
                              << QPoint(799, 521) << 0x0000C8u;
        QTest::newRow("25% inside") << QStringList{"faintPictureAction", "pictureSize25Action"}
                                    << QPoint(99, 74) << 0x0000C8u;
        QTest::newRow("25% outside") << QStringList{"faintPictureAction", "pictureSize25Action"}
                                     << QPoint(100, 74) << uint{kWhite};
        QTest::newRow("hidden") << QStringList{"showPictureAction"} << QPoint(50, 50)
                                << uint{kWhite};
        // 400 x 300 fitted: 522 / 300 of its size, 696 x 522, the whole picture.
        QTest::newRow("fit, last column")
            << QStringList{"faintPictureAction", "pictureSizeFitAction"} << QPoint(695, 521)
            << 0x0000C8u;
        QTest::newRow("fit, beside it") << QStringList{"faintPictureAction", "pictureSizeFitAction"}
                                        << QPoint(696, 100) << uint{kWhite};
    }
    void backgroundCommandsChangeTheCanvasButNotTheDrawing() {
        QFETCH(QStringList, actions);
        QFETCH(QPoint, at);
        QFETCH(uint, colour);
        Play(*window_, Wave());
        const TextRows drawn = window_->state().rows();
        QTemporaryDir dir;
        const QString path = SavePicture(dir, "picture.png", qRgb(0, 0, 200), 400, 300);
        window_->SetFileChooser([&](const FileRequest&, QWidget*) { return FileChoice{path, 0}; });
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        QVERIFY(window_->background().shown());
        for (const QString& name : actions) window_->findChild<QAction*>(name)->trigger();
        window_->canvas()->repaint();
        // Where the drawing's text is not: the background alone.
        QCOMPARE(window_->canvas()->image().Pixel(at.x(), at.y()), colour);
        QVERIFY(window_->state().rows() == drawn);
        QVERIFY(MarksMatch());
    }

    // Fitted, a picture of any shape shows whole at the size trace gives it.
    void fitShowsTheWholePictureAsTracePlacesIt_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("tall page") << QSize(744, 1052) << QSize(369, 522);
        QTest::newRow("wide strip") << QSize(1600, 400) << QSize(800, 200);
        QTest::newRow("small, grown") << QSize(100, 50) << QSize(800, 400);
        QTest::newRow("the canvas") << QSize(800, 522) << QSize(800, 522);
        QTest::newRow("one pixel") << QSize(1, 1) << QSize(522, 522);
        QTest::newRow("a thread") << QSize(5000, 1) << QSize(800, 1);
    }
    void fitShowsTheWholePictureAsTracePlacesIt() {
        QFETCH(QSize, picture);
        QFETCH(QSize, shown);
        const double scale = PlacementScale(picture.width(), picture.height(), Placement{});
        QCOMPARE(ShownPictureSize(picture.width(), picture.height(), kFitCanvasScale),
                 QSize(std::max(1L, std::lround(picture.width() * scale)),
                       std::max(1L, std::lround(picture.height() * scale))));
        QTemporaryDir dir;
        const QString path =
            SavePicture(dir, "picture.png", qRgb(0, 0, 200), picture.width(), picture.height());
        window_->SetFileChooser([&](const FileRequest&, QWidget*) { return FileChoice{path, 0}; });
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        window_->findChild<QAction*>("faintPictureAction")->trigger();
        window_->findChild<QAction*>("pictureSizeFitAction")->trigger();
        const auto placed = window_->background().PlainAsShown();
        QVERIFY(placed);
        QCOMPARE(QSize(placed->width, placed->height), shown);
        window_->canvas()->repaint();
        const Image& canvas = window_->canvas()->image();
        QCOMPARE(canvas.Pixel(shown.width() - 1, shown.height() - 1), 0x0000C8u);
        if (shown.width() < kCanvasWidth) QCOMPARE(canvas.Pixel(shown.width(), 0), kWhite);
        if (shown.height() < kCanvasHeight) QCOMPARE(canvas.Pixel(0, shown.height()), kWhite);
        QVERIFY(MarksMatch());
    }

    // The size is remembered like the other choices, for the next picture too.
    void pictureSizeIsRemembered() {
        window_->findChild<QAction*>("pictureSizeFitAction")->trigger();
        window_.Close();
        MainWindow next(Resources());
        QCOMPARE(next.background().scale(), kFitCanvasScale);
        QVERIFY(next.findChild<QAction*>("pictureSizeFitAction")->isChecked());
        next.findChild<QAction*>("pictureSize150Action")->trigger();
        MainWindow third(Resources());
        QCOMPARE(third.background().scale(), 150);
        QSettings().setValue("background/size", 33);  // not a choice: fitted, as a new user
        MainWindow fourth(Resources());
        QCOMPARE(fourth.background().scale(), kFitCanvasScale);
    }

    void failedLoadKeepsTheOldPictureAndTrueMarks() {
        QTemporaryDir dir;
        const QString good = SavePicture(dir, "good.bmp", qRgb(0, 0, 200), 50, 50);
        QFile cut(dir.filePath("cut.png"));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QImage(64, 64, QImage::Format_RGB32).save(&png, "PNG");
        cut.write(png.data().left(60));
        cut.close();
        QString next = good;
        window_->SetFileChooser([&](const FileRequest&, QWidget*) { return FileChoice{next, 0}; });
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        window_->findChild<QAction*>("faintPictureAction")->trigger();
        window_->canvas()->repaint();
        QCOMPARE(window_->canvas()->image().Pixel(10, 10), 0x0000C8u);

        next = dir.filePath("cut.png");
        QString told;
        AnswerNextBox(QMessageBox::Ok, &told);
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        QVERIFY2(told.contains("cut.png"), qPrintable(told));
        window_->canvas()->repaint();
        QCOMPARE(window_->canvas()->image().Pixel(10, 10), 0x0000C8u);  // still there
        QVERIFY(window_->background().shown());
        QCOMPARE(window_->background().library().PictureCount(), 2u);
        QVERIFY(MarksMatch());

        // Cancelling the dialog changes nothing, not even the show flag.
        window_->findChild<QAction*>("showPictureAction")->trigger();
        next.clear();
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        QVERIFY(!window_->background().shown());
        QVERIFY(MarksMatch());
    }

    void hostilePicturesAreToldInJapaneseAndLeaveTheDrawingAlone_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << "empty.png" << QByteArray();
        QTest::newRow("words") << "words.jpg" << QByteArray("not a picture at all");
        QTest::newRow("no dot in the name") << "picture" << QByteArray("still no picture");
        QTest::newRow("folder") << "folder.png" << QByteArray("FOLDER");
        QTest::newRow("missing") << "missing.png" << QByteArray("MISSING");
    }
    void hostilePicturesAreToldInJapaneseAndLeaveTheDrawingAlone() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        Play(*window_, Wave());
        const TextRows drawn = window_->state().rows();
        const Image ink = window_->state().inkLayer();
        QTemporaryDir dir;
        const QString path = PlaceTestFile(dir, name, bytes);
        window_->SetFileChooser([&](const FileRequest&, QWidget*) { return FileChoice{path, 0}; });
        QString told;
        AnswerNextBox(QMessageBox::Ok, &told);
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        QVERIFY2(told.contains(name), qPrintable(told));
        QVERIFY2(told.startsWith(QStringLiteral("背景画像「")), qPrintable(told));
        // Neither the message nor its reason is in English.
        QVERIFY2(!told.section("\n\n", 1).contains(QRegularExpression("[A-Za-z]{3}")),
                 qPrintable(told));
        window_->canvas()->repaint();
        QVERIFY(!window_->background().hasPicture());
        QVERIFY(window_->state().rows() == drawn);
        QVERIFY(window_->state().inkLayer() == ink);
    }

    void closingFreesThePictures() {
        QTemporaryDir dir;
        const QString path = SavePicture(dir, "p.png", qRgb(1, 2, 3), 20, 20);
        window_->SetFileChooser([&](const FileRequest&, QWidget*) { return FileChoice{path, 0}; });
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        QCOMPARE(window_->background().library().PictureCount(), 2u);
        window_->close();
        QCOMPARE(window_->background().library().PictureCount(), 0u);
    }

    // --- Taking the picture's lines into the drawing.

    void traceCommandIsGreyedUnlessAPictureIsShown() {
        QAction* trace = window_->findChild<QAction*>("traceLinesAction");
        QVERIFY(!trace->isEnabled());
        QTemporaryDir dir;
        ChooseLinePicture(dir);
        QVERIFY(trace->isEnabled());
        window_->findChild<QAction*>("showPictureAction")->trigger();
        QVERIFY(!trace->isEnabled());
        trace->trigger();  // a shortcut or a stale menu cannot run it either
        QVERIFY(!window_->tracingLines());
        window_->findChild<QAction*>("showPictureAction")->trigger();
        QVERIFY(trace->isEnabled());
    }

    // The picture is a 400 x 300 sheet with one black line from (40, 100) to (360, 100).
    void tracedLinesLandWhereThePictureIsShown_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<double>("scale");
        QTest::newRow("faint, as chosen") << QStringList{} << 1.0;
        QTest::newRow("plain") << QStringList{"faintPictureAction"} << 1.0;
        QTest::newRow("faint 50%") << QStringList{"pictureSize50Action"} << 0.5;
        QTest::newRow("plain 200%")
            << QStringList{"faintPictureAction", "pictureSize200Action"} << 2.0;
        QTest::newRow("fit the canvas") << QStringList{"pictureSizeFitAction"} << 522.0 / 300;
    }
    void tracedLinesLandWhereThePictureIsShown() {
        QFETCH(QStringList, actions);
        QFETCH(double, scale);
        QTemporaryDir dir;
        ChooseLinePicture(dir);
        for (const QString& name : actions) window_->findChild<QAction*>(name)->trigger();
        QAction* trace = window_->findChild<QAction*>("traceLinesAction");
        trace->trigger();
        QVERIFY(window_->tracingLines());
        QVERIFY(!trace->isEnabled());
        QVERIFY(!window_->statusMessage().isEmpty());
        trace->trigger();  // ignored: the same lines must not come twice
        QTRY_VERIFY_WITH_TIMEOUT(!window_->tracingLines(), 20000);
        QVERIFY(trace->isEnabled());
        QVERIFY(window_->statusMessage().isEmpty());

        // Canvas y maps to ink y = 16 y / 18, as a pen stroke's does.
        const QRect ink = InkBounds(window_->state().inkLayer());
        const int inkY = static_cast<int>(100 * scale * 16 / 18);
        QVERIFY2(std::abs(ink.left() - 40 * scale) <= 3 && std::abs(ink.right() - 360 * scale) <= 3,
                 qPrintable(QStringLiteral("x %1-%2").arg(ink.left()).arg(ink.right())));
        QVERIFY2(std::abs(ink.top() - inkY) <= 2 && std::abs(ink.bottom() - inkY) <= 2,
                 qPrintable(QStringLiteral("y %1-%2").arg(ink.top()).arg(ink.bottom())));
        const auto row = static_cast<std::size_t>(inkY / kInkRowHeight);
        QVERIFY(!window_->state().rows()[row].empty());
        QCOMPARE(window_->postStatus()->count().bytes,
                 CountPost(window_->ExportText(), kDefaultBoard.limits).bytes);

        // One undoable step, taken back by Ctrl+Z.
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(RowsEmpty(window_->state().rows()));
        QVERIFY(InkBounds(window_->state().inkLayer()).isEmpty());
    }

    // Clip art: a transparent sheet (stored black, as most files store it)
    // with a coloured filled square, a half-transparent disc and a thin line.
    // The canvas shows it on white, plain and faint, and its lines are the
    // ones `fudeline-cli trace --scale 100 --offset 0,0` finds.
    void transparentPictureIsPaperAndTracesAsTheToolDoes() {
        QTemporaryDir dir;
        QImage picture(500, 400, QImage::Format_ARGB32);
        picture.fill(QColor(0, 0, 0, 0));
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(60, 60, 150, 120, QColor(220, 40, 40));
        painter.setBrush(QColor(40, 80, 200, 128));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPoint(330, 200), 90, 90);
        painter.setPen(QPen(QColor(20, 20, 20), 2));
        painter.drawLine(40, 330, 460, 300);
        painter.end();
        const QString path = dir.filePath("clip.png");
        QVERIFY(picture.save(path));
        window_->SetFileChooser([path](const FileRequest&, QWidget*) {
            return FileChoice{path, 0};
        });
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        BackgroundPicture& background = const_cast<BackgroundPicture&>(window_->background());
        QVERIFY(background.faint());
        QCOMPARE(background.CanvasLayer()->Pixel(10, 10), 0xFFFFFFu);
        window_->findChild<QAction*>("faintPictureAction")->trigger();
        QCOMPARE(background.CanvasLayer()->Pixel(10, 10), 0xFFFFFFu);
        QCOMPARE(background.CanvasLayer()->Pixel(100, 100), 0xDC2828u);

        window_->findChild<QAction*>("traceLinesAction")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!window_->tracingLines(), 20000);
        const QString inkPath = dir.filePath("ink.png");
        QCOMPARE(RunCli({"trace", path, "--scale", "100", "--offset", "0,0", "--save-ink", inkPath,
                         "-o", dir.filePath("art.txt")}),
                 QByteArray());
        QImage tool(inkPath);
        QVERIFY(!tool.isNull());
        const Image& ink = window_->state().inkLayer();
        QCOMPARE(tool.width(), ink.width());
        QCOMPARE(tool.height(), ink.height());
        const auto [inkPixels, differing] = CompareInk(ink, tool);
        QVERIFY(inkPixels > 500);
        QCOMPARE(differing, 0);
    }

    // Whatever the size chosen, the lines taken in are the ones
    // `fudeline-cli trace` finds with the same placement, to the pixel: the
    // same decoder (a large JPEG decoded smaller, other formats in grey), the
    // same scaling, the same tracing.
    void importIsTheToolsTraceAtEverySize_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("sizeAction");
        QTest::addColumn<QStringList>("placement");
        const QStringList fit;
        QTest::newRow("PNG fitted, shrunk") << "cartoon.png" << QSize(1000, 700)
                                            << "pictureSizeFitAction" << fit;
        QTest::newRow("JPEG fitted, decoded smaller") << "photo.jpg" << QSize(2400, 1600)
                                                      << "pictureSizeFitAction" << fit;
        QTest::newRow("small PNG fitted, grown") << "icon.png" << QSize(90, 60)
                                                 << "pictureSizeFitAction" << fit;
        QTest::newRow("BMP fitted, traced in grey") << "sheet.bmp" << QSize(700, 500)
                                                    << "pictureSizeFitAction" << fit;
        QTest::newRow("JPEG at 50 %") << "photo.jpg" << QSize(1200, 900) << "pictureSize50Action"
                                      << QStringList{"--scale", "50", "--offset", "0,0"};
    }
    void importIsTheToolsTraceAtEverySize() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(QString, sizeAction);
        QFETCH(QStringList, placement);
        QTemporaryDir dir;
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(QColor(250, 248, 240));
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        const double u = size.width() / 100.0;
        painter.setBrush(QColor(240, 200, 60));
        painter.setPen(QPen(Qt::black, 3 * u));
        painter.drawEllipse(QPointF(30 * u, 30 * u), 18 * u, 18 * u);
        painter.setBrush(QColor(60, 120, 200));
        painter.drawRect(QRectF(55 * u, 12 * u, 35 * u, 30 * u));
        painter.setPen(QPen(QColor(170, 170, 170), std::max(1.0, 0.4 * u)));
        painter.drawLine(QPointF(8 * u, 58 * u), QPointF(92 * u, 50 * u));
        painter.end();
        const QString path = dir.filePath(name);
        QVERIFY(picture.save(path, nullptr, 90));
        window_->SetFileChooser([path](const FileRequest&, QWidget*) {
            return FileChoice{path, 0};
        });
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        window_->findChild<QAction*>(sizeAction)->trigger();
        window_->findChild<QAction*>("traceLinesAction")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!window_->tracingLines(), 20000);

        const QString inkPath = dir.filePath("ink.png");
        QCOMPARE(RunCli(QStringList{"trace", path, "--greedy", "--save-ink", inkPath, "-o",
                                    dir.filePath("art.txt")} +
                        placement),
                 QByteArray());
        const QImage tool(inkPath);
        QVERIFY(!tool.isNull());
        const Image& ink = window_->state().inkLayer();
        QCOMPARE(tool.size(), QSize(ink.width(), ink.height()));
        const auto [inkPixels, differing] = CompareInk(ink, tool);
        QVERIFY(inkPixels > 300);
        QCOMPARE(differing, 0);
    }

    // Fitted to the board, the lines are `fudeline-cli trace --fit-board`'s
    // for the window's board, at the size the status line names.
    void importFittedToTheBoardIsTheToolsFit() {
        QTemporaryDir dir;
        const QString path = QString::fromUtf8(QT_TESTCASE_SOURCEDIR) +
                             QStringLiteral("/../bench/data/line-art/house-1x.png");
        window_->SetFileChooser([path](const FileRequest&, QWidget*) {
            return FileChoice{path, 0};
        });
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        QAction* fit = window_->findChild<QAction*>("traceLinesToFitBoardAction");
        QVERIFY(fit->isEnabled());
        fit->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!window_->tracingLines(), 30000);

        const QString inkPath = dir.filePath("ink.png");
        QProcess cli;
        cli.start(QCoreApplication::applicationDirPath() + "/fudeline-cli",
                  {"trace", path, "--greedy", "--fit-board", "2ch", "--save-ink", inkPath, "-o",
                   dir.filePath("art.txt")});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        const QString said = QString::fromUtf8(cli.readAllStandardError());
        const QString scale = said.section(QStringLiteral("at --scale "), 1).section('\n', 0, 0);
        QVERIFY(!scale.isEmpty());
        QCOMPARE(window_->statusMessage(),
                 QStringLiteral("線を %1% で取り込みました（ボードに収まる大きさ）")
                     .arg(scale));
        // The picture is shown at that size, to the percent.
        QCOMPARE(window_->background().scale(), qRound(scale.toDouble()));
        const QImage tool(inkPath);
        const auto [inkPixels, differing] = CompareInk(window_->state().inkLayer(), tool);
        QVERIFY(inkPixels > 500);
        QCOMPARE(differing, 0);
    }

    void linesFoundMidStrokeWaitForItsEnd() {
        QTemporaryDir dir;
        ChooseLinePicture(dir);
        CanvasWidget* canvas = window_->canvas();
        QTest::mousePress(canvas, Qt::LeftButton, {}, OnCanvas(100, 400));
        QTest::mouseMove(canvas, OnCanvas(300, 400));
        canvas->repaint();
        window_->findChild<QAction*>("traceLinesAction")->trigger();
        QTest::qWait(500);  // ample for the worker; the lines must still wait
        QVERIFY(window_->tracingLines());
        QVERIFY(window_->state().rows()[5].empty());
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, OnCanvas(300, 400));
        canvas->repaint();
        QTRY_VERIFY_WITH_TIMEOUT(!window_->tracingLines(), 20000);
        QVERIFY(!window_->state().rows()[5].empty());
        // Undo takes the lines and leaves the stroke whole.
        const TextRow stroke = window_->state().rows()[20];
        QVERIFY(!stroke.empty());
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window_->state().rows()[5].empty());
        QVERIFY(window_->state().rows()[20] == stroke);
    }

    void closingWhileLinesAreFoundIsSafe() {
        QTemporaryDir dir;
        ChooseLinePicture(dir);
        window_->findChild<QAction*>("traceLinesAction")->trigger();
        QVERIFY(window_->tracingLines());
        window_->close();
        window_.Close();
    }

  private:
    // Clicks the check boxes that convert as these command-line flags do.
    // Strokes as a hand draws them: a level line, a slope and a curve, each
    // with a tremor of a pixel or two.
    static QList<Event> ShakyStrokes() {
        QList<Event> events;
        const int wobble[] = {0, 1, 2, 1, 0, -1, -2, -1, 1, 0, -1, 2};
        auto stroke = [&](auto at, int moves) {
            for (int i = 0; i <= moves; ++i) {
                const QPoint p = at(i);
                events.append(Event{i == 0 ? Event::Down : Event::Move, p.x(), p.y()});
            }
            events.append(Event{Event::Up});
        };
        stroke([&](int i) { return QPoint(60 + 4 * i, 130 + wobble[i % 12]); }, 70);
        stroke([&](int i) { return QPoint(80 + 3 * i + wobble[(i + 3) % 12], 200 + 3 * i); }, 50);
        stroke(
            [&](int i) {
                const double a = i * 0.1;
                return QPoint(500 + static_cast<int>(std::lround(80 * std::cos(a))) + wobble[i % 12],
                              300 + static_cast<int>(std::lround(60 * std::sin(a))));
            },
            63);
        return events;
    }

    void ClickConversionBoxes(const QStringList& flags) {
        if (flags.contains("--fine")) Find<QCheckBox>(*window_, "fineCheckBox")->click();
        if (flags.contains("--no-fillers")) Find<QCheckBox>(*window_, "noFillersCheckBox")->click();
    }

    // Chooses the line picture (see tracedLinesLandWhereThePictureIsShown) as background.
    void ChooseLinePicture(const QTemporaryDir& dir) {
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.fillRect(40, 99, 321, 3, Qt::black);
        painter.end();
        const QString path = dir.filePath("line.png");
        QVERIFY(picture.save(path));
        window_->SetFileChooser([path](const FileRequest&, QWidget*) {
            return FileChoice{path, 0};
        });
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        QVERIFY(window_->background().shown());
    }

    // The menu's marks say what the picture state is.
    bool MarksMatch() const {
        const BackgroundPicture& picture = window_->background();
        if (window_->findChild<QAction*>("showPictureAction")->isChecked() != picture.shown())
            return false;
        if (window_->findChild<QAction*>("faintPictureAction")->isChecked() != picture.faint())
            return false;
        for (int percent : {25, 50, 75, 100, 120, 150, 200}) {
            const auto* size =
                window_->findChild<QAction*>(QStringLiteral("pictureSize%1Action").arg(percent));
            if (size->isChecked() != (picture.scale() == percent)) return false;
        }
        return window_->findChild<QAction*>("pictureSizeFitAction")->isChecked() ==
               (picture.scale() == kFitCanvasScale);
    }

    FreshWindow window_;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
