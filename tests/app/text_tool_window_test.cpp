// The text tool in the window: a click puts the caret down, keys and the
// input method type there, and the words are what the core types for the
// same caret (a Document driven directly, or `fudeline-cli replay` with a
// `type` event). Letters that are also tools' keys are words while a caret
// stands, refusals are worded in the status line, and one caret is one step.
#include <QInputMethodEvent>

#include <functional>

#include "app/core_reasons.h"
#include "app/post_status.h"
#include "engine/document.h"
#include "tests/app/window_test_support.h"

using namespace fudeline;
using namespace fudeline::testing;

namespace {

// Where the tests type: a client pixel well inside the canvas.
constexpr int kAtX = 120;
constexpr int kAtY = 100;

QByteArray Copied(MainWindow& window) {
    return QByteArray::fromStdString(window.ExportText());
}

// What the command line prints for `script` (replay events, one a line).
QByteArray ReplayScript(const QString& script) {
    QTemporaryDir dir;
    QFile file(dir.filePath("typed.replay"));
    if (!file.open(QIODevice::WriteOnly)) return "NO SCRIPT";
    file.write(script.toUtf8());
    file.close();
    return RunCli({"replay", file.fileName(), "--sjis"});
}

QString TypeEvent(const QString& text, int x = kAtX, int y = kAtY) {
    return QStringLiteral("type %1 %2 %3\n").arg(x).arg(y).arg(text);
}

// The arrow keys as characters of a key string.
const QString kArrows = QStringLiteral("\u2190\u2192\u2191\u2193");  // left, right, up, down
constexpr Qt::Key kArrowKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};

// Keys as a string: '\n' Enter, '\b' Backspace, '\x1b' Escape, arrows as
// ←→↑↓, the rest typed.
void PressKeys(QWidget* target, const QString& keys) {
    for (const QChar key : keys) {
        if (const qsizetype arrow = kArrows.indexOf(key); arrow >= 0) {
            QTest::keyClick(target, kArrowKeys[arrow]);
        } else if (key == QLatin1Char('\n')) {
            QTest::keyClick(target, Qt::Key_Return);
        } else if (key == QLatin1Char('\b')) {
            QTest::keyClick(target, Qt::Key_Backspace);
        } else if (key == QChar(0x1b)) {
            QTest::keyClick(target, Qt::Key_Escape);
        } else {
            QTest::keyClick(target, key.toLatin1());
        }
    }
}

// The same keys given to a Document of the window's choices, with the caret
// put down at client pixel (x, y) as the window's click puts it.
struct Reference {
    explicit Reference(const MainWindow& window) : document(Resources()) {
        document.SetDecoder(window.document().decoder());
    }
    void Click(int x, int y) { document.PlaceCaret(MapClientPoint(x, y).point); }
    // The last refusal; keys after one go on being typed, as in the window.
    Status Keys(const QString& keys) {
        Status last;
        for (const QChar key : keys) {
            if (!document.caret()) continue;  // as the window, which has no caret to type at
            if (const qsizetype arrow = kArrows.indexOf(key); arrow >= 0) {
                document.MoveCaret(arrow == 0 ? -1 : arrow == 1 ? 1 : 0, arrow == 2 ? -1 : arrow == 3 ? 1 : 0);
            } else if (key == QLatin1Char('\n')) {
                if (!document.NewLine()) last = Error{"", kinds::TypeBelowLastRow};
            } else if (key == QLatin1Char('\b')) {
                document.EraseBefore();
            } else if (key == QChar(0x1b)) {
                document.EndTyping();
            } else if (Status typed = Type(QString(key)); !typed) {
                last = typed;
            }
        }
        return last;
    }
    Status Type(const QString& text) { return document.Type(text.toStdString()); }
    QByteArray Text() const {
        return QByteArray::fromStdString(document.Text(TextFormat::ShiftJis).value_or("NO TEXT"));
    }
    Document document;
};

void SendInputMethod(QWidget* canvas, const QString& preedit, const QString& commit) {
    QList<QInputMethodEvent::Attribute> attributes;
    if (!preedit.isEmpty()) {
        attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, preedit.size(), 1);
    }
    QInputMethodEvent event(preedit, attributes);
    event.setCommitString(commit);
    QApplication::sendEvent(canvas, &event);
}

}  // namespace

class TextToolWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { Resources(); }
    void init() { QVERIFY(window_.Open(/*active=*/true)); }
    void cleanup() { window_.Close(); }

    // T, a click, keys: the text is the core's for the same keys, and the
    // command line's where a `type` event says the same.
    void typedKeysAreTheCoresText_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("replay");  // empty: compared with the Document only
        QTest::newRow("ab, Enter, c, Backspace") << "ab\nc\b" << TypeEvent("ab");
        QTest::newRow("capitals and a space") << "Hi There" << TypeEvent("Hi There");
        QTest::newRow("tools' letters are words") << "EPST tep" << TypeEvent("EPST tep");
        // In the gap before, Backspace steps the caret left a full-width space.
        QTest::newRow("Backspace past the typed words") << "a\b\b\bb" << QString();
        QTest::newRow("Enter twice") << "ab\n\ncd" << QString();
        QTest::newRow("arrows back into the word") << QStringLiteral("abc\u2190\u2190X") << TypeEvent("aXbc");
        QTest::newRow("down, right, up") << QStringLiteral("ab\u2193c\u2192\u2191d") << QString();
        QTest::newRow("Escape ends, later keys are not typed")
            << QStringLiteral("ab\u001bc") << TypeEvent("ab");
    }
    void typedKeysAreTheCoresText() {
        QFETCH(QString, keys);
        QFETCH(QString, replay);
        CanvasWidget* canvas = window_->canvas();
        QTest::keyClick(window_.get(), Qt::Key_T);
        QVERIFY(window_->findChild<QAction*>("textAction")->isChecked());
        QVERIFY(Find<QPushButton>(*window_, "textButton")->isChecked());
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(kAtX, kAtY));
        QVERIFY(canvas->hasFocus());
        QVERIFY(window_->document().caret());
        PressKeys(canvas, keys);

        Reference reference(*window_);
        reference.Click(kAtX, kAtY);
        QVERIFY(reference.Keys(keys));
        QCOMPARE(Copied(*window_), reference.Text());
        if (!replay.isEmpty()) QCOMPARE(Copied(*window_), ReplayScript(replay));
        // The counter counts the words as it counts strokes.
        QCOMPARE(window_->postStatus()->count().bytes,
                 window_->document().CountPost(window_->postStatus()->limits()).bytes);
        // Whatever letters were typed, the tool is still the text tool.
        QVERIFY(window_->findChild<QAction*>("textAction")->isChecked());
        QVERIFY(window_->state().penMode());
    }

    // Without a caret the one-key shortcuts choose their tools; with one
    // they are words, and the tool stays.
    void letterKeysAreShortcutsOnlyWithoutACaret_data() {
        QTest::addColumn<char>("key");
        QTest::addColumn<QString>("action");
        QTest::newRow("E") << 'E' << "eraserAction";
        QTest::newRow("P") << 'P' << "penAction";
        QTest::newRow("S") << 'S' << "selectAction";
    }
    void letterKeysAreShortcutsOnlyWithoutACaret() {
        QFETCH(char, key);
        QFETCH(QString, action);
        CanvasWidget* canvas = window_->canvas();
        QTest::keyClick(window_.get(), Qt::Key_T);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(kAtX, kAtY));
        QTest::keyClick(canvas, key);
        QVERIFY(window_->findChild<QAction*>("textAction")->isChecked());
        QVERIFY(!window_->findChild<QAction*>(action)->isChecked());
        QCOMPARE(Copied(*window_), ReplayScript(TypeEvent(QString(QLatin1Char(key)))));

        QTest::keyClick(canvas, Qt::Key_Escape);
        QVERIFY(!window_->document().caret());
        const QByteArray typed = Copied(*window_);
        QTest::keyClick(canvas, key);
        QVERIFY(window_->findChild<QAction*>(action)->isChecked());
        QCOMPARE(Copied(*window_), typed);
    }

    // The input method: what it composes shows at the caret but is not in
    // the text; what it commits is typed as the command line types it.
    void inputMethodCommitsAreTypedAndPreeditIsNot_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("kana") << QStringLiteral("かなカナ");
        QTest::newRow("kanji") << QStringLiteral("漢字");
        QTest::newRow("full-width letters") << QStringLiteral("ＡＢｃ");
        QTest::newRow("half-width kana") << QStringLiteral("ｱｲｳ");
    }
    void inputMethodCommitsAreTypedAndPreeditIsNot() {
        QFETCH(QString, text);
        CanvasWidget* canvas = window_->canvas();
        QVERIFY(!canvas->testAttribute(Qt::WA_InputMethodEnabled));
        QTest::keyClick(window_.get(), Qt::Key_T);
        QVERIFY(canvas->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(!canvas->inputMethodQuery(Qt::ImEnabled).toBool());  // no caret yet
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(kAtX, kAtY));
        QVERIFY(canvas->inputMethodQuery(Qt::ImEnabled).toBool());
        const QRect before = canvas->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QCOMPARE(before, canvas->CaretOnWidget().value_or(QRect()));
        QCOMPARE(before.height(), kRowHeight);
        QCOMPARE(before.top() % kRowHeight, 0);

        const QByteArray empty = Copied(*window_);
        SendInputMethod(canvas, text, QString());
        QCOMPARE(canvas->preedit(), text);
        QCOMPARE(Copied(*window_), empty);
        SendInputMethod(canvas, QString(), text);
        QVERIFY(canvas->preedit().isEmpty());
        QCOMPARE(Copied(*window_), ReplayScript(TypeEvent(text)));
        // The caret went on past the words, and the input method is told where.
        const QRect after = canvas->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QCOMPARE(after.top(), before.top());
        QVERIFY(after.left() > before.left());
    }

    // The caret is drawn one row high where the words go on.
    void caretIsDrawnAtItsPlace() {
        CanvasWidget* canvas = window_->canvas();
        QTest::keyClick(window_.get(), Qt::Key_T);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(kAtX, kAtY));
        PressKeys(canvas, "ab");
        const QRect caret = canvas->CaretOnWidget().value_or(QRect());
        QVERIFY(!caret.isEmpty());
        const QImage shown = canvas->grab().toImage();
        QCOMPARE(shown.pixelColor(caret.left(), caret.top()), QColor(0, 90, 200));
        QCOMPARE(shown.pixelColor(caret.left(), caret.bottom()), QColor(0, 90, 200));
        QTest::keyClick(canvas, Qt::Key_Escape);
        QVERIFY(!canvas->CaretOnWidget());
        QVERIFY(canvas->grab().toImage().pixelColor(caret.left(), caret.top()) !=
                QColor(0, 90, 200));
    }

    // A refusal keeps what was typed before it and says why in the status
    // line, in the words the window gives the core's reason.
    void refusalsSayWhyInTheStatusLine_data() {
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("keys");       // typed as keys
        QTest::addColumn<QString>("committed");  // then committed by the input method
        QTest::newRow("not in the face") << kAtY << "ab" << QStringLiteral("x\U0001F600y");
        QTest::newRow("row too wide") << kAtY << "" << QString(80, QChar(0xFF37));
        QTest::newRow("Enter on the last row")
            << kCanvasTop + kCanvasHeight - 4 << "a\nb" << QString();
    }
    void refusalsSayWhyInTheStatusLine() {
        QFETCH(int, y);
        QFETCH(QString, keys);
        QFETCH(QString, committed);
        CanvasWidget* canvas = window_->canvas();
        QTest::keyClick(window_.get(), Qt::Key_T);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(kAtX, y));
        QVERIFY(window_->statusMessage().isEmpty());
        PressKeys(canvas, keys);
        if (!committed.isEmpty()) SendInputMethod(canvas, QString(), committed);

        Reference reference(*window_);
        reference.Click(kAtX, y);
        Status refused = reference.Keys(keys);
        if (refused && !committed.isEmpty()) refused = reference.Type(committed);
        QVERIFY(!refused);
        QCOMPARE(window_->statusMessage(), ReasonText(refused.error()));
        QCOMPARE(Copied(*window_), reference.Text());
        QVERIFY(window_->document().caret());  // typing goes on after a refusal
    }

    // One caret is one step: Ctrl+Z takes all its words back, a later caret
    // is a step of its own, and redo brings the words back.
    void eachCaretIsOneUndoStep() {
        const QList<Event> stroke{{Event::Down, 300, 200}, {Event::Move, 420, 260}, {Event::Up}};
        Play(*window_, stroke);
        const QByteArray drawn = Copied(*window_);
        CanvasWidget* canvas = window_->canvas();
        QTest::keyClick(window_.get(), Qt::Key_T);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(kAtX, kAtY));
        PressKeys(canvas, "ab\nc");
        const QByteArray first = Copied(*window_);
        QVERIFY(first != drawn);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(kAtX, 300));
        PressKeys(canvas, "xy\b");
        const QByteArray second = Copied(*window_);
        QCOMPARE(second,
                 ReplayScript(ScriptOf(stroke) + TypeEvent("ab") +
                              TypeEvent("c", kAtX, kAtY + kRowHeight) + TypeEvent("x", kAtX, 300)));

        QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Copied(*window_), first);
        QVERIFY(!window_->document().caret());  // the caret went with its words
        QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Copied(*window_), drawn);
        QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Copied(*window_), first);
        QCOMPARE(window_->postStatus()->count().bytes,
                 window_->document().CountPost(window_->postStatus()->limits()).bytes);
    }

    // Escape, another tool or a click where no row reaches end the typing.
    void typingEnds_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("the pen chosen from the menu") << "pen";
        QTest::newRow("the pen indicator pressed") << "indicator";
        QTest::newRow("a click right of where rows end") << "right";
    }
    void typingEnds() {
        QFETCH(QString, how);
        CanvasWidget* canvas = window_->canvas();
        QTest::keyClick(window_.get(), Qt::Key_T);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(kAtX, kAtY));
        PressKeys(canvas, "ab");
        SendInputMethod(canvas, QStringLiteral("かな"), QString());
        const QByteArray typed = Copied(*window_);
        if (how == "escape") QTest::keyClick(canvas, Qt::Key_Escape);
        if (how == "pen") window_->findChild<QAction*>("penAction")->trigger();
        if (how == "indicator")
            QTest::mouseClick(Find<QWidget>(*window_, "penIndicator"), Qt::LeftButton, {},
                              QPoint(4, 4));
        if (how == "right")
            QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(kCanvasWidth - 1, kAtY));
        QVERIFY(!window_->document().caret());
        QVERIFY(canvas->preedit().isEmpty());
        QVERIFY(!canvas->inputMethodQuery(Qt::ImEnabled).toBool());
        QCOMPARE(Copied(*window_), typed);
        // The typing's step is closed: undo takes all of it back.
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Copied(*window_), Reference(*window_).Text());
    }

  private:
    FreshWindow window_;
};

QTEST_MAIN(TextToolWindowTest)
#include "text_tool_window_test.moc"
