#include "glyphs/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "glyphs/sjis.h"

namespace fudeline {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One conversion descriptor per direction, opened on first use. A system
// without the CP932 table leaves it closed, and every conversion then fails
// with the reason recorded here.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == kNoConverter) {
            openError_ = std::string("iconv cannot convert ") + from + " to " + to + ": " +
                         std::strerror(errno);
        }
    }
    ~Converter() {
        if (cd_ != kNoConverter) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool available() const { return cd_ != kNoConverter; }
    Error unavailable() const { return Error{"", openError_}; }

    // Converts the whole input; returns false on any invalid or incomplete
    // sequence, or when the converter could not be opened.
    bool Convert(std::string_view in, std::string& out) {
        if (!available()) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.clear();
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[256];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        }
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        return true;
    }

  private:
    iconv_t cd_;
    std::string openError_;
};

Converter& ToUtf32() {
    static thread_local Converter converter("UTF-32LE", "CP932");
    return converter;
}
Converter& ToUtf8() {
    static thread_local Converter converter("UTF-8", "CP932");
    return converter;
}
Converter& FromUtf8() {
    static thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

}  // namespace

std::optional<char32_t> Cp932CharToUnicode(std::string_view character) {
    std::string out;
    if (character.empty() || !ToUtf32().Convert(character, out) || out.size() != 4) {
        return std::nullopt;
    }
    const auto* b = reinterpret_cast<const unsigned char*>(out.data());
    return static_cast<char32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (b[3] << 24));
}

Result<std::string> Cp932ToUtf8(std::string_view sjis) {
    if (!ToUtf8().available()) return ToUtf8().unavailable();
    std::string result;
    std::string piece;
    // Whole text first; fall back to character by character only when a byte
    // sequence is not CP932.
    if (ToUtf8().Convert(sjis, result)) return result;
    result.clear();
    std::size_t i = 0;
    while (i < sjis.size()) {
        const std::size_t len =
            IsSingleByteChar(static_cast<unsigned char>(sjis[i])) || i + 1 == sjis.size() ? 1 : 2;
        if (ToUtf8().Convert(sjis.substr(i, len), piece)) {
            result += piece;
        } else {
            result += "\xEF\xBF\xBD";
        }
        i += len;
    }
    return result;
}

Result<std::string> Utf8ToCp932(std::string_view utf8) {
    if (!FromUtf8().available()) return FromUtf8().unavailable();
    std::string out;
    if (!FromUtf8().Convert(utf8, out)) return Error{"", "a character has no Shift-JIS form"};
    return out;
}

}  // namespace fudeline
