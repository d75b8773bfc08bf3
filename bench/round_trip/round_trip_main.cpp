// fudeline_round_trip: text art with a known answer, drawn as ink with the
// text face, converted back and compared with itself. See kUsage.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "export/cells_format.h"
#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "glyphs/utf8.h"
#include "io/file_bytes.h"
#include "io/png_writer.h"
#include "quality_engine.h"
#include "round_trip/chars_back.h"
#include "round_trip/text_art_maker.h"

namespace fudeline {
namespace {

constexpr int kExitError = 2;

constexpr const char* kUsage =
    "usage: fudeline_round_trip [--count N] [--seed S] [--texts DIR] [--write DIR] [--each]\n"
    "\n"
    "Text art whose source is the right answer: each piece is drawn with the text\n"
    "face into the ink layer (line n at ink y 16 n), converted with the row matcher\n"
    "and with the fine decoder, and the text drawn back is compared with the ink.\n"
    "\n"
    "  --count N     pieces to make (default 60)\n"
    "  --seed S      the set to make (default 15); the same pieces every run\n"
    "  --texts DIR   take the pieces from DIR/*.txt (Shift-JIS) instead\n"
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

Result<Piece> FromFile(const std::filesystem::path& path, const MonaFont& font) {
    Result<std::string> bytes = ReadFileBytes(path.string());
    if (!bytes) return std::move(bytes).error();
    std::vector<std::u32string> lines(1);
    const std::string& text = *bytes;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length =
            IsSingleByteChar(static_cast<unsigned char>(text[i])) || i + 1 == text.size() ? 1 : 2;
        const std::string_view c(text.data() + i, length);
        i += length;
        if (c == "\r") continue;
        if (c == "\n") {
            lines.emplace_back();
            continue;
        }
        if (const auto code = Cp932CharToUnicode(c)) lines.back() += *code;
    }
    return FromCodePoints(path.stem().string(), std::move(lines), font);
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
    std::string textsDir, writeDir;
    bool each = false;
};

int Run(const Options& options) {
    bench::QualityEngine engine;
    if (Status loaded = engine.Load(); !loaded) return Fail(loaded.error().Message());
    std::vector<Piece> pieces;
    if (!options.textsDir.empty()) {
        std::vector<std::filesystem::path> files;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(options.textsDir, ec)) {
            if (entry.path().extension() == ".txt") files.push_back(entry.path());
        }
        if (ec) return Fail("cannot list " + options.textsDir + ": " + ec.message());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            Result<Piece> piece = FromFile(file, engine.font());
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
                    std::string utf8;
                    for (char32_t c : line) utf8 += Utf8Of(c);
                    const Result<std::string> sjis = Utf8ToCp932(utf8);
                    text += (sjis ? *sjis : std::string()) + "\r\n";
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
