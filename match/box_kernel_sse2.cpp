// The box scorer on baseline x86-64: two glyph slot words per vector, scores
// with 16-bit multiply-and-add (SSE2 has no 32-bit multiply).
#include <emmintrin.h>

#include <cstdint>

#include "match/bit_sliced_count.h"
#include "match/box_kernels.h"

namespace fudeline {

BoxBest ScoreBoxSse2(const BoxTables& tables, const PositionList& ink, const PositionList& second,
                     BoxScratch& scratch) {
    BitSlicedCount<2>::CountAll(tables, ink, second, scratch);
    const int inkMask = ink.complement ? -1 : 0, nearMask = second.complement ? -1 : 0;
    // A count over the complement is n less the count over the set: negate
    // the count and move n times the weight into the base.
    const __m128i negate = _mm_set_epi16(static_cast<short>(nearMask), static_cast<short>(inkMask),
                                         static_cast<short>(nearMask), static_cast<short>(inkMask),
                                         static_cast<short>(nearMask), static_cast<short>(inkMask),
                                         static_cast<short>(nearMask), static_cast<short>(inkMask));
    const __m128i inkTotal = _mm_set1_epi32(inkMask), nearTotal = _mm_set1_epi32(nearMask);
    const __m128i zero = _mm_setzero_si128();
    // Each lane keeps its best score and the last slot that reached it.
    __m128i most = _mm_set1_epi32(INT32_MIN);
    __m128i mostSlot = _mm_set1_epi32(-1);
    __m128i slot = _mm_setr_epi32(0, 1, 2, 3);
    const __m128i four = _mm_set1_epi32(4);
    const unsigned char* inkCounts = scratch.inkCounts.data();
    const unsigned char* nearCounts = scratch.nearCounts.data();
    const BoxTables::Weights& weights = tables.weights(second.inkOrNear);
    const std::int16_t* lowWeights = weights.low.data();
    const std::int16_t* highWeights = weights.high.data();
    const std::int32_t* base = tables.base();
    const std::int32_t* fullTotal = weights.inkTotal.data();
    const std::int32_t* savingTotal = tables.savingTotal();
    const int slots = tables.slotCount();
    auto load = [](const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); };
    for (int s = 0; s < slots; s += 8) {
        const __m128i pairs =
            _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(inkCounts + s)),
                              _mm_loadl_epi64(reinterpret_cast<const __m128i*>(nearCounts + s)));
        for (int half = 0; half < 2; ++half) {
            const int g = s + 4 * half;
            __m128i counts =
                half == 0 ? _mm_unpacklo_epi8(pairs, zero) : _mm_unpackhi_epi8(pairs, zero);
            counts = _mm_sub_epi16(_mm_xor_si128(counts, negate), negate);
            const __m128i low = _mm_madd_epi16(counts, load(lowWeights + 2 * g));
            const __m128i high = _mm_madd_epi16(counts, load(highWeights + 2 * g));
            __m128i score =
                _mm_add_epi32(load(base + g), _mm_and_si128(load(fullTotal + g), inkTotal));
            score = _mm_add_epi32(score, _mm_and_si128(load(savingTotal + g), nearTotal));
            score = _mm_add_epi32(_mm_add_epi32(score, low), _mm_slli_epi32(high, 15));
            // Later slots come later, so "not below" keeps the last of equals.
            const __m128i below = _mm_cmpgt_epi32(most, score);
            most = _mm_or_si128(_mm_and_si128(below, most), _mm_andnot_si128(below, score));
            mostSlot = _mm_or_si128(_mm_and_si128(below, mostSlot), _mm_andnot_si128(below, slot));
            slot = _mm_add_epi32(slot, four);
        }
    }
    alignas(16) std::int32_t scores[4], bestSlots[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(scores), most);
    _mm_store_si128(reinterpret_cast<__m128i*>(bestSlots), mostSlot);
    BoxBest best{scores[0], bestSlots[0]};
    for (int lane = 1; lane < 4; ++lane) {
        if (scores[lane] > best.score ||
            (scores[lane] == best.score && bestSlots[lane] > best.slot)) {
            best = {scores[lane], bestSlots[lane]};
        }
    }
    return best;
}

}  // namespace fudeline
