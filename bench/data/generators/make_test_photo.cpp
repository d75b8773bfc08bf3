// Writes a photo-like test picture for timing `trace`: a 4000 x 3000 (12
// megapixel) colour JPEG of soft gradients, overlapping shapes of many tones,
// blur and sensor noise. Nothing in it is meant to be traced well; it is meant
// to cost what a camera picture costs.
//   make_test_photo OUT.jpg
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "bench/data/generators/jpeg_encode.h"
#include "bench/data/generators/test_photo.h"
#include "bench/tool_arguments.h"
#include "files/file_bytes.h"

int main(int argc, char** argv) {
    if (const int status = fudeline::bench::CheckToolArguments(argc, argv, "make_test_photo OUT.jpg", 1);
        status >= 0) {
        return status;
    }
    if (const auto written =
            fudeline::WriteFileBytes(argv[1], fudeline::bench::EncodeJpeg(fudeline::bench::TestPhoto(), 90));
        !written) {
        std::cerr << "make_test_photo: " << written.error().Message() << "\n";
        return 1;
    }
    return 0;
}
