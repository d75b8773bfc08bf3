// Ink images of any content through the PBM and PNG readers: no crash, no
// picture larger than asked for, and an error message whenever one is refused.
#include "io/ink_image.h"
#include "fuzz_input.h"

using namespace fudeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const bool png : {false, true}) {
        std::string error;
        const auto image =
            png ? DecodePng(bytes, 799, 464, &error) : DecodePbm(bytes, 799, 464, &error);
        if (image) {
            fuzz::Check(image->width() <= 799 && image->height() <= 464);
        } else {
            fuzz::Check(!error.empty());
        }
    }
    return 0;
}
