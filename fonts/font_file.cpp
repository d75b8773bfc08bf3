#include "fonts/font_file.h"
#include "fonts/fonts_errors.h"

#include <zlib.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <vector>

#include "errors/regular_file.h"
#include "files/file_bytes.h"

namespace fudeline {
namespace {

// A FreeType library and face, let go on every way out.
struct FreeTypeFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeTypeFace() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

void PutU32(std::string& out, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
}

std::string Hex(unsigned long code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04lX", code);
    return text;
}

// Chooses the size to render at: the bitmap strike of that height, or the
// outline scaled to it.
Status SelectSize(const std::string& path, FT_Face face, int pixelSize) {
    if (FT_IS_SCALABLE(face)) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
            return Error{path, kinds::FontSizeNotSet, pixelSize};
        }
        return {};
    }
    std::string sizes;
    // A strike's size is its em in pixels (a 16-pixel font's strike may be
    // 18 pixels tall with its leading).
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        const long em = (face->available_sizes[i].y_ppem + 32) >> 6;
        if (em == pixelSize && FT_Select_Size(face, i) == 0) return {};
        sizes.append(sizes.empty() ? "" : ", ").append(std::to_string(em));
    }
    if (sizes.empty()) return Error{path, kinds::NoStrike, pixelSize};
    return Error{path, kinds::NoStrikeOfSizes, pixelSize, sizes};
}

// The tallest glyph bitmap read: the text line is 16 rows, and an outline
// font's descenders and accents reach a little past it.
inline constexpr int kGlyphMaxHeight = 64;

// A font is read whole by FreeType, so its size is checked first; a
// gzip-packed one is unpacked here, at most kMaxFontFileBytes of it (the size
// a gzip member records is only its size modulo 4 GB, and may lie), and
// FreeType reads the unpacked bytes: the font's bytes, or nothing when the
// file is not packed.
Status CheckFontFileSize(const std::string& path, struct stat& info) {
    if (::stat(path.c_str(), &info) != 0) return SystemError(path, errno);
    if (static_cast<std::uint64_t>(info.st_size) > kMaxFontFileBytes) {
        return TooLargeError(path, kMaxFontFileBytes);
    }
    return {};
}

Status CheckFontFileSize(const std::string& path) {
    struct stat info {};
    return CheckFontFileSize(path, info);
}

Result<std::optional<std::string>> ReadPackedFont(const std::string& path) {
    struct stat info {};
    if (Status sized = CheckFontFileSize(path, info); !sized) return sized.error();
    Result<std::string> read = ReadFileBytes(path, kMaxFontFileBytes);
    if (!read) return read.error();
    std::string& packed = *read;
    if (packed.size() < 2 || static_cast<unsigned char>(packed[0]) != 0x1F ||
        static_cast<unsigned char>(packed[1]) != 0x8B) {
        return std::optional<std::string>();
    }
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 16) != Z_OK) return Error{path, kinds::NotAFont};
    std::string unpacked;
    stream.next_in = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    char buffer[1 << 16];
    int status = Z_OK;
    while (status != Z_STREAM_END || stream.avail_in > 0) {
        // Members one after another, as gzip itself reads them.
        if (status == Z_STREAM_END && inflateReset(&stream) != Z_OK) break;
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) break;
        unpacked.append(buffer, sizeof buffer - stream.avail_out);
        if (unpacked.size() > kMaxFontFileBytes) {
            inflateEnd(&stream);
            return Error{path, kinds::FontUnpacksTooLarge, kMaxFontFileBytes >> 20};
        }
        if (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0) break;  // cut short
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END) return Error{path, kinds::NotAFont};
    return std::optional<std::string>(std::move(unpacked));
}

// Checks a glyph's size from its metrics alone before it is rendered: a
// bitmap font's glyph may claim any width, and rendering a 65,535-pixel-wide
// one for every character that maps to it took minutes.
Status CheckGlyphMetrics(const std::string& path, FT_Face face, FT_UInt index, FT_ULong code) {
    const FT_Int32 flags = FT_IS_SCALABLE(face) ? FT_LOAD_NO_BITMAP : FT_LOAD_BITMAP_METRICS_ONLY;
    if (FT_Load_Glyph(face, index, flags) != 0) return {};  // the rendering load skips it too
    const FT_Glyph_Metrics& metrics = face->glyph->metrics;
    if ((metrics.width + 63) / 64 > kBakedGlyphMaxAdvance) {
        return Error{path, kinds::GlyphTooWide, Hex(code), kBakedGlyphMaxAdvance};
    }
    if ((metrics.height + 63) / 64 > kGlyphMaxHeight) {
        return Error{path, kinds::GlyphTooTall, Hex(code), kGlyphMaxHeight};
    }
    return {};
}

}  // namespace

