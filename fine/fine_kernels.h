// What the fine scorer's two inner loops read and write, and those loops once
// per instruction set, as the row matcher's box scorer is built: each in its
// own file with that file's compiler flags (fine_kernel_*.cpp), chosen once
// by FineKernelsFor and called only where the processor has them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "simd/scorer_isa.h"

namespace fudeline {

inline constexpr int kFineRowColumns = 800;  // the canvas's columns
inline constexpr int kFineMaxWidth = 24;     // wider glyphs are never placed
inline constexpr int kFineChunk = 16;        // starts scored at once

// One text row's ink as 16-bit columns (bit r for line r), with blank
// columns past the row's end so that a glyph may be scored at any start.
struct InkColumns {
    static constexpr int kSize = kFineRowColumns + kFineMaxWidth + 8;
    std::array<std::uint16_t, kSize> near1{};   // within 1 px of ink (the 4-neighbours)
    std::array<std::uint16_t, kSize> near2{};   // within 2 px of ink
    std::array<std::uint16_t, kSize> target{};  // the row's own ink
    std::array<std::uint16_t, kSize> beyond{};  // more than 3 px from any ink
};

// The cheapest glyph of each width at each start column of a row, before the
// ink the glyph covers is charged as missed (the same for every glyph of a
// width). Filled only at the starts FineGlyphs::ScoreRow was asked for.
struct RowScores {
    static constexpr int kStarts = (kFineRowColumns + kFineChunk - 1) / kFineChunk * kFineChunk;
    std::vector<std::array<std::int16_t, kStarts>> least;   // by width group, then start
    std::vector<std::array<std::int16_t, kStarts>> choice;  // the glyph's place in its group
};

// The tables: one row of kFineTableColumns per pattern, what the pattern adds
// to a glyph's cost over each ink column.
inline constexpr int kFineTableColumns = RowScores::kStarts + 32;

// A glyph column's pattern and what it is scored by: the dark pixels it
// draws (Dark; Moved where the drawing is weighed elsewhere than the face
// draws it, without the pixels beyond 3 px, which Beyond counts where it
// does draw them), or the ink pixels within 1 or 2 px of a glyph's dark ones.
struct FinePattern {
    enum class Kind : std::uint8_t { Dark, Moved, Beyond, Reach1, Reach2 };
    std::uint16_t mask;
    Kind kind;
};

// The glyphs of one width, in catalogue order.
struct FineWidthGroup {
    std::int32_t width = 0;
    std::vector<std::int32_t> catalogIndex;
    std::vector<std::int16_t> base;  // what a glyph costs before its columns
    // Glyph g's columns are terms[termBegin[g]] to terms[termBegin[g + 1] - 1],
    // each the offset of its pattern's table row plus the column.
    std::vector<std::uint32_t> termBegin;
    std::vector<std::uint32_t> terms;
    std::size_t count() const { return catalogIndex.size(); }
};

struct FineKernels {
    // Every pattern's table row over the sixteen ink columns of chunk `chunk`.
    void (*fillTables)(std::span<const FinePattern> patterns, const InkColumns& ink, int chunk,
                       std::int16_t* tables);
    // Every group's cheapest glyph at the sixteen starts of chunk `chunk`, from
    // tables filled over that chunk and the ones its widest glyph reaches.
    void (*sumChunk)(std::span<const FineWidthGroup> groups, const std::int16_t* tables, int chunk,
                     RowScores& scores);
};

// `isa` must be resolved and supported. Every path gives the same scores.
FineKernels FineKernelsFor(ScorerIsa isa);

// Plain C++ with GCC vector extensions (SSE2 on x86-64, WebAssembly SIMD in
// the page): the path for every processor.
void FillTablesPortable(std::span<const FinePattern>, const InkColumns&, int, std::int16_t*);
void SumChunkPortable(std::span<const FineWidthGroup>, const std::int16_t*, int, RowScores&);
#if defined(__x86_64__)
// Sixteen starts per 256-bit vector; also the AVX-512 path.
void FillTablesAvx2(std::span<const FinePattern>, const InkColumns&, int, std::int16_t*);
void SumChunkAvx2(std::span<const FineWidthGroup>, const std::int16_t*, int, RowScores&);
#endif

}  // namespace fudeline
