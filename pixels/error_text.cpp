#include "pixels/error_text.h"

#include <array>
#include <cstdlib>
#include <cstring>

namespace fudeline {
namespace {

struct Wording {
    ErrorKind kind;
    const char* text;  // %1 ... for the arguments in order
    bool endsInErrorNumber = false;
};

// Indexed by kind; every wording here is what the command line prints, and
// the window's English translation gives it back word for word.
constexpr std::array<Wording, kErrorKindCount> kWordings = {{
    {ErrorKind::Plain, "%1"},
    {ErrorKind::System, "%1", true},
    {ErrorKind::TemporaryFile, "cannot create the temporary file %1 beside it: %2", true},
    {ErrorKind::LargerThanMegabytes, "larger than %1 MB"},
    {ErrorKind::LargerThanBytes, "larger than %1 bytes"},
    {ErrorKind::LineTooLong, "line %1 is longer than %2 bytes"},
    {ErrorKind::TooManyLines, "the text has %1 lines; the canvas holds %2"},
    {ErrorKind::LineTooWide,
     "line %1 is %2 pixels wide; the canvas holds %3 (%4 characters of this line fit)"},
    {ErrorKind::NotInFont, "line %1, column %2: %3 is not in the Mona font"},
    {ErrorKind::NotUtf8, "line %1, column %2: byte %3 is not UTF-8"},
    {ErrorKind::NotShiftJis, "line %1, column %2: %3 is not Shift-JIS"},
    {ErrorKind::PageFileNotShiftJis, "line %1 holds %2: the file is not Shift-JIS text"},
    {ErrorKind::NotAstFile, "not an AST file: it does not start with a line \"[AA][name]\""},
    {ErrorKind::NeitherPageFormat,
     "neither an MLT file (no .mlt name, no [SPLIT] line) nor an AST file "
     "(no [AA][name] line at its start)"},
    {ErrorKind::MltPageName, "MLT pages have no names; name pages in an AST file"},
    {ErrorKind::EmptyPage, "the text is empty: there is nothing to add as a page"},
    {ErrorKind::PageNameLineBreak, "a page name cannot hold a line break"},
    {ErrorKind::SplitLineInPage, "the text holds a line \"[SPLIT]\", which would split the page"},
    {ErrorKind::AstHeadInPage, "the text holds a line \"[AA][...]\", which would start a new page"},
    {ErrorKind::NewPageFileName, "a new page file must be named .mlt or .ast"},
    {ErrorKind::NamedPipe, "a named pipe, not a regular file"},
    {ErrorKind::CharacterDevice, "a character device, not a regular file"},
    {ErrorKind::BlockDevice, "a block device, not a regular file"},
    {ErrorKind::Socket, "a socket, not a regular file"},
    {ErrorKind::SpecialFile, "a special file, not a regular file"},
    {ErrorKind::HardLinks,
     "the file has %1 names (hard links); replacing it whole would leave the other names "
     "with the old content, so it is not written"},
    {ErrorKind::OwnerNotKept,
     "the file belongs to another user or group, which its replacement could not keep, so "
     "it is not written"},
    {ErrorKind::KeptBeingReplaced, "the file kept being replaced while it was being locked"},
    {ErrorKind::AppendToUnknownFormat,
     "the file is empty and not named .mlt or .ast: a page added to it would read as neither "
     "format"},
    {ErrorKind::AppendLargerThanMegabytes,
     "with the page the file would be larger than %1 MB, more than a page file is read"},
    {ErrorKind::AppendLargerThanBytes,
     "with the page the file would be larger than %1 bytes, more than a page file is read"},
    {ErrorKind::PageNameControl, "a page name cannot hold a control character"},
    {ErrorKind::NoText, "there is no text (the file is empty)"},
    {ErrorKind::NoPages, "the file has no pages"},
    {ErrorKind::NoSuchPage, "no page %1; the file has %2"},
    {ErrorKind::PageNameNotShiftJis, "the page name has no Shift-JIS form"},
    {ErrorKind::NotAPicture, "not a picture in a known format (PNG, JPEG, WebP, GIF, BMP or PNM)"},
    {ErrorKind::PictureTooLarge, "the picture is too large (%1 x %2 pixels)"},
    {ErrorKind::NoInk, "the picture holds no black ink"},
    {ErrorKind::RowTooWide, "row %1 would be %2 pixels wide; the canvas holds %3"},
    {ErrorKind::CannotBeTyped, "%1 is not in the Mona font"},
}};

constexpr bool InKindOrder() {
    for (std::size_t i = 0; i < kWordings.size(); ++i) {
        if (static_cast<std::size_t>(kWordings[i].kind) != i) return false;
    }
    return true;
}
static_assert(InKindOrder(), "one wording per kind, in the order of ErrorKind");

const Wording& WordingOf(ErrorKind kind) {
    return kWordings[static_cast<std::size_t>(kind)];
}

}  // namespace

bool EndsInErrorNumber(ErrorKind kind) {
    return WordingOf(kind).endsInErrorNumber;
}

std::string EnglishReason(ErrorKind kind, const std::vector<std::string>& args) {
    const Wording& wording = WordingOf(kind);
    std::vector<std::string> parts = args;
    if (wording.endsInErrorNumber && !parts.empty()) {
        parts.back() = std::strerror(std::atoi(parts.back().c_str()));
    }
    return FillReason(wording.text, parts);
}

std::string FillReason(std::string_view text, const std::vector<std::string>& args) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int n =
            text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9'
                ? text[i + 1] - '0'
                : 0;
        if (n >= 1 && static_cast<std::size_t>(n) <= args.size()) {
            out += args[static_cast<std::size_t>(n) - 1];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace fudeline
