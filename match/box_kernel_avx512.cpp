// The box scorer with AVX-512: eight glyph slot words per vector. Built with
// -mavx512f -mavx512bw and called only where the processor has them.
#include "match/bit_sliced_count.h"
#include "match/box_kernel_avx2.h"
#include "match/box_kernels.h"

namespace fudeline {

BoxBest ScoreBoxAvx512(const BoxTables& tables, const PositionList& ink, const PositionList& second,
                       BoxScratch& scratch) {
    BitSlicedCount<8>::CountAll(tables, ink, second, scratch);
    return ScoresAvx2(tables, ink, second, scratch);
}

}  // namespace fudeline
