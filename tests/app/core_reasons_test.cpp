// The core's reasons as the window shows them: every kind the core declares,
// and every reason its text-art and page commands can meet, produced by the
// core itself, is in Japanese, and the English translation gives the core's
// own wording back.
#include <sys/stat.h>
#include <unistd.h>

#include <QTranslator>

#include "app/core_reasons.h"
#include "app/startup.h"
#include "engine/error_kinds.h"
#include "files/file_bytes.h"
#include "io/page_files.h"
#include "io/page_format.h"
#include "render/text_art_ink.h"
#include "tests/app/window_test_support.h"

using namespace fudeline;
using namespace fudeline::testing;

class CoreReasonsTest : public QObject {
    Q_OBJECT

    // Each reason from the core call that gives it.
    template <typename R>
    static Error ReasonOf(const R& result) {
        return result ? Error{} : result.error();  // no kind: fails every check
    }

    // One error of every kind the core declares, its arguments numbers but
    // for an errno at the end.
    static QList<std::pair<QString, Error>> EveryKind() {
        QList<std::pair<QString, Error>> errors;
        for (const ErrorKind* kind : EveryCoreErrorKind()) {
            Error error{"", *kind};
            const std::string wording = kind->english;
            for (int n = 1; wording.find('%' + std::to_string(n)) != std::string::npos; ++n) {
                error.args.push_back(std::to_string(11 * n));
            }
            if (kind->endsInErrorNumber) error.args.back() = std::to_string(EACCES);
            errors.append({QString::fromUtf8(kind->name), error});
        }
        return errors;
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

    static QList<std::pair<QString, Error>> CoreReasons() {
        const MonaFont& font = Resources().face();
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
             ReasonOf(
                 AppendPageToFile(PlaceTestFile(dir, "empty.txt", {}).toStdString(), "a", ""))},
            {"page file too large",
             ReasonOf(StagedPage::Stage(
                 PlaceTestFile(dir, "full.mlt", QByteArray(1 << 20, 'a')).toStdString(), "a", "",
                 1 << 20))},
            {"a system reason after a temporary file",
             Error{"", kinds::TemporaryFile, "/tmp/%2.XXXXXX", EACCES}},
        };
    }

    static void RemoveTranslators() {
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    static bool HasKana(const QString& text) {
        return text.contains(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{30FF}]")));
    }

  private slots:
    void japaneseWithTheNumbersAndNamesKept() {
        for (const auto& [name, error] : EveryKind() + CoreReasons()) {
            const QString shown = ReasonText(error);
            const QString english = QString::fromStdString(error.Reason());
            QVERIFY2(shown != english, qPrintable(name));
            QVERIFY2(HasKana(shown), qPrintable(name + ": " + shown));
            // Every argument is still in it, the errno as the system's reason.
            for (std::size_t i = 0; i < error.args.size(); ++i) {
                if (error.kind->endsInErrorNumber && i + 1 == error.args.size()) continue;
                QVERIFY2(shown.contains(QString::fromStdString(error.args[i])),
                         qPrintable(name + ": " + shown));
            }
        }
        QCOMPARE(ReasonText(Error{"", kinds::TemporaryFile, "/tmp/%2.XXXXXX", EACCES}),
                 QStringLiteral("隣に一時ファイル /tmp/%2.XXXXXX を作れません: "
                                "読み書きが許されていません"));
        // An errno of no wording of the window's own is shown as the system words it.
        QCOMPARE(ReasonText(SystemError("", EXDEV)), QStringLiteral("Invalid cross-device link"));
    }

    void englishGivesTheCoreWordingBack() {
        QVERIFY(InstallTranslations(*QCoreApplication::instance(), UiLanguage::English));
        for (const auto& [name, error] : EveryKind() + CoreReasons()) {
            QCOMPARE(ReasonText(error), QString::fromStdString(error.Reason()));
        }
        RemoveTranslators();
    }
};

QTEST_MAIN(CoreReasonsTest)
#include "core_reasons_test.moc"
#include "files/files_errors.h"
#include "io/io_errors.h"
