// The catalogue laid out for bit-sliced scoring in a 16 x 16 box.
//
// Nearly every trimmed glyph lies in pattern columns 0-15 and lines 0-15. For
// such a glyph, with pixels all distinct, the score at a hit is
//     best - full * n + full * I + (full - half) * N
// where n is its pixel count, I the pixels on ink and N the blank pixels next
// to ink. The four neighbours of a box position lie inside the window, so
// these counts give exactly the per-pixel rules' score.
//
// Glyphs and positions are swapped: for each box position a mask over glyph
// slots says which glyphs have a pixel there. A hit lists its ink positions
// and near-ink positions, and adding up those masks bit-sliced gives I and N
// for every glyph at once, with no branch on the drawing.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "glyphs/glyph.h"

namespace fudeline {

inline constexpr int kBoxSide = 16;
inline constexpr int kBoxPositions = kBoxSide * kBoxSide;
// The mask row of this position index is all zero: lists are padded with it.
inline constexpr std::uint16_t kZeroPosition = kBoxPositions;
// Slots come in whole chunks of the widest vector, so every path can share
// one layout.
inline constexpr int kSlotChunk = 512;

// One hit's box: bit px of row py is box position (px, py), which is window
// cell (px + 1, py + 1).
struct BoxWindow {
    std::array<std::uint16_t, kBoxSide> ink{};
    std::array<std::uint16_t, kBoxSide> nearInk{};  // blank, with ink among its four neighbours
};

// Positions listed for counting: indices into the mask rows, padded with
// kZeroPosition to a multiple of four. When more than half the box is set,
// the positions not set are listed instead (complement), which bounds the work
// on an all-black canvas: a glyph's count over a set is n less its count over
// the rest of the box.
struct PositionList {
    std::array<std::uint16_t, kBoxPositions + 16> positions;
    int count = 0;
    bool complement = false;
    // For the second list: it holds the positions that are ink or next to
    // ink, rather than those next to ink only (see BoxTables::weights).
    bool inkOrNear = false;

    void Build(const std::array<std::uint16_t, kBoxSide>& rows);
    // Positions a list of `rows` would hold, complement or not.
    static int Cost(const std::array<std::uint16_t, kBoxSide>& rows);
};

struct alignas(64) MaskBlock {
    std::uint64_t words[8];
};

class BoxTables {
  public:
    // True for a glyph the box scorer gives the exact score of.
    static bool Fits(const Glyph& glyph);

    // Takes the glyphs that fit, in catalogue order.
    explicit BoxTables(const GlyphCatalog& catalog);

    int slotCount() const { return slots_; }
    int glyphs() const { return glyphs_; }
    std::size_t stride() const { return static_cast<std::size_t>(slots_) / 8; }
    const unsigned char* maskRow(int position) const {
        return reinterpret_cast<const unsigned char*>(masks_.data()) +
               static_cast<std::size_t>(position) * stride();
    }
    // Catalogue index of the glyph in `slot`, or -1 for an empty slot.
    int glyphOfSlot(int slot) const { return glyphOfSlot_[static_cast<std::size_t>(slot)]; }

    // Per slot; empty slots score far below zero.
    const std::int32_t* base() const { return base_.data(); }                // best - full n
    const std::int32_t* savingTotal() const { return savingTotal_.data(); }  // (full - half) n
    const std::int32_t* saving() const { return saving_.data(); }

    // The score is base + w I + saving S, where S counts the second list.
    // With S = N (near ink only) w is the full weight; with S = I + N (ink or
    // near) it is the half weight. A hit takes whichever list is shorter:
    // on noise, nearly every position is ink or near, and its complement is
    // nearly empty.
    struct Weights {
        std::vector<std::int32_t> ink;       // w
        std::vector<std::int32_t> inkTotal;  // w n
        // (w, saving) as 16-bit pairs, split in 15-bit halves: weight =
        // high << 15 + low, for multiply-and-add on 16-bit lanes.
        std::vector<std::int16_t> low, high;
    };
    const Weights& weights(bool inkOrNear) const { return inkOrNear ? halfWeights_ : fullWeights_; }

  private:
    int slots_ = 0;
    int glyphs_ = 0;
    std::vector<MaskBlock> masks_;  // kBoxPositions + 1 rows of slots / 8 bytes
    std::vector<int> glyphOfSlot_;
    std::vector<std::int32_t> base_, savingTotal_, saving_;
    Weights fullWeights_, halfWeights_;
};

// The best box glyph of a hit: the highest score, the highest slot among equals.
struct BoxBest {
    std::int32_t score = 0;
    int slot = -1;
};

// Working memory of one scoring, reused from hit to hit.
struct BoxScratch {
    std::vector<unsigned char> inkCounts, nearCounts;
    void Reserve(int slots);
};

}  // namespace fudeline
