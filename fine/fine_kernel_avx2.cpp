// The fine scorer's loops on 256-bit vectors, sixteen starts at once; built
// with -mavx2 and called only where the processor has it.
#include <immintrin.h>

#include <limits>

#include "fine/fine_cost.h"
#include "fine/fine_kernels.h"

namespace fudeline {
namespace {

// The set bits of each byte, by a nibble table.
inline __m256i ByteCounts(__m256i v) {
    const __m256i table = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0, 1, 1,
                                           2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i low = _mm256_shuffle_epi8(table, _mm256_and_si256(v, nibble));
    const __m256i high =
        _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble));
    return _mm256_add_epi8(low, high);
}

// weight times the set bits of each 16-bit lane of (mask & ink).
inline __m256i Weighted(__m256i mask, __m256i ink, std::int32_t weight) {
    // Both bytes of a lane times the weight, summed: the lane's count times it.
    return _mm256_maddubs_epi16(ByteCounts(_mm256_and_si256(mask, ink)),
                                _mm256_set1_epi8(static_cast<char>(weight)));
}

}  // namespace

void FillTablesAvx2(std::span<const FinePattern> patterns, const InkColumns& ink, int chunk,
                    std::int16_t* tables) {
    using Kind = FinePattern::Kind;
    static_assert(CountWeights::exact >= -128 && CountWeights::near2 >= -128 &&
                  CountWeights::reach2 >= -128 && CountWeights::exact <= 127 &&
                  CountWeights::near2 <= 127 && CountWeights::reach2 <= 127 &&
                  CountWeights::beyond >= -128 && CountWeights::beyond <= 127);
    static_assert(kFineChunk == 16, "a chunk is one vector of 16-bit lanes");
    const auto x0 = static_cast<std::size_t>(chunk * kFineChunk);
    const __m256i target = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&ink.target[x0]));
    const __m256i near1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&ink.near1[x0]));
    const __m256i near2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&ink.near2[x0]));
    const __m256i beyond = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&ink.beyond[x0]));
    (void)near1;
    for (std::size_t p = 0; p < patterns.size(); ++p) {
        const FinePattern pattern = patterns[p];
        const __m256i mask = _mm256_set1_epi16(static_cast<short>(pattern.mask));
        __m256i sum;
        if (pattern.kind == Kind::Dark || pattern.kind == Kind::Moved) {
            sum = _mm256_add_epi16(Weighted(mask, target, CountWeights::exact),
                                   Weighted(mask, near2, CountWeights::near2));
            if constexpr (CountWeights::near1 != 0) {
                sum = _mm256_add_epi16(sum, Weighted(mask, near1, CountWeights::near1));
            }
            if (pattern.kind == Kind::Dark) {
                sum = _mm256_add_epi16(sum, Weighted(mask, beyond, CountWeights::beyond));
            }
        } else if (pattern.kind == Kind::Beyond) {
            sum = Weighted(mask, beyond, CountWeights::beyond);
        } else {
            sum = Weighted(
                mask, target,
                pattern.kind == Kind::Reach1 ? CountWeights::reach1 : CountWeights::reach2);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(tables + p * kFineTableColumns + x0), sum);
    }
}

void SumChunkAvx2(std::span<const FineWidthGroup> groups, const std::int16_t* tables, int chunk,
                  RowScores& scores) {
    const int x0 = chunk * kFineChunk;
    const std::int16_t* origin = tables + x0;
    for (std::size_t index = 0; index < groups.size(); ++index) {
        const FineWidthGroup& group = groups[index];
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

}  // namespace fudeline
