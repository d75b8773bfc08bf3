// fudeline_user_lines: the lines a user draws, drawn through the drawing
// session as the window's mouse events and read back as text. See kUsage.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/quality/quality_engine.h"
#include "bench/quality/user_lines/hand_model.h"
#include "bench/quality/user_lines/slope_characters.h"
#include "export/export_text.h"
#include "files/file_bytes.h"
#include "files/line_reader.h"
#include "glyphs/cp932.h"
#include "glyphs/utf8.h"
#include "io/png_writer.h"
#include "session/art_state.h"
#include "session/client_map.h"
#include "session/replay_script.h"
#include "session/stroke_stabilizer.h"

namespace fudeline {
namespace {

constexpr int kExitError = 2;

constexpr const char* kUsage =
    "usage: fudeline_user_lines [--wobble A,...] [--spacing fillers|spaces]\n"
    "                           [--stabilizer off|weak|strong]\n"
    "                           [--only FAMILY] [--each] [--write DIR]\n"
    "\n"
    "Straight strokes at every height of a text row and every column offset,\n"
    "strokes at angles from 0 to 180 degrees, circles, ellipses and arcs, and the\n"
    "sample face, drawn through the drawing session as mouse events (a report every\n"
    "4 px) and converted with the fine decoder, plain and by an unsteady hand.\n"
    "\n"
    "  --wobble A,.. also draw every stroke by a hand with a tremor of A px and a\n"
    "                drift of 1.5 A px (root mean square); default 0,0.5,1,2\n"
    "  --spacing S   fillers (the default) or spaces (no fillers)\n"
    "  --stabilizer S  how steadily the pen follows the pointer: off, weak (the\n"
    "                window's and the page's start, the default) or strong\n"
    "  --only F      only the family F (level, upright, slash, backslash, angle,\n"
    "                curve, face)\n"
    "  --each        print every drawing's text\n"
    "  --write DIR   write every drawing's text (.txt, UTF-8) and its picture: the\n"
    "                ink in pink under the text's dark pixels, stray ones red (.png)\n"
    "  -h, --help    print this and exit\n"
    "\n"
    "Columns: drawings; clean: the share whose visible characters are at least 90%\n"
    "ones artists write for that line (straight strokes: for a slope between level,\n"
    "45 degrees and upright, the characters whose pixels run along it, the most\n"
    "written first, and those of the two lines beside it);\n"
    "distinct: visible characters per drawing (mean, and the most); stray: dark\n"
    "pixels more than 3 px from any ink, per drawing (mean), and the share of\n"
    "drawings with any; F1 at 0, 2 and 3 px against the ink and the dark pixels\n"
    "drawn per ink pixel.\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "fudeline_user_lines: %s\n", message.c_str());
    return kExitError;
}

using bench::PathPoint;

// What artists write for a line of each kind (UTF-8), the benchmark's answer.
const std::set<std::string> kLevelCharacters = {"￣", "‾", "―", "─", "ー", "－", "-", "＿", "_"};
const std::set<std::string> kUprightCharacters = {"|", "｜", "│", "l", "ｌ", "i", "I"};
const std::set<std::string> kSlashCharacters = {"/", "／", "╱"};
const std::set<std::string> kBackslashCharacters = {"\\", "＼", "╲", "ヽ"};
// How many of the most written characters of a slope count as its answer.
constexpr int kSlopeAnswerSize = 8;

struct Drawing {
    std::string family;
    std::string name;
    std::vector<std::vector<PathPoint>> strokes;
    const std::set<std::string>* artists = nullptr;  // null: no one answer
};

// Canvas y of height `h` of text row `row`.
double RowY(int row, int h) { return 18.0 * row + h; }

std::vector<Drawing> StraightDrawings() {
    std::vector<Drawing> out;
    char name[64];
    for (int h = 0; h < 18; ++h) {
        for (int offset = 0; offset < 16; ++offset) {
            const double y = RowY(8, h), x = 100.0 + offset;
            std::snprintf(name, sizeof name, "level-h%02d-x%02d", h, offset);
            out.push_back({"level", name, {{{x, y}, {x + 300, y}}}, &kLevelCharacters});
        }
    }
    for (int offset = 0; offset < 16; ++offset) {
        for (int h : {0, 6, 12}) {
            const double x = 200.0 + offset, y = RowY(5, h);
            std::snprintf(name, sizeof name, "upright-x%02d-h%02d", offset, h);
            out.push_back({"upright", name, {{{x, y}, {x, y + 200}}}, &kUprightCharacters});
            std::snprintf(name, sizeof name, "slash-x%02d-h%02d", offset, h);
            out.push_back({"slash", name, {{{x + 200, y}, {x, y + 200}}}, &kSlashCharacters});
            std::snprintf(name, sizeof name, "backslash-x%02d-h%02d", offset, h);
            out.push_back({"backslash", name, {{{x, y}, {x + 200, y + 200}}}, &kBackslashCharacters});
        }
    }
    return out;
}

// Per angle of AngleDrawings, what artists write for a line of its slope.
using SlopeAnswers = std::map<int, std::set<std::string>>;

SlopeAnswers AnswersBySlope(const MonaFont& face) {
    SlopeAnswers answers;
    constexpr double kPi = 3.141592653589793;
    for (int degrees = 0; degrees < 180; degrees += 15) {
        // The canvas's 18-pixel rows are the ink's 16: a slope is flatter there.
        const double a = degrees * kPi / 180;
        double ink = std::atan2(std::sin(a) * 16 / 18, std::cos(a)) * 180 / kPi;
        if (ink < 0) ink += 180;
        std::set<std::string> answer = bench::SlopeCharacters(face, ink, kSlopeAnswerSize);
        // A slope between two of the four lines artists have characters for
        // is also written as steps of either.
        const std::set<std::string>* family[] = {&kLevelCharacters, &kSlashCharacters,
                                                  &kUprightCharacters, &kBackslashCharacters};
        for (const int anchor : {degrees / 45, (degrees + 44) / 45}) {
            answer.insert(family[anchor % 4]->begin(), family[anchor % 4]->end());
        }
        answers[degrees] = std::move(answer);
    }
    return answers;
}

std::vector<Drawing> AngleDrawings(const SlopeAnswers& answers) {
    std::vector<Drawing> out;
    char name[64];
    constexpr double kPi = 3.141592653589793;
    for (int degrees = 0; degrees < 180; degrees += 15) {
        for (int offset = 0; offset < 4; ++offset) {
            const double a = degrees * kPi / 180, cx = 400.0 + 3 * offset, cy = 261.0 + 5 * offset;
            const double dx = 150 * std::cos(a), dy = -150 * std::sin(a);
            std::snprintf(name, sizeof name, "angle-%03d-%d", degrees, offset);
            out.push_back({"angle", name, {{{cx - dx, cy - dy}, {cx + dx, cy + dy}}}, &answers.at(degrees)});
        }
    }
    return out;
}

std::vector<PathPoint> Ellipse(double cx, double cy, double rx, double ry, double from, double to) {
    std::vector<PathPoint> path;
    constexpr double kPi = 3.141592653589793;
    const int steps = std::max(12, static_cast<int>(std::max(rx, ry) * (to - from) / 90.0));
    for (int i = 0; i <= steps; ++i) {
        const double a = (from + (to - from) * i / steps) * kPi / 180;
        path.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
    }
    return path;
}

std::vector<Drawing> CurveDrawings() {
    std::vector<Drawing> out;
    char name[64];
    for (double r : {16.0, 30.0, 60.0, 120.0, 200.0}) {
        std::snprintf(name, sizeof name, "circle-r%03.0f", r);
        out.push_back({"curve", name, {Ellipse(400, 261, r, r, 0, 360)}, nullptr});
    }
    const double ellipses[][2] = {{150, 60}, {60, 150}, {300, 100}, {40, 20}};
    for (const auto& e : ellipses) {
        std::snprintf(name, sizeof name, "ellipse-%03.0fx%03.0f", e[0], e[1]);
        out.push_back({"curve", name, {Ellipse(400, 261, e[0], e[1], 0, 360)}, nullptr});
    }
    for (double r : {40.0, 90.0, 180.0}) {
        std::snprintf(name, sizeof name, "smile-r%03.0f", r);
        out.push_back({"curve", name, {Ellipse(400, 200, r, r * 0.6, 200, 340)}, nullptr});
        std::snprintf(name, sizeof name, "brow-r%03.0f", r);
        out.push_back({"curve", name, {Ellipse(400, 300, r, r * 0.4, 20, 160)}, nullptr});
    }
    return out;
}

// The sample face's strokes, as its script draws them.
Result<Drawing> FaceDrawing(const std::string& path) {
    Result<LineReader> reader = LineReader::Open(path);
    if (!reader) return reader.error();
    Drawing face{"face", "sample-face", {}, nullptr};
    std::string line;
    for (;;) {
        const Result<bool> read = reader->Next(line);
        if (!read) return read.error();
        if (!*read) break;
        const auto event = ParseReplayLine(line, static_cast<int>(reader->lineNumber()));
        if (!event) return event.error().WithPath(path);
        if (!*event) continue;
        const ReplayEvent& e = **event;
        const PathPoint p{static_cast<double>(e.x - kCanvasLeft), static_cast<double>(e.y - kCanvasTop)};
        if (e.kind == ReplayEvent::Kind::Down) face.strokes.push_back({p});
        if (e.kind == ReplayEvent::Kind::Move && !face.strokes.empty()) face.strokes.back().push_back(p);
    }
    return face;
}

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\u3000' || c == U'\u00A0' || (c >= 0x2000 && c <= 0x200B) || c == U'\r' ||
           c == U'\n';
}

