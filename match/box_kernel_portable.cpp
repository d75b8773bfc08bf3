// The box scorer in plain C++ with GCC vector extensions: the path for every
// processor, and the only one off x86-64.
#include <cstdint>

#include "match/bit_sliced_count.h"
#include "match/box_kernels.h"

namespace fudeline {

BoxBest ScoreBoxPortable(const BoxTables& tables, const PositionList& ink,
                         const PositionList& second, BoxScratch& scratch) {
    BitSlicedCount<2>::CountAll(tables, ink, second, scratch);
    const BoxTables::Weights& weights = tables.weights(second.inkOrNear);
    // A count over the complement is n less the count over the set.
    const std::int64_t inkSign = ink.complement ? -1 : 1;
    const std::int64_t secondSign = second.complement ? -1 : 1;
    const std::int64_t inkBase = ink.complement ? 1 : 0;
    const std::int64_t secondBase = second.complement ? 1 : 0;
    BoxBest best{0, -1};
    std::int64_t bestScore = INT64_MIN;
    for (int s = 0; s < tables.slotCount(); ++s) {
        const auto i = static_cast<std::size_t>(s);
        const std::int64_t score =
            tables.base()[i] + inkBase * weights.inkTotal[i] +
            secondBase * tables.savingTotal()[i] +
            std::int64_t{weights.ink[i]} * inkSign * scratch.inkCounts[i] +
            std::int64_t{tables.saving()[i]} * secondSign * scratch.nearCounts[i];
        if (score >= bestScore) {
            bestScore = score;
            best.slot = s;
        }
    }
    best.score = static_cast<std::int32_t>(bestScore);
    return best;
}

}  // namespace fudeline
