// Pictures of any content through the decoders and line extraction: no crash,
// no hang, an error message whenever a picture is refused, and otherwise an ink
// layer of the one fixed size. The first byte picks the mode and placement, so
// the fuzzer also reaches scaled and offset pictures. PNG and JPEG go through
// their colour decoders too (the command-line tool's path), shrunk on
// decoding when the placement shows them small.
#include "fuzz_input.h"
#include "io/colour_picture.h"
#include "io/picture_decoder.h"
#include "lines/trace_picture.h"
#include "pixels/geometry.h"

using namespace fudeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t choice = input.Byte();
    const auto picture = DecodePicture(input.Rest());
    if (!picture) {
        fuzz::Check(!picture.error().reason.empty());
        return 0;
    }
    fuzz::Check(picture->width > 0 && picture->height > 0 &&
                picture->levels.size() ==
                    static_cast<std::size_t>(picture->width) * picture->height);
    TraceOptions options;
    options.mode = static_cast<TraceMode>(choice % 3);
    if (choice & 0x10) options.placement.scalePercent = 1.0 + (choice >> 5) * 150.0;
    if (choice & 0x08) {
        options.placement.offsetX = (choice & 0x04) ? -300 : 500;
        options.placement.offsetY = (choice & 0x04) ? -200 : 400;
    }
    const TracedInk traced = TracePicture(*picture, options);
    fuzz::Check(traced.mode != TraceMode::Auto);
    fuzz::Check(traced.ink.width() == kCanvasWidth && traced.ink.height() == kInkHeight);
    if (!HasColourDecoder(input.Rest())) return 0;
    const auto colour = DecodeColourPicture(input.Rest(), [&](int width, int height) {
        return PlacementScale(width, height, options.placement);
    });
    if (!colour) {
        fuzz::Check(!colour.error().reason.empty());
        return 0;
    }
    fuzz::Check(colour->width > 0 && colour->height > 0 && colour->reduction >= 1 &&
                colour->rgb.size() == static_cast<std::size_t>(colour->width) * colour->height * 3);
    const TracedInk tracedColour = TracePicture(*colour, options);
    fuzz::Check(tracedColour.ink.width() == kCanvasWidth &&
                tracedColour.ink.height() == kInkHeight);
    return 0;
}
