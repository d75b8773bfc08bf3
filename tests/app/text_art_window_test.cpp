// Opening existing text art as the drawing, adding the text to page files,
// and the spacing choice: each the same as the command-line tool gives.
#include <unistd.h>

#include <QCheckBox>
#include <QClipboard>

#include "export/cells_format.h"
#include "export/export_text.h"
#include "tests/app/window_test_support.h"

using namespace fudeline;
using namespace fudeline::testing;

namespace {

QByteArray Cells(const MainWindow& window) {
    const std::string cells = FormatCells(window.state().rows());
    return QByteArray(cells.data(), static_cast<qsizetype>(cells.size()));
}

const QByteArray kArt = "\xE3\x80\x80 \xEF\xBC\x8F\xEF\xBF\xA3\xEF\xBC\xBC\n"  // 　 ／￣＼
                        "\xEF\xBC\x88 \xC2\xB4\xE2\x88\x80\xEF\xBD\x80\xEF\xBC\x89\n";  // （ ´∀｀）

}  // namespace

class TextArtWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { Resources(); }
    void init() { QVERIFY(window_.Open()); }
    void cleanup() { window_.Close(); }

    void openedTextArtIsTheDrawingTheToolConverts_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("page");  // 0: a plain text file
        QTest::newRow("UTF-8 text") << kArt << "art.txt" << 0;
        QTest::newRow("Shift-JIS text") << QByteArray("\x81\x40 \x81\x5E\x81\x50\x81\x5F") << "art.txt" << 0;
        QTest::newRow("MLT page 2") << QByteArray("A\r\n[SPLIT]\r\n\x81\x5E\x81\x5F\r\n|") << "art.mlt" << 2;
        QTest::newRow("AST page 1") << QByteArray("[AA][x]\r\n\x81\x69\x81\x6A\r\n[AA][y]\r\nB") << "art.ast" << 1;
    }
    void openedTextArtIsTheDrawingTheToolConverts() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(int, page);
        QTemporaryDir dir;
        const QString path = PlaceTestFile(dir, name, bytes);
        Play(*window_, Wave());
        const QByteArray before = Cells(*window_);
        window_->SetFileChooser(Answer(path));
        int offered = 0;
        window_->SetPageChooser([&](const QStringList& labels, QWidget*) {
            offered = static_cast<int>(labels.size());
            return page - 1;
        });
        window_->findChild<QAction*>("openTextArtAction")->trigger();
        QStringList args{"convert", "--from-text", path, "--cells"};
        if (page > 0) args << "--page" << QString::number(page);
        QCOMPARE(Cells(*window_), RunCli(args));
        if (page > 0) QCOMPARE(offered, 2);
        // One undoable step: undo gives the drawing back.
        window_->findChild<QAction*>("undoAction")->trigger();
        QCOMPARE(Cells(*window_), before);
    }

    // Copy right after opening gives the file back, in either decoder, kanji
    // and spacing the gap composer would spell otherwise included.
    void copyRightAfterOpeningGivesTheTextBack_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("fine");
        const QByteArray art = "\xE3\x80\x80 \xE3\x80\x80 \xEF\xBC\x8F\xEF\xBF\xA3\r\n"   // 　 　 ／￣
                               " |\xE7\xAD\x86\xE3\x81\xA7\xE6\x8F\x8F\xE3\x81\x84\xE3\x81\x9F"
                               "\xE9\xA1\x94\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82\r\n"  // " |筆で描いた顔です。"
                               "\r\n"
                               "\xEF\xBE\x86\xEF\xBD\xAC\xEF\xBD\xB0 \xE2\x97\x8F";  // ﾆｬｰ ●
        QTest::newRow("row matcher") << art << false;
        QTest::newRow("fine decoder") << art << true;
    }
    void copyRightAfterOpeningGivesTheTextBack() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fine);
        QCheckBox* fineBox = Find<QCheckBox>(*window_, "fineCheckBox");
        if (fineBox->isChecked() != fine) fineBox->click();
        QTemporaryDir dir;
        window_->SetFileChooser(Answer(PlaceTestFile(dir, "art.txt", bytes)));
        window_->findChild<QAction*>("openTextArtAction")->trigger();
        window_->findChild<QAction*>("copyAction")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(), bytes);
    }

    void textArtThatDoesNotFitIsRefusedAndTheDrawingStays() {
        QTemporaryDir dir;
        const QString path = PlaceTestFile(dir, "long.txt", QByteArray(30 * 2, '|').replace("||", "|\n"));
        Play(*window_, Wave());
        const QByteArray before = Cells(*window_);
        window_->SetFileChooser(Answer(path));
        QString text;
        AnswerNextBox(QMessageBox::Ok, &text);
        window_->findChild<QAction*>("openTextArtAction")->trigger();
        QVERIFY2(text.contains(QStringLiteral("テキストは 30 行あります。キャンバスに入るのは 29 行までです")),
                 qPrintable(text));
        QCOMPARE(Cells(*window_), before);
    }

    void appendedPagesReadBackAsTheText() {
        QTemporaryDir dir;
        Play(*window_, Wave());
        const std::string text = ComposeExportText(window_->state().rows(), false);
        const QByteArray page(text.data(), static_cast<qsizetype>(text.size()));
        window_->SetPageNamer([](QWidget*) { return std::optional<QString>("\xE9\xA1\x94"); });  // 顔

        window_->SetFileChooser(Answer(dir.filePath("new"), 1));  // AST chosen, no suffix typed
        window_->findChild<QAction*>("appendPageAction")->trigger();
        window_->findChild<QAction*>("appendPageAction")->trigger();
        QFile ast(dir.filePath("new.ast"));
        QVERIFY(ast.open(QIODevice::ReadOnly));
        QCOMPARE(ast.readAll(), "[AA][\x8A\xE7]\r\n" + page + "\r\n[AA][\x8A\xE7]\r\n" + page);

        window_->SetFileChooser(Answer(dir.filePath("art.mlt")));
        window_->findChild<QAction*>("appendPageAction")->trigger();
        window_->findChild<QAction*>("appendPageAction")->trigger();
        QFile mlt(dir.filePath("art.mlt"));
        QVERIFY(mlt.open(QIODevice::ReadOnly));
        QCOMPARE(mlt.readAll(), page + "\r\n[SPLIT]\r\n" + page);
        QCOMPARE(RunCli({"pages", dir.filePath("art.mlt")}).count('\n'), 2);
    }

    // A page file the window may not replace whole is refused with the
    // reason, never reported as a page added: one with two names (hard
    // links), also through a symbolic link, and, for a user other than
    // root, a read-only one.
    void pageFilesThatCannotBeReplacedAreRefusedWithTheReason() {
        QTemporaryDir dir;
        Play(*window_, Wave());
        const QByteArray old("a\r\n[SPLIT]\r\nb");
        const QString linked = PlaceTestFile(dir, "linked.mlt", old);
        QVERIFY(QFile::link(linked, dir.filePath("shortcut.mlt")));
        QVERIFY(::link(QFile::encodeName(linked).constData(),
                       QFile::encodeName(dir.filePath("other.mlt")).constData()) == 0);
        const QString readOnly = PlaceTestFile(dir, "read-only.mlt", old);
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        QList<std::pair<QString, QString>> cases = {
            {linked, QStringLiteral("2 個の名前（ハードリンク）があります")},
            {dir.filePath("shortcut.mlt"), QStringLiteral("2 個の名前（ハードリンク）があります")}};
        if (::geteuid() != 0) cases.append({readOnly, QStringLiteral("読み書きが許されていません")});
        for (const auto& [path, reason] : cases) {
            window_->SetFileChooser(Answer(path));
            QString text;
            AnswerNextBox(QMessageBox::Ok, &text);
            window_->findChild<QAction*>("appendPageAction")->trigger();
            QVERIFY2(text.contains(reason), qPrintable(path + ": " + text));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), old);
        }
    }

    void unicodeSpacingIsRememberedAndSpellsAsTheTool() {
        auto* box = Find<QCheckBox>(*window_, "unicodeSpacingCheckBox");
        QVERIFY(!box->isChecked());
        Play(*window_, Wave());
        box->setChecked(true);
        QCOMPARE(window_->spacing(), Spacing::Unicode);
        QCOMPARE(QByteArray::fromStdString(window_->ExportText()),
                 ReplayOf(Wave(), {"--sjis", "--spacing", "unicode"}));
        MainWindow fresh(Resources());
        QVERIFY(Find<QCheckBox>(fresh, "unicodeSpacingCheckBox")->isChecked());
        QCOMPARE(fresh.spacing(), Spacing::Unicode);
    }

  private:
    FreshWindow window_;
};

QTEST_MAIN(TextArtWindowTest)
#include "text_art_window_test.moc"
