#include "fine/fine_kernels.h"

namespace fudeline {

FineKernels FineKernelsFor(ScorerIsa isa) {
    switch (isa) {
#if defined(__x86_64__)
        case ScorerIsa::Avx2:
        case ScorerIsa::Avx512:
            return {FillTablesAvx2, SumChunkAvx2};
#endif
        default:
            // SSE2 is what the portable lanes compile to on x86-64 anyway.
            return {FillTablesPortable, SumChunkPortable};
    }
}

}  // namespace fudeline
