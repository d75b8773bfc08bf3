#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "io/io_errors.h"
#include "io/library_decoders.h"
#include "io/picture_decoder.h"
#include "io/picture_formats.h"

namespace fudeline::library_decoders {
namespace {

struct MemoryReader {
    std::string_view bytes;
    std::size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* into, int wanted) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(wanted), reader->bytes.size() - reader->pos);
    std::memcpy(into, reader->bytes.data() + reader->pos, n);
    reader->pos += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

Error GifError(int code) {
    const char* text = GifErrorString(code);
    return picture_formats::Refuse(kinds::PictureDamagedBecause, "GIF",
                                   text ? text : "unknown error");
}

}  // namespace

// Only the first frame is decoded, line by line into the logical screen: a GIF
// may hold thousands of frames, and decoding them all would hold them all.
Status ReadGifRows(std::string_view bytes, const PictureHeader& header, const RgbaRows& take) {
    using picture_formats::Refuse;
    MemoryReader reader{bytes};
    int code = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, ReadFromMemory, &code));
    if (!gif) return (GifError(code));
    if (static_cast<std::uint32_t>(gif->SWidth) != header.width ||
        static_cast<std::uint32_t>(gif->SHeight) != header.height) {
        return Refuse(kinds::PictureReadOtherwise, "GIF", "giflib");
    }
    const int screenWidth = gif->SWidth;
    const int screenHeight = gif->SHeight;

    int transparent = -1;
    GifRecordType record;
    do {
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) return (GifError(gif->Error));
        if (record == EXTENSION_RECORD_TYPE) {
            int extCode = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif.get(), &extCode, &ext) == GIF_ERROR) {
                return (GifError(gif->Error));
            }
            GraphicsControlBlock control;
            if (extCode == GRAPHICS_EXT_FUNC_CODE && ext &&
                DGifExtensionToGCB(ext[0], ext + 1, &control) == GIF_OK) {
                transparent = control.TransparentColor;
            }
            while (ext) {
                if (DGifGetExtensionNext(gif.get(), &ext) == GIF_ERROR) {
                    return (GifError(gif->Error));
                }
            }
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return (GifError(gif->Error));
            const GifImageDesc& frame = gif->Image;
            const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
            if (!colours) return Refuse(kinds::GifWithoutColourTable);
            if (frame.Width <= 0 || frame.Height <= 0 || frame.Width > 65535 ||
                frame.Height > 65535) {
                return Refuse(kinds::GifFrameImpossible);
            }
            // Every row of the frame costs decoding, on the screen or not: a
            // small screen must not let a frame of billions of pixels through.
            if (std::uint64_t{4} * static_cast<std::uint64_t>(frame.Width) *
                    static_cast<std::uint64_t>(frame.Height) >
                kMaxPictureBytes) {
                return Refuse(kinds::GifFrameTooLarge, frame.Width, frame.Height);
            }
            std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
            // Interlaced frames arrive as rows 0, 8, 16.., then 4, 12.., 2, 6.., 1, 3..
            std::vector<int> order;
            if (frame.Interlace) {
                for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
                    for (int y = start; y < frame.Height; y += step) order.push_back(y);
                }
            } else {
                for (int y = 0; y < frame.Height; ++y) order.push_back(y);
            }
            // Rows arrive in order when not interlaced, so the decoding stops
            // at the screen's last row instead of reading what nobody sees.
            if (!frame.Interlace) {
                const int onScreen = std::max(0, screenHeight - frame.Top);
                if (onScreen < frame.Height) order.resize(static_cast<std::size_t>(onScreen));
            }
            // The columns of the frame on the screen; a transparent pixel, or
            // one past the colour table, leaves the screen bare.
            const int firstX = std::max(0, frame.Left);
            const int endX = std::min(screenWidth, frame.Left + frame.Width);
            std::vector<std::uint8_t> rgba(static_cast<std::size_t>(std::max(0, endX - firstX)) *
                                           4);
            for (const int frameY : order) {
                if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR) {
                    return (GifError(gif->Error));
                }
                const int y = frame.Top + frameY;
                if (y < 0 || y >= screenHeight || firstX >= endX) continue;
                for (int x = firstX; x < endX; ++x) {
                    const int index = line[static_cast<std::size_t>(x - frame.Left)];
                    std::uint8_t* p = &rgba[static_cast<std::size_t>(x - firstX) * 4];
                    if (index == transparent || index >= colours->ColorCount) {
                        p[0] = p[1] = p[2] = p[3] = 0;
                        continue;
                    }
                    const GifColorType& c = colours->Colors[index];
                    p[0] = c.Red, p[1] = c.Green, p[2] = c.Blue, p[3] = 255;
                }
                take(RgbaRowPart{static_cast<std::uint32_t>(y), static_cast<std::uint32_t>(firstX),
                                 1, static_cast<std::uint32_t>(endX - firstX), rgba.data()});
            }
            return {};
        }
    } while (record != TERMINATE_RECORD_TYPE);
    return Refuse(kinds::GifWithoutFrame);
}

}  // namespace fudeline::library_decoders
