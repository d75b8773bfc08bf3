// The kinds of failure of text art read as lines: bytes of neither encoding;
// and of a row edited as text: one grown past the canvas.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

// line, column, "0xXX"
inline constexpr ErrorKind NotUtf8{
    "NotUtf8", "line %1, column %2: byte %3 is not UTF-8",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目の %2 文字目: バイト %3 は UTF-8 ではありません")};
// line, column, "0xXX" or "0xXX 0xXX"
inline constexpr ErrorKind NotShiftJis{
    "NotShiftJis", "line %1, column %2: %3 is not Shift-JIS",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目の %2 文字目: %3 は Shift-JIS ではありません")};
// row, pixels, the canvas's pixels
inline constexpr ErrorKind RowTooWide{
    "RowTooWide", "row %1 would be %2 pixels wide; the canvas holds %3",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目の幅が %2 ピクセルになります。キャンバスに入るのは %3 ピクセルまでです")};

// Every kind above, for the walk of every kind in both languages.
inline constexpr const ErrorKind* kTextErrorKinds[] = {&NotUtf8, &NotShiftJis, &RowTooWide};

}  // namespace fudeline::kinds
