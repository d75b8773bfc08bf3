// The header fields of a Netpbm file (and a plain bitmap's bits): numbers
// separated by white space, with '#' comments running to the end of a line.
// Shared by the ink image reader and the picture decoder.
#pragma once

#include <cstdint>
#include <string_view>

namespace fudeline {

struct PnmFields {
    std::string_view bytes;
    std::size_t pos = 2;  // just past the magic number

    // Skips white space and comments between fields.
    void SkipSeparators() {
        while (pos < bytes.size()) {
            const char c = bytes[pos];
            if (c == '#') {
                while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
            } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
                ++pos;
            } else {
                return;
            }
        }
    }

    // A decimal number; false when there is none or it exceeds `limit`.
    bool Number(std::uint64_t& value, std::uint64_t limit) {
        SkipSeparators();
        value = 0;
        const std::size_t start = pos;
        while (pos < bytes.size() && bytes[pos] >= '0' && bytes[pos] <= '9') {
            value = value * 10 + static_cast<std::uint64_t>(bytes[pos] - '0');
            if (value > limit) return false;
            ++pos;
        }
        return pos > start;
    }
};

}  // namespace fudeline
