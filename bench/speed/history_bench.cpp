// The history of steps: what a hundred dense strokes keep (the bytes are
// counters: history_MB, the steps' own count; peak_MB, the process's), and
// how long one undo or redo takes on them, text drawn as the window draws
// it, with either decoder.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

#include "bench/speed/bench_decoders.h"
#include "bench/speed/bench_drawings.h"
#include "io/ink_image.h"
#include "pixels/geometry.h"
#include "render/text_painter.h"
#include "session/art_state.h"

namespace fudeline {
namespace {

struct HistoryFixture : bench::BenchDecoders {
    std::unique_ptr<TextPainter> painter;
    Image dense;

    HistoryFixture() {
        painter = std::make_unique<TextPainter>(*font);
        dense = bench::ReadBenchDrawing("dense.pbm");
    }
};

HistoryFixture& Fixture() {
    static HistoryFixture fixture;
    return fixture;
}

// One dense stroke: 300 points zigzagging over the whole canvas, every row
// crossed many times, as a hand scribbling shading does.
void DenseStroke(ArtState& art, std::mt19937& rng) {
    std::uniform_int_distribution<int> x(0, 799), y(0, 521);
    art.BeginStroke({x(rng), y(rng)});
    for (int i = 0; i < 300; ++i) {
        art.ExtendStroke({x(rng), y(rng)});
        if (i % 10 == 0) art.RunPendingConversion();  // the paints in between
    }
    art.EndStroke();
    art.RunPendingConversion();
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A session over the dense drawing with a hundred dense strokes kept.
std::unique_ptr<ArtState> HundredStrokes(bool fine) {
    HistoryFixture& f = Fixture();
    auto art = std::make_unique<ArtState>(*f.matcher, f.painter.get());
    art->SetFineDecoder(fine ? f.fine.get() : nullptr);
    art->SetUndoMode(UndoMode::Steps);
    art->AddInk(f.dense);
    std::mt19937 rng(100);
    for (int i = 0; i < 100; ++i) DenseStroke(*art, rng);
    art->SaveUndoSnapshot();
    return art;
}

// Each iteration is one step: undo walks back through the hundred strokes,
// then redo walks forward again, and so on.
void BM_UndoRedoStep(benchmark::State& state) {
    const bool fine = state.range(0) != 0;
    std::unique_ptr<ArtState> art = HundredStrokes(fine);
    state.counters["history_MB"] = static_cast<double>(art->history().Bytes()) / (1 << 20);
    state.counters["steps"] = static_cast<double>(art->history().size());
    bool back = true;
    for (auto _ : state) {
        const bool done = back ? art->Undo() : art->Redo();
        if (!done) {
            back = !back;
            state.PauseTiming();
            state.ResumeTiming();
            continue;
        }
        benchmark::DoNotOptimize(art->rows());
    }
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_UndoRedoStep)->Arg(0)->Arg(1)->ArgName("fine")->Unit(benchmark::kMillisecond)->Iterations(400);

// A move of a selection by an arrow press, on the dense drawing: the whole
// drawing laid again and every row matched from the ink.
void BM_ArrowMove(benchmark::State& state) {
    HistoryFixture& f = Fixture();
    const bool fine = state.range(0) != 0;
    ArtState art(*f.matcher, f.painter.get());
    art.SetFineDecoder(fine ? f.fine.get() : nullptr);
    art.SetUndoMode(UndoMode::Steps);
    art.AddInk(f.dense);
    InkRect at{200, 100, 300, 200};
    int dx = 1;
    for (auto _ : state) {
        at = art.MoveSelection(at, dx, 0);
        dx = -dx;
    }
}
BENCHMARK(BM_ArrowMove)->Arg(0)->Arg(1)->ArgName("fine")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fudeline
