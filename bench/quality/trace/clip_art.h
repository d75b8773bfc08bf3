// Tracing measured on real clip art (Debian's openclipart-png): pictures made
// by other people, listed by class in bench/data/clip-art/pictures.txt, each
// compared with a truth derived from the picture alone, without the tracer:
// the centre lines of its thresholded strokes, which is what an artist tracing
// a line drawing draws. Photos have no such truth; for them only what must
// never happen is counted (empty ink, a line along the picture's own border).
#pragma once

#include <string>
#include <vector>

#include <opencv2/core.hpp>

#include "pixels/colour_picture.h"
#include "pixels/image.h"

namespace fudeline::bench {

// How a class's strokes are told from paper for its truth.
enum class StrokeRule {
    Dark,      // black outline drawings: luma at most 128
    Light,     // thin light lines: luma at least 30 below white
    Coloured,  // coloured outlines: some channel at least 100 below white
    None,      // photos: no truth
};

struct ClipArtEntry {
    std::string group;  // the class, as the list names it
    std::string path;   // relative to the list's root
    int iconSize = 0;   // when > 0: shrunk to fit this square first (an icon)
};

// Lines "CLASS PATH" or "CLASS@SIZE PATH" (the picture shrunk to a SIZE x SIZE
// icon first); '#' starts a comment. Empty when the file cannot be read.
std::vector<ClipArtEntry> ReadClipArtList(const std::string& path);

// The rule of a class name: "black", "light", "colour" or anything else (None).
StrokeRule RuleOf(const std::string& group);

// The picture shrunk to fit `size` x `size` as an icon is drawn (area
// averaging), the canvas later blowing it up as it would any small picture.
ColourPicture ShrinkToIcon(const ColourPicture& picture, int size);

// The truth of a picture placed on the canvas (CV_8UC3 RGB or CV_8UC1, the
// placement's canvas and covered area): the strokes by `rule`, thinned to
// centre lines at twice the canvas resolution and set in ink coordinates as
// a pen stroke's points are.
Image CentreLineTruth(const cv::Mat& canvas, cv::Rect area, StrokeRule rule);

// The longest share of one side of `area` (canvas pixels) along which `ink`
// (ink coordinates) lies within 2 pixels inside that side: 1 for a frame.
double BorderLineShare(const Image& ink, cv::Rect area);

}  // namespace fudeline::bench
