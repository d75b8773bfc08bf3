#include "glyphs/catalog_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "glyphs/catalog_loader.h"
#include "glyphs/cp932.h"

namespace fudeline {
namespace {

bool IsTrailByte(unsigned b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

void AppendGlyphLine(const MonaFont& font, unsigned b0, unsigned b1, std::string& out) {
    std::string character(1, static_cast<char>(b0));
    if (b1 != 0) character.push_back(static_cast<char>(b1));
    const auto codePoint = Cp932CharToUnicode(character);
    if (!codePoint) return;
    const FontGlyph* glyph = font.GlyphFor(*codePoint);
    if (!glyph || glyph->advance <= 0) return;
    out += CatalogLine(b0, b1, *glyph);
    out += '\n';
}

// Writes the whole text and closes the file, each step checked: a short write
// (a full disk) or a failed close must not leave a truncated catalogue behind
// a success.
Status WriteTextFile(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return SystemError(path, errno);
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int why = n < 0 ? errno : ENOSPC;
            ::close(fd);
            return SystemError(path, why);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) return SystemError(path, errno);
    return {};
}

}  // namespace

std::string CatalogLine(unsigned b0, unsigned b1, const FontGlyph& glyph) {
    std::string pairs;
    int count = 0;
    for (int y = 0; y < kFontLineHeight; ++y) {
        for (int x = 0; x < glyph.advance; ++x) {
            if (!glyph.IsDark(x, y)) continue;
            pairs += ", " + std::to_string(x) + ", " + std::to_string(y);
            ++count;
        }
    }
    return std::to_string(b0) + ", " + std::to_string(b1) + ", " + std::to_string(glyph.advance) +
           ", " + std::to_string(count) + pairs;
}

std::string BuildCatalogText(const MonaFont& font, bool doubleByte) {
    std::string out;
    if (!doubleByte) {
        for (unsigned b = 0x21; b <= 0xDF; ++b) AppendGlyphLine(font, b, 0, out);
        return out;
    }
    for (unsigned code = 0x8141; code <= 0x84BE; ++code) {
        if (IsTrailByte(code & 0xFF)) AppendGlyphLine(font, code >> 8, code & 0xFF, out);
    }
    return out;
}

Status WriteGlyphCatalogFiles(const MonaFont& font, const std::string& directory) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) return Error{directory, ec.message()};
    std::string base = directory;
    if (!base.empty() && base.back() != '/') base.push_back('/');
    for (const bool doubleByte : {false, true}) {
        const std::string path =
            base + (doubleByte ? kDoubleByteCatalogName : kSingleByteCatalogName);
        const std::string text = BuildCatalogText(font, doubleByte);
        // No glyph at all means a face without Japanese characters or no CP932
        // table: a catalogue that could match nothing is not worth writing.
        if (text.empty()) return Error{path, "no character of this range could be drawn"};
        if (Status written = WriteTextFile(path, text); !written) return written;
    }
    return {};
}

}  // namespace fudeline
