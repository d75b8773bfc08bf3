#include "convert/fine_decoder.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <string_view>

#include "convert/gap_composer.h"
#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

constexpr std::int32_t kUnreachable = std::numeric_limits<std::int32_t>::max() / 4;
constexpr std::int64_t kNeverChosen = std::int64_t{1} << 40;
constexpr int kFullWidthSpaceWidth = 11;
constexpr int kHalfWidthSpaceWidth = 5;
// What a far pixel costs over a near one: the cost is 1.2 far - 0.1 near.
constexpr std::int32_t kFarWeight = kFarPixelCost + kNearPixelGain;

// The face's glyph for each character of `sjis`, in order; null where it has none.
std::vector<const FontGlyph*> FaceGlyphs(const MonaFont& font, std::string_view sjis) {
    std::vector<const FontGlyph*> glyphs;
    std::size_t i = 0;
    while (i < sjis.size()) {
        const std::size_t length =
            IsSingleByteChar(static_cast<unsigned char>(sjis[i])) || i + 1 == sjis.size() ? 1 : 2;
        const auto codePoint = Cp932CharToUnicode(sjis.substr(i, length));
        glyphs.push_back(codePoint ? font.GlyphFor(*codePoint) : nullptr);
        i += length;
    }
    return glyphs;
}

std::uint16_t DarkColumn(const FontGlyph& glyph, int x) {
    std::uint16_t bits = 0;
    for (int y = 0; y < kFontLineHeight; ++y) {
        if (glyph.IsDark(x, y)) bits |= static_cast<std::uint16_t>(1u << y);
    }
    return bits;
}

// Rows within `reach` rows of a set bit.
std::uint32_t Spread(std::uint32_t bits, int reach) {
    std::uint32_t out = bits;
    for (int d = 1; d <= reach; ++d) out |= (bits << d) | (bits >> d);
    return out;
}

std::uint64_t Load4(const std::uint16_t* columns) {
    std::uint64_t word;
    std::memcpy(&word, columns, sizeof word);
    return word;
}

}  // namespace

struct FineDecoder::Solution {
    RowMasks masks;
    std::array<std::int32_t, kColumns + 1> best;  // cheapest row prefix ending at x
    std::array<std::int32_t, kColumns + 1>
        gapStart;  // where the spacing before a glyph at x starts
    std::array<std::int32_t, kColumns + 1> glyphStart;  // the glyph ending at x starts here
    std::array<std::int32_t, kColumns + 1> glyph;       // its catalogue index
    std::int32_t cost = 0;
    std::int32_t end = 0;  // where the last glyph ends
};

FineDecoder::FineDecoder(const GlyphCatalog& catalog, const MonaFont& font, FineOptions options,
                         GlyphBits::Isa isa)
    : catalog_(catalog), options_(options) {
#if defined(__x86_64__)
    avx2_ = isa == GlyphBits::Isa::Auto && __builtin_cpu_supports("avx2");
#else
    (void)isa;
#endif
    BuildGlyphPatterns(font);
    BuildGapTable(font);
}

void FineDecoder::BuildGlyphPatterns(const MonaFont& font) {
    for (std::size_t index = 0; index < catalog_.size(); ++index) {
        const Glyph& entry = catalog_[index];
        const auto face = FaceGlyphs(font, entry.text);
        if (face.size() != 1 || !face[0] || face[0]->advance != entry.width) continue;
        const FontGlyph& glyph = *face[0];
        const int width = glyph.advance;
        if (width <= 0 || width > 4 * kMaxWords) continue;
        std::array<std::uint32_t, 4 * kMaxWords + 4> dark{};
        for (int x = 0; x < width; ++x) dark[static_cast<std::size_t>(x)] = DarkColumn(glyph, x);
        Words darkWords{}, reachWords{};
        std::int32_t pixels = 0;
        for (int x = 0; x < width; ++x) {
            // The radius-2 disk: two rows up and down in the column itself, one
            // in the next columns, none two columns away.
            std::uint32_t reach = Spread(dark[static_cast<std::size_t>(x)], 2);
            for (int dx : {-2, -1, 1, 2}) {
                if (x + dx < 0 || x + dx >= width) continue;
                reach |=
                    Spread(dark[static_cast<std::size_t>(x + dx)], dx == -2 || dx == 2 ? 0 : 1);
            }
            const auto word = static_cast<std::size_t>(x / 4);
            const int shift = 16 * (x % 4);
            darkWords[word] |= std::uint64_t{dark[static_cast<std::size_t>(x)]} << shift;
            reachWords[word] |= std::uint64_t{reach & 0xFFFFu} << shift;
            pixels += std::popcount(dark[static_cast<std::size_t>(x)]);
        }
        if (pixels == 0) continue;
        auto group = std::find_if(groups_.begin(), groups_.end(),
                                  [&](const WidthGroup& g) { return g.width == width; });
        if (group == groups_.end()) {
            group = groups_.insert(groups_.end(), WidthGroup{});
            group->width = width;
            group->words = (width + 3) / 4;
        }
        group->catalogIndex.push_back(static_cast<std::int32_t>(index));
        group->pixels.push_back(pixels);
        for (int k = 0; k < group->words; ++k) {
            group->dark.push_back(darkWords[static_cast<std::size_t>(k)]);
            group->reach.push_back(reachWords[static_cast<std::size_t>(k)]);
        }
    }
    // Word k of every glyph side by side, padded to whole blocks of four
    // glyphs with blank ones that are never chosen.
    for (WidthGroup& group : groups_) {
        const std::size_t n = group.count(), words = static_cast<std::size_t>(group.words);
        group.stride = (n + 3) / 4 * 4;
        std::vector<std::uint64_t> dark(group.stride * words), reach(group.stride * words);
        for (std::size_t g = 0; g < n; ++g) {
            for (std::size_t k = 0; k < words; ++k) {
                dark[k * group.stride + g] = group.dark[g * words + k];
                reach[k * group.stride + g] = group.reach[g * words + k];
            }
        }
        group.dark = std::move(dark);
        group.reach = std::move(reach);
        // The blank glyphs that pad the last block never come out cheapest.
        group.base.assign(group.stride, kNeverChosen);
        for (std::size_t g = 0; g < n; ++g) group.base[g] = -kNearPixelGain * group.pixels[g];
    }
}

