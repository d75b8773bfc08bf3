// The kinds of failure of files in and out: files that are not written or
// read as asked, page files (MLT, AST), pictures and drawings read, PNG
// written.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

inline constexpr ErrorKind NotAstFile{
    "NotAstFile", "not an AST file: it does not start with a line \"[AA][name]\"",
    FUDELINE_REASON_TEXT("CoreReason",
                         "AST ファイルではありません。最初の行が「[AA][名前]」ではありません")};
inline constexpr ErrorKind NeitherPageFormat{
    "NeitherPageFormat",
    "neither an MLT file (no .mlt name, no [SPLIT] line) nor an AST file (no [AA][name] line at "
    "its start)",
    FUDELINE_REASON_TEXT("CoreReason",
                         "MLT ファイルでも AST ファイルでもありません（名前が .mlt でなく [SPLIT] "
                         "の行もなく、最初に [AA][名前] の行もありません）")};
inline constexpr ErrorKind MltPageName{
    "MltPageName", "MLT pages have no names; name pages in an AST file",
    FUDELINE_REASON_TEXT(
        "CoreReason", "MLT のページには名前を付けられません。名前は AST ファイルで付けてください")};
inline constexpr ErrorKind EmptyPage{
    "EmptyPage", "the text is empty: there is nothing to add as a page",
    FUDELINE_REASON_TEXT("CoreReason", "テキストが空なので、ページとして追加するものがありません")};
inline constexpr ErrorKind PageNameLineBreak{
    "PageNameLineBreak", "a page name cannot hold a line break",
    FUDELINE_REASON_TEXT("CoreReason", "ページの名前に改行は入れられません")};
inline constexpr ErrorKind SplitLineInPage{
    "SplitLineInPage", "the text holds a line \"[SPLIT]\", which would split the page",
    FUDELINE_REASON_TEXT("CoreReason",
                         "テキストに「[SPLIT]」の行があり、ページが分かれてしまいます")};
inline constexpr ErrorKind AstHeadInPage{
    "AstHeadInPage", "the text holds a line \"[AA][...]\", which would start a new page",
    FUDELINE_REASON_TEXT("CoreReason",
                         "テキストに「[AA][...]」の行があり、新しいページが始まってしまいます")};
inline constexpr ErrorKind NewPageFileName{
    "NewPageFileName", "a new page file must be named .mlt or .ast",
    FUDELINE_REASON_TEXT("CoreReason",
                         "新しいページファイルの名前は .mlt か .ast で終えてください")};
inline constexpr ErrorKind AppendToUnknownFormat{
    "AppendToUnknownFormat",
    "the file is empty and not named .mlt or .ast: a page added to it would read as neither format",
    FUDELINE_REASON_TEXT("CoreReason",
                         "空のファイルで名前が .mlt でも .ast でもないので、ページを追加すると MLT "
                         "とも AST とも読めなくなります")};
// MB
inline constexpr ErrorKind TooManyPages{
    "TooManyPages", "the file holds more than %1 pages, more than a page file is read with",
    FUDELINE_REASON_TEXT("CoreReason",
                         "ファイルのページが %1 を超えていて、ページファイルとして読めません")};
inline constexpr ErrorKind AppendLargerThanMegabytes{
    "AppendLargerThanMegabytes",
    "with the page the file would be larger than %1 MB, more than a page file is read",
    FUDELINE_REASON_TEXT(
        "CoreReason",
        "ページを追加するとファイルが %1 MB より大きくなり、ページファイルとして読めなくなります")};
// bytes
inline constexpr ErrorKind AppendLargerThanBytes{
    "AppendLargerThanBytes",
    "with the page the file would be larger than %1 bytes, more than a page file is read",
    FUDELINE_REASON_TEXT("CoreReason",
                         "ページを追加するとファイルが %1 "
                         "バイトより大きくなり、ページファイルとして読めなくなります")};
inline constexpr ErrorKind PageNameControl{
    "PageNameControl", "a page name cannot hold a control character",
    FUDELINE_REASON_TEXT("CoreReason", "ページの名前に制御文字は入れられません")};
// bytes in none of the formats read
inline constexpr ErrorKind NotAPicture{
    "NotAPicture", "not a picture in a known format (PNG, JPEG, WebP, GIF, BMP or PNM)",
    FUDELINE_REASON_TEXT("CoreReason",
                         "対応している形式（PNG・JPEG・WebP・GIF・BMP・PNM）の画像ではありません")};
// width, height: past the decoding limit
inline constexpr ErrorKind PictureTooLarge{
    "PictureTooLarge", "the picture is too large (%1 x %2 pixels)",
    FUDELINE_REASON_TEXT("CoreReason", "画像が大きすぎます（%1 x %2 ピクセル）")};

