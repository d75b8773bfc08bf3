// fudeline_round_trip: text art with a known answer, drawn as ink with the
// text face, converted back and compared with itself. See kUsage.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/quality/quality_engine.h"
#include "bench/quality/round_trip/chars_back.h"
#include "bench/quality/round_trip/text_art_maker.h"
#include "export/cells_format.h"
#include "files/file_bytes.h"
#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "glyphs/utf8.h"
#include "io/png_writer.h"
#include "text/text_art_lines.h"

namespace fudeline {
namespace {

constexpr int kExitError = 2;

constexpr const char* kUsage =
    "usage: fudeline_round_trip [--count N] [--seed S] [--texts DIR] [--part P]\n"
    "                           [--wobble A,...] [--write DIR] [--each]\n"
    "\n"
    "Text art whose source is the right answer: each piece is drawn with the text\n"
    "face into the ink layer (line n at ink y 16 n), converted with the row matcher\n"
    "and with the fine decoder, and the text drawn back is compared with the ink.\n"
    "\n"
    "  --count N     pieces to make (default 60)\n"
    "  --seed S      the set to make (default 15); the same pieces every run\n"
    "  --texts DIR   take the pieces from the .txt files under DIR instead (UTF-8\n"
    "                with character references, or Shift-JIS), in path order\n"
    "  --part P      with --texts: all (default), held (every fifth piece, those\n"
    "                the fine decoder's glyph prior was not counted on) or counted\n"
    "  --wobble A,.. also trace each piece by an unsteady hand: every ink pixel\n"
    "                moved by a smooth random field (wavelengths 30-90 px) whose\n"
    "                displacement is A px (root mean square), decoded with the fine\n"
    "                decoder and scored against the source and against the moved ink\n"
    "  --write DIR   also write each piece's source (.txt, Shift-JIS), its ink\n"
    "                (.png) and the fine decoder's rows (-fine.cells)\n"
    "  --each        print every piece's measures, not only the means\n"
    "  -h, --help    print this and exit\n"
    "\n"
    "Columns: F1 at 0, 1 and 2 px, dark pixels drawn per ink pixel, the two-way\n"
    "distance (px, capped at 4), and back: the source's characters found again,\n"
    "in order, on their line (spaces left out of both), per source character.\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "fudeline_round_trip: %s\n", message.c_str());
    return kExitError;
}

bool IsSpace(const std::string& sjis) { return sjis == " " || sjis == "\x81\x40"; }

// A source piece: each line's characters as code points and as Shift-JIS.
struct Piece {
    std::string name;
    std::vector<std::u32string> lines;
    std::vector<bench::CharLine> chars;  // Shift-JIS, spaces dropped, only what fits the canvas
};

Piece FromCodePoints(std::string name, std::vector<std::u32string> lines, const MonaFont& font) {
    Piece piece{std::move(name), std::move(lines), {}};
    for (const std::u32string& line : piece.lines) {
        bench::CharLine chars;
        int pen = 0;
        for (char32_t c : line) {
            const FontGlyph* glyph = font.GlyphFor(c);
            if (!glyph) continue;
            pen += glyph->advance;
            const Result<std::string> sjis = Utf8ToCp932(Utf8Of(c));
            if (pen <= kCanvasWidth && sjis && !IsSpace(*sjis)) chars.push_back(*sjis);
        }
        piece.chars.push_back(std::move(chars));
    }
    return piece;
}

// A piece as opening text art reads it: UTF-8 where it decodes as UTF-8,
// otherwise Shift-JIS, character references as the characters they stand for.
Result<Piece> FromFile(const std::filesystem::path& path, const std::string& name,
                       const MonaFont& font) {
    Result<std::string> bytes = ReadFileBytes(path.string());
    if (!bytes) return std::move(bytes).error();
    Result<std::vector<std::u32string>> lines = DecodeTextArt(*bytes, TextEncoding::Utf8);
    if (!lines) lines = DecodeTextArt(*bytes, TextEncoding::ShiftJis);
    if (!lines) {
        Error error = lines.error();
        error.path = path.string();
        return error;
    }
    return FromCodePoints(name, std::move(*lines), font);
}

// The ink moved as an unsteady hand would trace it: each pixel by a smooth
// random field, the sum of four plane waves per axis with wavelengths of 30 to
// 90 px, scaled so that the displacement's root mean square length is
// `amplitude`. One field per seed, so every amplitude bends the same way.
Image Wobble(const Image& ink, double amplitude, std::uint32_t seed) {
    struct Wave {
        double kx, ky, phase;
    };
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    constexpr double kTau = 6.283185307179586;
    auto waves = [&] {
        std::array<Wave, 4> out;
        for (Wave& w : out) {
            const double length = 30.0 + 60.0 * unit(rng);
            const double angle = kTau * unit(rng);
            w = {kTau / length * std::cos(angle), kTau / length * std::sin(angle), kTau * unit(rng)};
        }
        return out;
    };
    const auto wx = waves(), wy = waves();
    // Four waves of amplitude a have variance 2 a^2 per axis; both axes
    // together 4 a^2.
    const double a = amplitude / 2.0;
    auto sum = [&](const std::array<Wave, 4>& w, int x, int y) {
        double v = 0;
        for (const Wave& k : w) v += std::sin(k.kx * x + k.ky * y + k.phase);
        return a * v;
    };
    Image out(ink.width(), ink.height(), kWhite);
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            if (ink.Pixel(x, y) != kBlack) continue;
            out.SetPixel(static_cast<int>(std::lround(x + sum(wx, x, y))),
                         static_cast<int>(std::lround(y + sum(wy, x, y))), kBlack);
        }
    }
    return out;
}

