#include "session/replay_player.h"

#include "session/client_map.h"

namespace fudeline {

void PlayReplayEvent(const ReplayEvent& event, ArtState& state) {
    switch (event.kind) {
        case ReplayEvent::Kind::Down: {
            const ClientTarget target = MapClientPoint(event.x, event.y);
            if (target.kind == ClientTarget::Kind::PenIndicator) state.TogglePenMode();
            if (target.kind == ClientTarget::Kind::Canvas) {
                state.BeginStroke(target.point, event.shift);
            }
            break;
        }
        case ReplayEvent::Kind::Move:
            state.ExtendStroke(MapClientPoint(event.x, event.y).point, event.shift);
            break;
        case ReplayEvent::Kind::Up:
            state.EndStroke();
            break;
        case ReplayEvent::Kind::Undo:
            state.Undo();
            break;
        case ReplayEvent::Kind::Redo:
            state.Redo();
            break;
        case ReplayEvent::Kind::SetUndoMode:
            state.SetUndoMode(event.undoMode);
            break;
        case ReplayEvent::Kind::Clear:
            state.ClearCanvas();
            break;
        case ReplayEvent::Kind::ClearDeclined:
            break;
        case ReplayEvent::Kind::SetStabilizer:
            state.SetStabilizer(event.stabilizer);
            break;
        case ReplayEvent::Kind::SetEraser:
            state.SetEraserWidth(EraserWidth(event.eraser));
            break;
        case ReplayEvent::Kind::Type:
            break;
    }
    // With the fine decoder the paint after a move may wait for the next
    // event that is not a move: a row it decodes is the ink's alone, however
    // the moves are painted together, and a long stroke then costs one
    // decoding instead of one a move. The row matcher matches up to the
    // inked extent of its paint, and a row keeping opened or typed text
    // keeps each paint's decoded span as its own cells: there every move is
    // painted, as the script was recorded.
    if (event.kind == ReplayEvent::Kind::Move && state.fineDecoder() != nullptr &&
        !state.KeepsAnyOpenedRow()) {
        return;
    }
    state.RunPendingConversion();  // the paint that follows the event
}

void FinishReplay(ArtState& state) {
    state.RunPendingConversion();
    state.CatchUpRows();
}

void PlayReplayEvents(const std::vector<ReplayEvent>& events, ArtState& state,
                      const std::function<void(const ArtState&)>& afterEach) {
    // Typing is the Document's, not played here: only who looks after each
    // event needs every paint's rows.
    if (!afterEach) state.DeferRows();
    for (const ReplayEvent& event : events) {
        PlayReplayEvent(event, state);
        if (afterEach) afterEach(state);
    }
    FinishReplay(state);
}

}  // namespace fudeline