// line
inline constexpr ErrorKind PageFileNul{
    "PageFileNul", "line %1 holds a NUL byte: the file is not Shift-JIS text",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目に NUL バイトがあり、Shift-JIS のテキストではありません")};
// line, "0xXX 0xXX"
inline constexpr ErrorKind PageFileUndefinedPair{
    "PageFileUndefinedPair",
    "line %1 holds %2, which CP932 does not define: the file is not Shift-JIS text",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目の %2 は CP932 にない文字で、Shift-JIS のテキストではありません")};
// line
inline constexpr ErrorKind PageFileCutPair{
    "PageFileCutPair",
    "line %1 holds a two-byte character cut short: the file is not Shift-JIS text",
    FUDELINE_REASON_TEXT(
        "CoreReason",
        "%1 行目に途中で切れた 2 バイト文字があり、Shift-JIS のテキストではありません")};
// line, "0xXX"
inline constexpr ErrorKind PageFileBadByte{
    "PageFileBadByte", "line %1 holds byte %2: the file is not Shift-JIS text",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目のバイト %2 は Shift-JIS のテキストにはありません")};
inline constexpr ErrorKind CatalogueRangeEmpty{
    "CatalogueRangeEmpty", "no character of this range could be drawn",
    FUDELINE_REASON_TEXT("CoreReason", "この範囲の文字を一つも描けませんでした")};
inline constexpr ErrorKind PngEncodingOutOfMemory{
    "PngEncodingOutOfMemory", "PNG encoding failed: not enough memory",
    FUDELINE_REASON_TEXT("CoreReason", "PNG を作れませんでした（メモリが足りません）")};
// libpng's reason
inline constexpr ErrorKind PngEncodingFailed{
    "PngEncodingFailed", "PNG encoding failed: %1",
    FUDELINE_REASON_TEXT("CoreReason", "PNG を作れませんでした（%1）")};
inline constexpr ErrorKind EmptyPictureNotWritten{
    "EmptyPictureNotWritten", "an empty picture cannot be written as PNG",
    FUDELINE_REASON_TEXT("CoreReason", "空の画像は PNG にできません")};
inline constexpr ErrorKind PngTextUnfit{
    "PngTextUnfit", "a PNG text chunk cannot carry this key or text",
    FUDELINE_REASON_TEXT("CoreReason",
                         "PNG のテキストチャンクにはこのキーかテキストを入れられません")};
inline constexpr ErrorKind PngWithoutEnd{
    "PngWithoutEnd", "the PNG has no image end to write text before",
    FUDELINE_REASON_TEXT("CoreReason", "PNG に画像の終わりがないので、テキストを書き込めません")};
inline constexpr ErrorKind PictureWithoutPixels{
    "PictureWithoutPixels", "the picture has no pixels",
    FUDELINE_REASON_TEXT("CoreReason", "画像にピクセルがありません")};
// format
inline constexpr ErrorKind PictureOfFormatWithoutPixels{
    "PictureOfFormatWithoutPixels", "the %1 picture has no pixels",
    FUDELINE_REASON_TEXT("CoreReason", "%1 画像にピクセルがありません")};
// format
inline constexpr ErrorKind PictureTruncated{
    "PictureTruncated", "the %1 picture is truncated",
    FUDELINE_REASON_TEXT("CoreReason", "%1 画像が途中で切れています")};
// format
inline constexpr ErrorKind PictureTruncatedOrDamaged{
    "PictureTruncatedOrDamaged", "the %1 picture is truncated or damaged",
    FUDELINE_REASON_TEXT("CoreReason", "%1 画像が途中で切れているか壊れています")};
// format
inline constexpr ErrorKind PictureDamaged{
    "PictureDamaged", "the %1 picture is damaged",
    FUDELINE_REASON_TEXT("CoreReason", "%1 画像が壊れています")};
// format, the decoding library's reason
inline constexpr ErrorKind PictureDamagedBecause{
    "PictureDamagedBecause", "the %1 picture is damaged: %2",
    FUDELINE_REASON_TEXT("CoreReason", "%1 画像が壊れています（%2）")};
// format, library
inline constexpr ErrorKind PictureReadOtherwise{
    "PictureReadOtherwise", "the %1 picture is damaged: %2 reads another size than its header",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 画像が壊れています（%2 の読む大きさがヘッダーと違います）")};
// format
inline constexpr ErrorKind PictureOutOfMemory{
    "PictureOutOfMemory", "not enough memory to read the %1 picture",
    FUDELINE_REASON_TEXT("CoreReason", "%1 画像を読むにはメモリが足りません")};
// libpng's reason
inline constexpr ErrorKind NotReadablePng{
    "NotReadablePng", "not a readable PNG picture: %1",
    FUDELINE_REASON_TEXT("CoreReason", "読める PNG 画像ではありません（%1）")};
inline constexpr ErrorKind PngWithoutHeader{
    "PngWithoutHeader", "the PNG picture has no valid header",
    FUDELINE_REASON_TEXT("CoreReason", "PNG 画像に正しいヘッダーがありません")};
inline constexpr ErrorKind PngWithoutSize{
    "PngWithoutSize", "the PNG picture has no valid width and height",
    FUDELINE_REASON_TEXT("CoreReason", "PNG 画像に正しい幅と高さがありません")};
inline constexpr ErrorKind JpegWithoutFrameHeader{
    "JpegWithoutFrameHeader", "the JPEG picture is damaged: no frame header",
    FUDELINE_REASON_TEXT("CoreReason", "JPEG 画像が壊れています（フレームヘッダーがありません）")};
inline constexpr ErrorKind JpegWithoutSize{
    "JpegWithoutSize", "the JPEG picture has no size in its frame header",
    FUDELINE_REASON_TEXT("CoreReason", "JPEG 画像のフレームヘッダーに大きさがありません")};
inline constexpr ErrorKind JpegTooManyScans{
    "JpegTooManyScans", "the JPEG picture is damaged: too many scans",
    FUDELINE_REASON_TEXT("CoreReason", "JPEG 画像が壊れています（スキャンが多すぎます）")};
inline constexpr ErrorKind JpegTooMuchMemory{
    "JpegTooMuchMemory", "the JPEG picture is damaged: it needs too much memory",
    FUDELINE_REASON_TEXT("CoreReason", "JPEG 画像が壊れています（読むのにメモリが要りすぎます）")};
inline constexpr ErrorKind NotReadableWebp{
    "NotReadableWebp", "not a readable WebP picture",
    FUDELINE_REASON_TEXT("CoreReason", "読める WebP 画像ではありません")};
inline constexpr ErrorKind WebpAnimated{
    "WebpAnimated", "animated WebP pictures are not supported",
    FUDELINE_REASON_TEXT("CoreReason", "動く WebP 画像には対応していません")};
inline constexpr ErrorKind GifWithoutScreenSize{
    "GifWithoutScreenSize", "the GIF picture is damaged: no screen size",
    FUDELINE_REASON_TEXT("CoreReason", "GIF 画像が壊れています（画面の大きさがありません）")};
inline constexpr ErrorKind GifWithoutColourTable{
    "GifWithoutColourTable", "the GIF picture has no colour table",
    FUDELINE_REASON_TEXT("CoreReason", "GIF 画像に色の表がありません")};
inline constexpr ErrorKind GifFrameImpossible{
    "GifFrameImpossible", "the GIF frame has an impossible size",
    FUDELINE_REASON_TEXT("CoreReason", "GIF のフレームの大きさがありえない値です")};
// width, height
inline constexpr ErrorKind GifFrameTooLarge{
    "GifFrameTooLarge", "the GIF frame is too large (%1 x %2 pixels)",
    FUDELINE_REASON_TEXT("CoreReason", "GIF のフレームが大きすぎます（%1 x %2 ピクセル）")};
inline constexpr ErrorKind GifWithoutFrame{
    "GifWithoutFrame", "the GIF picture has no frame",
    FUDELINE_REASON_TEXT("CoreReason", "GIF 画像にフレームがありません")};
inline constexpr ErrorKind BmpUnknownHeader{
    "BmpUnknownHeader", "the BMP header is of an unknown kind",
    FUDELINE_REASON_TEXT("CoreReason", "BMP のヘッダーが知らない種類です")};
// bits
inline constexpr ErrorKind BmpRunLengthOfBits{
    "BmpRunLengthOfBits", "the BMP picture is damaged: run-length encoding of %1-bit pixels",
    FUDELINE_REASON_TEXT("CoreReason",
                         "BMP 画像が壊れています（%1 ビットのピクセルのランレングス符号化）")};
// method
inline constexpr ErrorKind BmpCompression{
    "BmpCompression", "BMP pictures compressed by method %1 are not supported",
    FUDELINE_REASON_TEXT("CoreReason", "圧縮方式 %1 の BMP 画像には対応していません")};
// bits
inline constexpr ErrorKind BmpBits{
    "BmpBits", "BMP pictures of %1 bits are not supported",
    FUDELINE_REASON_TEXT("CoreReason", "%1 ビットの BMP 画像には対応していません")};
inline constexpr ErrorKind PnmWithoutSize{
    "PnmWithoutSize", "the PNM header has no valid size or maximum value",
    FUDELINE_REASON_TEXT("CoreReason", "PNM のヘッダーに正しい大きさか最大値がありません")};
inline constexpr ErrorKind NotColourPicture{
    "NotColourPicture", "not a PNG, JPEG or WebP picture",
    FUDELINE_REASON_TEXT("CoreReason", "PNG・JPEG・WebP のどれの画像でもありません")};
// format
inline constexpr ErrorKind BrowserCannotRead{
    "BrowserCannotRead", "the browser cannot read this %1 picture",
    FUDELINE_REASON_TEXT("CoreReason", "ブラウザがこの %1 画像を読めません")};
inline constexpr ErrorKind NotInkImage{
    "NotInkImage", "not an image this tool reads: PBM (P1 or P4) or PNG",
    FUDELINE_REASON_TEXT("CoreReason",
                         "読める画像ではありません（読めるのは PBM（P1・P4）と PNG です）")};
inline constexpr ErrorKind NotPbm{
    "NotPbm", "not a PBM image (P1 or P4)",
    FUDELINE_REASON_TEXT("CoreReason", "PBM 画像（P1・P4）ではありません")};
inline constexpr ErrorKind NotPng{"NotPng", "not a PNG image",
                                  FUDELINE_REASON_TEXT("CoreReason", "PNG 画像ではありません")};
inline constexpr ErrorKind PbmWithoutSize{
    "PbmWithoutSize", "PBM header has no valid width and height",
    FUDELINE_REASON_TEXT("CoreReason", "PBM のヘッダーに正しい幅と高さがありません")};
inline constexpr ErrorKind PbmTruncated{
    "PbmTruncated", "PBM image is truncated",
    FUDELINE_REASON_TEXT("CoreReason", "PBM 画像が途中で切れています")};
inline constexpr ErrorKind PbmNotBit{
    "PbmNotBit", "PBM image holds a byte that is not 0 or 1",
    FUDELINE_REASON_TEXT("CoreReason", "PBM 画像に 0 でも 1 でもないバイトがあります")};
// width, height
inline constexpr ErrorKind InkPngTooLarge{
    "InkPngTooLarge", "PNG image is too large (%1 x %2)",
    FUDELINE_REASON_TEXT("CoreReason", "PNG 画像が大きすぎます（%1 x %2）")};

// Every kind above, for the walk of every kind in both languages.
inline constexpr const ErrorKind* kIoErrorKinds[] = {&NotAstFile,
                                                     &NeitherPageFormat,
                                                     &MltPageName,
                                                     &EmptyPage,
                                                     &PageNameLineBreak,
                                                     &SplitLineInPage,
                                                     &AstHeadInPage,
                                                     &NewPageFileName,
                                                     &AppendToUnknownFormat,
                                                     &TooManyPages,
                                                     &AppendLargerThanMegabytes,
                                                     &AppendLargerThanBytes,
                                                     &PageNameControl,
                                                     &NotAPicture,
                                                     &PictureTooLarge,
                                                     &PageFileNul,
                                                     &PageFileUndefinedPair,
                                                     &PageFileCutPair,
                                                     &PageFileBadByte,
                                                     &CatalogueRangeEmpty,
                                                     &PngEncodingOutOfMemory,
                                                     &PngEncodingFailed,
                                                     &EmptyPictureNotWritten,
                                                     &PngTextUnfit,
                                                     &PngWithoutEnd,
                                                     &PictureWithoutPixels,
                                                     &PictureOfFormatWithoutPixels,
                                                     &PictureTruncated,
                                                     &PictureTruncatedOrDamaged,
                                                     &PictureDamaged,
                                                     &PictureDamagedBecause,
                                                     &PictureReadOtherwise,
                                                     &PictureOutOfMemory,
                                                     &NotReadablePng,
                                                     &PngWithoutHeader,
                                                     &PngWithoutSize,
                                                     &JpegWithoutFrameHeader,
                                                     &JpegWithoutSize,
                                                     &JpegTooManyScans,
                                                     &JpegTooMuchMemory,
                                                     &NotReadableWebp,
                                                     &WebpAnimated,
                                                     &GifWithoutScreenSize,
                                                     &GifWithoutColourTable,
                                                     &GifFrameImpossible,
                                                     &GifFrameTooLarge,
                                                     &GifWithoutFrame,
                                                     &BmpUnknownHeader,
                                                     &BmpRunLengthOfBits,
                                                     &BmpCompression,
                                                     &BmpBits,
                                                     &PnmWithoutSize,
                                                     &NotColourPicture,
                                                     &BrowserCannotRead,
                                                     &NotInkImage,
                                                     &NotPbm,
                                                     &NotPng,
                                                     &PbmWithoutSize,
                                                     &PbmTruncated,
                                                     &PbmNotBit,
                                                     &InkPngTooLarge};

}  // namespace fudeline::kinds
