// The speech frame's question: the words to frame and the frame's style.
#pragma once

#include <QString>

#include <optional>

#include "render/speech_frame.h"

class QWidget;

namespace fudeline {

struct FrameRequest {
    QString words;
    FrameStyle style = FrameStyle::Rounded;
};

// What the user typed and chose, or nothing when cancelled.
std::optional<FrameRequest> AskFrameWithDialog(QWidget* parent);

}  // namespace fudeline
