// What the fine decoder minimises, in tenths of a pixel.
//
// A thin pen line must come back as thin strokes lying on it, not as bold
// glyphs lying over it. So every dark pixel a row draws pays by how far it
// lies from ink: on ink it earns a little, one or two pixels off it costs a
// little, farther a lot. Every ink pixel pays by how far the nearest dark
// pixel of the glyph over it lies: nothing when covered exactly, a little one
// or two pixels off, in full when missed. A bold stroke over a thin line thus
// pays for its extra pixels, and a stroke a pixel beside the line still beats
// leaving the line out. (One and two pixels off may be weighed apart; on the
// round trip, the pen drawings and the traced pictures that changed nothing
// measurable, and equal weights let the scorer skip two of its five counts.)
//
// A hand never lies exactly on the pixels of the glyph it means: a stroke
// wanders a pixel along its length. So lying on ink is worth little more than
// lying a pixel beside it (0.2 against 0.1 a pixel, each way), and a glyph
// that follows every wander of the line does not beat the straight one an
// artist writes; a far pixel or a missed one still costs in full. Where the
// ink is a glyph's drawing to the last pixel (text drawn with the face, or
// opened and touched up), that glyph earns kExactGlyphGain a pixel more
// (exact_glyphs.h), so a likelier look-alike a pixel aside never wins there.
//
// Each glyph also carries a prior learned from what text artists write
// (glyph_prior_table.h): the characters they use most cost least, those they
// never use most, so that of two glyphs that follow a shaky line about as
// well the one an artist would have picked wins (`｜` for an upright stroke,
// not `Ι` or `┃`). With FineOptions::following, a glyph's cost after the
// glyph before it, or after spacing, moves by how much likelier artists write
// that pair than chance.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fine/glyph_prior_table.h"
#include "glyphs/mona_font.h"

