// Drives the real window with mouse and key events, offscreen.
#include "app/art_dlg.h"
#include "session/client_map.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "app/background_menu.h"
#include "pixels/geometry.h"

using namespace fudeline;

namespace {

// A recorded stroke: the same events go to the window and to fudeline-cli.
struct Event {
    enum Kind { Down, Move, Up } kind;
    int x = 0, y = 0;
};

QString ScriptOf(const QList<Event>& events) {
    QString script;
    for (const Event& e : events) {
        if (e.kind == Event::Down) script += QStringLiteral("down %1 %2\n").arg(e.x).arg(e.y);
        if (e.kind == Event::Move) script += QStringLiteral("move %1 %2\n").arg(e.x).arg(e.y);
        if (e.kind == Event::Up) script += QStringLiteral("up\n");
    }
    return script;
}

QList<Event> Wave() {
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

// Answers the next modal box with `button` (or Escape when NoButton).
void AnswerNextBox(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (button == QMessageBox::NoButton) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(button)->click();
        }
    });
}

}  // namespace

class ArtDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        std::string error;
        auto loaded = LoadEngineResources(&error);
        QVERIFY2(loaded.has_value(), error.c_str());
        resources_ = std::make_unique<EngineResources>(std::move(*loaded));
    }

    void init() {
        dlg_ = std::make_unique<CArtDlg>(*resources_);
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
    }
    void cleanup() { dlg_.reset(); }

    void windowHasItsCaptionControlsAndCanvas() {
        QCOMPARE(dlg_->windowTitle(), QStringLiteral(" 〆(x`) Fudeline v1.5"));
        const QList<std::pair<QString, QString>> controls = {{"1003", "元に戻す"},
                                                             {"1001", "すべてクリア"},
                                                             {"1000", "クリップボードにコピー"},
                                                             {"1010", "コピー時<BR>タグを追加"},
                                                             {"1009", "行ラインを表示"},
                                                             {"1002", "背景..."}};
        int previousRight = kIndicatorLeft + kIndicatorWidth;
        for (const auto& [id, text] : controls) {
            auto* button = dlg_->findChild<QAbstractButton*>(id);
            QVERIFY2(button, qPrintable(id));
            QCOMPARE(button->text(), text);
            QVERIFY(button->geometry().left() >= previousRight);  // one row, in template order
            QVERIFY(button->geometry().bottom() < kCanvasTop);
            previousRight = button->geometry().right();
        }
        QVERIFY(!dlg_->findChild<QCheckBox*>("1010")->isChecked());
        QVERIFY(!dlg_->findChild<QCheckBox*>("1009")->isChecked());
        QVERIFY(dlg_->width() > kCanvasRight && dlg_->height() > kCanvasBottom);
    }

    void strokeBecomesRowsAndBlackTextOnTheCanvas() {
        Play(Wave());
        dlg_->repaint();
        int rowsWithText = 0;
        for (const TextRow& row : dlg_->state().rows()) rowsWithText += !row.empty();
        QVERIFY(rowsWithText >= 5);
        QVERIFY(BlackPixels(dlg_->canvasImage()) > 200);
        // The ink itself never shows: no red preview once the button is up.
        for (int y = 0; y < kCanvasHeight; ++y) {
            for (int x = 0; x < kCanvasWidth; ++x) QVERIFY(dlg_->canvasImage().Pixel(x, y) != kRed);
        }
    }

    void previewShowsWhileTheButtonIsDown() {
        QTest::mousePress(dlg_.get(), Qt::LeftButton, {}, QPoint(100, 200));
        QTest::mouseMove(dlg_.get(), QPoint(300, 200));
        dlg_->repaint();
        QCOMPARE(dlg_->canvasImage().Pixel(150 - kCanvasLeft, 200 - kCanvasTop), kRed);
        QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, QPoint(300, 200));
    }

    void indicatorTogglesPenAndEraser() {
        QTest::mouseClick(dlg_.get(), Qt::LeftButton, {}, QPoint(43, 31));
        QVERIFY(!dlg_->state().penMode());
        QTest::mouseClick(dlg_.get(), Qt::LeftButton, {}, QPoint(11, 11));
        QVERIFY(dlg_->state().penMode());
        QTest::mouseClick(dlg_.get(), Qt::LeftButton, {}, QPoint(44, 11));
        QVERIFY(dlg_->state().penMode());
        QVERIFY(!dlg_->state().traceActive());
    }

    void eraserRemovesText() {
        Play({{Event::Down, 100, 100}, {Event::Move, 300, 100}, {Event::Up}});
        QVERIFY(!dlg_->state().rows()[3].empty());
        QTest::mouseClick(dlg_.get(), Qt::LeftButton, {}, QPoint(20, 20));
        Play({{Event::Down, 90, 100}, {Event::Move, 320, 100}, {Event::Up}});
        QVERIFY(dlg_->state().rows()[3].empty());
    }

    void undoTwiceRedoes() {
        Play(Wave());
        const TextRows drawn = dlg_->state().rows();
        auto* undo = dlg_->findChild<QPushButton*>("1003");
        undo->click();
        QVERIFY(dlg_->state().rows() != drawn);
        undo->click();
        QVERIFY(dlg_->state().rows() == drawn);
    }

    void clearAsksAndOnlyYesErases() {
        Play(Wave());
        const TextRows drawn = dlg_->state().rows();
        auto* clear = dlg_->findChild<QPushButton*>("1001");
        for (auto answer : {QMessageBox::No, QMessageBox::NoButton}) {
            AnswerNextBox(answer);
            clear->click();
            QVERIFY(dlg_->state().rows() == drawn);
        }
        // The question itself.
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->text(), QStringLiteral("すべて消去します。\n\nよろしいですか？"));
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
            box->button(QMessageBox::Yes)->click();
        });
        clear->click();
        QVERIFY(RowsEmpty(dlg_->state().rows()));
        dlg_->findChild<QPushButton*>("1003")->click();
        QVERIFY(dlg_->state().rows() == drawn);
    }

    void copyPutsWhatTheCommandLineToolPrints_data() {
        QTest::addColumn<bool>("br");
        QTest::newRow("plain") << false;
        QTest::newRow("with <BR>") << true;
    }
    void copyPutsWhatTheCommandLineToolPrints() {
        QFETCH(bool, br);
        const QList<Event> events = Wave();
        Play(events);
        if (br) dlg_->findChild<QCheckBox*>("1010")->click();
        dlg_->findChild<QPushButton*>("1000")->click();

        QTemporaryDir dir;
        const QString script = dir.filePath("wave.replay");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ScriptOf(events).toUtf8());
        file.close();
        QStringList args{"replay", script};
        if (br) args << "--br";
        const QByteArray utf8 = RunCli(args);
        const QByteArray sjis = RunCli(args << "--sjis");
        QVERIFY(!sjis.isEmpty());

        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QCOMPARE(mime->text().toUtf8(), utf8);
        QCOMPARE(mime->data(kShiftJisMime), sjis);
        QCOMPARE(sjis.contains("<BR>\r\n"), br);
    }

    void copyOfAnEmptyCanvasEmptiesTheClipboard() {
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        dlg_->findChild<QPushButton*>("1000")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    void rowLinesCheckBoxRepaintsAtOnce() {
        dlg_->findChild<QCheckBox*>("1009")->click();
        QVERIFY(dlg_->showRowLines());
        dlg_->repaint();
        QCOMPARE(dlg_->canvasImage().Pixel(5, 16), kLightGrey);
        QCOMPARE(dlg_->canvasImage().Pixel(5, 520), kWhite);
    }

    void backgroundMenuShowsMarksAtTheButton() {
        // Initial marks: faint and 100% on, show off.
        auto* button = dlg_->findChild<QPushButton*>("1002");
        bool checked = false;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            const auto actions = menu->actions();
            QCOMPARE(actions.size(), 5);
            QCOMPARE(actions[0]->text(), QStringLiteral("画像を指定..."));
            QVERIFY(!actions[1]->isChecked());
            QVERIFY(actions[2]->isSeparator());
            QVERIFY(actions[3]->isChecked());
            const auto sizes = actions[4]->menu()->actions();
            QCOMPARE(sizes.size(), 9);
            QVERIFY(sizes[4]->isChecked());
            QCOMPARE(sizes[6]->data().toInt(), int{kScale120});
            QCOMPARE(menu->pos(), button->mapToGlobal(QPoint(0, button->height())));
            checked = true;
            menu->close();
        });
        button->click();
        QVERIFY(checked);
    }

    void backgroundCommandsChangeFlagsAndCanvasButNotTheDrawing() {
        Play(Wave());
        const TextRows drawn = dlg_->state().rows();
        QTemporaryDir dir;
        const QString path = dir.filePath("picture.png");
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(qRgb(0, 0, 200));
        QVERIFY(picture.save(path));
        dlg_->SetPictureChooser([&](QWidget*) { return path; });

        dlg_->RunBackgroundCommand(kChoosePicture);
        QVERIFY(dlg_->background().shown());
        dlg_->repaint();
        const std::uint32_t faint = dlg_->canvasImage().Pixel(399, 299);
        QCOMPARE(faint, (191u << 16) | (191u << 8) | 241u);  // three quarters toward white
        QCOMPARE(dlg_->canvasImage().Pixel(400, 100), kWhite);

        dlg_->RunBackgroundCommand(kToggleFaint);
        dlg_->repaint();
        QCOMPARE(dlg_->canvasImage().Pixel(399, 299), 0x0000C8u);

        dlg_->RunBackgroundCommand(kScale200);
        dlg_->repaint();
        QCOMPARE(dlg_->canvasImage().Pixel(799, 521), 0x0000C8u);
        dlg_->RunBackgroundCommand(kScale25);
        dlg_->repaint();
        QCOMPARE(dlg_->canvasImage().Pixel(99, 74), 0x0000C8u);
        QCOMPARE(dlg_->canvasImage().Pixel(100, 74), kWhite);

        dlg_->RunBackgroundCommand(kToggleShow);
        dlg_->repaint();
        QCOMPARE(dlg_->canvasImage().Pixel(50, 50), kWhite);
        QVERIFY(dlg_->state().rows() == drawn);
    }

    void pictureThatCannotBeReadIsReportedAndShowsNothing() {
        Play(Wave());
        const TextRows drawn = dlg_->state().rows();
        QTemporaryDir dir;
        const QString good = dir.filePath("good.png");
        QImage(50, 50, QImage::Format_RGB32).save(good);
        const QString bad = dir.filePath("text.png");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
        f.close();
        QString next = good;
        dlg_->SetPictureChooser([&](QWidget*) { return next; });
        dlg_->RunBackgroundCommand(kChoosePicture);
        QCOMPARE(dlg_->background().library().PictureCount(), 2u);

        next = bad;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        dlg_->RunBackgroundCommand(kChoosePicture);
        QVERIFY(shown.contains("text.png"));
        QCOMPARE(dlg_->background().backgroundImage(), 0u);
        QCOMPARE(dlg_->background().library().PictureCount(), 0u);  // old pair freed
        dlg_->repaint();
        QVERIFY(dlg_->state().rows() == drawn);

        // Cancelling the dialog changes nothing, not even the show flag.
        dlg_->RunBackgroundCommand(kToggleShow);
        const bool shownBefore = dlg_->background().shown();
        next.clear();
        dlg_->RunBackgroundCommand(kChoosePicture);
        QCOMPARE(dlg_->background().shown(), shownBefore);
    }

    void hostilePicturesLeaveTheDrawingAlone() {
        Play(Wave());
        const TextRows drawn = dlg_->state().rows();
        const Image ink = dlg_->state().inkLayer();
        QTemporaryDir dir;
        QImage photo(64, 64, QImage::Format_RGB32);
        photo.fill(Qt::red);
        QVERIFY(photo.save(dir.filePath("whole.png")));
        QFile whole(dir.filePath("whole.png"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray png = whole.readAll();
        auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        write("empty.png", {});
        write("cut.png", png.left(50));
        write("words.jpg", "not a picture at all");
        QDir(dir.path()).mkdir("folder.png");
        for (const char* name :
             {"empty.png", "cut.png", "words.jpg", "folder.png", "missing.png"}) {
            const QString path = dir.filePath(name);
            dlg_->SetPictureChooser([&](QWidget*) { return path; });
            bool told = false;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                told = box->text().contains(name);
                box->button(QMessageBox::Ok)->click();
            });
            dlg_->RunBackgroundCommand(kChoosePicture);
            QVERIFY2(told, name);
            dlg_->repaint();
            QCOMPARE(dlg_->background().backgroundImage(), 0u);
            QVERIFY(dlg_->state().rows() == drawn);
            QVERIFY(dlg_->state().inkLayer() == ink);
        }
    }

    void mouseExtremesAndLostReleases() {
        QTest::mousePress(dlg_.get(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(dlg_.get(), QPoint(-32768, -32768));
        QTest::mouseMove(dlg_.get(), QPoint(32767, 32767));
        QTest::mouseMove(dlg_.get(), QPoint(200, 150));
        dlg_->repaint();
        // The release never comes; a new press continues the same stroke.
        QTest::mousePress(dlg_.get(), Qt::LeftButton, {}, QPoint(300, 300));
        QVERIFY(dlg_->state().traceActive());
        QTest::mouseMove(dlg_.get(), QPoint(400, 300));
        dlg_->repaint();
        QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, QPoint(400, 300));
        QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, QPoint(400, 300));  // a stray one
        dlg_->repaint();
        QVERIFY(!dlg_->state().traceActive());
        QCOMPARE(dlg_->state().inkMinX(), 0);
        QCOMPARE(dlg_->state().inkMaxX(), 799);
        QVERIFY(!dlg_->state().rows()[14].empty());
    }

    void enterAndEscapeDoNothing() {
        Play(Wave());
        const TextRows drawn = dlg_->state().rows();
        auto* undo = dlg_->findChild<QPushButton*>("1003");
        undo->setFocus();
        for (auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(dlg_.get(), key);
            QTest::keyClick(undo, key);
            QTest::keyClick(dlg_->findChild<QCheckBox*>("1009"), key);
        }
        QVERIFY(dlg_->isVisible());
        QVERIFY(dlg_->state().rows() == drawn);
    }

    void closingFreesThePictures() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.png");
        QImage(20, 20, QImage::Format_RGB32).save(path);
        dlg_->SetPictureChooser([&](QWidget*) { return path; });
        dlg_->RunBackgroundCommand(kChoosePicture);
        QCOMPARE(dlg_->background().library().PictureCount(), 2u);
        dlg_->close();
        QCOMPARE(dlg_->background().library().PictureCount(), 0u);
    }

    void missingCatalogueExitsWithStatusOne() {
        QTemporaryDir dir;
        const QString copy = dir.filePath("fudeline");
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/fudeline", copy));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(copy, {});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("0021t00df.dat"));
    }

  private:
    void Play(const QList<Event>& events) {
        for (const Event& e : events) {
            const QPoint p(e.x, e.y);
            if (e.kind == Event::Down) QTest::mousePress(dlg_.get(), Qt::LeftButton, {}, p);
            if (e.kind == Event::Move) QTest::mouseMove(dlg_.get(), p);
            if (e.kind == Event::Up) QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, p);
            dlg_->repaint();  // one paint after every event, as the replay does
        }
    }

    static QByteArray RunCli(const QStringList& args) {
        QProcess process;
        process.start(QCoreApplication::applicationDirPath() + "/fudeline-cli", args);
        if (!process.waitForFinished(20000) || process.exitCode() != 0) return "CLI FAILED";
        return process.readAllStandardOutput();
    }

    std::unique_ptr<EngineResources> resources_;
    std::unique_ptr<CArtDlg> dlg_;
};

QTEST_MAIN(ArtDlgTest)
#include "art_dlg_test.moc"
