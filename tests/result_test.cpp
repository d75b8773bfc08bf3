#include "pixels/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fudeline {
namespace {

TEST(Error, MessageNamesThePathWhenThereIsOne) {
    const std::pair<Error, std::string> cases[] = {
        {{"a/b.dat", "No such file or directory"}, "a/b.dat: No such file or directory"},
        {{"", "line 3: up takes no arguments"}, "line 3: up takes no arguments"},
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
        {{"", "line 3: up takes no arguments"}, "line 3: up takes no arguments"},
        {SystemError("", ENOENT), "No such file or directory"},
        {{"", ErrorKind::TemporaryFile, "/d/a.mlt.XXXXXX", EACCES},
         "cannot create the temporary file /d/a.mlt.XXXXXX beside it: Permission denied"},
        {{"", ErrorKind::LargerThanMegabytes, 64}, "larger than 64 MB"},
        {{"", ErrorKind::LargerThanBytes, 1000}, "larger than 1000 bytes"},
        {{"", ErrorKind::LineTooLong, 7, 4096}, "line 7 is longer than 4096 bytes"},
        {{"", ErrorKind::TooManyLines, 30, 29}, "the text has 30 lines; the canvas holds 29"},
        {{"", ErrorKind::LineTooWide, 2, 812, 800, 57},
         "line 2 is 812 pixels wide; the canvas holds 800 (57 characters of this line fit)"},
        {{"", ErrorKind::NotInFont, 1, 2, "U+1F600"},
         "line 1, column 2: U+1F600 is not in the Mona font"},
        {{"", ErrorKind::NotUtf8, 1, 2, "0xFF"}, "line 1, column 2: byte 0xFF is not UTF-8"},
        {{"", ErrorKind::NotShiftJis, 3, 1, "0x85 0x40"},
         "line 3, column 1: 0x85 0x40 is not Shift-JIS"},
        {{"", ErrorKind::PageFileNotShiftJis, 3, "a NUL byte"},
         "line 3 holds a NUL byte: the file is not Shift-JIS text"},
        {{"", ErrorKind::NotAstFile},
         "not an AST file: it does not start with a line \"[AA][name]\""},
        {{"", ErrorKind::NeitherPageFormat},
         "neither an MLT file (no .mlt name, no [SPLIT] line) nor an AST file (no [AA][name] "
         "line at its start)"},
        {{"", ErrorKind::MltPageName}, "MLT pages have no names; name pages in an AST file"},
        {{"", ErrorKind::EmptyPage}, "the text is empty: there is nothing to add as a page"},
        {{"", ErrorKind::PageNameLineBreak}, "a page name cannot hold a line break"},
        {{"", ErrorKind::SplitLineInPage},
         "the text holds a line \"[SPLIT]\", which would split the page"},
        {{"", ErrorKind::AstHeadInPage},
         "the text holds a line \"[AA][...]\", which would start a new page"},
        {{"", ErrorKind::NewPageFileName}, "a new page file must be named .mlt or .ast"},
        {{"", ErrorKind::NamedPipe}, "a named pipe, not a regular file"},
        {{"", ErrorKind::CharacterDevice}, "a character device, not a regular file"},
        {{"", ErrorKind::BlockDevice}, "a block device, not a regular file"},
        {{"", ErrorKind::Socket}, "a socket, not a regular file"},
        {{"", ErrorKind::SpecialFile}, "a special file, not a regular file"},
        {{"", ErrorKind::HardLinks, 2},
         "the file has 2 names (hard links); replacing it whole would leave the other names "
         "with the old content, so it is not written"},
        {{"", ErrorKind::OwnerNotKept},
         "the file belongs to another user or group, which its replacement could not keep, so "
         "it is not written"},
        {{"", ErrorKind::KeptBeingReplaced},
         "the file kept being replaced while it was being locked"},
        {{"", ErrorKind::AppendToUnknownFormat},
         "the file is empty and not named .mlt or .ast: a page added to it would read as "
         "neither format"},
        {{"", ErrorKind::AppendLargerThanMegabytes, 256},
         "with the page the file would be larger than 256 MB, more than a page file is read"},
        {{"", ErrorKind::AppendLargerThanBytes, 100},
         "with the page the file would be larger than 100 bytes, more than a page file is read"},
        {{"", ErrorKind::PageNameControl}, "a page name cannot hold a control character"},
        {{"", ErrorKind::NoText}, "there is no text (the file is empty)"},
        {{"", ErrorKind::NoPages}, "the file has no pages"},
        {{"", ErrorKind::NoSuchPage, 4, 3}, "no page 4; the file has 3"},
        {{"", ErrorKind::PageNameNotShiftJis}, "the page name has no Shift-JIS form"},
        {{"", ErrorKind::NotAPicture},
         "not a picture in a known format (PNG, JPEG, WebP, GIF, BMP or PNM)"},
        {{"", ErrorKind::PictureTooLarge, 70000, 9}, "the picture is too large (70000 x 9 pixels)"},
        {{"", ErrorKind::NoInk}, "the picture holds no black ink"},
        {{"", ErrorKind::RowTooWide, 3, 812, 799}, "row 3 would be 812 pixels wide; the canvas holds 799"},
        {{"", ErrorKind::CannotBeTyped, "U+1F600"}, "U+1F600 is not in the Mona font"},
    };
    static_assert(std::size(cases) == kErrorKindCount, "one case per kind");
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        EXPECT_EQ(static_cast<std::size_t>(cases[k].error.kind), k);
        EXPECT_EQ(cases[k].error.Reason(), cases[k].reason);
    }
}

