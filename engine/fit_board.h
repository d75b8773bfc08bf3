// A picture traced at the largest size whose text fits a board's post: the
// one search the command line's --fit-board and the faces' "ボードに合わせる"
// share.
#pragma once

#include <string_view>

#include "engine/document.h"
#include "errors/result.h"
#include "export/boards.h"
#include "export/post_counter.h"
#include "io/pixel_source.h"
#include "trace/trace_options.h"

namespace fudeline {

// The size chosen, as --scale takes it, and its text counted as a post.
struct BoardFit {
    double scalePercent = 0;
    PostCount count;
};

// Sizes are tried in hundredths of the size that fits the canvas (scales in
// whole hundredths of a percent), from that size down; the result is the
// largest that fits, and one step larger does not. The text is the picture's
// lines alone, converted with `choices`' decoder, spacing, board and <BR>
// (the drawing itself is not touched). Fails with kinds::NoSizeFitsBoard
// when every size that still shows a line is over a limit, and as
// TraceFileBytes when the picture can't be read (no path).
Result<BoardFit> FitPictureToBoard(Document& choices, std::string_view pictureBytes,
                                   const TraceOptions& options, const BoardLimits& limits,
                                   const PixelSource& pixels);

// The scale of step `step` (1-100) of a picture of `width` x `height`: that
// share of the canvas fit, in whole hundredths of a percent rounded down.
double FitStepScalePercent(int width, int height, int step);

}  // namespace fudeline
