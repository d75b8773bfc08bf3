#include "app/core_reasons.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <array>

namespace fudeline {
namespace {

struct KnownReason {
    const char* shape;  // the core's wording, every variable part a group
    const char* text;   // the window's wording, %1 ... for the groups in order
    bool endsInReason = false;  // the last group is a reason of its own
};

// The reasons of reading and drawing text art, of page files and of files.
constexpr std::array kKnownReasons = {
    KnownReason{R"(the text has (\d+) lines; the canvas holds (\d+))",
                QT_TRANSLATE_NOOP("CoreReason", "テキストは %1 行あります。キャンバスに入るのは %2 行までです")},
    KnownReason{R"(line (\d+) is (\d+) pixels wide; the canvas holds (\d+) \((\d+) characters of this line fit\))",
                QT_TRANSLATE_NOOP("CoreReason", "%1 行目の幅は %2 ピクセルです。キャンバスに入るのは %3 ピクセルまでです（この行の %4 文字まで入ります）")},
    KnownReason{R"(line (\d+), column (\d+): (U\+[0-9A-F]+) is not in the Mona font)",
                QT_TRANSLATE_NOOP("CoreReason", "%1 行目の %2 文字目: %3 は Mona フォントにありません")},
    KnownReason{R"(line (\d+), column (\d+): byte (0x[0-9A-F]{2}) is not UTF-8)",
                QT_TRANSLATE_NOOP("CoreReason", "%1 行目の %2 文字目: バイト %3 は UTF-8 ではありません")},
    KnownReason{R"(line (\d+), column (\d+): (0x[0-9A-F]{2}(?: 0x[0-9A-F]{2})?) is not Shift-JIS)",
                QT_TRANSLATE_NOOP("CoreReason", "%1 行目の %2 文字目: %3 は Shift-JIS ではありません")},
    KnownReason{R"(line (\d+) holds (.+): the file is not Shift-JIS text)",
                QT_TRANSLATE_NOOP("CoreReason", "%1 行目に Shift-JIS でないところ（%2）があります")},
    KnownReason{R"(line (\d+) is longer than (\d+) bytes)",
                QT_TRANSLATE_NOOP("CoreReason", "%1 行目が %2 バイトより長くなっています")},
    KnownReason{R"(not an AST file: it does not start with a line "\[AA\]\[name\]")",
                QT_TRANSLATE_NOOP("CoreReason", "AST ファイルではありません。最初の行が「[AA][名前]」ではありません")},
    KnownReason{R"(neither an MLT file \(no \.mlt name, no \[SPLIT\] line\) nor an AST file \(no \[AA\]\[name\] line at its start\))",
                QT_TRANSLATE_NOOP("CoreReason", "MLT ファイルでも AST ファイルでもありません（名前が .mlt でなく [SPLIT] の行もなく、最初に [AA][名前] の行もありません）")},
    KnownReason{R"(MLT pages have no names; name pages in an AST file)",
                QT_TRANSLATE_NOOP("CoreReason", "MLT のページには名前を付けられません。名前は AST ファイルで付けてください")},
    KnownReason{R"(the text is empty: there is nothing to add as a page)",
                QT_TRANSLATE_NOOP("CoreReason", "テキストが空なので、ページとして追加するものがありません")},
    KnownReason{R"(a page name cannot hold a line break)",
                QT_TRANSLATE_NOOP("CoreReason", "ページの名前に改行は入れられません")},
    KnownReason{R"(the text holds a line "\[SPLIT\]", which would split the page)",
                QT_TRANSLATE_NOOP("CoreReason", "テキストに「[SPLIT]」の行があり、ページが分かれてしまいます")},
    KnownReason{R"(the text holds a line "\[AA\]\[\.\.\.\]", which would start a new page)",
                QT_TRANSLATE_NOOP("CoreReason", "テキストに「[AA][...]」の行があり、新しいページが始まってしまいます")},
    KnownReason{R"(a new page file must be named \.mlt or \.ast)",
                QT_TRANSLATE_NOOP("CoreReason", "新しいページファイルの名前は .mlt か .ast で終えてください")},
    KnownReason{R"(larger than (\d+) MB)",
                QT_TRANSLATE_NOOP("CoreReason", "%1 MB より大きいファイルです")},
    KnownReason{R"(larger than (\d+) bytes)",
                QT_TRANSLATE_NOOP("CoreReason", "%1 バイトより大きいファイルです")},
    KnownReason{R"(cannot create the temporary file (.+) beside it: (.+))",
                QT_TRANSLATE_NOOP("CoreReason", "隣に一時ファイル %1 を作れません: %2"), true},
    KnownReason{R"(a named pipe, not a regular file)",
                QT_TRANSLATE_NOOP("CoreReason", "名前付きパイプで、通常のファイルではありません")},
    KnownReason{R"(a character device, not a regular file)",
                QT_TRANSLATE_NOOP("CoreReason", "デバイスで、通常のファイルではありません")},
    KnownReason{R"(the file has (\d+) names \(hard links\); replacing it whole would leave the other names with the old content, so it is not written)",
                QT_TRANSLATE_NOOP("CoreReason", "このファイルには %1 個の名前（ハードリンク）があります。丸ごと置き換えると他の名前に古い内容が残るので、書き込みません")},
    KnownReason{R"(the file belongs to another user or group, which its replacement could not keep, so it is not written)",
                QT_TRANSLATE_NOOP("CoreReason", "このファイルは他のユーザーかグループのもので、置き換えるとその持ち主を保てないので、書き込みません")},
    KnownReason{R"(the file is empty and not named \.mlt or \.ast: a page added to it would read as neither format)",
                QT_TRANSLATE_NOOP("CoreReason", "空のファイルで名前が .mlt でも .ast でもないので、ページを追加すると MLT とも AST とも読めなくなります")},
    KnownReason{R"(with the page the file would be larger than (\d+) MB, more than a page file is read)",
                QT_TRANSLATE_NOOP("CoreReason", "ページを追加するとファイルが %1 MB より大きくなり、ページファイルとして読めなくなります")},
    KnownReason{R"(the file kept being replaced while it was being locked)",
                QT_TRANSLATE_NOOP("CoreReason", "ロックしようとする間にファイルが置き換えられ続けました")},
    // The system's reasons (strerror), as far as files meet them.
    KnownReason{R"(No such file or directory)",
                QT_TRANSLATE_NOOP("CoreReason", "ファイルがありません")},
    KnownReason{R"(Permission denied)",
                QT_TRANSLATE_NOOP("CoreReason", "読み書きが許されていません")},
    KnownReason{R"(Is a directory)", QT_TRANSLATE_NOOP("CoreReason", "フォルダです")},
    KnownReason{R"(No space left on device)",
                QT_TRANSLATE_NOOP("CoreReason", "ディスクに空きがありません")},
    KnownReason{R"(Read-only file system)",
                QT_TRANSLATE_NOOP("CoreReason", "読み取り専用のファイルシステムです")},
    KnownReason{R"(File too large)", QT_TRANSLATE_NOOP("CoreReason", "ファイルが大きすぎます")},
    KnownReason{R"(Input/output error)",
                QT_TRANSLATE_NOOP("CoreReason", "入出力エラーが起きました")},
};

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

QString ReasonText(const std::string& reason) {
    static const auto shapes = [] {
        std::array<QRegularExpression, kKnownReasons.size()> compiled;
        for (std::size_t i = 0; i < kKnownReasons.size(); ++i) {
            compiled[i] = QRegularExpression(QRegularExpression::anchoredPattern(
                QString::fromUtf8(kKnownReasons[i].shape)));
        }
        return compiled;
    }();
    const QString text = QString::fromStdString(reason);
    for (std::size_t i = 0; i < kKnownReasons.size(); ++i) {
        const QRegularExpressionMatch match = shapes[i].match(text);
        if (!match.hasMatch()) continue;
        QStringList parts = match.capturedTexts().mid(1);
        if (kKnownReasons[i].endsInReason && !parts.isEmpty()) {
            parts.back() = ReasonText(parts.back().toStdString());
        }
        return Fill(QCoreApplication::translate("CoreReason", kKnownReasons[i].text), parts);
    }
    return text;
}

}  // namespace fudeline
