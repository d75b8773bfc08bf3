#include "io/catalog_files.h"

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "test_catalogs.h"

namespace fudeline {
namespace {

TEST(WriteGlyphCatalogFiles, CatalogueFilesLandInANewNestedFolderAndLoadBack) {
    const auto dir = testing::MakeTempDir("writer");
    const auto nested = dir / "a" / "b";
    const Status written = WriteGlyphCatalogFiles(testing::TestFont(), nested.string());
    ASSERT_TRUE(written) << written.error().Message();
    const auto loaded = LoadGlyphCatalog(nested.string());
    ASSERT_TRUE(loaded) << loaded.error().Message();
    EXPECT_GT(loaded->size(), 450u);
    std::filesystem::remove_all(dir);
}

TEST(WriteGlyphCatalogFiles, CatalogueFolderThatCannotBeMadeIsNamedWithTheSystemsReason) {
    const auto dir = testing::MakeTempDir("writer-bad");
    testing::WriteFile(dir / "file", "x");
    const struct {
        std::filesystem::path out;
        std::string errorPath;
        const char* reason;
    } cases[] = {
        {dir / "file" / "sub", (dir / "file" / "sub").string(), "Not a directory"},
        {dir / "file", (dir / "file").string(), "Not a directory"},
    };
    for (const auto& c : cases) {
        const Status written = WriteGlyphCatalogFiles(testing::TestFont(), c.out.string());
        ASSERT_FALSE(written) << c.out;
        EXPECT_EQ(written.error().path, c.errorPath);
        EXPECT_EQ(written.error().Reason(), c.reason);
    }
    if (::geteuid() != 0) {
        std::filesystem::create_directory(dir / "locked");
        std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec);
        const Status written =
            WriteGlyphCatalogFiles(testing::TestFont(), (dir / "locked").string());
        ASSERT_FALSE(written);
        EXPECT_TRUE(written.error().Reason().ends_with("Permission denied"))
            << written.error().Message();
    }
    std::filesystem::remove_all(dir);
}

// A disk that fills up while the second, larger file is written (a file size
// limit stands in for it): the old pair stays whole, nothing else is left.
TEST(WriteGlyphCatalogFiles, AFailureWhileWritingLeavesTheOldPairWhole) {
    const auto dir = testing::MakeTempDir("writer-full");
    testing::WriteFile(dir / kSingleByteCatalogName, "old single\n");
    testing::WriteFile(dir / kDoubleByteCatalogName, "old double\n");
    // The one-byte file is about 21 kB, the two-byte one about 110 kB.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limited = old;
    limited.rlim_cur = 60000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const Status written = WriteGlyphCatalogFiles(testing::TestFont(), dir.string());
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().path, (dir / kDoubleByteCatalogName).string());
    auto read = [&](const char* name) {
        std::ifstream in(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(read(kSingleByteCatalogName), "old single\n");
    EXPECT_EQ(read(kDoubleByteCatalogName), "old double\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace fudeline
