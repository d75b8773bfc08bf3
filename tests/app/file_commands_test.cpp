// Keeping, opening and exporting a work, dropping a picture, the file dialogs'
// folders, and the post counter under the canvas.
#include <QBuffer>
#include <QLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMimeData>
#include <QSpinBox>

#include "app/post_status.h"
#include "export/export_text.h"
#include "glyphs/cp932.h"
#include "tests/app/window_test_support.h"

using namespace fudeline;

Q_DECLARE_METATYPE(fudeline::BoardLimits)
using namespace fudeline::testing;

namespace {

std::string Cp932Of(const QByteArray& utf8) {
    return Utf8ToCp932(utf8.toStdString()).value();
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("UNREADABLE");
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { Resources(); }
    void init() { QVERIFY(window_.Open()); }
    void cleanup() { window_.Close(); }

    // --- Keep and open.

    // Opened text art is saved with its rows as written, which the ink alone
    // would match otherwise: it comes back byte for byte.
    void saveThenOpenGivesTheSameRows_data() {
        QTest::addColumn<bool>("erase");
        QTest::addColumn<QByteArray>("art");  // opened first when not empty
        const QByteArray art = "\xE3\x80\x80 \xEF\xBC\x8F\xEF\xBF\xA3\r\n"  // 　 ／￣
                               " |\xE7\xAD\x86\xE3\x81\xA7\xE6\x8F\x8F\xE3\x81\x84\r\n"  //  |筆で描い
                               "\xEF\xBE\x86\xEF\xBD\xAC\xEF\xBD\xB0 \xE2\x97\x8F";  // ﾆｬｰ ●
        QTest::newRow("drawn") << false << QByteArray();
        QTest::newRow("drawn, then partly erased") << true << QByteArray();
        QTest::newRow("opened text art, drawn over") << false << art;
    }
    void saveThenOpenGivesTheSameRows() {
        QFETCH(bool, erase);
        QFETCH(QByteArray, art);
        QTemporaryDir dir;
        if (!art.isEmpty()) {
            window_->SetFileChooser(Answer(PlaceTestFile(dir, "art.txt", art)));
            window_->findChild<QAction*>("openTextArtAction")->trigger();
            QCOMPARE(window_->ExportText(), Cp932Of(art));
        }
        Play(*window_, Wave());
        if (erase) {
            QTest::mouseClick(Find<QWidget>(*window_, "penIndicator"), Qt::LeftButton, {},
                              QPoint(5, 5));
            Play(*window_, {{Event::Down, 200, 100}, {Event::Move, 260, 200}, {Event::Up}});
        }
        const TextRows drawn = window_->state().rows();
        const std::string text = window_->ExportText();
        const QString path = dir.filePath("drawing.png");
        window_->SetFileChooser(Answer(path));
        window_->findChild<QAction*>("saveDrawingAction")->trigger();
        QVERIFY(QFile::exists(path));

        // The command-line tool reads the saved drawing as the same text.
        QCOMPARE(RunCli({"convert", path, "--sjis"}),
                 QByteArray(text.data(), static_cast<qsizetype>(text.size())));

        MainWindow fresh(Resources());
        fresh.SetFileChooser(Answer(path));
        fresh.findChild<QAction*>("openDrawingAction")->trigger();
        QVERIFY(fresh.state().rows() == drawn);
        QCOMPARE(fresh.ExportText(), text);
    }

    void openingIsOneUndoableStep() {
        Play(*window_, {{Event::Down, 100, 100}, {Event::Move, 300, 100}, {Event::Up}});
        const TextRows before = window_->state().rows();
        QTemporaryDir dir;
        const QString path = dir.filePath("other.pbm");
        QFile pbm(path);
        QVERIFY(pbm.open(QIODevice::WriteOnly));
        pbm.write("P1 40 8\n" + QByteArray(40 * 4, '0') + QByteArray(40 * 4, '1'));
        pbm.close();
        window_->SetFileChooser(Answer(path));
        window_->findChild<QAction*>("openDrawingAction")->trigger();
        QVERIFY(window_->state().rows() != before);
        QVERIFY(window_->state().rows()[3].empty());  // the old stroke is gone
        QVERIFY(!window_->state().rows()[0].empty());
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window_->state().rows() == before);
    }

    void unreadableDrawingsAreToldAndChangeNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("words") << "words.png" << QByteArray("words");
        QTest::newRow("cut PNG") << "cut.png" << QByteArray("\x89PNG\r\n\x1A\n\0\0", 10);
        QTest::newRow("missing") << "missing.png" << QByteArray("MISSING");
        QTest::newRow("folder") << "folder.png" << QByteArray("FOLDER");
        // A photo decodes to no ink at all: opened, it would only empty the drawing.
        QImage photo(64, 48, QImage::Format_RGB32);
        photo.fill(QColor(90, 120, 60));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        photo.save(&buffer, "PNG");
        QTest::newRow("photo") << "photo.png" << png;
    }
    void unreadableDrawingsAreToldAndChangeNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        Play(*window_, Wave());
        const TextRows drawn = window_->state().rows();
        QTemporaryDir dir;
        const QString path = PlaceTestFile(dir, name, bytes);
        window_->SetFileChooser(Answer(path));
        QString told;
        AnswerNextBox(QMessageBox::Ok, &told);
        window_->findChild<QAction*>("openDrawingAction")->trigger();
        QVERIFY2(told.startsWith(QStringLiteral("「") + QDir::toNativeSeparators(path)),
                 qPrintable(told));
        QVERIFY2(!told.contains(QRegularExpression("[a-z]{4}")) || told.contains(name),
                 qPrintable(told));
        QVERIFY(window_->state().rows() == drawn);
    }

    void failedSavesAreToldAndKeepTheOldFile_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("drawing") << "saveDrawingAction";
        QTest::newRow("text") << "exportTextAction";
        QTest::newRow("text picture") << "saveTextPictureAction";
    }
    void failedSavesAreToldAndKeepTheOldFile() {
        QFETCH(QString, action);
        Play(*window_, Wave());
        QTemporaryDir dir;
        const QString path = dir.filePath("no-such-folder/art.out");
        window_->SetFileChooser(Answer(path));
        QString told;
        AnswerNextBox(QMessageBox::Ok, &told);
        window_->findChild<QAction*>(action)->trigger();
        QVERIFY2(told.contains(QStringLiteral("art.out」に保存できませんでした")),
                 qPrintable(told));
        // A folder in the way is never replaced.
        QDir(dir.path()).mkdir("taken");
        window_->SetFileChooser(Answer(dir.filePath("taken")));
        AnswerNextBox(QMessageBox::Ok, &told);
        window_->findChild<QAction*>(action)->trigger();
        QVERIFY(QFileInfo(dir.filePath("taken")).isDir());
    }

    void closingAsksBeforeADrawingIsLost_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("chooserGivesAPath");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << true << false << false;
        QTest::newRow("Escape") << int(QMessageBox::NoButton) << true << false << false;
        QTest::newRow("discard") << int(QMessageBox::Discard) << true << true << false;
        QTest::newRow("save") << int(QMessageBox::Save) << true << true << true;
        QTest::newRow("save, then cancel the dialog")
            << int(QMessageBox::Save) << false << false << false;
    }
    void closingAsksBeforeADrawingIsLost() {
        QFETCH(int, answer);
        QFETCH(bool, chooserGivesAPath);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        Play(*window_, Wave());
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.png");
        window_->SetFileChooser(Answer(chooserGivesAPath ? path : QString()));
        QString asked;
        AnswerNextBox(static_cast<QMessageBox::StandardButton>(answer), &asked);
        window_->close();
        QVERIFY2(asked.contains(QStringLiteral("保存しますか")), qPrintable(asked));
        QCOMPARE(window_->isVisible(), !closes);
        QCOMPARE(QFile::exists(path), saved);
    }

    void closingDoesNotAskWhenNothingWouldBeLost_data() {
        QTest::addColumn<QString>("before");
        QTest::newRow("nothing drawn") << "";
        QTest::newRow("saved") << "save";
        QTest::newRow("opened") << "open";
        QTest::newRow("drawn, then undone") << "undo";
        QTest::newRow("drawn, then all erased") << "erase";
        QTest::newRow("text art opened") << "text";
    }
    void closingDoesNotAskWhenNothingWouldBeLost() {
        QFETCH(QString, before);
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.png");
        window_->SetFileChooser(Answer(path));
        if (!before.isEmpty() && before != "text") {
            Play(*window_, {{Event::Down, 100, 100}, {Event::Move, 300, 100}, {Event::Up}});
        }
        if (before == "text") {
            window_->SetFileChooser(Answer(PlaceTestFile(dir, "art.txt", "|\xEF\xBC\x8F\n")));
            window_->findChild<QAction*>("openTextArtAction")->trigger();
            QVERIFY(!window_->state().rows().empty());
        }
        if (before == "save" || before == "open") {
            window_->findChild<QAction*>("saveDrawingAction")->trigger();
        }
        if (before == "open") {
            Play(*window_, {{Event::Down, 100, 300}, {Event::Move, 300, 300}, {Event::Up}});
            window_->findChild<QAction*>("openDrawingAction")->trigger();
        }
        if (before == "undo") QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        if (before == "erase") {
            QTest::mouseClick(Find<QWidget>(*window_, "penIndicator"), Qt::LeftButton, {},
                              QPoint(5, 5));
            Play(*window_, {{Event::Down, 90, 100}, {Event::Move, 320, 100}, {Event::Up}});
        }
        bool asked = false;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked = true;
                box->button(QMessageBox::Discard)->click();
            }
        });
        window_->close();
        QVERIFY(!asked);
        QVERIFY(!window_->isVisible());
    }

    // --- Export.

    // Each format the dialog offers, end to end; how the choices write the
    // text is the Document's (document_test).
    void exportWritesWhatCopyWouldGive_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<bool>("br");
        QTest::addColumn<bool>("fine");
        QTest::newRow("Shift-JIS") << 0 << false << false;
        QTest::newRow("UTF-8 with <BR>, fine") << 1 << true << true;
    }
    void exportWritesWhatCopyWouldGive() {
        QFETCH(int, filter);
        QFETCH(bool, br);
        QFETCH(bool, fine);
        const QList<Event> events = Wave();
        Play(*window_, events);
        if (br) Find<QCheckBox>(*window_, "brTagCheckBox")->click();
        if (fine) Find<QCheckBox>(*window_, "fineCheckBox")->click();
        QTemporaryDir dir;
        const QString path = dir.filePath("art.txt");
        FileRequest request;
        window_->SetFileChooser(Answer(path, filter, &request));
        window_->findChild<QAction*>("exportTextAction")->trigger();
        QVERIFY(request.save);
        QCOMPARE(request.filters.size(), 2);
        QStringList flags = br ? QStringList{"--br"} : QStringList{};
        if (filter == 0) flags << "--sjis";
        if (fine) flags << "--fine";
        const QByteArray expected = ReplayOf(events, flags);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(ReadAll(path), expected);
    }

    // The picture is what `render` draws from the text the window exports,
    // whatever the spacing: fillers, or Unicode spaces written as references.
    void textPictureShowsTheTextWithoutTags_data() {
        QTest::addColumn<bool>("unicodeSpaces");
        QTest::newRow("fillers") << false;
        QTest::newRow("Unicode spaces") << true;
    }
    void textPictureShowsTheTextWithoutTags() {
        QFETCH(bool, unicodeSpaces);
        Play(*window_, Wave());
        Find<QCheckBox>(*window_, "fineCheckBox")
            ->click();  // the picture shows what the canvas does
        Find<QCheckBox>(*window_, "brTagCheckBox")->click();  // a tag is for the board only
        if (unicodeSpaces) Find<QCheckBox>(*window_, "unicodeSpacingCheckBox")->click();
        QTemporaryDir dir;
        const QString path = dir.filePath("art.png");
        window_->SetFileChooser(Answer(path));
        window_->findChild<QAction*>("saveTextPictureAction")->trigger();
        QImage picture(path);
        QVERIFY(!picture.isNull());
        // The exported text without its tags, drawn by the command-line tool.
        std::string text = window_->ExportText();
        for (std::size_t at; (at = text.find("<BR>")) != std::string::npos;) text.erase(at, 4);
        QCOMPARE(text.find("&#") != std::string::npos, unicodeSpaces);
        const QString textPath = dir.filePath("art.txt");
        QFile textFile(textPath);
        QVERIFY(textFile.open(QIODevice::WriteOnly));
        textFile.write(text.data(), static_cast<qint64>(text.size()));
        textFile.close();
        const QImage expected = QImage::fromData(RunCli({"render", textPath, "--sjis"}), "PNG");
        QVERIFY(!expected.isNull());
        QCOMPARE(picture.size(), expected.size());
        QCOMPARE(picture.height() % kRowHeight, 0);
        int black = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb p = picture.pixel(x, y) & 0xFFFFFF;
                QVERIFY(p == (expected.pixel(x, y) & 0xFFFFFF));
                black += p == kBlack;
            }
        }
        QVERIFY(black > 200);
    }

    // --- Dropping a picture, and the file dialogs.

    void droppedPictureBecomesTheBackground() {
        QTemporaryDir dir;
        QImage picture(30, 30, QImage::Format_RGB32);
        picture.fill(qRgb(0, 0, 200));
        const QString path = dir.filePath("dropped.bmp");
        QVERIFY(picture.save(path));
        Drop(path);
        QVERIFY(window_->background().shown());
        QVERIFY(window_->findChild<QAction*>("showPictureAction")->isChecked());
        window_->canvas()->repaint();
        QVERIFY(window_->canvas()->image().Pixel(5, 5) != kWhite);

        QFile words(dir.filePath("words.png"));
        QVERIFY(words.open(QIODevice::WriteOnly));
        words.write("words");
        words.close();
        QString told;
        AnswerNextBox(QMessageBox::Ok, &told);
        Drop(words.fileName());
        QVERIFY(told.contains("words.png"));
        QCOMPARE(window_->background().library().PictureCount(), 2u);  // the old one stays
    }

    void pictureDialogListsPicturesAndEveryName() {
        FileRequest request;
        window_->SetFileChooser(Answer({}, 0, &request));
        window_->findChild<QAction*>("choosePictureAction")->trigger();
        QCOMPARE(request.purpose, FileRequest::Purpose::BackgroundPicture);
        QCOMPARE(request.filters.size(), 2);
        for (const char* pattern : {"*.png", "*.jpg", "*.gif", "*.bmp"}) {
            QVERIFY2(request.filters[0].contains(pattern), qPrintable(request.filters[0]));
        }
        const QString inside = request.filters[1].section('(', 1).section(')', 0, 0);
        const QStringList all = inside.split(' ', Qt::SkipEmptyParts);
        for (const char* name : {"picture", "photo.JPG", ".hidden", "a.b.c"}) {
            QVERIFY2(QDir::match(all, name), name);
        }
    }

    void fileDialogsOpenInTheFolderLastUsed() {
        QTemporaryDir first, second;
        const FileRequest request{
            FileRequest::Purpose::SaveDrawing, true, "t", {"Drawings (*.png)"}, "png"};
        for (const QTemporaryDir* dir : {&first, &second}) {
            const QString target = dir->filePath("drawing.png");
            QString openedIn;
            OnNextModal<QFileDialog>([&](QFileDialog* dialog) {
                openedIn = dialog->directory().absolutePath();
                dialog->selectFile(target);
                static_cast<QDialog*>(dialog)->accept();
            });
            const FileChoice choice = ChooseFileWithDialog(request, window_.get());
            QCOMPARE(choice.path, target);
            if (dir == &second) QCOMPARE(openedIn, QDir(first.path()).absolutePath());
        }
        QCOMPARE(QSettings().value(LastFolderKey(FileRequest::Purpose::OpenDrawing)).toString(),
                 QDir(second.path()).absolutePath());
    }

    // --- The post counter.

    void counterShowsWhatCopyWouldGive_data() {
        QTest::addColumn<bool>("br");
        QTest::newRow("plain") << false;
        QTest::newRow("with <BR>") << true;
    }
    void counterShowsWhatCopyWouldGive() {
        QFETCH(bool, br);
        Play(*window_, Wave());
        if (br) Find<QCheckBox>(*window_, "brTagCheckBox")->click();
        const std::string copied = window_->ExportText();
        const PostCount expected = CountPost(copied, kDefaultBoard.limits);
        PostStatus* status = window_->postStatus();
        QCOMPARE(status->count().bytes, expected.bytes);
        QCOMPARE(status->count().lines, expected.lines);
        const QString shown = Find<QLabel>(*window_, "postCount")->text();
        QVERIFY2(shown.contains(QLocale().toString(static_cast<qint64>(expected.bytes))),
                 qPrintable(shown));
        // Undo takes the second stroke's rows, and the count follows.
        QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(status->count().bytes,
                 CountPost(window_->ExportText(), kDefaultBoard.limits).bytes);
        QVERIFY(status->count().bytes < expected.bytes);
    }

    void counterWarnsWhenOverTheBoardsLimit() {
        Play(*window_, Wave());
        PostStatus* status = window_->postStatus();
        auto* label = Find<QLabel>(*window_, "postCount");
        const QColor normal = label->palette().color(QPalette::WindowText);
        QVERIFY(!status->count().over());
        status->ChooseBoard(PostStatus::kCustom, BoardLimits{100, 0, 0});
        QVERIFY(status->count().overBytes);
        QVERIFY2(status->text().contains(QStringLiteral("上限を超えています")),
                 qPrintable(status->text()));
        QVERIFY(label->palette().color(QPalette::WindowText) != normal);
        // Over every limit, at the window's one width, the warning shows
        // whole, wrapped inside the counter, and reads whole on hover too.
        status->ChooseBoard(PostStatus::kCustom, BoardLimits{100, 1, 10});
        QCOMPARE(label->text(), status->text());
        QVERIFY2(status->text().contains(QStringLiteral("1行の長さ")), qPrintable(status->text()));
        const QRect wrapped = label->fontMetrics().boundingRect(
            QRect(0, 0, label->contentsRect().width(), 1000), Qt::TextWordWrap, label->text());
        QVERIFY2(wrapped.height() <= label->contentsRect().height(),
                 qPrintable(QStringLiteral("%1 px of text in %2 px")
                                .arg(wrapped.height())
                                .arg(label->contentsRect().height())));
        QVERIFY(label->wordWrap());
        QCOMPARE(label->toolTip(), status->text());
        status->ChooseBoard(PostStatus::BoardNamed("shitaraba"), BoardLimits{100, 0, 0});
        QVERIFY(!status->count().over());
        QCOMPARE(label->palette().color(QPalette::WindowText), normal);
    }

    void customLimitsAreAskedAndCancelKeepsTheBoard() {
        auto* boards = Find<QComboBox>(*window_, "boardChooser");
        PostStatus* status = window_->postStatus();
        OnNextModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
        boards->setCurrentIndex(PostStatus::kCustom);
        emit boards->activated(PostStatus::kCustom);
        QCOMPARE(status->board(), PostStatus::BoardNamed("2ch"));
        QCOMPARE(boards->currentIndex(), PostStatus::BoardNamed("2ch"));
        OnNextModal<QDialog>([](QDialog* dialog) {
            dialog->findChild<QSpinBox*>("maxBytes")->setValue(500);
            dialog->findChild<QSpinBox*>("maxLines")->setValue(0);
            dialog->findChild<QSpinBox*>("maxLineBytes")->setValue(64);
            dialog->accept();
        });
        emit boards->activated(PostStatus::kCustom);
        QCOMPARE(status->board(), PostStatus::kCustom);
        QCOMPARE(status->limits(), (BoardLimits{500, 0, 64}));
    }

    // The list names the custom board by its limits once chosen; 0 is no limit.
    void customBoardShowsItsLimitsInTheList_data() {
        QTest::addColumn<BoardLimits>("limits");
        QTest::addColumn<QString>("shown");
        QTest::newRow("bytes and lines")
            << BoardLimits{3000, 25, 0} << "カスタム (3000バイト・25行)";
        QTest::newRow("all three")
            << BoardLimits{2048, 24, 256} << "カスタム (2048バイト・24行・1行256バイト)";
        QTest::newRow("a line only") << BoardLimits{0, 0, 80} << "カスタム (1行80バイト)";
        QTest::newRow("none") << BoardLimits{0, 0, 0} << "カスタム (上限なし)";
    }
    void customBoardShowsItsLimitsInTheList() {
        QFETCH(BoardLimits, limits);
        QFETCH(QString, shown);
        auto* boards = Find<QComboBox>(*window_, "boardChooser");
        PostStatus* status = window_->postStatus();
        QCOMPARE(boards->itemText(PostStatus::kCustom), QStringLiteral("カスタム..."));
        status->ChooseBoard(PostStatus::kCustom, limits);
        QCOMPARE(boards->currentText(), shown);
        // Shown whole in the closed list, not cut at the width it first had.
        QApplication::processEvents();
        window_->layout()->activate();
        QVERIFY2(boards->width() >= boards->fontMetrics().horizontalAdvance(shown),
                 qPrintable(QStringLiteral("%1 px for %2").arg(boards->width()).arg(shown)));
        // Reopened, the window shows the same.
        window_.Close();
        MainWindow next(Resources());
        QCOMPARE(Find<QComboBox>(next, "boardChooser")->currentText(), shown);
        // Another board chosen, the entry asks again.
        next.postStatus()->ChooseBoard(PostStatus::BoardNamed("2ch"), limits);
        QCOMPARE(Find<QComboBox>(next, "boardChooser")->itemText(PostStatus::kCustom),
                 QStringLiteral("カスタム..."));
    }

    void customLimitsDialogSaysZeroIsNoLimit() {
        auto* boards = Find<QComboBox>(*window_, "boardChooser");
        QString note;
        int largest = 0;
        OnNextModal<QDialog>([&](QDialog* dialog) {
            note = dialog->findChild<QLabel*>("noLimitNote")->text();
            largest = dialog->findChild<QSpinBox*>("maxLines")->maximum();
            dialog->findChild<QSpinBox*>("maxBytes")->setValue(3000);
            dialog->findChild<QSpinBox*>("maxLines")->setValue(25);
            dialog->findChild<QSpinBox*>("maxLineBytes")->setValue(0);
            dialog->accept();
        });
        emit boards->activated(PostStatus::kCustom);
        QVERIFY2(note.contains(QLatin1Char('0')) && note.contains(QStringLiteral("上限なし")),
                 qPrintable(note));
        QCOMPARE(largest, int{kMaxBoardLimit});
        // What the dialog took, --board takes, and both mean the same limits.
        QCOMPARE(window_->postStatus()->limits(), ParseBoardLimits("3000:25:0").value());
    }

    // Limits edited by hand in the settings follow --board's rule.
    void savedCustomLimitsFollowTheOneRule_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<BoardLimits>("limits");
        QTest::newRow("as written") << "3000:25:0" << BoardLimits{3000, 25, 0};
        QTest::newRow("bytes only") << "500" << BoardLimits{500, 0, 0};
        QTest::newRow("negative") << "-5:0:0" << kDefaultBoard.limits;
        QTest::newRow("too large") << "1000001:0:0" << kDefaultBoard.limits;
        QTest::newRow("not a number") << "many" << kDefaultBoard.limits;
    }
    void savedCustomLimitsFollowTheOneRule() {
        QFETCH(QString, saved);
        QFETCH(BoardLimits, limits);
        window_.Close();
        QSettings().setValue("post/board", "custom");
        QSettings().setValue("post/customLimits", saved);
        MainWindow next(Resources());
        QCOMPARE(next.postStatus()->board(), PostStatus::kCustom);
        QCOMPARE(next.postStatus()->limits(), limits);
        // Limits outside the rule are not taken.
        next.postStatus()->ChooseBoard(PostStatus::kCustom, BoardLimits{-1, 0, 0});
        QCOMPARE(next.postStatus()->limits(), limits);
    }

    // A new user starts with the fine decoder, and one who turned it off
    // finds it off again.
    void startsWithTheFineDecoder() {
        window_.Close();
        QSettings().clear();
        {
            MainWindow fresh(Resources());
            QCheckBox* fine = Find<QCheckBox>(fresh, "fineCheckBox");
            QVERIFY(fine->isChecked() && fresh.state().fineDecoder());
            fine->click();
        }
        MainWindow next(Resources());
        QVERIFY(!Find<QCheckBox>(next, "fineCheckBox")->isChecked() && !next.state().fineDecoder());
    }

    void boardAndCheckBoxesPersist() {
        window_->postStatus()->ChooseBoard(PostStatus::kCustom, BoardLimits{700, 9, 99});
        Find<QCheckBox>(*window_, "brTagCheckBox")->click();
        Find<QCheckBox>(*window_, "rowLinesCheckBox")->click();
        Find<QCheckBox>(*window_, "fineCheckBox")->click();
        Find<QCheckBox>(*window_, "noFillersCheckBox")->click();
        window_.Close();
        MainWindow next(Resources());
        QVERIFY(Find<QCheckBox>(next, "fineCheckBox")->isChecked());
        QVERIFY(Find<QCheckBox>(next, "noFillersCheckBox")->isChecked());
        QVERIFY(next.state().fineDecoder() && next.state().fineDecoder()->options().noFillers);
        QCOMPARE(next.postStatus()->board(), PostStatus::kCustom);
        QCOMPARE(next.postStatus()->limits(), (BoardLimits{700, 9, 99}));
        QVERIFY(Find<QCheckBox>(next, "brTagCheckBox")->isChecked());
        QVERIFY(Find<QCheckBox>(next, "rowLinesCheckBox")->isChecked());
        QVERIFY(next.canvas()->showRowLines());
        // And the settings live in the test's own folder, not the user's.
        QVERIFY(QSettings().fileName().startsWith(QDir::tempPath()));
    }

  private:
    void Drop(const QString& path) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        const QPointF at(20, 20);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(window_->canvas(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(window_->canvas(), &drop);
    }

    FreshWindow window_;
};

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
