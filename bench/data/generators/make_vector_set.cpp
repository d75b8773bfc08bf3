// Writes the vector-picture benchmark set: each scene (flat-colour shapes,
// coloured strokes, cartoons, gradients and shadows, transparency) and each
// text-art picture (a benchmark drawing converted to text and drawn with the
// Mona face) at canvas size and twice it, as PNG (with its transparency) and
// JPEG (laid on white, as JPEG has no transparency), with its one-pixel truth
// in ink coordinates.
//   make_vector_set OUTDIR
#include <iostream>
#include <opencv2/imgproc.hpp>

#include "bench/data/generators/drawings.h"
#include "bench/data/generators/jpeg_encode.h"
#include "bench/data/generators/vector_scenes.h"
#include "bench/quality/quality_engine.h"
#include "bench/tool_arguments.h"
#include "export/export_text.h"
#include "files/file_bytes.h"
#include "io/png_writer.h"
#include "pixels/geometry.h"
#include "render/text_art_picture.h"
#include "text/text_art_lines.h"

using namespace fudeline;
using namespace fudeline::bench;

namespace {

constexpr int kJpegQuality = 85;

bool Write(const std::string& path, const Result<std::string>& bytes) {
    Status written = bytes ? WriteFileBytes(path, *bytes) : Status(bytes.error());
    if (!written) {
        std::cerr << "make_vector_set: cannot write " << path << ": " << written.error().Message()
                  << "\n";
    }
    return written.has_value();
}

// PNG keeps the transparency; JPEG gets the picture as a viewer shows it, on white.
bool WritePicture(const std::string& stem, const cv::Mat& rgba) {
    cv::Mat bgr(rgba.size(), CV_8UC3);
    for (int y = 0; y < rgba.rows; ++y) {
        for (int x = 0; x < rgba.cols; ++x) {
            const cv::Vec4b p = rgba.at<cv::Vec4b>(y, x);
            const double a = p[3] / 255.0;
            for (int c = 0; c < 3; ++c) {
                bgr.at<cv::Vec3b>(y, x)[2 - c] = cv::saturate_cast<std::uint8_t>(p[c] * a + 255 * (1 - a));
            }
        }
    }
    return Write(stem + ".png", EncodeRgbaPng(rgba.cols, rgba.rows, rgba.ptr<std::uint8_t>())) &&
           Write(stem + ".jpg", EncodeJpeg(bgr, kJpegQuality));
}

// A drawing as the text art the row matcher makes of it, drawn with the
// face on a canvas-sized white picture (RGBA), and the truth: the glyphs'
// dark pixels, text row r's screen rows 18 r .. 18 r + 15 at ink rows 16 r ..
struct TextArtPicture {
    cv::Mat rgba;
    Image truth;
};

TextArtPicture TextArt(QualityEngine& engine, const Drawing& drawing) {
    const std::string text = ComposeExportText(engine.Rows(DrawingTruth(drawing), {}), false);
    const Image art = RenderTextArt(SplitTextLines(text), engine.font());
    TextArtPicture out{cv::Mat(kCanvasHeight, kCanvasWidth, CV_8UC4, cv::Scalar::all(255)),
                       Image(kCanvasWidth, kInkHeight)};
    for (int y = 0; y < std::min(art.height(), kCanvasHeight); ++y) {
        for (int x = 0; x < std::min(art.width(), kCanvasWidth); ++x) {
            const std::uint32_t p = art.Pixel(x, y);
            out.rgba.at<cv::Vec4b>(y, x) = {static_cast<std::uint8_t>(p >> 16),
                                            static_cast<std::uint8_t>(p >> 8),
                                            static_cast<std::uint8_t>(p), 255};
            const bool dark = ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 128;
            if (dark && y % 18 < 16) out.truth.SetPixel(x, y / 18 * 16 + y % 18, kBlack);
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = CheckToolArguments(argc, argv, "make_vector_set OUTDIR", 1); status >= 0) {
        return status;
    }
    const std::string dir = argv[1];
    for (const Scene& scene : VectorScenes()) {
        if (!Write(dir + "/" + scene.name + "-truth.png", EncodeInkPng(SceneTruth(scene)))) return 1;
        for (const int scale : {1, 2}) {
            if (!WritePicture(dir + "/" + scene.name + "-" + std::to_string(scale) + "x",
                              RenderScene(scene, scale))) {
                return 1;
            }
        }
    }
    QualityEngine engine;
    if (Status loaded = engine.Load(); !loaded) {
        std::cerr << "make_vector_set: " << loaded.error().Message() << "\n";
        return 1;
    }
    for (const Drawing& drawing : BenchmarkDrawings()) {
        const TextArtPicture art = TextArt(engine, drawing);
        const std::string stem = dir + "/textart-" + drawing.name;
        if (!Write(stem + "-truth.png", EncodeInkPng(art.truth))) return 1;
        cv::Mat larger;
        cv::resize(art.rgba, larger, cv::Size(), 2, 2, cv::INTER_LINEAR);
        if (!WritePicture(stem + "-1x", art.rgba) || !WritePicture(stem + "-2x", larger)) return 1;
    }
    return 0;
}
