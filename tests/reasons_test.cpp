#include "errors/reasons.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_errors.h"
#include "engine/error_kinds.h"
#include "fonts/fonts_errors.h"

namespace fudeline {
namespace {

// Every kind any library declares: the core's, and those of the font
// reader and of the command line.
std::vector<const ErrorKind*> EveryErrorKind() {
    std::vector<const ErrorKind*> every = EveryCoreErrorKind();
    every.insert(every.end(), std::begin(kinds::kFontsErrorKinds),
                 std::end(kinds::kFontsErrorKinds));
    every.insert(every.end(), std::begin(kinds::kCliErrorKinds), std::end(kinds::kCliErrorKinds));
    return every;
}

// An error of `kind` with each argument its wordings name: distinct
// numbers, the last an errno where the kind ends in one.
Error Example(const ErrorKind& kind) {
    Error error{"", kind};
    const std::string english = kind.english;
    for (int n = 1; english.find('%' + std::to_string(n)) != std::string::npos; ++n) {
        error.args.push_back(std::to_string(101 * n));
    }
    if (kind.endsInErrorNumber) error.args.back() = std::to_string(EACCES);
    return error;
}

bool HasJapanese(const std::string& text) {
    // Kana, kanji and full-width punctuation are three bytes in UTF-8, led by 0xE3 to 0xE9.
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xE3 && byte <= 0xE9) return true;
    }
    return false;
}

// Each kind once by name (the page finds kinds by it), worded in English
// and in Japanese with every argument in place: no wording of either
// language falls back on the other.
TEST(Reasons, EveryKindIsWordedInBothLanguages) {
    std::set<std::string> names;
    for (const ErrorKind* kind : EveryErrorKind()) {
        SCOPED_TRACE(kind->name);
        EXPECT_TRUE(names.insert(kind->name).second) << "two kinds share the name";
        const Error error = Example(*kind);
        const std::string english = error.Reason();
        const std::string japanese = JapaneseReason(error);
        for (std::size_t n = 0; n < error.args.size(); ++n) {
            const bool errorNumber = kind->endsInErrorNumber && n + 1 == error.args.size();
            if (errorNumber) continue;
            EXPECT_NE(english.find(error.args[n]), std::string::npos) << english;
            EXPECT_NE(japanese.find(error.args[n]), std::string::npos) << japanese;
        }
        EXPECT_EQ(english.find('%'), std::string::npos) << english;
        EXPECT_EQ(japanese.find('%'), std::string::npos) << japanese;
        // Only a wording that is its arguments alone (the system's reason,
        // what the C++ library says) has no words of its own to translate.
        if (std::string(kind->english) != "%1") {
            EXPECT_TRUE(HasJapanese(japanese)) << japanese;
            EXPECT_NE(english, japanese);
        }
        if (kind->endsInErrorNumber) {
            EXPECT_NE(english.find("Permission denied"), std::string::npos) << english;
            EXPECT_NE(japanese.find("読み書きが許されていません"), std::string::npos) << japanese;
        }
    }
    EXPECT_GT(names.size(), 100u);
}

TEST(Reasons, TheCoreKindsAreFoundByName) {
    for (const ErrorKind* kind : EveryCoreErrorKind()) {
        EXPECT_EQ(FindCoreErrorKind(kind->name), kind) << kind->name;
    }
    EXPECT_EQ(FindCoreErrorKind("NoSuchKind"), nullptr);
    EXPECT_EQ(FindCoreErrorKind(""), nullptr);
}

// The wording both faces show: arguments filled in, an errno as the
// system's reason (in the system's English where there is no Japanese).
TEST(Reasons, JapaneseFillsTheArgumentsAndTheSystemsReason) {
    const struct {
        Error error;
        std::string text;
    } cases[] = {
        {{"", kinds::LargerThanMegabytes, 64}, "64 MB より大きいファイルです"},
        {{"", kinds::NoSuchPage, 3, 2}, "3 ページ目はありません。ファイルには 2 ページあります"},
        {{"", kinds::PictureTooLarge, 30000, 20000},
         "画像が大きすぎます（30000 x 20000 ピクセル）"},
        // An argument holding "%2" stays as it is.
        {{"", kinds::NotInFont, "%2", 5, "U+1F600"},
         "%2 行目の 5 文字目: U+1F600 は Mona フォントにありません"},
        {SystemError("", ENOENT), "ファイルがありません"},
        {SystemError("", EXDEV), "Invalid cross-device link"},
        {{"", kinds::TemporaryFile, "/d/a.mlt.XXXXXX", EACCES},
         "隣に一時ファイル /d/a.mlt.XXXXXX を作れません: 読み書きが許されていません"},
        {{"", kinds::TemporaryFile, "/d/a.mlt.XXXXXX", EXDEV},
         "隣に一時ファイル /d/a.mlt.XXXXXX を作れません: Invalid cross-device link"},
        {{"", kinds::ReplayTakesNothing, 3, "up"}, "3 行目: up には引数を付けられません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error.Reason());
        EXPECT_EQ(JapaneseReason(c.error), c.text);
    }
}

TEST(Reasons, FillLeavesAMissingArgumentInPlace) {
    EXPECT_EQ(FillReason("%1 / %2 / %3%", {"a", "%1"}), "a / %1 / %3%");
}

}  // namespace
}  // namespace fudeline
