#include "fine/fine_decoder.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <string_view>
#include <unordered_set>

#include "glyphs/cp932.h"
#include "glyphs/utf8.h"
#include "text/gap_composer.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

constexpr std::int32_t kUnreachable = std::numeric_limits<std::int32_t>::max() / 4;
constexpr int kFullWidthSpaceWidth = 11;
constexpr int kHalfWidthSpaceWidth = 5;
// The two-byte characters the catalogue's ranges hold: symbols, kana, Greek,
// Cyrillic and box drawing, before the kanji.
constexpr int kRangesFirst = 0x8140, kRangesLast = 0x84BE;

// The catalogue's characters (text and width only), then with `wholeRanges`
// every other character of its ranges (one byte 0x21 to 0xDF, two bytes 0x8140
// to 0x84BE) and every character text artists were counted writing, at the
// width the face draws it.
GlyphCatalog PlaceableGlyphs(const GlyphCatalog& catalog, const MonaFont& font, bool wholeRanges) {
    GlyphCatalog list;
    std::unordered_set<std::string> listed;
    for (const Glyph& glyph : catalog) {
        list.push_back({{}, glyph.width, glyph.text, 0, 0});
        listed.insert(glyph.text);
    }
    if (!wholeRanges) return list;
    auto add = [&](std::string text) {
        if (listed.count(text)) return;
        const auto face = FaceGlyphs(font, text);
        if (face.size() != 1 || !face[0]) return;
        listed.insert(text);
        list.push_back({{}, face[0]->advance, std::move(text), 0, 0});
    };
    for (int byte = 0x21; byte <= 0xDF; ++byte) {
        if (byte != 0x7F) add(std::string(1, static_cast<char>(byte)));
    }
    for (int code = kRangesFirst; code <= kRangesLast; ++code) {
        const int trail = code & 0xFF;
        if (trail < 0x40 || trail == 0x7F || trail > 0xFC) continue;
        add({static_cast<char>(code >> 8), static_cast<char>(trail)});
    }
    // Last, the rest of what artists write (kanji for their shapes: 人 in a
    // mouth, 三 and 彡 for hair, 丶 and 丿 for strokes), placed only where
    // drawn exactly (ScoredGlyphCount).
    for (std::size_t i = 0; i < kPriorCharacterCount; ++i) {
        if (Result<std::string> sjis = Utf8ToCp932(Utf8Of(kPriorCharacters[i].code))) {
            add(std::move(*sjis));
        }
    }
    return list;
}

// How many of PlaceableGlyphs' list are scored against any ink: the catalogue
// and its ranges. Scoring costs by the distinct columns the glyphs draw, and
// the few hundred kanji artists write draw as many again as all the rest; a
// hand's line never asks for one, so they stand only where the ink is their
// exact drawing (text drawn with the face, or opened), found by hash.
std::size_t ScoredGlyphCount(const GlyphCatalog& list, std::size_t catalogSize) {
    auto inRanges = [](const std::string& text) {
        if (text.size() == 1) return true;
        const int code =
            (static_cast<unsigned char>(text[0]) << 8) | static_cast<unsigned char>(text[1]);
        return code >= kRangesFirst && code <= kRangesLast;
    };
    std::size_t count = catalogSize;
    while (count < list.size() && inRanges(list[count].text)) ++count;
    return count;
}

}  // namespace

struct FineDecoder::Solution {
    RowMasks masks;
    RowScores scores;  // the cheapest glyph of each width at each start
    ExactRow exact;    // the glyph the ink draws exactly at each start, by width
    std::array<std::int32_t, kColumns + 1> best;  // cheapest row prefix ending at x
    std::array<std::int32_t, kColumns + 1> glyphStart;  // the glyph ending at x starts here
    std::array<std::int32_t, kColumns + 1> gapStart;    // and the spacing before it here
    std::array<std::int32_t, kColumns + 1> glyph;       // its catalogue index
    std::int32_t cost = 0;
    std::int32_t end = 0;  // where the last glyph ends
};