// The visible characters of a UTF-8 text, each as its UTF-8.
std::vector<std::string> VisibleCharacters(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const auto code = NextUtf8(text, i);
        if (!code) break;
        if (!IsBlank(*code)) out.push_back(text.substr(start, i - start));
    }
    return out;
}

struct Score {
    bool clean = false;
    int distinct = 0;
    std::int64_t stray = 0;  // dark pixels more than 3 px from ink
    Quality quality;
};

struct Tally {
    int drawings = 0, judged = 0, clean = 0, mostDistinct = 0, withStray = 0;
    double distinct = 0, stray = 0, f1at0 = 0, f1at2 = 0, f1at3 = 0, dark = 0;
    void Add(const Score& s, bool judge) {
        ++drawings;
        if (judge) {
            ++judged;
            clean += s.clean;
        }
        distinct += s.distinct;
        mostDistinct = std::max(mostDistinct, s.distinct);
        stray += static_cast<double>(s.stray);
        withStray += s.stray > 0;
        f1at0 += s.quality.at[0].f1;
        f1at2 += s.quality.at[2].f1;
        f1at3 += s.quality.at[3].f1;
        dark += s.quality.darkRatio;
    }
    void Print(const char* label) const {
        const double n = std::max(drawings, 1);
        std::printf("%-18s %5d  ", label, drawings);
        if (judged > 0) {
            std::printf("%5.3f", static_cast<double>(clean) / judged);
        } else {
            std::printf("    -");
        }
        std::printf("  %5.1f %4d  %6.1f %5.3f  %.3f %.3f %.3f %5.2f\n", distinct / n, mostDistinct,
                    stray / n, withStray / n, f1at0 / n, f1at2 / n, f1at3 / n, dark / n);
    }
};

