// Rows of any cells into the export text: it never ends with a line break or
// a tag, holds one line per row from the first non-empty to the last, and a
// full-width prefix at its start comes with one after every line break.
#include "text/gap_composer.h"
#include "export/export_text.h"
#include "fuzz_input.h"

using namespace fudeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const bool br = input.Byte() & 1;
    TextRows rows;
    int first = -1, last = -1;
    while (!input.Empty()) {
        const int row = input.Byte() % kRowCount;
        TextCell cell;
        const int high = input.Byte();
        cell.gap = (high << 4) | input.Byte();  // 0 to 4095
        cell.text = std::string(input.Piece().substr(0, 2));
        rows[static_cast<std::size_t>(row)].push_back(cell);
        first = first < 0 ? row : std::min(first, row);
        last = std::max(last, row);
    }
    const std::string text = ComposeExportText(rows, br);
    if (first < 0) {
        fuzz::Check(text.empty());
        return 0;
    }
    // Cells whose text is empty (a catalogue line may give one) or holds a
    // line break or a tag's bytes make the line structure ambiguous.
    bool plain = true;
    for (const TextRow& row : rows) {
        for (const TextCell& cell : row) {
            plain = plain && !cell.text.empty() &&
                    cell.text.find_first_of("\r\n<>") == std::string::npos;
        }
    }
    if (!plain) return 0;
    auto count = [&](std::string_view what) {
        std::size_t n = 0;
        for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
            ++n;
        return n;
    };
    const auto lines = static_cast<std::size_t>(last - first);
    fuzz::Check(count("\r\n") == lines);
    fuzz::Check(count("<BR>") == (br ? lines : 0));
    fuzz::Check(!text.ends_with("\r\n") && !text.ends_with("<BR>"));
    // A first spacing string that starts with a half-width space puts a
    // full-width space at the start of every line.
    bool leadingSpace = false;
    for (const TextRow& row : rows) {
        leadingSpace =
            leadingSpace || (!row.empty() && ComposeGap(row.front().gap).starts_with(' '));
    }
    if (leadingSpace) {
        fuzz::Check(text.starts_with("\x81\x40"));
        fuzz::Check(count("\r\n\x81\x40") == lines);
    }
    return 0;
}
