// A pixel source over pixels some other decoder made from the same bytes:
// the browser's, which the page hands over whole with the call that reads
// the picture, after the core read its header and said at which size it
// wants them (PixelRequest). Pixels of another size than wanted are refused,
// never read past.
#pragma once

#include <cstdint>
#include <vector>

#include "io/pixel_source.h"

namespace fudeline {

class DecodedPixels final : public PixelSource {
  public:
    // None: a source that refuses every picture (the browser decoded nothing).
    DecodedPixels() = default;
    // `rgba`: width * height * 4 bytes, rows top to bottom, not premultiplied.
    DecodedPixels(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> rgba);

    Status ReadRgba(std::string_view bytes, const PictureHeader& header,
                    const RgbaRows& take) const override;
    // The pixels at the reduced size as they are; at the stored size, each
    // block of reduction x reduction pixels averaged, near libjpeg's scaled
    // decoding but not equal to it.
    Result<JpegSamples> ReadJpeg(std::string_view bytes, const PictureHeader& header,
                                 JpegChannels channels, int reduction) const override;

  private:
    bool Holds(std::uint32_t width, std::uint32_t height) const;

    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::vector<std::uint8_t> rgba_;
};

}  // namespace fudeline
