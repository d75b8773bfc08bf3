// How fast the matcher keeps up with the hand, on committed drawings:
// bench/data/dense.pbm (the whole canvas scribbled over, ~2400 characters)
// and bench/data/sparse.pbm (a quick sketch).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

#include "bench/speed/bench_decoders.h"
#include "bench/speed/bench_drawings.h"
#include "fine/fine_decoder.h"
#include "io/ink_image.h"
#include "match/reference_matcher.h"
#include "match/row_matcher.h"
#include "pixels/geometry.h"
#include "render/text_painter.h"
#include "session/art_state.h"
#include "session/client_map.h"
#include "session/compose.h"
#include "session/replay_player.h"

namespace fudeline {
namespace {

struct Fixture : bench::BenchDecoders {
    Image dense, sparse, noise;
    // The dense drawing a pixel to the right: decoded in turn with it, so that
    // no row's scores are kept from the decoding before.
    Image denseMoved;
    int denseMinX = 0, denseMaxX = 0, sparseMinX = 0, sparseMaxX = 0, noiseMinX = 0, noiseMaxX = 0;
    int densestRow = 0;
    int slowestDenseRow = 0, slowestNoiseRow = 0;

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

    // Every other pixel inked at random: the most positions a box can list.
    static Image Noise() {
        Image ink(kCanvasWidth, kInkHeight);
        std::mt19937 rng(2024);
        for (int y = 0; y < kInkHeight; ++y) {
            for (int x = 0; x <= kInkClipRight; ++x) {
                if (rng() & 1) ink.SetPixel(x, y, kBlack);
            }
        }
        return ink;
    }
    // The row that takes longest to match, each row timed at its best of five.
    int SlowestRow(const Image& ink, int minX, int maxX) const {
        int slowest = 0;
        auto longest = std::chrono::nanoseconds::zero();
        for (int row = 0; row < kRowCount; ++row) {
            auto fastest = std::chrono::nanoseconds::max();
            for (int run = 0; run < 5; ++run) {
                const auto start = std::chrono::steady_clock::now();
                benchmark::DoNotOptimize(matcher->MatchRow(ink, row, minX, maxX));
                fastest = std::min(fastest, std::chrono::steady_clock::now() - start);
            }
            if (fastest > longest) {
                longest = fastest;
                slowest = row;
            }
        }
        return slowest;
    }

