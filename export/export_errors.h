// The kinds of failure of the cells format read back.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

// line
inline constexpr ErrorKind CellsNotRowAndCells{
    "CellsNotRowAndCells", "line %1: not ROW<TAB>cells",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: 「行番号<タブ>セル」の形ではありません")};
// line
inline constexpr ErrorKind CellsBadRow{
    "CellsBadRow", "line %1: bad row number",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: 行番号が正しくありません")};
// line
inline constexpr ErrorKind CellsRowTwice{
    "CellsRowTwice", "line %1: row given twice",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: 同じ行が二度あります")};
// line
inline constexpr ErrorKind CellsNotACell{
    "CellsNotACell", "line %1: a cell is not gap:width:bytes",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: セルが「間隔:幅:バイト」の形ではありません")};
// line
inline constexpr ErrorKind CellsBadGap{
    "CellsBadGap", "line %1: bad gap",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: 間隔が正しくありません")};
// line
inline constexpr ErrorKind CellsBadWidth{
    "CellsBadWidth", "line %1: bad width",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: 幅が正しくありません")};
// line
inline constexpr ErrorKind CellsBadBytes{
    "CellsBadBytes", "line %1: bad character bytes",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: 文字のバイトが正しくありません")};

// Every kind above, for the walk of every kind in both languages.
inline constexpr const ErrorKind* kExportErrorKinds[] = {
    &CellsNotRowAndCells, &CellsBadRow,   &CellsRowTwice, &CellsNotACell,
    &CellsBadGap,         &CellsBadWidth, &CellsBadBytes};

}  // namespace fudeline::kinds
