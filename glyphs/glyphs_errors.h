// The kinds of failure of the face and the glyph catalogue read, of the data
// files looked for, and of text turned to Shift-JIS.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

inline constexpr ErrorKind CatalogueIsDirectory{
    "CatalogueIsDirectory", "is a directory, not a catalogue file",
    FUDELINE_REASON_TEXT("CoreReason", "フォルダで、カタログファイルではありません")};
inline constexpr ErrorKind CatalogueCutShort{
    "CatalogueCutShort",
    "cut short: its last line is incomplete; make it again with fudeline-cli catalogue",
    FUDELINE_REASON_TEXT("CoreReason",
                         "途中で切れています（最後の行が欠けています）。fudeline-cli catalogue "
                         "で作り直してください")};
inline constexpr ErrorKind CatalogueEndLineDamaged{
    "CatalogueEndLineDamaged", "its end line is damaged; make it again with fudeline-cli catalogue",
    FUDELINE_REASON_TEXT("CoreReason",
                         "最後の行が壊れています。fudeline-cli catalogue で作り直してください")};
// lines, lines the end line counts
inline constexpr ErrorKind CatalogueLinesMiscounted{
    "CatalogueLinesMiscounted",
    "holds %1 glyph lines where its end line says %2; make it again with fudeline-cli catalogue",
    FUDELINE_REASON_TEXT("CoreReason",
                         "グリフの行が %1 行ありますが、最後の行には %2 行とあります。fudeline-cli "
                         "catalogue で作り直してください")};
// line, pixels
inline constexpr ErrorKind CatalogueNumbersCut{
    "CatalogueNumbersCut",
    "cut short: line %1 holds fewer numbers than its count of %2 pixels says; make it again with "
    "fudeline-cli catalogue",
    FUDELINE_REASON_TEXT("CoreReason",
                         "途中で切れています（%1 行目の数がピクセル数 %2 "
                         "に足りません）。fudeline-cli catalogue で作り直してください")};
// line
inline constexpr ErrorKind CatalogueLeadByteAlone{
    "CatalogueLeadByteAlone",
    "cut short: line %1 holds the first byte of a two-byte code without a valid second one; make "
    "it again with fudeline-cli catalogue",
    FUDELINE_REASON_TEXT("CoreReason",
                         "途中で切れています（%1 行目に 2 バイト文字の 1 "
                         "バイト目だけがあります）。fudeline-cli catalogue で作り直してください")};
// line, bytes
inline constexpr ErrorKind CatalogueLineTooLong{
    "CatalogueLineTooLong",
    "line %1 is longer than the %2 bytes a glyph of at most 64 x 16 pixels takes; make it again "
    "with fudeline-cli catalogue",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目が 64 x 16 ピクセルまでのグリフの %2 バイトより長くなっています。"
                         "fudeline-cli catalogue で作り直してください")};
// the two file names
inline constexpr ErrorKind CatalogueWithoutGlyphs{
    "CatalogueWithoutGlyphs", "the catalogue files %1 and %2 hold no usable glyph",
    FUDELINE_REASON_TEXT("CoreReason", "カタログファイル %1 と %2 に使えるグリフがありません")};
inline constexpr ErrorKind CatalogueFilesMixed{
    "CatalogueFilesMixed",
    "the catalogue files %1 and %2 are not from one writing (one was replaced and the other "
    "not); make them again with fudeline-cli catalogue",
    FUDELINE_REASON_TEXT(
        "CoreReason",
        "カタログファイル %1 と %2 は同じときに書かれたものではありません（片方だけが"
        "置き換えられています）。fudeline-cli catalogue で作り直してください")};
inline constexpr ErrorKind FontIsDirectory{
    "FontIsDirectory", "is a directory, not a font file",
    FUDELINE_REASON_TEXT("CoreReason", "フォルダで、フォントファイルではありません")};
inline constexpr ErrorKind NotBakedFont{
    "NotBakedFont", "not a font baked by fudeline_bake_font",
    FUDELINE_REASON_TEXT("CoreReason", "fudeline_bake_font で作ったフォントではありません")};
inline constexpr ErrorKind BakedFontCut{
    "BakedFontCut", "the baked font ends inside a glyph",
    FUDELINE_REASON_TEXT("CoreReason", "フォントがグリフの途中で終わっています")};
inline constexpr ErrorKind BakedGlyphTooWide{
    "BakedGlyphTooWide", "a baked glyph is wider than any glyph",
    FUDELINE_REASON_TEXT("CoreReason", "フォントに幅の広すぎるグリフがあります")};
inline constexpr ErrorKind BakedFontTrailingBytes{
    "BakedFontTrailingBytes", "the baked font has bytes after its last glyph",
    FUDELINE_REASON_TEXT("CoreReason", "フォントの最後のグリフの後に余分なバイトがあります")};
// the glyph count the header claims, the bytes after it
inline constexpr ErrorKind BakedFontCountTooLarge{
    "BakedFontCountTooLarge", "the baked font claims %1 glyphs, more than its %2 bytes can hold",
    FUDELINE_REASON_TEXT("CoreReason",
                         "フォントは %1 個のグリフがあると言いますが、%2 バイトには収まりません")};
// the folders looked in
inline constexpr ErrorKind DataFileNotFound{
    "DataFileNotFound", "not found; looked in %1",
    FUDELINE_REASON_TEXT("CoreReason", "見つかりません（探した場所: %1）")};
inline constexpr ErrorKind TextNotUtf8{
    "TextNotUtf8", "the text is not valid UTF-8",
    FUDELINE_REASON_TEXT("CoreReason", "テキストが正しい UTF-8 ではありません")};
inline constexpr ErrorKind NoShiftJisForm{
    "NoShiftJisForm", "a character has no Shift-JIS form",
    FUDELINE_REASON_TEXT("CoreReason", "Shift-JIS で書けない文字があります")};

// Every kind above, for the walk of every kind in both languages.
inline constexpr const ErrorKind* kGlyphsErrorKinds[] = {&CatalogueIsDirectory,
                                                         &CatalogueCutShort,
                                                         &CatalogueEndLineDamaged,
                                                         &CatalogueLinesMiscounted,
                                                         &CatalogueNumbersCut,
                                                         &CatalogueLeadByteAlone,
                                                         &CatalogueLineTooLong,
                                                         &CatalogueWithoutGlyphs,
                                                         &CatalogueFilesMixed,
                                                         &FontIsDirectory,
                                                         &NotBakedFont,
                                                         &BakedFontCut,
                                                         &BakedGlyphTooWide,
                                                         &BakedFontTrailingBytes,
                                                         &BakedFontCountTooLarge,
                                                         &DataFileNotFound,
                                                         &TextNotUtf8,
                                                         &NoShiftJisForm};

}  // namespace fudeline::kinds