Result<std::string> BakeFontFile(const std::string& path, int pixelSize) {
    if (pixelSize < 1 || pixelSize > kFontLineHeight) {
        return Error{path, kinds::FontSizeOutOfRange, kFontLineHeight};
    }
    FreeTypeFace ft;
    if (FT_Init_FreeType(&ft.library) != 0) return Error{path, kinds::FreeTypeNotStarted};
    // FreeType names no reason a missing or unreadable file has; ask the
    // system. A pipe would keep it waiting, a folder is no font.
    if (Status regular = CheckRegularFile(path); !regular) return regular.error();
    Result<std::optional<std::string>> packed = ReadPackedFont(path);
    if (!packed) return packed.error();
    const std::optional<std::string>& unpacked = *packed;  // outlives the face
    const FT_Error opened =
        unpacked ? FT_New_Memory_Face(ft.library,
                                      reinterpret_cast<const FT_Byte*>(unpacked->data()),
                                      static_cast<FT_Long>(unpacked->size()), 0, &ft.face)
                 : FT_New_Face(ft.library, path.c_str(), 0, &ft.face);
    if (opened != 0) return Error{path, kinds::NotAFont};
    if (Status sized = SelectSize(path, ft.face, pixelSize); !sized) return sized.error();
    const int ascender = static_cast<int>((ft.face->size->metrics.ascender + 32) >> 6);

    std::string body;
    std::uint32_t count = 0;
    FT_UInt index = 0;
    for (FT_ULong code = FT_Get_First_Char(ft.face, &index); index != 0;
         code = FT_Get_Next_Char(ft.face, code, &index)) {
        if (Status fits = CheckGlyphMetrics(path, ft.face, index, code); !fits) return fits.error();
        if (FT_Load_Glyph(ft.face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
        const FT_GlyphSlot slot = ft.face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const long advance = (slot->advance.x + 32) >> 6;
        if (advance < 0) return Error{path, kinds::GlyphMovesBack, Hex(code), advance};
        if (advance > kBakedGlyphMaxAdvance) {
            return Error{path, kinds::GlyphTooWide, Hex(code), kBakedGlyphMaxAdvance};
        }
        // A grey bitmap would need a threshold of its own; black and white only.
        if (bitmap.rows > 0 && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
            return Error{path, kinds::GlyphInGrey, Hex(code)};
        }
        const int rowBytes = static_cast<int>((advance + 7) / 8);
        std::vector<unsigned char> rows(static_cast<std::size_t>(rowBytes) * kFontLineHeight, 0);
        // The bitmap's top row sits bitmap_top rows above the baseline, and the
        // baseline lies at the face's ascender on the 16-row line.
        const int top = ascender - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const int y = top + static_cast<int>(row);
            if (y < 0 || y >= kFontLineHeight) continue;
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
    if (count == 0) return Error{path, kinds::FontWithoutGlyphs};

    std::string out(kBakedFontMagic, sizeof kBakedFontMagic - 1);
    PutU32(out, count);
    out += body;
    return out;
}

Result<std::unique_ptr<MonaFont>> OpenFontFile(const std::string& path, int pixelSize) {
    // Read only the magic's length first: a real font may be large.
    if (Status regular = CheckRegularFile(path); !regular) return regular.error();
    if (Status sized = CheckFontFileSize(path); !sized) return sized.error();
    std::string head(sizeof kBakedFontMagic - 1, '\0');
    const Result<int> file = OpenInputFile(path);
    if (!file) return file.error();
    const ssize_t got = ::read(*file, head.data(), head.size());
    ::close(*file);
    head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    if (head == std::string(kBakedFontMagic, sizeof kBakedFontMagic - 1)) {
        if (pixelSize != kFontLineHeight) {
            return Error{path, kinds::BakedFontOtherSize};
        }
        return MonaFont::Open(path);
    }
    Result<std::string> baked = BakeFontFile(path, pixelSize);
    if (!baked) return baked.error();
    Result<std::unique_ptr<MonaFont>> font = MonaFont::FromBytes(std::move(*baked));
    if (!font) return font.error().WithPath(path);
    return font;
}

}  // namespace fudeline
