// Scores tracing on the line-art benchmark set: each picture is traced, matched
// to text and the text drawn back with the font, then compared with the
// drawing's one-pixel truth (precision, recall and F1 at 2 px). The ceiling is
// the same score for the truth itself laid as ink: what a perfect extraction gets.
//   trace_quality DIR [--mode auto|lineart|photo] [--fine]
// --fine matches with the fine decoder instead of the row matcher.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "io/ink_image.h"
#include "io/picture_decoder.h"
#include "lines/trace_picture.h"
#include "pixels/geometry.h"
#include "quality_engine.h"

using namespace fudeline;

namespace {

const char* ModeName(TraceMode mode) {
    switch (mode) {
        case TraceMode::Auto:
            return "auto";
        case TraceMode::LineArt:
            return "lineart";
        case TraceMode::Photo:
            return "photo";
    }
    return "?";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: trace_quality DIR [--mode auto|lineart|photo] [--fine]\n";
        return 2;
    }
    const std::string setDir = argv[1];
    TraceOptions options;
    bool useFine = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fine") {
            useFine = true;
        } else if (arg == "--mode" && i + 1 < argc) {
            const std::string mode = argv[++i];
            options.mode = mode == "lineart" ? TraceMode::LineArt
                           : mode == "photo" ? TraceMode::Photo
                                             : TraceMode::Auto;
        } else {
            std::cerr << "trace_quality: unexpected argument " << arg << "\n";
            return 2;
        }
    }

    bench::QualityEngine engine;
    if (Status loaded = engine.Load(); !loaded) {
        std::cerr << "trace_quality: " << loaded.error().Message() << "\n";
        return 1;
    }
    const FineDecoder* fine = useFine ? engine.fine.get() : nullptr;
    auto textQuality = [&](const Image& ink, const Image& truth) {
        return engine.Measure(engine.Rows(ink, fine), truth);
    };

    std::vector<std::filesystem::path> pictures;
    for (const auto& entry : std::filesystem::directory_iterator(setDir)) {
        const std::string name = entry.path().filename().string();
        if (name.find("-truth.") == std::string::npos) pictures.push_back(entry.path());
    }
    std::sort(pictures.begin(), pictures.end());

    std::printf("| picture | mode | ink F1 | precision | recall | F1 | ceiling F1 |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|\n");
    double sum = 0, lowest = 1;
    bench::QualityMeans means;
    std::map<std::string, double> ceilings;
    for (const auto& path : pictures) {
        const std::string name = path.filename().string();
        const std::string drawing = name.substr(0, name.rfind('-'));
        const auto truth =
            ReadInkImage(setDir + "/" + drawing + "-truth.png", kCanvasWidth, kInkHeight);
        const auto picture = ReadPicture(path.string());
        if (!truth || !picture) {
            std::cerr << "trace_quality: " << (truth ? picture.error() : truth.error()).Message()
                      << "\n";
            return 1;
        }
        if (!ceilings.count(drawing)) {
            ceilings[drawing] = textQuality(*truth, *truth).f1;
        }
        const TracedInk traced = TracePicture(*picture, options);
        const Quality ink = MeasureQuality(traced.ink, *truth);
        const Quality text = textQuality(traced.ink, *truth);
        std::printf("| %s | %s | %.3f | %.3f | %.3f | %.3f | %.3f |\n", name.c_str(),
                    ModeName(traced.mode), ink.f1, text.precision, text.recall, text.f1,
                    ceilings[drawing]);
        sum += text.f1;
        means.Add(text);
        lowest = std::min(lowest, text.f1);
    }
    double ceilingSum = 0;
    for (const auto& [drawing, f1] : ceilings) ceilingSum += f1;
    std::printf("\nmean F1 %.3f, lowest %.3f, mean ceiling %.3f over %zu pictures\n",
                sum / static_cast<double>(pictures.size()), lowest,
                ceilingSum / static_cast<double>(ceilings.size()), pictures.size());
    std::printf("means: %s\n       ", bench::kQualityColumns);
    bench::PrintMeans(means);
    std::printf("\n");
    return 0;
}
