// A failure's reason worded from its kind and arguments: in English, as the
// command line prints it (Error::Reason), and in Japanese, as the window and
// the page show it. The system's reasons files meet are worded in Japanese
// by errno here too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "errors/result.h"

namespace fudeline {

// `kind`'s English wording with `args` filled in, the last one worded as the
// system's reason when it is an errno. Missing arguments leave their "%N".
std::string EnglishReason(const ErrorKind& kind, const std::vector<std::string>& args);

// The Japanese wording of the system's reason `errorNumber`, or null for one
// files seldom meet (strerror's English then stands).
const char* JapaneseSystemReason(int errorNumber);

// How a face shows a Japanese wording: as it stands (the page), or through
// its translations (the window, whose English translation gives the English
// wording back).
using ReasonWording = std::string (*)(const char* japanese);

// The reason of `error` in Japanese, without its path: its kind's wording
// with the arguments filled in, an errno worded as the system's reason.
// Each wording passes through `wording` first, when given.
std::string JapaneseReason(const Error& error, ReasonWording wording = nullptr);

// `text` with "%1" ... "%9" replaced by `args` in one pass, so that an
// argument holding "%2" stays as it is; a missing argument leaves its "%N".
std::string FillReason(std::string_view text, const std::vector<std::string>& args);

}  // namespace fudeline