FineDecoder::FineDecoder(const GlyphCatalog& catalog, const MonaFont& font, FineOptions options,
                         ScorerIsa isa)
    : glyphList_(PlaceableGlyphs(catalog, font, options.rangeCharacters)),
      options_(options),
      glyphs_(GlyphCatalog(glyphList_.begin(),
                           glyphList_.begin() + static_cast<std::ptrdiff_t>(
                                                    ScoredGlyphCount(glyphList_, catalog.size()))),
              font, isa),
      exact_(glyphList_, font, [](const Glyph& g) { return GlyphPrior(g.text); }) {
    BuildGapTable(font);
    exactCost_.reserve(glyphList_.size());
    for (const Glyph& glyph : glyphList_) {
        std::int32_t pixels = 0;
        for (const FontGlyph* face : FaceGlyphs(font, glyph.text)) {
            if (!face) continue;
            for (int x = 0; x < face->advance; ++x) pixels += std::popcount(DarkColumn(*face, x));
        }
        // Every dark pixel on ink and every ink pixel under one (CountWeights),
        // and the gain of an exact drawing.
        exactCost_.push_back(GlyphPrior(glyph.text) +
                             pixels * (CountWeights::far + CountWeights::missed +
                                       CountWeights::exact + CountWeights::near1 +
                                       CountWeights::near2 + CountWeights::reach1 +
                                       CountWeights::reach2 - kExactGlyphGain));
    }
    followClass_.reserve(glyphList_.size());
    for (const Glyph& glyph : glyphList_) {
        followClass_.push_back(static_cast<std::uint8_t>(GlyphFollowClass(glyph.text)));
    }
    if (options_.following) {
        follow_ = FollowingCosts();
        std::int32_t least = 0, most = 0;
        for (const auto& row : follow_) {
            least = std::min<std::int32_t>(least, *std::min_element(row.begin(), row.end()));
            most = std::max<std::int32_t>(most, *std::max_element(row.begin(), row.end()));
        }
        followSpread_ = most - least;
    }
}

void FineDecoder::BuildGapTable(const MonaFont& font) {
    fillerBegin_.assign(kColumns + 2, 0);
    for (int gap = 0; gap <= kColumns; ++gap) {
        fillerBegin_[static_cast<std::size_t>(gap)] =
            static_cast<std::uint32_t>(fillerColumns_.size());
        if (!GapAllowed(gap, false) && !GapAllowed(gap, true)) continue;
        if (options_.unicodeSpaces) continue;  // blank spaces: no filler pixels
        std::int32_t x = 0, pixels = 0;
        for (const FontGlyph* glyph : FaceGlyphs(font, ComposeGap(gap))) {
            if (!glyph) continue;
            for (int c = 0; c < glyph->advance; ++c) {
                const std::uint16_t dark = DarkColumn(*glyph, c);
                if (dark != 0 && x + c < gap) {
                    fillerColumns_.push_back({x + c, dark});
                    pixels += std::popcount(dark);
                }
            }
            x += glyph->advance;
        }
        mostFillerGain_ = std::max(mostFillerGain_, pixels * kOnInkGain);
    }
    fillerBegin_[kColumns + 1] = static_cast<std::uint32_t>(fillerColumns_.size());
}

bool FineDecoder::GapAllowed(std::int32_t width, bool atLineStart) const {
    if (width == 0) return true;
    if (options_.unicodeSpaces) return options_.unicodeSpaces->CanSpell(width);
    if (width < 3) return false;
    if (!options_.noFillers) return true;
    const std::int32_t rest = width % kFullWidthSpaceWidth;
    if (rest == 0) return true;
    // A half-width space ends the spacing, right before the glyph; alone at a
    // line's start it would be eaten by editors and shift the line.
    return rest == kHalfWidthSpaceWidth && !(atLineStart && width == kHalfWidthSpaceWidth);
}

