// The core's reasons as the window shows them: every reason its text-art and
// page commands can meet, produced by the core itself, is in Japanese, and
// the English translation gives the core's own wording back.
#include <sys/stat.h>
#include <unistd.h>

#include <QTranslator>

#include "app/core_reasons.h"
#include "app/startup.h"
#include "render/text_art_ink.h"
#include "io/file_bytes.h"
#include "io/page_files.h"
#include "io/page_format.h"
#include "tests/app/window_test_support.h"

using namespace fudeline;
using namespace fudeline::testing;

class CoreReasonsTest : public QObject {
    Q_OBJECT

    // Each reason from the core call that gives it.
    template <typename R>
    static std::string ReasonOf(const R& result) {
        return result ? std::string("(did not fail)") : result.error().reason;
    }

    static std::string Fifo(const QTemporaryDir& dir) {
        const std::string path = dir.filePath("pipe").toStdString();
        ::mkfifo(path.c_str(), 0600);
        return path;
    }
    static std::string HardLinked(const QTemporaryDir& dir) {
        const std::string path = PlaceTestFile(dir, "linked.txt", "a").toStdString();
        ::link(path.c_str(), (path + ".other").c_str());
        return path;
    }

    static QList<std::pair<QString, std::string>> CoreReasons() {
        const MonaFont& font = *Resources().font;
        auto drawn = [&](std::string text, TextEncoding encoding) {
            return ReasonOf(DrawTextArtInk(text, encoding, font));
        };
        auto parsed = [](std::string bytes, const char* name) {
            return ReasonOf(ParsePageFile(bytes, name));
        };
        auto added = [](PageFormat format, const char* text, const char* name) {
            PageFile file{format, {}};
            return ReasonOf(AddPage(file, text, name));
        };
        static QTemporaryDir dir;
        const std::string big = PlaceTestFile(dir, "big.txt", QByteArray(2000, 'a')).toStdString();
        return {
            {"too many lines", drawn(std::string(30, '\n') + "a", TextEncoding::Utf8)},
            {"too wide", drawn(std::string(200, 'W'), TextEncoding::Utf8)},
            {"not in the face", drawn("a\xF0\x9F\x98\x80", TextEncoding::Utf8)},
            {"not UTF-8", drawn("a\xFF", TextEncoding::Utf8)},
            {"not Shift-JIS", drawn("\x85\x40", TextEncoding::ShiftJis)},
            {"page file not Shift-JIS", parsed("a\r\n[SPLIT]\r\nb\xFF", "p.mlt")},
            {"not AST", parsed("a", "p.ast")},
            {"neither format", parsed("a", "p.txt")},
            {"MLT names", added(PageFormat::Mlt, "a", "n")},
            {"empty page", added(PageFormat::Mlt, "", "")},
            {"line break in a name", added(PageFormat::Ast, "a", "x\ny")},
            {"split line", added(PageFormat::Mlt, "a\r\n[SPLIT]\r\nb", "")},
            {"AST head", added(PageFormat::Ast, "a\r\n[AA][x]\r\nb", "")},
            {"too large", ReasonOf(ReadFileBytes(big, 1000))},
            {"missing", ReasonOf(ReadFileBytes(dir.filePath("none").toStdString()))},
            {"named pipe", ReasonOf(ReadFileBytes(Fifo(dir)))},
            {"hard link", ReasonOf(WriteFileBytes(HardLinked(dir), "a"))},
            {"page file of no format",
             ReasonOf(AppendPageToFile(PlaceTestFile(dir, "empty.txt", {}).toStdString(), "a", ""))},
            {"page file too large",
             ReasonOf(StagedPage::Stage(PlaceTestFile(dir, "full.mlt", QByteArray(1 << 20, 'a'))
                                            .toStdString(),
                                        "a", "", 1 << 20))},
            {"a system reason after a temporary file",
             "cannot create the temporary file /tmp/%2.XXXXXX beside it: Permission denied"},
        };
    }

    static void RemoveTranslators() {
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

  private slots:
    void japaneseWithTheNumbersAndNamesKept() {
        for (const auto& [name, reason] : CoreReasons()) {
            const QString shown = ReasonText(reason);
            QVERIFY2(shown != QString::fromStdString(reason), qPrintable(name));
            // Japanese text, with every number of the reason still in it.
            QVERIFY2(shown.contains(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{30FF}]"))),
                     qPrintable(name + ": " + shown));
            const QRegularExpression number(QStringLiteral("\\d+"));
            for (const auto& match : number.globalMatch(QString::fromStdString(reason))) {
                QVERIFY2(shown.contains(match.captured()), qPrintable(name + ": " + shown));
            }
        }
        QCOMPARE(ReasonText("cannot create the temporary file /tmp/%2.XXXXXX beside it: "
                            "Permission denied"),
                 QStringLiteral("隣に一時ファイル /tmp/%2.XXXXXX を作れません: "
                                "読み書きが許されていません"));
        // A reason of no known shape is shown as it stands.
        QCOMPARE(ReasonText("something new"), QStringLiteral("something new"));
    }

    void englishGivesTheCoreWordingBack() {
        QVERIFY(InstallTranslations(*QCoreApplication::instance(), UiLanguage::English));
        for (const auto& [name, reason] : CoreReasons()) {
            QCOMPARE(ReasonText(reason), QString::fromStdString(reason));
        }
        RemoveTranslators();
    }
};

QTEST_MAIN(CoreReasonsTest)
#include "core_reasons_test.moc"
