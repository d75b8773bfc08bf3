#include "pixels/japanese_reasons.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace fudeline {
namespace {

struct ReasonText {
    ErrorKind kind;
    const char* text;
};

// The reasons of files, of reading and drawing text art, of page files and
// of pictures.
constexpr std::array kTexts = {
    ReasonText{ErrorKind::TemporaryFile,
               FUDELINE_REASON_TEXT("CoreReason", "隣に一時ファイル %1 を作れません: %2")},
    ReasonText{ErrorKind::LargerThanMegabytes,
               FUDELINE_REASON_TEXT("CoreReason", "%1 MB より大きいファイルです")},
    ReasonText{ErrorKind::LargerThanBytes,
               FUDELINE_REASON_TEXT("CoreReason", "%1 バイトより大きいファイルです")},
    ReasonText{ErrorKind::LineTooLong,
               FUDELINE_REASON_TEXT("CoreReason", "%1 行目が %2 バイトより長くなっています")},
    ReasonText{ErrorKind::TooManyLines,
               FUDELINE_REASON_TEXT(
                   "CoreReason", "テキストは %1 行あります。キャンバスに入るのは %2 行までです")},
    ReasonText{ErrorKind::LineTooWide,
               FUDELINE_REASON_TEXT("CoreReason",
                                    "%1 行目の幅は %2 ピクセルです。キャンバスに入るのは %3 "
                                    "ピクセルまでです（この行の %4 文字まで入ります）")},
    ReasonText{
        ErrorKind::NotInFont,
        FUDELINE_REASON_TEXT("CoreReason", "%1 行目の %2 文字目: %3 は Mona フォントにありません")},
    ReasonText{ErrorKind::NotUtf8,
               FUDELINE_REASON_TEXT("CoreReason",
                                    "%1 行目の %2 文字目: バイト %3 は UTF-8 ではありません")},
    ReasonText{
        ErrorKind::NotShiftJis,
        FUDELINE_REASON_TEXT("CoreReason", "%1 行目の %2 文字目: %3 は Shift-JIS ではありません")},
    ReasonText{
        ErrorKind::PageFileNotShiftJis,
        FUDELINE_REASON_TEXT("CoreReason", "%1 行目に Shift-JIS でないところ（%2）があります")},
    ReasonText{
        ErrorKind::NotAstFile,
        FUDELINE_REASON_TEXT("CoreReason",
                             "AST ファイルではありません。最初の行が「[AA][名前]」ではありません")},
    ReasonText{
        ErrorKind::NeitherPageFormat,
        FUDELINE_REASON_TEXT("CoreReason",
                             "MLT ファイルでも AST ファイルでもありません（名前が .mlt でなく "
                             "[SPLIT] の行もなく、最初に [AA][名前] の行もありません）")},
    ReasonText{ErrorKind::MltPageName,
               FUDELINE_REASON_TEXT(
                   "CoreReason",
                   "MLT のページには名前を付けられません。名前は AST ファイルで付けてください")},
    ReasonText{ErrorKind::EmptyPage,
               FUDELINE_REASON_TEXT("CoreReason",
                                    "テキストが空なので、ページとして追加するものがありません")},
    ReasonText{ErrorKind::PageNameLineBreak,
               FUDELINE_REASON_TEXT("CoreReason", "ページの名前に改行は入れられません")},
    ReasonText{ErrorKind::SplitLineInPage,
               FUDELINE_REASON_TEXT("CoreReason",
                                    "テキストに「[SPLIT]」の行があり、ページが分かれてしまいます")},
    ReasonText{
        ErrorKind::AstHeadInPage,
        FUDELINE_REASON_TEXT(
            "CoreReason", "テキストに「[AA][...]」の行があり、新しいページが始まってしまいます")},
    ReasonText{ErrorKind::NewPageFileName,
               FUDELINE_REASON_TEXT("CoreReason",
                                    "新しいページファイルの名前は .mlt か .ast で終えてください")},
    ReasonText{
        ErrorKind::NamedPipe,
        FUDELINE_REASON_TEXT("CoreReason", "名前付きパイプで、通常のファイルではありません")},
    ReasonText{ErrorKind::CharacterDevice,
               FUDELINE_REASON_TEXT("CoreReason", "デバイスで、通常のファイルではありません")},
    ReasonText{
        ErrorKind::BlockDevice,
        FUDELINE_REASON_TEXT("CoreReason", "ブロックデバイスで、通常のファイルではありません")},
    ReasonText{ErrorKind::Socket,
               FUDELINE_REASON_TEXT("CoreReason", "ソケットで、通常のファイルではありません")},
    ReasonText{
        ErrorKind::SpecialFile,
        FUDELINE_REASON_TEXT("CoreReason", "特殊なファイルで、通常のファイルではありません")},
    ReasonText{ErrorKind::HardLinks,
               FUDELINE_REASON_TEXT(
                   "CoreReason",
                   "このファイルには %1 個の名前（ハードリンク）があります。丸ごと置き換え"
                   "ると他の名前に古い内容が残るので、書き込みません")},
    ReasonText{
        ErrorKind::OwnerNotKept,
        FUDELINE_REASON_TEXT("CoreReason",
                             "このファイルは他のユーザーかグループのもので、置き換えるとその持ち主"
                             "を保てないので、書き込みません")},
    ReasonText{ErrorKind::KeptBeingReplaced,
               FUDELINE_REASON_TEXT("CoreReason",
                                    "ロックしようとする間にファイルが置き換えられ続けました")},
    ReasonText{
        ErrorKind::AppendToUnknownFormat,
        FUDELINE_REASON_TEXT("CoreReason",
                             "空のファイルで名前が .mlt でも .ast でもないので、ページを追加すると "
                             "MLT とも AST とも読めなくなります")},
    ReasonText{
        ErrorKind::AppendLargerThanMegabytes,
        FUDELINE_REASON_TEXT("CoreReason",
                             "ページを追加するとファイルが %1 MB より大きくなり、ページファイルとし"
                             "て読めなくなります")},
    ReasonText{ErrorKind::PageNameControl,
               FUDELINE_REASON_TEXT("CoreReason", "ページの名前に制御文字は入れられません")},
    ReasonText{
        ErrorKind::AppendLargerThanBytes,
        FUDELINE_REASON_TEXT("CoreReason",
                             "ページを追加するとファイルが %1 バイトより大きくなり、ページファイル"
                             "として読めなくなります")},
    ReasonText{ErrorKind::NoText,
               FUDELINE_REASON_TEXT("CoreReason", "テキストがありません（空のファイルです）")},
    ReasonText{ErrorKind::NoPages, FUDELINE_REASON_TEXT("CoreReason", "ページがありません")},
    ReasonText{ErrorKind::NoSuchPage,
               FUDELINE_REASON_TEXT("CoreReason",
                                    "%1 ページ目はありません。ファイルには %2 ページあります")},
    ReasonText{ErrorKind::PageNameNotShiftJis,
               FUDELINE_REASON_TEXT("CoreReason", "ページの名前を Shift-JIS で書けません")},
    ReasonText{ErrorKind::NotAPicture,
               FUDELINE_REASON_TEXT(
                   "CoreReason",
                   "対応している形式（PNG・JPEG・WebP・GIF・BMP・PNM）の画像ではありません")},
    ReasonText{ErrorKind::PictureTooLarge,
               FUDELINE_REASON_TEXT("CoreReason", "画像が大きすぎます（%1 x %2 ピクセル）")},
    ReasonText{ErrorKind::NoInk, FUDELINE_REASON_TEXT("CoreReason", "黒いインクがありません")},
    ReasonText{ErrorKind::RowTooWide,
               FUDELINE_REASON_TEXT("CoreReason",
                                    "%1 行目の幅が %2 ピクセルになります。キャンバスに入るのは %3 "
                                    "ピクセルまでです")},
    ReasonText{ErrorKind::CannotBeTyped,
               FUDELINE_REASON_TEXT("CoreReason", "%1 は Mona フォントにありません")},
};

struct SystemText {
    int errorNumber;
    const char* text;
};

// The system's reasons, as far as files meet them.
constexpr std::array kSystemTexts = {
    SystemText{ENOENT, FUDELINE_REASON_TEXT("CoreReason", "ファイルがありません")},
    SystemText{EACCES, FUDELINE_REASON_TEXT("CoreReason", "読み書きが許されていません")},
    SystemText{EISDIR, FUDELINE_REASON_TEXT("CoreReason", "フォルダです")},
    SystemText{ENOSPC, FUDELINE_REASON_TEXT("CoreReason", "ディスクに空きがありません")},
    SystemText{EROFS, FUDELINE_REASON_TEXT("CoreReason", "読み取り専用のファイルシステムです")},
    SystemText{EFBIG, FUDELINE_REASON_TEXT("CoreReason", "ファイルが大きすぎます")},
    SystemText{EIO, FUDELINE_REASON_TEXT("CoreReason", "入出力エラーが起きました")},
};

}  // namespace

