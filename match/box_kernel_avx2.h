// Scores from the counts eight slots at a time on 256-bit vectors, shared by
// the AVX2 and AVX-512 kernel files (each built with its own flags).
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "match/box_tables.h"

namespace fudeline {
namespace {

template <int kUnused = 0>
BoxBest ScoresAvx2(const BoxTables& tables, const PositionList& ink, const PositionList& second,
                   BoxScratch& scratch) {
    const int inkMask = ink.complement ? -1 : 0, nearMask = second.complement ? -1 : 0;
    // A count over the complement is n less the count over the set: negate
    // the count and move n times the weight into the base.
    const __m256i negate = _mm256_set1_epi32(static_cast<int>(
        (static_cast<unsigned>(nearMask) << 16) | (static_cast<unsigned>(inkMask) & 0xFFFF)));
    const __m256i inkTotal = _mm256_set1_epi32(inkMask), nearTotal = _mm256_set1_epi32(nearMask);
    // Each lane keeps its best score and the last slot that reached it.
    __m256i most = _mm256_set1_epi32(INT32_MIN);
    __m256i mostSlot = _mm256_set1_epi32(-1);
    __m256i slot = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i eight = _mm256_set1_epi32(8);
    const unsigned char* inkCounts = scratch.inkCounts.data();
    const unsigned char* nearCounts = scratch.nearCounts.data();
    const BoxTables::Weights& weights = tables.weights(second.inkOrNear);
    const std::int16_t* lowWeights = weights.low.data();
    const std::int16_t* highWeights = weights.high.data();
    const std::int32_t* base = tables.base();
    const std::int32_t* fullTotal = weights.inkTotal.data();
    const std::int32_t* savingTotal = tables.savingTotal();
    const int slots = tables.slotCount();
    auto load = [](const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); };
    for (int s = 0; s < slots; s += 8) {
        const __m128i pairs =
            _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(inkCounts + s)),
                              _mm_loadl_epi64(reinterpret_cast<const __m128i*>(nearCounts + s)));
        __m256i counts = _mm256_cvtepu8_epi16(pairs);
        counts = _mm256_sub_epi16(_mm256_xor_si256(counts, negate), negate);
        const __m256i low = _mm256_madd_epi16(counts, load(lowWeights + 2 * s));
        const __m256i high = _mm256_madd_epi16(counts, load(highWeights + 2 * s));
        __m256i score =
            _mm256_add_epi32(load(base + s), _mm256_and_si256(load(fullTotal + s), inkTotal));
        score = _mm256_add_epi32(score, _mm256_and_si256(load(savingTotal + s), nearTotal));
        score = _mm256_add_epi32(_mm256_add_epi32(score, low), _mm256_slli_epi32(high, 15));
        // Later slots come later, so "not below" keeps the last of equals.
        const __m256i below = _mm256_cmpgt_epi32(most, score);
        most = _mm256_max_epi32(most, score);
        mostSlot = _mm256_blendv_epi8(slot, mostSlot, below);
        slot = _mm256_add_epi32(slot, eight);
    }
    alignas(32) std::int32_t scores[8], bestSlots[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(scores), most);
    _mm256_store_si256(reinterpret_cast<__m256i*>(bestSlots), mostSlot);
    BoxBest best{scores[0], bestSlots[0]};
    for (int lane = 1; lane < 8; ++lane) {
        if (scores[lane] > best.score ||
            (scores[lane] == best.score && bestSlots[lane] > best.slot)) {
            best = {scores[lane], bestSlots[lane]};
        }
    }
    return best;
}

}  // namespace
}  // namespace fudeline
