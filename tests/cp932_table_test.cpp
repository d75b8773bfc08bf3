// The program's own CP932 table against glibc's converter, which it was made
// from: every one- and two-byte code decoded, every code point encoded, and
// mixed texts of valid and invalid bytes decoded, so a table made again (or
// edited) cannot drift from what the boards' Shift-JIS means.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "glyphs/cp932.h"

namespace fudeline {
namespace {

// Converts all of `in` with glibc, or nothing when any part fails.
std::optional<std::string> Iconv(const char* to, const char* from, const std::string& in) {
    // One converter per direction, opened once and closed at exit.
    static struct Converters {
        std::map<std::string, iconv_t> open;
        ~Converters() {
            for (const auto& [key, cd] : open) {
                if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
            }
        }
    } converters;
    const std::string key = std::string(to) + '<' + from;
    auto found = converters.open.find(key);
    if (found == converters.open.end()) {
        found = converters.open.emplace(key, iconv_open(to, from)).first;
    }
    const iconv_t cd = found->second;
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    out.resize(out.size() - dstLeft);
    return out;
}

std::string Utf8Of(char32_t u) {
    std::string utf32(4, '\0');
    for (int k = 0; k < 4; ++k) utf32[k] = static_cast<char>((u >> (8 * k)) & 0xFF);
    return Iconv("UTF-8", "UTF-32LE", utf32).value();
}

TEST(Cp932Table, DecodesEveryOneAndTwoByteCodeAsGlibcDoes) {
    ASSERT_TRUE(Iconv("UTF-8", "CP932", "a")) << "this C library has no CP932 converter";
    int defined = 0;
    for (int first = 0; first < 256; ++first) {
        const std::string one(1, static_cast<char>(first));
        const auto glibcOne = Iconv("UTF-8", "CP932", one);
        const auto ours = Cp932CharToUnicode(one);
        EXPECT_EQ(ours.has_value(), glibcOne.has_value()) << std::hex << first;
        if (ours && glibcOne) {
            EXPECT_EQ(Utf8Of(*ours), *glibcOne) << std::hex << first;
        }
        if (glibcOne) continue;
        for (int second = 0; second < 256; ++second) {
            const std::string two{static_cast<char>(first), static_cast<char>(second)};
            const auto glibc = Iconv("UTF-8", "CP932", two);
            const auto decoded = Cp932CharToUnicode(two);
            // glibc's output may be two characters (a lead it rejects is not one).
            if (glibc && decoded) {
                ++defined;
                ASSERT_EQ(Utf8Of(*decoded), *glibc) << std::hex << first << ' ' << second;
            } else {
                ASSERT_EQ(decoded.has_value(), false) << std::hex << first << ' ' << second;
                ASSERT_FALSE(glibc) << std::hex << first << ' ' << second;
            }
        }
    }
    EXPECT_GT(defined, 9000);
}

TEST(Cp932Table, EncodesEveryCodePointAsGlibcDoes) {
    for (char32_t u = 1; u < 0x110000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) continue;
        const std::string utf8 = Utf8Of(u);
        const auto glibc = Iconv("CP932", "UTF-8", utf8);
        const Result<std::string> ours = Utf8ToCp932(utf8);
        ASSERT_EQ(ours.has_value(), glibc.has_value()) << std::hex << static_cast<unsigned>(u);
        if (glibc) {
            ASSERT_EQ(*ours, *glibc) << std::hex << static_cast<unsigned>(u);
        }
    }
}

TEST(Cp932Table, DecodesMixedTextsAsGlibcDoesAndMarksBadCharacters) {
    const struct {
        std::string sjis;
        std::string utf8;
    } cases[] = {
        {"a\x82\xA0\r\n", "a\xE3\x81\x82\r\n"},
        {"\x81\x40\x81\x7C\x5C\x7E", "\xE3\x80\x80\xEF\xBC\x8D\\~"},
        {"a\x81", "a\xEF\xBF\xBD"},                      // lead byte at the end
        {"\x81\x20x", "\xEF\xBF\xBDx"},                  // a lead with a trail it cannot take
        {"\x80" "a", "\xEF\xBF\xBD"},                    // 0x80 leads, takes 'a' with it
        {"\xA0\xFF\xB1", "\xEF\xBF\xBD\xEF\xBD\xB1"},    // half-width katakana after
    };
    for (const auto& c : cases) EXPECT_EQ(Cp932ToUtf8(c.sjis).value(), c.utf8) << c.sjis;

    // Random texts: where glibc reads the whole text, the result is the same.
    std::mt19937 random(17);
    std::uniform_int_distribution<int> byte(0, 255);
    int compared = 0;
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        for (int k = 0; k < 6; ++k) {
            int b = byte(random);
            // Mostly characters that exist, so that many texts are whole.
            if (k % 2 == 0 && b < 200) b = 0x82;
            text += static_cast<char>(b);
        }
        if (const auto glibc = Iconv("UTF-8", "CP932", text)) {
            ++compared;
            ASSERT_EQ(Cp932ToUtf8(text).value(), *glibc);
        }
    }
    EXPECT_GT(compared, 1000);
}

TEST(Cp932Table, RefusesTextThatIsNotUtf8) {
    for (const std::string bad : {"\x80", "\xC0\xAF", "\xE3\x81", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(Utf8ToCp932(bad)) << bad;
    }
    EXPECT_EQ(Utf8ToCp932(std::string("a\0b", 3)).value(), std::string("a\0b", 3));
}

}  // namespace
}  // namespace fudeline