const char* JapaneseReason(ErrorKind kind) {
    for (const ReasonText& known : kTexts) {
        if (known.kind == kind) return known.text;
    }
    return nullptr;
}

const char* JapaneseSystemReason(int errorNumber) {
    for (const SystemText& known : kSystemTexts) {
        if (known.errorNumber == errorNumber) return known.text;
    }
    return nullptr;
}

std::optional<std::string> JapaneseReasonText(const Error& error, ReasonWording wording) {
    auto worded = [wording](const char* text) { return wording ? wording(text) : text; };
    auto system = [&](const std::string& errorNumber) -> std::optional<std::string> {
        const char* text = JapaneseSystemReason(std::atoi(errorNumber.c_str()));
        if (!text) return std::nullopt;
        return worded(text);
    };
    if (error.kind == ErrorKind::System) {
        if (error.args.size() != 1) return std::nullopt;
        return system(error.args.front());
    }
    const char* text = JapaneseReason(error.kind);
    if (!text) return std::nullopt;
    std::vector<std::string> parts = error.args;
    if (EndsInErrorNumber(error.kind) && !parts.empty()) {
        parts.back() = system(error.args.back())
                           .value_or(EnglishReason(ErrorKind::System, {error.args.back()}));
    }
    return FillReason(worded(text), parts);
}

}  // namespace fudeline
