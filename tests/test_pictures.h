// The small picture files the decoder tests read (tests/data/pictures/).
#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace fudeline::testing {

inline const std::string kPictures = std::string(FUDELINE_SOURCE_DIR) + "/tests/data/pictures/";

// The bytes of picture `name`; empty when it cannot be read.
inline std::string PictureBytes(const std::string& name) {
    std::ifstream file(kPictures + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

}  // namespace fudeline::testing
