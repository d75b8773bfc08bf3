#include "fine/fine_glyphs.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <unordered_map>

#include "fine/fine_cost.h"

namespace fudeline {
namespace {

constexpr int kChunk = 16;  // starts scored at once

// The largest a glyph's cost can grow either way must fit the 16-bit scores.
constexpr std::int32_t Magnitude(std::int32_t w) {
    return w < 0 ? -w : w;
}
static_assert(kFineMaxWidth * 16 *
                      (CountWeights::far + Magnitude(CountWeights::exact) +
                       Magnitude(CountWeights::near1) + Magnitude(CountWeights::near2) +
                       Magnitude(CountWeights::reach1) + Magnitude(CountWeights::reach2)) +
                  64 <
              std::numeric_limits<std::int16_t>::max());

}  // namespace

FineGlyphs::FineGlyphs(const GlyphCatalog& catalog, const MonaFont& font, ScorerIsa isa) {
    const ScorerIsa resolved = ResolveIsa(isa);
    avx2_ = resolved == ScorerIsa::Avx2 || resolved == ScorerIsa::Avx512;
    std::unordered_map<std::uint32_t, std::uint32_t> rowOf;
    auto rowFor = [&](std::uint16_t mask, Kind kind) {
        const std::uint32_t key = std::uint32_t{mask} | std::uint32_t(kind) << 16;
        const auto [it, added] =
            rowOf.try_emplace(key, static_cast<std::uint32_t>(patterns_.size()));
        if (added) patterns_.push_back({mask, kind});
        return it->second * static_cast<std::uint32_t>(kTableColumns);
    };
    for (std::size_t index = 0; index < catalog.size(); ++index) {
        const Glyph& entry = catalog[index];
        const auto face = FaceGlyphs(font, entry.text);
        if (face.size() != 1 || !face[0] || face[0]->advance != entry.width) continue;
        const FontGlyph& glyph = *face[0];
        const int width = glyph.advance;
        if (width <= 0 || width > kFineMaxWidth) continue;
        // Two blank columns either side so that the disks need no edge tests;
        // a glyph's reach stays within its own columns.
        std::array<std::uint32_t, kFineMaxWidth + 4> dark{};
        std::int32_t pixels = 0;
        for (int x = 0; x < width; ++x) {
            dark[static_cast<std::size_t>(x + 2)] = DarkColumn(glyph, x);
            pixels += std::popcount(dark[static_cast<std::size_t>(x + 2)]);
        }
        if (pixels == 0) continue;
        auto group = std::find_if(groups_.begin(), groups_.end(),
                                  [&](const WidthGroup& g) { return g.width == width; });
        if (group == groups_.end()) {
            group = groups_.insert(groups_.end(), WidthGroup{});
            group->width = width;
            group->termBegin.push_back(0);
        }
        group->catalogIndex.push_back(static_cast<std::int32_t>(index));
        group->base.push_back(
            static_cast<std::int16_t>(CountWeights::far * pixels + GlyphPrior(entry.text)));
        for (int x = 0; x < width; ++x) {
            const auto c = static_cast<std::size_t>(x + 2);
            const auto column = static_cast<std::uint32_t>(x);
            const auto reach1 =
                static_cast<std::uint16_t>(WithinOne(dark[c - 1], dark[c], dark[c + 1]));
            const auto reach2 = static_cast<std::uint16_t>(
                WithinTwo(dark[c - 2], dark[c - 1], dark[c], dark[c + 1], dark[c + 2]));
            if (dark[c] != 0) {
                group->terms.push_back(rowFor(static_cast<std::uint16_t>(dark[c]), Kind::Dark) +
                                       column);
            }
            if (reach2 != 0) group->terms.push_back(rowFor(reach2, Kind::Reach2) + column);
            if constexpr (CountWeights::reach1 != 0) {
                if (reach1 != 0) group->terms.push_back(rowFor(reach1, Kind::Reach1) + column);
            } else {
                (void)reach1;
            }
        }
        group->termBegin.push_back(static_cast<std::uint32_t>(group->terms.size()));
        widest_ = std::max(widest_, width);
    }
}

namespace {

// Eight 16-bit lanes in plain C++: GCC and Clang turn these into whatever
// vector instructions the target has (SSE2, WebAssembly SIMD). A chunk of
// sixteen starts is two of them.
typedef std::int16_t Lanes __attribute__((vector_size(16)));
typedef std::uint16_t Bits __attribute__((vector_size(16)));
constexpr int kLanes = 8;

inline Lanes Splat(std::int32_t value) {
    return Lanes{} + static_cast<std::int16_t>(value);
}

inline Lanes LoadLanes(const std::int16_t* from) {
    Lanes lanes;
    std::memcpy(&lanes, from, sizeof lanes);
    return lanes;
}

inline Bits LoadBits(const std::uint16_t* from) {
    Bits bits;
    std::memcpy(&bits, from, sizeof bits);
    return bits;
}

// The set bits of each lane.
inline Lanes LaneCounts(Bits v) {
    v = v - ((v >> 1) & 0x5555);
    v = (v & 0x3333) + ((v >> 2) & 0x3333);
    v = (v + (v >> 4)) & 0x0F0F;
    return __builtin_convertvector((v + (v >> 8)) & 0x1F, Lanes);
}

}  // namespace

void FineGlyphs::FillTables(const InkColumns& ink, int chunk, std::int16_t* tables) const {
    for (int half = 0; half < kChunk / kLanes; ++half) {
        const auto x0 = static_cast<std::size_t>(chunk * kChunk + half * kLanes);
        const Bits target = LoadBits(&ink.target[x0]), near1 = LoadBits(&ink.near1[x0]),
                   near2 = LoadBits(&ink.near2[x0]);
        for (std::size_t p = 0; p < patterns_.size(); ++p) {
            const Pattern pattern = patterns_[p];
            const Bits mask = Bits{} + pattern.mask;
            Lanes sum;
            if (pattern.kind == Kind::Dark) {
                sum = Splat(CountWeights::exact) * LaneCounts(mask & target) +
                      Splat(CountWeights::near2) * LaneCounts(mask & near2);
                if constexpr (CountWeights::near1 != 0) {
                    sum += Splat(CountWeights::near1) * LaneCounts(mask & near1);
                }
            } else {
                sum = Splat(pattern.kind == Kind::Reach1 ? CountWeights::reach1
                                                         : CountWeights::reach2) *
                      LaneCounts(mask & target);
            }
            std::memcpy(tables + p * kTableColumns + x0, &sum, sizeof sum);
        }
        (void)near1;
    }
}

void FineGlyphs::SumChunk(const std::int16_t* tables, int chunk, RowScores& scores) const {
    for (std::size_t index = 0; index < groups_.size(); ++index) {
        const WidthGroup& group = groups_[index];
        for (int half = 0; half < kChunk / kLanes; ++half) {
            const int x0 = chunk * kChunk + half * kLanes;
            const std::int16_t* origin = tables + x0;
            Lanes least = Splat(std::numeric_limits<std::int16_t>::max());
            Lanes choice{};
            const std::uint32_t* term = group.terms.data();
            for (std::size_t g = 0; g < group.count(); ++g) {
                Lanes sum = Splat(group.base[g]);
                const std::uint32_t* end = group.terms.data() + group.termBegin[g + 1];
                for (; term != end; ++term) sum += LoadLanes(origin + *term);
                // The first glyph in catalogue order keeps a tie.
                const Lanes better = sum < least;
                least = better ? sum : least;
                choice = better ? Splat(static_cast<std::int32_t>(g)) : choice;
            }
            std::memcpy(scores.least[index].data() + x0, &least, sizeof least);
            std::memcpy(scores.choice[index].data() + x0, &choice, sizeof choice);
        }
    }
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

// weight times the set bits of each 16-bit lane of (mask & ink).
__attribute__((target("avx2"))) inline __m256i Weighted(__m256i mask, __m256i ink,
                                                        std::int32_t weight) {
    // Both bytes of a lane times the weight, summed: the lane's count times it.
    return _mm256_maddubs_epi16(ByteCounts(_mm256_and_si256(mask, ink)),
                                _mm256_set1_epi8(static_cast<char>(weight)));
}

}  // namespace

__attribute__((target("avx2"))) void FineGlyphs::FillTablesAvx2(const InkColumns& ink, int chunk,
                                                                std::int16_t* tables) const {
    static_assert(CountWeights::exact >= -128 && CountWeights::near2 >= -128 &&
                  CountWeights::reach2 >= -128 && CountWeights::exact <= 127 &&
                  CountWeights::near2 <= 127 && CountWeights::reach2 <= 127);
    const auto x0 = static_cast<std::size_t>(chunk * kChunk);
    const __m256i target = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&ink.target[x0]));
    const __m256i near1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&ink.near1[x0]));
    const __m256i near2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&ink.near2[x0]));
    (void)near1;
    for (std::size_t p = 0; p < patterns_.size(); ++p) {
        const Pattern pattern = patterns_[p];
        const __m256i mask = _mm256_set1_epi16(static_cast<short>(pattern.mask));
        __m256i sum;
        if (pattern.kind == Kind::Dark) {
            sum = _mm256_add_epi16(Weighted(mask, target, CountWeights::exact),
                                   Weighted(mask, near2, CountWeights::near2));
            if constexpr (CountWeights::near1 != 0) {
                sum = _mm256_add_epi16(sum, Weighted(mask, near1, CountWeights::near1));
            }
        } else {
            sum = Weighted(
                mask, target,
                pattern.kind == Kind::Reach1 ? CountWeights::reach1 : CountWeights::reach2);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(tables + p * kTableColumns + x0), sum);
    }
}

