#include "io/bmp_rle.h"

#include <algorithm>

#include "io/io_errors.h"
#include "io/picture_formats.h"

namespace fudeline::picture_formats {
namespace {

// Where the runs write: x along the current row, which counts up from the
// first row stored.
class RunCursor {
  public:
    RunCursor(GreyPicture& picture, bool topDown) : picture_(picture), topDown_(topDown) {}

    bool Done() const { return row_ >= picture_.height; }

    // Writes `count` pixels, the i-th of level `levelAt(i)`; pixels past the
    // row's end are dropped, never wrapped to the next row.
    template <typename LevelAt>
    void Put(int count, LevelAt levelAt) {
        if (Done()) return;
        const int y = topDown_ ? row_ : picture_.height - 1 - row_;
        std::uint8_t* out = picture_.levels.data() + static_cast<std::size_t>(y) * picture_.width;
        const int end =
            static_cast<int>(std::min<std::int64_t>(std::int64_t{x_} + count, picture_.width));
        for (int i = 0; x_ + i < end; ++i) out[x_ + i] = levelAt(i);
        x_ = static_cast<int>(std::min<std::int64_t>(std::int64_t{x_} + count, picture_.width));
    }

    void NextRow() {
        x_ = 0;
        ++row_;
    }

    void Move(int dx, int dy) {
        x_ = std::min(x_ + dx, picture_.width);
        row_ = static_cast<int>(std::min<std::int64_t>(std::int64_t{row_} + dy, picture_.height));
    }

  private:
    GreyPicture& picture_;
    bool topDown_;
    int x_ = 0;
    int row_ = 0;
};

}  // namespace

Status DecodeBmpRuns(std::string_view data, int bits, const std::array<std::uint8_t, 256>& palette,
                     bool topDown, GreyPicture& picture) {
    RunCursor cursor(picture, topDown);
    // The index of pixel i of a run or literal made of `byteAt(i / per byte)`.
    auto indexOf = [bits](std::uint8_t byte, int i) -> std::uint8_t {
        if (bits == 8) return byte;
        return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    };
    std::size_t pos = 0;
    auto byteAt = [&](std::size_t at) { return static_cast<std::uint8_t>(data[at]); };
    while (pos + 2 <= data.size()) {
        const int count = byteAt(pos);
        const std::uint8_t value = byteAt(pos + 1);
        pos += 2;
        if (count > 0) {
            cursor.Put(count, [&](int i) { return palette[indexOf(value, i)]; });
            continue;
        }
        switch (value) {
            case 0:  // end of row
                cursor.NextRow();
                break;
            case 1:  // end of picture
                return {};
            case 2:  // move right and down
                if (pos + 2 > data.size()) return Refuse(kinds::PictureTruncated, "BMP");
                cursor.Move(byteAt(pos), byteAt(pos + 1));
                pos += 2;
                break;
            default: {  // `value` literal pixels, padded to an even number of bytes
                const std::size_t bytes = bits == 8 ? value : (value + 1u) / 2;
                if (data.size() - pos < bytes) return Refuse(kinds::PictureTruncated, "BMP");
                const std::size_t start = pos;
                cursor.Put(value, [&](int i) {
                    const std::uint8_t byte = byteAt(start + (bits == 8 ? i : i / 2));
                    return palette[indexOf(byte, i)];
                });
                pos += bytes + bytes % 2;
                break;
            }
        }
    }
    // Some writers stop after the last row without the end mark.
    if (cursor.Done()) return {};
    return Refuse(kinds::PictureTruncated, "BMP");
}

}  // namespace fudeline::picture_formats
