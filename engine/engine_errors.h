// The kinds of failure of the commands the faces give the Document: text
// art and drawings opened, pages added.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

// a text file or page with nothing but line breaks
inline constexpr ErrorKind NoText{
    "NoText", "there is no text (the file is empty)",
    FUDELINE_REASON_TEXT("CoreReason", "テキストがありません（空のファイルです）")};
inline constexpr ErrorKind NoPages{"NoPages", "the file has no pages",
                                   FUDELINE_REASON_TEXT("CoreReason", "ページがありません")};
// page, pages: the page asked for, how many there are
inline constexpr ErrorKind NoSuchPage{
    "NoSuchPage", "no page %1; the file has %2",
    FUDELINE_REASON_TEXT("CoreReason", "%1 ページ目はありません。ファイルには %2 ページあります")};
inline constexpr ErrorKind PageNameNotShiftJis{
    "PageNameNotShiftJis", "the page name has no Shift-JIS form",
    FUDELINE_REASON_TEXT("CoreReason", "ページの名前を Shift-JIS で書けません")};
// a drawing file without a black pixel (a photo)
inline constexpr ErrorKind NoInk{"NoInk", "the picture holds no black ink",
                                 FUDELINE_REASON_TEXT("CoreReason", "黒いインクがありません")};

inline constexpr ErrorKind KeptRowsMissing{
    "KeptRowsMissing", "the rows kept in the drawing file are not there",
    FUDELINE_REASON_TEXT("CoreReason", "描画ファイルに、書いたまま残す行がありません")};
inline constexpr ErrorKind KeptRowsUnmarked{
    "KeptRowsUnmarked", "the rows kept in the drawing file do not say which rows they are",
    FUDELINE_REASON_TEXT("CoreReason", "描画ファイルに残した行が、どの行のものか書かれていません")};
inline constexpr ErrorKind KeptRowsWithoutInk{
    "KeptRowsWithoutInk", "the rows kept in the drawing file do not say which ink they belong to",
    FUDELINE_REASON_TEXT("CoreReason",
                         "描画ファイルに残した行が、どのインクのものか書かれていません")};
inline constexpr ErrorKind KeptRowsDamaged{
    "KeptRowsDamaged", "the rows kept in the drawing file are damaged",
    FUDELINE_REASON_TEXT("CoreReason", "描画ファイルに残した行が壊れています")};
inline constexpr ErrorKind KeptRowsUnkept{
    "KeptRowsUnkept", "the rows kept in the drawing file hold a row not marked as kept",
    FUDELINE_REASON_TEXT("CoreReason", "描画ファイルに残した行に、残す印のない行があります")};
// Typing with no caret placed
inline constexpr ErrorKind TypeWithoutCaret{
    "TypeWithoutCaret", "no place to type at: click the canvas first",
    FUDELINE_REASON_TEXT("CoreReason", "文字を打つ場所がありません。先にキャンバスをクリックしてください")};
// Enter on the last row
inline constexpr ErrorKind TypeBelowLastRow{
    "TypeBelowLastRow", "no row below the last one to type in",
    FUDELINE_REASON_TEXT("CoreReason", "最後の行の下には打てる行がありません")};
// A picture too long a post for the board at every size that shows a line
inline constexpr ErrorKind NoSizeFitsBoard{
    "NoSizeFitsBoard", "the picture's text is over the board's limits at every size that shows its lines",
    FUDELINE_REASON_TEXT("CoreReason", "線が残るどの大きさでも掲示板の制限を超えます")};

// Every kind above, for the walk of every kind in both languages.
inline constexpr const ErrorKind* kEngineErrorKinds[] = {
    &NoText,          &NoPages,         &NoSuchPage,       &PageNameNotShiftJis,
    &NoInk,           &KeptRowsMissing, &KeptRowsUnmarked, &KeptRowsWithoutInk,
    &KeptRowsDamaged, &KeptRowsUnkept,   &TypeWithoutCaret, &TypeBelowLastRow,
    &NoSizeFitsBoard};

}  // namespace fudeline::kinds
