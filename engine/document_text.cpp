// The text tool's commands: words typed at a caret, kept as text in their
// rows, and the replay event that types them.
#include <algorithm>
#include <cstdio>
#include <utility>

#include "engine/document.h"
#include "engine/engine_errors.h"
#include "glyphs/utf8.h"
#include "render/text_art_cells.h"
#include "session/client_map.h"
#include "session/replay_player.h"
#include "text/text_errors.h"

namespace fudeline {
namespace {

// What the ink layer and the drawing file keep of a row.
constexpr std::int32_t kRowWidthLimit = kInkClipRight + 1;

}  // namespace

GapRule Document::Gaps() const {
    // The export spells the gaps with the spacing chosen, so typed words
    // stand only where it can spell the gap before them.
    const bool unicode = decoder_.spacing == Spacing::Unicode;
    return GapRule(decoder_.spacing, unicode ? &engine_.unicodeSpaces() : nullptr);
}

bool Document::PlaceCaret(PenPoint at) {
    EndTyping();
    if (at.x < 0 || at.y < 0 || at.x >= kRowWidthLimit || at.y >= kRowCount * kRowHeight) {
        return false;
    }
    // The caret stands among the cells as the strokes so far left them.
    state_.RunPendingConversion();
    const int row = static_cast<int>(at.y / kRowHeight);
    const auto x = static_cast<std::int32_t>(at.x);
    const std::int32_t caretX = CaretAt(state_.rows()[static_cast<std::size_t>(row)], x, Gaps());
    caret_ = TextCaret{row, caretX, caretX};
    return true;
}

void Document::EndTyping() {
    caret_.reset();
    typing_.reset();
}

void Document::BeginTyping() {
    if (typing_ && typing_->Current(state_)) return;
    state_.RunPendingConversion();
    state_.SaveUndoSnapshot();
}

void Document::KeepEdit(int row, const RowEdit& edit) {
    BeginTyping();
    const TextRows before = state_.undoRows();
    state_.KeepRowText(row, edit.row, edit.from, edit.to, engine_.face());
    caret_->x = edit.caret;
    typing_ = Laid{before, state_.rows()};
}

Status Document::TypeLine(std::string_view utf8) {
    TextRow cells;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t at = i;
        const std::optional<char32_t> code = NextUtf8(utf8, i);
        if (!code) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(utf8[at]));
            return Error{"", kinds::NotUtf8, caret_->row + 1, at + 1, std::string(byte)};
        }
        Result<TextCell> cell = CellOfCharacter(*code, engine_.face());
        if (!cell) return std::move(cell).error();
        cells.push_back(std::move(*cell));
    }
    if (cells.empty()) return {};
    const int row = caret_->row;
    Result<RowEdit> edit = InsertCells(state_.rows()[static_cast<std::size_t>(row)], caret_->x,
                                       cells, Gaps(), kRowWidthLimit, row + 1);
    if (!edit) return std::move(edit).error();
    KeepEdit(row, *edit);
    return {};
}

Status Document::Type(std::string_view text) {
    if (!caret_) return Error{"", kinds::TypeWithoutCaret};
    if (Status opened = engine_.OpenFace(); !opened) return opened;
    for (;;) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (end != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
        if (Status typed = TypeLine(line); !typed) return typed;
        if (end == std::string_view::npos) return {};
        text.remove_prefix(end + 1);
        // Words past the last row have nowhere to go.
        if (!NewLine()) return Error{"", kinds::TypeBelowLastRow};
    }
}

bool Document::NewLine() {
    if (!caret_ || caret_->row + 1 >= kRowCount) return false;
    state_.RunPendingConversion();
    ++caret_->row;
    caret_->x = CaretAt(state_.rows()[static_cast<std::size_t>(caret_->row)], caret_->lineX, Gaps());
    return true;
}

bool Document::MoveCaret(int step, int rows) {
    if (!caret_) return false;
    state_.RunPendingConversion();
    TextCaret moved = *caret_;
    if (rows != 0) {
        moved.row = std::clamp(caret_->row + rows, 0, kRowCount - 1);
        moved.x = CaretAt(state_.rows()[static_cast<std::size_t>(moved.row)], caret_->x, Gaps());
        moved.lineX = moved.x;
    } else if (step != 0) {
        moved.x = CaretStep(state_.rows()[static_cast<std::size_t>(caret_->row)], caret_->x,
                            step < 0 ? -1 : 1, Gaps(), kRowWidthLimit);
    }
    const bool changed = moved != *caret_;
    caret_ = moved;
    return changed;
}

bool Document::EraseBefore() {
    if (!caret_) return false;
    if (!engine_.OpenFace()) return false;
    state_.RunPendingConversion();
    const int row = caret_->row;
    const RowEdit edit = fudeline::EraseBefore(state_.rows()[static_cast<std::size_t>(row)],
                                               caret_->x, Gaps());
    if (edit.Changed()) {
        KeepEdit(row, edit);
        return true;
    }
    const bool moved = edit.caret != caret_->x;
    caret_->x = edit.caret;
    return moved;
}

Status Document::Play(const ReplayEvent& event) {
    if (event.kind != ReplayEvent::Kind::Type) {
        EndTyping();
        PlayReplayEvent(event, state_);
        return {};
    }
    state_.CatchUpRows();  // typing reads the rows it types into
    const ClientTarget target = MapClientPoint(event.x, event.y);
    if (target.kind != ClientTarget::Kind::Canvas || !PlaceCaret(target.point)) return {};
    const Status typed = Type(event.text);
    EndTyping();
    state_.RunPendingConversion();  // the paint after the event, as every event has
    return typed;
}

void Document::BeginPlaying(const std::vector<ReplayEvent>& events) {
    const bool types = std::any_of(events.begin(), events.end(), [](const ReplayEvent& e) {
        return e.kind == ReplayEvent::Kind::Type;
    });
    if (!types) state_.DeferRows();
}

void Document::FinishPlaying() {
    FinishReplay(state_);
}

}  // namespace fudeline
