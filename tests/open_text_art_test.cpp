#include "engine/open_text_art.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/engine_errors.h"
#include "render/render_errors.h"

namespace fudeline {
namespace {

const MonaFont& Face() {
    static Engine engine = [] {
        Engine e({"", FUDELINE_FONT});
        if (Status opened = e.OpenFace(); !opened) {
            std::fprintf(stderr, "%s\n", opened.error().Message().c_str());
            std::abort();
        }
        return e;
    }();
    return engine.face();
}

// "あ" and "い" in Shift-JIS and in UTF-8.
constexpr const char* kSjisA = "\x82\xA0";
constexpr const char* kSjisI = "\x82\xA2";
constexpr const char* kUtf8A = "\xE3\x81\x82";

struct Case {
    const char* what;
    std::string bytes;
    std::string name;
    std::optional<std::size_t> choice;  // what the chooser answers
    // Opened: the text and encoding it must be read as; else the error kind.
    std::optional<std::string> text;
    TextEncoding encoding = TextEncoding::ShiftJis;
    const ErrorKind* refused = nullptr;
    std::vector<std::string> args = {};
    bool asks = false;  // whether the chooser must be asked
};

TEST(OpenTextArtTest, ReadsEveryKindOfFileAsTheFacesOpenIt) {
    const std::string mlt = std::string(kSjisA) + "\r\n[SPLIT]\r\n" + kSjisI;
    const std::vector<Case> cases = {
        {"UTF-8 text", std::string(kUtf8A) + "\r\n", "a.txt", 0, std::string(kUtf8A) + "\r\n",
         TextEncoding::Utf8},
        {"Shift-JIS text", kSjisA, "a.txt", 0, std::string(kSjisA)},
        {"a page file's name wins over its text", kSjisA, "a.MLT", 0, std::string(kSjisA)},
        {"the second of two pages", mlt, "p.mlt", 1, std::string(kSjisI), TextEncoding::ShiftJis, {}, {}, true},
        {"no page chosen", mlt, "p.mlt", std::nullopt, std::nullopt, {}, nullptr, {}, true},
        {"a page past the last", mlt, "p.mlt", 5, std::nullopt, {}, &kinds::NoSuchPage,
         {"6", "2"}, true},
        {"an AST head makes any name a page file",
         std::string("[AA][x]\r\n") + kSjisA + "\r\n[AA][y]\r\n" + kSjisI, "pasted.txt", 0,
         std::string(kSjisA), TextEncoding::ShiftJis, {}, {}, true},
        {"one page is opened unasked", std::string("[AA][]\r\n") + kSjisI, "one.ast", 7,
         std::string(kSjisI)},
        {"an empty page file", "", "empty.mlt", 0, std::nullopt, {}, &kinds::NoPages},
        {"an empty text file", "", "empty.txt", 0, std::nullopt, {}, &kinds::NoText},
        {"line breaks and a byte order mark", "\r\n\xEF\xBB\xBF\n\n", "blank.txt", 0, std::nullopt,
         {}, &kinds::NoText},
        {"a blank page", "\r\n", "blank.mlt", 0, std::nullopt, {}, &kinds::NoText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool asked = false;
        const auto opened = OpenTextArt(
            c.bytes, c.name,
            [&](const PageFile&) {
                asked = true;
                return c.choice;
            },
            Face());
        EXPECT_EQ(asked, c.asks);
        if (c.refused) {
            ASSERT_FALSE(opened);
            EXPECT_EQ(opened.error().kind, c.refused);
            EXPECT_EQ(opened.error().path, c.name);
            if (!c.args.empty()) {
                EXPECT_EQ(opened.error().args, c.args);
            }
            continue;
        }
        ASSERT_TRUE(opened) << opened.error().Message();
        if (!c.text) {
            EXPECT_FALSE(*opened);
            continue;
        }
        ASSERT_TRUE(*opened);
        const auto expected = ReadTextArtDrawing(*c.text, c.encoding, Face());
        ASSERT_TRUE(expected);
        EXPECT_EQ((*opened)->rows, expected->rows);
        EXPECT_EQ((*opened)->ink, expected->ink);
    }
}

TEST(OpenTextArtTest, KeepsIdeographsTheFaceLacksAndRefusesWhatItCannotDraw) {
    const auto kept = OpenTextArt("|\xE5\x8E\x93|", "a.txt", nullptr, Face());
    ASSERT_TRUE(kept && *kept);
    EXPECT_EQ((*kept)->undrawn, (std::vector<UndrawnCharacter>{{1, 2, U'\u5393'}}));

    std::string tooMany;
    for (int i = 0; i < 40; ++i) tooMany += "a\r\n";
    const auto refused = OpenTextArt(tooMany, "tall.txt", nullptr, Face());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, &kinds::TooManyLines);
}

TEST(OpenTextArtTest, LabelsPagesInUnicode) {
    PageFile file;
    file.pages = {{"", "\x96\xBC", "x"}, {"", "", "  \r\n  abc"}};
    EXPECT_EQ(PageChoiceLabels(file), (std::vector<std::string>{"\xE5\x90\x8D", "  abc"}));
}

}  // namespace
}  // namespace fudeline
