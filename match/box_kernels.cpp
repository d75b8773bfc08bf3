#include "match/box_kernels.h"

namespace fudeline {

BoxKernel BoxKernelFor(ScorerIsa isa) {
    switch (isa) {
#if defined(__x86_64__)
        case ScorerIsa::Sse2:
            return ScoreBoxSse2;
        case ScorerIsa::Avx2:
            return ScoreBoxAvx2;
        case ScorerIsa::Avx512:
            return ScoreBoxAvx512;
#endif
        default:
            return ScoreBoxPortable;
    }
}

}  // namespace fudeline
