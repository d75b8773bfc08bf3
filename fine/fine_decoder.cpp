#include "fine/fine_decoder.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "glyphs/cp932.h"
#include "glyphs/utf8.h"
#include "text/gap_composer.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

constexpr std::int32_t kUnreachable = std::numeric_limits<std::int32_t>::max() / 4;
// The rows whose scores are kept between decodings: the canvas's and a few more.
constexpr int kKeptRows = 40;
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

// The drawings the decoder weighs for the first `count` glyphs of `list`:
// each glyph as the face draws it, and each level stroke (five or more dark
// pixels, all but one on one line) also moved up and down by up to
// kLevelMoveReach lines, at kMoveCost a pixel a line. An artist draws a level
// line with the nearest straight character a line or three off it, never
// with a wave that follows it to the pixel.
std::vector<FineShape> ScoredShapes(const GlyphCatalog& list, std::size_t count,
                                    const MonaFont& font, std::int32_t markCost) {
    std::vector<FineShape> shapes;
    for (std::size_t index = 0; index < count; ++index) {
        std::optional<FineShape> drawn = FaceShape(list, index, font);
        if (!drawn) continue;
        FineShape& shape = *drawn;
        std::array<std::int32_t, kFontLineHeight> onLine{};
        std::int32_t pixels = 0;
        for (int x = 0; x < shape.width; ++x) {
            const std::uint16_t dark = shape.dark[static_cast<std::size_t>(x)];
            pixels += std::popcount(dark);
            for (int y = 0; y < kFontLineHeight; ++y) onLine[static_cast<std::size_t>(y)] += (dark >> y) & 1;
        }
        shape.extra += DrawnGlyphCost(list[index].text) + (pixels <= kMarkPixels ? markCost : 0);
        shapes.push_back(shape);
        const auto line = std::max_element(onLine.begin(), onLine.end());
        if (pixels < 5 || *line < pixels - 1) continue;
        std::uint16_t lines = 0;
        for (int x = 0; x < shape.width; ++x) lines |= shape.dark[static_cast<std::size_t>(x)];
        const int top = std::countr_zero(lines), bottom = 15 - std::countl_zero(lines);
        for (int move = -kLevelMoveReach; move <= kLevelMoveReach; ++move) {
            if (move == 0 || top + move < 0 || bottom + move >= kFontLineHeight) continue;
            FineShape moved = shape;
            for (int x = 0; x < shape.width; ++x) {
                auto& dark = moved.dark[static_cast<std::size_t>(x)];
                dark = static_cast<std::uint16_t>(move > 0 ? dark << move : dark >> -move);
            }
            moved.extra += kMoveCost * std::abs(move) * pixels;
            moved.moved = move;
            shapes.push_back(moved);
        }
    }
    return shapes;
}

}  // namespace

struct FineDecoder::Solution {
    RowInk masks;
    const RowScores* scores = nullptr;  // the cheapest glyph of each width at each start
    ExactRow exact;    // the glyph the ink draws exactly at each start, by width
    std::array<std::int32_t, kColumns + 1> best;  // cheapest row prefix ending at x
    std::array<std::int32_t, kColumns + 1> glyphStart;  // the glyph ending at x starts here
    std::array<std::int32_t, kColumns + 1> gapStart;    // and the spacing before it here
    std::array<std::int32_t, kColumns + 1> glyph;       // its catalogue index
    std::array<bool, kColumns + 1> drawnExactly;        // the ink is its drawing
    std::int32_t cost = 0;
    std::int32_t end = 0;  // where the last glyph ends
};

