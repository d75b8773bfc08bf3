#include "io/png_text.h"

#include <array>

#include "io/io_errors.h"
#include "io/picture_signature.h"

namespace fudeline {
namespace {

constexpr std::size_t kSignatureBytes = 8;
// Length, type and CRC around each chunk's data.
constexpr std::size_t kChunkFrameBytes = 12;

constexpr std::array<std::uint32_t, 256> CrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = CrcTable();

std::uint32_t BigEndian(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])); };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

void AppendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift & 0xFF);
}

struct Chunk {
    std::size_t at = 0;  // where its length starts
    std::string_view type;
    std::string_view data;
    bool intact = false;  // its CRC matches
};

// Calls `visit` for each chunk after the signature until it returns false or
// a chunk runs past the bytes (then `damaged` is set).
template <typename Visit>
void ForEachChunk(std::string_view png, bool& damaged, Visit visit) {
    std::size_t at = kSignatureBytes;
    while (at + kChunkFrameBytes <= png.size()) {
        const std::uint32_t length = BigEndian(png, at);
        if (length > png.size() - at - kChunkFrameBytes) {
            damaged = true;
            return;
        }
        Chunk chunk{at, png.substr(at + 4, 4), png.substr(at + 8, length)};
        chunk.intact = PngCrc(png.substr(at + 4, 4 + length)) == BigEndian(png, at + 8 + length);
        if (!visit(chunk)) return;
        at += kChunkFrameBytes + length;
    }
}

bool UsableKey(std::string_view key) {
    if (key.empty() || key.size() > 79 || key.front() == ' ' || key.back() == ' ') return false;
    for (const char c : key) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte > 0x7E && byte < 0xA1)) return false;
    }
    return true;
}

}  // namespace

std::uint32_t PngCrc(std::string_view bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char byte : bytes) c = kCrcTable[(c ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

Result<std::string> WithPngText(std::string_view png, std::string_view key, std::string_view text) {
    if (!UsableKey(key) || text.find('\0') != std::string_view::npos) {
        return Error{"", kinds::PngTextUnfit};
    }
    std::size_t end = std::string_view::npos;
    bool damaged = false;
    if (SniffPictureFormat(png) == PictureFormat::Png) {
        ForEachChunk(png, damaged, [&](const Chunk& chunk) {
            if (chunk.type != "IEND") return true;
            end = chunk.at;
            return false;
        });
    }
    if (end == std::string_view::npos) return Error{"", kinds::PngWithoutEnd};
    std::string body("tEXt");
    body.append(key).append(1, '\0').append(text);
    std::string out(png.substr(0, end));
    out.reserve(png.size() + kChunkFrameBytes + body.size());
    AppendBigEndian(out, static_cast<std::uint32_t>(body.size() - 4));
    out += body;
    AppendBigEndian(out, PngCrc(body));
    out.append(png.substr(end));
    return out;
}

std::optional<std::string> PngText(std::string_view png, std::string_view key, bool* damaged) {
    bool broken = false;
    std::optional<std::string> found;
    if (SniffPictureFormat(png) == PictureFormat::Png) {
        ForEachChunk(png, broken, [&](const Chunk& chunk) {
            if (chunk.type == "IEND") return false;
            if (chunk.type != "tEXt" && chunk.type != "iTXt") return true;
            const std::string_view data = chunk.data;
            if (!data.starts_with(key) || data.size() <= key.size() || data[key.size()] != '\0') {
                return true;
            }
            if (!chunk.intact) {
                broken = true;
                return true;
            }
            std::string_view rest = data.substr(key.size() + 1);
            if (chunk.type == "iTXt") {
                // Compression flag and method, then a language tag and a
                // translated key, each ended by NUL; compressed text is not read.
                if (rest.size() < 2 || rest[0] != '\0') return true;
                rest.remove_prefix(2);
                for (int field = 0; field < 2; ++field) {
                    const std::size_t nul = rest.find('\0');
                    if (nul == std::string_view::npos) return true;
                    rest.remove_prefix(nul + 1);
                }
            }
            found.emplace(rest);
            return false;
        });
    }
    if (damaged) *damaged = broken;
    return found;
}

}  // namespace fudeline
