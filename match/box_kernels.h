// The box scorer once per instruction set. Each is built in its own file with
// that file's compiler flags, and called only where the processor has them.
#pragma once

#include "match/box_tables.h"
#include "simd/scorer_isa.h"

namespace fudeline {

// The best box glyph for the hit whose ink and near-ink positions are listed.
using BoxKernel = BoxBest (*)(const BoxTables& tables, const PositionList& ink,
                              const PositionList& second, BoxScratch& scratch);

// `isa` must be resolved and supported.
BoxKernel BoxKernelFor(ScorerIsa isa);

BoxBest ScoreBoxPortable(const BoxTables&, const PositionList&, const PositionList&, BoxScratch&);
#if defined(__x86_64__)
BoxBest ScoreBoxSse2(const BoxTables&, const PositionList&, const PositionList&, BoxScratch&);
BoxBest ScoreBoxAvx2(const BoxTables&, const PositionList&, const PositionList&, BoxScratch&);
BoxBest ScoreBoxAvx512(const BoxTables&, const PositionList&, const PositionList&, BoxScratch&);
#endif

}  // namespace fudeline
