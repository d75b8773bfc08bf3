// Text kept in a PNG file beside its pixels: a tEXt chunk under a key, which
// every viewer passes over and shows the picture as it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "errors/result.h"

namespace fudeline {

// The CRC-32 that PNG chunks carry (ISO 3309, as zlib's crc32).
std::uint32_t PngCrc(std::string_view bytes);

// `png` with `text` (Latin-1, no NUL) under `key` (1 to 79 printable Latin-1
// characters) in a tEXt chunk just before the image end. Fails for bytes that
// do not end as a PNG does, and for a key or text a tEXt chunk cannot carry.
Result<std::string> WithPngText(std::string_view png, std::string_view key, std::string_view text);

// The text of the first tEXt or uncompressed iTXt chunk under `key`, or
// nothing when there is none. A chunk whose length runs past the file or
// whose CRC does not match its bytes is damaged: it is passed over, as
// viewers pass over damaged ancillary chunks, and `damaged` (when given) is
// set.
std::optional<std::string> PngText(std::string_view png, std::string_view key,
                                   bool* damaged = nullptr);

}  // namespace fudeline
