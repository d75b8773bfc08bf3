#include "convert/fine_glyphs.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <limits>

#include "convert/fine_cost.h"

namespace fudeline {
namespace {

constexpr std::int64_t kNeverChosen = std::int64_t{1} << 40;

}  // namespace

FineGlyphs::FineGlyphs(const GlyphCatalog& catalog, const MonaFont& font, GlyphBits::Isa isa) {
#if defined(__x86_64__)
    avx2_ = isa == GlyphBits::Isa::Auto && __builtin_cpu_supports("avx2");
#else
    (void)isa;
#endif
    for (std::size_t index = 0; index < catalog.size(); ++index) {
        const Glyph& entry = catalog[index];
        const auto face = FaceGlyphs(font, entry.text);
        if (face.size() != 1 || !face[0] || face[0]->advance != entry.width) continue;
        const FontGlyph& glyph = *face[0];
        const int width = glyph.advance;
        if (width <= 0 || width > 4 * kFineMaxWords) continue;
        std::array<std::uint32_t, 4 * kFineMaxWords + 4> dark{};
        for (int x = 0; x < width; ++x) dark[static_cast<std::size_t>(x)] = DarkColumn(glyph, x);
        ColumnWords darkWords{}, reachWords{};
        std::int32_t pixels = 0;
        for (int x = 0; x < width; ++x) {
            // The radius-2 disk: two rows up and down in the column itself, one
            // in the next columns, none two columns away.
            std::uint32_t reach = SpreadRows(dark[static_cast<std::size_t>(x)], 2);
            for (int dx : {-2, -1, 1, 2}) {
                if (x + dx < 0 || x + dx >= width) continue;
                reach |=
                    SpreadRows(dark[static_cast<std::size_t>(x + dx)], dx == -2 || dx == 2 ? 0 : 1);
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

std::int64_t FineGlyphs::ScorePortable(const WidthGroup& group, const ColumnWords& near,
                                       const ColumnWords& target, std::int64_t* score) {
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

__attribute__((target("avx2"))) std::int64_t FineGlyphs::ScoreAvx2(const WidthGroup& group,
                                                                   const ColumnWords& near,
                                                                   const ColumnWords& target,
                                                                   std::int64_t* score) {
    const std::size_t stride = group.stride, words = static_cast<std::size_t>(group.words);
    __m256i blank[kFineMaxWords], ink[kFineMaxWords];
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
std::int64_t FineGlyphs::ScoreAvx2(const WidthGroup& group, const ColumnWords& near,
                                   const ColumnWords& target, std::int64_t* score) {
    return ScorePortable(group, near, target, score);
}
#endif

std::int32_t FineGlyphs::Cheapest(std::size_t index, const ColumnWords& near,
                                  const ColumnWords& target, std::int32_t ink,
                                  std::int32_t& bound) const {
    // cost = 1.2 far + missed ink - 0.1 near, with near = pixels - far and
    // missed = ink - covered; the ink is the same for every glyph of the group.
    const WidthGroup& group = groups_[index];
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

}  // namespace fudeline
