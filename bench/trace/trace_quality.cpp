// Scores tracing on a benchmark set (bench/line-art, bench/vector-art): each
// picture is traced as `fudeline-cli trace` traces it (PNG, JPEG and WebP in colour), the
// extracted ink compared with the one-pixel truth (precision, recall, F1 at
// 2 px and exactly), then matched to text and the text drawn back with the
// font and compared the same way. The ceiling is the text score for the truth
// itself laid as ink: what a perfect extraction gets. A table per class (the
// name up to its first "-") follows the table per picture.
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

#include "io/colour_picture.h"
#include "io/file_bytes.h"
#include "io/ink_image.h"
#include "io/picture_decoder.h"
#include "engine/trace_file.h"
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


// F1 of exactly the same pixels, no tolerance.
double ExactF1(const Image& drawn, const Image& truth) {
    std::int64_t both = 0, d = 0, t = 0;
    for (int y = 0; y < std::min(drawn.height(), truth.height()); ++y) {
        for (int x = 0; x < std::min(drawn.width(), truth.width()); ++x) {
            const bool a = drawn.Pixel(x, y) == kBlack, b = truth.Pixel(x, y) == kBlack;
            both += a && b;
            d += a;
            t += b;
        }
    }
    return d + t == 0 ? 1.0 : 2.0 * static_cast<double>(both) / static_cast<double>(d + t);
}

struct ClassSums {
    int pictures = 0;
    double inkP = 0, inkR = 0, inkF1 = 0, inkExact = 0, textP = 0, textR = 0, textF1 = 0,
           textExact = 0, darkRatio = 0, lowestInk = 1;
    std::map<std::string, int> modes;
};

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
    const DecoderOptions fine{useFine};
    auto textQuality = [&](const Image& ink, const Image& truth) {
        return engine.Measure(engine.Rows(ink, fine), truth);
    };

    std::vector<std::filesystem::path> pictures;
    for (const auto& entry : std::filesystem::directory_iterator(setDir)) {
        const std::string name = entry.path().filename().string();
        if (name.find("-truth.") == std::string::npos) pictures.push_back(entry.path());
    }
    std::sort(pictures.begin(), pictures.end());

    std::printf(
        "| picture | mode | ink P | ink R | ink F1@2 | ink exact F1 | text P | text R | text F1@2 "
        "| text exact F1 | text dark/truth | ceiling F1 |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    bench::QualityMeans means;  // the text's measures, every picture
    std::map<std::string, double> ceilings;
    std::map<std::string, ClassSums> classes;
    for (const auto& path : pictures) {
        const std::string name = path.filename().string();
        const std::string drawing = name.substr(0, name.rfind('-'));
        const auto truth =
            ReadInkImage(setDir + "/" + drawing + "-truth.png", kCanvasWidth, kInkHeight);
        const auto traced = TraceFile(path.string(), options);
        if (!truth || !traced) {
            std::cerr << "trace_quality: " << (truth ? traced.error() : truth.error()).Message()
                      << "\n";
            return 1;
        }
        if (!ceilings.count(drawing)) {
            ceilings[drawing] = textQuality(*truth, *truth).f1;
        }
        const Quality ink = MeasureQuality(traced->ink, *truth);
        const TextRows rows = engine.Rows(traced->ink, fine);
        const Image drawn = DrawRowsAsInk(engine.painter(), rows);
        const Quality text = MeasureQuality(drawn, *truth);
        const double inkExact = ExactF1(traced->ink, *truth), textExact = ExactF1(drawn, *truth);
        const double dark = text.truth ? double(text.drawn) / double(text.truth) : 0;
        std::printf("| %s | %s | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f | %.2f | %.3f |\n",
                    name.c_str(), ModeName(traced->mode), ink.precision, ink.recall, ink.f1,
                    inkExact, text.precision, text.recall, text.f1, textExact, dark,
                    ceilings[drawing]);
        means.Add(text);
        ClassSums& c = classes[name.substr(0, name.find('-'))];
        ++c.pictures;
        c.inkP += ink.precision;
        c.inkR += ink.recall;
        c.inkF1 += ink.f1;
        c.inkExact += inkExact;
        c.textP += text.precision;
        c.textR += text.recall;
        c.textF1 += text.f1;
        c.textExact += textExact;
        c.darkRatio += dark;
        c.lowestInk = std::min(c.lowestInk, ink.f1);
        ++c.modes[ModeName(traced->mode)];
    }
    std::printf("\n| class | pictures | modes | ink P | ink R | ink F1@2 | lowest ink F1 | "
                "ink exact F1 | text P | text R | text F1@2 | text exact F1 | text dark/truth |\n");
    std::printf("|---|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& [name, c] : classes) {
        std::string modes;
        for (const auto& [mode, count] : c.modes) {
            modes += (modes.empty() ? "" : " ") + mode + " " + std::to_string(count);
        }
        const double n = c.pictures;
        std::printf("| %s | %d | %s | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f "
                    "| %.2f |\n",
                    name.c_str(), c.pictures, modes.c_str(), c.inkP / n, c.inkR / n, c.inkF1 / n,
                    c.lowestInk, c.inkExact / n, c.textP / n, c.textR / n, c.textF1 / n,
                    c.textExact / n, c.darkRatio / n);
    }
    std::printf("\ntext means: %s\n            ", bench::kQualityColumns);
    bench::PrintMeans(means);
    std::printf("\n");
    return 0;
}
