// How fast the matcher keeps up with the hand, on committed drawings:
// bench/data/dense.pbm (the whole canvas scribbled over, ~2400 characters)
// and bench/data/sparse.pbm (a quick sketch).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "convert/fine_decoder.h"
#include "convert/reference_matcher.h"
#include "convert/row_matcher.h"
#include "convert/text_painter.h"
#include "glyphs/catalog_loader.h"
#include "glyphs/exe_dir.h"
#include "glyphs/mona_font.h"
#include "io/ink_image.h"
#include "pixels/geometry.h"
#include "session/art_state.h"
#include "session/compose.h"

namespace fudeline {
namespace {

struct Fixture {
    GlyphCatalog catalog;
    std::unique_ptr<RowMatcher> matcher;
    std::unique_ptr<MonaFont> font;
    std::unique_ptr<FineDecoder> fine;
    Image dense, sparse;
    int denseMinX = 0, denseMaxX = 0, sparseMinX = 0, sparseMaxX = 0;
    int densestRow = 0;

    static Image ReadDrawing(const char* name) {
        const std::string path = std::string(FUDELINE_SOURCE_DIR) + "/bench/data/" + name;
        std::ifstream file(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), {});
        auto image = DecodePbm(bytes, kInkClipRight + 1, kInkHeight);
        if (!image) throw std::runtime_error(path + ": " + image.error().reason);
        Image ink(kCanvasWidth, kInkHeight);
        ink.Blit(*image, 0, 0);
        return ink;
    }
    static void Extent(const Image& ink, int& minX, int& maxX) {
        minX = 799;
        maxX = 0;
        for (int y = 0; y < ink.height(); ++y) {
            for (int x = 0; x < ink.width(); ++x) {
                if (ink.Pixel(x, y) != kBlack) continue;
                minX = std::min(minX, x);
                maxX = std::max(maxX, std::min(x + 1, 799));
            }
        }
    }

