// The whole of tracing one picture, as the command-line tool does it: load the
// catalogue, read and decode the picture, extract its lines, match the rows and
// write the text (UTF-8) to standard output. For timing with hyperfine.
//   trace_whole PICTURE [auto|lineart|photo] [--render OUT.png]
// --render also draws the text as the canvas shows it, into a PNG.
#include <cstdio>
#include <iostream>
#include <string>

#include "convert/row_matcher.h"
#include "convert/text_painter.h"
#include "export/export_text.h"
#include "glyphs/catalog_loader.h"
#include "glyphs/exe_dir.h"
#include "glyphs/mona_font.h"
#include "io/file_bytes.h"
#include "io/picture_decoder.h"
#include "io/picture_writer.h"
#include "lines/trace_picture.h"
#include "pixels/geometry.h"
#include "session/art_state.h"

using namespace fudeline;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: trace_whole PICTURE [auto|lineart|photo] [--render OUT.png]\n";
        return 2;
    }
    TraceOptions options;
    std::string mode = "auto", renderPath;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--render" && i + 1 < argc) {
            renderPath = argv[++i];
        } else {
            mode = argv[i];
        }
    }
    options.mode = mode == "lineart" ? TraceMode::LineArt
                   : mode == "photo" ? TraceMode::Photo
                                     : TraceMode::Auto;
    Result<std::string> dir = LocateDataDirectory(kSingleByteCatalogName);
    const Result<GlyphCatalog> catalog =
        dir ? LoadGlyphCatalog(*dir) : Result<GlyphCatalog>(dir.error());
    if (!catalog) {
        std::cerr << "trace_whole: " << catalog.error().Message() << "\n";
        return 1;
    }
    const auto picture = ReadPicture(argv[1]);
    if (!picture) {
        std::cerr << "trace_whole: " << picture.error().Message() << "\n";
        return 1;
    }
    const RowMatcher matcher(*catalog);
    ArtState state(matcher, nullptr);
    state.LayInk(TracePicture(*picture, options).ink);
    const Result<std::string> text = ComposeExportUtf8(state.rows(), false);
    if (text) std::fwrite(text->data(), 1, text->size(), stdout);
    if (renderPath.empty()) return 0;

    const auto font = MonaFont::Open(FUDELINE_FONT);
    if (!font) {
        std::cerr << "trace_whole: " << font.error().Message() << "\n";
        return 1;
    }
    const TextPainter painter(**font);
    Image canvas(kCanvasWidth, kCanvasHeight);
    for (int row = 0; row < kRowCount; ++row) {
        painter.DrawTextRow(canvas, row, state.rows()[static_cast<std::size_t>(row)]);
    }
    GreyPicture grey{kCanvasWidth, kCanvasHeight, {}};
    for (int y = 0; y < kCanvasHeight; ++y) {
        for (int x = 0; x < kCanvasWidth; ++x) {
            const std::uint32_t c = canvas.Pixel(x, y);
            grey.levels.push_back(GreyOf(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF));
        }
    }
    const auto png = EncodeGreyPng(grey);
    const Status written = png ? WriteFileBytes(renderPath, *png) : Status(png.error());
    if (!written) {
        std::cerr << "trace_whole: " << written.error().Message() << "\n";
        return 1;
    }
    return 0;
}
