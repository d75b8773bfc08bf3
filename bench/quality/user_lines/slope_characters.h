// Which characters artists write for a straight line of a given slope: the
// characters whose dark pixels lie along that direction, the most written
// first by the counts of human-made text art the glyph prior was made from
// (fine/glyph_prior_table.h). Level, upright and 45-degree lines have their
// lists written out in the benchmark; the slopes between take theirs here.
#pragma once

#include <set>
#include <string>

#include "glyphs/mona_font.h"

namespace fudeline::bench {

// The `most` most written characters (UTF-8) whose pixels run within
// kSlopeReach degrees of `inkDegrees` (0 level, 90 upright, counted
// anticlockwise with y up, in the ink layer's square pixels).
std::set<std::string> SlopeCharacters(const MonaFont& face, double inkDegrees, int most);

inline constexpr double kSlopeReach = 12;

}  // namespace fudeline::bench