void FineDecoder::ReadRow(const Image& ink, int row, RowMasks& masks) {
    // Ink rows 16 row - 2 to 16 row + 17 as bits 0 to 19 of each column.
    std::array<std::uint32_t, kColumns + 4> band{};
    const int top = row * kInkRowHeight - 2;
    const int width = std::min(ink.width(), kColumns);
    for (int r = 0; r < kInkRowHeight + 4; ++r) {
        const int y = top + r;
        if (y < 0 || y >= ink.height()) continue;
        const std::uint32_t* pixels = ink.Row(y);
        for (int x = 0; x < width; ++x) {
            if (pixels[x] == kBlack) band[static_cast<std::size_t>(x + 2)] |= 1u << r;
        }
    }
    for (int x = 0; x < kColumns; ++x) {
        const auto c = static_cast<std::size_t>(x + 2);
        const std::uint32_t near1 = WithinOne(band[c - 1], band[c], band[c + 1]);
        const std::uint32_t near2 =
            WithinTwo(band[c - 2], band[c - 1], band[c], band[c + 1], band[c + 2]);
        masks.near1[static_cast<std::size_t>(x)] = static_cast<std::uint16_t>(near1 >> 2);
        masks.near2[static_cast<std::size_t>(x)] = static_cast<std::uint16_t>(near2 >> 2);
        masks.target[static_cast<std::size_t>(x)] = static_cast<std::uint16_t>(band[c] >> 2);
        masks.inkBefore[static_cast<std::size_t>(x + 1)] =
            masks.inkBefore[static_cast<std::size_t>(x)] +
            std::popcount(masks.target[static_cast<std::size_t>(x)]);
    }
}

std::int32_t FineDecoder::FillerCost(const RowMasks& masks, std::int32_t x,
                                     std::int32_t gap) const {
    std::int32_t cost = 0;
    const auto begin = fillerBegin_[static_cast<std::size_t>(gap)];
    const auto end = fillerBegin_[static_cast<std::size_t>(gap) + 1];
    // A filler's pixels pay as a glyph's do; the ink under spacing is missed
    // whatever the fillers draw, and is charged by the caller.
    for (auto i = begin; i < end; ++i) {
        const FillerColumn& f = fillerColumns_[i];
        const auto c = static_cast<std::size_t>(x + f.offset);
        auto count = [&](std::uint16_t mask) {
            return std::popcount(static_cast<std::uint16_t>(f.dark & mask));
        };
        const int onInk = count(masks.target[c]), oneOff = count(masks.near1[c]) - onInk;
        const int twoOff = count(masks.near2[c]) - onInk - oneOff;
        const int far = std::popcount(f.dark) - onInk - oneOff - twoOff;
        cost += kOneOffCost * oneOff + kTwoOffCost * twoOff + kFarFillerCost * far -
                kOnInkGain * onInk;
    }
    return cost;
}

