// Which instruction set the kernels run on (the row matcher's box scorer and
// the fine decoder's scoring; each maps a path to a function table, e.g.
// BoxKernelFor, FineKernelsFor). Every path gives the same answers; they
// differ only in speed. The processor is asked once, at run time, so one
// binary serves every x86-64 machine.
#pragma once

#include <optional>
#include <string_view>

namespace fudeline {

enum class ScorerIsa {
    Auto,      // the FUDELINE_ISA environment variable if set, else the fastest supported
    Portable,  // plain C++ and GCC vector extensions: the only path off x86-64
    Sse2,      // baseline x86-64
    Avx2,
    Avx512,  // with byte and word operations (F, BW)
};

bool IsaSupported(ScorerIsa isa);

// Auto becomes the FUDELINE_ISA choice (read once per process) or the fastest
// supported path; a forced path the processor lacks becomes the fastest one
// it has, so a forced run never executes an instruction the processor lacks.
ScorerIsa ResolveIsa(ScorerIsa requested);

// "portable", "sse2", "avx2", "avx512"; Auto reads "auto".
std::string_view IsaName(ScorerIsa isa);
std::optional<ScorerIsa> ParseIsa(std::string_view name);

}  // namespace fudeline
