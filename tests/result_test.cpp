#include "errors/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/error_kinds.h"

namespace fudeline {
namespace {

TEST(Error, MessageNamesThePathWhenThereIsOne) {
    const std::pair<Error, std::string> cases[] = {
        {SystemError("a/b.dat", ENOENT), "a/b.dat: No such file or directory"},
        {{"", kinds::ReplayTakesNothing, 3, "up"}, "line 3: up takes no arguments"},
        {SystemError("out.txt", ENOSPC), "out.txt: No space left on device"},
        {SystemError("-", EPIPE), "-: Broken pipe"},
    };
    for (const auto& [error, message] : cases) EXPECT_EQ(error.Message(), message);
}

// Each kind's English wording from its arguments, as the command line has
// always printed it (the goldens compare whole messages; these cover the
// kinds the command line seldom meets).
TEST(Error, EveryKindIsWordedAsTheCommandLinePrintsIt) {
    const struct {
        Error error;
        const char* reason;
    } cases[] = {
        {SystemError("", ENOENT), "No such file or directory"},
        {{"", kinds::TemporaryFile, "/d/a.mlt.XXXXXX", EACCES},
         "cannot create the temporary file /d/a.mlt.XXXXXX beside it: Permission denied"},
        {{"", kinds::LargerThanMegabytes, 64}, "larger than 64 MB"},
        {{"", kinds::LargerThanBytes, 1000}, "larger than 1000 bytes"},
        {{"", kinds::LineTooLong, 7, 4096}, "line 7 is longer than 4096 bytes"},
        {{"", kinds::TooManyLines, 30, 29}, "the text has 30 lines; the canvas holds 29"},
        {{"", kinds::LineTooWide, 2, 812, 800, 57},
         "line 2 is 812 pixels wide; the canvas holds 800 (57 characters of this line fit)"},
        {{"", kinds::NotInFont, 1, 2, "U+1F600"},
         "line 1, column 2: U+1F600 is not in the Mona font"},
        {{"", kinds::NotUtf8, 1, 2, "0xFF"}, "line 1, column 2: byte 0xFF is not UTF-8"},
        {{"", kinds::NotShiftJis, 3, 1, "0x85 0x40"},
         "line 3, column 1: 0x85 0x40 is not Shift-JIS"},
        {{"", kinds::PageFileNul, 3}, "line 3 holds a NUL byte: the file is not Shift-JIS text"},
        {{"", kinds::PageFileBadByte, 3, "0xFF"},
         "line 3 holds byte 0xFF: the file is not Shift-JIS text"},
        {{"", kinds::NotAstFile}, "not an AST file: it does not start with a line \"[AA][name]\""},
        {{"", kinds::NeitherPageFormat},
         "neither an MLT file (no .mlt name, no [SPLIT] line) nor an AST file (no [AA][name] "
         "line at its start)"},
        {{"", kinds::MltPageName}, "MLT pages have no names; name pages in an AST file"},
        {{"", kinds::EmptyPage}, "the text is empty: there is nothing to add as a page"},
        {{"", kinds::PageNameLineBreak}, "a page name cannot hold a line break"},
        {{"", kinds::SplitLineInPage},
         "the text holds a line \"[SPLIT]\", which would split the page"},
        {{"", kinds::AstHeadInPage},
         "the text holds a line \"[AA][...]\", which would start a new page"},
        {{"", kinds::NewPageFileName}, "a new page file must be named .mlt or .ast"},
        {{"", kinds::NamedPipe}, "a named pipe, not a regular file"},
        {{"", kinds::CharacterDevice}, "a character device, not a regular file"},
        {{"", kinds::BlockDevice}, "a block device, not a regular file"},
        {{"", kinds::Socket}, "a socket, not a regular file"},
        {{"", kinds::SpecialFile}, "a special file, not a regular file"},
        {{"", kinds::HardLinks, 2},
         "the file has 2 names (hard links); replacing it whole would leave the other names "
         "with the old content, so it is not written"},
        {{"", kinds::OwnerNotKept},
         "the file belongs to another user or group, which its replacement could not keep, so "
         "it is not written"},
        {{"", kinds::KeptBeingReplaced}, "the file kept being replaced while it was being locked"},
        {{"", kinds::AppendToUnknownFormat},
         "the file is empty and not named .mlt or .ast: a page added to it would read as "
         "neither format"},
        {{"", kinds::AppendLargerThanMegabytes, 256},
         "with the page the file would be larger than 256 MB, more than a page file is read"},
        {{"", kinds::AppendLargerThanBytes, 100},
         "with the page the file would be larger than 100 bytes, more than a page file is read"},
        {{"", kinds::PageNameControl}, "a page name cannot hold a control character"},
        {{"", kinds::NoText}, "there is no text (the file is empty)"},
        {{"", kinds::NoPages}, "the file has no pages"},
        {{"", kinds::NoSuchPage, 4, 3}, "no page 4; the file has 3"},
        {{"", kinds::PageNameNotShiftJis}, "the page name has no Shift-JIS form"},
        {{"", kinds::NotAPicture},
         "not a picture in a known format (PNG, JPEG, WebP, GIF, BMP or PNM)"},
        {{"", kinds::PictureTooLarge, 70000, 9}, "the picture is too large (70000 x 9 pixels)"},
        {{"", kinds::NoInk}, "the picture holds no black ink"},
        {{"", kinds::RowTooWide, 3, 812, 799}, "row 3 would be 812 pixels wide; the canvas holds 799"},
        {{"", kinds::CannotBeTyped, "U+1F600"}, "U+1F600 is not in the Mona font"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.error.Reason(), c.reason);
}

TEST(Error, ArgumentsAreFilledInOnePassAndTheKindSurvivesANewPath) {
    // A name holding "%2" is not filled again; a missing argument stays "%N".
    EXPECT_EQ((Error{"", kinds::TemporaryFile, "/t/%2.XXXXXX", ENOSPC}).Reason(),
              "cannot create the temporary file /t/%2.XXXXXX beside it: No space left on device");
    EXPECT_EQ((Error{"", kinds::LineTooLong, 4}).Reason(), "line 4 is longer than %2 bytes");
    const Error parsed{"", kinds::NotUtf8, 1, 1, "0xC0"};
    const Error named = parsed.WithPath("in.txt");
    EXPECT_TRUE(named.Is(kinds::NotUtf8));
    EXPECT_EQ(named.args, parsed.args);
    EXPECT_EQ(named.Message(), "in.txt: line 1, column 1: byte 0xC0 is not UTF-8");
    // Limits in whole MB from 1 MB up, in bytes below.
    EXPECT_EQ(TooLargeError("a", std::size_t{64} << 20).Message(), "a: larger than 64 MB");
    EXPECT_EQ(TooLargeError("b", (std::size_t{1} << 20) - 1).Reason(), "larger than 1048575 bytes");
    EXPECT_TRUE(TooLargeError("c", std::size_t{1} << 20).Is(kinds::LargerThanMegabytes));
}

// Move-only values (the font is handed out this way) and values that are
// themselves strings must not be confused with the error.
TEST(Result, HoldsMoveOnlyValuesAndStringValuesApartFromErrors) {
    Result<std::unique_ptr<int>> owned = std::make_unique<int>(7);
    ASSERT_TRUE(owned.has_value());
    std::unique_ptr<int> taken = std::move(*owned);
    EXPECT_EQ(*taken, 7);

    const Result<std::string> text = std::string("bytes");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size(), 5u);
    EXPECT_EQ(text.value_or("fallback"), "bytes");

    const Result<std::string> failed = SystemError("in.txt", EISDIR);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().path, "in.txt");
    EXPECT_EQ(failed.value_or("fallback"), "fallback");

    Result<std::vector<int>> events = Error{"", kinds::ReplayCoordinate, 1};
    const Error moved = std::move(events).error();
    EXPECT_EQ(moved.Reason(), "line 1: coordinates must be integers from -32768 to 32767");
}

TEST(Status, IsSuccessByDefaultAndCarriesTheError) {
    const Status ok;
    EXPECT_TRUE(ok);
    const Status failed = SystemError("dir", EACCES);
    ASSERT_FALSE(failed.has_value());
    EXPECT_EQ(failed.error().Message(), "dir: Permission denied");
}

TEST(ResultDeathTest, ReadingTheValueOfAFailureStopsNamingTheError) {
    const Result<int> failed = Error{"x.pbm", kinds::PbmTruncated};
    EXPECT_DEATH((void)failed.value(), "x.pbm: PBM image is truncated");
    const Status failedStatus = SystemError("y", ENOENT);
    EXPECT_DEATH(failedStatus.value(), "y: No such file or directory");
}

}  // namespace
}  // namespace fudeline
