// The whole of tracing one picture, as the command-line tool does it: load the
// catalogue, read and decode the picture, extract its lines, match the rows and
// write the text (UTF-8) to standard output. For timing with hyperfine.
//   trace_whole PICTURE [auto|lineart|photo]
#include <cstdio>
#include <iostream>
#include <string>

#include "convert/row_matcher.h"
#include "export/export_text.h"
#include "glyphs/catalog_loader.h"
#include "glyphs/cp932.h"
#include "glyphs/exe_dir.h"
#include "io/picture_decoder.h"
#include "lines/trace_picture.h"
#include "session/art_state.h"

using namespace fudeline;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: trace_whole PICTURE [auto|lineart|photo]\n";
        return 2;
    }
    TraceOptions options;
    const std::string mode = argc > 2 ? argv[2] : "auto";
    options.mode = mode == "lineart" ? TraceMode::LineArt
                   : mode == "photo" ? TraceMode::Photo
                                     : TraceMode::Auto;
    GlyphCatalog catalog;
    CatalogLoadError loadError;
    if (!LoadGlyphCatalog(FindDataDirectory(kSingleByteCatalogName), catalog, &loadError)) {
        std::cerr << "trace_whole: cannot load the catalogue " << loadError.path << "\n";
        return 1;
    }
    std::string why;
    const auto picture = ReadPicture(argv[1], &why);
    if (!picture) {
        std::cerr << "trace_whole: " << argv[1] << ": " << why << "\n";
        return 1;
    }
    const RowMatcher matcher(catalog);
    ArtState state(matcher, nullptr);
    state.LayInk(TracePicture(*picture, options).ink);
    const std::string text = Cp932ToUtf8(ComposeExportText(state.rows(), false));
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
