// The core's reasons worded in Japanese, the language of the window and the
// page, by kind, and the system's reasons files meet, by errno: one table
// both faces word from. "%1" ... stand for the kind's arguments in order.
//
// The window shows them through Qt's translations, in the context
// "CoreReason": lupdate reads japanese_reasons.cpp (app/CMakeLists.txt takes
// FUDELINE_REASON_TEXT for Qt's QT_TRANSLATE_NOOP), and the English
// translation gives back the core's own wording (error_text.cpp).
#pragma once

#include <optional>
#include <string>

#include "pixels/result.h"

// The text itself to the compiler; to lupdate, a text to translate in `context`.
#define FUDELINE_REASON_TEXT(context, text) text

namespace fudeline {

// The Japanese wording of `kind`, or null for a kind worded in English only
// (Plain; System, whose wording is JapaneseSystemReason's).
const char* JapaneseReason(ErrorKind kind);

// The Japanese wording of the system's reason `errorNumber`, or null for one
// files seldom meet.
const char* JapaneseSystemReason(int errorNumber);

// How a face shows one of the wordings above: as it stands (the page), or
// through its translations (the window).
using ReasonWording = std::string (*)(const char* japanese);

// The reason of `error` in Japanese, without its path: its kind's wording
// with the arguments filled in, an errno worded as the system's reason (in
// the core's English where it has no Japanese); no value where the kind or
// the system's reason has no Japanese wording. Each wording passes through
// `wording` first, when given.
std::optional<std::string> JapaneseReasonText(const Error& error,
                                              ReasonWording wording = nullptr);

}  // namespace fudeline
