#include "text/row_edit.h"
#include "text/text_errors.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace fudeline {
namespace {

// Gaps are looked for this far from the width asked: every spacing spells a
// whole number of full-width spaces, so one is always found nearer.
constexpr std::int32_t kSearchReach = 2 * kFullWidthSpaceWidth;

// A cell at its column.
struct Placed {
    std::int32_t start = 0;
    TextCell cell;
    std::int32_t end() const { return start + cell.width; }
};

std::vector<Placed> Place(const TextRow& row, std::int32_t x = 0) {
    std::vector<Placed> placed;
    placed.reserve(row.size());
    std::int32_t pen = x;
    for (const TextCell& cell : row) {
        placed.push_back({pen + cell.gap, cell});
        pen += cell.gap + cell.width;
    }
    return placed;
}

std::int32_t EndOf(const std::vector<Placed>& cells) {
    return cells.empty() ? 0 : cells.back().end();
}

// The columns an edit touched, from the first to the last.
struct Touched {
    std::int32_t from = 0, to = 0;
    void Add(std::int32_t a, std::int32_t b) {
        if (a >= b) return;
        if (from >= to) {
            from = a;
            to = b;
        } else {
            from = std::min(from, a);
            to = std::max(to, b);
        }
    }
};

// A placed cell appended after `out`, its gap taken from where it stands.
void Append(std::vector<Placed>& out, Placed placed) {
    placed.cell.gap = placed.start - EndOf(out);
    out.push_back(std::move(placed));
}

// Appends the cells of `right` (in order, at the columns they had) after
// `out`, run by run: the first run goes to `attachAt` when given; every
// other run keeps its column where the gap before it is spelled, or is the
// gap it had, and otherwise takes the nearest spelled gap.
void Settle(std::vector<Placed>& out, const std::vector<Placed>& right,
            std::optional<std::int32_t> attachAt, const GapRule& rule, Touched& touched) {
    std::size_t i = 0;
    while (i < right.size()) {
        std::size_t j = i + 1;
        while (j < right.size() && right[j].start == right[j - 1].end()) ++j;
        const std::int32_t pen = EndOf(out);
        const bool lineStart = out.empty();
        const std::int32_t was = right[i].start;
        std::int32_t now = was;
        if (i == 0 && attachAt) {
            now = std::max(*attachAt, pen);
        } else {
            const std::int32_t gap = was - pen;
            const bool keeps = gap >= 0 && (gap == right[i].cell.gap || rule.Spells(gap, lineStart));
            if (!keeps) now = pen + rule.Nearest(std::max(gap, 0), lineStart);
        }
        const std::int32_t shift = now - was;
        if (shift != 0) {
            touched.Add(was, right[j - 1].end());
            touched.Add(now, right[j - 1].end() + shift);
        }
        for (std::size_t k = i; k < j; ++k) {
            Placed moved = right[k];
            moved.start += shift;
            Append(out, std::move(moved));
        }
        i = j;
    }
}

TextRow RowOf(const std::vector<Placed>& placed) {
    TextRow row;
    row.reserve(placed.size());
    for (const Placed& p : placed) row.push_back(p.cell);
    return row;
}

RowEdit Unchanged(const TextRow& row, std::int32_t caret) {
    return {row, caret, 0, 0};
}

Result<RowEdit> Fitted(const std::vector<Placed>& out, std::int32_t caret, const Touched& touched,
                       std::int32_t width, int rowNumber) {
    const std::int32_t end = EndOf(out);
    if (end > width) return Error{"", kinds::RowTooWide, rowNumber, end, width};
    return RowEdit{RowOf(out), caret, touched.from, touched.to};
}

// The end of the last cell that ends at or before `x` (0 when none), and
// how many cells that is.
std::pair<std::int32_t, std::size_t> EndBefore(const std::vector<Placed>& placed,
                                               std::int32_t x) {
    std::size_t n = 0;
    while (n < placed.size() && placed[n].end() <= x) ++n;
    return {n == 0 ? 0 : placed[n - 1].end(), n};
}

}  // namespace

std::int32_t GapRule::AtLeast(std::int32_t width, bool lineStart) const {
    if (width <= 0) return 0;
    for (std::int32_t w = width; w <= width + kSearchReach; ++w) {
        if (Spells(w, lineStart)) return w;
    }
    return width;  // spaces given for tests may spell nothing near
}

std::int32_t GapRule::AtMost(std::int32_t width, bool lineStart) const {
    for (std::int32_t w = width; w > 0 && w >= width - kSearchReach; --w) {
        if (Spells(w, lineStart)) return w;
    }
    return 0;
}

