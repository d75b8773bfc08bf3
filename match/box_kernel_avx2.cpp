// The box scorer with AVX2: four glyph slot words per vector. Built with
// -mavx2 and called only where the processor has it.
#include "match/box_kernel_avx2.h"
#include "match/bit_sliced_count.h"
#include "match/box_kernels.h"

namespace fudeline {

BoxBest ScoreBoxAvx2(const BoxTables& tables, const PositionList& ink, const PositionList& second,
                     BoxScratch& scratch) {
    BitSlicedCount<4>::CountAll(tables, ink, second, scratch);
    return ScoresAvx2(tables, ink, second, scratch);
}

}  // namespace fudeline
