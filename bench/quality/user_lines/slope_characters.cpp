#include "bench/quality/user_lines/slope_characters.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "fine/fine_cost.h"
#include "fine/glyph_prior_table.h"
#include "glyphs/cp932.h"
#include "glyphs/utf8.h"

namespace fudeline::bench {
namespace {

constexpr double kPi = 3.141592653589793;
// A character is a line when its pixels lie within about a pixel of their
// main direction (root mean square across it, squared) and run along it at
// least this many times farther than across (variances).
constexpr double kLineElongation = 6;
constexpr double kMostAcross = 0.8;
constexpr int kLeastPixels = 5;

struct Direction {
    double degrees = 0;  // 0-180
    bool line = false;
};

// The main direction of a glyph's dark pixels: the principal axis of their
// spread, with y up.
Direction DirectionOf(const FontGlyph& glyph) {
    std::vector<std::pair<double, double>> points;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < glyph.advance; ++x) {
            if (glyph.dark[static_cast<std::size_t>(y * glyph.advance + x)]) points.push_back({x, 15 - y});
        }
    }
    if (static_cast<int>(points.size()) < kLeastPixels) return {};
    double mx = 0, my = 0;
    for (const auto& [x, y] : points) {
        mx += x;
        my += y;
    }
    mx /= static_cast<double>(points.size());
    my /= static_cast<double>(points.size());
    double xx = 0, yy = 0, xy = 0;
    for (const auto& [x, y] : points) {
        xx += (x - mx) * (x - mx);
        yy += (y - my) * (y - my);
        xy += (x - mx) * (y - my);
    }
    const double half = (xx + yy) / 2, root = std::sqrt((xx - yy) * (xx - yy) / 4 + xy * xy);
    const double along = half + root, across = half - root;
    double degrees = 0.5 * std::atan2(2 * xy, xx - yy) * 180 / kPi;
    if (degrees < 0) degrees += 180;
    const double n = static_cast<double>(points.size());
    // A pixel's own width across: a one-pixel line is a line, however short.
    return {degrees, across / n <= kMostAcross && along >= kLineElongation * (across + 0.1 * n)};
}

double AngleBetween(double a, double b) {
    const double d = std::fmod(std::abs(a - b), 180.0);
    return std::min(d, 180 - d);
}

}  // namespace

std::set<std::string> SlopeCharacters(const MonaFont& face, double inkDegrees, int most) {
    std::vector<std::pair<int, std::string>> found;  // (log frequency, UTF-8)
    for (std::size_t i = 0; i < kPriorCharacterCount; ++i) {
        const PriorCharacter& c = kPriorCharacters[i];
        const std::string utf8 = Utf8Of(c.code);
        const Result<std::string> sjis = Utf8ToCp932(utf8);
        if (!sjis) continue;
        const auto glyphs = FaceGlyphs(face, *sjis);
        if (glyphs.size() != 1 || !glyphs[0]) continue;
        const Direction d = DirectionOf(*glyphs[0]);
        if (d.line && AngleBetween(d.degrees, inkDegrees) <= kSlopeReach) found.push_back({c.logFrequency, utf8});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::set<std::string> out;
    for (const auto& [frequency, utf8] : found) {
        if (static_cast<int>(out.size()) >= most) break;
        out.insert(utf8);
    }
    return out;
}

}  // namespace fudeline::bench
