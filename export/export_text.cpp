#include "export/export_text.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/gap_composer.h"
#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "glyphs/utf8.h"

namespace fudeline {

namespace {

// The rows the text spans: from `topLines` rows above the first non-empty one
// (row 0 at the highest) to the last non-empty one; first < 0 for none.
struct Span {
    int first = -1;
    int last = -1;
};
Span TextSpan(const TextRows& rows, int topLines) {
    Span span;
    for (int r = 0; r < kRowCount; ++r) {
        if (!rows[static_cast<std::size_t>(r)].empty()) {
            if (span.first < 0) span.first = r;
            span.last = r;
        }
    }
    if (span.first > 0) span.first = std::max(0, span.first - std::max(topLines, 0));
    return span;
}

// Appends a piece of Shift-JIS (a cell's character or a gap's spacing) in
// the output's encoding; `written` is the cell's TextCell::written, 0 for
// spacing.
using AppendPiece = std::function<Status(std::string&, const std::string& sjis, char32_t written)>;

// The rows as lines, gaps spelled by ComposeGap. A line starting with a
// half-width space puts a full-width one (`ideographicSpace`, as the output
// writes it) in front of every line, since boards strip leading ASCII blanks.
Result<std::string> ComposeLines(const TextRows& rows, bool addBrTag, int topLines,
                                 std::string_view ideographicSpace, const AppendPiece& append) {
    const auto [first, last] = TextSpan(rows, topLines);
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
            if (Status done = append(text, spacing, 0); !done) return done.error();
            if (Status done = append(text, row[i].text, row[i].written); !done) return done.error();
        }
    }
    if (leadingSpace) {
        text.insert(0, ideographicSpace);
        ReplaceAll(text, "\r\n", "\r\n" + std::string(ideographicSpace));
    }
    return text;
}

Status AppendSjis(std::string& out, const std::string& sjis, char32_t) {
    out += sjis;
    return {};
}

// Shift-JIS pieces decoded to UTF-8 once each, a character the user wrote
// as another than CP932's reading of its bytes as written.
AppendPiece Utf8Pieces() {
    auto decoded = std::make_shared<std::unordered_map<std::string, std::string>>();
    return [decoded](std::string& out, const std::string& sjis, char32_t written) -> Status {
        if (written != 0) {
            AppendUtf8(out, written);
            return {};
        }
        auto it = decoded->find(sjis);
        if (it == decoded->end()) {
            Result<std::string> utf8 = Cp932ToUtf8(sjis);
            if (!utf8) return std::move(utf8).error();
            it = decoded->emplace(sjis, std::move(*utf8)).first;
        }
        out += it->second;
        return {};
    };
}

bool AnyWrittenAsAnother(const TextRows& rows) {
    for (const TextRow& row : rows) {
        for (const TextCell& cell : row) {
            if (cell.written != 0) return true;
        }
    }
    return false;
}

}  // namespace

std::string ComposeExportText(const TextRows& rows, bool addBrTag, int topLines) {
    // Appending Shift-JIS bytes cannot fail.
    return ComposeLines(rows, addBrTag, topLines, "\x81\x40", AppendSjis).value();
}

Result<std::string> ComposeExportUtf8(const TextRows& rows, bool addBrTag, int topLines) {
    if (!AnyWrittenAsAnother(rows)) return Cp932ToUtf8(ComposeExportText(rows, addBrTag, topLines));
    return ComposeLines(rows, addBrTag, topLines, "\xE3\x80\x80", Utf8Pieces());
}

namespace {

constexpr char32_t kIdeographicSpace = 0x3000;  // Shift-JIS 0x8140

// The rows as lines with every gap spelled in Unicode spaces with the fewest
// bytes as `space` writes them, and each piece of Shift-JIS by `text`. A gap the spaces
// cannot spell (narrower than any sum of them) keeps its spacing string. As
// in the plain export, a line starting with a half-width space puts a
// full-width space in front of every line, since boards strip leading ASCII
// blanks; Unicode spaces are kept.
Result<std::string> ComposeUnicodeSpaced(const TextRows& rows, const ExportOptions& options,
                                         SpaceWriting writing,
                                         const std::function<void(std::string&, char32_t)>& space,
                                         const AppendPiece& text) {
    const auto [first, last] = TextSpan(rows, options.topLines);
    std::string out;
    if (first < 0) return out;
    std::vector<std::string> lines;
    bool leadingSpace = false;
    for (int r = first; r <= last; ++r) {
        std::string& line = lines.emplace_back();
        const TextRow& row = rows[static_cast<std::size_t>(r)];
        for (std::size_t i = 0; i < row.size(); ++i) {
            const TextCell& cell = row[i];
            // After a half-width space a gap starts as at a line's start, so
            // that two never meet.
            const bool afterBlank = i == 0 || row[i - 1].text.ends_with(' ');
            if (const auto spelled = options.unicodeSpaces->Spell(cell.gap, writing, afterBlank)) {
                if (i == 0 && !spelled->empty() && spelled->front() == U' ') leadingSpace = true;
                for (const char32_t code : *spelled) space(line, code);
            } else {
                const std::string spacing = ComposeGap(cell.gap);
                if (i == 0 && !spacing.empty() && spacing[0] == ' ') leadingSpace = true;
                if (Status written = text(line, spacing, 0); !written) return written.error();
            }
            if (Status written = text(line, cell.text, cell.written); !written)
                return written.error();
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != 0) {
            if (options.addBrTag) out += "<BR>";
            out += "\r\n";
        }
        if (leadingSpace) space(out, kIdeographicSpace);
        out += lines[i];
    }
    return out;
}

bool SpellsUnicode(const ExportOptions& options) {
    return options.spacing == Spacing::Unicode && options.unicodeSpaces != nullptr;
}

}  // namespace

std::string CharacterReference(char32_t code) {
    return "&#" + std::to_string(static_cast<std::uint32_t>(code)) + ";";
}

std::string ComposeExportText(const TextRows& rows, const ExportOptions& options) {
    if (!SpellsUnicode(options)) return ComposeExportText(rows, options.addBrTag, options.topLines);
    // Appending Shift-JIS bytes cannot fail.
    return ComposeUnicodeSpaced(
               rows, options, SpaceWriting::ShiftJis,
               [](std::string& out, char32_t code) {
                   if (code == kIdeographicSpace)
                       out += "\x81\x40";
                   else if (code == U' ')
                       out += ' ';
                   else
                       out += CharacterReference(code);
               },
               AppendSjis)
        .value();
}

Result<std::string> ComposeExportUtf8(const TextRows& rows, const ExportOptions& options) {
    // Fillers and spaces hold nothing outside Shift-JIS to refer to.
    if (!SpellsUnicode(options)) return ComposeExportUtf8(rows, options.addBrTag, options.topLines);
    return ComposeUnicodeSpaced(
        rows, options, options.references ? SpaceWriting::Utf8References : SpaceWriting::Utf8,
        [&options](std::string& out, char32_t code) {
            if (options.references && code != kIdeographicSpace && code != U' ') {
                out += CharacterReference(code);
            } else {
                AppendUtf8(out, code);
            }
        },
        Utf8Pieces());
}

}  // namespace fudeline
