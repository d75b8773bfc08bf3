// Typing and parts over a dense drawing (its right quarter left blank), with the fine decoder the window
// starts with: a character typed (and taken back) at a caret, a ten-line
// part laid at a point (and taken back), each with the paint that follows.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/speed/bench_drawings.h"
#include "engine/document.h"
#include "engine/engine.h"
#include "io/ink_image.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

struct DocumentFixture {
    std::unique_ptr<Engine> engine;
    Image dense;

    DocumentFixture() {
        Result<Engine> loaded = Engine::Load();
        if (!loaded) throw std::runtime_error(loaded.error().Message());
        engine = std::make_unique<Engine>(std::move(*loaded));
        dense = bench::ReadBenchDrawing("dense.pbm");
        // Room on the right for the words typed to push the row's cells into.
        dense.FillRect(600, 0, kCanvasWidth - 600, kInkHeight, kWhite);
    }
    // A document of the dense drawing, converted, with the fine decoder.
    std::unique_ptr<Document> Drawn() {
        auto document = std::make_unique<Document>(*engine);
        document->SetDecoder({true, Spacing::Fillers});
        document->ImportLines(dense);
        document->Settle();
        return document;
    }
};

DocumentFixture& Fixture() {
    static DocumentFixture fixture;
    return fixture;
}

// "あ" typed at a caret in the middle of the dense drawing, then taken back
// with Backspace: two edits an iteration, each matched and painted.
void BM_TypeCharacter(benchmark::State& state) {
    std::unique_ptr<Document> document = Fixture().Drawn();
    document->PlaceCaret({400, 200});
    for (auto _ : state) {
        if (const Status typed = document->Type("\xE3\x81\x82"); !typed) {
            state.SkipWithError(typed.error().Message().c_str());
            break;
        }
        document->Settle();
        document->EraseBefore();
        document->Settle();
    }
    state.counters["edits"] = benchmark::Counter(static_cast<double>(state.iterations()) * 2,
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TypeCharacter)->Unit(benchmark::kMillisecond);

// A part of ten lines laid over the dense drawing and taken back.
void BM_PlacePart(benchmark::State& state) {
    std::unique_ptr<Document> document = Fixture().Drawn();
    document->SetUndoMode(UndoMode::Steps);
    std::string part;
    for (int line = 0; line < 10; ++line) {
        part += "\xEF\xBC\x8F\xEF\xBF\xA3\xEF\xBF\xA3\xEF\xBF\xA3\xEF\xBC\xBC \xE3\x80\x80|\r\n";  // ／￣￣￣＼　|
    }
    for (auto _ : state) {
        if (!document->PlacePart(part, TextEncoding::Utf8, {300, 100})) state.SkipWithError("not placed");
        document->Settle();
        state.PauseTiming();
        document->Undo();
        document->Select(std::nullopt);
        document->Settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlacePart)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fudeline
