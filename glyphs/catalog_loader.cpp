#include "glyphs/catalog_loader.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "errors/regular_file.h"
#include "files/file_bytes.h"
#include "glyphs/glyphs_errors.h"
#include "glyphs/sjis.h"

namespace fudeline {
namespace {

// Characters whose patterns mislead the matcher; their lines are read and dropped.
constexpr std::array<unsigned char, 14> kExcludedSingleBytes = {
    0x2E, 0x34, 0x3A, 0x3B, 0x3D, 0x4C, 0x54, 0x5E, 0x65, 0x76, 0x78, 0xA5, 0xC5, 0xC6};

constexpr std::array<std::array<unsigned char, 2>, 20> kExcludedDoubleBytes = {{
    {0x81, 0x43}, {0x82, 0x77}, {0x82, 0x85}, {0x81, 0x4F}, {0x82, 0x53},
    {0x83, 0x7D}, {0x81, 0x84}, {0x81, 0x83}, {0x81, 0xCB}, {0x82, 0x73},
    {0x82, 0x6B}, {0x83, 0x6A}, {0x83, 0x74}, {0x81, 0x45}, {0x81, 0x41},
    {0x81, 0x65}, {0x81, 0x66}, {0x81, 0xE6}, {0x81, 0x88}, {0x81, 0x81},
}};

bool IsExcluded(const std::string& text, unsigned char firstByte, CatalogKind kind) {
    if (kind == CatalogKind::SingleByte) {
        return std::find(kExcludedSingleBytes.begin(), kExcludedSingleBytes.end(), firstByte) !=
               kExcludedSingleBytes.end();
    }
    if (text.size() != 2) return false;
    for (const auto& bytes : kExcludedDoubleBytes) {
        if (static_cast<unsigned char>(text[0]) == bytes[0] &&
            static_cast<unsigned char>(text[1]) == bytes[1]) {
            return true;
        }
    }
    return false;
}

std::int32_t Saturate(std::int64_t value) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

// A catalogue far larger than any face could give is not read into memory.
constexpr std::size_t kMaxCatalogBytes = std::size_t{64} << 20;

Status ReadCatalogFile(const std::string& path, CatalogKind kind, GlyphCatalog& catalog,
                       std::optional<std::uint64_t>& pairStamp) {
    // A folder by the catalogue's name has a wording of its own; what else
    // is not a regular file (a pipe would block) the whole-file read refuses.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return Error{path, kinds::CatalogueIsDirectory};
    }
    const Result<std::string> text = ReadFileBytes(path, kMaxCatalogBytes);
    if (!text) return text.error();
    // Checked whole first, then parsed from the bytes already read.
    if (Status whole = CheckCatalogWhole(*text, kind); !whole) return whole.error().WithPath(path);
    ReadCatalogLines(*text, kind, catalog);
    pairStamp = CatalogPairStamp(*text);
    return {};
}

constexpr std::string_view kEndLineStart = "end, ";
constexpr std::size_t kMaxCatalogLineBytes = 16384;

// COUNT of an end line, digits only.
std::optional<std::size_t> ParseCount(std::string_view digits) {
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    std::size_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

constexpr std::string_view kStampSeparator = ", ";
constexpr std::size_t kStampDigits = 16;

// The stamp field of an end line: 16 lowercase hexadecimal digits.
std::optional<std::uint64_t> ParseStamp(std::string_view digits) {
    if (digits.size() != kStampDigits) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        const bool digit = c >= '0' && c <= '9', letter = c >= 'a' && c <= 'f';
        if (!digit && !letter) return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(digit ? c - '0' : c - 'a' + 10);
    }
    return value;
}

// The fields after "end, ": the count, then the pair stamp if there is one.
struct EndFields {
    std::string_view count;
    std::optional<std::string_view> stamp;
};

EndFields SplitEndFields(std::string_view fields) {
    const std::size_t at = fields.find(kStampSeparator);
    if (at == std::string_view::npos) return {fields, std::nullopt};
    return {fields.substr(0, at), fields.substr(at + kStampSeparator.size())};
}

// The last line of `text`, without its line end.
std::string_view LastLine(std::string_view text) {
    if (text.ends_with('\n')) text.remove_suffix(1);
    text.remove_prefix(std::min(text.size(), text.rfind('\n') + 1));
    if (text.ends_with('\r')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string CatalogEndLine(std::size_t glyphLines, std::optional<std::uint64_t> pairStamp) {
    std::string line = std::string(kEndLineStart) + std::to_string(glyphLines);
    if (pairStamp) {
        char digits[kStampDigits + 1];
        std::snprintf(digits, sizeof digits, "%016llx",
                      static_cast<unsigned long long>(*pairStamp));
        line += std::string(kStampSeparator) + digits;
    }
    return line;
}

std::optional<std::uint64_t> CatalogPairStamp(std::string_view text) {
    const std::string_view last = LastLine(text);
    if (!last.starts_with(kEndLineStart)) return std::nullopt;
    const EndFields fields = SplitEndFields(last.substr(kEndLineStart.size()));
    return fields.stamp ? ParseStamp(*fields.stamp) : std::nullopt;
}

Status CheckCatalogWhole(std::string_view text, CatalogKind) {
    // A glyph is at most 64 pixels wide on its 16-row line: 1,024 pixels of
    // "xx, yy, " at most, 8 KB. A longer line is no glyph of a face, and
    // matching a pattern of a million pixels took 17 s a row.
    std::size_t lineNumber = 1;
    for (std::size_t start = 0; start < text.size(); ++lineNumber) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end - start > kMaxCatalogLineBytes) {
            return Error{"", kinds::CatalogueLineTooLong, lineNumber, kMaxCatalogLineBytes};
        }
        start = end + 1;
    }
    // The last line, without its line end.
    const bool terminated = !text.empty() && text.back() == '\n';
    const std::string_view last = LastLine(text);
    if (last.starts_with(kEndLineStart)) {
        if (!terminated) return Error{"", kinds::CatalogueCutShort};
        const std::size_t lines =
            static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        const EndFields fields = SplitEndFields(last.substr(kEndLineStart.size()));
        const std::optional<std::size_t> count = ParseCount(fields.count);
        if (!count || (fields.stamp && !ParseStamp(*fields.stamp))) {
            return Error{"", kinds::CatalogueEndLineDamaged};
        }
        if (*count != lines - 1) {
            return Error{"", kinds::CatalogueLinesMiscounted, lines - 1, *count};
        }
        return {};
    }
    // Without an end line the file is in the original format, where any
    // subset of glyphs in any order is whole and the first short line ends
    // the glyphs. Only a line that cannot be whole itself is refused.
    std::vector<std::string> fields;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        const bool lastLine = end == text.size();
        start = end + 1;
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        fields.clear();
        SplitString(line, fields, ", ");
        if (fields.size() < 4) {
            // Where the glyphs end; without a line end after it, a glyph line
            // cut before its count.
            const bool blank = line.find_first_not_of(" \t") == std::string_view::npos;
            if (lastLine && !blank) {
                return Error{"", kinds::CatalogueCutShort};
            }
            return {};
        }
        const std::int64_t count = std::max<std::int32_t>(ParseDecimal(fields[3]), 0);
        if (static_cast<std::int64_t>(fields.size()) < 4 + 2 * count) {
            return Error{"", kinds::CatalogueNumbersCut, number, count};
        }
        const auto first = static_cast<unsigned char>(ParseDecimal(fields[0]) & 0xFF);
        const auto second = static_cast<unsigned char>(ParseDecimal(fields[1]) & 0xFF);
        const bool lead = (first >= 0x81 && first <= 0x9F) || (first >= 0xE0 && first <= 0xFC);
        const bool trail = (second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFC);
        if (lead && !trail) {
            return Error{"", kinds::CatalogueLeadByteAlone, number};
        }
    }
    return {};
}

