// Why the core failed, as a kind and the values its wording needs, so that a
// front end can word each reason in its own language. The English wording,
// the one the command line prints, is made from them here and nowhere else.
#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <vector>

namespace fudeline {

// The arguments each kind takes, all as text, are listed beside it.
enum class ErrorKind {
    Plain,                // reason: a reason worded in English only
    System,               // errno: the system's reason (strerror)
    TemporaryFile,        // temporary file, errno: it could not be made beside its target
    LargerThanMegabytes,  // MB: a file over its size limit
    LargerThanBytes,      // bytes: the same, for limits under 1 MB
    LineTooLong,          // line, bytes: a line over its length limit
    // Text art read and drawn into the ink layer.
    TooManyLines,  // lines, lines the canvas holds
    LineTooWide,   // line, pixels, pixels the canvas holds, characters that fit
    NotInFont,     // line, column, "U+XXXX"
    NotUtf8,       // line, column, "0xXX"
    NotShiftJis,   // line, column, "0xXX" or "0xXX 0xXX"
    // Page files (MLT, AST).
    PageFileNotShiftJis,  // line, what stands there (in English)
    NotAstFile,
    NeitherPageFormat,
    MltPageName,
    EmptyPage,
    PageNameLineBreak,
    SplitLineInPage,
    AstHeadInPage,
    NewPageFileName,
    // Files that are not written or read as asked.
    NamedPipe,
    CharacterDevice,
    BlockDevice,
    Socket,
    SpecialFile,
    HardLinks,  // names: a file with more names than the one written
    OwnerNotKept,
    KeptBeingReplaced,
    AppendToUnknownFormat,
    AppendLargerThanMegabytes,  // MB
    AppendLargerThanBytes,      // bytes
    PageNameControl,
    NoText,               // a text file or page with nothing but line breaks
    NoPages,
    NoSuchPage,           // page, pages: the page asked for, how many there are
    PageNameNotShiftJis,
    // Pictures read for tracing.
    NotAPicture,      // bytes in none of the formats read
    PictureTooLarge,  // width, height: past the decoding limit
    // Drawings opened.
    NoInk,  // a drawing file without a black pixel (a photo)
    // Words typed and parts placed on the canvas.
    RowTooWide,       // row, pixels, pixels the canvas holds
    CannotBeTyped,    // "U+XXXX": a character the face cannot draw
};
// Counts up to the last kind: a new kind goes at the end, and this names it.
inline constexpr int kErrorKindCount = static_cast<int>(ErrorKind::CannotBeTyped) + 1;

// The English reason of `kind` with `args` filled in, as `Error::Reason()`
// gives it. Missing arguments leave their "%N" in place.
std::string EnglishReason(ErrorKind kind, const std::vector<std::string>& args);

// `text` with "%1" ... "%9" replaced by `args` in one pass, so that an
// argument holding "%2" stays as it is; a missing argument leaves its "%N".
std::string FillReason(std::string_view text, const std::vector<std::string>& args);

// Whether the last argument of `kind` is an errno, to be worded as the
// system's reason.
bool EndsInErrorNumber(ErrorKind kind);

// A value as an error argument: text as it is, numbers in decimal.
inline std::string ErrorArgument(std::string text) {
    return text;
}
template <std::integral Number>
std::string ErrorArgument(Number number) {
    return std::to_string(number);
}

}  // namespace fudeline
