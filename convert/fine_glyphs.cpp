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
        // Two blank columns either side so that the disks need no edge tests;
        // a glyph's reach stays within its own columns.
        std::array<std::uint32_t, 4 * kFineMaxWords + 4> dark{};
        for (int x = 0; x < width; ++x) dark[static_cast<std::size_t>(x + 2)] = DarkColumn(glyph, x);
        ColumnWords darkWords{}, reach1Words{}, reach2Words{};
        std::int32_t pixels = 0;
        for (int x = 0; x < width; ++x) {
            const auto c = static_cast<std::size_t>(x + 2);
            const std::uint32_t reach1 = WithinOne(dark[c - 1], dark[c], dark[c + 1]);
            const std::uint32_t reach2 =
                WithinTwo(dark[c - 2], dark[c - 1], dark[c], dark[c + 1], dark[c + 2]);
            const auto word = static_cast<std::size_t>(x / 4);
            const int shift = 16 * (x % 4);
            darkWords[word] |= std::uint64_t{dark[c]} << shift;
            reach1Words[word] |= std::uint64_t{reach1 & 0xFFFFu} << shift;
            reach2Words[word] |= std::uint64_t{reach2 & 0xFFFFu} << shift;
            pixels += std::popcount(dark[c]);
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
        group->base.push_back(std::int64_t{CountWeights::far} * pixels + GlyphPrior(entry.text));
        for (int k = 0; k < group->words; ++k) {
            group->dark.push_back(darkWords[static_cast<std::size_t>(k)]);
            group->reach1.push_back(reach1Words[static_cast<std::size_t>(k)]);
            group->reach2.push_back(reach2Words[static_cast<std::size_t>(k)]);
        }
    }
    // Word k of every glyph side by side, padded to whole blocks of four
    // glyphs with blank ones that are never chosen.
    for (WidthGroup& group : groups_) {
        const std::size_t n = group.count(), words = static_cast<std::size_t>(group.words);
        group.stride = (n + 3) / 4 * 4;
        for (std::vector<std::uint64_t>* masks : {&group.dark, &group.reach1, &group.reach2}) {
            std::vector<std::uint64_t> sideBySide(group.stride * words);
            for (std::size_t g = 0; g < n; ++g) {
                for (std::size_t k = 0; k < words; ++k) {
                    sideBySide[k * group.stride + g] = (*masks)[g * words + k];
                }
            }
            *masks = std::move(sideBySide);
        }
        group.base.resize(group.stride, kNeverChosen);
    }
}

std::int64_t FineGlyphs::ScorePortable(const WidthGroup& group, const InkWords& ink,
                                       std::int64_t* score) {
    const std::size_t stride = group.stride;
    for (std::size_t g = 0; g < stride; ++g) score[g] = group.base[g];
    for (std::size_t k = 0; k < static_cast<std::size_t>(group.words); ++k) {
        const std::uint64_t near1 = ink.near1[k], near2 = ink.near2[k], target = ink.target[k];
        const std::uint64_t* dark = group.dark.data() + k * stride;
        const std::uint64_t* reach1 = group.reach1.data() + k * stride;
        const std::uint64_t* reach2 = group.reach2.data() + k * stride;
        for (std::size_t g = 0; g < stride; ++g) {
            std::int64_t sum = CountWeights::exact * std::popcount(dark[g] & target) +
                               CountWeights::near2 * std::popcount(dark[g] & near2) +
                               CountWeights::reach2 * std::popcount(reach2[g] & target);
            // A distance step that costs the same on both sides needs no count.
            if constexpr (CountWeights::near1 != 0) {
                sum += CountWeights::near1 * std::popcount(dark[g] & near1);
            }
            if constexpr (CountWeights::reach1 != 0) {
                sum += CountWeights::reach1 * std::popcount(reach1[g] & target);
            }
            score[g] += sum;
        }
    }
    return *std::min_element(score, score + stride);
}

#if defined(__x86_64__)
namespace {

// The set bits of each byte, by a nibble table.
__attribute__((target("avx2"))) inline __m256i ByteCounts(__m256i v) {
    const __m256i table = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0, 1, 1,
                                           2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i low = _mm256_shuffle_epi8(table, _mm256_and_si256(v, nibble));
    const __m256i high =
        _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble));
    return _mm256_add_epi8(low, high);
}

// Adds the set bits of (masks & with), per byte, to `counts`.
__attribute__((target("avx2"))) inline __m256i CountInto(__m256i counts, const std::uint64_t* masks,
                                                        __m256i with) {
    const __m256i bits = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(masks));
    return _mm256_add_epi8(counts, ByteCounts(_mm256_and_si256(bits, with)));
}

