#include "pixels/japanese_reasons.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <string>

namespace fudeline {
namespace {

// The wording both faces show: arguments filled in, an errno as the system's
// reason (in the core's English where it has no Japanese), and no value
// where there is no Japanese wording, so that a face keeps the English.
TEST(JapaneseReasons, WordTheReasonWithItsArguments) {
    const struct {
        Error error;
        std::optional<std::string> text;
    } cases[] = {
        {{"", ErrorKind::LargerThanMegabytes, 64}, "64 MB より大きいファイルです"},
        {{"", ErrorKind::NoSuchPage, 3, 2}, "3 ページ目はありません。ファイルには 2 ページあります"},
        {{"", ErrorKind::PictureTooLarge, 30000, 20000}, "画像が大きすぎます（30000 x 20000 ピクセル）"},
        // An argument holding "%2" stays as it is.
        {{"", ErrorKind::NotInFont, "%2", 5, "U+1F600"},
         "%2 行目の 5 文字目: U+1F600 は Mona フォントにありません"},
        {SystemError("", ENOENT), "ファイルがありません"},
        {SystemError("", EPIPE), std::nullopt},
        {{"", ErrorKind::TemporaryFile, "/d/a.mlt.XXXXXX", EACCES},
         "隣に一時ファイル /d/a.mlt.XXXXXX を作れません: 読み書きが許されていません"},
        {{"", ErrorKind::TemporaryFile, "/d/a.mlt.XXXXXX", EPIPE},
         "隣に一時ファイル /d/a.mlt.XXXXXX を作れません: Broken pipe"},
        {{"", "line 3: up takes no arguments"}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error.Reason());
        EXPECT_EQ(JapaneseReasonText(c.error), c.text);
    }
}

// A new kind needs its Japanese beside its English, or the window and the
// page would show it in English alone.
TEST(JapaneseReasons, EveryKindButPlainAndSystemIsWorded) {
    for (int k = 0; k < kErrorKindCount; ++k) {
        const auto kind = static_cast<ErrorKind>(k);
        SCOPED_TRACE(EnglishReason(kind, {}));
        EXPECT_EQ(JapaneseReason(kind) != nullptr,
                  kind != ErrorKind::Plain && kind != ErrorKind::System);
    }
}

TEST(JapaneseReasons, FillLeavesAMissingArgumentInPlace) {
    EXPECT_EQ(FillReason("%1 / %2 / %3%", {"a", "%1"}), "a / %1 / %3%");
}

}  // namespace
}  // namespace fudeline
