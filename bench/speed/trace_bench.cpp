// Speed of tracing, the two cases users wait for: `fudeline-cli trace` of a
// 12-megapixel camera JPEG (read, decode, place, extract, draw as strokes),
// and the window's line import of a full-canvas picture (what its worker
// thread runs). Run with FUDELINE_ISA=avx2 or sse2 to check the targets
// without AVX-512; OpenCV's own threads are counted as they come. Memory is
// kept as both programs keep it (KeepFreedMemoryForTracing).
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <string>

#include "bench/data/generators/jpeg_encode.h"
#include "bench/data/generators/test_photo.h"
#include "files/file_bytes.h"
#include "io/colour_picture.h"
#include "io/library_pixels.h"
#include "trace/trace_memory.h"
#include "trace/trace_picture.h"

using namespace fudeline;

namespace {

void BM_TraceCameraJpeg(benchmark::State& state) {
    KeepFreedMemoryForTracing();
    const std::string jpeg = bench::EncodeJpeg(bench::TestPhoto(), 90);
    const TraceOptions options;
    for (auto _ : state) {
        const Result<ColourPicture> picture =
            DecodeColourPicture(jpeg, LibraryPixels(), [&](int width, int height) {
                return PlacementScale(width, height, options.placement);
            });
        if (!picture) state.SkipWithError("cannot decode");
        benchmark::DoNotOptimize(TracePicture(*picture, options));
    }
}
BENCHMARK(BM_TraceCameraJpeg)->Unit(benchmark::kMillisecond);

// Every kind of region at once: the cartoon of the vector-picture set.
void BM_WindowLineImport(benchmark::State& state) {
    KeepFreedMemoryForTracing();
    const Result<std::string> bytes =
        ReadFileBytes(FUDELINE_SOURCE_DIR "/bench/data/vector-art/cartoon-face-1x.png", 1 << 26);
    const Result<ColourPicture> picture =
        bytes ? DecodeColourPicture(*bytes, LibraryPixels()) : bytes.error();
    if (!picture) {
        state.SkipWithError("no picture");
        return;
    }
    Image canvas(picture->width, picture->height);
    for (int y = 0; y < picture->height; ++y) {
        for (int x = 0; x < picture->width; ++x) {
            const std::uint8_t* p =
                &picture->rgb[(static_cast<std::size_t>(y) * picture->width + x) * 3];
            canvas.SetPixel(x, y, std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2]);
        }
    }
    for (auto _ : state) benchmark::DoNotOptimize(TraceCanvasPixels(canvas, TraceMode::Auto));
}
BENCHMARK(BM_WindowLineImport)->Unit(benchmark::kMillisecond);

// What the window's worker runs today: the file's bytes decoded and placed
// as `fudeline-cli trace` does it (fitted), then traced.
void BM_WindowFileImport(benchmark::State& state) {
    KeepFreedMemoryForTracing();
    const Result<std::string> bytes =
        ReadFileBytes(FUDELINE_SOURCE_DIR "/bench/data/vector-art/cartoon-face-1x.png", 1 << 26);
    if (!bytes) {
        state.SkipWithError("no picture");
        return;
    }
    const TraceOptions options;
    for (auto _ : state) {
        const Result<TracingPicture> picture = DecodeTracingPicture(
            *bytes, LibraryPixels(),
            [&](int w, int h) { return PlacementScale(w, h, options.placement); });
        if (!picture) state.SkipWithError("cannot decode");
        benchmark::DoNotOptimize(TracePicture(picture->colour, options));
    }
}
BENCHMARK(BM_WindowFileImport)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
