// Pictures in colour, for line extraction: two flat regions of the same grey
// but different hue meet at a line, which a grey picture loses. PNG (clip
// art, cartoons, logos, most with transparency), JPEG and WebP are read in
// colour; the other formats are traced in grey (DecodePicture).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "errors/result.h"
#include "io/pixel_source.h"
#include "pixels/colour_picture.h"
#include "pixels/grey_picture.h"

namespace fudeline {

// How much a picture of this size will be scaled when shown (1: as stored).
using ShownScale = std::function<double(int width, int height)>;

// Whether DecodeColourPicture takes these bytes (PNG, JPEG or WebP, by their first bytes).
bool HasColourDecoder(std::string_view bytes);

// Transparent parts laid on white paper (ChannelOverWhite); the size limit
// and the errors are DecodePicture's. `shownScale`, when given, says how
// much the picture of this size will be scaled when shown: a JPEG that will
// be shrunk to a half or less is then decoded at 1/2, 1/4 or 1/8 of its size
// (never smaller than it is shown; `reduction` says by how much), which is
// several times quicker for a camera picture and averages as shrinking does.
Result<ColourPicture> DecodeColourPicture(std::string_view bytes, const PixelSource& pixels,
                                          const ShownScale& shownScale = {});

// A picture as line extraction reads it: PNG, JPEG and WebP in colour, every
// other format in grey.
struct TracingPicture {
    bool inColour = false;
    ColourPicture colour;  // when inColour
    GreyPicture grey;      // otherwise
};

// What decoding `bytes` for tracing asks of its pixel source, from their
// header alone; refused as DecodeTracingPicture refuses them before decoding.
Result<PixelRequest> TracingPixelRequest(std::string_view bytes, const ShownScale& shownScale = {});

// Decodes a picture file's `bytes` for tracing; errors carry no path.
Result<TracingPicture> DecodeTracingPicture(std::string_view bytes, const PixelSource& pixels,
                                            const ShownScale& shownScale = {});

// Reads and decodes `path` ("-": standard input) for tracing; errors name it.
Result<TracingPicture> ReadTracingPicture(const std::string& path, const PixelSource& pixels,
                                          const ShownScale& shownScale = {});

}  // namespace fudeline