__attribute__((target("avx2"))) void FineGlyphs::SumChunkAvx2(const std::int16_t* tables, int chunk,
                                                              RowScores& scores) const {
    const int x0 = chunk * kChunk;
    const std::int16_t* origin = tables + x0;
    for (std::size_t index = 0; index < groups_.size(); ++index) {
        const WidthGroup& group = groups_[index];
        __m256i least = _mm256_set1_epi16(std::numeric_limits<std::int16_t>::max());
        __m256i choice = _mm256_setzero_si256();
        const std::uint32_t* term = group.terms.data();
        for (std::size_t g = 0; g < group.count(); ++g) {
            __m256i sum = _mm256_set1_epi16(group.base[g]);
            const std::uint32_t* end = group.terms.data() + group.termBegin[g + 1];
            for (; term != end; ++term) {
                sum = _mm256_add_epi16(
                    sum, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(origin + *term)));
            }
            // The first glyph in catalogue order keeps a tie.
            const __m256i better = _mm256_cmpgt_epi16(least, sum);
            least = _mm256_min_epi16(least, sum);
            choice = _mm256_blendv_epi8(choice, _mm256_set1_epi16(static_cast<short>(g)), better);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(scores.least[index].data() + x0), least);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(scores.choice[index].data() + x0), choice);
    }
}
#else
void FineGlyphs::FillTablesAvx2(const InkColumns& ink, int chunk, std::int16_t* tables) const {
    FillTables(ink, chunk, tables);
}
void FineGlyphs::SumChunkAvx2(const std::int16_t* tables, int chunk, RowScores& scores) const {
    SumChunk(tables, chunk, scores);
}
#endif