    Fixture() {
        dense = bench::ReadBenchDrawing("dense.pbm");
        sparse = bench::ReadBenchDrawing("sparse.pbm");
        Extent(dense, denseMinX, denseMaxX);
        denseMoved = Image(kCanvasWidth, kInkHeight);
        denseMoved.Blit(dense, 1, 0);
        Extent(sparse, sparseMinX, sparseMaxX);
        noise = Noise();
        Extent(noise, noiseMinX, noiseMaxX);
        slowestDenseRow = SlowestRow(dense, denseMinX, denseMaxX);
        slowestNoiseRow = SlowestRow(noise, noiseMinX, noiseMaxX);
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
    state.counters["boxGlyphs"] = GlyphBits(f.catalog).boxGlyphs();
    state.counters["glyphs"] = static_cast<double>(f.catalog.size());
}
BENCHMARK(BM_MatchCanvasDense)->Unit(benchmark::kMillisecond);

// The dense canvas on one scoring path; registered in main for each path the
// processor has, so that one run shows them all.
void MatchCanvasDenseOn(benchmark::State& state, ScorerIsa isa) {
    Fixture& f = Data();
    const RowMatcher matcher(f.catalog, isa);
    for (auto _ : state) {
        for (int row = 0; row < kRowCount; ++row) {
            benchmark::DoNotOptimize(matcher.MatchRow(f.dense, row, f.denseMinX, f.denseMaxX));
        }
    }
}

// The whole dense canvas decoded row by row with the fine decoder, from
// scratch each time.
void BM_MatchCanvasDenseFine(benchmark::State& state) {
    Fixture& f = Data();
    std::size_t cells = 0;
    bool moved = false;
    for (auto _ : state) {
        const Image& ink = moved ? f.denseMoved : f.dense;
        moved = !moved;
        for (int row = 0; row < kRowCount; ++row) cells += f.fine->DecodeRow(ink, row).size();
    }
    state.counters["cells"] = static_cast<double>(cells) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MatchCanvasDenseFine)->Unit(benchmark::kMillisecond);

// The same without AVX2, glyph by glyph.
void BM_MatchCanvasDenseFinePortable(benchmark::State& state) {
    Fixture& f = Data();
    const FineDecoder portable(f.catalog, *f.font, {}, ScorerIsa::Portable);
    bool moved = false;
    for (auto _ : state) {
        const Image& ink = moved ? f.denseMoved : f.dense;
        moved = !moved;
        for (int row = 0; row < kRowCount; ++row) {
            benchmark::DoNotOptimize(portable.DecodeRow(ink, row));
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

// The slowest row of the dense drawing (0) and of a noise drawing (1).
void BM_MatchRowWorst(benchmark::State& state) {
    Fixture& f = Data();
    const bool noise = state.range(0) == 1;
    const Image& ink = noise ? f.noise : f.dense;
    const int row = noise ? f.slowestNoiseRow : f.slowestDenseRow;
    const int minX = noise ? f.noiseMinX : f.denseMinX, maxX = noise ? f.noiseMaxX : f.denseMaxX;
    for (auto _ : state) benchmark::DoNotOptimize(f.matcher->MatchRow(ink, row, minX, maxX));
    state.counters["row"] = row;
}
BENCHMARK(BM_MatchRowWorst)->Arg(0)->Arg(1)->ArgName("noise")->Unit(benchmark::kMicrosecond);

// The paint after a move, as the window does it: convert what the move
// changed, then compose the canvas.
void PaintCanvas(ArtState& art, Image& view) {
    art.RunPendingConversion();
    CanvasView parts;
    parts.stroke = &art.preview();
    parts.textLayer = &art.textLayer();
    ComposeCanvas(parts, view);
    benchmark::DoNotOptimize(view.Row(0));
}

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
        PaintCanvas(art, view);
    }
    art.EndStroke();
}

void BM_MouseMoveDense(benchmark::State& state) {
    MouseMoveDense(state, nullptr);
}
BENCHMARK(BM_MouseMoveDense)->Unit(benchmark::kMicrosecond);

// A stroke drawn along the densest row, 7 pixels a move and zigzagging by
// `wobble`, so that each paint converts the row from where the segment
// landed. At the right edge the stroke is undone (untimed) and starts again.
void MouseMoveDenseDrawing(benchmark::State& state, const FineDecoder* fine, int top, int wobble,
                           Stabilizer stabilizer = Stabilizer::Off) {
    Fixture& f = Data();
    const TextPainter painter(*f.font);
    ArtState art(*f.matcher, &painter);
    art.SetFineDecoder(fine);
    art.SetStabilizer(stabilizer);
    art.LayInk(f.dense);
    const int y = f.densestRow * kRowHeight + top;
    int x = 10, step = 0;
    art.BeginStroke({x, y});
    Image view;
    for (auto _ : state) {
        x += 7;
        if (x > 790) {
            state.PauseTiming();
            art.EndStroke();
            art.RunPendingConversion();
            art.ExchangeWithUndo();
            x = 10;
            art.BeginStroke({x, y});
            state.ResumeTiming();
        }
        art.ExtendStroke({x, y + (step++ % 2 ? wobble : 0)});
        PaintCanvas(art, view);
    }
    art.EndStroke();
}

// The same as BM_MouseMoveDense, but every move draws new ink.
void BM_MouseMoveDenseDrawing(benchmark::State& state) {
    MouseMoveDenseDrawing(state, nullptr, 4, 9);
}
BENCHMARK(BM_MouseMoveDenseDrawing)->Unit(benchmark::kMicrosecond);

void BM_MouseMoveDenseFine(benchmark::State& state) {
    MouseMoveDense(state, Data().fine.get());
}
BENCHMARK(BM_MouseMoveDenseFine)->Unit(benchmark::kMicrosecond);

// A stroke drawn in fine mode with a wobble of 3, with the stabilizer off
// (0), weak (1) or strong (2): a little behind the pointer when steadied.
void BM_MouseMoveDenseFineDrawing(benchmark::State& state) {
    MouseMoveDenseDrawing(state, Data().fine.get(), 6, 3, static_cast<Stabilizer>(state.range(0)));
}
BENCHMARK(BM_MouseMoveDenseFineDrawing)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("stabilizer")
    ->Unit(benchmark::kMicrosecond);

// A move with Shift held over the dense canvas in fine mode: the straight
// line from the top left corner to the pointer near the bottom right is
// shown anew, nothing converted.
void BM_ShiftMoveDenseFine(benchmark::State& state) {
    Fixture& f = Data();
    const TextPainter painter(*f.font);
    ArtState art(*f.matcher, &painter);
    art.SetFineDecoder(f.fine.get());
    art.LayInk(f.dense);
    art.BeginStroke({5, 5}, true);
    Image view;
    int step = 0;
    for (auto _ : state) {
        art.ExtendStroke({790 - (step++ % 2) * 40, 515}, true);
        PaintCanvas(art, view);
    }
    art.EndStroke();
}
BENCHMARK(BM_ShiftMoveDenseFine)->Unit(benchmark::kMicrosecond);

// What a Shift move would cost if the line were inked as it follows the
// pointer: that line inked and every row it crosses decoded again (the
// button-up of BM_ShiftMoveDenseFine). The drawing goes back untimed.
void BM_ShiftLineInkedDenseFine(benchmark::State& state) {
    Fixture& f = Data();
    const TextPainter painter(*f.font);
    ArtState art(*f.matcher, &painter);
    art.SetFineDecoder(f.fine.get());
    art.LayInk(f.dense);
    Image view;
    for (auto _ : state) {
        art.BeginStroke({5, 5}, true);
        art.ExtendStroke({790, 515}, true);
        PaintCanvas(art, view);
        art.EndStroke();
        PaintCanvas(art, view);
        state.PauseTiming();
        art.ExchangeWithUndo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShiftLineInkedDenseFine)->Unit(benchmark::kMillisecond);

// The pass a freehand stroke's end runs with the stabilizer on: a wobbly
// stroke across the whole dense canvas in fine mode (a point every 4 px, a
// pixel of wobble) settles, is drawn again along its settled path, and every
// row it crossed is decoded again. The stroke itself is drawn untimed.
void BM_StrokeEndSettlesDenseFine(benchmark::State& state) {
    Fixture& f = Data();
    const TextPainter painter(*f.font);
    ArtState art(*f.matcher, &painter);
    art.SetFineDecoder(f.fine.get());
    art.SetStabilizer(Stabilizer::Weak);
    art.LayInk(f.dense);
    Image view;
    for (auto _ : state) {
        state.PauseTiming();
        art.BeginStroke({5, 5});
        for (int i = 1; i <= 200; ++i) art.ExtendStroke({5 + i * 785 / 200 + i % 3 - 1, 5 + i * 510 / 200});
        PaintCanvas(art, view);
        state.ResumeTiming();
        art.EndStroke();
        PaintCanvas(art, view);
        state.PauseTiming();
        art.ExchangeWithUndo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StrokeEndSettlesDenseFine)->Unit(benchmark::kMillisecond);

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

// A long session as fudeline-cli replay plays it: 20,000 moves in strokes of
// 200 scribbling over the whole canvas, a paint after every event.
std::vector<ReplayEvent> ScribbleEvents() {
    std::mt19937 rng(99);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<ReplayEvent> events;
    for (int stroke = 0; stroke < 100; ++stroke) {
        int x = uniform(kCanvasLeft, kCanvasRight), y = uniform(kCanvasTop, kCanvasBottom);
        events.push_back({ReplayEvent::Kind::Down, x, y, 0});
        for (int move = 0; move < 200; ++move) {
            x = std::clamp(x + uniform(-14, 14), kCanvasLeft - 20, kCanvasRight + 20);
            y = std::clamp(y + uniform(-9, 9), kCanvasTop - 20, kCanvasBottom + 20);
            events.push_back({ReplayEvent::Kind::Move, x, y, 0});
        }
        events.push_back({ReplayEvent::Kind::Up, 0, 0, 0});
    }
    return events;
}

void BM_ReplayScribble(benchmark::State& state) {
    Fixture& f = Data();
    const TextPainter painter(*f.font);
    const std::vector<ReplayEvent> events = ScribbleEvents();
    for (auto _ : state) {
        ArtState art(*f.matcher, &painter);
        PlayReplayEvents(events, art);
        benchmark::DoNotOptimize(art.rows());
    }
}
BENCHMARK(BM_ReplayScribble)->Unit(benchmark::kMillisecond)->Iterations(1);

// Control events after a drawing: 10,000 undo, or 10,000 "clear" and
// "clear no" pairs. Only the first few change anything; the rest must cost
// next to nothing, so a script's time follows the drawing it asks for.
void BM_ReplayControlEvents(benchmark::State& state) {
    Fixture& f = Data();
    const TextPainter painter(*f.font);
    const bool clears = state.range(0) != 0;
    std::vector<ReplayEvent> control;
    for (int i = 0; i < 10000; ++i) {
        if (clears) {
            control.push_back({ReplayEvent::Kind::Clear, 0, 0, 0});
            control.push_back({ReplayEvent::Kind::ClearDeclined, 0, 0, 0});
        } else {
            control.push_back({ReplayEvent::Kind::Undo, 0, 0, 0});
        }
    }
    ArtState art(*f.matcher, &painter);
    PlayReplayEvents(ScribbleEvents(), art);
    for (auto _ : state) {
        PlayReplayEvents(control, art);
        benchmark::DoNotOptimize(art.rows());
    }
}
BENCHMARK(BM_ReplayControlEvents)->Arg(0)->Arg(1)->ArgName("clear")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fudeline

int main(int argc, char** argv) {
    using namespace fudeline;
    // The portable path keeps its old name; the others are named after theirs.
    for (const auto& [isa, name] : {std::pair{ScorerIsa::Portable, "BM_MatchCanvasDensePortable"},
                                    std::pair{ScorerIsa::Sse2, "BM_MatchCanvasDenseSse2"},
                                    std::pair{ScorerIsa::Avx2, "BM_MatchCanvasDenseAvx2"},
                                    std::pair{ScorerIsa::Avx512, "BM_MatchCanvasDenseAvx512"}}) {
        if (!IsaSupported(isa)) continue;
        benchmark::RegisterBenchmark(name, MatchCanvasDenseOn, isa)->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::fprintf(stderr, "Scoring path of the unsuffixed benchmarks: %s\n",
                 std::string(IsaName(ResolveIsa(ScorerIsa::Auto))).c_str());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
