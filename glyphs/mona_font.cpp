#include "glyphs/mona_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "glyphs/exe_dir.h"

namespace fudeline {

struct MonaFont::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    // Rendered glyphs, filled on first use; a null entry records a missing glyph.
    mutable std::unordered_map<char32_t, std::unique_ptr<FontGlyph>> cache;

    ~Impl() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

MonaFont::MonaFont(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MonaFont::~MonaFont() = default;

Result<std::unique_ptr<MonaFont>> MonaFont::Open(const std::string& path) {
    auto fail = [&](const std::string& why) { return Error{path, why}; };
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return SystemError(path, errno);
    if (S_ISDIR(info.st_mode)) return fail("is a directory, not a font file");
    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0) return fail("FreeType could not start");
    if (FT_New_Face(impl->library, path.c_str(), 0, &impl->face) != 0) {
        return fail("not a font FreeType can read");
    }
    if (impl->face->num_fixed_sizes < 1 || FT_Select_Size(impl->face, 0) != 0) {
        return fail("the font has no bitmap strike");
    }
    if (impl->face->available_sizes[0].height < kFontLineHeight) {
        return fail("the font's strike is smaller than 16 pixels");
    }
    return std::unique_ptr<MonaFont>(new MonaFont(std::move(impl)));
}

const FontGlyph* MonaFont::GlyphFor(char32_t codePoint) const {
    auto& cache = impl_->cache;
    if (auto it = cache.find(codePoint); it != cache.end()) return it->second.get();
    std::unique_ptr<FontGlyph> glyph;
    FT_Face face = impl_->face;
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index != 0 && FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph = std::make_unique<FontGlyph>();
        glyph->advance = static_cast<std::int32_t>(slot->advance.x >> 6);
        glyph->dark.assign(static_cast<std::size_t>(glyph->advance) * kFontLineHeight, 0);
        // Place the bitmap on the 16-row line: its top row sits bitmap_top rows
        // above the baseline, and the baseline lies at the face's ascender.
        const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
        const int top = ascender - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const int y = top + static_cast<int>(row);
            if (y < 0 || y >= kFontLineHeight) continue;
            const unsigned char* bits =
                bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int x = slot->bitmap_left + static_cast<int>(col);
                if (x < 0 || x >= glyph->advance) continue;
                if (bits[col / 8] & (0x80 >> (col % 8))) {
                    glyph->dark[static_cast<std::size_t>(y * glyph->advance + x)] = 1;
                }
            }
        }
    }
    const FontGlyph* result = glyph.get();
    cache.emplace(codePoint, std::move(glyph));
    return result;
}

std::string FindMonaFontPath() {
    for (const auto& dir : DataDirectories()) {
        std::error_code ec;
        if (std::filesystem::exists(dir + kMonaFontFileName, ec)) return dir + kMonaFontFileName;
    }
    return FUDELINE_SYSTEM_MONA_FONT;  // where the build found it
}

}  // namespace fudeline