std::int32_t GapRule::Nearest(std::int32_t width, bool lineStart) const {
    if (width <= 0) return 0;
    const std::int32_t up = AtLeast(width, lineStart);
    const std::int32_t down = AtMost(width, lineStart);
    return width - down < up - width ? down : up;
}

std::vector<std::int32_t> CellStarts(const TextRow& row) {
    std::vector<std::int32_t> starts;
    for (const Placed& p : Place(row)) starts.push_back(p.start);
    return starts;
}

std::int32_t RowWidth(const TextRow& row) {
    return EndOf(Place(row));
}

std::int32_t CaretAt(const TextRow& row, std::int32_t x, const GapRule& rule) {
    x = std::max(x, 0);
    const std::vector<Placed> placed = Place(row);
    for (const Placed& p : placed) {
        if (p.start <= x && x < p.end()) return 2 * (x - p.start) < p.cell.width ? p.start : p.end();
    }
    const auto [prevEnd, before] = EndBefore(placed, x);
    std::int32_t at = prevEnd + rule.Nearest(x - prevEnd, before == 0);
    if (before < placed.size()) {
        // Against the next cell is a place too: its gap is spelled.
        const std::int32_t next = placed[before].start;
        if (at > next || next - x < std::abs(at - x)) at = next;
    }
    return at;
}

std::int32_t CaretStep(const TextRow& row, std::int32_t caret, int step, const GapRule& rule,
                       std::int32_t width) {
    const std::vector<Placed> placed = Place(row);
    const auto [prevEnd, before] = EndBefore(placed, step < 0 ? caret - 1 : caret);
    if (step < 0) {
        if (caret <= 0) return 0;
        // Over the character that ends at the caret.
        for (const Placed& p : placed) {
            if (p.end() == caret) return p.start;
        }
        const std::int32_t x = caret - kFullWidthSpaceWidth;
        if (x <= prevEnd) return prevEnd;
        return prevEnd + rule.AtMost(x - prevEnd, before == 0);
    }
    for (const Placed& p : placed) {
        if (p.start == caret) return p.end();
    }
    const std::int32_t next = before < placed.size() ? placed[before].start : width;
    const std::int32_t x = prevEnd + rule.AtLeast(caret + kFullWidthSpaceWidth - prevEnd, before == 0);
    return std::min({x, next, std::max(caret, width)});
}

Result<RowEdit> InsertCells(const TextRow& row, std::int32_t caret, const TextRow& cells,
                            const GapRule& rule, std::int32_t width, int rowNumber) {
    if (cells.empty()) return Unchanged(row, caret);
    const std::vector<Placed> placed = Place(row);
    std::vector<Placed> out, right;
    for (const Placed& p : placed) (p.start < caret ? out : right).push_back(p);
    const std::int32_t pen = EndOf(out);
    std::int32_t at = std::max(caret, pen);
    if (!rule.Spells(at - pen, out.empty())) at = pen + rule.AtLeast(at - pen, out.empty());
    const bool attached = !right.empty() && right.front().start == caret;
    Touched touched;
    std::int32_t x = at;
    for (const TextCell& cell : cells) {
        Append(out, {x, cell});
        x += cell.width;
    }
    touched.Add(at, x);
    Settle(out, right, attached ? std::optional(x) : std::nullopt, rule, touched);
    return Fitted(out, x, touched, width, rowNumber);
}

RowEdit EraseBefore(const TextRow& row, std::int32_t caret, const GapRule& rule) {
    const std::vector<Placed> placed = Place(row);
    const auto [prevEnd, before] = EndBefore(placed, caret);
    std::vector<Placed> out(placed.begin(), placed.begin() + static_cast<std::ptrdiff_t>(before));
    std::vector<Placed> right(placed.begin() + static_cast<std::ptrdiff_t>(before), placed.end());
    Touched touched;
    std::int32_t now = caret;
    if (before > 0 && prevEnd == caret) {
        const Placed removed = out.back();
        out.pop_back();
        touched.Add(removed.start, removed.end());
        now = removed.start;
    } else if (caret > prevEnd) {
        now = prevEnd + rule.AtMost(std::max(caret - prevEnd - kFullWidthSpaceWidth, 0), before == 0);
    } else {
        return Unchanged(row, caret);
    }
    const bool attached = !right.empty() && right.front().start == caret;
    Settle(out, right, attached ? std::optional(now) : std::nullopt, rule, touched);
    return {RowOf(out), now, touched.from, touched.to};
}

}  // namespace fudeline
