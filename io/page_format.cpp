#include "io/page_format.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "glyphs/cp932.h"
#include "io/io_errors.h"

namespace fudeline {
namespace {

constexpr std::string_view kSplitLine = "[SPLIT]";
constexpr std::string_view kAstHeadStart = "[AA][";
constexpr std::string_view kCrLf = "\r\n";

struct Line {
    std::size_t begin = 0, contentEnd = 0, end = 0;  // end: past the line break
};

bool NextLine(std::string_view bytes, std::size_t& at, Line& line) {
    if (at >= bytes.size()) return false;
    line.begin = at;
    const std::size_t feed = bytes.find('\n', at);
    line.end = feed == std::string_view::npos ? bytes.size() : feed + 1;
    line.contentEnd = feed == std::string_view::npos ? bytes.size() : feed;
    // Only "\r\n" ends a line with its CR: a lone CR at the end of the file
    // stays part of the line, as it will once more text follows it.
    if (feed != std::string_view::npos && line.contentEnd > line.begin &&
        bytes[line.contentEnd - 1] == '\r') {
        --line.contentEnd;
    }
    at = line.end;
    return true;
}

bool IsAstHead(std::string_view content) {
    return content.size() >= kAstHeadStart.size() + 1 && content.starts_with(kAstHeadStart) &&
           content.back() == ']';
}

bool IsSeparator(PageFormat format, std::string_view content) {
    return format == PageFormat::Mlt ? content == kSplitLine : IsAstHead(content);
}

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// Where the bytes stop being Shift-JIS text as the boards use it: a NUL, a
// byte no CP932 character starts with, a lead byte without its trail, or a
// pair CP932 does not define.
std::optional<Error> ShiftJisProblem(std::string_view bytes) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0) return Error{"", kinds::PageFileNul, line};
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) {
            if (b == '\n') ++line;
            ++i;
            continue;
        }
        char hex[16];
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            const auto t = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
            if (!(t >= 0x40 && t <= 0x7E) && !(t >= 0x80 && t <= 0xFC)) {
                return Error{"", kinds::PageFileCutPair, line};
            }
            // A pair CP932 leaves undefined cannot be drawn or shown: the
            // listing and the page read refuse it alike.
            if (Cp932CharToUnicode(bytes.substr(i, 2))) {
                i += 2;
                continue;
            }
            std::snprintf(hex, sizeof hex, "0x%02X 0x%02X", b, t);
            return Error{"", kinds::PageFileUndefinedPair, line, hex};
        }
        std::snprintf(hex, sizeof hex, "0x%02X", b);
        return Error{"", kinds::PageFileBadByte, line, hex};
    }
    return std::nullopt;
}

// Hands every page of `bytes` to `visit`, as views into `bytes`.
void Split(std::string_view bytes, PageFormat format,
           const std::function<void(const PageView&)>& visit) {
    if (bytes.empty()) return;
    std::size_t at = 0, textBegin = 0;
    std::string_view lead, name;
    bool first = true;
    Line line;
    while (NextLine(bytes, at, line)) {
        const std::string_view content = bytes.substr(line.begin, line.contentEnd - line.begin);
        if (!IsSeparator(format, content)) continue;
        // The line break before the separator belongs to it, unless it ends
        // the previous separator's own line.
        std::size_t breakBegin = line.begin;
        if (breakBegin > textBegin && bytes[breakBegin - 1] == '\n') {
            --breakBegin;
            if (breakBegin > textBegin && bytes[breakBegin - 1] == '\r') --breakBegin;
        }
        // An AST file starts with its first head: nothing stands before it.
        if (!(format == PageFormat::Ast && first)) {
            visit({lead, name, bytes.substr(textBegin, breakBegin - textBegin)});
        }
        first = false;
        lead = bytes.substr(breakBegin, line.end - breakBegin);
        name = format == PageFormat::Ast
                   ? content.substr(kAstHeadStart.size(),
                                    content.size() - kAstHeadStart.size() - 1)
                   : std::string_view();
        textBegin = line.end;
    }
    visit({lead, name, bytes.substr(textBegin)});
}

bool HasSplitLine(std::string_view bytes) {
    std::size_t at = 0;
    Line line;
    while (NextLine(bytes, at, line)) {
        if (bytes.substr(line.begin, line.contentEnd - line.begin) == kSplitLine) return true;
    }
    return false;
}

}  // namespace

std::optional<PageFormat> PageFormatForName(std::string_view fileName) {
    const std::string lower = Lower(fileName);
    if (lower.ends_with(".mlt")) return PageFormat::Mlt;
    if (lower.ends_with(".ast")) return PageFormat::Ast;
    return std::nullopt;
}

