// Scores from the counts eight slots at a time on 256-bit vectors, shared by
// the AVX2 and AVX-512 kernel files (each built with its own flags).
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "convert/box_tables.h"

namespace fudeline {
namespace {

template <int kUnused = 0>
BoxBest ScoresAvx2(const BoxTables& tables, const PositionList& ink, const PositionList& nearInk,
                   BoxScratch& scratch) {
    const int inkMask = ink.complement ? -1 : 0, nearMask = nearInk.complement ? -1 : 0;
    // A count over the complement is n less the count over the set: negate
    // the count and move n times the weight into the base.
    const __m256i negate = _mm256_set1_epi32(static_cast<int>(
        (static_cast<unsigned>(nearMask) << 16) | (static_cast<unsigned>(inkMask) & 0xFFFF)));
    const __m256i inkTotal = _mm256_set1_epi32(inkMask), nearTotal = _mm256_set1_epi32(nearMask);
    __m256i most = _mm256_set1_epi32(INT32_MIN);
    const unsigned char* inkCounts = scratch.inkCounts.data();
    const unsigned char* nearCounts = scratch.nearCounts.data();
    std::int32_t* scores = scratch.scores.data();
    auto load = [](const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); };
    for (int s = 0; s < tables.slots(); s += 8) {
        const __m128i pairs =
            _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(inkCounts + s)),
                              _mm_loadl_epi64(reinterpret_cast<const __m128i*>(nearCounts + s)));
        __m256i counts = _mm256_cvtepu8_epi16(pairs);
        counts = _mm256_sub_epi16(_mm256_xor_si256(counts, negate), negate);
        const __m256i low = _mm256_madd_epi16(counts, load(tables.lowWeights() + 2 * s));
        const __m256i high = _mm256_madd_epi16(counts, load(tables.highWeights() + 2 * s));
        __m256i score = _mm256_add_epi32(load(tables.base() + s),
                                         _mm256_and_si256(load(tables.fullTotal() + s), inkTotal));
        score =
            _mm256_add_epi32(score, _mm256_and_si256(load(tables.savingTotal() + s), nearTotal));
        score = _mm256_add_epi32(_mm256_add_epi32(score, low), _mm256_slli_epi32(high, 15));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(scores + s), score);
        most = _mm256_max_epi32(most, score);
    }
    __m128i m = _mm_max_epi32(_mm256_castsi256_si128(most), _mm256_extracti128_si256(most, 1));
    m = _mm_max_epi32(m, _mm_shuffle_epi32(m, 0x4E));
    m = _mm_max_epi32(m, _mm_shuffle_epi32(m, 0xB1));
    const std::int32_t best = _mm_cvtsi128_si32(m);
    // The later slot wins a tie: the last one holding the maximum.
    const __m256i target = _mm256_set1_epi32(best);
    for (int s = tables.slots() - 8; s >= 0; s -= 8) {
        const int equal =
            _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(load(scores + s), target)));
        if (equal != 0) return {best, s + 31 - __builtin_clz(static_cast<unsigned>(equal))};
    }
    return {best, -1};
}

}  // namespace
}  // namespace fudeline