FineDecoder::FineDecoder(const GlyphCatalog& catalog, const MonaFont& font, FineOptions options,
                         ScorerIsa isa)
    : glyphList_(PlaceableGlyphs(catalog, font, options.rangeCharacters)),
      options_(options),
      glyphs_(ScoredShapes(glyphList_, ScoredGlyphCount(glyphList_, catalog.size()), font,
                           MarkCost(options)),
              isa),
      exact_(glyphList_, font, [](const Glyph& g) { return GlyphPrior(g.text); }) {
    BuildGapTable(font);
    exactCost_.reserve(glyphList_.size());
    darkBegin_.reserve(glyphList_.size() + 1);
    for (const Glyph& glyph : glyphList_) {
        darkBegin_.push_back(static_cast<std::uint32_t>(darkColumns_.size()));
        const auto face = FaceGlyphs(font, glyph.text);
        std::int32_t pixels = 0;
        if (face.size() == 1 && face[0]) {
            for (int x = 0; x < face[0]->advance; ++x) {
                const std::uint16_t dark = DarkColumn(*face[0], x);
                if (dark != 0) darkColumns_.push_back({x, dark});
                pixels += std::popcount(dark);
            }
        }
        // Every dark pixel on ink and every ink pixel under one (CountWeights),
        // and the gain of an exact drawing.
        exactCost_.push_back(GlyphPrior(glyph.text) +
                             pixels * (CountWeights::far + CountWeights::missed +
                                       CountWeights::exact + CountWeights::near1 +
                                       CountWeights::near2 + CountWeights::reach1 +
                                       CountWeights::reach2 - kExactGlyphGain));
    }
    darkBegin_.push_back(static_cast<std::uint32_t>(darkColumns_.size()));
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
    const Spacing spacing = options_.unicodeSpaces ? Spacing::Unicode
                            : options_.noFillers   ? Spacing::Spaces
                                                   : Spacing::Fillers;
    return SpacingSpells(spacing, options_.unicodeSpaces, width, atLineStart);
}

std::int32_t FineDecoder::FillerCost(const RowInk& masks, std::int32_t x,
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
        // A dot beside a line is a mark the drawing does not have: only a
        // dot on ink (a dot drawn there) is worth spelling spacing with.
        cost += kFarFillerCost * (oneOff + twoOff + far) - kOnInkGain * onInk;
    }
    return cost;
}

