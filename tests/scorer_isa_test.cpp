// Choosing the scoring path: names, and what a forced path becomes.
#include "simd/scorer_isa.h"

#include <gtest/gtest.h>

namespace fudeline {
namespace {

constexpr ScorerIsa kPaths[] = {ScorerIsa::Portable, ScorerIsa::Sse2, ScorerIsa::Avx2,
                                ScorerIsa::Avx512};

TEST(ScorerIsa, NamesReadBackAndUnknownNamesAreRefused) {
    for (ScorerIsa isa : kPaths) EXPECT_EQ(ParseIsa(IsaName(isa)), isa) << IsaName(isa);
    EXPECT_EQ(ParseIsa("auto"), ScorerIsa::Auto);
    for (const char* wrong : {"", "AVX2", "avx", "sse4", "avx2 "}) {
        EXPECT_EQ(ParseIsa(wrong), std::nullopt) << '"' << wrong << '"';
    }
}

TEST(ScorerIsa, AForcedPathRunsOnlyWhereTheProcessorHasIt) {
    EXPECT_TRUE(IsaSupported(ScorerIsa::Portable));
    for (ScorerIsa isa : kPaths) {
        const ScorerIsa resolved = ResolveIsa(isa);
        EXPECT_TRUE(IsaSupported(resolved)) << IsaName(isa);
        EXPECT_NE(resolved, ScorerIsa::Auto);
        if (IsaSupported(isa)) {
            EXPECT_EQ(resolved, isa);
        }
    }
    const ScorerIsa automatic = ResolveIsa(ScorerIsa::Auto);
    EXPECT_TRUE(IsaSupported(automatic));
    EXPECT_NE(automatic, ScorerIsa::Auto);
#if defined(__x86_64__)
    EXPECT_TRUE(IsaSupported(ScorerIsa::Sse2)) << "baseline x86-64";
#else
    EXPECT_EQ(automatic, ScorerIsa::Portable);
#endif
}

}  // namespace
}  // namespace fudeline
