// What a row's match leaves behind so that the next match after a small
// change can start where the change begins instead of at the row's start.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace fudeline {

// Inclusive ink-layer columns; empty when last < first.
struct ColumnSpan {
    int first = 0;
    int last = -1;

    bool Empty() const { return last < first; }
    void Add(int from, int to) {
        if (to < from) return;
        if (Empty()) {
            first = from;
            last = to;
        } else {
            first = std::min(first, from);
            last = std::max(last, to);
        }
    }
    void Add(const ColumnSpan& other) { Add(other.first, other.last); }
};

struct RowTrail {
    std::vector<std::int32_t> hits;  // the column each cell of the row was hit at
    int inkMinX = 0;                 // the extent the row was scanned over
    int inkMaxX = 0;
};

}  // namespace fudeline