void FineDecoder::Solve(const Image& ink, int row, Span span, bool freeGaps, Solution& s) const {
    ReadRowInk(ink, row, s.masks);
    const RowInk& m = s.masks;
    s.best.fill(kUnreachable);
    s.best[static_cast<std::size_t>(span.left)] = 0;
    // The reached x so far, with best[x] less the ink left of x (what the
    // spacing from x is charged doesn't depend on x beyond its fillers), and
    // the smallest such value up to each and where it was reached.
    struct Reached {
        std::int32_t x, base, lowestBase, lowestX;
    };
    thread_local std::vector<Reached> reached;
    reached.clear();
    // Columns of the span whose next 16 hold ink or lie near it: the only
    // glyph starts.
    int nearAhead = 0;
    std::array<bool, kColumns> scored{};
    for (int x = kColumns - 1; x >= 0; --x) {
        nearAhead = m.near2[static_cast<std::size_t>(x)] != 0 ? 16 : std::max(0, nearAhead - 1);
        scored[static_cast<std::size_t>(x)] = nearAhead > 0 && x >= span.left && x < span.right;
    }
    // Each row keeps its scores from the last time it was decoded on this
    // thread: a mouse move changes a few columns of the row's ink, and only
    // the starts whose glyphs reach them are scored again.
    thread_local std::vector<KeptScores> keptRows;
    thread_local KeptScores elsewhere;  // a row off the canvas: kept for no one
    KeptScores* kept = &elsewhere;
    if (row >= 0 && row < kKeptRows) {
        if (keptRows.size() <= static_cast<std::size_t>(row)) keptRows.resize(static_cast<std::size_t>(row) + 1);
        kept = &keptRows[static_cast<std::size_t>(row)];
    } else {
        elsewhere.scorer = 0;
    }
    glyphs_.ScoreRow(m, scored, *kept);
    s.scores = &kept->scores;
    exact_.Find(m.ink, s.exact);
    // Fillers fill 3 pixels or more; Unicode spaces down to their narrowest.
    const int leastGap = freeGaps || options_.unicodeSpaces ? 1 : 3;
    // A span between kept characters: its first glyph stands at a spacing
    // from the left one, and its last ends at a spacing from the right one,
    // that the options spell where drawn, since no move keeps both.
    const bool bothEnds = span.right < kColumns;
    for (int y = span.left; y < span.right; ++y) {
        const auto yi = static_cast<std::size_t>(y);
        if (s.best[yi] < kUnreachable) {
            const std::int32_t base = s.best[yi] - kMissedInkCost * m.targetBefore[yi];
            // Between kept characters the span's start is not one of the free
            // starts: the spacing from it must be spelled where it is drawn.
            const bool counted = !(freeGaps && bothEnds && y == span.left);
            const bool lower = counted && (reached.empty() || base < reached.back().lowestBase);
            reached.push_back({y, base, lower || reached.empty() ? base : reached.back().lowestBase,
                               lower || reached.empty() ? y : reached.back().lowestX});
            if (!counted) reached.back().lowestBase = kUnreachable;
        }
        if (!scored[yi]) continue;
        // Two ways to arrive at y: right after the glyph ending there (at a
        // line's start, as after spacing), or after spacing, the cheapest.
        // What the next glyph costs depends on which came before it.
        const std::int32_t direct = s.best[yi];
        const std::size_t directClass =
            y == span.left || direct >= kUnreachable
                ? kPriorAfterSpacing
                : followClass_[static_cast<std::size_t>(s.glyph[yi])];
        std::int32_t afterGap = kUnreachable;
        std::int32_t gapFrom = y;
        const std::int32_t inkBeforeY = kMissedInkCost * m.targetBefore[yi];
        if (freeGaps) {
            // Spacing of any width, drawing nothing: the cheapest x left of y.
            auto it = reached.rbegin();
            if (it != reached.rend() && it->x > y - leastGap) ++it;
            if (it != reached.rend() && it->lowestBase < kUnreachable) {
                afterGap = it->lowestBase + inkBeforeY;
                gapFrom = it->lowestX;
            }
            if (bothEnds && y - span.left >= leastGap && !reached.empty() &&
                reached.front().x == span.left && GapAllowed(y - span.left, span.left == 0)) {
                const std::int32_t fromStart = reached.front().base + inkBeforeY;
                if (fromStart < afterGap) {
                    afterGap = fromStart;
                    gapFrom = span.left;
                }
            }
        } else {
            // Spacing matters only where it beats the direct way by less than
            // the pair costs can differ.
            const std::int32_t worthGap =
                direct >= kUnreachable ? kUnreachable : direct + followSpread_;
            for (auto it = reached.rbegin(); it != reached.rend(); ++it) {
                if (it->x > y - leastGap) continue;
                // No spacing from here or farther left can do better.
                if (it->lowestBase + inkBeforeY - mostFillerGain_ >= std::min(afterGap, worthGap)) {
                    break;
                }
                const std::int32_t gap = y - it->x;
                if (!GapAllowed(gap, it->x == 0)) continue;
                const std::int32_t cost = it->base + inkBeforeY + FillerCost(m, it->x, gap);
                if (cost < afterGap) {
                    afterGap = cost;
                    gapFrom = it->x;
                }
            }
        }
        if (direct >= kUnreachable && afterGap >= kUnreachable) continue;
        const auto& afterGlyphCost = follow_[directClass];
        const auto& afterGapCost = follow_[kPriorAfterSpacing];
        for (std::size_t group = 0; group < glyphs_.widthCount(); ++group) {
            const int end = y + glyphs_.width(group);
            if (end > span.right) continue;
            const auto ei = static_cast<std::size_t>(end);
            const std::int32_t inkUnder = m.targetBefore[ei] - m.targetBefore[yi];
            std::int32_t cost = 0;
            std::int32_t chosen = glyphs_.Least(*s.scores, group, y, inkUnder, cost);
            bool exactly = false;
            const std::int16_t drawn =
                s.exact.glyph[static_cast<std::size_t>(glyphs_.width(group))][yi];
            if (drawn >= 0 && exactCost_[static_cast<std::size_t>(drawn)] < cost) {
                cost = exactCost_[static_cast<std::size_t>(drawn)];
                chosen = drawn;
                exactly = true;
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
            s.drawnExactly[ei] = exactly;
        }
    }
    // The row ends after its last glyph; the ink beyond is missed. Before a
    // kept character, only where the spacing up to it is spelled (unless the
    // spacing is left to the snap).
    s.cost = kUnreachable;
    for (int x = span.left; x <= span.right; ++x) {
        const auto xi = static_cast<std::size_t>(x);
        if (s.best[xi] >= kUnreachable) continue;
        if (bothEnds && x > span.left && !GapAllowed(span.right - x, false)) continue;
        const std::int32_t cost =
            s.best[xi] + kMissedInkCost * (m.targetBefore[kColumns] - m.targetBefore[xi]);
        if (cost < s.cost) {
            s.cost = cost;
            s.end = x;
        }
    }
}

TextRow FineDecoder::Cells(const Solution& s, Span span) const {
    TextRow cells;
    for (std::int32_t x = s.end; x > span.left;) {
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

void FineDecoder::InkDistances(const RowInk& m, DistanceMap& map) {
    // Layer k holds the pixels within k (city-block) of the row's own ink:
    // the ink grown by a pixel each way k times.
    std::copy_n(m.ink.begin(), kColumns, map.within[0].begin());
    for (std::size_t k = 1; k < map.within.size(); ++k) {
        const auto& previous = map.within[k - 1];
        auto& layer = map.within[k];
        for (std::size_t x = 0; x < layer.size(); ++x) {
            const std::uint16_t centre = previous[x];
            std::uint16_t grown = static_cast<std::uint16_t>(centre | centre << 1 | centre >> 1);
            if (x > 0) grown |= previous[x - 1];
            if (x + 1 < layer.size()) grown |= previous[x + 1];
            layer[x] = grown;
        }
    }
}

std::int32_t FineDecoder::PlacedCost(const DistanceMap& map, const RowInk& masks,
                                     std::int32_t glyph, std::int32_t x) const {
    std::int32_t sum = 0, beyond = 0;
    const auto g = static_cast<std::size_t>(glyph);
    for (std::uint32_t i = darkBegin_[g]; i < darkBegin_[g + 1]; ++i) {
        const int column = x + darkColumns_[i].x;
        std::uint16_t left = darkColumns_[i].dark;
        if (column >= 0 && column < kColumns) {
            const auto c = static_cast<std::size_t>(column);
            beyond += std::popcount(static_cast<std::uint16_t>(darkColumns_[i].dark & masks.beyond[c]));
            for (std::size_t k = 0; k < map.within.size() && left != 0; ++k) {
                const std::uint16_t reached = left & map.within[k][c];
                sum += static_cast<std::int32_t>(k) * std::popcount(reached);
                left = static_cast<std::uint16_t>(left & ~reached);
            }
        }
        sum += kFarDistance * std::popcount(left);
    }
    return kMoveCost * sum + kBeyondCost * beyond;
}

std::optional<TextRow> FineDecoder::Snap(const Solution& s, Span span, int reach) const {
    // The first pass's glyphs, left to right, in runs that touch.
    struct Run {
        std::int32_t x, end;
        std::size_t first, last;  // glyphs [first, last)
    };
    struct Placed {
        std::int32_t x, glyph;
        bool exactly;
    };
    thread_local std::vector<Placed> placed;
    thread_local std::vector<Run> runs;
    placed.clear();
    runs.clear();
    for (std::int32_t x = s.end; x > span.left;) {
        const auto xi = static_cast<std::size_t>(x);
        placed.push_back({s.glyphStart[xi], s.glyph[xi], s.drawnExactly[xi]});
        x = s.gapStart[xi];
    }
    std::reverse(placed.begin(), placed.end());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const std::int32_t width = glyphList_[static_cast<std::size_t>(placed[i].glyph)].width;
        if (runs.empty() || runs.back().end != placed[i].x) {
            runs.push_back({placed[i].x, placed[i].x, i, i});
        }
        runs.back().end = placed[i].x + width;
        runs.back().last = i + 1;
    }
    if (runs.empty()) return TextRow{};
    thread_local DistanceMap distances;
    InkDistances(s.masks, distances);
    thread_local std::vector<std::int32_t> unmoved;  // by placed glyph
    unmoved.resize(placed.size());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        unmoved[i] = PlacedCost(distances, s.masks, placed[i].glyph, placed[i].x);
    }

    const int states = 2 * reach + 1;
    auto gapCost = [&](std::int32_t from, std::int32_t width, bool atStart) -> std::int32_t {
        if (width < 0 || !GapAllowed(width, atStart)) return kUnreachable;
        if (width == 0 || options_.unicodeSpaces) return 0;
        return FillerCost(s.masks, from, width);
    };
    thread_local std::vector<std::int32_t> cost, from;  // by run, then state
    cost.assign(runs.size() * static_cast<std::size_t>(states), kUnreachable);
    from.assign(runs.size() * static_cast<std::size_t>(states), -1);
    auto at = [&](std::vector<std::int32_t>& table, std::size_t r, int state) -> std::int32_t& {
        return table[r * static_cast<std::size_t>(states) + static_cast<std::size_t>(state)];
    };
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const Run& run = runs[r];
        for (int state = 0; state < states; ++state) {
            const std::int32_t move = state - reach;
            // A run costs by how much farther from the ink its pixels lie
            // once moved: little for a level line moved along itself, in
            // full for an upright one moved across.
            std::int32_t moving = 0;
            if (move != 0) {
                std::int32_t farther = 0;
                for (std::size_t i = run.first; i < run.last; ++i) {
                    const Placed& p = placed[i];
                    farther += PlacedCost(distances, s.masks, p.glyph, p.x + move) - unmoved[i];
                }
                moving += std::max(farther, 0) + std::abs(move);
                // Beyond the usual reach, only where nothing nearer spells
                // the spacing between kept characters.
                const std::int32_t beyond = std::abs(move) - kMostMove;
                if (beyond > 0) {
                    moving += kFarMoveCost * beyond * static_cast<std::int32_t>(run.last - run.first);
                }
            }
            std::int32_t best = kUnreachable, previous = -1;
            const std::int32_t textX = run.x + move;
            if (r == 0) {
                best = gapCost(span.left, textX - span.left, span.left == 0);
            } else {
                for (int p = 0; p < states; ++p) {
                    if (at(cost, r - 1, p) >= kUnreachable) continue;
                    const std::int32_t textEnd = runs[r - 1].end + p - reach;
                    const std::int32_t gap = gapCost(textEnd, textX - textEnd, false);
                    if (gap >= kUnreachable) continue;
                    const std::int32_t total = at(cost, r - 1, p) + gap;
                    if (total < best) {
                        best = total;
                        previous = p;
                    }
                }
            }
            if (best < kUnreachable && r + 1 == runs.size()) {
                const std::int32_t textEnd = run.end + move;
                if (span.right < kColumns) {
                    const std::int32_t last = gapCost(textEnd, span.right - textEnd, false);
                    best = last >= kUnreachable ? kUnreachable : best + last;
                } else if (textEnd > kColumns) {
                    best = kUnreachable;
                }
            }
            at(cost, r, state) = best >= kUnreachable ? kUnreachable : best + moving;
            at(from, r, state) = previous;
        }
    }
    // The cheapest way through, the smallest moves among equals.
    int state = -1;
    const std::size_t last = runs.size() - 1;
    for (int order = 0; order < states; ++order) {
        const int candidate = reach + (order % 2 == 0 ? order / 2 : -(order + 1) / 2);
        const std::int32_t c = at(cost, last, candidate);
        if (c < kUnreachable && (state < 0 || c < at(cost, last, state))) state = candidate;
    }
    if (state < 0) return std::nullopt;
    thread_local std::vector<int> moves;
    moves.assign(runs.size(), 0);
    for (std::size_t r = runs.size(); r-- > 0;) {
        moves[r] = state - reach;
        state = at(from, r, state);
    }
    TextRow cells;
    std::int32_t pen = span.left;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        std::int32_t x = runs[r].x + moves[r];
        for (std::size_t i = runs[r].first; i < runs[r].last; ++i) {
            const Glyph& glyph = glyphList_[static_cast<std::size_t>(placed[i].glyph)];
            cells.push_back({x - pen, glyph.text, glyph.width});
            pen = x + glyph.width;
            x = pen;
        }
    }
    return cells;
}

