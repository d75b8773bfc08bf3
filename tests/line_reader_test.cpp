#include "files/line_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "temp_dir_test.h"

namespace fudeline {
namespace {

class LineReaderTest : public testing::TempDirTest {
  protected:
    LineReaderTest() : TempDirTest("line-reader") {}

    std::string Write(const std::string& text) {
        const std::string path = (dir_ / "text").string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Every line, or the error's reason.
    std::vector<std::string> Lines(const std::string& text, std::size_t maxLine,
                                   std::size_t maxBytes = kMaxInputBytes) {
        Result<LineReader> reader = LineReader::Open(Write(text), maxLine, maxBytes);
        if (!reader) return {"error: " + reader.error().Reason()};
        std::vector<std::string> lines;
        std::string line;
        for (;;) {
            const Result<bool> read = reader->Next(line);
            if (!read) {
                lines.push_back("error: " + read.error().Reason());
                return lines;
            }
            if (!*read) return lines;
            EXPECT_EQ(reader->lineNumber(), lines.size() + 1);
            lines.push_back(line);
        }
    }
};

TEST_F(LineReaderTest, SplitsAsTextLinesAreSplit) {
    const std::string chunk(70000, 'x');  // longer than one read
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\n", {"a\rb"}},  // a CR inside a line is the caller's to judge
        {"a\r", {"a"}},          // one ending the input ends the line
        {"a\nb\r", {"a", "b"}},
        {"\r", {""}},
        {"a\r\r", {"a\r"}},
        {"\n\nc", {"", "", "c"}},
        {chunk + "\n" + chunk, {chunk, chunk}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        EXPECT_EQ(Lines(c.text, 100000), c.lines);
    }
}

// Whether each line ended with a break: only the last may not.
TEST_F(LineReaderTest, SaysWhetherTheLineEndedWithABreak) {
    const struct {
        std::string text;
        std::vector<bool> ended;
    } cases[] = {
        {"a", {false}},
        {"a\n", {true}},
        {"a\r\nb\r", {true, false}},
        {"\n\n", {true, true}},
        {std::string(70000, 'x') + "\n" + std::string(70000, 'y'), {true, false}},
    };
    for (const auto& c : cases) {
        Result<LineReader> reader = LineReader::Open(Write(c.text), 100000);
        ASSERT_TRUE(reader);
        std::vector<bool> ended;
        std::string line;
        while (reader->Next(line).value()) ended.push_back(reader->lineEnded());
        EXPECT_EQ(ended, c.ended) << c.text.substr(0, 10);
    }
}

TEST_F(LineReaderTest, RefusesALineTooLongAsSoonAsItIsRead) {
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"1234\n", {"1234"}},
        {"1234\r\n", {"1234"}},  // the "\r" does not count
        {"1234", {"1234"}},
        {"ok\n12345\n", {"ok", "error: line 2 is longer than 4 bytes"}},
        {"12345", {"error: line 1 is longer than 4 bytes"}},
        {"1234\r", {"1234"}},  // nor a CR ending the input
        {"12345\r", {"error: line 1 is longer than 4 bytes"}},
        {"ok\n" + std::string(1 << 20, 'y'), {"ok", "error: line 2 is longer than 4 bytes"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        EXPECT_EQ(Lines(c.text, 4), c.lines);
    }
}

TEST_F(LineReaderTest, RefusesAnInputTooLargeAndNamesAMissingOne) {
    // A file is known to be too large before its first line is given out (a
    // script's lines are played as they come).
    EXPECT_EQ(Lines(std::string(200000, '\n'), 10, 100000),
              std::vector<std::string>{"error: larger than 100000 bytes"});
    const Result<LineReader> missing = LineReader::Open((dir_ / "missing").string());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().path, (dir_ / "missing").string());
}

}  // namespace
}  // namespace fudeline