void FineDecoder::BuildGapTable(const MonaFont& font) {
    fillerBegin_.assign(kColumns + 2, 0);
    for (int gap = 0; gap <= kColumns; ++gap) {
        fillerBegin_[static_cast<std::size_t>(gap)] =
            static_cast<std::uint32_t>(fillerColumns_.size());
        if (!GapAllowed(gap, false) && !GapAllowed(gap, true)) continue;
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
        mostFillerGain_ = std::max(mostFillerGain_, pixels * kNearPixelGain);
    }
    fillerBegin_[kColumns + 1] = static_cast<std::uint32_t>(fillerColumns_.size());
}

bool FineDecoder::GapAllowed(std::int32_t width, bool atLineStart) const {
    if (width == 0) return true;
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
        const std::uint32_t near = Spread(band[c], 2) | Spread(band[c - 1], 1) |
                                   Spread(band[c + 1], 1) | band[c - 2] | band[c + 2];
        masks.near[static_cast<std::size_t>(x)] = static_cast<std::uint16_t>(near >> 2);
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
    for (auto i = begin; i < end; ++i) {
        const FillerColumn& f = fillerColumns_[i];
        const std::uint16_t near = masks.near[static_cast<std::size_t>(x + f.offset)];
        cost += kFarPixelCost * std::popcount(static_cast<std::uint16_t>(f.dark & ~near)) -
                kNearPixelGain * std::popcount(static_cast<std::uint16_t>(f.dark & near));
    }
    return cost;
}

std::int64_t FineDecoder::ScorePortable(const WidthGroup& group, const Words& near,
                                        const Words& target, std::int64_t* score) {
    const std::size_t stride = group.stride;
    for (std::size_t g = 0; g < stride; ++g) score[g] = group.base[g];
    for (std::size_t k = 0; k < static_cast<std::size_t>(group.words); ++k) {
        const std::uint64_t blank = ~near[k], ink = target[k];
        const std::uint64_t* dark = group.dark.data() + k * stride;
        const std::uint64_t* reach = group.reach.data() + k * stride;
        for (std::size_t g = 0; g < stride; ++g) {
            score[g] += kFarWeight * std::popcount(dark[g] & blank) -
                        kMissedInkCost * std::popcount(reach[g] & ink);
        }
    }
    return *std::min_element(score, score + stride);
}

#if defined(__x86_64__)
namespace {

// The set bits of each 64-bit lane: a nibble table, then byte sums.
__attribute__((target("avx2"))) inline __m256i PopCount64(__m256i v) {
    const __m256i table = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0, 1, 1,
                                           2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i low = _mm256_shuffle_epi8(table, _mm256_and_si256(v, nibble));
    const __m256i high =
        _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble));
    return _mm256_sad_epu8(_mm256_add_epi8(low, high), _mm256_setzero_si256());
}

}  // namespace

