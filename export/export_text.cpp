#include "export/export_text.h"

#include "convert/gap_composer.h"
#include "glyphs/cp932.h"
#include "glyphs/sjis.h"

namespace fudeline {

std::string ComposeExportText(const TextRows& rows, bool addBrTag) {
    int first = -1, last = -1;
    for (int r = 0; r < kRowCount; ++r) {
        if (!rows[static_cast<std::size_t>(r)].empty()) {
            if (first < 0) first = r;
            last = r;
        }
    }
    std::string text;
    if (first < 0) return text;

    bool leadingSpace = false;
    for (int r = first; r <= last; ++r) {
        if (r != first) {
            if (addBrTag) text += "<BR>";
            text += "\r\n";
        }
        const TextRow& row = rows[static_cast<std::size_t>(r)];
        for (std::size_t i = 0; i < row.size(); ++i) {
            const std::string spacing = ComposeGap(row[i].gap);
            if (i == 0 && !spacing.empty() && spacing[0] == ' ') leadingSpace = true;
            text += spacing;
            text += row[i].text;
        }
    }
    if (leadingSpace) {
        text.insert(0, "\x81\x40");
        ReplaceAll(text, "\r\n", "\r\n\x81\x40");
    }
    return text;
}

Result<std::string> ComposeExportUtf8(const TextRows& rows, bool addBrTag) {
    return Cp932ToUtf8(ComposeExportText(rows, addBrTag));
}

}  // namespace fudeline
