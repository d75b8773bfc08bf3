#include "simd/scorer_isa.h"

#include <array>
#include <cstdlib>

namespace fudeline {
namespace {

constexpr std::array kNames = {
    std::pair{ScorerIsa::Auto, std::string_view("auto")},
    std::pair{ScorerIsa::Portable, std::string_view("portable")},
    std::pair{ScorerIsa::Sse2, std::string_view("sse2")},
    std::pair{ScorerIsa::Avx2, std::string_view("avx2")},
    std::pair{ScorerIsa::Avx512, std::string_view("avx512")},
};

ScorerIsa Fastest() {
    for (ScorerIsa isa : {ScorerIsa::Avx512, ScorerIsa::Avx2, ScorerIsa::Sse2}) {
        if (IsaSupported(isa)) return isa;
    }
    return ScorerIsa::Portable;
}

ScorerIsa FromEnvironment() {
    const char* value = std::getenv("FUDELINE_ISA");
    if (value == nullptr) return ScorerIsa::Auto;
    return ParseIsa(value).value_or(ScorerIsa::Auto);
}

}  // namespace

bool IsaSupported(ScorerIsa isa) {
    switch (isa) {
        case ScorerIsa::Auto:
        case ScorerIsa::Portable:
            return true;
#if defined(__x86_64__)
        case ScorerIsa::Sse2:
            return true;
        case ScorerIsa::Avx2:
            return __builtin_cpu_supports("avx2");
        case ScorerIsa::Avx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
#else
        case ScorerIsa::Sse2:
        case ScorerIsa::Avx2:
        case ScorerIsa::Avx512:
            return false;
#endif
    }
    return false;
}

ScorerIsa ResolveIsa(ScorerIsa requested) {
    static const ScorerIsa fromEnvironment = FromEnvironment();
    if (requested == ScorerIsa::Auto) requested = fromEnvironment;
    if (requested == ScorerIsa::Auto || !IsaSupported(requested)) return Fastest();
    return requested;
}

std::string_view IsaName(ScorerIsa isa) {
    for (const auto& [value, name] : kNames) {
        if (value == isa) return name;
    }
    return "auto";
}

std::optional<ScorerIsa> ParseIsa(std::string_view name) {
    for (const auto& [value, known] : kNames) {
        if (known == name) return value;
    }
    return std::nullopt;
}

}  // namespace fudeline
