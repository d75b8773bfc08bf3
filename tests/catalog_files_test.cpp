#include "io/catalog_files.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

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
        EXPECT_EQ(written.error().reason, c.reason);
    }
    if (::geteuid() != 0) {
        std::filesystem::create_directory(dir / "locked");
        std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec);
        const Status written =
            WriteGlyphCatalogFiles(testing::TestFont(), (dir / "locked").string());
        ASSERT_FALSE(written);
        EXPECT_EQ(written.error().reason, "Permission denied");
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace fudeline
