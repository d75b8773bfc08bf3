// The Shift-JIS helpers on any bytes: splitting and joining give the text
// back, boundary search agrees with a walk from the start, replacing a
// pattern by itself changes nothing.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "glyphs/sjis.h"

using namespace fudeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::string delimiter(input.Piece());
    const std::string replacement(input.Piece());
    const std::size_t start = input.Byte();
    const std::string text(input.Rest());

    std::vector<std::string> fields;
    SplitString(text, fields, delimiter);
    if (!text.empty() && !delimiter.empty()) {
        std::string joined;
        for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? delimiter : "") + fields[i];
        fuzz::Check(joined == text);
    } else {
        fuzz::Check(fields.empty());
    }

    const long found = FindAtCharBoundary(text, delimiter, start);
    if (text.size() <= 512) {
        // The one-byte characters' starts, from a walk from offset 0.
        std::vector<bool> oneByte(text.size(), false);
        for (std::size_t i = 0; i < text.size();) {
            oneByte[i] = IsSingleByteChar(static_cast<unsigned char>(text[i]));
            i += oneByte[i] ? 1 : 2;
        }
        long expected = -1;
        for (std::size_t p = start; p < text.size(); ++p) {
            if (text.compare(p, delimiter.size(), delimiter) == 0 && oneByte[p]) {
                expected = static_cast<long>(p);
                break;
            }
        }
        fuzz::Check(found == expected);
    }

    std::string same = text;
    ReplaceAll(same, delimiter, delimiter);
    fuzz::Check(same == text);
    std::string replaced = text;
    ReplaceAll(replaced, delimiter, replacement);
    if (delimiter.empty()) fuzz::Check(replaced == text);
    return 0;
}