    Fixture() {
        Result<GlyphCatalog> loaded = LoadGlyphCatalog(ExecutableDirectory());
        if (!loaded) throw std::runtime_error(loaded.error().Message());
        catalog = std::move(*loaded);
        matcher = std::make_unique<RowMatcher>(catalog);
        Result<std::unique_ptr<MonaFont>> face = MonaFont::Open(FindMonaFontPath());
        if (!face) throw std::runtime_error(face.error().Message());
        font = std::move(*face);
        fine = std::make_unique<FineDecoder>(catalog, *font);
        dense = ReadDrawing("dense.pbm");
        sparse = ReadDrawing("sparse.pbm");
        Extent(dense, denseMinX, denseMaxX);
        Extent(sparse, sparseMinX, sparseMaxX);
        std::size_t most = 0;
        for (int row = 0; row < kRowCount; ++row) {
            const std::size_t cells = matcher->MatchRow(dense, row, denseMinX, denseMaxX).size();
            if (cells > most) {
                most = cells;
                densestRow = row;
            }
        }
    }
};

Fixture& Data() {
    static Fixture fixture;
    return fixture;
}

void BM_MatchCanvasDense(benchmark::State& state) {
    Fixture& f = Data();
    std::size_t cells = 0;
    for (auto _ : state) {
        for (int row = 0; row < kRowCount; ++row) {
            cells += f.matcher->MatchRow(f.dense, row, f.denseMinX, f.denseMaxX).size();
        }
    }
    state.counters["cells"] = static_cast<double>(cells) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MatchCanvasDense)->Unit(benchmark::kMillisecond);

// The same without AVX-512, as a processor without it runs the matcher.
void BM_MatchCanvasDensePortable(benchmark::State& state) {
    Fixture& f = Data();
    const RowMatcher portable(f.catalog, GlyphBits::Isa::Portable);
    for (auto _ : state) {
        for (int row = 0; row < kRowCount; ++row) {
            benchmark::DoNotOptimize(portable.MatchRow(f.dense, row, f.denseMinX, f.denseMaxX));
        }
    }
}
BENCHMARK(BM_MatchCanvasDensePortable)->Unit(benchmark::kMillisecond);

// The whole dense canvas decoded row by row with the fine decoder.
void BM_MatchCanvasDenseFine(benchmark::State& state) {
    Fixture& f = Data();
    std::size_t cells = 0;
    for (auto _ : state) {
        for (int row = 0; row < kRowCount; ++row) cells += f.fine->DecodeRow(f.dense, row).size();
    }
    state.counters["cells"] = static_cast<double>(cells) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MatchCanvasDenseFine)->Unit(benchmark::kMillisecond);

// The same without AVX2, glyph by glyph.
void BM_MatchCanvasDenseFinePortable(benchmark::State& state) {
    Fixture& f = Data();
    const FineDecoder portable(f.catalog, *f.font, {}, GlyphBits::Isa::Portable);
    for (auto _ : state) {
        for (int row = 0; row < kRowCount; ++row) {
            benchmark::DoNotOptimize(portable.DecodeRow(f.dense, row));
        }
    }
}
BENCHMARK(BM_MatchCanvasDenseFinePortable)->Unit(benchmark::kMillisecond);

void BM_MatchCanvasDenseReference(benchmark::State& state) {
    Fixture& f = Data();
    for (auto _ : state) {
        for (int row = 0; row < kRowCount; ++row) {
            benchmark::DoNotOptimize(
                MatchRowReference(f.catalog, f.dense, row, f.denseMinX, f.denseMaxX));
        }
    }
}
BENCHMARK(BM_MatchCanvasDenseReference)->Unit(benchmark::kMillisecond);

void BM_MatchRowDense(benchmark::State& state) {
    Fixture& f = Data();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            f.matcher->MatchRow(f.dense, f.densestRow, f.denseMinX, f.denseMaxX));
    }
    state.counters["row"] = f.densestRow;
}
BENCHMARK(BM_MatchRowDense)->Unit(benchmark::kMicrosecond);

// One mouse move end to end on the densest row: record the point, then the
// paint: rasterise the segment, re-convert and redraw the row, compose the
// canvas. `fine` null is the row matcher.
void MouseMoveDense(benchmark::State& state, const FineDecoder* fine) {
    Fixture& f = Data();
    const TextPainter painter(*f.font);
    ArtState art(*f.matcher, &painter);
    art.SetFineDecoder(fine);
    art.LayInk(f.dense);
    const int y = f.densestRow * kRowHeight + 9;
    art.BeginStroke({400, y});
    Image view;
    int step = 0;
    for (auto _ : state) {
        art.ExtendStroke({400 + (step++ % 2 ? 6 : 0), y});
        art.RunPendingConversion();
        CanvasView parts;
        parts.stroke = &art.preview();
        parts.textLayer = &art.textLayer();
        ComposeCanvas(parts, view);
        benchmark::DoNotOptimize(view.Row(0));
    }
    art.EndStroke();
}

void BM_MouseMoveDense(benchmark::State& state) {
    MouseMoveDense(state, nullptr);
}
BENCHMARK(BM_MouseMoveDense)->Unit(benchmark::kMicrosecond);

void BM_MouseMoveDenseFine(benchmark::State& state) {
    MouseMoveDense(state, Data().fine.get());
}
BENCHMARK(BM_MouseMoveDenseFine)->Unit(benchmark::kMicrosecond);

void BM_MatchCanvasSparse(benchmark::State& state) {
    Fixture& f = Data();
    for (auto _ : state) {
        for (int row = 0; row < kRowCount; ++row) {
            benchmark::DoNotOptimize(
                f.matcher->MatchRow(f.sparse, row, f.sparseMinX, f.sparseMaxX));
        }
    }
}
BENCHMARK(BM_MatchCanvasSparse)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fudeline

BENCHMARK_MAIN();
