// The box scorer in plain C++ with GCC vector extensions: the path for every
// processor, and the only one off x86-64.
#include <cstdint>

#include "convert/bit_sliced_count.h"
#include "convert/box_kernels.h"

namespace fudeline {

BoxBest ScoreBoxPortable(const BoxTables& tables, const PositionList& ink,
                         const PositionList& nearInk, BoxScratch& scratch) {
    BitSlicedCount<2>::CountAll(tables, ink, nearInk, scratch);
    // A count over the complement is n less the count over the set.
    const std::int64_t inkSign = ink.complement ? -1 : 1;
    const std::int64_t nearSign = nearInk.complement ? -1 : 1;
    const std::int64_t inkBase = ink.complement ? 1 : 0;
    const std::int64_t nearBase = nearInk.complement ? 1 : 0;
    BoxBest best{0, -1};
    std::int64_t bestScore = INT64_MIN;
    for (int s = 0; s < tables.slots(); ++s) {
        const std::int64_t score = tables.base()[s] + inkBase * tables.fullTotal()[s] +
                                   nearBase * tables.savingTotal()[s] +
                                   std::int64_t{tables.full()[s]} * inkSign *
                                       scratch.inkCounts[static_cast<std::size_t>(s)] +
                                   std::int64_t{tables.saving()[s]} * nearSign *
                                       scratch.nearCounts[static_cast<std::size_t>(s)];
        if (score >= bestScore) {
            bestScore = score;
            best.slot = s;
        }
    }
    best.score = static_cast<std::int32_t>(bestScore);
    return best;
}

}  // namespace fudeline
