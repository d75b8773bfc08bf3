// Ink images of any content through the PBM and PNG readers: no crash, no
// picture larger than asked for, and an error message whenever one is refused.
#include "fuzz_input.h"
#include "io/ink_image.h"
#include "io/library_pixels.h"

using namespace fudeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const bool png : {false, true}) {
        const auto image =
            png ? DecodePng(bytes, 799, 464, LibraryPixels()) : DecodePbm(bytes, 799, 464);
        if (image) {
            fuzz::Check(image->width() <= 799 && image->height() <= 464);
        } else {
            fuzz::Check(!image.error().Reason().empty());
        }
    }
    return 0;
}