TEST(Error, ArgumentsAreFilledInOnePassAndTheKindSurvivesANewPath) {
    // A name holding "%2" is not filled again; a missing argument stays "%N".
    EXPECT_EQ((Error{"", ErrorKind::TemporaryFile, "/t/%2.XXXXXX", ENOSPC}).Reason(),
              "cannot create the temporary file /t/%2.XXXXXX beside it: No space left on device");
    EXPECT_EQ((Error{"", ErrorKind::LineTooLong, 4}).Reason(), "line 4 is longer than %2 bytes");
    const Error parsed{"", ErrorKind::NotUtf8, 1, 1, "0xC0"};
    const Error named = parsed.WithPath("in.txt");
    EXPECT_EQ(named.kind, ErrorKind::NotUtf8);
    EXPECT_EQ(named.args, parsed.args);
    EXPECT_EQ(named.Message(), "in.txt: line 1, column 1: byte 0xC0 is not UTF-8");
    // Limits in whole MB from 1 MB up, in bytes below.
    EXPECT_EQ(TooLargeError("a", std::size_t{64} << 20).Message(), "a: larger than 64 MB");
    EXPECT_EQ(TooLargeError("b", (std::size_t{1} << 20) - 1).Reason(), "larger than 1048575 bytes");
    EXPECT_EQ(TooLargeError("c", std::size_t{1} << 20).kind, ErrorKind::LargerThanMegabytes);
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

    const Result<std::string> failed = Error{"in.txt", "Is a directory"};
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().path, "in.txt");
    EXPECT_EQ(failed.value_or("fallback"), "fallback");

    Result<std::vector<int>> events = Error{"", "line 1: bad"};
    const Error moved = std::move(events).error();
    EXPECT_EQ(moved.Reason(), "line 1: bad");
}

TEST(Status, IsSuccessByDefaultAndCarriesTheError) {
    const Status ok;
    EXPECT_TRUE(ok);
    const Status failed = Error{"dir", "Permission denied"};
    ASSERT_FALSE(failed.has_value());
    EXPECT_EQ(failed.error().Message(), "dir: Permission denied");
}

TEST(ResultDeathTest, ReadingTheValueOfAFailureStopsNamingTheError) {
    const Result<int> failed = Error{"x.pbm", "PBM image is truncated"};
    EXPECT_DEATH((void)failed.value(), "x.pbm: PBM image is truncated");
    const Status failedStatus = Error{"y", "gone"};
    EXPECT_DEATH(failedStatus.value(), "y: gone");
}

}  // namespace
}  // namespace fudeline
