// How many of a piece's characters a conversion gives back: per line, the
// longest common subsequence of the source's characters and the converted
// row's, spaces left out of both (spacing is pixels, not characters), summed
// over the lines and divided by the source's characters.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace fudeline::bench {

// Characters as Shift-JIS byte strings, one per entry, spaces already dropped.
using CharLine = std::vector<std::string>;

inline std::size_t CommonSubsequence(const CharLine& a, const CharLine& b) {
    std::vector<std::size_t> previous(b.size() + 1, 0), current(b.size() + 1, 0);
    for (const std::string& ca : a) {
        for (std::size_t j = 0; j < b.size(); ++j) {
            current[j + 1] = ca == b[j] ? previous[j] + 1 : std::max(previous[j + 1], current[j]);
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

struct CharsBack {
    std::size_t source = 0;    // non-space characters of the source
    std::size_t returned = 0;  // of them found again, in order, on their line
    double Ratio() const { return source == 0 ? 1.0 : static_cast<double>(returned) / source; }
};

inline CharsBack CountCharsBack(const std::vector<CharLine>& source,
                                const std::vector<CharLine>& converted) {
    CharsBack out;
    for (std::size_t line = 0; line < source.size(); ++line) {
        out.source += source[line].size();
        if (line < converted.size()) out.returned += CommonSubsequence(source[line], converted[line]);
    }
    return out;
}

}  // namespace fudeline::bench