struct Options {
    std::vector<double> wobbles{0.0, 0.5, 1.0, 2.0};
    Spacing spacing = Spacing::Fillers;
    std::string only;
    Stabilizer stabilizer = Stabilizer::Weak;
    bool each = false;
    std::string writeDir;
};

// An ink-grey picture of the drawing with the text's dark pixels over it.
// Whether ink lies within 3 px of (x, y): a dark pixel of the text without
// it is a stray mark.
bool InkNear(const Image& ink, int x, int y) {
    for (int dy = -3; dy <= 3; ++dy) {
        for (int dx = -3; dx <= 3; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (dx * dx + dy * dy > 9 || nx < 0 || ny < 0 || nx >= kCanvasWidth || ny >= kInkHeight) continue;
            if (ink.Pixel(nx, ny) == kBlack) return true;
        }
    }
    return false;
}

// The ink in pink under the text's dark pixels, stray marks in red.
Image Overlay(const Image& ink, const Image& text) {
    Image out(kCanvasWidth, kInkHeight, kWhite);
    for (int y = 0; y < kInkHeight; ++y) {
        for (int x = 0; x < kCanvasWidth; ++x) {
            if (text.Pixel(x, y) == kBlack) {
                out.SetPixel(x, y, InkNear(ink, x, y) ? kBlack : 0xE00000);
            } else if (ink.Pixel(x, y) == kBlack) {
                out.SetPixel(x, y, 0xF08080);
            }
        }
    }
    return out;
}

