#include "export/boards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace fudeline {
namespace {

// Every row: found by its name, read back by --board's parser as its limits
// and not as custom limits, within the rule the window's dialog follows, and
// with a name for each list that shows it.
TEST(BoardProfiles, EveryRowIsFoundByItsNameAndIsABoardOfItsOwn) {
    std::set<std::string_view> names;
    for (const BoardProfile& board : kBoardProfiles) {
        const std::string name(board.name);
        EXPECT_TRUE(names.insert(board.name).second) << name << " twice";
        EXPECT_EQ(FindBoard(board.name), &board) << name;
        EXPECT_EQ(ParseBoardLimits(board.name), board.limits) << name;
        EXPECT_TRUE(ValidBoardLimits(board.limits)) << name;
        // Named in lower-case letters and digits only, for the settings, the
        // page's list and --board; with a letter, so that it never reads as
        // custom limits; never "custom", the custom board's name there.
        EXPECT_TRUE(std::any_of(name.begin(), name.end(), [](char c) {
            return c >= 'a' && c <= 'z';
        })) << name;
        EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        })) << name;
        EXPECT_NE(name, "custom");
        EXPECT_FALSE(board.pageName.empty()) << name;
        EXPECT_FALSE(board.englishName.empty()) << name;
        EXPECT_FALSE(board.windowName.empty()) << name;
    }
    EXPECT_EQ(&kDefaultBoard, &kBoardProfiles.front());
}

// The known boards' limits, which scripts with --board and saved settings
// rely on, and the references their software needs.
TEST(BoardProfiles, KnownBoardsKeepTheirLimits) {
    struct Case {
        const char* name;
        BoardLimits limits;
        bool references;
    };
    const Case cases[] = {
        {"2ch", {2048, 24, 256}, true},
        {"shitaraba", {4096, 0, 0}, true},
    };
    for (const Case& c : cases) {
        const BoardProfile* board = FindBoard(c.name);
        ASSERT_NE(board, nullptr) << c.name;
        EXPECT_EQ(board->limits, c.limits) << c.name;
        EXPECT_EQ(board->references, c.references) << c.name;
    }
    EXPECT_EQ(kDefaultBoard.name, "2ch");
}

TEST(FindBoard, OnlyAnExactName) {
    for (const char* text :
         {"", "2CH", "2ch ", " 2ch", "Shitaraba", "2048", "2048:24:256", "custom"}) {
        EXPECT_EQ(FindBoard(text), nullptr) << text;
    }
}

TEST(ParseBoardLimits, ProfilesAndCustomLimits) {
    struct Case {
        const char* text;
        std::optional<BoardLimits> limits;
    };
    const Case cases[] = {
        {"2ch", BoardLimits{2048, 24, 256}},
        {"shitaraba", BoardLimits{4096, 0, 0}},
        {"1000", BoardLimits{1000, 0, 0}},
        {"1000:10", BoardLimits{1000, 10, 0}},
        {"1000:10:80", BoardLimits{1000, 10, 80}},
        // 0 is no limit for that measure, as in the window's custom limits.
        {"3000:25:0", BoardLimits{3000, 25, 0}},
        {"0:0:80", BoardLimits{0, 0, 80}},
        {"0", BoardLimits{0, 0, 0}},
        {"007:1000000", BoardLimits{7, 1000000, 0}},
        {"", std::nullopt},
        {"2CH", std::nullopt},
        {"-5", std::nullopt},
        {"-0", std::nullopt},
        {"+5", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"0x10", std::nullopt},
        {"1e3", std::nullopt},
        {"1000001", std::nullopt},
        {"1000:", std::nullopt},
        {":10", std::nullopt},
        {"1000::80", std::nullopt},
        {"1:2:3:4", std::nullopt},
        {"12x", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseBoardLimits(c.text), c.limits) << c.text;
}

// A single measure, as the page's three fields are each checked: the same
// rule as one field of the whole text, so a colon is no part of a number.
TEST(ParseBoardLimit, OneMeasureByTheSameRule) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> value;
    };
    const Case cases[] = {
        {"0", 0},           {"2048", 2048},        {"1000000", 1000000}, {"007", 7},
        {"", std::nullopt}, {"abc", std::nullopt}, {"1e3", std::nullopt}, {"-1", std::nullopt},
        {"100:5", std::nullopt}, {"1000001", std::nullopt}, {" 5", std::nullopt},
        {"5.0", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseBoardLimit(c.text), c.value) << c.text;
}

TEST(ParseBoardLimits, ReadsBackWhatFormatWritesAndRefusesWhatTheRuleRefuses) {
    struct Case {
        BoardLimits limits;
        bool valid;
    };
    const Case cases[] = {
        {BoardLimits{0, 0, 0}, true},
        {BoardLimits{kMaxBoardLimit, 1, kMaxBoardLimit}, true},
        {BoardLimits{kMaxBoardLimit + 1, 0, 0}, false},
        {BoardLimits{10, -1, 0}, false},
        {BoardLimits{0, 0, -5}, false},
    };
    for (const Case& c : cases) {
        const std::string text = FormatBoardLimits(c.limits);
        EXPECT_EQ(ValidBoardLimits(c.limits), c.valid) << text;
        EXPECT_EQ(ParseBoardLimits(text), c.valid ? std::optional(c.limits) : std::nullopt) << text;
    }
}

}  // namespace
}  // namespace fudeline