std::int32_t ParseDecimal(std::string_view field) {
    std::size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < field.size() && isSpace(field[i])) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{1} << 32;  // beyond int32 either way
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        if (value < kLimit) value = value * 10 + (field[i] - '0');
    }
    return Saturate(negative ? -value : value);
}

void ParseGlyphLine(const std::vector<std::string>& fields, CatalogKind kind,
                    GlyphCatalog& catalog) {
    const auto b0 = static_cast<unsigned char>(ParseDecimal(fields[0]) & 0xFF);
    const auto b1 = static_cast<unsigned char>(ParseDecimal(fields[1]) & 0xFF);
    std::string text;
    if (b0 != 0) {
        text.push_back(static_cast<char>(b0));
        if (b1 != 0) text.push_back(static_cast<char>(b1));
    }
    if (IsExcluded(text, b0, kind)) return;

    // A line that declares more pixels than it holds has no defined pattern:
    // skip it rather than trust the count.
    const std::int32_t count = ParseDecimal(fields[3]);
    const std::int64_t pairs = std::max<std::int64_t>(count, 0);
    if (static_cast<std::int64_t>(fields.size()) < 4 + 2 * pairs) return;

    Glyph glyph;
    glyph.text = std::move(text);
    glyph.width = ParseDecimal(fields[2]);
    if (count >= 1) {
        glyph.fullPenalty = kBestScore / count;
        glyph.halfPenalty = glyph.fullPenalty / 2;
    }
    glyph.pixels.reserve(static_cast<std::size_t>(pairs));
    for (std::int64_t i = 0; i < pairs; ++i) {
        glyph.pixels.push_back({ParseDecimal(fields[static_cast<std::size_t>(4 + 2 * i)]),
                                ParseDecimal(fields[static_cast<std::size_t>(5 + 2 * i)])});
    }
    // A width of 0 or less would stop the row scan at its hit column.
    if (glyph.width <= 0) return;
    catalog.push_back(std::move(glyph));
}