// Adds weight times the byte counts' sum in each 64-bit lane to `sum`.
__attribute__((target("avx2"))) inline __m256i AddWeighted(__m256i sum, __m256i counts,
                                                          __m256i weight) {
    // Counts and weights are small: the signed low halves carry the products.
    const __m256i lanes = _mm256_sad_epu8(counts, _mm256_setzero_si256());
    return _mm256_add_epi64(sum, _mm256_mul_epi32(lanes, weight));
}

}  // namespace

__attribute__((target("avx2"))) std::int64_t FineGlyphs::ScoreAvx2(const WidthGroup& group,
                                                                   const InkWords& ink,
                                                                   std::int64_t* score) {
    const std::size_t stride = group.stride, words = static_cast<std::size_t>(group.words);
    __m256i near1[kFineMaxWords], near2[kFineMaxWords], target[kFineMaxWords];
    for (std::size_t k = 0; k < words; ++k) {
        near1[k] = _mm256_set1_epi64x(static_cast<long long>(ink.near1[k]));
        near2[k] = _mm256_set1_epi64x(static_cast<long long>(ink.near2[k]));
        target[k] = _mm256_set1_epi64x(static_cast<long long>(ink.target[k]));
    }
    __m256i least = _mm256_set1_epi64x(std::numeric_limits<std::int64_t>::max());
    for (std::size_t g = 0; g < stride; g += 4) {
        // Per byte at most 8 bits a word and 6 words: the byte counts never wrap.
        const __m256i zero = _mm256_setzero_si256();
        __m256i exact = zero, within1 = zero, within2 = zero, reach1 = zero, reach2 = zero;
        for (std::size_t k = 0; k < words; ++k) {
            const std::uint64_t* dark = group.dark.data() + k * stride + g;
            exact = CountInto(exact, dark, target[k]);
            within2 = CountInto(within2, dark, near2[k]);
            reach2 = CountInto(reach2, group.reach2.data() + k * stride + g, target[k]);
            // A distance step that costs the same on both sides needs no count.
            if constexpr (CountWeights::near1 != 0) within1 = CountInto(within1, dark, near1[k]);
            if constexpr (CountWeights::reach1 != 0) {
                reach1 = CountInto(reach1, group.reach1.data() + k * stride + g, target[k]);
            }
        }
        __m256i lane = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&group.base[g]));
        lane = AddWeighted(lane, exact, _mm256_set1_epi64x(CountWeights::exact));
        lane = AddWeighted(lane, within2, _mm256_set1_epi64x(CountWeights::near2));
        lane = AddWeighted(lane, reach2, _mm256_set1_epi64x(CountWeights::reach2));
        if constexpr (CountWeights::near1 != 0) {
            lane = AddWeighted(lane, within1, _mm256_set1_epi64x(CountWeights::near1));
        }
        if constexpr (CountWeights::reach1 != 0) {
            lane = AddWeighted(lane, reach1, _mm256_set1_epi64x(CountWeights::reach1));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(score + g), lane);
        least = _mm256_blendv_epi8(least, lane, _mm256_cmpgt_epi64(least, lane));
    }
    alignas(32) std::int64_t lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), least);
    return std::min(std::min(lanes[0], lanes[1]), std::min(lanes[2], lanes[3]));
}
#else
std::int64_t FineGlyphs::ScoreAvx2(const WidthGroup& group, const InkWords& ink,
                                   std::int64_t* score) {
    return ScorePortable(group, ink, score);
}
#endif

std::int32_t FineGlyphs::Cheapest(std::size_t index, const InkWords& ink, std::int32_t inkPixels,
                                  std::int32_t& bound) const {
    // The missed-ink term is the same for every glyph of the group.
    const WidthGroup& group = groups_[index];
    thread_local std::vector<std::int64_t> score;
    score.resize(group.stride);
    const std::int64_t least =
        avx2_ ? ScoreAvx2(group, ink, score.data()) : ScorePortable(group, ink, score.data());
    const std::int64_t missed = std::int64_t{CountWeights::missed} * inkPixels;
    if (least + missed >= bound) return -1;
    // The first glyph at the least cost, as a scan in catalogue order keeps it.
    const auto g =
        static_cast<std::size_t>(std::find(score.begin(), score.end(), least) - score.begin());
    bound = static_cast<std::int32_t>(least + missed);
    return group.catalogIndex[g];
}

}  // namespace fudeline
