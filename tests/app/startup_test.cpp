// Before the window: the command line, the display check, the languages;
// and the program itself started without a display, for help, without data.
#include <QAbstractButton>
#include <QCheckBox>
#include <QMenuBar>
#include <QRegularExpression>
#include <QComboBox>
#include <QFileIconProvider>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTranslator>

#include "app/flow_layout.h"
#include "app/post_status.h"
#include "app/startup.h"
#include "fudeline/version.h"
#include "tests/app/window_test_support.h"

using namespace fudeline;
using namespace fudeline::testing;

namespace {

struct Run {
    int status = -1;
    QByteArray out, err;
};

// Starts a copy of `program` (or the built one) with the environment given.
Run Start(const QStringList& args, const QMap<QString, QString>& env, const QString& program = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    for (auto it = env.begin(); it != env.end(); ++it) environment.insert(it.key(), it.value());
    process.setProcessEnvironment(environment);
    process.start(
        program.isEmpty() ? QCoreApplication::applicationDirPath() + "/fudeline" : program, args);
    Run run;
    if (!process.waitForFinished(20000)) return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void readsWhatTheStartAsksFor_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("env");
        QTest::addColumn<int>("request");
        const int open = int(StartRequest::OpenWindow), help = int(StartRequest::Help),
                  version = int(StartRequest::Version), none = int(StartRequest::NoDisplay);
        QTest::newRow("X display") << QStringList{} << QStringList{"DISPLAY"} << open;
        QTest::newRow("Wayland") << QStringList{} << QStringList{"WAYLAND_DISPLAY"} << open;
        QTest::newRow("Qt platform set") << QStringList{} << QStringList{"QT_QPA_PLATFORM"} << open;
        QTest::newRow("-platform")
            << QStringList{"-platform", "offscreen"} << QStringList{} << open;
        QTest::newRow("-platform without a name")
            << QStringList{"-platform"} << QStringList{} << none;
        QTest::newRow("nothing") << QStringList{} << QStringList{} << none;
        QTest::newRow("other arguments") << QStringList{"x.png"} << QStringList{} << none;
        QTest::newRow("--help without display") << QStringList{"--help"} << QStringList{} << help;
        QTest::newRow("-h on a display") << QStringList{"-h"} << QStringList{"DISPLAY"} << help;
        QTest::newRow("--version") << QStringList{"--version"} << QStringList{"DISPLAY"} << version;
    }
    void readsWhatTheStartAsksFor() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, env);
        QFETCH(int, request);
        std::vector<QByteArray> storage{"fudeline"};
        for (const QString& arg : args) storage.push_back(arg.toUtf8());
        std::vector<const char*> argv;
        for (const QByteArray& arg : storage) argv.push_back(arg.constData());
        const auto getEnv = [&](const char* name) -> const char* {
            return env.contains(QLatin1String(name)) ? ":0" : nullptr;
        };
        QCOMPARE(int(ReadStartRequest(static_cast<int>(argv.size()), argv.data(), getEnv)),
                 request);
    }

    void choosesTheLanguageFromTheSystem_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("english");
        QTest::newRow("English (US)") << "en_US" << true;
        QTest::newRow("English (GB)") << "en_GB" << true;
        QTest::newRow("Japanese") << "ja_JP" << false;
        QTest::newRow("C") << "C" << false;
        QTest::newRow("POSIX") << "POSIX" << false;
        QTest::newRow("German falls back to Japanese") << "de_DE" << false;
    }
    void choosesTheLanguageFromTheSystem() {
        QFETCH(QString, locale);
        QFETCH(bool, english);
        QCOMPARE(ChooseUiLanguage(QLocale(locale)) == UiLanguage::English, english);
    }

    void translationsLoadForBothLanguages() {
        // Japanese: Qt's own buttons and dialogs in Japanese, the window's texts as written.
        QVERIFY(InstallTranslations(*QCoreApplication::instance(), UiLanguage::Japanese));
        {
            QMessageBox box(QMessageBox::Question, "t", "t", QMessageBox::Yes | QMessageBox::No);
            QVERIFY2(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")),
                     qPrintable(box.button(QMessageBox::Yes)->text()));
            QVERIFY(box.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ")));
            // Texts Qt's own catalogue lacks, such as the file dialog's type of a folder.
            QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())),
                     QStringLiteral("フォルダ"));
            MainWindow window(Resources());
            QCOMPARE(Find<QPushButton>(window, "undoButton")->text(), QStringLiteral("元に戻す"));
        }
        RemoveTranslators();

        // English: every text of the window in English.
        QVERIFY(InstallTranslations(*QCoreApplication::instance(), UiLanguage::English));
        MainWindow window(Resources());
        const QList<std::pair<const char*, const char*>> texts = {
            {"undoButton", "Undo"},
            {"redoButton", "Redo"},
            {"clearButton", "Clear all"},
            {"copyButton", "Copy to clipboard"},
            {"brTagCheckBox", "Copy with <BR>"},
            {"rowLinesCheckBox", "Show row lines"},
            {"backgroundButton", "Background..."},
            {"fileButton", "File..."},
            {"fineCheckBox", "Fine conversion"},
            {"noFillersCheckBox", "No fillers"}};
        for (const auto& [name, text] : texts) {
            QCOMPARE(Find<QAbstractButton>(window, name)->text(), QString(text));
        }
        QCOMPARE(window.findChild<QAction*>("choosePictureAction")->text(),
                 QStringLiteral("Choose &picture..."));
        QCOMPARE(window.findChild<QAction*>("traceLinesAction")->text(),
                 QStringLiteral("Take in the &lines"));
        QCOMPARE(window.findChild<QAction*>("alignLeftAction")->text(),
                 QStringLiteral("Move to the &left edge"));
        // Every command of the menus speaks English.
        for (QAction* menu : window.menuBar()->actions()) {
            for (QAction* action : menu->menu()->actions()) {
                QVERIFY2(action->isSeparator() || !action->text().contains(QRegularExpression("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]")),
                         qPrintable(action->text()));
            }
        }
        QVERIFY(window.postStatus()->text().contains("bytes"));
        // The boards of the table are named in English too, each in its row's place.
        auto* boards = Find<QComboBox>(window, "boardChooser");
        QCOMPARE(boards->itemText(PostStatus::BoardNamed("2ch")),
                 QStringLiteral("2ch-compatible (2048 bytes, 24 lines)"));
        QCOMPARE(boards->itemText(PostStatus::BoardNamed("shitaraba")),
                 QStringLiteral("Shitaraba (4096 bytes)"));
        for (const BoardProfile& board : kBoardProfiles) {
            const QString japanese = QString::fromUtf8(
                board.windowName.data(), static_cast<qsizetype>(board.windowName.size()));
            const QString shown = boards->itemText(PostStatus::BoardNamed(board.name));
            QVERIFY2(!shown.isEmpty() && shown != japanese, qPrintable(japanese));
        }
        window.postStatus()->ChooseBoard(PostStatus::kCustom, BoardLimits{3000, 1, 0});
        QCOMPARE(Find<QComboBox>(window, "boardChooser")->currentText(),
                 QStringLiteral("Custom (3000 bytes, 1 line)"));
        QCOMPARE(window.findChild<QAction*>("pictureSizeFitAction")->text(),
                 QStringLiteral("Fit the canvas"));
        RemoveTranslators();
    }

    // In either language every control of the row above the canvas shows its
    // whole label, clear of its neighbours, inside the window.
    void controlRowShowsEveryLabelWhole_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("Japanese") << false;
        QTest::newRow("English") << true;
    }
    void controlRowShowsEveryLabelWhole() {
        QFETCH(bool, english);
        QVERIFY(InstallTranslations(*QCoreApplication::instance(),
                                    english ? UiLanguage::English : UiLanguage::Japanese));
        MainWindow window(Resources());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QWidget* indicator = Find<QWidget>(window, "penIndicator");
        int previousEnd = indicator->geometry().right() + 1;
        int rowTop = indicator->geometry().top();
        for (const char* name : {"undoButton", "redoButton", "clearButton", "copyButton", "brTagCheckBox",
                                 "rowLinesCheckBox", "backgroundButton", "fileButton"}) {
            auto* control = Find<QAbstractButton>(window, name);
            const QRect at = control->geometry();
            const bool checkBox = qobject_cast<QCheckBox*>(control);
            // Qt's own measure of a check box; a button's text with the style's margins.
            const int needed = checkBox
                                   ? control->sizeHint().width()
                                   : control->fontMetrics().horizontalAdvance(control->text()) +
                                         2 * control->style()->pixelMetric(QStyle::PM_ButtonMargin);
            QVERIFY2(
                at.width() >= needed,
                qPrintable(
                    QStringLiteral("%1: %2 px for %3 px").arg(name).arg(at.width()).arg(needed)));
            // A control either follows the one before on its row, or starts the next row.
            const bool wrapped = at.top() > rowTop + indicator->height();
            QVERIFY2(wrapped || at.left() >= previousEnd + kControlGap,
                     qPrintable(QStringLiteral("%1 at %2, the one before ends at %3")
                                    .arg(name)
                                    .arg(at.left())
                                    .arg(previousEnd)));
            if (wrapped) rowTop = at.top();
            previousEnd = at.left() + (checkBox ? needed : at.width());
            QVERIFY(at.right() < window.centralWidget()->width());
        }
        QVERIFY(previousEnd <= window.centralWidget()->width());
        RemoveTranslators();
    }

    void withoutADisplayTheProgramSaysSoAndEndsWithOne() {
        const Run run = Start({}, {{"LANG", "C"}});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("DISPLAY"), run.err.constData());
        QVERIFY(run.out.isEmpty());
        const Run english = Start({}, {{"LANG", "en_US.UTF-8"}, {"LC_ALL", "en_US.UTF-8"}});
        QCOMPARE(english.status, 1);
        QVERIFY(english.err.contains("DISPLAY"));
    }

    void helpAndVersionAnswerOnStdout_data() {
        QTest::addColumn<QString>("arg");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("--help") << "--help" << QByteArray("--version");
        QTest::newRow("--version") << "--version" << QByteArray("fudeline " FUDELINE_VERSION);
    }
    void helpAndVersionAnswerOnStdout() {
        QFETCH(QString, arg);
        QFETCH(QByteArray, expected);
        for (const auto& env :
             {QMap<QString, QString>{}, QMap<QString, QString>{{"QT_QPA_PLATFORM", "offscreen"}}}) {
            const Run run = Start({arg}, env);
            QCOMPARE(run.status, 0);
            QVERIFY2(run.out.contains(expected), run.out.constData());
        }
    }

    void theProgramSpeaksTheSystemsLanguage_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QByteArray>("help");
        QTest::newRow("C") << "C" << QByteArray("使い方");
        QTest::newRow("Japanese") << "ja_JP.UTF-8" << QByteArray("使い方");
        QTest::newRow("English") << "en_US.UTF-8" << QByteArray("usage:");
        QTest::newRow("German: Japanese") << "de_DE.UTF-8" << QByteArray("使い方");
    }
    void theProgramSpeaksTheSystemsLanguage() {
        QFETCH(QString, lang);
        QFETCH(QByteArray, help);
        const Run run = Start({"--help"}, {{"LANG", lang}, {"LC_ALL", lang}});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(help), run.out.constData());
    }

    void missingCatalogueEndsWithOneAndNamesTheFile() {
        QTemporaryDir dir;
        const QString copy = dir.filePath("fudeline");
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/fudeline", copy));
        const Run run =
            Start({}, {{"QT_QPA_PLATFORM", "offscreen"}, {"LANG", "C"}, {"LC_ALL", "C"}}, copy);
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.contains("0021t00df.dat"));
        // In the interface language, like every other message.
        QVERIFY2(QString::fromLocal8Bit(run.err).contains(QStringLiteral("起動できません")),
                 run.err.constData());
    }

  private:
    static void RemoveTranslators() {
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    TemporarySettings settings_;
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