void ReadCatalogLines(std::string_view text, CatalogKind kind, GlyphCatalog& catalog) {
    std::vector<std::string> fields;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        fields.clear();
        SplitString(line, fields, ", ");
        if (fields.size() < 4) return;
        ParseGlyphLine(fields, kind, catalog);
    }
}

void ReadCatalogStream(std::FILE* stream, CatalogKind kind, GlyphCatalog& catalog) {
    std::string text;
    char buffer[1 << 16];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, stream)) text.append(buffer, n);
    ReadCatalogLines(text, kind, catalog);
}

void TrimGlyphPatterns(GlyphCatalog& catalog) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        Glyph& glyph = catalog[i];
        std::int32_t m = 20;  // a glyph without pixels is removed
        for (const GlyphPixel& p : glyph.pixels) m = std::min(m, p.x);
        if (m > 2) continue;
        if (m != 0) {
            for (GlyphPixel& p : glyph.pixels) p.x = Saturate(std::int64_t{p.x} - m);
        }
        if (kept != i) catalog[kept] = std::move(glyph);
        ++kept;
    }
    catalog.resize(kept);
}

Result<GlyphCatalog> LoadGlyphCatalog(const std::string& directory) {
    std::string base = directory;
    if (!base.empty() && base.back() != '/') base.push_back('/');
    GlyphCatalog catalog;
    std::optional<std::uint64_t> stamps[2];
    for (const auto& [name, kind] : {std::pair{kSingleByteCatalogName, CatalogKind::SingleByte},
                                     std::pair{kDoubleByteCatalogName, CatalogKind::DoubleByte}}) {
        std::optional<std::uint64_t>& stamp = stamps[kind == CatalogKind::DoubleByte ? 1 : 0];
        if (Status read = ReadCatalogFile(base + name, kind, catalog, stamp); !read) {
            return std::move(read).error();
        }
    }
    if (stamps[0] != stamps[1]) {
        return Error{directory, kinds::CatalogueFilesMixed, kSingleByteCatalogName,
                     kDoubleByteCatalogName};
    }
    TrimGlyphPatterns(catalog);
    if (catalog.empty()) {
        return Error{directory, kinds::CatalogueWithoutGlyphs, kSingleByteCatalogName,
                     kDoubleByteCatalogName};
    }
    return catalog;
}

}  // namespace fudeline
