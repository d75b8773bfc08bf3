// Scores tracing on a benchmark set (bench/data/line-art, bench/data/vector-art): each
// picture is traced as `fudeline-cli trace` traces it (PNG, JPEG and WebP in colour), the
// extracted ink compared with the one-pixel truth (precision, recall, F1 at
// 2 px and exactly), then matched to text and the text drawn back with the
// font and compared the same way. The ceiling is the text score for the truth
// itself laid as ink: what a perfect extraction gets. A table per class (the
// name up to its first "-") follows the table per picture.
//   trace_quality DIR [--mode auto|lineart|photo] [--fine]
// --fine matches with the fine decoder instead of the row matcher.
//   trace_quality --pictures LIST [--root DIR] [--mode ...] [--save DIR]
// measures real clip art instead (bench/data/clip-art/pictures.txt, the files
// under DIR, /usr/share/openclipart/png by default; skipped when DIR is
// absent): the ink against each picture's own centre lines (see clip_art.h),
// its dark pixels against the truth's, empty inks and lines along a
// picture's border; --save writes each ink and truth as PNG to look at.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/quality/quality_engine.h"
#include "bench/quality/trace/clip_art.h"
#include "engine/trace_file.h"
#include "files/file_bytes.h"
#include "io/colour_picture.h"
#include "io/ink_image.h"
#include "io/library_pixels.h"
#include "io/picture_decoder.h"
#include "io/png_writer.h"
#include "pixels/geometry.h"
#include "trace/placement.h"
#include "trace/trace_picture.h"

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

// The ink (black) over the truth (light red) as a grey-and-red PNG.
Status SaveComparison(const std::string& path, const Image& ink, const Image& truth) {
    Image sheet(ink.width(), ink.height());
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            if (ink.Pixel(x, y) == kBlack) {
                sheet.SetPixel(x, y, kBlack);
            } else if (truth.Pixel(x, y) == kBlack) {
                sheet.SetPixel(x, y, 0xFF9696u);
            }
        }
    }
    const Result<std::string> png = EncodePng(sheet);
    if (!png) return png.error();
    return WriteFileBytes(path, *png);
}

struct ClipArtSums {
    int pictures = 0, empty = 0, framed = 0;
    double f1 = 0, precision = 0, recall = 0, darkRatio = 0, lowest = 1, border = 0;
};

// A line along this share of a picture's side is a frame.
constexpr double kFrameShare = 0.5;

int RunClipArt(const std::string& list, const std::string& root, const TraceOptions& options,
               const std::string& saveDir) {
    if (!std::filesystem::is_directory(root)) {
        std::printf("skipped: no clip art in %s (Debian's openclipart-png)\n", root.c_str());
        return 0;
    }
    const std::vector<bench::ClipArtEntry> entries = bench::ReadClipArtList(list);
    if (entries.empty()) {
        std::cerr << "trace_quality: no pictures listed in " << list << "\n";
        return 1;
    }
    std::printf("| class | picture | ink P | ink R | ink F1@2 | dark/truth | border share |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|\n");
    std::map<std::string, ClipArtSums> classes;
    for (const bench::ClipArtEntry& entry : entries) {
        const std::string path = root + "/" + entry.path;
        Result<TracingPicture> read =
            ReadTracingPicture(path, LibraryPixels(), [&](int width, int height) {
                return entry.iconSize > 0 ? 1.0 : PlacementScale(width, height, options.placement);
            });
        if (!read) {
            std::cerr << "trace_quality: " << read.error().Message() << "\n";
            return 1;
        }
        if (!read->inColour) {
            std::cerr << "trace_quality: " << path << " is not read in colour\n";
            return 1;
        }
        const ColourPicture picture = entry.iconSize > 0
                                          ? bench::ShrinkToIcon(read->colour, entry.iconSize)
                                          : std::move(read->colour);
        const TracedInk traced = TracePicture(picture, options);
        const PlacedPicture placed = PlaceOnCanvas(picture, options.placement);
        const Image truth =
            bench::CentreLineTruth(placed.canvas, placed.area, bench::RuleOf(entry.group));
        const Quality ink = MeasureQuality(traced.ink, truth);
        const double border = bench::BorderLineShare(traced.ink, placed.area);
        bool anyInk = false;
        for (int y = 0; y < traced.ink.height() && !anyInk; ++y) {
            for (int x = 0; x < traced.ink.width() && !anyInk; ++x) {
                anyInk = traced.ink.Pixel(x, y) == kBlack;
            }
        }
        const bool scored = bench::RuleOf(entry.group) != bench::StrokeRule::None;
        const std::string name = std::filesystem::path(entry.path).stem().string();
        std::printf("| %s | %s | %.3f | %.3f | %.3f | %.2f | %.2f |\n", entry.group.c_str(),
                    name.c_str(), ink.precision, ink.recall, ink.f1, ink.darkRatio, border);
        ClipArtSums& c = classes[entry.group];
        ++c.pictures;
        c.empty += !anyInk;
        c.framed += border >= kFrameShare;
        c.border = std::max(c.border, border);
        if (scored) {
            c.f1 += ink.f1;
            c.precision += ink.precision;
            c.recall += ink.recall;
            c.darkRatio += ink.darkRatio;
            c.lowest = std::min(c.lowest, ink.f1);
        }
        if (!saveDir.empty()) {
            std::filesystem::create_directories(saveDir);
            if (Status saved = SaveComparison(saveDir + "/" + entry.group + "-" + name + ".png",
                                              traced.ink, truth);
                !saved) {
                std::cerr << "trace_quality: " << saved.error().Message() << "\n";
                return 1;
            }
        }
    }
    std::printf("\n| class | pictures | ink P | ink R | ink F1@2 | lowest F1 | dark/truth | empty "
                "| framed | widest border share |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& [name, c] : classes) {
        const double n = c.pictures;
        if (bench::RuleOf(name) == bench::StrokeRule::None) {
            std::printf("| %s | %d | | | | | | %d | %d | %.2f |\n", name.c_str(), c.pictures,
                        c.empty, c.framed, c.border);
        } else {
            std::printf("| %s | %d | %.3f | %.3f | %.3f | %.3f | %.2f | %d | %d | %.2f |\n",
                        name.c_str(), c.pictures, c.precision / n, c.recall / n, c.f1 / n,
                        c.lowest, c.darkRatio / n, c.empty, c.framed, c.border);
        }
    }
    return 0;
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
        std::cerr << "usage: trace_quality DIR [--mode auto|lineart|photo] [--fine]\n"
                     "       trace_quality --pictures LIST [--root DIR] [--mode ...] [--save DIR]\n";
        return 2;
    }
    const std::string setDir = argv[1];
    TraceOptions options;
    bool useFine = false;
    std::string list, root = "/usr/share/openclipart/png", saveDir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i == 1 && arg != "--pictures") continue;  // the set's folder
        if (arg == "--pictures" && i + 1 < argc) {
            list = argv[++i];
        } else if (arg == "--root" && i + 1 < argc) {
            root = argv[++i];
        } else if (arg == "--save" && i + 1 < argc) {
            saveDir = argv[++i];
        } else if (arg == "--fine") {
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

    if (!list.empty()) return RunClipArt(list, root, options, saveDir);

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
        const auto truth = ReadInkImage(setDir + "/" + drawing + "-truth.png", kCanvasWidth,
                                        kInkHeight, LibraryPixels());
        const auto traced = TraceFile(path.string(), options, LibraryPixels());
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