std::vector<bench::CharLine> RowChars(const TextRows& rows) {
    std::vector<bench::CharLine> out;
    for (const TextRow& row : rows) {
        bench::CharLine chars;
        for (const TextCell& cell : row) {
            if (!IsSpace(cell.text)) chars.push_back(cell.text);
        }
        out.push_back(std::move(chars));
    }
    return out;
}

struct Options {
    int count = 60;
    std::uint32_t seed = 15;
    std::string textsDir, writeDir, part = "all";
    std::vector<double> wobbles;
    bool each = false;
};

int Run(const Options& options) {
    bench::QualityEngine engine;
    if (Status loaded = engine.Load(); !loaded) return Fail(loaded.error().Message());
    std::vector<Piece> pieces;
    if (!options.textsDir.empty()) {
        std::vector<std::string> files;
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(options.textsDir, ec)) {
            if (entry.path().extension() == ".txt") {
                files.push_back(entry.path().lexically_relative(options.textsDir).generic_string());
            }
        }
        if (ec) return Fail("cannot list " + options.textsDir + ": " + ec.message());
        std::sort(files.begin(), files.end());
        for (std::size_t i = 0; i < files.size(); ++i) {
            // Every fifth piece is the part the glyph prior's counts left out.
            const bool held = i % 5 == 4;
            if ((options.part == "held" && !held) || (options.part == "counted" && held)) continue;
            std::string name = files[i].substr(0, files[i].size() - 4);
            std::replace(name.begin(), name.end(), '/', '-');
            Result<Piece> piece =
                FromFile(std::filesystem::path(options.textsDir) / files[i], name, engine.font());
            if (!piece) return Fail(piece.error().Message());
            pieces.push_back(std::move(*piece));
        }
        if (pieces.empty()) return Fail("no .txt pieces in " + options.textsDir);
    } else {
        for (int i = 0; i < options.count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "piece-%03d", i);
            pieces.push_back(FromCodePoints(
                name, bench::MakeTextArt(engine.font(), options.seed, i).lines, engine.font()));
        }
    }

    const char* names[2] = {"greedy", "fine"};
    const DecoderOptions decoders[2] = {{}, {true}};
    bench::QualityMeans means[2];
    if (options.each) std::printf("%-12s | %s  back | %s  back\n", "piece", bench::kQualityColumns,
                                  bench::kQualityColumns);
    for (const Piece& piece : pieces) {
        const Image ink = bench::DrawTextArt(engine.font(), piece.lines);
        if (options.each) std::printf("%-12s", piece.name.c_str());
        for (int k = 0; k < 2; ++k) {
            const TextRows rows = engine.Rows(ink, decoders[k]);
            const Quality q = engine.Measure(rows, ink);
            const double back = bench::CountCharsBack(piece.chars, RowChars(rows)).Ratio();
            means[k].Add(q, back);
            if (options.each) {
                std::printf(" | ");
                bench::PrintQuality(q);
                std::printf(" %5.3f", back);
            }
            if (!options.writeDir.empty() && k == 1) {
                const std::string stem = options.writeDir + "/" + piece.name;
                std::string text;
                for (const auto& line : piece.lines) {
                    // A character Shift-JIS lacks (a Unicode space) as a reference.
                    for (char32_t c : line) {
                        const Result<std::string> sjis = Utf8ToCp932(Utf8Of(c));
                        char reference[16];
                        std::snprintf(reference, sizeof reference, "&#x%X;",
                                      static_cast<unsigned>(c));
                        text.append(sjis ? *sjis : std::string(reference));
                    }
                    text.append("\r\n");
                }
                if (Status s = WriteFileBytes(stem + ".txt", text); !s) {
                    return Fail(s.error().Message());
                }
                const Result<std::string> png = EncodeInkPng(ink);
                if (!png) return Fail(png.error().Message());
                if (Status s = WriteFileBytes(stem + ".png", *png); !s) {
                    return Fail(s.error().Message());
                }
                if (Status s = WriteFileBytes(stem + "-fine.cells", FormatCells(rows)); !s) {
                    return Fail(s.error().Message());
                }
            }
        }
        if (options.each) std::printf("\n");
    }
    std::printf("%zu pieces%s\n%-8s | %s  back\n", pieces.size(),
                options.textsDir.empty() ? "" : (" from " + options.textsDir).c_str(), "",
                bench::kQualityColumns);
    for (int k = 0; k < 2; ++k) {
        std::printf("%-8s | ", names[k]);
        bench::PrintMeans(means[k]);
        std::printf(" %5.3f\n", means[k].Mean(means[k].charsBack));
    }
    if (options.wobbles.empty()) return 0;
    std::printf("\ntraced by an unsteady hand, fine decoder\n%-8s | %s  back | moved: %s\n",
                "wobble", bench::kQualityColumns, bench::kQualityColumns);
    for (double amplitude : options.wobbles) {
        bench::QualityMeans original, moved;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const Image ink = bench::DrawTextArt(engine.font(), pieces[i].lines);
            const Image traced = Wobble(ink, amplitude, static_cast<std::uint32_t>(1000 + i));
            const TextRows rows = engine.Rows(traced, DecoderOptions{true});
            original.Add(engine.Measure(rows, ink),
                         bench::CountCharsBack(pieces[i].chars, RowChars(rows)).Ratio());
            moved.Add(engine.Measure(rows, traced));
            if (!options.writeDir.empty()) {
                char suffix[32];
                std::snprintf(suffix, sizeof suffix, "-wobble%.1f", amplitude);
                const std::string stem = options.writeDir + "/" + pieces[i].name + suffix;
                const Result<std::string> png = EncodeInkPng(traced);
                if (!png) return Fail(png.error().Message());
                if (Status s = WriteFileBytes(stem + ".png", *png); !s) {
                    return Fail(s.error().Message());
                }
                if (Status s = WriteFileBytes(stem + "-fine.cells", FormatCells(rows)); !s) {
                    return Fail(s.error().Message());
                }
            }
        }
        std::printf("%5.1f px | ", amplitude);
        bench::PrintMeans(original);
        std::printf(" %5.3f | moved: ", original.Mean(original.charsBack));
        bench::PrintMeans(moved);
        std::printf("\n");
    }
    return 0;
}

}  // namespace
}  // namespace fudeline

