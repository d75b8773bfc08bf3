#include "text/spacing.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "test_catalogs.h"

namespace fudeline {
namespace {

using testing::TestFont;

TEST(Spacing, NamesReadBackAndNothingElseParses) {
    for (const Spacing s : {Spacing::Fillers, Spacing::Spaces, Spacing::Unicode}) {
        EXPECT_EQ(ParseSpacing(SpacingName(s)), s);
    }
    for (const char* bad : {"", "Unicode", "space", "fillers "}) EXPECT_FALSE(ParseSpacing(bad));
}

TEST(BoardSpaceWidth, GivesTheBoardWidthsOfTheBlankCharactersAndNothingElse) {
    const std::map<char32_t, int> widths = {{0x200A, 1}, {0x2009, 2},  {0x2006, 3}, {0x2005, 4},
                                            {0x2004, 5}, {0x2002, 8},  {0x2007, 10},
                                            {0x3000, 11}, {0x2003, 16}, {0x0020, 5}};
    for (const auto& [code, width] : widths) EXPECT_EQ(BoardSpaceWidth(code), width) << static_cast<unsigned>(code);
    for (const char32_t other : {U'A', char32_t{0x2000}, char32_t{0x2001}, char32_t{0x2008},
                                 char32_t{0x200B}, char32_t{0x00A0}, char32_t{0x3001}}) {
        EXPECT_FALSE(BoardSpaceWidth(other)) << static_cast<unsigned>(other);
    }
    // The board set spells with all of them, the half-width space apart.
    const UnicodeSpaces board;
    EXPECT_EQ(board.halfWidthSpace(), 5);
    EXPECT_EQ(board.spaces().size(), widths.size() - 1);
    for (const UnicodeSpace& s : board.spaces()) EXPECT_EQ(widths.at(s.codePoint), s.width);
}

TEST(SpaceBytes, AreWhatEachWritingAppends) {
    const struct {
        char32_t code;
        int shiftJis, utf8, references;
    } cases[] = {
        {U' ', 1, 1, 1},       {0x3000, 2, 3, 3},     {0x200A, 7, 3, 7},
        {0x2002, 7, 3, 7},     {0x2003, 7, 3, 7},     {0x00A0, 6, 2, 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpaceBytes(c.code, SpaceWriting::ShiftJis), c.shiftJis) << static_cast<unsigned>(c.code);
        EXPECT_EQ(SpaceBytes(c.code, SpaceWriting::Utf8), c.utf8) << static_cast<unsigned>(c.code);
        EXPECT_EQ(SpaceBytes(c.code, SpaceWriting::Utf8References), c.references) << static_cast<unsigned>(c.code);
    }
}

// The cheapest spelling of every width by a search over sequences of spaces
// (not bags): bytes, then characters; no half-width space after another, and
// at a line's start none first. Kept as (bytes, characters), none where
// nothing spells the width.
using Cost = std::pair<int, int>;
std::vector<std::optional<Cost>> CheapestBySequences(const std::vector<UnicodeSpace>& spaces,
                                                     int half, SpaceWriting writing, int most,
                                                     bool lineStart) {
    // best[w][s]: s 0 empty sequence, 1 ends with a space, 2 ends with a half-width space.
    std::vector<std::array<std::optional<Cost>, 3>> best(static_cast<std::size_t>(most) + 1);
    best[0][0] = Cost{0, 0};
    const auto relax = [](std::optional<Cost>& to, Cost c) {
        if (!to || c < *to) to = c;
    };
    for (int w = 0; w <= most; ++w) {
        for (int s = 0; s < 3; ++s) {
            const auto from = best[static_cast<std::size_t>(w)][static_cast<std::size_t>(s)];
            if (!from) continue;
            for (const UnicodeSpace& space : spaces) {
                if (w + space.width > most) continue;
                relax(best[static_cast<std::size_t>(w + space.width)][1],
                      {from->first + SpaceBytes(space.codePoint, writing), from->second + 1});
            }
            const bool halfAllowed = half > 0 && s != 2 && !(s == 0 && lineStart);
            if (halfAllowed && w + half <= most) {
                relax(best[static_cast<std::size_t>(w + half)][2],
                      {from->first + SpaceBytes(U' ', writing), from->second + 1});
            }
        }
    }
    std::vector<std::optional<Cost>> cheapest;
    for (const auto& states : best) {
        std::optional<Cost> c;
        for (const auto& s : states) {
            if (s) relax(c, *s);
        }
        cheapest.push_back(c);
    }
    return cheapest;
}

TEST(UnicodeSpaces, SpellEveryWidthExactlyWithTheFewestBytes) {
    struct Case {
        const char* name;
        std::vector<UnicodeSpace> spaces;
        int half = 0;
    };
    const UnicodeSpaces board;
    const std::vector<Case> cases = {
        {"the board set", board.spaces(), board.halfWidthSpace()},
        {"the board set without half-width space", board.spaces()},
        {"no hair space", {{0x2009, 2}, {0x2006, 3}, {0x3000, 11}}, 5},
        {"even widths only", {{0x2009, 2}, {0x2002, 8}}},
        {"the xfonts-mona set", {{0x2009, 2}, {0x2002, 8}, {0x3000, 11}}, 5},
        {"a half-width space alone", {}, 5},
    };
    constexpr int kMost = 900;
    for (const Case& c : cases) {
        const UnicodeSpaces spaces(c.spaces, c.half);
        std::map<char32_t, int> width = {{U' ', c.half}};
        for (const UnicodeSpace& s : c.spaces) width[s.codePoint] = s.width;
        for (const SpaceWriting writing :
             {SpaceWriting::ShiftJis, SpaceWriting::Utf8, SpaceWriting::Utf8References}) {
            const auto anywhere = CheapestBySequences(c.spaces, c.half, writing, kMost, false);
            const auto atStart = CheapestBySequences(c.spaces, c.half, writing, kMost, true);
            for (int w = 0; w <= kMost; ++w) {
                for (const bool lineStart : {false, true}) {
                    const std::string where = std::string(c.name) + " width " + std::to_string(w) +
                                              (lineStart ? " at line start" : "") + " writing " +
                                              std::to_string(static_cast<int>(writing));
                    // At a line's start a leading half-width space is the last resort.
                    std::optional<Cost> expected = anywhere[static_cast<std::size_t>(w)];
                    if (lineStart && atStart[static_cast<std::size_t>(w)]) {
                        expected = atStart[static_cast<std::size_t>(w)];
                    }
                    const auto spelled = spaces.Spell(w, writing, lineStart);
                    ASSERT_EQ(spelled.has_value(), expected.has_value()) << where;
                    ASSERT_EQ(spaces.CanSpell(w), expected.has_value()) << where;
                    if (!spelled) continue;
                    int sum = 0, bytes = 0, previous = std::numeric_limits<int>::max();
                    for (std::size_t i = 0; i < spelled->size(); ++i) {
                        const char32_t code = (*spelled)[i];
                        ASSERT_TRUE(width.count(code)) << where;
                        sum += width[code];
                        bytes += SpaceBytes(code, writing);
                        if (code == U' ') {
                            EXPECT_FALSE(i > 0 && (*spelled)[i - 1] == U' ') << where;
                            EXPECT_FALSE(i == 0 && lineStart && atStart[static_cast<std::size_t>(w)])
                                << where;
                            continue;
                        }
                        EXPECT_LE(width[code], previous) << where;
                        previous = width[code];
                    }
                    ASSERT_EQ(sum, w) << where;
                    EXPECT_EQ(Cost(bytes, static_cast<int>(spelled->size())), *expected) << where;
                }
            }
        }
        EXPECT_FALSE(spaces.Spell(-1));
    }
}

// Every gap of the board set is exact, and in Shift-JIS costs what the
// cheapest spelling does: a few widths by hand.
TEST(UnicodeSpaces, BoardSetSpellsSmallGapsAsExpected) {
    const UnicodeSpaces board;
    const struct {
        int width;
        bool lineStart;
        std::u32string spelled;
    } cases[] = {
        {1, false, U"\u200A"},           {3, false, U"\u2006"},
        {5, false, U" "},                {5, true, U"\u2004"},
        {10, false, U"\u2007"},          {11, false, U"\u3000"},
        {16, false, U"\u3000 "},         {16, true, U"\u3000 "},
        {21, false, U" \u3000 "},        {21, true, U"\u2003 "},
        {22, false, U"\u3000\u3000"},    {27, false, U"\u3000 \u3000"},
        {32, true, U"\u3000 \u3000 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(board.Spell(c.width, SpaceWriting::ShiftJis, c.lineStart), c.spelled) << c.width;
    }
    for (int w = 1; w <= 800; ++w) EXPECT_TRUE(board.CanSpell(w)) << w;
}

}  // namespace
}  // namespace fudeline
