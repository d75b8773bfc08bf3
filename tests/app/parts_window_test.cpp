// The parts palette in the window: the pages of a page file listed and
// searched, a part chosen laid where the canvas is clicked next as the core
// lays it (the selection tool then holds it; one step), libraries kept
// between runs, and files that are no library refused with the reason.
#include <QLineEdit>

#include "app/parts_palette.h"
#include "engine/document.h"
#include "tests/app/window_test_support.h"

using namespace fudeline;
using namespace fudeline::testing;

namespace {

// Three parts, in Shift-JIS as MLT files are: "　∧∧ / （・ω・）", a
// box "┌──┐ / └──┘" and "★彡".
const QByteArray kLibrary =
    "\x81@\x81\xC8\x81\xC8\x0D\x0A\x81i\x81"
    "E\x83\xD6\x81"
    "E\x81j\x0D\x0A[SPLIT]\x0D\x0A"
    "\x84\xA1\x84\x9F\x84\x9F\x84\xA2\x0D\x0A\x84\xA4\x84\x9F\x84\x9F\x84\xA3\x0D\x0A[SPLIT]"
    "\x0D\x0A"
    "\x81\x9A\x9C"
    "c";

// Where the part is laid: a client pixel well inside the canvas.
constexpr int kAtX = 150;
constexpr int kAtY = 130;

QByteArray Copied(MainWindow& window) {
    return QByteArray::fromStdString(window.ExportText());
}

}  // namespace

class PartsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { Resources(); }
    void init() { QVERIFY(window_.Open(/*active=*/true)); }
    void cleanup() { window_.Close(); }

    // Listed, searched, chosen, laid where clicked as the core lays the same
    // page there, moved with the arrows as a selection, taken back whole.
    void aChosenPartIsLaidWhereTheCanvasIsClicked() {
        const QString path = PlaceTestFile(dir_, "parts.mlt", kLibrary);
        QVERIFY(window_->LoadPartsLibrary(path));
        PartsPalette* palette = window_->partsPalette();
        QVERIFY(palette->isVisible());
        QCOMPARE(palette->listedLabels().size(), 3);
        auto* search = Find<QLineEdit>(*window_, "partsSearch");
        search->setText(QString::fromUtf8("\u2605"));  // ★: the first line of the third
        QCOMPARE(palette->listedLabels().size(), 1);
        search->clear();
        QCOMPARE(palette->listedLabels().size(), 3);

        palette->ChooseListed(0);
        CanvasWidget* canvas = window_->canvas();
        QVERIFY(canvas->placementPending());
        QVERIFY(Copied(*window_).isEmpty());  // nothing until the click
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(kAtX, kAtY));
        QVERIFY(!canvas->placementPending());
        Document reference(Resources());
        reference.SetDecoder(window_->document().decoder());
        const std::string page = kLibrary.left(kLibrary.indexOf("\r\n[SPLIT]")).toStdString();
        QVERIFY(
            reference.PlacePart(page, TextEncoding::ShiftJis, MapClientPoint(kAtX, kAtY).point));
        QCOMPARE(Copied(*window_),
                 QByteArray::fromStdString(reference.Text(TextFormat::ShiftJis).value()));
        QVERIFY(!Copied(*window_).isEmpty());
        // The selection tool holds it: an arrow with Shift moves it a row.
        QVERIFY(window_->findChild<QAction*>("selectAction")->isChecked());
        QTest::keyClick(canvas, Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY(reference.MoveSelection(0, kInkRowHeight));
        QCOMPARE(Copied(*window_),
                 QByteArray::fromStdString(reference.Text(TextFormat::ShiftJis).value()));
        // The move, then the part, each one step.
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(Copied(*window_).isEmpty());
    }

    // Words in a speech frame go where the canvas is clicked next, as the
    // core frames and lays them; a cancelled question leaves nothing waiting.
    void wordsInASpeechFrameAreLaidWhereClicked_data() {
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("style");
        QTest::newRow("rounded") << QString::fromUtf8("\u3053\u3093\u306b\u3061\u306f\nHi!")
                                 << static_cast<int>(FrameStyle::Rounded);
        QTest::newRow("box") << QStringLiteral("one line") << static_cast<int>(FrameStyle::Box);
    }
    void wordsInASpeechFrameAreLaidWhereClicked() {
        QFETCH(QString, words);
        QFETCH(int, style);
        CanvasWidget* canvas = window_->canvas();
        QAction* frame = window_->findChild<QAction*>("speechFrameAction");
        window_->SetFrameAsker([](QWidget*) { return std::optional<FrameRequest>(); });
        frame->trigger();
        QVERIFY(!canvas->placementPending());
        window_->SetFrameAsker([&](QWidget*) {
            return std::optional<FrameRequest>(FrameRequest{words, static_cast<FrameStyle>(style)});
        });
        frame->trigger();
        QVERIFY(canvas->placementPending());
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(kAtX, kAtY));
        Document reference(Resources());
        reference.SetDecoder(window_->document().decoder());
        QVERIFY(reference.PlaceFramedWords(words.toStdString(), static_cast<FrameStyle>(style),
                                           MapClientPoint(kAtX, kAtY).point));
        QCOMPARE(Copied(*window_),
                 QByteArray::fromStdString(reference.Text(TextFormat::ShiftJis).value()));
        QVERIFY(window_->findChild<QAction*>("selectAction")->isChecked());
    }

    // The libraries open at the next start; one gone meanwhile is said and let go.
    void librariesAreKeptBetweenRuns() {
        const QString path = PlaceTestFile(dir_, "kept.mlt", kLibrary);
        const QString gone = PlaceTestFile(dir_, "gone.mlt", kLibrary);
        QVERIFY(window_->LoadPartsLibrary(path));
        QVERIFY(window_->LoadPartsLibrary(gone));
        QVERIFY(window_->LoadPartsLibrary(path));  // read again, held once
        QCOMPARE(window_->partsPalette()->libraries(), QStringList({path, gone}));
        QFile::remove(gone);
        MainWindow next(Resources());
        QCOMPARE(next.partsPalette()->libraries(), QStringList({path}));
        QCOMPARE(next.partsPalette()->listedLabels().size(), 3);
        QVERIFY(next.statusMessage().contains(QStringLiteral("gone.mlt")));
    }

    // What is no library is refused with the file's name and the reason,
    // and the palette keeps what it held.
    void filesThatAreNoLibraryAreRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not Shift-JIS") << QByteArray("\xFF\xFE\x00\x01", 4);
        QTest::newRow("a folder") << QByteArray("FOLDER");
        QTest::newRow("missing") << QByteArray("MISSING");
    }
    void filesThatAreNoLibraryAreRefused() {
        QFETCH(QByteArray, bytes);
        const QString path = PlaceTestFile(dir_, "bad.mlt", bytes);
        QVERIFY(window_->LoadPartsLibrary(PlaceTestFile(dir_, "good.mlt", kLibrary)));
        QVERIFY(!window_->LoadPartsLibrary(path, /*quiet=*/true));
        QVERIFY(window_->statusMessage().contains(QStringLiteral("bad.mlt")));
        QCOMPARE(window_->partsPalette()->listedLabels().size(), 3);
    }

  private:
    FreshWindow window_;
    QTemporaryDir dir_;
};

QTEST_MAIN(PartsWindowTest)
#include "parts_window_test.moc"
