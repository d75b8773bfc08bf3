#include "app/core_reasons.h"

#include <QCoreApplication>

#include <array>
#include <cerrno>

namespace fudeline {
namespace {

struct KindText {
    ErrorKind kind;
    const char* text;  // %1 ... for the kind's arguments in order
};

// The reasons of files, of reading and drawing text art and of page files.
// The English translation gives back the core's wording (pixels/error_text.cpp).
constexpr std::array kKindTexts = {
    KindText{ErrorKind::TemporaryFile,
             QT_TRANSLATE_NOOP("CoreReason", "隣に一時ファイル %1 を作れません: %2")},
    KindText{ErrorKind::LargerThanMegabytes,
             QT_TRANSLATE_NOOP("CoreReason", "%1 MB より大きいファイルです")},
    KindText{ErrorKind::LargerThanBytes,
             QT_TRANSLATE_NOOP("CoreReason", "%1 バイトより大きいファイルです")},
    KindText{ErrorKind::LineTooLong,
             QT_TRANSLATE_NOOP("CoreReason", "%1 行目が %2 バイトより長くなっています")},
    KindText{ErrorKind::TooManyLines,
             QT_TRANSLATE_NOOP("CoreReason",
                               "テキストは %1 行あります。キャンバスに入るのは %2 行までです")},
    KindText{ErrorKind::LineTooWide,
             QT_TRANSLATE_NOOP("CoreReason",
                               "%1 行目の幅は %2 ピクセルです。キャンバスに入るのは %3 "
                               "ピクセルまでです（この行の %4 文字まで入ります）")},
    KindText{
        ErrorKind::NotInFont,
        QT_TRANSLATE_NOOP("CoreReason", "%1 行目の %2 文字目: %3 は Mona フォントにありません")},
    KindText{
        ErrorKind::NotUtf8,
        QT_TRANSLATE_NOOP("CoreReason", "%1 行目の %2 文字目: バイト %3 は UTF-8 ではありません")},
    KindText{
        ErrorKind::NotShiftJis,
        QT_TRANSLATE_NOOP("CoreReason", "%1 行目の %2 文字目: %3 は Shift-JIS ではありません")},
    KindText{ErrorKind::PageFileNotShiftJis,
             QT_TRANSLATE_NOOP("CoreReason", "%1 行目に Shift-JIS でないところ（%2）があります")},
    KindText{
        ErrorKind::NotAstFile,
        QT_TRANSLATE_NOOP("CoreReason",
                          "AST ファイルではありません。最初の行が「[AA][名前]」ではありません")},
    KindText{ErrorKind::NeitherPageFormat,
             QT_TRANSLATE_NOOP("CoreReason",
                               "MLT ファイルでも AST ファイルでもありません（名前が .mlt でなく "
                               "[SPLIT] の行もなく、最初に [AA][名前] の行もありません）")},
    KindText{ErrorKind::MltPageName,
             QT_TRANSLATE_NOOP(
                 "CoreReason",
                 "MLT のページには名前を付けられません。名前は AST ファイルで付けてください")},
    KindText{ErrorKind::EmptyPage,
             QT_TRANSLATE_NOOP("CoreReason",
                               "テキストが空なので、ページとして追加するものがありません")},
    KindText{ErrorKind::PageNameLineBreak,
             QT_TRANSLATE_NOOP("CoreReason", "ページの名前に改行は入れられません")},
    KindText{ErrorKind::SplitLineInPage,
             QT_TRANSLATE_NOOP("CoreReason",
                               "テキストに「[SPLIT]」の行があり、ページが分かれてしまいます")},
    KindText{
        ErrorKind::AstHeadInPage,
        QT_TRANSLATE_NOOP("CoreReason",
                          "テキストに「[AA][...]」の行があり、新しいページが始まってしまいます")},
    KindText{ErrorKind::NewPageFileName,
             QT_TRANSLATE_NOOP("CoreReason",
                               "新しいページファイルの名前は .mlt か .ast で終えてください")},
    KindText{ErrorKind::NamedPipe,
             QT_TRANSLATE_NOOP("CoreReason", "名前付きパイプで、通常のファイルではありません")},
    KindText{ErrorKind::CharacterDevice,
             QT_TRANSLATE_NOOP("CoreReason", "デバイスで、通常のファイルではありません")},
    KindText{ErrorKind::BlockDevice,
             QT_TRANSLATE_NOOP("CoreReason", "ブロックデバイスで、通常のファイルではありません")},
    KindText{ErrorKind::Socket,
             QT_TRANSLATE_NOOP("CoreReason", "ソケットで、通常のファイルではありません")},
    KindText{ErrorKind::SpecialFile,
             QT_TRANSLATE_NOOP("CoreReason", "特殊なファイルで、通常のファイルではありません")},
    KindText{ErrorKind::HardLinks,
             QT_TRANSLATE_NOOP("CoreReason",
                               "このファイルには %1 個の名前（ハードリンク）があります。丸ごと置き換え"
                               "ると他の名前に古い内容が残るので、書き込みません")},
    KindText{ErrorKind::OwnerNotKept,
             QT_TRANSLATE_NOOP("CoreReason",
                               "このファイルは他のユーザーかグループのもので、置き換えるとその持ち主"
                               "を保てないので、書き込みません")},
    KindText{ErrorKind::KeptBeingReplaced,
             QT_TRANSLATE_NOOP("CoreReason",
                               "ロックしようとする間にファイルが置き換えられ続けました")},
    KindText{ErrorKind::AppendToUnknownFormat,
             QT_TRANSLATE_NOOP("CoreReason",
                               "空のファイルで名前が .mlt でも .ast でもないので、ページを追加すると "
                               "MLT とも AST とも読めなくなります")},
    KindText{ErrorKind::AppendLargerThanMegabytes,
             QT_TRANSLATE_NOOP("CoreReason",
                               "ページを追加するとファイルが %1 MB より大きくなり、ページファイルとし"
                               "て読めなくなります")},
    KindText{ErrorKind::PageNameControl,
             QT_TRANSLATE_NOOP("CoreReason", "ページの名前に制御文字は入れられません")},
    KindText{ErrorKind::AppendLargerThanBytes,
             QT_TRANSLATE_NOOP("CoreReason",
                               "ページを追加するとファイルが %1 バイトより大きくなり、ページファイル"
                               "として読めなくなります")},
    KindText{ErrorKind::NoText,
             QT_TRANSLATE_NOOP("CoreReason", "テキストがありません（空のファイルです）")},
    KindText{ErrorKind::NoPages, QT_TRANSLATE_NOOP("CoreReason", "ページがありません")},
    KindText{ErrorKind::NoSuchPage,
             QT_TRANSLATE_NOOP("CoreReason", "%1 ページ目はありません。ファイルには %2 ページあります")},
    KindText{ErrorKind::PageNameNotShiftJis,
             QT_TRANSLATE_NOOP("CoreReason", "ページの名前を Shift-JIS で書けません")},
    KindText{ErrorKind::NotAPicture,
             QT_TRANSLATE_NOOP("CoreReason",
                               "対応している形式（PNG・JPEG・WebP・GIF・BMP・PNM）の画像ではありません")},
    KindText{ErrorKind::PictureTooLarge,
             QT_TRANSLATE_NOOP("CoreReason", "画像が大きすぎます（%1 x %2 ピクセル）")},
};

struct SystemText {
    int errorNumber;
    const char* text;
};

// The system's reasons, as far as files meet them.
constexpr std::array kSystemTexts = {
    SystemText{ENOENT, QT_TRANSLATE_NOOP("CoreReason", "ファイルがありません")},
    SystemText{EACCES, QT_TRANSLATE_NOOP("CoreReason", "読み書きが許されていません")},
    SystemText{EISDIR, QT_TRANSLATE_NOOP("CoreReason", "フォルダです")},
    SystemText{ENOSPC, QT_TRANSLATE_NOOP("CoreReason", "ディスクに空きがありません")},
    SystemText{EROFS, QT_TRANSLATE_NOOP("CoreReason", "読み取り専用のファイルシステムです")},
    SystemText{EFBIG, QT_TRANSLATE_NOOP("CoreReason", "ファイルが大きすぎます")},
    SystemText{EIO, QT_TRANSLATE_NOOP("CoreReason", "入出力エラーが起きました")},
};

QString Translated(const char* text) {
    return QCoreApplication::translate("CoreReason", text);
}

// The system's reason for an errno argument, the core's wording when the
// window has none of its own.
QString SystemReasonText(const std::string& errorNumber) {
    const int number = QString::fromStdString(errorNumber).toInt();
    for (const SystemText& known : kSystemTexts) {
        if (known.errorNumber == number) return Translated(known.text);
    }
    return QString::fromStdString(EnglishReason(ErrorKind::System, {errorNumber}));
}

// `text` with %1 ... %9 replaced by `parts` in one pass, so that a part
// holding "%2" stays as it is.
QString Fill(const QString& text, const QStringList& parts) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = i + 1 < text.size() ? text[i + 1].digitValue() : -1;
        if (text[i] == u'%' && n >= 1 && n <= parts.size()) {
            out += parts[n - 1];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

QString ReasonText(const Error& error) {
    if (error.kind == ErrorKind::System && error.args.size() == 1) {
        return SystemReasonText(error.args.front());
    }
    for (const KindText& known : kKindTexts) {
        if (known.kind != error.kind) continue;
        QStringList parts;
        for (const std::string& arg : error.args) parts << QString::fromStdString(arg);
        if (EndsInErrorNumber(error.kind) && !parts.isEmpty()) {
            parts.back() = SystemReasonText(error.args.back());
        }
        return Fill(Translated(known.text), parts);
    }
    return QString::fromStdString(error.Reason());
}

}  // namespace fudeline
