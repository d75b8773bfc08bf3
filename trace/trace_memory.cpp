#include "trace/trace_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace fudeline {

void KeepFreedMemoryForTracing() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
}

}  // namespace fudeline