void FineDecoder::Solve(const Image& ink, int row, Solution& s) const {
    ReadRow(ink, row, s.masks);
    const RowMasks& m = s.masks;
    s.best.fill(kUnreachable);
    s.best[0] = 0;
    // The reached x so far, with best[x] less the ink left of x (what the
    // spacing from x is charged doesn't depend on x beyond its fillers), and
    // the smallest such value up to each.
    struct Reached {
        std::int32_t x, base, lowestBase;
    };
    thread_local std::vector<Reached> reached;
    reached.clear();
    // Columns whose next 16 hold ink or lie near it: the only glyph starts.
    int nearAhead = 0;
    std::array<bool, kColumns> scored{};
    for (int x = kColumns - 1; x >= 0; --x) {
        nearAhead = m.near2[static_cast<std::size_t>(x)] != 0 ? 16 : std::max(0, nearAhead - 1);
        scored[static_cast<std::size_t>(x)] = nearAhead > 0;
    }
    glyphs_.ScoreRow(m, scored, s.scores);
    exact_.Find(m.target, s.exact);
    // Fillers fill 3 pixels or more; Unicode spaces down to their narrowest.
    const int leastGap = options_.unicodeSpaces ? 1 : 3;
    for (int y = 0; y < kColumns; ++y) {
        const auto yi = static_cast<std::size_t>(y);
        if (s.best[yi] < kUnreachable) {
            const std::int32_t base = s.best[yi] - kMissedInkCost * m.inkBefore[yi];
            const std::int32_t lowest =
                reached.empty() ? base : std::min(base, reached.back().lowestBase);
            reached.push_back({y, base, lowest});
        }
        if (!scored[yi]) continue;
        // Two ways to arrive at y: right after the glyph ending there (at a
        // line's start, as after spacing), or after spacing, the cheapest.
        // What the next glyph costs depends on which came before it.
        const std::int32_t direct = s.best[yi];
        const std::size_t directClass =
            y == 0 || direct >= kUnreachable
                ? kPriorAfterSpacing
                : followClass_[static_cast<std::size_t>(s.glyph[yi])];
        std::int32_t afterGap = kUnreachable;
        std::int32_t gapFrom = y;
        // Spacing matters only where it beats the direct way by less than
        // the pair costs can differ.
        const std::int32_t worthGap = direct >= kUnreachable ? kUnreachable : direct + followSpread_;
        const std::int32_t inkBeforeY = kMissedInkCost * m.inkBefore[yi];
        for (auto it = reached.rbegin(); it != reached.rend(); ++it) {
            if (it->x > y - leastGap) continue;
            // No spacing from here or farther left can do better.
            if (it->lowestBase + inkBeforeY - mostFillerGain_ >= std::min(afterGap, worthGap)) break;
            const std::int32_t gap = y - it->x;
            if (!GapAllowed(gap, it->x == 0)) continue;
            const std::int32_t cost = it->base + inkBeforeY + FillerCost(m, it->x, gap);
            if (cost < afterGap) {
                afterGap = cost;
                gapFrom = it->x;
            }
        }
        if (direct >= kUnreachable && afterGap >= kUnreachable) continue;
        const auto& afterGlyphCost = follow_[directClass];
        const auto& afterGapCost = follow_[kPriorAfterSpacing];
        for (std::size_t group = 0; group < glyphs_.widthCount(); ++group) {
            const int end = y + glyphs_.width(group);
            if (end > kColumns) continue;
            const auto ei = static_cast<std::size_t>(end);
            const std::int32_t inkUnder = m.inkBefore[ei] - m.inkBefore[yi];
            std::int32_t cost = 0;
            std::int32_t chosen = glyphs_.Least(s.scores, group, y, inkUnder, cost);
            const std::int16_t drawn =
                s.exact.glyph[static_cast<std::size_t>(glyphs_.width(group))][yi];
            if (drawn >= 0 && exactCost_[static_cast<std::size_t>(drawn)] < cost) {
                cost = exactCost_[static_cast<std::size_t>(drawn)];
                chosen = drawn;
            }
            const std::size_t k = followClass_[static_cast<std::size_t>(chosen)];
            std::int32_t arrive = direct >= kUnreachable ? kUnreachable : direct + afterGlyphCost[k];
            std::int32_t from = y;
            if (afterGap < kUnreachable && afterGap + afterGapCost[k] < arrive) {
                arrive = afterGap + afterGapCost[k];
                from = gapFrom;
            }
            if (arrive + cost >= s.best[ei]) continue;
            s.best[ei] = arrive + cost;
            s.glyphStart[ei] = y;
            s.gapStart[ei] = from;
            s.glyph[ei] = chosen;
        }
    }
    // The row ends after its last glyph; the ink beyond is missed.
    s.cost = kUnreachable;
    for (int x = 0; x <= kColumns; ++x) {
        const auto xi = static_cast<std::size_t>(x);
        if (s.best[xi] >= kUnreachable) continue;
        const std::int32_t cost =
            s.best[xi] + kMissedInkCost * (m.inkBefore[kColumns] - m.inkBefore[xi]);
        if (cost < s.cost) {
            s.cost = cost;
            s.end = x;
        }
    }
}

TextRow FineDecoder::DecodeRow(const Image& ink, int row) const {
    thread_local Solution s;
    Solve(ink, row, s);
    TextRow cells;
    for (std::int32_t x = s.end; x > 0;) {
        const auto xi = static_cast<std::size_t>(x);
        const std::int32_t start = s.glyphStart[xi];
        const Glyph& glyph = glyphList_[static_cast<std::size_t>(s.glyph[xi])];
        const std::int32_t gapStart = s.gapStart[xi];
        cells.push_back({start - gapStart, glyph.text, glyph.width});
        x = gapStart;
    }
    std::reverse(cells.begin(), cells.end());
    return cells;
}

std::int64_t FineDecoder::RowCost(const Image& ink, int row) const {
    thread_local Solution s;
    Solve(ink, row, s);
    return s.cost;
}

}  // namespace fudeline
