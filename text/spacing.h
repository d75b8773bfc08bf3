// How the blank pixels between characters are written out: with the
// fillers (full-width spaces and the narrow '.', 'ﾞ', '､', ' '), with
// full- and half-width spaces only, or exactly with Unicode spaces for boards
// that take character references.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "glyphs/mona_font.h"

namespace fudeline {

enum class Spacing { Fillers, Spaces, Unicode };

// "fillers", "spaces" or "unicode"; nothing for anything else.
std::optional<Spacing> ParseSpacing(std::string_view name);
const char* SpacingName(Spacing spacing);

// The Unicode spaces that may spell a gap, narrowest first as the face usually
// draws them (hair, thin, six-per-em, four-per-em, three-per-em, en, figure,
// ideographic, em space).
inline constexpr std::array<char32_t, 9> kUnicodeSpaceCandidates = {
    0x200A, 0x2009, 0x2006, 0x2005, 0x2004, 0x2002, 0x2007, 0x3000, 0x2003};

struct UnicodeSpace {
    char32_t codePoint = 0;
    std::int32_t width = 0;
    bool operator==(const UnicodeSpace&) const = default;
};

// The spaces a face holds and how wide it draws them, and the exact spelling
// of any gap with them. Faces hold few of the candidates (the Mona face of
// xfonts-mona draws only U+2009, U+2002 and U+3000, all of even width but
// the last), so one half-width space may end a spelling: boards keep a single
// one between characters, and it makes the odd widths from 5 up spellable.
class UnicodeSpaces {
  public:
    // Measures the candidates in `font`: a candidate the face lacks, draws
    // with a dark pixel, or draws with no width is left out.
    explicit UnicodeSpaces(const MonaFont& font);
    // Given widths, for tests and for faces measured elsewhere; 0 for no
    // half-width space.
    explicit UnicodeSpaces(std::vector<UnicodeSpace> spaces, std::int32_t halfWidthSpace = 0);

    const std::vector<UnicodeSpace>& spaces() const { return spaces_; }

    // Whether `width` pixels can be spelled exactly (0 always can).
    bool CanSpell(std::int32_t width) const;

    // The fewest spaces whose widths add up to exactly `width`, widest first
    // and at most one half-width space, last (empty for 0); nothing when no
    // such sum gives `width`.
    std::optional<std::u32string> Spell(std::int32_t width) const;

    std::int32_t halfWidthSpace() const { return halfWidth_; }

  private:
    void BuildTable();
    std::optional<std::u32string> SpellUnicode(std::int32_t width) const;

    std::vector<UnicodeSpace> spaces_;
    std::int32_t halfWidth_ = 0;
    // For widths below the table's size: how many spaces at least, and the
    // widest one of such a spelling (-1: cannot be spelled).
    std::vector<std::int32_t> fewest_;
    std::vector<std::int32_t> widestChoice_;
};

}  // namespace fudeline
