// fudeline-cli: the conversion engine without a window.
//
//   fudeline-cli convert IMAGE [--catalogue-dir DIR] [--br] [--sjis | --cells]
//   fudeline-cli replay SCRIPT [--catalogue-dir DIR] [--br] [--sjis | --cells]
//   fudeline-cli catalogue --font FILE --out DIR
//
// Errors go to stderr with exit status 2; nothing is written to stdout then.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "session/art_state.h"
#include "pixels/geometry.h"
#include "export/cells_format.h"
#include "io/ink_image.h"
#include "session/replay_player.h"
#include "session/replay_script.h"
#include "convert/row_matcher.h"
#include "export/export_text.h"
#include "glyphs/catalog_loader.h"
#include "glyphs/catalog_writer.h"
#include "glyphs/cp932.h"
#include "glyphs/exe_dir.h"

namespace fudeline {
namespace {

constexpr int kExitError = 2;

struct Options {
    std::string command;
    std::string input;
    std::string catalogueDir;
    std::string fontPath;
    std::string outDir;
    bool br = false;
    enum class Output { Utf8, Sjis, Cells } output = Output::Utf8;
};

int Usage(const std::string& problem) {
    std::cerr
        << "fudeline-cli: " << problem << "\n"
        << "usage: fudeline-cli convert IMAGE [--catalogue-dir DIR] [--br] [--sjis | --cells]\n"
        << "       fudeline-cli replay SCRIPT [--catalogue-dir DIR] [--br] [--sjis | --cells]\n"
        << "       fudeline-cli catalogue --font FILE --out DIR\n";
    return kExitError;
}

int Error(const std::string& message) {
    std::cerr << "fudeline-cli: " << message << "\n";
    return kExitError;
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& problem) {
    if (argc < 2) {
        problem = "no command given";
        return false;
    }
    options.command = argv[1];
    const bool conversion = options.command == "convert" || options.command == "replay";
    if (!conversion && options.command != "catalogue") {
        problem = "unknown command \"" + options.command + "\"";
        return false;
    }
    bool outputChosen = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                problem = arg + " needs a value";
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (conversion && arg == "--catalogue-dir") {
            if (!value(options.catalogueDir)) return false;
        } else if (conversion && arg == "--br") {
            options.br = true;
        } else if (conversion && (arg == "--sjis" || arg == "--cells")) {
            if (outputChosen) {
                problem = "choose one of --sjis and --cells";
                return false;
            }
            outputChosen = true;
            options.output = arg == "--sjis" ? Options::Output::Sjis : Options::Output::Cells;
        } else if (!conversion && arg == "--font") {
            if (!value(options.fontPath)) return false;
        } else if (!conversion && arg == "--out") {
            if (!value(options.outDir)) return false;
        } else if (conversion && options.input.empty() && !arg.starts_with("--")) {
            options.input = arg;
        } else {
            problem = "unexpected argument \"" + arg + "\"";
            return false;
        }
    }
    if (conversion && options.input.empty()) {
        problem = options.command + " needs an input file";
        return false;
    }
    if (!conversion && (options.fontPath.empty() || options.outDir.empty())) {
        problem = "catalogue needs --font FILE and --out DIR";
        return false;
    }
    return true;
}

int WriteResult(const ArtState& state, const Options& options) {
    std::string out;
    switch (options.output) {
        case Options::Output::Cells:
            out = FormatCells(state.rows());
            break;
        case Options::Output::Sjis:
            out = ComposeExportText(state.rows(), options.br);
            break;
        case Options::Output::Utf8:
            out = Cp932ToUtf8(ComposeExportText(state.rows(), options.br));
            // The export never ends with a line break; give a terminal one.
            if (isatty(STDOUT_FILENO) && !out.empty()) out += '\n';
            break;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : Error("cannot write the output");
}

int Convert(const Options& options) {
    std::string dir = options.catalogueDir.empty() ? FindDataDirectory(kSingleByteCatalogName)
                                                   : options.catalogueDir;
    GlyphCatalog catalog;
    CatalogLoadError loadError;
    if (!LoadGlyphCatalog(dir, catalog, &loadError)) {
        return Error("cannot load glyph catalogue " + loadError.path + ": " + loadError.reason);
    }
    const RowMatcher matcher(catalog);
    ArtState state(matcher, nullptr);

    if (options.command == "convert") {
        std::string why;
        const auto image = ReadInkImage(options.input, kInkClipRight + 1, kInkHeight, &why);
        if (!image) return Error("cannot read image " + options.input + ": " + why);
        state.LayInk(*image);
    } else {
        std::ifstream file(options.input, std::ios::binary);
        std::error_code ec;
        if (!file || std::filesystem::is_directory(options.input, ec)) {
            return Error("cannot read script " + options.input);
        }
        std::stringstream text;
        text << file.rdbuf();
        std::string why;
        const auto events = ParseReplayScript(text.str(), &why);
        if (!events) return Error(options.input + ": " + why);
        PlayReplayEvents(*events, state);
    }
    return WriteResult(state, options);
}

int MakeCatalogue(const Options& options) {
    std::string why;
    const auto font = MonaFont::Open(options.fontPath, &why);
    if (!font) return Error("cannot open font " + options.fontPath + ": " + why);
    if (!WriteGlyphCatalogFiles(*font, options.outDir, &why)) {
        return Error("cannot write catalogue: " + why);
    }
    return 0;
}

}  // namespace
}  // namespace fudeline

int main(int argc, char** argv) {
    using namespace fudeline;
    Options options;
    std::string problem;
    if (!ParseOptions(argc, argv, options, problem)) return Usage(problem);
    try {
        return options.command == "catalogue" ? MakeCatalogue(options) : Convert(options);
    } catch (const std::exception& e) {
        return Error(e.what());
    }
}
