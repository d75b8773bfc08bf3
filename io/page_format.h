// The two page files text-art collections are kept in, as byte strings, both
// Shift-JIS:
// - MLT: pages separated by a line "[SPLIT]"; no separator before the first
//   page; the line break before a separator belongs to the separator, so a
//   page's text does not end with it.
// - AST: every page, the first included, starts with a line "[AA][name]"
//   (the name may be empty); the line break before such a line belongs to it.
// Every page keeps the bytes that lead into it (the separator or the header
// line as the file wrote them), so writing a parsed file gives its bytes back
// exactly.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/result.h"

namespace fudeline {

enum class PageFormat { Mlt, Ast };

struct Page {
    std::string lead;  // the separator or header line before the text, as in the file
    std::string name;  // AST only; Shift-JIS
    std::string text;  // Shift-JIS lines joined by their own line breaks
};

// The most pages a file may hold: the largest real libraries hold tens of
// thousands, and 64 MB of empty pages (all `pages` lists) about eight
// million. More is refused before any page is made.
inline constexpr std::size_t kMostPages = 10'000'000;

struct PageFile {
    PageFormat format = PageFormat::Mlt;
    std::vector<Page> pages;
};

// The format a file name asks for (".mlt" or ".ast", any case); nothing else.
std::optional<PageFormat> PageFormatForName(std::string_view fileName);

// Reads a page file. A ".mlt" or ".ast" name says the format; without one,
// AST is recognised by its first line and MLT by a "[SPLIT]" line. Anything
// else, a file named ".ast" that does not start with "[AA][", and bytes that
// are not Shift-JIS text are refused with the reason. An empty file holds no
// pages. Errors carry no path.
Result<PageFile> ParsePageFile(std::string_view bytes, std::string_view fileName);

// A page as views into the file's bytes, for reading a file's pages without
// copying them (a file of millions of pages, or one page of a hundred
// megabytes, is listed in the memory its bytes take).
struct PageView {
    std::string_view lead, name, text;
};

// The same checks and pages as ParsePageFile, each page handed to `visit` in
// order as views into `bytes`; nothing is visited when the file is refused.
Status VisitPages(std::string_view bytes, std::string_view fileName,
                  const std::function<void(const PageView&)>& visit);
// The same, with the file's format.
Result<PageFormat> ReadPages(std::string_view bytes, std::string_view fileName,
                             const std::function<void(const PageView&)>& visit);

// The file's bytes: every page's lead and text in order.
std::string FormatPageFile(const PageFile& file);

// Adds `text` as the last page, with `name` for AST. An empty text (no page
// to keep), a text that would read back as more than one page (a "[SPLIT]" line in MLT, an "[AA][...]" line in
// AST), a name with a line break, or a name given for MLT is refused.
Status AddPage(PageFile& file, std::string_view text, std::string_view name);
// The page AddPage adds, after a file's pages or as its first, refused as
// AddPage refuses it.
Result<Page> NewPage(PageFormat format, bool firstPage, std::string_view text,
                     std::string_view name);

// How a page is listed: its name, or else its first line that is not blank.
std::string PageLabel(const Page& page);

// The same, at most `maxColumns` wide (a Shift-JIS byte a column, as
// half-width characters take one and full-width two): a longer label is cut
// at a character and ends with "…" (0x81 0x63) within the width.
std::string PageLabel(std::string_view name, std::string_view text, std::size_t maxColumns);

}  // namespace fudeline
