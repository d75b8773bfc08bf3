// The box scorer on baseline x86-64: two glyph slot words per vector, scores
// with 16-bit multiply-and-add (SSE2 has no 32-bit multiply).
#include <emmintrin.h>

#include <cstdint>

#include "convert/bit_sliced_count.h"
#include "convert/box_kernels.h"

namespace fudeline {

BoxBest ScoreBoxSse2(const BoxTables& tables, const PositionList& ink, const PositionList& nearInk,
                     BoxScratch& scratch) {
    BitSlicedCount<2>::CountAll(tables, ink, nearInk, scratch);
    const int inkMask = ink.complement ? -1 : 0, nearMask = nearInk.complement ? -1 : 0;
    // A count over the complement is n less the count over the set: negate
    // the count and move n times the weight into the base.
    const __m128i negate = _mm_set_epi16(static_cast<short>(nearMask), static_cast<short>(inkMask),
                                         static_cast<short>(nearMask), static_cast<short>(inkMask),
                                         static_cast<short>(nearMask), static_cast<short>(inkMask),
                                         static_cast<short>(nearMask), static_cast<short>(inkMask));
    const __m128i inkTotal = _mm_set1_epi32(inkMask), nearTotal = _mm_set1_epi32(nearMask);
    const __m128i zero = _mm_setzero_si128();
    __m128i most = _mm_set1_epi32(INT32_MIN);
    const unsigned char* inkCounts = scratch.inkCounts.data();
    const unsigned char* nearCounts = scratch.nearCounts.data();
    std::int32_t* scores = scratch.scores.data();
    auto load = [](const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); };
    for (int s = 0; s < tables.slots(); s += 8) {
        const __m128i pairs =
            _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(inkCounts + s)),
                              _mm_loadl_epi64(reinterpret_cast<const __m128i*>(nearCounts + s)));
        for (int half = 0; half < 2; ++half) {
            const int g = s + 4 * half;
            __m128i counts =
                half == 0 ? _mm_unpacklo_epi8(pairs, zero) : _mm_unpackhi_epi8(pairs, zero);
            counts = _mm_sub_epi16(_mm_xor_si128(counts, negate), negate);
            const __m128i low = _mm_madd_epi16(counts, load(tables.lowWeights() + 2 * g));
            const __m128i high = _mm_madd_epi16(counts, load(tables.highWeights() + 2 * g));
            __m128i score = _mm_add_epi32(load(tables.base() + g),
                                          _mm_and_si128(load(tables.fullTotal() + g), inkTotal));
            score = _mm_add_epi32(score, _mm_and_si128(load(tables.savingTotal() + g), nearTotal));
            score = _mm_add_epi32(_mm_add_epi32(score, low), _mm_slli_epi32(high, 15));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(scores + g), score);
            const __m128i above = _mm_cmpgt_epi32(score, most);
            most = _mm_or_si128(_mm_and_si128(above, score), _mm_andnot_si128(above, most));
        }
    }
    alignas(16) std::int32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), most);
    std::int32_t best = lanes[0];
    for (int lane = 1; lane < 4; ++lane) best = lanes[lane] > best ? lanes[lane] : best;
    // The later slot wins a tie: the last one holding the maximum.
    const __m128i target = _mm_set1_epi32(best);
    for (int s = tables.slots() - 4; s >= 0; s -= 4) {
        const int equal =
            _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(load(scores + s), target)));
        if (equal != 0) return {best, s + 31 - __builtin_clz(static_cast<unsigned>(equal))};
    }
    return {best, -1};
}

}  // namespace fudeline
