// fudeline_quality: how closely text art follows a line drawing (precision,
// recall and F1 at 2 px of the rows drawn back with the font).
//
//   fudeline_quality TRUTH [--cells FILE | --ink IMAGE] [--fine] [--no-fillers]
//   fudeline_quality --table DIR
//
// TRUTH is a PBM or PNG in ink-layer coordinates, its black pixels the lines.
// The rows come from a cells file (fudeline-cli --cells), or are converted
// here from IMAGE (by default TRUTH itself), with the row matcher or, with
// --fine, the fine decoder. --table converts every drawing in DIR all three
// ways and prints them side by side with the means per set (the file name's
// first letter) and overall.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "export/cells_format.h"
#include "export/export_text.h"
#include "io/file_bytes.h"
#include "io/ink_image.h"
#include "pixels/geometry.h"
#include "quality_engine.h"

namespace fudeline {
namespace {

constexpr int kExitError = 2;

int Fail(const std::string& message) {
    std::fprintf(stderr, "fudeline_quality: %s\n", message.c_str());
    return kExitError;
}

using Engine = bench::QualityEngine;

Result<Image> ReadDrawing(const std::string& path) {
    return ReadInkImage(path, kCanvasWidth, kCanvasHeight);
}

int Single(const std::vector<std::string>& args) {
    std::string truthPath, cellsPath, inkPath;
    bool fine = false, noFillers = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if ((arg == "--cells" || arg == "--ink") && i + 1 < args.size()) {
            (arg == "--cells" ? cellsPath : inkPath) = args[++i];
        } else if (arg == "--fine") {
            fine = true;
        } else if (arg == "--no-fillers") {
            noFillers = true;
        } else if (truthPath.empty() && !arg.starts_with("--")) {
            truthPath = arg;
        } else {
            return Fail("unexpected argument \"" + arg + "\"");
        }
    }
    if (truthPath.empty()) return Fail("no drawing given");
    if (!cellsPath.empty() && (!inkPath.empty() || fine || noFillers)) {
        return Fail("--cells takes finished rows: no --ink, --fine or --no-fillers with it");
    }
    if (noFillers && !fine) return Fail("--no-fillers is an option of --fine");
    const Result<Image> truth = ReadDrawing(truthPath);
    if (!truth) return Fail(truth.error().Message());
    Engine engine;
    if (Status loaded = engine.Load(); !loaded) return Fail(loaded.error().Message());

    TextRows rows;
    if (!cellsPath.empty()) {
        const Result<std::string> text = ReadFileBytes(cellsPath);
        if (!text) return Fail(text.error().Message());
        Result<TextRows> parsed = ParseCells(*text);
        if (!parsed) return Fail(InputName(cellsPath) + ": " + parsed.error().reason);
        rows = std::move(*parsed);
    } else {
        Result<Image> ink = truth;
        if (!inkPath.empty()) {
            ink = ReadDrawing(inkPath);
            if (!ink) return Fail(ink.error().Message());
        }
        rows = engine.Rows(*ink, !fine       ? nullptr
                                 : noFillers ? engine.fineNoFillers.get()
                                             : engine.fine.get());
    }
    const Quality q = engine.Measure(rows, *truth);
    std::printf("precision %.4f recall %.4f f1 %.4f drawn %lld truth %lld bytes %zu\n", q.precision,
                q.recall, q.f1, static_cast<long long>(q.drawn), static_cast<long long>(q.truth),
                ComposeExportText(rows, false).size());
    return 0;
}

struct Totals {
    int drawings = 0;
    double f1[3] = {0, 0, 0};
    double bytes[3] = {0, 0, 0};
};

int Table(const std::string& dir) {
    std::vector<std::filesystem::path> drawings;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const auto ext = entry.path().extension();
        if (ext == ".pbm" || ext == ".png") drawings.push_back(entry.path());
    }
    if (ec) return Fail("cannot list " + dir + ": " + ec.message());
    if (drawings.empty()) return Fail("no .pbm or .png drawings in " + dir);
    std::sort(drawings.begin(), drawings.end());
    Engine engine;
    if (Status loaded = engine.Load(); !loaded) return Fail(loaded.error().Message());

    std::printf("%-20s %25s %25s %25s\n", "", "greedy", "fine", "fine --no-fillers");
    std::printf("%-20s", "drawing");
    for (int k = 0; k < 3; ++k) std::printf("     P      R      F1  bytes");
    std::printf("\n");
    std::map<std::string, Totals> sets;
    for (const auto& path : drawings) {
        const Result<Image> truth = ReadDrawing(path.string());
        if (!truth) return Fail(truth.error().Message());
        const TextRows rows[3] = {engine.Rows(*truth, nullptr),
                                  engine.Rows(*truth, engine.fine.get()),
                                  engine.Rows(*truth, engine.fineNoFillers.get())};
        const std::string name = path.stem().string();
        std::printf("%-20s", name.c_str());
        for (const std::string& set : {name.substr(0, 1), std::string("all")}) {
            ++sets[set].drawings;
        }
        for (int k = 0; k < 3; ++k) {
            const Quality q = engine.Measure(rows[k], *truth);
            const std::size_t bytes = ComposeExportText(rows[k], false).size();
            std::printf("  %.3f  %.3f  %.3f %6zu", q.precision, q.recall, q.f1, bytes);
            for (const std::string& set : {name.substr(0, 1), std::string("all")}) {
                sets[set].f1[k] += q.f1;
                sets[set].bytes[k] += static_cast<double>(bytes);
            }
        }
        std::printf("\n");
    }
    std::printf("\nmean F1 (bytes against greedy's)\n");
    auto printMean = [](const std::string& set, const Totals& t) {
        std::printf(
            "%-5s %2d drawings   greedy %.3f   fine %.3f (%.3f x)   no fillers %.3f (%.3f x)\n",
            set.c_str(), t.drawings, t.f1[0] / t.drawings, t.f1[1] / t.drawings,
            t.bytes[1] / t.bytes[0], t.f1[2] / t.drawings, t.bytes[2] / t.bytes[0]);
    };
    for (const auto& [set, t] : sets) {
        if (set != "all") printMean(set, t);
    }
    printMean("all", sets["all"]);
    return 0;
}

}  // namespace
}  // namespace fudeline

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == "--table") return fudeline::Table(args[1]);
        return fudeline::Single(args);
    } catch (const std::exception& e) {
        return fudeline::Fail(e.what());
    }
}
