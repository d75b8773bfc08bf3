// Steadier strokes: the pen follows the pointer a little behind, as drawing
// apps' stabilizers make it, so that a hand's tremor of a pixel or two does
// not reach the ink. And Shift's straight lines, turned to 15° steps.
//
// Everything is whole-number arithmetic: the window, the command line and the
// page (WebAssembly) must give the same pen points, to the pixel, for the
// same pointer events, and no rounding of a library's floating point may
// tell them apart.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "pixels/pen_stroke.h"

namespace fudeline {

// How strongly strokes are steadied.
enum class Stabilizer { Off, Weak, Strong };

// "off", "weak", "strong": the words replay scripts and settings use.
std::string_view StabilizerName(Stabilizer stabilizer);
std::optional<Stabilizer> ParseStabilizer(std::string_view name);

// The path a finished freehand stroke settles to, from the points its pen
// drew: each point evened out with its two neighbours (the ends stay where
// the user put them), then only the points that bend the path by more than
// the strength's tolerance kept (Douglas-Peucker). A straight stroke drawn by
// a hand that wobbles a pixel or two becomes the straight line the text can
// write with straight characters; a curve keeps its bends, cut into chords
// no farther than the tolerance from it. Off gives the points as they are.
std::vector<PenPoint> SettledPath(std::span<const PenPoint> points, Stabilizer stabilizer);

// One stroke's pen following its pointer. Each pointer point pulls the pen a
// share of the way towards it (weighted smoothing, which takes the tremor out
// of slow strokes), and the pen never trails the pointer by more than a few
// pixels (so fast strokes keep their shape and the lag stays below half a
// text cell). Off passes every point through as it came.
class StrokeStabilizer {
  public:
    // How far behind the pointer the pen may fall at most, in canvas pixels.
    static int MaxLag(Stabilizer stabilizer);

    // A stroke starts at `p`: pen and pointer are there.
    void Begin(PenPoint p, Stabilizer stabilizer);
    // The pointer moved to `p`: where the pen draws to next, or nothing while
    // it stays on the pixel it last drew to (Off answers every point).
    std::optional<PenPoint> Follow(PenPoint p);
    // The stroke ends: where the pen must still draw to so that it ends on
    // the pointer's last point, where the user let go, or nothing when it is
    // there. A stroke that moved but drew nothing yet draws to it even so,
    // as an unsteadied one would. The pen is on the pointer afterwards.
    std::optional<PenPoint> Finish();
    // The pen and the pointer are both at `p`, as drawn there by other means
    // (a straight line's end); the stroke goes on from there.
    void Restart(PenPoint p);

    PenPoint pointer() const { return pointer_; }

  private:
    Stabilizer stabilizer_ = Stabilizer::Off;
    PenPoint pointer_;
    PenPoint drawnTo_;  // the last point handed out
    // The pen's exact place, in 1/kSubpixels of a pixel.
    std::int64_t penX_ = 0;
    std::int64_t penY_ = 0;
    bool moved_ = false;  // the pointer moved since the stroke began
    bool drew_ = false;   // a point was handed out since the stroke began
};

// The end of a straight line from `from` towards `to`, turned to the nearest
// multiple of 15° and as long as from-to is (to the nearest pixel).
PenPoint SnapToAngleStep(PenPoint from, PenPoint to);

}  // namespace fudeline
