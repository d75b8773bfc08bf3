#include "match/box_tables.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace fudeline {
namespace {

// Largest full weight times pixel count that keeps every box score, and every
// partial sum on the way to it, inside 32 bits.
constexpr std::int64_t kMostWeight = std::int64_t{1} << 30;

struct ByteLists {
    // For each byte value, the positions of its set bits, then filler.
    std::array<std::array<std::uint16_t, 8>, 256> positions{};
    std::array<std::uint8_t, 256> count{};
    constexpr ByteLists() {
        for (int b = 0; b < 256; ++b) {
            int n = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if ((b >> bit) & 1) positions[b][n++] = static_cast<std::uint16_t>(bit);
            }
            count[b] = static_cast<std::uint8_t>(n);
        }
    }
};
constexpr ByteLists kByteLists;

}  // namespace

namespace {

int SetPositions(const std::array<std::uint16_t, kBoxSide>& rows) {
    // Counted by table: baseline x86-64 has no bit-count instruction.
    int set = 0;
    for (std::uint16_t row : rows) set += kByteLists.count[row & 0xFF] + kByteLists.count[row >> 8];
    return set;
}

void SetWeights(BoxTables::Weights& weights, std::size_t slot, std::int32_t ink,
                std::int32_t saving, std::int32_t n) {
    weights.ink[slot] = ink;
    weights.inkTotal[slot] = ink * n;
    weights.low[2 * slot] = static_cast<std::int16_t>(ink & 0x7FFF);
    weights.low[2 * slot + 1] = static_cast<std::int16_t>(saving & 0x7FFF);
    weights.high[2 * slot] = static_cast<std::int16_t>(ink >> 15);
    weights.high[2 * slot + 1] = static_cast<std::int16_t>(saving >> 15);
}

}  // namespace

int PositionList::Cost(const std::array<std::uint16_t, kBoxSide>& rows) {
    const int set = SetPositions(rows);
    return std::min(set, kBoxPositions - set);
}

void PositionList::Build(const std::array<std::uint16_t, kBoxSide>& rows) {
    const int set = SetPositions(rows);
    complement = set > kBoxPositions / 2;
    const std::uint16_t flip = complement ? 0xFFFF : 0;
    int n = 0;
    for (int r = 0; r < kBoxSide; ++r) {
        const unsigned bits = static_cast<std::uint16_t>(rows[static_cast<std::size_t>(r)] ^ flip);
        for (int half = 0; half < 2; ++half) {
            const unsigned byte = (bits >> (8 * half)) & 0xFF;
            const auto first = static_cast<std::uint16_t>(r * kBoxSide + 8 * half);
            // All eight written at once, the count advanced by the set ones:
            // no branch per bit.
            typedef std::uint16_t Eight __attribute__((vector_size(16)));
            Eight eight;
            std::memcpy(&eight, kByteLists.positions[byte].data(), sizeof eight);
            eight += first;
            std::memcpy(positions.data() + n, &eight, sizeof eight);
            n += kByteLists.count[byte];
        }
    }
    for (int i = 0; i < 3; ++i) positions[static_cast<std::size_t>(n + i)] = kZeroPosition;
    count = (n + 3) & ~3;
}

bool BoxTables::Fits(const Glyph& glyph) {
    const std::int64_t n = static_cast<std::int64_t>(glyph.pixels.size());
    if (n > 255 || glyph.halfPenalty < 0 || glyph.halfPenalty > glyph.fullPenalty) return false;
    if (glyph.fullPenalty >= kMostWeight || std::int64_t{glyph.fullPenalty} * n > kMostWeight) {
        return false;
    }
    std::array<std::uint16_t, kBoxSide> seen{};
    for (const GlyphPixel& p : glyph.pixels) {
        if (p.x < 0 || p.x >= kBoxSide || p.y < 0 || p.y >= kBoxSide) return false;
        std::uint16_t& row = seen[static_cast<std::size_t>(p.y)];
        const auto bit = static_cast<std::uint16_t>(1u << p.x);
        if (row & bit) return false;  // a repeated pixel counts twice
        row |= bit;
    }
    return true;
}

BoxTables::BoxTables(const GlyphCatalog& catalog) {
    for (std::size_t g = 0; g < catalog.size(); ++g) {
        if (Fits(catalog[g])) glyphOfSlot_.push_back(static_cast<int>(g));
    }
    const std::size_t used = glyphOfSlot_.size();
    glyphs_ = static_cast<int>(used);
    slots_ = static_cast<int>((used + kSlotChunk - 1) / kSlotChunk * kSlotChunk);
    const auto slots = static_cast<std::size_t>(slots_);
    glyphOfSlot_.resize(slots, -1);
    masks_.assign((kBoxPositions + 1) * stride() / sizeof(MaskBlock), MaskBlock{});
    base_.assign(slots, std::numeric_limits<std::int32_t>::min());
    savingTotal_.assign(slots, 0);
    saving_.assign(slots, 0);
    for (Weights* weights : {&fullWeights_, &halfWeights_}) {
        weights->ink.assign(slots, 0);
        weights->inkTotal.assign(slots, 0);
        weights->low.assign(2 * slots, 0);
        weights->high.assign(2 * slots, 0);
    }
    auto* maskBytes = reinterpret_cast<unsigned char*>(masks_.data());
    for (std::size_t s = 0; s < used; ++s) {
        const Glyph& glyph = catalog[static_cast<std::size_t>(glyphOfSlot_[s])];
        const auto n = static_cast<std::int32_t>(glyph.pixels.size());
        const std::int32_t full = glyph.fullPenalty;
        const std::int32_t saving = glyph.fullPenalty - glyph.halfPenalty;
        for (const GlyphPixel& p : glyph.pixels) {
            const std::size_t position = static_cast<std::size_t>(p.y * kBoxSide + p.x);
            maskBytes[position * stride() + s / 8] |= static_cast<unsigned char>(1u << (s % 8));
        }
        base_[s] = kBestScore - full * n;
        savingTotal_[s] = saving * n;
        saving_[s] = saving;
        SetWeights(fullWeights_, s, full, saving, n);
        SetWeights(halfWeights_, s, glyph.halfPenalty, saving, n);
    }
}

void BoxScratch::Reserve(int slots) {
    const auto n = static_cast<std::size_t>(slots);
    if (inkCounts.size() >= n) return;
    inkCounts.resize(n);
    nearCounts.resize(n);
}

}  // namespace fudeline
