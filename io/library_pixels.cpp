#include "io/library_pixels.h"

#include "io/io_errors.h"
#include "io/library_decoders.h"
#include "io/picture_formats.h"

namespace fudeline {
namespace {

class Libraries final : public PixelSource {
  public:
    Status ReadRgba(std::string_view bytes, const PictureHeader& header,
                    const RgbaRows& take) const override {
        switch (header.format) {
            case PictureFormat::Png:
                return library_decoders::ReadPngRows(bytes, header, take);
            case PictureFormat::Webp:
                return library_decoders::ReadWebpRows(bytes, header, take);
            case PictureFormat::Gif:
                return library_decoders::ReadGifRows(bytes, header, take);
            default:
                return picture_formats::Refuse(kinds::NotAPicture);
        }
    }

    Result<JpegSamples> ReadJpeg(std::string_view bytes, const PictureHeader& header,
                                 JpegChannels channels, int reduction) const override {
        return library_decoders::DecodeJpegSamples(bytes, header, channels, reduction);
    }
};

}  // namespace

const PixelSource& LibraryPixels() {
    static const Libraries libraries;
    return libraries;
}

}  // namespace fudeline