int main(int argc, char** argv) {
    using fudeline::Fail;
    const std::vector<std::string> args(argv + 1, argv + argc);
    fudeline::Options options;
    try {
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& arg = args[i];
            const bool hasValue = i + 1 < args.size();
            if (arg == "-h" || arg == "--help") {
                std::fputs(fudeline::kUsage, stdout);
                return 0;
            } else if (arg == "--count" && hasValue) {
                options.count = std::stoi(args[++i]);
            } else if (arg == "--seed" && hasValue) {
                options.seed = static_cast<std::uint32_t>(std::stoul(args[++i]));
            } else if (arg == "--texts" && hasValue) {
                options.textsDir = args[++i];
            } else if (arg == "--part" && hasValue) {
                options.part = args[++i];
                if (options.part != "all" && options.part != "held" && options.part != "counted") {
                    return Fail("--part takes all, held or counted");
                }
            } else if (arg == "--wobble" && hasValue) {
                std::string list = args[++i];
                for (std::size_t from = 0; from <= list.size();) {
                    const std::size_t comma = std::min(list.find(',', from), list.size());
                    options.wobbles.push_back(std::stod(list.substr(from, comma - from)));
                    from = comma + 1;
                }
            } else if (arg == "--write" && hasValue) {
                options.writeDir = args[++i];
            } else if (arg == "--each") {
                options.each = true;
            } else {
                return Fail("unexpected argument \"" + arg + "\" (see --help)");
            }
        }
        return fudeline::Run(options);
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}
