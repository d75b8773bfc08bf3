// The kinds of failure only the command line meets: its options, the text
// it reads line by line and the picture `render` draws.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

// rows
inline constexpr ErrorKind TextOverCanvas{
    "TextOverCanvas", "the text has more than %1 lines; the canvas holds %1",
    FUDELINE_REASON_TEXT("CoreReason",
                         "テキストが %1 行を超えています。キャンバスに入るのは %1 行までです")};
inline constexpr ErrorKind PageNeedsShiftJis{
    "PageNeedsShiftJis",
    "MLT and AST files are Shift-JIS; --input-encoding utf8 cannot read a page of one",
    FUDELINE_REASON_TEXT("CoreReason",
                         "MLT と AST のファイルは Shift-JIS です。--input-encoding utf8 "
                         "ではそのページを読めません")};
// lines
inline constexpr ErrorKind RenderTooManyLines{
    "RenderTooManyLines", "more than the %1 lines a picture may have",
    FUDELINE_REASON_TEXT("CoreReason", "画像にできる %1 行を超えています")};
// line, pixels, pixels allowed
inline constexpr ErrorKind RenderLineTooWide{
    "RenderLineTooWide", "line %1 is %2 pixels wide, more than the %3 a picture may have",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目の幅は %2 ピクセルで、画像にできる %3 ピクセルを超えています")};
// width, height, pixels allowed
inline constexpr ErrorKind RenderTooManyPixels{
    "RenderTooManyPixels",
    "the picture would be at least %1 x %2 pixels, more than %3 pixels in all",
    FUDELINE_REASON_TEXT("CoreReason",
                         "画像が少なくとも %1 x %2 ピクセルになり、全部で %3 ピクセルを超えます")};
inline constexpr ErrorKind PngNotForTerminal{
    "PngNotForTerminal", "a PNG is not for a terminal; give -o FILE or redirect the output",
    FUDELINE_REASON_TEXT(
        "CoreReason",
        "PNG は端末には出せません。-o FILE を指定するか、出力をリダイレクトしてください")};
inline constexpr ErrorKind InkWhereTextGoes{
    "InkWhereTextGoes", "the text goes there already; give --save-ink a file or the text -o FILE",
    FUDELINE_REASON_TEXT("CoreReason",
                         "そこにはテキストが出ます。--save-ink にファイルを指定するか、テキストに "
                         "-o FILE を指定してください")};
inline constexpr ErrorKind InkNotForTerminal{
    "InkNotForTerminal",
    "a PNG is not for a terminal; give --save-ink a file or redirect the output",
    FUDELINE_REASON_TEXT("CoreReason",
                         "PNG は端末には出せません。--save-ink "
                         "にファイルを指定するか、出力をリダイレクトしてください")};
// the spacing given
inline constexpr ErrorKind NoFillersWithSpacing{
    "NoFillersWithSpacing", "--no-fillers is --spacing spaces; it cannot go with --spacing %1",
    FUDELINE_REASON_TEXT(
        "CoreReason",
        "--no-fillers は --spacing spaces のことなので、--spacing %1 とは一緒に使えません")};
inline constexpr ErrorKind SpacesNeedFine{
    "SpacesNeedFine", "--spacing spaces needs --fine: only the fine decoder chooses its gaps",
    FUDELINE_REASON_TEXT(
        "CoreReason",
        "--spacing spaces には --fine が要ります。間隔を選ぶのはきれいな変換だけです")};
inline constexpr ErrorKind SameAsPageFile{
    "SameAsPageFile", "it is the page file --append adds to",
    FUDELINE_REASON_TEXT("CoreReason", "--append でページを追加するファイルです")};
inline constexpr ErrorKind OutOfMemory{
    "OutOfMemory", "too large for the memory available",
    FUDELINE_REASON_TEXT("CoreReason", "使えるメモリに対して大きすぎます")};
// what the C++ library says
inline constexpr ErrorKind Unexpected{"Unexpected", "%1", FUDELINE_REASON_TEXT("CoreReason", "%1")};
// line, column, "0xXX", " (NAME)" or nothing
inline constexpr ErrorKind ControlCharacter{
    "ControlCharacter", "line %1, column %2: control character %3%4 draws nothing",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目の %2 文字目: 制御文字 %3%4 は何も描きません")};
// line, column, the character shown
inline constexpr ErrorKind NoShiftJisFormAt{
    "NoShiftJisFormAt", "line %1, column %2: %3 has no Shift-JIS form",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目の %2 文字目: %3 は Shift-JIS で書けません")};
// line, the character shown
inline constexpr ErrorKind ReferenceWithoutShiftJis{
    "ReferenceWithoutShiftJis",
    "line %1: a character reference stands for %2, which has no Shift-JIS form",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: 文字参照の %2 は Shift-JIS で書けません")};
// line, column, "0xXX", " (NAME)" or nothing
inline constexpr ErrorKind ReferenceToControl{
    "ReferenceToControl",
    "line %1, column %2: a character reference stands for control character %3%4, which draws "
    "nothing",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目の %2 文字目: 文字参照の制御文字 %3%4 は何も描きません")};
// line, the reason: a replay event that could not be played
inline constexpr ErrorKind ReplayLineFailed{
    "ReplayLineFailed", "line %1: %2", FUDELINE_REASON_TEXT("CoreReason", "%1 行目: %2")};

// Every kind above, for the walk of every kind in both languages.
inline constexpr const ErrorKind* kCliErrorKinds[] = {
    &TextOverCanvas,       &PageNeedsShiftJis, &RenderTooManyLines, &RenderLineTooWide,
    &RenderTooManyPixels,  &PngNotForTerminal, &InkWhereTextGoes,   &InkNotForTerminal,
    &NoFillersWithSpacing, &SpacesNeedFine,    &SameAsPageFile,     &OutOfMemory,
    &Unexpected,           &ControlCharacter,  &NoShiftJisFormAt,   &ReferenceWithoutShiftJis,
    &ReferenceToControl,   &ReplayLineFailed};

}  // namespace fudeline::kinds