// Every stray dark pixel with the character that drew it, as "row:x 'c'",
// so that a reader sees which glyphs the decoder pays for beyond the ink.
std::string StrayOwners(const TextRows& rows, const Image& ink, const Image& text) {
    std::string out;
    for (int y = 0; y < kInkHeight; ++y) {
        for (int x = 0; x < kCanvasWidth; ++x) {
            if (text.Pixel(x, y) != kBlack || InkNear(ink, x, y)) continue;
            const int row = y / kInkRowHeight;
            int left = 0;
            for (const TextCell& cell : rows[static_cast<std::size_t>(row)]) {
                left += cell.gap;
                if (x < left + cell.width) {
                    const Result<std::string> utf8 = Cp932ToUtf8(cell.text);
                    char where[64];
                    std::snprintf(where, sizeof where, " %d:%d+%d,%d", row, left, x - left, y % kInkRowHeight);
                    out += where;
                    out += " '" + (utf8 ? *utf8 : std::string("?")) + "'";
                    break;
                }
                left += cell.width;
            }
        }
    }
    return out;
}

int Run(const Options& options, const std::string& facePath) {
    bench::QualityEngine q;
    if (Status loaded = q.Load(); !loaded) return Fail(loaded.error().Message());
    const DecoderOptions decoderOptions{true, options.spacing};
    const FineDecoder* decoder = q.engine.Decoder(decoderOptions);

    std::vector<Drawing> drawings = StraightDrawings();
    const SlopeAnswers slopes = AnswersBySlope(q.font());
    for (Drawing& d : AngleDrawings(slopes)) drawings.push_back(std::move(d));
    if (options.each) {
        for (const auto& [degrees, answer] : slopes) {
            std::printf("slope %3d:", degrees);
            for (const std::string& c : answer) std::printf(" %s", c.c_str());
            std::printf("\n");
        }
    }
    for (Drawing& d : CurveDrawings()) drawings.push_back(std::move(d));
    Result<Drawing> face = FaceDrawing(facePath);
    if (!face) return Fail(face.error().Message());
    drawings.push_back(std::move(*face));
    if (!options.writeDir.empty()) std::filesystem::create_directories(options.writeDir);

    std::printf("%-18s %5s  %5s  %5s %4s  %6s %5s  %5s %5s %5s %5s\n", "family", "n", "clean",
                "dist", "most", "stray", "any", "F1@0", "F1@2", "F1@3", "dark");
    for (double wobble : options.wobbles) {
        std::map<std::string, Tally> tallies;
        std::map<std::string, Tally> byHeight;  // level strokes by their height
        std::uint32_t seed = 1;
        for (const Drawing& drawing : drawings) {
            ++seed;
            if (!options.only.empty() && drawing.family != options.only) continue;
            ArtState state(q.engine.matcher(), &q.engine.painter());
            state.SetFineDecoder(decoder);
            state.SetStabilizer(options.stabilizer);
            for (const auto& path : drawing.strokes) {
                const auto points = bench::DrawnPoints(path, bench::HandOfWobble(wobble, seed * 7919u));
                state.BeginStroke(points.front());
                for (std::size_t i = 1; i < points.size(); ++i) state.ExtendStroke(points[i]);
                state.EndStroke();
                // The fine decoder reads a row whole from its ink: the rows after
                // the last paint do not depend on how often the window painted.
                state.RunPendingConversion();
            }
            ExportOptions exportOptions;
            exportOptions.spacing = options.spacing;
            const Result<std::string> text = ComposeExportUtf8(state.rows(), exportOptions);
            if (!text) return Fail(text.error().Message());
            const std::vector<std::string> visible = VisibleCharacters(*text);
            Score score;
            score.distinct = static_cast<int>(std::set<std::string>(visible.begin(), visible.end()).size());
            if (drawing.artists) {
                const auto artists = static_cast<std::size_t>(std::count_if(
                    visible.begin(), visible.end(),
                    [&](const std::string& c) { return drawing.artists->count(c) > 0; }));
                score.clean = !visible.empty() && artists * 10 >= visible.size() * 9;
            }
            const Image drawn = DrawRowsAsInk(q.painter(), state.rows());
            score.quality = MeasureQuality(drawn, state.inkLayer());
            score.stray = score.quality.drawn - score.quality.at[3].drawnMatched;
            tallies[drawing.family].Add(score, drawing.artists != nullptr);
            if (drawing.family == "level") byHeight[drawing.name.substr(0, 9)].Add(score, true);
            if (options.each) {
                std::printf("%s wobble %.1f%s%s:\n%s\n", drawing.name.c_str(), wobble,
                            drawing.artists ? (score.clean ? " clean" : " NOT clean") : "",
                            score.stray ? " stray" : "", text->c_str());
                if (score.stray) std::printf("strays:%s\n", StrayOwners(state.rows(), state.inkLayer(), drawn).c_str());
            }
            if (!options.writeDir.empty()) {
                char suffix[32];
                std::snprintf(suffix, sizeof suffix, "-w%.1f", wobble);
                const std::string base = options.writeDir + "/" + drawing.name + suffix;
                if (Status s = WriteFileBytes(base + ".txt", *text); !s) return Fail(s.error().Message());
                const Result<std::string> png = EncodePng(Overlay(state.inkLayer(), drawn));
                if (!png) return Fail(png.error().Message());
                if (Status s = WriteFileBytes(base + ".png", *png); !s) return Fail(s.error().Message());
            }
        }
        std::printf("wobble %.1f px\n", wobble);
        for (const auto& [family, tally] : tallies) tally.Print(family.c_str());
        if (options.only.empty() || options.only == "level") {
            for (const auto& [height, tally] : byHeight) tally.Print(("  " + height).c_str());
        }
    }
    return 0;
}

}  // namespace
}  // namespace fudeline

