#include "errors/reasons.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace fudeline {
namespace {

struct SystemText {
    int errorNumber;
    const char* text;
};

// The system's reasons, as far as files meet them.
constexpr std::array kSystemTexts = {
    SystemText{ENOENT, FUDELINE_REASON_TEXT("CoreReason", "ファイルがありません")},
    SystemText{EACCES, FUDELINE_REASON_TEXT("CoreReason", "読み書きが許されていません")},
    SystemText{EPERM, FUDELINE_REASON_TEXT("CoreReason", "この操作は許されていません")},
    SystemText{EISDIR, FUDELINE_REASON_TEXT("CoreReason", "フォルダです")},
    SystemText{ENOTDIR, FUDELINE_REASON_TEXT("CoreReason", "途中の名前がフォルダではありません")},
    SystemText{ENAMETOOLONG, FUDELINE_REASON_TEXT("CoreReason", "ファイル名が長すぎます")},
    SystemText{ELOOP, FUDELINE_REASON_TEXT("CoreReason", "シンボリックリンクが多すぎます")},
    SystemText{EEXIST, FUDELINE_REASON_TEXT("CoreReason", "ファイルがすでにあります")},
    SystemText{ENOSPC, FUDELINE_REASON_TEXT("CoreReason", "ディスクに空きがありません")},
    SystemText{EDQUOT, FUDELINE_REASON_TEXT("CoreReason", "ディスクの割り当てを超えました")},
    SystemText{EROFS, FUDELINE_REASON_TEXT("CoreReason", "読み取り専用のファイルシステムです")},
    SystemText{EFBIG, FUDELINE_REASON_TEXT("CoreReason", "ファイルが大きすぎます")},
    SystemText{EIO, FUDELINE_REASON_TEXT("CoreReason", "入出力エラーが起きました")},
    SystemText{EMFILE, FUDELINE_REASON_TEXT("CoreReason", "開いているファイルが多すぎます")},
    SystemText{ENOMEM, FUDELINE_REASON_TEXT("CoreReason", "メモリが足りません")},
    SystemText{EBUSY, FUDELINE_REASON_TEXT("CoreReason", "ほかで使われています")},
    SystemText{EPIPE, FUDELINE_REASON_TEXT("CoreReason", "書き込み先が閉じられました")},
};

std::string Strerror(const std::string& errorNumber) {
    return std::strerror(std::atoi(errorNumber.c_str()));
}

}  // namespace

std::string Error::Reason() const {
    return kind ? EnglishReason(*kind, args) : std::string();
}

std::string EnglishReason(const ErrorKind& kind, const std::vector<std::string>& args) {
    std::vector<std::string> parts = args;
    if (kind.endsInErrorNumber && !parts.empty()) parts.back() = Strerror(parts.back());
    return FillReason(kind.english, parts);
}

const char* JapaneseSystemReason(int errorNumber) {
    for (const SystemText& known : kSystemTexts) {
        if (known.errorNumber == errorNumber) return known.text;
    }
    return nullptr;
}

std::string JapaneseReason(const Error& error, ReasonWording wording) {
    if (!error.kind) return {};
    auto worded = [wording](const char* text) { return wording ? wording(text) : text; };
    std::vector<std::string> parts = error.args;
    if (error.kind->endsInErrorNumber && !parts.empty()) {
        const char* system = JapaneseSystemReason(std::atoi(parts.back().c_str()));
        parts.back() = system ? worded(system) : Strerror(parts.back());
    }
    return FillReason(worded(error.kind->japanese), parts);
}

std::string FillReason(std::string_view text, const std::vector<std::string>& args) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int n =
            text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9'
                ? text[i + 1] - '0'
                : 0;
        if (n >= 1 && static_cast<std::size_t>(n) <= args.size()) {
            out += args[static_cast<std::size_t>(n) - 1];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace fudeline
