#include "io/page_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "files/file_bytes.h"
#include "temp_dir_test.h"

namespace fudeline {
namespace {

class PageFilesTest : public testing::TempDirTest {
  protected:
    PageFilesTest() : TempDirTest("page-files") {}
    std::size_t PageCount(const char* name) const {
        const Result<PageFile> file = ReadPageFile(Path(name));
        return file ? file->pages.size() : 0;
    }
};

// Appends running at once each land: none reads the file while another
// replaces it.
TEST_F(PageFilesTest, AppendsRunningAtOnceAllLand) {
    for (const char* name : {"new.mlt", "new.ast"}) {
        std::vector<std::thread> appends;
        for (int i = 0; i < 20; ++i) {
            appends.emplace_back([&, i] {
                const std::string text = "page " + std::to_string(i);
                const Status added = AppendPageToFile(Path(name), text, "");
                EXPECT_TRUE(added) << added.error().Message();
            });
        }
        for (std::thread& append : appends) append.join();
        EXPECT_EQ(PageCount(name), 20u) << name;
    }
}

// An append whose result the reader would refuse is refused, and the file
// stays as it was.
TEST_F(PageFilesTest, AppendsTheReaderWouldRefuseAreRefused) {
    const struct {
        const char* name;
        std::string bytes;
        std::size_t maxBytes;
        const char* reason;  // empty: the append is taken
    } cases[] = {
        {"empty.txt", "", kMaxInputBytes,
         "the file is empty and not named .mlt or .ast: a page added to it would read as "
         "neither format"},
        {"empty.mlt", "", kMaxInputBytes, ""},
        {"full.mlt", "a\r\n[SPLIT]\r\nb", 26,
         "with the page the file would be larger than 26 bytes, more than a page file is read"},
        {"fits.mlt", "a\r\n[SPLIT]\r\nb", 27, ""},
        {"split.txt", "a\r\n[SPLIT]\r\nb", kMaxInputBytes, ""},
    };
    for (const auto& c : cases) {
        testing::WriteFile(dir_ / c.name, c.bytes);
        // The bytes a page downloads follow the one rule as the file does.
        const Result<std::string> bytes =
            PageFileWithPage(c.bytes, Path(c.name), "new", "", c.maxBytes);
        Result<StagedPage> staged = StagedPage::Stage(Path(c.name), "new", "", c.maxBytes);
        EXPECT_EQ(bytes.has_value(), staged.has_value()) << c.name;
        if (!bytes) {
            EXPECT_EQ(bytes.error().Message(), Path(c.name) + ": " + c.reason);
        }
        if (*c.reason == '\0') {
            ASSERT_TRUE(staged) << c.name << ": " << staged.error().Message();
            ASSERT_TRUE(staged->Commit());
            continue;
        }
        ASSERT_FALSE(staged) << c.name;
        EXPECT_EQ(staged.error().Message(), Path(c.name) + ": " + c.reason);
        EXPECT_EQ(ReadFileBytes(Path(c.name)).value(), c.bytes) << c.name;
    }
    EXPECT_EQ(PageCount("empty.mlt"), 1u);
    EXPECT_EQ(PageCount("fits.mlt"), 3u);
    EXPECT_EQ(PageCount("split.txt"), 3u);
}

// A page staged and never committed changes nothing: an existing file stays,
// a new one is not left behind, and no temporary either.
TEST_F(PageFilesTest, APageNeverCommittedLeavesNoTrace) {
    testing::WriteFile(dir_ / "book.mlt", "a\r\n[SPLIT]\r\nb");
    for (const char* name : {"book.mlt", "new.mlt"}) {
        Result<StagedPage> staged = StagedPage::Stage(Path(name), "new", "");
        ASSERT_TRUE(staged) << staged.error().Message();
    }
    EXPECT_EQ(ReadFileBytes(Path("book.mlt")).value(), "a\r\n[SPLIT]\r\nb");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

}  // namespace
}  // namespace fudeline
