// How the blank pixels between characters are written out: with the
// fillers (full-width spaces and the narrow '.', 'ﾞ', '､', ' '), with
// full- and half-width spaces only, or exactly with Unicode spaces for boards
// that take character references; and the widths boards give those spaces.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fudeline {

enum class Spacing { Fillers, Spaces, Unicode };

// Whether a gap of `width` blank pixels before a character can be written
// with `spacing`: fillers spell every width but 1 and 2; spaces alone spell
// whole full-width spaces and at most one half-width space after them (not
// a half-width space alone at a line's start, which editors eat); Unicode
// spaces (`unicodeSpaces`, needed for Spacing::Unicode) spell what they sum
// to. 0 is always spelled. The decoders place gaps by this rule, and typed
// words and parts are put where it lets them stand.
class UnicodeSpaces;
bool SpacingSpells(Spacing spacing, const UnicodeSpaces* unicodeSpaces, std::int32_t width,
                   bool lineStart);

// "fillers", "spaces" or "unicode"; nothing for anything else.
std::optional<Spacing> ParseSpacing(std::string_view name);
const char* SpacingName(Spacing spacing);

// The widths boards give the blank characters artists write, in pixels of
// the 16-pixel board font (the MS P Gothic metrics that text art is drawn
// to): hair, thin, six-per-em, four-per-em, three-per-em, en, figure and em
// space, the ideographic (full-width) space and the half-width space. Every
// drawer takes these widths from here and draws the characters blank,
// whether the bitmap face holds them or not.
inline constexpr std::array<std::pair<char32_t, std::int32_t>, 10> kBoardSpaceWidths = {{
    {0x200A, 1}, {0x2009, 2}, {0x2006, 3}, {0x2005, 4}, {0x2004, 5},
    {0x2002, 8}, {0x2007, 10}, {0x3000, 11}, {0x2003, 16}, {0x0020, 5},
}};

// The board width of a blank character of the table above; nothing for any
// other character.
std::optional<std::int32_t> BoardSpaceWidth(char32_t code);

// The width boards give a CJK ideograph the face may lack: a full-width cell
// (every ideograph the face holds is as wide). Opened text art keeps such a
// character as text at this width, with no pixels to draw; nothing for any
// other character, whose width on a board is not known.
inline constexpr std::int32_t kIdeographWidth = 16;
std::optional<std::int32_t> BoardIdeographWidth(char32_t code);

struct UnicodeSpace {
    char32_t codePoint = 0;
    std::int32_t width = 0;
    bool operator==(const UnicodeSpace&) const = default;
};

// How the spaces of a gap are written out, which decides what each costs:
// Shift-JIS (the full-width space as 0x8140, the others as references such
// as "&#8202;"), UTF-8 as characters, or UTF-8 with references for boards
// that would mangle the characters.
enum class SpaceWriting { ShiftJis, Utf8, Utf8References };
inline constexpr std::size_t kSpaceWritingCount = 3;

// The bytes `code` (a space of a spelling) takes when written `writing`.
std::int32_t SpaceBytes(char32_t code, SpaceWriting writing);

// The spaces that spell a gap exactly, and the spelling of any gap with the
// fewest bytes. The half-width space may appear more than once but never
// twice in a row, and never first in a line where another spelling exists
// (boards drop leading and doubled ASCII blanks).
class UnicodeSpaces {
  public:
    // The board set: every space of kBoardSpaceWidths at its board width.
    UnicodeSpaces();
    // Given widths, for tests; 0 for no half-width space.
    explicit UnicodeSpaces(std::vector<UnicodeSpace> spaces, std::int32_t halfWidthSpace = 0);

    // Without the half-width space, narrowest first.
    const std::vector<UnicodeSpace>& spaces() const { return spaces_; }

    // Whether `width` pixels can be spelled exactly (0 always can).
    bool CanSpell(std::int32_t width) const;

    // The spelling of exactly `width` pixels with the fewest bytes when
    // written `writing` (of those, the fewest characters), the other spaces
    // widest first with each half-width space after one of them (one leads
    // when there is one more of them than of the others; empty for 0);
    // nothing when no sum gives `width`. `lineStart`: the gap opens its
    // line, so a half-width space comes first only if nothing else spells it.
    std::optional<std::u32string> Spell(std::int32_t width,
                                        SpaceWriting writing = SpaceWriting::ShiftJis,
                                        bool lineStart = false) const;

    std::int32_t halfWidthSpace() const { return halfWidth_; }

  private:
    // One dynamic programme per writing, over widths below the table's size:
    // a spelling is a bag of units, each a space alone or a half-width space
    // followed by a space, and maybe one half-width space at its end.
    struct Choice {
        std::int32_t bytes = 0;
        std::int32_t characters = 0;
        std::int32_t unit = -1;  // the unit taken last; -1: cannot be spelled
        bool restWithPlain = false;  // the rest is a spelling with a plain unit
    };
    struct Table {
        std::vector<Choice> any;       // any units
        std::vector<Choice> withPlain;  // at least one unit of a space alone
    };
    void BuildTables();
    std::optional<std::u32string> SpellTable(const Table& table, SpaceWriting writing,
                                             std::int32_t width, bool lineStart) const;

    std::vector<UnicodeSpace> spaces_;
    std::int32_t halfWidth_ = 0;
    std::array<Table, kSpaceWritingCount> tables_;
};

}  // namespace fudeline
