#include "glyphs/mona_font.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "errors/regular_file.h"
#include "files/file_bytes.h"
#include "glyphs/cp932.h"
#include "glyphs/exe_dir.h"
#include "glyphs/glyphs_errors.h"

namespace fudeline {

struct MonaFont::Impl {
    std::string bytes;
    // Where each glyph's advance byte lies in `bytes`.
    std::unordered_map<char32_t, std::size_t> offsets;
    // Unpacked glyphs, filled on first use; a null entry records a missing glyph.
    mutable std::unordered_map<char32_t, std::unique_ptr<FontGlyph>> cache;
};

namespace {

std::uint32_t ReadU32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = v << 8 | static_cast<unsigned char>(bytes[at + k]);
    return v;
}

std::size_t GlyphBytes(int advance) {
    return static_cast<std::size_t>((advance + 7) / 8) * kFontLineHeight;
}

}  // namespace

MonaFont::MonaFont(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MonaFont::~MonaFont() = default;

Result<std::unique_ptr<MonaFont>> MonaFont::FromBytes(std::string bytes) {
    auto fail = [](const ErrorKind& kind) { return Error{"", kind}; };
    const std::size_t magicLength = sizeof kBakedFontMagic - 1;
    if (bytes.size() < magicLength + 4 || bytes.compare(0, magicLength, kBakedFontMagic) != 0) {
        return fail(kinds::NotBakedFont);
    }
    auto impl = std::make_unique<Impl>();
    const std::uint32_t count = ReadU32(bytes, magicLength);
    std::size_t at = magicLength + 4;
    // Every glyph takes at least its code and advance: a count the bytes
    // cannot hold is refused before the table is sized by it.
    if (count > (bytes.size() - at) / 5) {
        return Error{"", kinds::BakedFontCountTooLarge, static_cast<std::uint64_t>(count),
                     static_cast<std::uint64_t>(bytes.size() - at)};
    }
    impl->offsets.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (bytes.size() - at < 5) return fail(kinds::BakedFontCut);
        const char32_t code = ReadU32(bytes, at);
        const int advance = static_cast<unsigned char>(bytes[at + 4]);
        if (advance > kBakedGlyphMaxAdvance) return fail(kinds::BakedGlyphTooWide);
        if (bytes.size() - at - 5 < GlyphBytes(advance)) {
            return fail(kinds::BakedFontCut);
        }
        impl->offsets.emplace(code, at + 4);
        at += 5 + GlyphBytes(advance);
    }
    if (at != bytes.size()) return fail(kinds::BakedFontTrailingBytes);
    impl->bytes = std::move(bytes);
    return std::unique_ptr<MonaFont>(new MonaFont(std::move(impl)));
}

Result<std::unique_ptr<MonaFont>> MonaFont::Open(const std::string& path) {
    // A folder by the face's name has a wording of its own; what else is
    // not a regular file (a pipe would block) the whole-file read refuses.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return Error{path, kinds::FontIsDirectory};
    }
    Result<std::string> bytes = ReadFileBytes(path, kMaxFontFileBytes);
    if (!bytes) return bytes.error();
    Result<std::unique_ptr<MonaFont>> font = FromBytes(std::move(*bytes));
    if (!font) return font.error().WithPath(path);
    return font;
}

const FontGlyph* MonaFont::GlyphFor(char32_t codePoint) const {
    auto& cache = impl_->cache;
    if (auto it = cache.find(codePoint); it != cache.end()) return it->second.get();
    std::unique_ptr<FontGlyph> glyph;
    if (const std::optional<char32_t> reading = Cp932Reading(codePoint)) {
        // Text reaches a board as Shift-JIS: a character CP932 writes with
        // the bytes of another (− U+2212 with those of － U+FF0D, ¬ with
        // those of ￢) is drawn as the board draws those bytes, whatever
        // glyph of its own the face has.
        if (const FontGlyph* same = GlyphFor(*reading)) glyph = std::make_unique<FontGlyph>(*same);
    } else if (auto found = impl_->offsets.find(codePoint); found != impl_->offsets.end()) {
        const auto* data = reinterpret_cast<const unsigned char*>(impl_->bytes.data()) + found->second;
        glyph = std::make_unique<FontGlyph>();
        glyph->advance = data[0];
        glyph->dark.assign(static_cast<std::size_t>(glyph->advance) * kFontLineHeight, 0);
        const int rowBytes = (glyph->advance + 7) / 8;
        const unsigned char* rows = data + 1;
        for (int y = 0; y < kFontLineHeight; ++y) {
            for (int x = 0; x < glyph->advance; ++x) {
                if (rows[y * rowBytes + x / 8] & (0x80 >> (x % 8))) {
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
    return FUDELINE_BAKED_MONA_FONT;  // where the build wrote it
}

}  // namespace fudeline
