#include "export/cells_format.h"

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
        }
        out += '\n';
    }
    return out;
}

}  // namespace fudeline