namespace {

Result<PageFormat> CheckedFormat(std::string_view bytes, std::string_view fileName) {
    const std::optional<PageFormat> named = PageFormatForName(fileName);
    Line first;
    std::size_t at = 0;
    const bool astHead = NextLine(bytes, at, first) &&
                         IsAstHead(bytes.substr(first.begin, first.contentEnd - first.begin));
    if (named == PageFormat::Ast && !astHead && !bytes.empty()) {
        return Error{"", kinds::NotAstFile};
    }
    // A name says the format; an MLT page may itself start with "[AA][".
    PageFormat format = PageFormat::Mlt;
    if (named) {
        format = *named;
    } else if (astHead) {
        format = PageFormat::Ast;
    } else if (!bytes.empty() && !HasSplitLine(bytes)) {
        return Error{"", kinds::NeitherPageFormat};
    }
    if (auto problem = ShiftJisProblem(bytes)) return std::move(*problem);
    // Counted before any page is made: a file of millions of empty pages
    // would take more time and memory than its bytes promise.
    std::size_t pages = bytes.empty() || format == PageFormat::Ast ? 0 : 1;
    at = 0;
    for (Line line; NextLine(bytes, at, line);) {
        if (IsSeparator(format, bytes.substr(line.begin, line.contentEnd - line.begin)) &&
            ++pages > kMostPages) {
            return Error{"", kinds::TooManyPages, kMostPages};
        }
    }
    return format;
}

}  // namespace

Result<PageFile> ParsePageFile(std::string_view bytes, std::string_view fileName) {
    const Result<PageFormat> format = CheckedFormat(bytes, fileName);
    if (!format) return format.error();
    PageFile file{*format, {}};
    Split(bytes, *format, [&](const PageView& page) {
        file.pages.push_back(
            {std::string(page.lead), std::string(page.name), std::string(page.text)});
    });
    return file;
}

Result<PageFormat> ReadPages(std::string_view bytes, std::string_view fileName,
                             const std::function<void(const PageView&)>& visit) {
    const Result<PageFormat> format = CheckedFormat(bytes, fileName);
    if (!format) return format.error();
    Split(bytes, *format, visit);
    return *format;
}

Status VisitPages(std::string_view bytes, std::string_view fileName,
                  const std::function<void(const PageView&)>& visit) {
    const Result<PageFormat> read = ReadPages(bytes, fileName, visit);
    if (!read) return read.error();
    return {};
}

std::string FormatPageFile(const PageFile& file) {
    std::size_t size = 0;
    for (const Page& page : file.pages) size += page.lead.size() + page.text.size();
    std::string bytes;
    bytes.reserve(size);
    for (const Page& page : file.pages) {
        bytes += page.lead;
        bytes += page.text;
    }
    return bytes;
}

Status AddPage(PageFile& file, std::string_view text, std::string_view name) {
    Result<Page> page = NewPage(file.format, file.pages.empty(), text, name);
    if (!page) return std::move(page).error();
    file.pages.push_back(std::move(*page));
    return {};
}

Result<Page> NewPage(PageFormat format, bool firstPage, std::string_view text,
                     std::string_view name) {
    if (format == PageFormat::Mlt && !name.empty()) {
        return Error{"", kinds::MltPageName};
    }
    // An empty page in an otherwise empty MLT file would be no page at all.
    if (text.empty()) return Error{"", kinds::EmptyPage};
    if (name.find_first_of("\r\n") != std::string_view::npos) {
        return Error{"", kinds::PageNameLineBreak};
    }
    // A name is shown in page lists: a control character there could drive
    // the terminal or hide what the list says.
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return Error{"", kinds::PageNameControl};
        }
    }
    std::size_t at = 0;
    Line line;
    while (NextLine(text, at, line)) {
        if (IsSeparator(format, text.substr(line.begin, line.contentEnd - line.begin))) {
            return Error{"", format == PageFormat::Mlt ? kinds::SplitLineInPage : kinds::AstHeadInPage};
        }
    }
    Page page;
    if (format == PageFormat::Ast) {
        page.lead = std::string(firstPage ? "" : kCrLf) + std::string(kAstHeadStart) +
                    std::string(name) + "]" + std::string(kCrLf);
        page.name = name;
    } else if (!firstPage) {
        page.lead = std::string(kCrLf) + std::string(kSplitLine) + std::string(kCrLf);
    }
    page.text = text;
    return page;
}

std::string PageLabel(const Page& page) {
    return PageLabel(page.name, page.text, std::string_view::npos);
}

std::string PageLabel(std::string_view name, std::string_view text, std::size_t maxColumns) {
    std::string_view label = name;
    std::size_t at = 0;
    Line line;
    while (label.empty() && NextLine(text, at, line)) {
        const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
        // Blank: only half- and full-width spaces.
        std::size_t i = 0;
        while (i < content.size()) {
            if (content[i] == ' ' || content[i] == '\t') ++i;
            else if (content.substr(i, 2) == "\x81\x40") i += 2;
            else break;
        }
        if (i < content.size()) label = content;
    }
    if (label.size() <= maxColumns) return std::string(label);
    constexpr std::string_view kEllipsis = "\x81\x63";
    const std::size_t room = maxColumns < kEllipsis.size() ? 0 : maxColumns - kEllipsis.size();
    std::size_t end = 0;
    while (end < label.size()) {
        const auto lead = static_cast<unsigned char>(label[end]);
        const bool wide = ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) &&
                          end + 1 < label.size();
        const std::size_t next = end + (wide ? 2 : 1);
        if (next > room) break;
        end = next;
    }
    return std::string(label.substr(0, end)).append(kEllipsis);
}

}  // namespace fudeline
