// The kinds of failure of text art drawn into the ink layer.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

// lines, lines the canvas holds
inline constexpr ErrorKind TooManyLines{
    "TooManyLines", "the text has %1 lines; the canvas holds %2",
    FUDELINE_REASON_TEXT("CoreReason",
                         "テキストは %1 行あります。キャンバスに入るのは %2 行までです")};
// line, pixels, pixels the canvas holds, characters that fit
inline constexpr ErrorKind LineTooWide{
    "LineTooWide",
    "line %1 is %2 pixels wide; the canvas holds %3 (%4 characters of this line fit)",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目の幅は %2 ピクセルです。キャンバスに入るのは %3 "
                         "ピクセルまでです（この行の %4 文字まで入ります）")};
// line, column, "U+XXXX"
inline constexpr ErrorKind NotInFont{
    "NotInFont", "line %1, column %2: %3 is not in the Mona font",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目の %2 文字目: %3 は Mona フォントにありません")};
// "U+XXXX": a character typed that the face does not draw
inline constexpr ErrorKind CannotBeTyped{
    "CannotBeTyped", "%1 is not in the Mona font",
    FUDELINE_REASON_TEXT("CoreReason", "%1 は Mona フォントにありません")};

// Every kind above, for the walk of every kind in both languages.
inline constexpr const ErrorKind* kRenderErrorKinds[] = {&TooManyLines, &LineTooWide, &NotInFont,
                                                         &CannotBeTyped};

}  // namespace fudeline::kinds
