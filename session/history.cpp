#include "session/history.h"

#include <utility>

namespace fudeline {
namespace {

std::size_t RowBytes(const TextRow& cells) {
    std::size_t bytes = cells.capacity() * sizeof(TextCell);
    for (const TextCell& cell : cells) {
        // Short strings live inside the cell.
        if (cell.text.capacity() > 15) bytes += cell.text.capacity() + 1;
    }
    return bytes;
}

std::size_t SideBytes(const RowChange::Side& side) {
    return RowBytes(side.cells) + side.trail.hits.capacity() * sizeof(std::int32_t);
}

}  // namespace

int HistoryStep::ColourIndex(std::uint32_t colour) {
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (palette[i] == colour) return static_cast<int>(i);
    }
    if (palette.size() == 16) return -1;
    palette.push_back(colour);
    return static_cast<int>(palette.size() - 1);
}

std::size_t HistoryStep::Bytes() const {
    std::size_t bytes = sizeof(HistoryStep) + pixels.capacity() * sizeof(std::uint32_t) +
                        colours.capacity() + palette.capacity() * sizeof(std::uint32_t) +
                        (inkBefore.capacity() + inkAfter.capacity()) * sizeof(std::uint32_t) +
                        rows.capacity() * sizeof(RowChange);
    for (const RowChange& change : rows) bytes += SideBytes(change.before) + SideBytes(change.after);
    return bytes;
}

void History::Push(HistoryStep step) {
    while (steps_.size() > current_) {
        bytes_ -= steps_.back().Bytes();
        steps_.pop_back();
    }
    step.pixels.shrink_to_fit();
    step.colours.shrink_to_fit();
    step.rows.shrink_to_fit();
    bytes_ += step.Bytes();
    steps_.push_back(std::move(step));
    ++added_;
    while (steps_.size() > 1 && (steps_.size() > kHistorySteps || bytes_ > kHistoryBytes)) {
        bytes_ -= steps_.front().Bytes();
        steps_.pop_front();
    }
    current_ = steps_.size();
}

void History::Clear() {
    steps_.clear();
    current_ = 0;
    bytes_ = 0;
}

}  // namespace fudeline
