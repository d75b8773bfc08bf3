// Opening existing text art as the drawing, adding the text to page files,
// and the spacing choice: each the same as the command-line tool gives.
#include <unistd.h>

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>

#include "app/page_dialogs.h"

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
        QImage previewed;
        window_->SetPageChooser([&](const QStringList& labels, const PagePreview& preview, QWidget*) {
            offered = static_cast<int>(labels.size());
            previewed = preview(page - 1);
            return page - 1;
        });
        window_->findChild<QAction*>("openTextArtAction")->trigger();
        QStringList args{"convert", "--from-text", path, "--cells"};
        if (page > 0) args << "--page" << QString::number(page);
        QCOMPARE(Cells(*window_), RunCli(args));
        if (page > 0) {
            QCOMPARE(offered, 2);
            // The page chosen, as the canvas shows its text: rows of 18 pixels, ink on white.
            QCOMPARE(previewed.height() % kRowHeight, 0);
            QVERIFY(previewed.width() > 1);
            int dark = 0;
            for (int y = 0; y < previewed.height(); ++y)
                for (int x = 0; x < previewed.width(); ++x) dark += qGray(previewed.pixel(x, y)) < 128;
            QVERIFY(dark > 10);
        }
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

    // An ideograph the face lacks is kept as text, and the status line names it.
    void anIdeographTheFaceLacksIsKeptAndNamed() {
        QTemporaryDir dir;
        const QByteArray art = "ok\r\na\xE7\xBA\x8A|";  // a纊|
        window_->SetFileChooser(Answer(PlaceTestFile(dir, "art.txt", art)));
        window_->findChild<QAction*>("openTextArtAction")->trigger();
        const QString said = window_->statusMessage();
        QVERIFY2(said.contains(QStringLiteral("2 行 2 文字目の「纊」")), qPrintable(said));
        window_->findChild<QAction*>("copyAction")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(), art);
    }

    void textArtThatCannotOpenIsRefusedAndTheDrawingStays_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("too long") << "long.txt" << QByteArray(30 * 2, '|').replace("||", "|\n")
                                  << "テキストは 30 行あります。キャンバスに入るのは 29 行までです";
        QTest::newRow("empty") << "empty.txt" << QByteArray() << "テキストがありません";
        QTest::newRow("line breaks only") << "breaks.txt" << QByteArray("\xEF\xBB\xBF\r\n\r\n")
                                          << "テキストがありません";
        QTest::newRow("empty page") << "pages.mlt" << QByteArray("|\r\n[SPLIT]\r\n")
                                    << "テキストがありません";
    }
    void textArtThatCannotOpenIsRefusedAndTheDrawingStays() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        Play(*window_, Wave());
        const QByteArray before = Cells(*window_);
        window_->SetFileChooser(Answer(PlaceTestFile(dir, name, bytes)));
        window_->SetPageChooser([](const QStringList&, const PagePreview&, QWidget*) { return 1; });
        QString text;
        AnswerNextBox(QMessageBox::Ok, &text);
        window_->findChild<QAction*>("openTextArtAction")->trigger();
        QVERIFY2(text.contains(name) && text.contains(reason), qPrintable(text));
        QCOMPARE(Cells(*window_), before);
    }

    // The chooser lists pages by their first words and shows the one chosen.
    void pageChooserShowsEachPage() {
        QImage pages[2] = {QImage(40, 18, QImage::Format_RGB32), QImage(900, 540, QImage::Format_RGB32)};
        pages[0].fill(Qt::black);
        pages[1].fill(Qt::white);
        QList<QSize> shown;
        OnNextModal<QDialog>([&](QDialog* dialog) {
            auto* list = dialog->findChild<QListWidget*>("pageList");
            auto* picture = dialog->findChild<QLabel*>("pagePreview");
            shown.append(picture->pixmap().size());
            list->setCurrentRow(1);
            shown.append(picture->pixmap().size());
            dialog->accept();
        });
        const int chosen = ChoosePageWithDialog({"a", "b"}, [&](int i) { return pages[i]; }, window_.get());
        QCOMPARE(chosen, 1);
        // Small pages at their own size; a page larger than the room, smaller.
        QCOMPARE(shown, (QList<QSize>{QSize(40, 18), QSize(400, 240)}));
    }

    // A new name with a suffix of another kind is asked about, never renamed
    // silently; an existing page file keeps its name whatever it is.
    void appendingAsksBeforeNamingAFileAnew() {
        QTemporaryDir dir;
        Play(*window_, Wave());
        const QString typed = dir.filePath("notpages.txt");
        window_->SetFileChooser(Answer(typed));
        QString asked;
        AnswerNextBox(QMessageBox::Cancel, &asked);
        window_->findChild<QAction*>("appendPageAction")->trigger();
        QVERIFY2(asked.contains("notpages.txt.mlt"), qPrintable(asked));
        QVERIFY(!QFile::exists(typed + ".mlt") && !QFile::exists(typed));
        AnswerNextBox(QMessageBox::Yes);
        window_->findChild<QAction*>("appendPageAction")->trigger();
        QVERIFY(QFile::exists(typed + ".mlt"));

        const QString existing = PlaceTestFile(dir, "old.txt", "a\r\n[SPLIT]\r\nb");
        window_->SetFileChooser(Answer(existing));
        window_->findChild<QAction*>("appendPageAction")->trigger();
        QCOMPARE(RunCli({"pages", existing}).count('\n'), 3);
        QVERIFY(!QFile::exists(existing + ".mlt"));
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
