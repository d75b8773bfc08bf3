#include "io/page_format.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/file_bytes.h"
#include "io/io_errors.h"
#include "io/page_files.h"
#include "test_catalogs.h"

namespace fudeline {
namespace {

struct Expected {
    std::string name;
    std::string text;
};

// Files as they are found, with the pages they hold; writing them back must
// give the same bytes.
TEST(ParsePageFile, SplitsPagesAndWritesTheSameBytesBack) {
    struct Case {
        const char* name;
        std::string file;
        std::string bytes;
        PageFormat format;
        std::vector<Expected> pages;
    };
    const std::vector<Case> cases = {
        {"empty MLT", "a.mlt", "", PageFormat::Mlt, {}},
        {"one MLT page", "a.mlt", "AA\r\nBB", PageFormat::Mlt, {{"", "AA\r\nBB"}}},
        {"MLT pages", "a.MLT", "A\r\n[SPLIT]\r\nB\r\nb\r\n[SPLIT]\r\nC", PageFormat::Mlt,
         {{"", "A"}, {"", "B\r\nb"}, {"", "C"}}},
        {"MLT with a final line break", "x", "A\r\n[SPLIT]\r\nB\r\n", PageFormat::Mlt,
         {{"", "A"}, {"", "B\r\n"}}},
        {"MLT with LF only", "a.mlt", "A\n[SPLIT]\nB", PageFormat::Mlt, {{"", "A"}, {"", "B"}}},
        {"MLT starting with a separator", "a.mlt", "[SPLIT]\r\nB", PageFormat::Mlt,
         {{"", ""}, {"", "B"}}},
        {"MLT with separators in a row", "a.mlt", "A\r\n[SPLIT]\r\n[SPLIT]\r\nB",
         PageFormat::Mlt, {{"", "A"}, {"", ""}, {"", "B"}}},
        {"MLT ending in a separator", "a.mlt", "A\r\n[SPLIT]", PageFormat::Mlt,
         {{"", "A"}, {"", ""}}},
        {"MLT lines that only look like separators", "a.mlt", "[SPLIT] \r\n [SPLIT]",
         PageFormat::Mlt, {{"", "[SPLIT] \r\n [SPLIT]"}}},
        {"AST", "a.ast", "[AA][face]\r\nA\r\n[AA][]\r\nB\r\n", PageFormat::Ast,
         {{"face", "A"}, {"", "B\r\n"}}},
        {"AST found by its first line", "a.txt", "[AA][x]\r\n[AA][y]", PageFormat::Ast,
         {{"x", ""}, {"y", ""}}},
        {"MLT named so, starting like AST", "a.mlt", "[AA][x]\r\n[SPLIT]\r\nB", PageFormat::Mlt,
         {{"", "[AA][x]"}, {"", "B"}}},
        {"AST with a Shift-JIS name", "a.ast", "[AA][\x8A\xE7]\r\n\x81\x5E", PageFormat::Ast,
         {{"\x8A\xE7", "\x81\x5E"}}},
    };
    for (const Case& c : cases) {
        const auto parsed = ParsePageFile(c.bytes, c.file);
        ASSERT_TRUE(parsed) << c.name << ": " << parsed.error().Reason();
        EXPECT_EQ(parsed->format, c.format) << c.name;
        ASSERT_EQ(parsed->pages.size(), c.pages.size()) << c.name;
        for (std::size_t i = 0; i < c.pages.size(); ++i) {
            EXPECT_EQ(parsed->pages[i].name, c.pages[i].name) << c.name << " page " << i;
            EXPECT_EQ(parsed->pages[i].text, c.pages[i].text) << c.name << " page " << i;
        }
        EXPECT_EQ(FormatPageFile(*parsed), c.bytes) << c.name;
        // Visiting gives the same pages, as views into the bytes.
        std::vector<Page> visited;
        ASSERT_TRUE(VisitPages(c.bytes, c.file, [&](const PageView& page) {
            EXPECT_TRUE(page.text.empty() || (page.text.data() >= c.bytes.data() &&
                                              page.text.data() < c.bytes.data() + c.bytes.size()))
                << c.name;
            visited.push_back(
                {std::string(page.lead), std::string(page.name), std::string(page.text)});
        })) << c.name;
        ASSERT_EQ(visited.size(), parsed->pages.size()) << c.name;
        for (std::size_t i = 0; i < visited.size(); ++i) {
            EXPECT_EQ(visited[i].lead, parsed->pages[i].lead) << c.name << " page " << i;
            EXPECT_EQ(visited[i].name, parsed->pages[i].name) << c.name << " page " << i;
            EXPECT_EQ(visited[i].text, parsed->pages[i].text) << c.name << " page " << i;
        }
    }
}

TEST(ParsePageFile, RefusesWhatIsNeitherFormatWithTheReason) {
    struct Case {
        std::string file;
        std::string bytes;
        std::string reason;
        const ErrorKind* kind;
    };
    const std::vector<Case> cases = {
        {"a.txt", "just text",
         "neither an MLT file (no .mlt name, no [SPLIT] line) nor an AST file (no [AA][name] "
         "line at its start)",
         &kinds::NeitherPageFormat},
        {"a.ast", "text\r\n[AA][x]",
         "not an AST file: it does not start with a line \"[AA][name]\"", &kinds::NotAstFile},
        {"a.mlt", std::string("ab\r\nc\0d", 7),
         "line 2 holds a NUL byte: the file is not Shift-JIS text", &kinds::PageFileNul},
        {"a.mlt", "\xFF\xD8\xFF", "line 1 holds byte 0xFF: the file is not Shift-JIS text",
         &kinds::PageFileBadByte},
        {"a.mlt", "ok\r\nA\x81",
         "line 2 holds a two-byte character cut short: the file is not Shift-JIS text",
         &kinds::PageFileCutPair},
        {"a.mlt", "ok\r\n[SPLIT]\r\n\x85\x40x",
         "line 3 holds 0x85 0x40, which CP932 does not define: the file is not Shift-JIS text",
         &kinds::PageFileUndefinedPair},
    };
    for (const Case& c : cases) {
        const auto parsed = ParsePageFile(c.bytes, c.file);
        ASSERT_FALSE(parsed) << c.reason;
        EXPECT_EQ(parsed.error().Reason(), c.reason);
        EXPECT_EQ(parsed.error().kind, c.kind) << c.reason;
        bool visited = false;
        const Status listed = VisitPages(c.bytes, c.file, [&](const PageView&) { visited = true; });
        ASSERT_FALSE(listed) << c.reason;
        EXPECT_EQ(listed.error().Reason(), c.reason);
        EXPECT_FALSE(visited) << c.reason;
    }
}

TEST(AddPage, AddsPagesThatReadBackAsTheyWereGiven) {
    for (const PageFormat format : {PageFormat::Mlt, PageFormat::Ast}) {
        PageFile file{format, {}};
        const std::vector<Expected> pages = {
            {format == PageFormat::Ast ? "one" : "", "\x81\x40 \x81\x5E\r\n|"},
            {"", "\r\n"},
            {format == PageFormat::Ast ? "\x8A\xE7" : "", "x&#8201;y\r\n\r\nz"},
        };
        for (const Expected& page : pages) ASSERT_TRUE(AddPage(file, page.text, page.name));
        const std::string bytes = FormatPageFile(file);
        const auto parsed = ParsePageFile(bytes, format == PageFormat::Mlt ? "p.mlt" : "p.ast");
        ASSERT_TRUE(parsed) << parsed.error().Reason();
        ASSERT_EQ(parsed->pages.size(), pages.size());
        for (std::size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(parsed->pages[i].name, pages[i].name);
            EXPECT_EQ(parsed->pages[i].text, pages[i].text);
        }
        EXPECT_EQ(FormatPageFile(*parsed), bytes);
    }
    PageFile mlt{PageFormat::Mlt, {}};
    ASSERT_TRUE(AddPage(mlt, "A", ""));
    ASSERT_TRUE(AddPage(mlt, "B", ""));
    EXPECT_EQ(FormatPageFile(mlt), "A\r\n[SPLIT]\r\nB");
    PageFile ast{PageFormat::Ast, {}};
    ASSERT_TRUE(AddPage(ast, "A", ""));
    ASSERT_TRUE(AddPage(ast, "B", "n"));
    EXPECT_EQ(FormatPageFile(ast), "[AA][]\r\nA\r\n[AA][n]\r\nB");
}

TEST(AddPage, RefusesPagesThatWouldNotReadBack) {
    struct Case {
        PageFormat format;
        std::string text, name, reason;
    };
    const std::vector<Case> cases = {
        {PageFormat::Mlt, "a\r\n[SPLIT]\r\nb", "", "the text holds a line \"[SPLIT]\", which would split the page"},
        {PageFormat::Mlt, "a", "name", "MLT pages have no names; name pages in an AST file"},
        {PageFormat::Ast, "[AA][x]", "", "the text holds a line \"[AA][...]\", which would start a new page"},
        {PageFormat::Ast, "a", "two\nlines", "a page name cannot hold a line break"},
        {PageFormat::Ast, "a", "bell\a", "a page name cannot hold a control character"},
        {PageFormat::Ast, "a", "\x1B]0;title\x07", "a page name cannot hold a control character"},
        {PageFormat::Mlt, "", "", "the text is empty: there is nothing to add as a page"},
        {PageFormat::Ast, "", "x", "the text is empty: there is nothing to add as a page"},
    };
    for (const Case& c : cases) {
        PageFile file{c.format, {}};
        const Status added = AddPage(file, c.text, c.name);
        ASSERT_FALSE(added) << c.reason;
        EXPECT_EQ(added.error().Reason(), c.reason);
        EXPECT_TRUE(file.pages.empty());
    }
}

TEST(PageLabel, IsTheNameOrTheFirstLineThatIsNotBlank) {
    EXPECT_EQ(PageLabel({"", "name", "text"}), "name");
    EXPECT_EQ(PageLabel({"", "", " \r\n\x81\x40\r\n  art\r\nmore"}), "  art");
    EXPECT_EQ(PageLabel({"", "", ""}), "");
}

// A label is cut to its width at a character, "…" (0x81 0x63) taking the
// last two columns, so a hundred-megabyte line lists as one short line.
TEST(PageLabel, IsCutToItsWidthAtACharacter) {
    const std::string wide = "\x82\xA0";  // あ, two columns
    struct Case {
        std::string name, text;
        std::size_t columns;
        std::string label;
    };
    const std::vector<Case> cases = {
        {"", "abcdef", 6, "abcdef"},
        {"", "abcdefg", 6, "abcd\x81\x63"},
        {"", "  \r\n" + std::string(1000, 'x'), 10, "xxxxxxxx\x81\x63"},
        {"", wide + wide + wide + wide, 7, wide + wide + "\x81\x63"},
        {"", "a" + wide + wide + wide, 6, "a" + wide + "\x81\x63"},
        {"named", "anything", 4, "na\x81\x63"},
        {"", "", 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PageLabel(c.name, c.text, c.columns), c.label) << c.text << " in " << c.columns;
    }
}

TEST(AppendPageToFile, CreatesAppendsAndLeavesARefusedFileAlone) {
    const auto dir = testing::MakeTempDir("pages");
    const std::string mlt = (dir / "art.mlt").string();
    ASSERT_TRUE(AppendPageToFile(mlt, "A", ""));
    ASSERT_TRUE(AppendPageToFile(mlt, "B", ""));
    EXPECT_EQ(ReadFileBytes(mlt).value(), "A\r\n[SPLIT]\r\nB");

    const std::string ast = (dir / "art.ast").string();
    ASSERT_TRUE(AppendPageToFile(ast, "A", "first"));
    EXPECT_EQ(ReadFileBytes(ast).value(), "[AA][first]\r\nA");

    // A file whose last line is ended keeps its bytes and gains no blank line.
    const struct {
        const char* name;
        const char* before;
        const char* after;
    } ended[] = {
        {"crlf.mlt", "A\r\n", "A\r\n[SPLIT]\r\nB"},
        {"lf.mlt", "A\n", "A\n[SPLIT]\r\nB"},
        {"blank.mlt", "A\r\n\r\n", "A\r\n\r\n[SPLIT]\r\nB"},
        {"crlf.ast", "[AA][a]\r\nA\r\n", "[AA][a]\r\nA\r\n[AA][b]\r\nB"},
    };
    for (const auto& c : ended) {
        const std::string file = (dir / c.name).string();
        testing::WriteFile(file, c.before);
        ASSERT_TRUE(AppendPageToFile(file, "B", PageFormatForName(c.name) == PageFormat::Ast ? "b" : ""));
        EXPECT_EQ(ReadFileBytes(file).value(), c.after) << c.name;
    }

    const std::string other = (dir / "art.txt").string();
    const Status refused = AppendPageToFile(other, "A", "");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().Reason(), "a new page file must be named .mlt or .ast");
    EXPECT_EQ(refused.error().kind, &kinds::NewPageFileName);
    EXPECT_FALSE(std::filesystem::exists(other));

    const std::string notPages = (dir / "notes.ast").string();
    testing::WriteFile(notPages, "some notes\r\n");
    const Status notAst = AppendPageToFile(notPages, "A", "");
    ASSERT_FALSE(notAst);
    // The parser's reason names the file and keeps its kind for the window.
    EXPECT_EQ(notAst.error().path, notPages);
    EXPECT_EQ(notAst.error().kind, &kinds::NotAstFile);
    EXPECT_EQ(ReadFileBytes(notPages).value(), "some notes\r\n");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace fudeline