TextRow FineDecoder::Decode(const Image& ink, int row, Span span) const {
    thread_local Solution s;
    if (options_.unicodeSpaces) {
        // Every gap is spelled exactly: the row stands where it was drawn.
        Solve(ink, row, span, false, s);
        return Cells(s, span);
    }
    Solve(ink, row, span, true, s);
    if (std::optional<TextRow> snapped = Snap(s, span, kMostMove)) return std::move(*snapped);
    // Between kept characters both ends are fixed, and plain spaces may need
    // a run moved as far as a full-width space to spell every gap.
    if (span.right < kColumns) {
        if (std::optional<TextRow> snapped = Snap(s, span, kMostMoveBetweenKept)) {
            return std::move(*snapped);
        }
    }
    // No way to spell the gaps within the moves allowed: the row as the
    // spacing can spell it where drawn.
    Solve(ink, row, span, false, s);
    return Cells(s, span);
}

TextRow FineDecoder::DecodeRow(const Image& ink, int row) const {
    return Decode(ink, row, {0, kColumns});
}

TextRow FineDecoder::DecodeSpan(const Image& ink, int row, int left, int right) const {
    left = std::clamp(left, 0, kColumns);
    right = std::clamp(right, left, kColumns);
    return Decode(ink, row, {left, right});
}

std::int64_t FineDecoder::RowCost(const Image& ink, int row) const {
    thread_local Solution s;
    Solve(ink, row, {0, kColumns}, !options_.unicodeSpaces, s);
    return s.cost;
}

}  // namespace fudeline
