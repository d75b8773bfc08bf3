#include "glyphs/sjis.h"

namespace fudeline {

int ReadLine(std::string& line, std::FILE* stream) {
    line.clear();
    for (int c = std::fgetc(stream); c != EOF; c = std::fgetc(stream)) {
        line.push_back(static_cast<char>(c));
        if (c == '\n') return static_cast<int>(line.size());
    }
    return line.empty() ? -1 : static_cast<int>(line.size());
}

void StripTrailingChar(std::string& text, char byte) {
    if (!text.empty() && text.back() == byte) text.pop_back();
}

bool IsSingleByteChar(unsigned char byte) {
    return byte <= 0x7F || (byte >= 0xA1 && byte <= 0xDF);
}

long FindAtCharBoundary(std::string_view text, std::string_view delimiter, std::size_t start) {
    // Candidates only move right, so one walk over the character boundaries
    // serves them all; a candidate counts where a one-byte character begins.
    std::size_t boundary = 0;
    std::size_t pos = start;
    while (pos < text.size()) {
        const std::size_t match = text.find(delimiter, pos);
        if (match == std::string_view::npos) return -1;
        while (boundary < match) {
            boundary += IsSingleByteChar(static_cast<unsigned char>(text[boundary])) ? 1 : 2;
        }
        if (boundary == match && IsSingleByteChar(static_cast<unsigned char>(text[match]))) {
            return static_cast<long>(match);
        }
        pos = match + 1;
    }
    return -1;
}

void SplitString(std::string_view text, std::vector<std::string>& fields,
                 std::string_view delimiter) {
    if (text.empty() || delimiter.empty()) return;
    std::string_view rest = text;
    for (;;) {
        // A one-byte delimiter must not split inside a two-byte character; a
        // longer one is searched byte-wise.
        long found;
        if (delimiter.size() == 1) {
            found = FindAtCharBoundary(rest, delimiter, 0);
        } else {
            const std::size_t p = rest.find(delimiter);
            found = p == std::string_view::npos ? -1 : static_cast<long>(p);
        }
        if (found < 0) {
            fields.emplace_back(rest);
            return;
        }
        fields.emplace_back(rest.substr(0, static_cast<std::size_t>(found)));
        rest.remove_prefix(static_cast<std::size_t>(found) + delimiter.size());
    }
}

void ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement) {
    if (pattern.empty()) return;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t match = text.find(pattern, pos);
        if (match == std::string::npos) return;
        text.replace(match, pattern.size(), replacement);
        pos = match + replacement.size();
    }
}

}  // namespace fudeline
