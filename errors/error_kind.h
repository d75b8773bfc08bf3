// A kind of failure, worded in the two languages Fudeline speaks: English,
// what the command line prints, and Japanese, what the window and the page
// show. Each library declares the kinds it fails with beside its code, in
// its folder's `<folder>_errors.h`, as `inline constexpr ErrorKind` objects
// in namespace `kinds`, and lists them there; a failure points at its kind,
// so the one object is the kind (as an error class is in LLVM), and no
// central table grows with every library.
#pragma once

#include <string_view>

// The text itself to the compiler; to lupdate, a text to translate in
// `context` (the window's translations read every `*_errors.h`).
#define FUDELINE_REASON_TEXT(context, text) text

namespace fudeline {

namespace detail {
// The arguments "%1" ... "%9" a wording names, one bit each.
constexpr unsigned ArgumentsNamed(std::string_view text) {
    unsigned named = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') {
            named |= 1u << (text[i + 1] - '1');
        }
    }
    return named;
}
}  // namespace detail

struct ErrorKind {
    const char* name;     // unique in the program: how the page names a kind
    const char* english;  // "%1" ... stand for the arguments in order
    const char* japanese;
    bool endsInErrorNumber = false;  // the last argument is an errno: the system's reason

    // A kind worded in one language only, or whose wordings take other
    // arguments, does not compile: both faces word every kind.
    constexpr ErrorKind(const char* name, const char* english, const char* japanese,
                        bool endsInErrorNumber = false)
        : name(name), english(english), japanese(japanese), endsInErrorNumber(endsInErrorNumber) {
        if (std::string_view(name).empty() || std::string_view(english).empty() ||
            std::string_view(japanese).empty()) {
            throw "an error kind needs a name and both wordings";
        }
        if (detail::ArgumentsNamed(english) != detail::ArgumentsNamed(japanese)) {
            throw "an error kind's two wordings name other arguments";
        }
    }
    ErrorKind(const ErrorKind&) = delete;
    ErrorKind& operator=(const ErrorKind&) = delete;
};

}  // namespace fudeline
