// The fine scorer's loops in plain C++ with GCC vector extensions: GCC and
// Clang turn the lanes into whatever vector instructions the target has (SSE2
// on x86-64, WebAssembly SIMD in the page). A chunk of sixteen starts is two
// vectors of eight.
#include <cstring>
#include <limits>

#include "fine/fine_cost.h"
#include "fine/fine_kernels.h"

namespace fudeline {
namespace {

typedef std::int16_t Lanes __attribute__((vector_size(16)));
typedef std::uint16_t Bits __attribute__((vector_size(16)));
constexpr int kLanes = 8;

inline Lanes Splat(std::int32_t value) {
    return Lanes{} + static_cast<std::int16_t>(value);
}

inline Lanes LoadLanes(const std::int16_t* from) {
    Lanes lanes;
    std::memcpy(&lanes, from, sizeof lanes);
    return lanes;
}

inline Bits LoadBits(const std::uint16_t* from) {
    Bits bits;
    std::memcpy(&bits, from, sizeof bits);
    return bits;
}

// The set bits of each lane.
inline Lanes LaneCounts(Bits v) {
    v = v - ((v >> 1) & 0x5555);
    v = (v & 0x3333) + ((v >> 2) & 0x3333);
    v = (v + (v >> 4)) & 0x0F0F;
    return __builtin_convertvector((v + (v >> 8)) & 0x1F, Lanes);
}

}  // namespace

void FillTablesPortable(std::span<const FinePattern> patterns, const InkColumns& ink, int chunk,
                        std::int16_t* tables) {
    using Kind = FinePattern::Kind;
    for (int half = 0; half < kFineChunk / kLanes; ++half) {
        const auto x0 = static_cast<std::size_t>(chunk * kFineChunk + half * kLanes);
        const Bits target = LoadBits(&ink.target[x0]), near1 = LoadBits(&ink.near1[x0]),
                   near2 = LoadBits(&ink.near2[x0]), beyond = LoadBits(&ink.beyond[x0]);
        for (std::size_t p = 0; p < patterns.size(); ++p) {
            const FinePattern pattern = patterns[p];
            const Bits mask = Bits{} + pattern.mask;
            Lanes sum;
            if (pattern.kind == Kind::Dark || pattern.kind == Kind::Moved) {
                sum = Splat(CountWeights::exact) * LaneCounts(mask & target) +
                      Splat(CountWeights::near2) * LaneCounts(mask & near2);
                if constexpr (CountWeights::near1 != 0) {
                    sum += Splat(CountWeights::near1) * LaneCounts(mask & near1);
                }
                if (pattern.kind == Kind::Dark) {
                    sum += Splat(CountWeights::beyond) * LaneCounts(mask & beyond);
                }
            } else if (pattern.kind == Kind::Beyond) {
                sum = Splat(CountWeights::beyond) * LaneCounts(mask & beyond);
            } else {
                sum = Splat(pattern.kind == Kind::Reach1 ? CountWeights::reach1
                                                         : CountWeights::reach2) *
                      LaneCounts(mask & target);
            }
            std::memcpy(tables + p * kFineTableColumns + x0, &sum, sizeof sum);
        }
        (void)near1;
    }
}

void SumChunkPortable(std::span<const FineWidthGroup> groups, const std::int16_t* tables, int chunk,
                      RowScores& scores) {
    for (std::size_t index = 0; index < groups.size(); ++index) {
        const FineWidthGroup& group = groups[index];
        for (int half = 0; half < kFineChunk / kLanes; ++half) {
            const int x0 = chunk * kFineChunk + half * kLanes;
            const std::int16_t* origin = tables + x0;
            Lanes least = Splat(std::numeric_limits<std::int16_t>::max());
            Lanes choice{};
            const std::uint32_t* term = group.terms.data();
            for (std::size_t g = 0; g < group.count(); ++g) {
                Lanes sum = Splat(group.base[g]);
                const std::uint32_t* end = group.terms.data() + group.termBegin[g + 1];
                for (; term != end; ++term) sum += LoadLanes(origin + *term);
                // The first glyph in catalogue order keeps a tie.
                const Lanes better = sum < least;
                least = better ? sum : least;
                choice = better ? Splat(static_cast<std::int32_t>(g)) : choice;
            }
            std::memcpy(scores.least[index].data() + x0, &least, sizeof least);
            std::memcpy(scores.choice[index].data() + x0, &choice, sizeof choice);
        }
    }
}

}  // namespace fudeline
