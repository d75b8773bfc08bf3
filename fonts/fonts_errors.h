// The kinds of failure of font files read with FreeType.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

// pixels
inline constexpr ErrorKind FontSizeNotSet{
    "FontSizeNotSet", "the font cannot be set to %1 pixels",
    FUDELINE_REASON_TEXT("CoreReason", "フォントを %1 ピクセルにできません")};
// pixels
inline constexpr ErrorKind NoStrike{
    "NoStrike", "the font has no %1-pixel bitmap strike",
    FUDELINE_REASON_TEXT("CoreReason", "フォントに %1 ピクセルのビットマップがありません")};
// pixels, the sizes it has
inline constexpr ErrorKind NoStrikeOfSizes{
    "NoStrikeOfSizes", "the font has no %1-pixel bitmap strike (it has %2)",
    FUDELINE_REASON_TEXT("CoreReason",
                         "フォントに %1 ピクセルのビットマップがありません（あるのは %2）")};
// pixels
inline constexpr ErrorKind FontSizeOutOfRange{
    "FontSizeOutOfRange", "a font size must be 1 to %1 pixels, the height of a text line",
    FUDELINE_REASON_TEXT("CoreReason",
                         "フォントの大きさは 1 から %1 ピクセル（テキストの行の高さ）までです")};
inline constexpr ErrorKind FreeTypeNotStarted{
    "FreeTypeNotStarted", "FreeType could not start",
    FUDELINE_REASON_TEXT("CoreReason", "FreeType を始められませんでした")};
inline constexpr ErrorKind NotAFont{
    "NotAFont", "not a font FreeType can read",
    FUDELINE_REASON_TEXT("CoreReason", "FreeType で読めるフォントではありません")};
// "U+XXXX", pixels
inline constexpr ErrorKind GlyphTooWide{
    "GlyphTooWide", "glyph %1 is wider than %2 pixels",
    FUDELINE_REASON_TEXT("CoreReason", "グリフ %1 の幅が %2 ピクセルを超えています")};
// "U+XXXX", the advance in pixels (below 0)
inline constexpr ErrorKind GlyphMovesBack{
    "GlyphMovesBack", "glyph %1 moves the pen back (an advance of %2 pixels)",
    FUDELINE_REASON_TEXT("CoreReason", "グリフ %1 はペンを後ろへ戻します（送り幅 %2 ピクセル）")};
// "U+XXXX", pixels
inline constexpr ErrorKind GlyphTooTall{
    "GlyphTooTall", "glyph %1 is taller than %2 pixels",
    FUDELINE_REASON_TEXT("CoreReason", "グリフ %1 の高さが %2 ピクセルを超えています")};
// MB
inline constexpr ErrorKind FontUnpacksTooLarge{
    "FontUnpacksTooLarge", "the packed font unpacks to more than %1 MB",
    FUDELINE_REASON_TEXT("CoreReason", "圧縮されたフォントは展開すると %1 MB を超えます")};
// "U+XXXX"
inline constexpr ErrorKind GlyphInGrey{
    "GlyphInGrey", "glyph %1 renders in grey, not in black and white",
    FUDELINE_REASON_TEXT("CoreReason", "グリフ %1 は白黒でなく灰色で描かれます")};
inline constexpr ErrorKind FontWithoutGlyphs{
    "FontWithoutGlyphs", "the font has no glyph for any character",
    FUDELINE_REASON_TEXT("CoreReason", "フォントにどの文字のグリフもありません")};
inline constexpr ErrorKind BakedFontOtherSize{
    "BakedFontOtherSize",
    "a baked face holds 16-pixel glyphs only; give the font it was baked from",
    FUDELINE_REASON_TEXT(
        "CoreReason",
        "焼き込んだフォントは 16 ピクセルのグリフだけです。元のフォントを指定してください")};

// Every kind above, for the walk of every kind in both languages.
inline constexpr const ErrorKind* kFontsErrorKinds[] = {
    &FontSizeNotSet, &NoStrike,     &NoStrikeOfSizes, &FontSizeOutOfRange, &FreeTypeNotStarted,
    &NotAFont,       &GlyphTooWide, &GlyphMovesBack,  &GlyphTooTall,       &FontUnpacksTooLarge,
    &GlyphInGrey,    &FontWithoutGlyphs, &BakedFontOtherSize};

}  // namespace fudeline::kinds
