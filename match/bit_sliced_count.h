// Bit-sliced counting of glyph pixels over listed box positions, for any
// vector width. Included by each instruction set's kernel file; everything is
// in an unnamed namespace so that no copy built with one file's flags is ever
// shared with a file built for a smaller processor.
#pragma once

#include <cstddef>
#include <cstdint>

#include "match/box_tables.h"

namespace fudeline {
namespace {

template <int kLanes>
struct LaneVector;
template <>
struct LaneVector<2> {
    typedef std::uint64_t Type __attribute__((vector_size(16)));
};
template <>
struct LaneVector<4> {
    typedef std::uint64_t Type __attribute__((vector_size(32)));
};
template <>
struct LaneVector<8> {
    typedef std::uint64_t Type __attribute__((vector_size(64)));
};

template <int kLanes>
struct BitSlicedCount {
    // kLanes 64-bit lanes: 64 kLanes glyph slots per vector.
    using V = typename LaneVector<kLanes>::Type;
    static constexpr int kSlots = 64 * kLanes;

    static V Load(const unsigned char* bytes) {
        V v;
        __builtin_memcpy(&v, bytes, sizeof v);
        return v;
    }

    // Carry-save adder: a + b + c = 2 high + low, bit by bit.
    static void Add3(V& high, V& low, V a, V b, V c) {
        const V u = a ^ b;
        high = (a & b) | (u & c);
        low = u ^ c;
    }

    // Adds the bits of `carry` to the counter whose bit planes are `planes`,
    // lowest first; a carry out of the highest is dropped (no count reaches it).
    template <typename... Planes>
    static void AddCarry(V carry, Planes&... planes) {
        ((carry = Ripple(planes, carry)), ...);
    }
    static V Ripple(V& plane, V carry) {
        const V out = plane & carry;
        plane ^= carry;
        return out;
    }

    // Swaps the bits `mask << shift` of a with the bits `mask` of b.
    static void SwapBits(V& a, V& b, int shift, std::uint64_t mask) {
        const V t = ((a >> shift) ^ b) & mask;
        b ^= t;
        a ^= t << shift;
    }

    // Counts, for the kSlots slots whose mask bytes start at `masks`, how many
    // listed positions each slot's glyph covers, and writes one byte per slot.
    // `count` is a multiple of four and at most 128 + 3.
    static void Count(const unsigned char* masks, std::size_t stride,
                      const std::uint16_t* positions, int count, unsigned char* out) {
        auto row = [&](int i) { return Load(masks + positions[i] * stride); };
        V ones = {}, twos = {}, fours = {}, eights = {};
        V s0 = {}, s1 = {}, s2 = {}, s3 = {};  // the sixteens, as a 4-bit counter
        // Rows i to i + 3 added into the ones and twos; the fours they carry.
        auto addFour = [&](int i) {
            V twosA, twosB, carried;
            Add3(twosA, ones, ones, row(i), row(i + 1));
            Add3(twosB, ones, ones, row(i + 2), row(i + 3));
            Add3(carried, twos, twos, twosA, twosB);
            return carried;
        };
        // Rows i to i + 7 added into the ones, twos and fours; the eights they carry.
        auto addEight = [&](int i) {
            const V foursA = addFour(i);
            const V foursB = addFour(i + 4);
            V carried;
            Add3(carried, fours, fours, foursA, foursB);
            return carried;
        };
        int i = 0;
        for (; i + 16 <= count; i += 16) {
            const V eightsA = addEight(i);
            const V eightsB = addEight(i + 8);
            V sixteens;
            Add3(sixteens, eights, eights, eightsA, eightsB);
            AddCarry(sixteens, s0, s1, s2, s3);
        }
        for (; i < count; i += 4) AddCarry(addFour(i), fours, eights, s0, s1, s2, s3);
        // Eight bit planes to one byte per slot: first an 8 x 8 byte
        // transpose across the planes, then an 8 x 8 bit transpose in each
        // 64-bit lane, all with shifts and masks on whole lanes.
        V w[8] = {ones, twos, fours, eights, s0, s1, s2, s3};
        for (int k = 0; k < 4; ++k) SwapBits(w[k], w[k + 4], 32, 0x00000000FFFFFFFFull);
        for (int k : {0, 1, 4, 5}) SwapBits(w[k], w[k + 2], 16, 0x0000FFFF0000FFFFull);
        for (int k : {0, 2, 4, 6}) SwapBits(w[k], w[k + 1], 8, 0x00FF00FF00FF00FFull);
        for (V& x : w) {
            V t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
            x = x ^ t ^ (t << 7);
            t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
            x = x ^ t ^ (t << 14);
            t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
            x = x ^ t ^ (t << 28);
        }
        for (int lane = 0; lane < kLanes; ++lane) {
            for (int j = 0; j < 8; ++j) {
                const std::uint64_t bytes = w[j][lane];
                __builtin_memcpy(out + 64 * lane + 8 * j, &bytes, 8);
            }
        }
    }

    // Both counts for every slot of the tables.
    static void CountAll(const BoxTables& tables, const PositionList& ink,
                         const PositionList& second, BoxScratch& scratch) {
        const std::size_t stride = tables.stride();
        const unsigned char* masks = tables.maskRow(0);
        for (int first = 0; first < tables.slotCount(); first += kSlots) {
            const unsigned char* chunk = masks + first / 8;
            Count(chunk, stride, ink.positions.data(), ink.count, scratch.inkCounts.data() + first);
            Count(chunk, stride, second.positions.data(), second.count,
                  scratch.nearCounts.data() + first);
        }
    }
};

}  // namespace
}  // namespace fudeline
