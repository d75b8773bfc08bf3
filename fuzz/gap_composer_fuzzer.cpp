// Every gap of 0 or more: the spacing string fills it exactly (3 and up) or is
// empty (0 to 2), and is made of the five spacing characters only.
#include "text/gap_composer.h"
#include "fuzz_input.h"

using namespace fudeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    // Keep the strings small enough to check quickly; the arithmetic is the same.
    const std::int32_t width =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(input.Int32()) % 200000);
    const std::string s = ComposeGap(width);
    long total = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        switch (static_cast<unsigned char>(s[i])) {
            case 0x81:
                fuzz::Check(i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x40);
                total += 11;
                ++i;
                break;
            case 0x20:
                total += 5;
                break;
            case 0x2E:
                total += 3;
                break;
            case 0xDE:
                total += 4;
                break;
            case 0xA4:
                total += 7;
                break;
            default:
                fuzz::Fail();
        }
    }
    fuzz::Check(width < 3 ? s.empty() : total == width);
    return 0;
}
