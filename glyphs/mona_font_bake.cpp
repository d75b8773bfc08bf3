// fudeline_bake_font PCF OUT: reads the Mona 16-pixel face with FreeType and
// writes every glyph it holds as the baked bitmaps MonaFont reads (format in
// mona_font.h). Runs at build time only, so neither the programs nor the
// browser page need FreeType to draw text.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <string>
#include <vector>

#include "glyphs/mona_font.h"

namespace {

int Fail(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "fudeline_bake_font: %s: %s\n", path.c_str(), why.c_str());
    return 2;
}

void PutU32(std::string& out, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fudeline_bake_font MONA.pcf.gz OUT\n");
        return 2;
    }
    const std::string path = argv[1];
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0) return Fail(path, "FreeType could not start");
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) return Fail(path, "not a font FreeType can read");
    if (face->num_fixed_sizes < 1 || FT_Select_Size(face, 0) != 0) {
        return Fail(path, "the font has no bitmap strike");
    }
    if (face->available_sizes[0].height < fudeline::kFontLineHeight) {
        return Fail(path, "the font's strike is smaller than 16 pixels");
    }
    const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);

    std::string body;
    std::uint32_t count = 0;
    FT_UInt index = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &index); index != 0;
         code = FT_Get_Next_Char(face, code, &index)) {
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const long advance = slot->advance.x >> 6;
        if (advance < 0 || advance > fudeline::kBakedGlyphMaxAdvance) {
            return Fail(path, "glyph U+" + std::to_string(code) + " is wider than a baked glyph");
        }
        const int rowBytes = static_cast<int>((advance + 7) / 8);
        std::vector<unsigned char> rows(static_cast<std::size_t>(rowBytes) * fudeline::kFontLineHeight, 0);
        // Place the bitmap on the 16-row line: its top row sits bitmap_top rows
        // above the baseline, and the baseline lies at the face's ascender.
        const int top = ascender - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const int y = top + static_cast<int>(row);
            if (y < 0 || y >= fudeline::kFontLineHeight) continue;
            const unsigned char* bits = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int x = slot->bitmap_left + static_cast<int>(col);
                if (x < 0 || x >= advance) continue;
                if (bits[col / 8] & (0x80 >> (col % 8))) {
                    rows[static_cast<std::size_t>(y * rowBytes + x / 8)] |=
                        static_cast<unsigned char>(0x80 >> (x % 8));
                }
            }
        }
        PutU32(body, static_cast<std::uint32_t>(code));
        body += static_cast<char>(advance);
        body.append(reinterpret_cast<const char*>(rows.data()), rows.size());
        ++count;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    std::string out(fudeline::kBakedFontMagic, sizeof fudeline::kBakedFontMagic - 1);
    PutU32(out, count);
    out += body;
    std::FILE* file = std::fopen(argv[2], "wb");
    if (!file) return Fail(argv[2], "cannot be written");
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (std::fclose(file) != 0 || !written) return Fail(argv[2], "cannot be written");
    return 0;
}