__attribute__((target("avx2"))) std::int64_t FineDecoder::ScoreAvx2(const WidthGroup& group,
                                                                    const Words& near,
                                                                    const Words& target,
                                                                    std::int64_t* score) {
    const std::size_t stride = group.stride, words = static_cast<std::size_t>(group.words);
    __m256i blank[kMaxWords], ink[kMaxWords];
    for (std::size_t k = 0; k < words; ++k) {
        blank[k] = _mm256_set1_epi64x(static_cast<long long>(~near[k]));
        ink[k] = _mm256_set1_epi64x(static_cast<long long>(target[k]));
    }
    const __m256i farWeight = _mm256_set1_epi32(kFarWeight);
    const __m256i missWeight = _mm256_set1_epi32(kMissedInkCost);
    __m256i least = _mm256_set1_epi64x(std::numeric_limits<std::int64_t>::max());
    for (std::size_t g = 0; g < stride; g += 4) {
        __m256i far = _mm256_setzero_si256(), covered = _mm256_setzero_si256();
        for (std::size_t k = 0; k < words; ++k) {
            const auto* dark = reinterpret_cast<const __m256i*>(group.dark.data() + k * stride + g);
            const auto* reach =
                reinterpret_cast<const __m256i*>(group.reach.data() + k * stride + g);
            far = _mm256_add_epi64(
                far, PopCount64(_mm256_and_si256(_mm256_loadu_si256(dark), blank[k])));
            covered = _mm256_add_epi64(
                covered, PopCount64(_mm256_and_si256(_mm256_loadu_si256(reach), ink[k])));
        }
        // Counts stay far below 2^32, so the low halves carry the products.
        const __m256i base = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&group.base[g]));
        const __m256i lane =
            _mm256_add_epi64(base, _mm256_sub_epi64(_mm256_mul_epu32(far, farWeight),
                                                    _mm256_mul_epu32(covered, missWeight)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(score + g), lane);
        least = _mm256_blendv_epi8(least, lane, _mm256_cmpgt_epi64(least, lane));
    }
    alignas(32) std::int64_t lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), least);
    return std::min(std::min(lanes[0], lanes[1]), std::min(lanes[2], lanes[3]));
}
#else
std::int64_t FineDecoder::ScoreAvx2(const WidthGroup& group, const Words& near, const Words& target,
                                    std::int64_t* score) {
    return ScorePortable(group, near, target, score);
}
#endif

std::int32_t FineDecoder::CheapestGlyph(const WidthGroup& group, const Words& near,
                                        const Words& target, std::int32_t ink,
                                        std::int32_t& bound) const {
    // cost = 1.2 far + missed ink - 0.1 near, with near = pixels - far and
    // missed = ink - covered; the ink is the same for every glyph of the group.
    thread_local std::vector<std::int64_t> score;
    score.resize(group.stride);
    const std::int64_t least = avx2_ ? ScoreAvx2(group, near, target, score.data())
                                     : ScorePortable(group, near, target, score.data());
    const std::int64_t missed = std::int64_t{kMissedInkCost} * ink;
    if (least + missed >= bound) return -1;
    // The first glyph at the least cost, as a scan in catalogue order keeps it.
    const auto g =
        static_cast<std::size_t>(std::find(score.begin(), score.end(), least) - score.begin());
    bound = static_cast<std::int32_t>(least + missed);
    return group.catalogIndex[g];
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
        nearAhead = m.near[static_cast<std::size_t>(x)] != 0 ? 16 : std::max(0, nearAhead - 1);
        scored[static_cast<std::size_t>(x)] = nearAhead > 0;
    }
    for (int y = 0; y < kColumns; ++y) {
        const auto yi = static_cast<std::size_t>(y);
        if (s.best[yi] < kUnreachable) {
            const std::int32_t base = s.best[yi] - kMissedInkCost * m.inkBefore[yi];
            const std::int32_t lowest =
                reached.empty() ? base : std::min(base, reached.back().lowestBase);
            reached.push_back({y, base, lowest});
        }
        if (!scored[yi]) continue;
        // The cheapest way to arrive at y: right after a glyph, or after spacing.
        std::int32_t arrive = s.best[yi];
        std::int32_t from = y;
        const std::int32_t inkBeforeY = kMissedInkCost * m.inkBefore[yi];
        for (auto it = reached.rbegin(); it != reached.rend(); ++it) {
            if (it->x > y - 3) continue;
            // No spacing from here or farther left can do better.
            if (it->lowestBase + inkBeforeY - mostFillerGain_ >= arrive) break;
            const std::int32_t gap = y - it->x;
            if (!GapAllowed(gap, it->x == 0)) continue;
            const std::int32_t cost = it->base + inkBeforeY + FillerCost(m, it->x, gap);
            if (cost < arrive) {
                arrive = cost;
                from = it->x;
            }
        }
        if (arrive >= kUnreachable) continue;
        s.gapStart[yi] = from;
        Words near{}, target{};
        for (int k = 0; k < kMaxWords; ++k) {
            near[static_cast<std::size_t>(k)] = Load4(m.near.data() + y + 4 * k);
            target[static_cast<std::size_t>(k)] = Load4(m.target.data() + y + 4 * k);
        }
        for (const WidthGroup& group : groups_) {
            const int end = y + group.width;
            if (end > kColumns) continue;
            const auto ei = static_cast<std::size_t>(end);
            const std::int32_t inkUnder = m.inkBefore[ei] - m.inkBefore[yi];
            std::int32_t bound = s.best[ei] >= kUnreachable ? kUnreachable : s.best[ei] - arrive;
            const std::int32_t chosen = CheapestGlyph(group, near, target, inkUnder, bound);
            if (chosen < 0) continue;
            s.best[ei] = arrive + bound;
            s.glyphStart[ei] = y;
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
        const Glyph& glyph = catalog_[static_cast<std::size_t>(s.glyph[xi])];
        const std::int32_t gapStart = s.gapStart[static_cast<std::size_t>(start)];
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
