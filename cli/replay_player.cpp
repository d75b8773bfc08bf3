#include "cli/replay_player.h"

namespace fudeline {

void PlayReplayEvents(const std::vector<ReplayEvent>& events, ArtState& state,
                      const std::function<void(const ArtState&)>& afterEach) {
    for (const ReplayEvent& event : events) {
        switch (event.kind) {
            case ReplayEvent::Kind::Down:
                state.LeftButtonDown(event.x, event.y);
                break;
            case ReplayEvent::Kind::Move:
                state.MouseMove(event.x, event.y);
                break;
            case ReplayEvent::Kind::Up:
                state.LeftButtonUp();
                break;
            case ReplayEvent::Kind::Undo:
                state.ExchangeWithUndo();
                break;
            case ReplayEvent::Kind::Clear:
                state.ClearCanvas();
                break;
            case ReplayEvent::Kind::ClearDeclined:
                break;
        }
        state.RunPendingConversion();  // the paint that follows every event
        if (afterEach) afterEach(state);
    }
}

}  // namespace fudeline
