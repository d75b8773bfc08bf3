// A selection lifted, moved, pasted and deleted. Every placement builds the
// whole drawing anew from what the selection was lifted from and where the
// selection lies now, so where it lands never depends on the way it went.
#include <algorithm>

#include "session/art_state.h"

namespace fudeline {

struct ArtState::Floating {
    // The drawing without the selection: its ink, and its opened rows with
    // the cells the selection took gone; in `redecode`, the columns of
    // opened rows whose cells lost part of their ink and are decoded again.
    Image ink;
    TextRows rows;
    OpenedRows opened{};
    std::array<ColumnSpan, kRowCount> redecode{};
    InkPiece piece;
    int dx = 0;
    int dy = 0;
};

struct ArtState::Placement {
    Image ink;
    TextRows rows;
    OpenedRows opened{};
    std::array<ColumnSpan, kRowCount> redecode{};
    // Cells that land on each row, over what the row holds there.
    std::array<std::vector<KeptCell>, kRowCount> moved;
};

ArtState::~ArtState() = default;

void ArtState::FloatingDeleter::operator()(Floating* floating) const {
    delete floating;
}

namespace {

bool Overlap(const KeptCell& a, const KeptCell& b) {
    return a.x < b.x + b.cell.width && b.x < a.x + a.cell.width;
}

// A row of `kept` cells with `moved` laid over them: kept cells a moved one
// overlaps go. Gaps of one or two pixels have no spelling: a kept cell
// there gives way to a moved one, and between two of a kind the later one
// moves left onto its neighbour.
TextRow RowOf(std::vector<KeptCell> kept, const std::vector<KeptCell>& moved) {
    std::erase_if(kept, [&](const KeptCell& cell) {
        return std::any_of(moved.begin(), moved.end(),
                           [&](const KeptCell& m) { return Overlap(cell, m); });
    });
    struct Entry {
        KeptCell cell;
        bool moved;
    };
    std::vector<Entry> all;
    for (const KeptCell& cell : kept) all.push_back({cell, false});
    for (const KeptCell& cell : moved) all.push_back({cell, true});
    std::stable_sort(all.begin(), all.end(),
                     [](const Entry& a, const Entry& b) { return a.cell.x < b.cell.x; });
    std::vector<Entry> placed;
    std::int64_t penX = 0;
    for (const Entry& entry : all) {
        std::int64_t gap = entry.cell.x - penX;
        if (gap < 3 && gap != 0 && !placed.empty() && entry.moved != placed.back().moved) {
            if (!entry.moved) continue;
            penX -= std::int64_t{placed.back().cell.cell.gap} + placed.back().cell.cell.width;
            placed.pop_back();
            gap = entry.cell.x - penX;
        }
        if (gap < 0) continue;  // overlapping cells of one kind: the first stays
        if (gap == 1 || gap == 2) gap = 0;
        Entry out = entry;
        out.cell.cell.gap = static_cast<std::int32_t>(gap);
        placed.push_back(out);
        penX += gap + entry.cell.cell.width;
    }
    TextRow row;
    for (const Entry& entry : placed) row.push_back(entry.cell.cell);
    return row;
}

std::vector<KeptCell> Without(std::vector<KeptCell> cells, const std::vector<KeptCell>& gone) {
    std::erase_if(cells, [&](const KeptCell& cell) {
        return std::find(gone.begin(), gone.end(), cell) != gone.end();
    });
    return cells;
}

}  // namespace

InkPiece ArtState::TakePiece(const InkRect& rect) const {
    InkPiece piece;
    piece.rect = rect.Clipped();
    const InkRect& r = piece.rect;
    const Drawing& d = *drawing_;
    for (int y = r.top; y < r.bottom(); ++y) {
        const std::uint32_t* row = d.ink.Row(y);
        for (int x = r.left; x < r.right(); ++x) {
            if (row[x] == kBlack) piece.pixels.push_back({x, y});
        }
    }
    // A cell may end on the column no ink reaches.
    const int right = r.right() == kInkClipRight + 1 ? kCanvasWidth : r.right();
    for (int row = 0; row < kRowCount; ++row) {
        if (!d.opened[static_cast<std::size_t>(row)] || row * kInkRowHeight < r.top ||
            (row + 1) * kInkRowHeight > r.bottom()) {
            continue;
        }
        for (const KeptCell& cell : PositionedCells(row, d.rows[static_cast<std::size_t>(row)])) {
            if (cell.x >= r.left && cell.x + cell.cell.width <= right) piece.cells.push_back(cell);
        }
    }
    return piece;
}

void ArtState::DropSelection() {
    floating_.reset();
}

std::optional<InkRect> ArtState::floatingRect() const {
    if (!floating_) return std::nullopt;
    return floating_->piece.rect.Moved(floating_->dx, floating_->dy);
}

void ArtState::Lift(const InkRect& rect) {
    RunPendingConversion();
    std::unique_ptr<Floating, FloatingDeleter> f(new Floating);
    f->piece = TakePiece(rect);
    const Drawing& d = *drawing_;
    f->ink = d.ink;
    std::array<ColumnSpan, kRowCount> lifted{};
    for (const Point& p : f->piece.pixels) {
        f->ink.SetPixel(p.x, p.y, kWhite);
        lifted[static_cast<std::size_t>(p.y / kInkRowHeight)].Add(p.x, p.x);
    }
    f->opened = d.opened;
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (!d.opened[r]) continue;
        std::vector<KeptCell> kept = Without(PositionedCells(row, d.rows[r]), f->piece.cells);
        // Cells whose ink went with the selection in part are read again
        // from what is left of it.
        std::erase_if(kept, [&](const KeptCell& cell) {
            const ColumnSpan& span = lifted[r];
            if (span.Empty() || cell.x > span.last || cell.x + cell.cell.width <= span.first) {
                return false;
            }
            f->redecode[r].Add(cell.x, cell.x + cell.cell.width - 1);
            return true;
        });
        f->rows[r] = RowOf(std::move(kept), {});
    }
    floating_ = std::move(f);
}

