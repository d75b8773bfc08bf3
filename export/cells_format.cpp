#include "export/cells_format.h"
#include "export/export_errors.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace fudeline {

std::string FormatCells(const TextRows& rows) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (int r = 0; r < kRowCount; ++r) {
        const TextRow& row = rows[static_cast<std::size_t>(r)];
        if (row.empty()) continue;
        out += std::to_string(r);
        out += '\t';
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) out += ' ';
            out += std::to_string(row[i].gap) + ':' + std::to_string(row[i].width) + ':';
            for (unsigned char byte : row[i].text) {
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            }
            if (row[i].written != 0) {
                char code[16];
                std::snprintf(code, sizeof code, ":%X", static_cast<unsigned>(row[i].written));
                out += code;
            }
        }
        out += '\n';
    }
    return out;
}

namespace {

// A whole decimal field in [lo, hi].
bool ParseNumber(std::string_view field, std::int32_t lo, std::int32_t hi, std::int32_t& value) {
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    return ec == std::errc() && end == field.data() + field.size() && value >= lo && value <= hi;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// One "gap:width:HEX" field, or the kind of reason it is not one.
const ErrorKind* ParseCell(std::string_view field, TextCell& cell) {
    const auto parts = Split(field, ':');
    if (parts.size() != 3 && parts.size() != 4) return &kinds::CellsNotACell;
    if (!ParseNumber(parts[0], 0, 1 << 30, cell.gap) || cell.gap == 1 || cell.gap == 2) {
        return &kinds::CellsBadGap;
    }
    if (!ParseNumber(parts[1], 0, 1 << 30, cell.width)) return &kinds::CellsBadWidth;
    const std::string_view hex = parts[2];
    if (hex.empty() || hex.size() % 2 != 0) return &kinds::CellsBadBytes;
    cell.text.clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return &kinds::CellsBadBytes;
        cell.text.push_back(static_cast<char>(high * 16 + low));
    }
    if (parts.size() == 4) {
        // The character as written, in hexadecimal: a Unicode scalar value.
        std::uint32_t code = 0;
        const std::string_view digits = parts[3];
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), code, 16);
        if (ec != std::errc() || end != digits.data() + digits.size() || code == 0 ||
            code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return &kinds::CellsNotACell;
        }
        cell.written = code;
    }
    return nullptr;
}

}  // namespace

Result<TextRows> ParseCells(std::string_view text) {
    TextRows rows;
    std::vector<bool> seen(kRowCount, false);
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (text.empty()) return rows;
    const auto lines = Split(text, '\n');
    for (std::size_t n = 0; n < lines.size(); ++n) {
        auto fail = [&](const ErrorKind& why) { return Error{"", why, n + 1}; };
        const auto parts = Split(lines[n], '\t');
        std::int32_t row = 0;
        if (parts.size() != 2) return fail(kinds::CellsNotRowAndCells);
        if (!ParseNumber(parts[0], 0, kRowCount - 1, row)) return fail(kinds::CellsBadRow);
        if (seen[static_cast<std::size_t>(row)]) return fail(kinds::CellsRowTwice);
        seen[static_cast<std::size_t>(row)] = true;
        for (std::string_view field : Split(parts[1], ' ')) {
            TextCell cell;
            if (const ErrorKind* why = ParseCell(field, cell)) return fail(*why);
            rows[static_cast<std::size_t>(row)].push_back(std::move(cell));
        }
    }
    return rows;
}

}  // namespace fudeline
