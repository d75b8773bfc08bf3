// The drawings the speed benchmarks draw with: bench/data's PBM files laid
// on an ink layer the size of the canvas's.
#pragma once

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "io/ink_image.h"
#include "pixels/geometry.h"
#include "pixels/image.h"

namespace fudeline::bench {

// bench/data/`name` as ink; throws when it cannot be read.
inline Image ReadBenchDrawing(const std::string& name) {
    const std::string path = std::string(FUDELINE_SOURCE_DIR) + "/bench/data/" + name;
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    Result<Image> image = DecodePbm(bytes, kInkClipRight + 1, kInkHeight);
    if (!image) throw std::runtime_error(path + ": " + image.error().Reason());
    Image ink(kCanvasWidth, kInkHeight);
    ink.Blit(*image, 0, 0);
    return ink;
}

}  // namespace fudeline::bench
