#include "io/file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fudeline {
namespace {

namespace fs = std::filesystem;

class WriteFileReplacingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("fudeline_write_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string Read(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    fs::path dir_;
};

TEST_F(WriteFileReplacingTest, WritesAndReplacesWholeFiles) {
    const mode_t oldMask = ::umask(022);
    const std::string path = dir_ / "art.txt";
    const std::string bytes[] = {std::string("first\0with a zero", 17), "",
                                 std::string(100000, 'x')};
    for (const std::string& content : bytes) {
        std::string error;
        ASSERT_TRUE(WriteFileReplacing(path, content, &error)) << error;
        EXPECT_EQ(Read(path), content);
        EXPECT_EQ(Entries(), 1u);  // no temporary file left beside it
    }
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    ::umask(oldMask);
    // A saved file is readable as any other new file would be, not private.
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(WriteFileReplacingTest, FailuresNameThePathAndLeaveNothingBehind) {
    fs::create_directory(dir_ / "folder");
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"missing folder", (dir_ / "no" / "such" / "file.png").string()},
        {"a folder", (dir_ / "folder").string()},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(WriteFileReplacing(c.path, "bytes", &error)) << c.name;
        EXPECT_NE(error.find(c.path), std::string::npos) << c.name << ": " << error;
    }
    EXPECT_EQ(Entries(), 1u);  // only "folder"
    EXPECT_TRUE(fs::is_directory(dir_ / "folder"));
}

}  // namespace
}  // namespace fudeline
