// fudeline_bake_font FONT OUT [SIZE]: bakes the text face once, at build time,
// into the bitmaps MonaFont reads (format in glyphs/mona_font.h), so neither
// the programs nor the browser page need FreeType to draw text.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fonts/font_file.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: fudeline_bake_font FONT OUT [SIZE]\n");
        return 2;
    }
    const int size = argc == 4 ? std::atoi(argv[3]) : fudeline::kDefaultFontPixelSize;
    const fudeline::Result<std::string> baked = fudeline::BakeFontFile(argv[1], size);
    if (!baked) {
        std::fprintf(stderr, "fudeline_bake_font: %s\n", baked.error().Message().c_str());
        return 2;
    }
    std::FILE* file = std::fopen(argv[2], "wb");
    if (!file) return std::fprintf(stderr, "fudeline_bake_font: %s: cannot be written\n", argv[2]), 2;
    const bool written = std::fwrite(baked->data(), 1, baked->size(), file) == baked->size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "fudeline_bake_font: %s: cannot be written\n", argv[2]);
        return 2;
    }
    return 0;
}
