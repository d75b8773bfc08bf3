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

TEST(UnicodeSpaces, AreMeasuredFromTheFaceAndDrawNothing) {
    const UnicodeSpaces spaces(TestFont());
    ASSERT_FALSE(spaces.spaces().empty());
    EXPECT_EQ(spaces.halfWidthSpace(), 5);
    // The face tested with spells every width from 10 up.
    for (int w = 10; w < 800; ++w) EXPECT_TRUE(spaces.CanSpell(w)) << w;
    // Widths as the Mona face is known to draw them; a face without one of
    // them simply leaves it out.
    const std::map<char32_t, int> known = {{0x200A, 1}, {0x2009, 2},  {0x2006, 3},
                                           {0x2005, 4}, {0x2004, 5},  {0x2002, 8},
                                           {0x2007, 10}, {0x3000, 11}, {0x2003, 16}};
    for (const UnicodeSpace& s : spaces.spaces()) {
        const FontGlyph* glyph = TestFont().GlyphFor(s.codePoint);
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(glyph->advance, s.width);
        EXPECT_EQ(known.at(s.codePoint), s.width) << std::hex << static_cast<unsigned>(s.codePoint);
    }
}

// The fewest spaces for every width, by plain search over all counts.
std::vector<int> FewestByPlainSearch(const std::vector<int>& widths, int most, int half) {
    const int none = std::numeric_limits<int>::max();
    std::vector<int> fewest(static_cast<std::size_t>(most) + 1, none);
    fewest[0] = 0;
    for (int w = 1; w <= most; ++w) {
        for (const int s : widths) {
            if (s <= w && fewest[static_cast<std::size_t>(w - s)] != none) {
                fewest[static_cast<std::size_t>(w)] =
                    std::min(fewest[static_cast<std::size_t>(w)],
                             fewest[static_cast<std::size_t>(w - s)] + 1);
            }
        }
    }
    if (half == 0) return fewest;
    std::vector<int> withHalf = fewest;
    for (int w = half; w <= most; ++w) {
        if (fewest[static_cast<std::size_t>(w - half)] != none) {
            withHalf[static_cast<std::size_t>(w)] = std::min(
                withHalf[static_cast<std::size_t>(w)], fewest[static_cast<std::size_t>(w - half)] + 1);
        }
    }
    return withHalf;
}

TEST(UnicodeSpaces, SpellEveryWidthExactlyWithTheFewestWidestFirst) {
    struct Case {
        const char* name;
        std::vector<UnicodeSpace> spaces;
        int half = 0;
    };
    const std::vector<Case> cases = {
        {"the Mona set", {{0x200A, 1}, {0x2009, 2}, {0x2006, 3}, {0x2005, 4}, {0x2004, 5},
                          {0x2002, 8}, {0x2007, 10}, {0x3000, 11}, {0x2003, 16}}},
        {"no hair space", {{0x2009, 2}, {0x2006, 3}, {0x3000, 11}}},
        {"even widths only", {{0x2009, 2}, {0x2002, 8}}},
        {"the xfonts-mona set", {{0x2009, 2}, {0x2002, 8}, {0x3000, 11}}, 5},
        {"a half-width space alone", {}, 5},
    };
    for (const Case& c : cases) {
        const UnicodeSpaces spaces(c.spaces, c.half);
        std::map<char32_t, int> width = {{U' ', c.half}};
        std::vector<int> widths;
        for (const UnicodeSpace& s : c.spaces) {
            width[s.codePoint] = s.width;
            widths.push_back(s.width);
        }
        const std::vector<int> fewest = FewestByPlainSearch(widths, 2100, c.half);
        for (int w = 0; w <= 2100; ++w) {
            const auto spelled = spaces.Spell(w);
            const bool possible = fewest[static_cast<std::size_t>(w)] != std::numeric_limits<int>::max();
            ASSERT_EQ(spelled.has_value(), possible) << c.name << " width " << w;
            ASSERT_EQ(spaces.CanSpell(w), possible);
            if (!spelled) continue;
            int sum = 0, previous = std::numeric_limits<int>::max();
            // At most one half-width space, and only last.
            const auto half = spelled->find(U' ');
            EXPECT_TRUE(half == std::u32string::npos || half + 1 == spelled->size()) << c.name;
            for (const char32_t code : *spelled) {
                if (code == U' ') {
                    sum += c.half;
                    continue;
                }
                ASSERT_TRUE(width.count(code)) << c.name;
                EXPECT_LE(width[code], previous) << c.name << " width " << w;
                previous = width[code];
                sum += width[code];
            }
            ASSERT_EQ(sum, w) << c.name;
            // Beyond the table the widest space is repeated, which is still
            // fewest for these sets.
            EXPECT_EQ(static_cast<int>(spelled->size()), fewest[static_cast<std::size_t>(w)])
                << c.name << " width " << w;
        }
        EXPECT_FALSE(spaces.Spell(-1));
    }
}

}  // namespace
}  // namespace fudeline
