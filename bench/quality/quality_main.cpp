// fudeline_quality: how closely text art follows a line drawing. See kUsage.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/quality/quality_engine.h"
#include "export/cells_format.h"
#include "export/export_text.h"
#include "files/file_bytes.h"
#include "io/ink_image.h"
#include "io/library_pixels.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

constexpr int kExitError = 2;

constexpr const char* kUsage =
    "usage: fudeline_quality TRUTH [--cells FILE | --ink IMAGE] [--fine] [--no-fillers]\n"
    "       fudeline_quality --table DIR\n"
    "\n"
    "How closely text art follows a line drawing: the rows are drawn back with the\n"
    "font and compared with TRUTH (a PBM or PNG in ink-layer coordinates, its black\n"
    "pixels the lines).\n"
    "\n"
    "  --cells FILE   take the rows from a cells file (fudeline-cli --cells)\n"
    "  --ink IMAGE    convert IMAGE instead of TRUTH itself\n"
    "  --fine         convert with the fine decoder (default: the row matcher)\n"
    "  --no-fillers   with --fine: spacing of spaces only\n"
    "  --table DIR    convert every drawing in DIR all three ways; means per set\n"
    "                 (the file name's first letter) and overall\n"
    "  -h, --help     print this and exit\n"
    "\n"
    "Measures: F1 with a drawn pixel matched when a drawing pixel lies within 0, 1\n"
    "and 2 px (and the other way round for recall); dark, the dark pixels drawn per\n"
    "drawing pixel; dist, the mean distance of each side's pixels to the other's\n"
    "nearest, capped at 4 px, averaged over both directions.\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "fudeline_quality: %s\n", message.c_str());
    return kExitError;
}

Result<Image> ReadDrawing(const std::string& path) {
    return ReadInkImage(path, kCanvasWidth, kCanvasHeight, LibraryPixels());
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
    bench::QualityEngine engine;
    if (Status loaded = engine.Load(); !loaded) return Fail(loaded.error().Message());

    TextRows rows;
    if (!cellsPath.empty()) {
        const Result<std::string> text = ReadFileBytes(cellsPath);
        if (!text) return Fail(text.error().Message());
        Result<TextRows> parsed = ParseCells(*text);
        if (!parsed) return Fail(InputName(cellsPath) + ": " + parsed.error().Reason());
        rows = std::move(*parsed);
    } else {
        Result<Image> ink = truth;
        if (!inkPath.empty()) {
            ink = ReadDrawing(inkPath);
            if (!ink) return Fail(ink.error().Message());
        }
        rows = engine.Rows(*ink, {fine, noFillers ? Spacing::Spaces : Spacing::Fillers});
    }
    const Quality q = engine.Measure(rows, *truth);
    std::printf("precision %.4f recall %.4f f1 %.4f drawn %lld truth %lld bytes %zu\n", q.precision,
                q.recall, q.f1, static_cast<long long>(q.drawn), static_cast<long long>(q.truth),
                ComposeExportText(rows, false).size());
    std::printf("f1@0 %.4f f1@1 %.4f f1@2 %.4f dark %.4f distance %.4f (drawn %.4f truth %.4f)\n",
                q.at[0].f1, q.at[1].f1, q.at[2].f1, q.darkRatio, q.distance, q.drawnDistance,
                q.truthDistance);
    return 0;
}

struct Totals {
    bench::QualityMeans means[3];
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
    bench::QualityEngine engine;
    if (Status loaded = engine.Load(); !loaded) return Fail(loaded.error().Message());

    const char* names[3] = {"greedy", "fine", "fine --no-fillers"};
    std::printf("%-20s", "drawing");
    for (const char* name : names) std::printf(" | %-28s", name);
    std::printf("\n%-20s", "");
    for (int k = 0; k < 3; ++k) std::printf(" | %s", bench::kQualityColumns);
    std::printf("\n");
    std::map<std::string, Totals> sets;
    for (const auto& path : drawings) {
        const Result<Image> truth = ReadDrawing(path.string());
        if (!truth) return Fail(truth.error().Message());
        const TextRows rows[3] = {engine.Rows(*truth, {}), engine.Rows(*truth, {true}),
                                  engine.Rows(*truth, {true, Spacing::Spaces})};
        const std::string name = path.stem().string();
        std::printf("%-20s", name.c_str());
        for (int k = 0; k < 3; ++k) {
            const Quality q = engine.Measure(rows[k], *truth);
            const std::size_t bytes = ComposeExportText(rows[k], false).size();
            std::printf(" | ");
            bench::PrintQuality(q);
            for (const std::string& set : {name.substr(0, 1), std::string("all")}) {
                sets[set].means[k].Add(q);
                sets[set].bytes[k] += static_cast<double>(bytes);
            }
        }
        std::printf("\n");
    }
    std::printf("\nmeans per set (bytes against greedy's)\n");
    auto printMean = [&](const std::string& set, const Totals& t) {
        std::printf("%-5s %2d drawings", set.c_str(), t.means[0].count);
        for (int k = 0; k < 3; ++k) {
            std::printf(" | ");
            bench::PrintMeans(t.means[k]);
            std::printf(" %.2fx", t.bytes[k] / t.bytes[0]);
        }
        std::printf("\n");
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
        if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
            std::fputs(fudeline::kUsage, stdout);
            return 0;
        }
        if (args.size() == 2 && args[0] == "--table") return fudeline::Table(args[1]);
        return fudeline::Single(args);
    } catch (const std::exception& e) {
        return fudeline::Fail(e.what());
    }
}