namespace fudeline {

// A dark pixel drawn, by its distance to the nearest ink pixel.
inline constexpr std::int32_t kOnInkGain = 2;       // 0: earns 0.2
inline constexpr std::int32_t kOneOffCost = 1;      // 1 (a 4-neighbour of ink)
inline constexpr std::int32_t kTwoOffCost = 1;      // within 2 (Euclidean)
inline constexpr std::int32_t kFarPixelCost = 14;   // farther
// More than 3 px (Euclidean) from ink, a dark pixel costs kBeyondCost more: a
// line may be moved a pixel or three to the character that draws it
// straight, not farther, or the move shows as a mark beside the drawing.
inline constexpr std::int32_t kBeyondCost = 10;
// A filler's dark pixel far from ink: a dot in empty paper reads as noise,
// worse than a line moved a few pixels to where plain spaces can put it.
inline constexpr std::int32_t kFarFillerCost = 120;
// An ink pixel of the row, by its distance to the nearest dark pixel over it.
inline constexpr std::int32_t kInkOneOffCost = 1;   // 1
inline constexpr std::int32_t kInkTwoOffCost = 1;   // within 2
inline constexpr std::int32_t kMissedInkCost = 12;  // farther, or under spacing
// A glyph whose columns hold exactly its dark pixels, a pixel of it.
inline constexpr std::int32_t kExactGlyphGain = 6;

// The cost of a glyph as a sum of its pixel counts: with P its dark pixels,
// E those on ink, N1 and N2 those within 1 and 2 px of ink, R1 and R2 the
// ink pixels within 1 and 2 px of its dark ones and I the ink under it,
//   cost = far P + missed I + exact E + near1 N1 + near2 N2 + reach1 R1 + reach2 R2
//          + beyond B,
// B its dark pixels more than 3 px from ink, counted where the face draws
// them (a level stroke weighed a line or three moved is counted unmoved).
struct CountWeights {
    static constexpr std::int32_t far = kFarPixelCost;
    static constexpr std::int32_t missed = kMissedInkCost;
    static constexpr std::int32_t exact = -(kOnInkGain + kOneOffCost + kInkOneOffCost);
    static constexpr std::int32_t near1 = kOneOffCost - kTwoOffCost;
    static constexpr std::int32_t near2 = kTwoOffCost - kFarPixelCost;
    static constexpr std::int32_t reach1 = kInkOneOffCost - kInkTwoOffCost;
    static constexpr std::int32_t reach2 = kInkTwoOffCost - kMissedInkCost;
    static constexpr std::int32_t beyond = kBeyondCost;
};

// An artist moves a line to the character that draws it straight, and to
// where spaces can put that character. A level stroke may be weighed up to
// kLevelMoveReach lines up or down, at kMoveCost a dark pixel a line; a run of
// touching glyphs may be moved up to kMostMove columns across (what spaces
// alone need to reach any column), at kMoveCost for each pixel a dark pixel
// ends up farther from the ink, and a tenth a column.
inline constexpr std::int32_t kMoveCost = 1;
inline constexpr int kLevelMoveReach = 3;
inline constexpr int kMostMove = 6;
// Between kept characters, where both ends of a span are fixed, a run may go
// as far as a full-width space, at kFarMoveCost a glyph a column beyond
// kMostMove.
inline constexpr int kMostMoveBetweenKept = 11;
inline constexpr std::int32_t kFarMoveCost = 40;

// How far outside its 16 ink rows a row's decoding looks: ink this close to
// a band changes the band's row.
inline constexpr int kFineDecoderReach = 2;

// What placing the character `sjis` costs before its pixels are counted: its
// log-frequency in human-made text art, kPriorWeight tenths of a pixel per
// nat below the most written character, which costs 1 (every glyph costs a
// little, so that of two rows drawing the same pixels the one with fewer
// characters wins).
//
// A glyph the ink does not draw exactly costs kGlyphCost more: of two rows
// drawing about the same pixels of a user's line, the one with fewer
// characters wins (a line, not a row of dots along it), and a pixel or two
// the glyphs leave over is not worth a mark of its own. Text drawn with the
// face keeps every mark it has.
inline constexpr std::int32_t kGlyphCost = 8;
// Without fillers, a mark (a glyph of kMarkPixels dark pixels or fewer: a
// dot, a tick) the ink does not draw exactly costs kMarkCost more: no dot
// stands where a line ends or bends, nor to make the widths of a line add up
// between kept characters.
inline constexpr std::int32_t kMarkCost = 16;
inline constexpr std::int32_t kMarkPixels = 4;
// With fillers (or Unicode spaces) such a mark costs kFillersMarkCost more: a
// dot spent on a pixel or two of a line at a band's edge reads as a stray
// mark, yet artists' own dots, redrawn by an unsteady hand, must still come
// back (more than this and fewer than 7 in 10 of their characters did).
inline constexpr std::int32_t kFillersMarkCost = 4;
inline constexpr std::int32_t kPriorWeight = 4;
std::int32_t GlyphPrior(std::string_view sjis);

// What a glyph the ink does not draw exactly costs beyond GlyphPrior: kGlyphCost,
// the prior again at kDrawnPriorWeight tenths of a pixel a nat, and kLetterCost
// for a letter or a digit (but l, i, I and ｌ, which artists write as upright
// strokes). A hand's line is drawn with the characters artists draw lines with:
// the rare ones won a stroke's bend by a pixel and scattered a face over two
// dozen characters, and a t or a Z in an eye reads as a word, not a line. Text
// drawn with the face (opened, typed, traced) is read exactly and pays none of it.
inline constexpr std::int32_t kDrawnPriorWeight = 2;
inline constexpr std::int32_t kLetterCost = 40;
std::int32_t DrawnGlyphCost(std::string_view sjis);

// Which class of kPriorFollowing `sjis` belongs to (kPriorOtherClass for most).
std::int32_t GlyphFollowClass(std::string_view sjis);

// What a glyph of class `next` costs more (or less) right after one of class
// `previous` (kPriorAfterSpacing after spacing or at a line's start): the log
// of how much likelier artists write the pair than chance, kFollowWeight
// tenths of a pixel per nat, within kFollowLimit either way so that no pair
// outweighs the ink.
inline constexpr std::int32_t kFollowWeight = 4;
inline constexpr std::int32_t kFollowLimit = 12;
using FollowCosts = std::array<std::array<std::int8_t, kPriorClasses + 1>, kPriorClasses + 2>;
const FollowCosts& FollowingCosts();

// The face's glyph for each character of `sjis`, in order; null where it has none.
std::vector<const FontGlyph*> FaceGlyphs(const MonaFont& font, std::string_view sjis);

// Column `x` of `glyph` as 16 bits, bit y for line y.
std::uint16_t DarkColumn(const FontGlyph& glyph, int x);

// The rows within `reach` rows of a set bit.
inline std::uint32_t SpreadRows(std::uint32_t bits, int reach) {
    std::uint32_t out = bits;
    for (int d = 1; d <= reach; ++d) out |= (bits << d) | (bits >> d);
    return out;
}

// Columns `left`, `centre`, `right` widened by the radius-1 disk (the
// 4-neighbours) and by the radius-2 disk, for column `centre`.
inline std::uint32_t WithinOne(std::uint32_t left, std::uint32_t centre, std::uint32_t right) {
    return SpreadRows(centre, 1) | left | right;
}
inline std::uint32_t WithinTwo(std::uint32_t left2, std::uint32_t left, std::uint32_t centre,
                               std::uint32_t right, std::uint32_t right2) {
    // Two rows up and down in the column itself, one in the next columns,
    // none two columns away.
    return SpreadRows(centre, 2) | SpreadRows(left, 1) | SpreadRows(right, 1) | left2 | right2;
}
// Columns `c - 3` to `c + 3` widened by the radius-3 disk, for column c.
inline std::uint32_t WithinThree(const std::uint32_t* columns) {
    const std::uint32_t* c = columns + 3;
    return SpreadRows(c[0], 3) | SpreadRows(c[-1] | c[1] | c[-2] | c[2], 2) | c[-3] | c[3];
}

}  // namespace fudeline