void FineGlyphs::ScoreRow(const InkColumns& ink, const std::array<bool, kFineRowColumns>& wanted,
                          RowScores& scores) const {
    constexpr int kStartChunks = RowScores::kStarts / kChunk;
    constexpr int kTableChunks = kTableColumns / kChunk;
    // Start chunk c reads the tables' columns 16 c to 16 c + 15 + widest - 1.
    const int ahead = (kChunk - 1 + widest_ - 1) / kChunk;
    static_assert(kStartChunks - 1 + (kChunk - 1 + kFineMaxWidth - 1) / kChunk < kTableChunks);
    static_assert(InkColumns::kSize >= kTableColumns);
    scores.least.resize(groups_.size());
    scores.choice.resize(groups_.size());
    thread_local std::vector<std::int16_t> tables;
    tables.resize(patterns_.size() * kTableColumns);
    std::array<bool, kTableChunks> filled{};
    for (int chunk = 0; chunk < kStartChunks; ++chunk) {
        const auto first = wanted.begin() + chunk * kChunk;
        const auto last = wanted.begin() + std::min((chunk + 1) * kChunk, kFineRowColumns);
        if (std::find(first, last, true) == last) continue;
        for (int t = chunk; t <= chunk + ahead; ++t) {
            if (filled[static_cast<std::size_t>(t)]) continue;
            filled[static_cast<std::size_t>(t)] = true;
            if (avx2_) {
                FillTablesAvx2(ink, t, tables.data());
            } else {
                FillTables(ink, t, tables.data());
            }
        }
        if (avx2_) {
            SumChunkAvx2(tables.data(), chunk, scores);
        } else {
            SumChunk(tables.data(), chunk, scores);
        }
    }
}

std::int32_t FineGlyphs::Cheapest(const RowScores& scores, std::size_t group, int x,
                                  std::int32_t inkPixels, std::int32_t& bound) const {
    const auto xi = static_cast<std::size_t>(x);
    const std::int32_t cost = scores.least[group][xi] + CountWeights::missed * inkPixels;
    if (cost >= bound) return -1;
    bound = cost;
    return groups_[group].catalogIndex[static_cast<std::size_t>(scores.choice[group][xi])];
}

}  // namespace fudeline
