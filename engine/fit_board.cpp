#include "engine/fit_board.h"

#include <cmath>
#include <optional>

#include "engine/trace_file.h"
#include "pixels/geometry.h"

namespace fudeline {

double FitStepScalePercent(int width, int height, int step) {
    const double percent = CanvasFitScale(width, height) * 100.0 * step / 100.0;
    return std::floor(percent * 100.0) / 100.0;
}

Result<BoardFit> FitPictureToBoard(Document& choices, std::string_view pictureBytes,
                                   const TraceOptions& options, const BoardLimits& limits,
                                   const PixelSource& pixels) {
    const Result<PixelRequest> header = TracePixelRequest(pictureBytes, options);
    if (!header) return header.error();
    const int width = static_cast<int>(header->width), height = static_cast<int>(header->height);
    Document scratch(choices.engine(), Document::Canvas::Headless);
    scratch.SetDecoder(choices.decoder());
    scratch.SetBoard(choices.board());
    scratch.SetBr(choices.br());
    // Each step traced at most once; a failure to read stops the search.
    std::optional<Error> failed;
    auto countAt = [&](int step) -> std::optional<BoardFit> {
        TraceOptions at = options;
        at.placement.scalePercent = FitStepScalePercent(width, height, step);
        const Result<TracedInk> traced = TraceFileBytes(pictureBytes, at, pixels);
        if (!traced) {
            failed = traced.error();
            return std::nullopt;
        }
        scratch.state().ClearCanvas();
        scratch.state().LayInk(traced->ink);
        scratch.Settle();
        return BoardFit{*at.placement.scalePercent, scratch.CountPost(limits)};
    };
    // A larger picture never makes a shorter text but by a stray byte or
    // two: the sizes are searched as if the counts only grew.
    std::optional<BoardFit> best = countAt(100);
    if (failed) return *failed;
    if (!best->count.over()) return *best;
    int fits = 0, over = 100;
    best.reset();
    while (over - fits > 1) {
        const int step = (fits + over) / 2;
        std::optional<BoardFit> tried = countAt(step);
        if (failed) return *failed;
        if (tried->count.over()) {
            over = step;
        } else {
            fits = step;
            best = tried;
        }
    }
    // A size too small to show a line fits any board and is no answer.
    if (!best || best->count.bytes == 0) return Error{"", kinds::NoSizeFitsBoard};
    return *best;
}

}  // namespace fudeline