int main(int argc, char** argv) {
    using namespace fudeline;
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--wobble" && hasValue) {
            options.wobbles.clear();
            const std::string list = argv[++i];
            for (std::size_t from = 0; from <= list.size();) {
                const std::size_t comma = std::min(list.find(',', from), list.size());
                try {
                    options.wobbles.push_back(std::stod(list.substr(from, comma - from)));
                } catch (const std::exception&) {
                    return Fail("--wobble takes amplitudes in px separated by commas");
                }
                from = comma + 1;
            }
        } else if (arg == "--spacing" && hasValue) {
            const std::string value = argv[++i];
            if (value == "fillers") {
                options.spacing = Spacing::Fillers;
            } else if (value == "spaces") {
                options.spacing = Spacing::Spaces;
            } else {
                return Fail("--spacing takes fillers or spaces");
            }
        } else if (arg == "--stabilizer" && hasValue) {
            const std::optional<Stabilizer> stabilizer = ParseStabilizer(argv[++i]);
            if (!stabilizer) return Fail("--stabilizer takes off, weak or strong");
            options.stabilizer = *stabilizer;
        } else if (arg == "--only" && hasValue) {
            options.only = argv[++i];
        } else if (arg == "--each") {
            options.each = true;
        } else if (arg == "--write" && hasValue) {
            options.writeDir = argv[++i];
        } else {
            return Fail("unknown argument " + arg + "\n" + kUsage);
        }
    }
    return Run(options, FUDELINE_SOURCE_DIR "/res/sample.replay");
}
