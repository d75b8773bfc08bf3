// Plays replay events on a drawing session, one paint after each, exactly as
// the window would receive and paint them.
#pragma once

#include <functional>
#include <vector>

#include "session/art_state.h"
#include "session/replay_script.h"

namespace fudeline {

// One event and the paint that follows it (a move's may wait for a later
// event's; FinishReplay paints what is left). A type event changes nothing
// here: typing needs the face, and Document::Play plays it.
void PlayReplayEvent(const ReplayEvent& event, ArtState& state);
// The paint after the script's last event.
void FinishReplay(ArtState& state);

// `clearConfirmed` events run the confirmed clear; declined ones change
// nothing. `afterEach`, if given, sees the session after every event, and
// the rows as the window shows them after the last. Without it, the fine
// decoder's rows are decoded once, after the last event (ArtState::DeferRows).
void PlayReplayEvents(const std::vector<ReplayEvent>& events, ArtState& state,
                      const std::function<void(const ArtState&)>& afterEach = {});

}  // namespace fudeline