void ArtState::Place(int dx, int dy, bool withPiece, Step step) {
    Floating& f = *floating_;
    Placement p;
    p.ink = f.ink;
    p.rows = f.rows;
    p.opened = f.opened;
    p.redecode = f.redecode;
    if (withPiece) {
        // Opened cells stay on a row only when the move is by whole rows.
        if (dy % kInkRowHeight == 0) {
            for (KeptCell cell : f.piece.cells) {
                cell.row += dy / kInkRowHeight;
                cell.x += dx;
                if (cell.row < 0 || cell.row >= kRowCount || cell.x < 0 ||
                    cell.x + cell.cell.width > kCanvasWidth) {
                    continue;
                }
                p.moved[static_cast<std::size_t>(cell.row)].push_back(cell);
            }
        }
        for (const Point& pixel : f.piece.pixels) {
            const int x = pixel.x + dx, y = pixel.y + dy;
            if (x < 0 || x > kInkClipRight || y < 0 || y >= kInkHeight) continue;
            p.ink.SetPixel(x, y, kBlack);
            // Ink landing in opened text is read, unless its own cell came with it.
            const auto row = static_cast<std::size_t>(y / kInkRowHeight);
            const std::vector<KeptCell>& moved = p.moved[row];
            const bool covered = std::any_of(moved.begin(), moved.end(), [&](const KeptCell& c) {
                return x >= c.x && x < c.x + c.cell.width;
            });
            if (p.opened[row] && !covered) p.redecode[row].Add(x, x);
        }
    }
    f.dx = dx;
    f.dy = dy;
    Apply(p, step);
}

void ArtState::Apply(const Placement& p, Step step) {
    // Replacing the ink would set the selection down.
    std::unique_ptr<Floating, FloatingDeleter> keep = std::move(floating_);
    if (step == Step::New || undoIsCopy_) {
        ReplaceInk(p.ink);  // one step; every row matched from the ink
    } else {
        // The step under way goes on: the undo copy stays what it was before it.
        RunPendingConversion();
        Blank(*drawing_);
        LayInk(p.ink);
    }
    TextRows rows = p.rows;
    OpenedRows opened = p.opened;
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (p.moved[r].empty()) continue;
        rows[r] = RowOf(PositionedCells(row, opened[r] ? p.rows[r] : drawing_->rows[r]), p.moved[r]);
        opened[r] = true;
    }
    KeepOpenedRows(rows, opened);
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (!opened[r] || !p.moved[r].empty() || p.redecode[r].Empty()) continue;
        touched_[r] = p.redecode[r];
        MatchRows(row, row);
    }
    floating_ = std::move(keep);
}

InkRect ArtState::MoveSelection(const InkRect& rect, int dx, int dy, Step step) {
    if (!floating_ || *floatingRect() != rect) Lift(rect);
    Floating& f = *floating_;
    if (f.piece.Empty()) {
        f.dx += dx;
        f.dy += dy;
    } else {
        Place(f.dx + dx, f.dy + dy, true, step);
    }
    return *floatingRect();
}

InkRect ArtState::PasteSelection(const InkPiece& piece) {
    RunPendingConversion();
    std::unique_ptr<Floating, FloatingDeleter> f(new Floating);
    const Drawing& d = *drawing_;
    f->ink = d.ink;
    f->rows = d.rows;
    f->opened = d.opened;
    f->piece = piece;
    floating_ = std::move(f);
    if (!piece.Empty()) Place(0, 0, true);
    return *floatingRect();
}

void ArtState::DeleteSelection(const InkRect& rect) {
    if (!floating_ || *floatingRect() != rect) Lift(rect);
    if (!floating_->piece.Empty()) Place(floating_->dx, floating_->dy, false);
    floating_.reset();
}

int ArtState::LeftMargin() const {
    const Drawing& d = *drawing_;
    int left = kCanvasWidth;
    for (int y = std::max(d.inkRows.minY, 0); y <= std::min(d.inkRows.maxY, kInkHeight - 1); ++y) {
        const std::uint32_t* row = d.ink.Row(y);
        for (int x = 0; x < left; ++x) {
            if (row[x] == kBlack) {
                left = x;
                break;
            }
        }
    }
    // An opened row's first character may start left of its ink; spaces
    // written as characters (no ink under them) are margin too.
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (!d.opened[r]) continue;
        for (const KeptCell& cell : PositionedCells(row, d.rows[r])) {
            if (cell.x >= left) break;
            bool inked = false;
            for (int y = row * kInkRowHeight; y < (row + 1) * kInkRowHeight && !inked; ++y) {
                const std::uint32_t* pixels = d.ink.Row(y);
                for (int x = cell.x; x < std::min(cell.x + cell.cell.width, kCanvasWidth); ++x) {
                    inked = inked || pixels[x] == kBlack;
                }
            }
            if (inked) {
                left = cell.x;
                break;
            }
        }
    }
    return left == kCanvasWidth ? 0 : left;
}

bool ArtState::AlignLeft() {
    RunPendingConversion();
    const int margin = LeftMargin();
    if (margin == 0) return false;
    floating_.reset();
    MoveSelection(kWholeInk, -margin, 0);
    floating_.reset();
    return true;
}

}  // namespace fudeline
