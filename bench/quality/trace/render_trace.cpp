// Draws the text art of a picture as the canvas shows it, into a PNG: how the
// README's before-and-after picture is made.
//   render_trace PICTURE OUT.png
#include <iostream>
#include <string>

#include "bench/tool_arguments.h"
#include "engine/engine.h"
#include "engine/trace_file.h"
#include "files/file_bytes.h"
#include "io/library_pixels.h"
#include "io/picture_decoder.h"
#include "io/png_writer.h"
#include "pixels/geometry.h"
#include "session/art_state.h"
#include "trace/trace_picture.h"

using namespace fudeline;

namespace {

int Fail(const Error& error) {
    std::cerr << "render_trace: " << error.Message() << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = bench::CheckToolArguments(argc, argv, "render_trace PICTURE OUT.png", 2);
        status >= 0) {
        return status;
    }
    Result<Engine> engine = Engine::Load({"", FUDELINE_FONT});
    if (!engine) return Fail(engine.error());
    // Read and traced as `fudeline-cli trace` reads and traces it (PNG,
    // JPEG and WebP in colour).
    const Result<TracedInk> traced = TraceFile(argv[1], {}, LibraryPixels());
    if (!traced) return Fail(traced.error());

    ArtState state(engine->matcher(), &engine->painter());
    state.LayInk(traced->ink);

    const Image& text = state.textLayer();
    GreyPicture grey{text.width(), text.height(), {}};
    for (int y = 0; y < text.height(); ++y) {
        for (int x = 0; x < text.width(); ++x) {
            const std::uint32_t c = text.Pixel(x, y);
            grey.levels.push_back(GreyOf(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF));
        }
    }
    const Result<std::string> png = EncodeGreyPng(grey);
    if (!png) return Fail(png.error());
    if (const Status written = WriteFileBytes(argv[2], *png); !written) {
        return Fail(written.error());
    }
    return 0;
}
