// Pictures of any content through the decoders and line extraction: no crash,
// no hang, an error message whenever a picture is refused, and otherwise an ink
// layer of the one fixed size. The first byte picks the mode and placement, so
// the fuzzer also reaches scaled and offset pictures. PNG, JPEG and WebP go
// through their colour decoder too (the command-line tool's path), shrunk on
// decoding when the placement shows them small, whether or not the grey
// decoder took them.
#include "fuzz_input.h"
#include "io/colour_picture.h"
#include "io/library_pixels.h"
#include "io/picture_decoder.h"
#include "trace/trace_picture.h"
#include "pixels/geometry.h"

using namespace fudeline;

namespace {

TraceOptions OptionsFrom(std::uint8_t choice) {
    TraceOptions options;
    options.mode = static_cast<TraceMode>(choice % 3);
    if (choice & 0x10) options.placement.scalePercent = 1.0 + (choice >> 5) * 150.0;
    if (choice & 0x08) {
        options.placement.offsetX = (choice & 0x04) ? -300 : 500;
        options.placement.offsetY = (choice & 0x04) ? -200 : 400;
    }
    return options;
}

void TraceInGrey(std::string_view bytes, const TraceOptions& options) {
    const auto picture = DecodePicture(bytes, LibraryPixels());
    if (!picture) {
        fuzz::Check(!picture.error().Reason().empty());
        return;
    }
    fuzz::Check(picture->width > 0 && picture->height > 0 &&
                picture->levels.size() ==
                    static_cast<std::size_t>(picture->width) * picture->height);
    const TracedInk traced = TracePicture(*picture, options);
    fuzz::Check(traced.mode != TraceMode::Auto);
    fuzz::Check(traced.ink.width() == kCanvasWidth && traced.ink.height() == kInkHeight);
}

// Whatever the grey decoder made of the bytes: the colour decoder has to
// refuse damage and bound its memory on its own.
void TraceInColour(std::string_view bytes, const TraceOptions& options) {
    if (!HasColourDecoder(bytes)) return;
    const auto colour = DecodeColourPicture(bytes, LibraryPixels(), [&](int width, int height) {
        return PlacementScale(width, height, options.placement);
    });
    if (!colour) {
        fuzz::Check(!colour.error().Reason().empty());
        return;
    }
    fuzz::Check(colour->width > 0 && colour->height > 0 && colour->reduction >= 1 &&
                colour->rgb.size() == static_cast<std::size_t>(colour->width) * colour->height * 3);
    const TracedInk tracedColour = TracePicture(*colour, options);
    fuzz::Check(tracedColour.ink.width() == kCanvasWidth &&
                tracedColour.ink.height() == kInkHeight);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const TraceOptions options = OptionsFrom(input.Byte());
    TraceInGrey(input.Rest(), options);
    TraceInColour(input.Rest(), options);
    return 0;
}
