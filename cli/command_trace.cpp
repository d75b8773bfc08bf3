// trace PICTURE: the text art of a picture's lines (line art, scans, photos).
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <iostream>
#include <memory>
#include <utility>
#include <vector>

#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/conversion_options.h"
#include "cli/option_checks.h"
#include "cli/report.h"
#include "engine/fit_board.h"
#include "engine/trace_file.h"
#include "files/file_bytes.h"
#include "io/colour_picture.h"
#include "io/library_pixels.h"
#include "io/picture_decoder.h"
#include "io/png_writer.h"
#include "trace/trace_memory.h"
#include "trace/trace_picture.h"

namespace fudeline::cli {
namespace {

// "X,Y" in canvas pixels, each may be negative.
bool ParseOffset(const std::string& text, Placement& placement) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    auto parse = [](std::string_view part, int& value) {
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        return ec == std::errc() && end == part.data() + part.size() && !part.empty();
    };
    const std::string_view all(text);
    return parse(all.substr(0, comma), placement.offsetX) &&
           parse(all.substr(comma + 1), placement.offsetY);
}

// The ink layer may go to standard output only when the text does not, and
// not to a terminal, which PNG bytes would garble.
Status CheckInkOutput(const std::string& saveInk, const std::string& textOutput) {
    if (saveInk != kStandardStreamName) return {};
    if (textOutput == kStandardStreamName) {
        return Error{OutputName(saveInk), kinds::InkWhereTextGoes};
    }
    if (isatty(STDOUT_FILENO)) {
        return Error{OutputName(saveInk), kinds::InkNotForTerminal};
    }
    return {};
}


// A scale as --scale takes it: whole hundredths, no trailing zeros.
std::string FormatScalePercent(double percent) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", percent);
    std::string out(text);
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out;
}

}  // namespace

Command AddTraceCommand(CLI::App& app) {
    struct Options {
        std::string picture;
        std::string scale;  // empty: fit the canvas
        std::string mode = "auto";
        std::string offset;
        std::string saveInk;
        std::string fitBoard;  // empty: the size as --scale or the canvas says
        ConversionOptions conversion;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command = app.add_subcommand(
        "trace", "Convert the lines of a picture (PNG, JPEG, WebP, GIF, BMP or PNM) to text art");
    command->add_option("PICTURE", options->picture, "The picture; - reads standard input")
        ->required()
        ->check(NonEmptyName());
    command
        ->add_option("--mode", options->mode,
                     "auto (default): each part as what it is, thin strokes to their middle, "
                     "filled areas and flat colours to their outlines; lineart: dark strokes "
                     "on light paper; photo: edges of a photo or scan")
        ->check(CLI::IsMember({"auto", "lineart", "photo"}))
        ->type_name("MODE");
    auto* scale =
        command
            ->add_option("--scale", options->scale,
                         "Scale the picture by PERCENT instead of fitting it to the canvas")
            ->check(DecimalInRange(kMinScalePercent, kMaxScalePercent))
            ->type_name("PERCENT");
    command
        ->add_option("--fit-board", options->fitBoard,
                     "Trace at the largest size, up to the canvas's, whose text fits one post "
                     "on the board (as --board; the board --board counts for unless given), "
                     "and say on stderr the --scale chosen")
        ->check(BoardLimitsText())
        ->type_name(BoardLimitsTypeName())
        ->excludes(scale);
    command
        ->add_option("--offset", options->offset,
                     "Put the picture's top-left corner at canvas pixel X,Y (default 0,0)")
        ->check(CLI::Validator(
            [](std::string& text) {
                Placement unused;
                return ParseOffset(text, unused) ? std::string()
                                                 : "--offset takes X,Y in whole pixels";
            },
            "X,Y"))
        ->type_name("X,Y");
    command
        ->add_option("--save-ink", options->saveInk,
                     "Also write the extracted ink layer as a PNG that convert reads (written "
                     "only when the text is)")
        ->check(NonEmptyName())
        ->type_name("FILE.png");
    AddConversionOptions(*command, options->conversion, DefaultDecoder::Fine);
    return {command, [options] {
                TraceOptions trace;
                trace.mode = options->mode == "lineart" ? TraceMode::LineArt
                             : options->mode == "photo" ? TraceMode::Photo
                                                        : TraceMode::Auto;
                if (!options->scale.empty()) {
                    trace.placement.scalePercent = ParseDecimal(options->scale).value();
                }
                if (!options->offset.empty()) ParseOffset(options->offset, trace.placement);

                if (Status inkOut = CheckInkOutput(options->saveInk, options->conversion.output);
                    !inkOut) {
                    return ReportFailure("write ink layer", inkOut.error());
                }
                KeepFreedMemoryForTracing();
                if (!options->fitBoard.empty() && options->conversion.board.empty()) {
                    options->conversion.board = options->fitBoard;
                }
                std::vector<SideOutput> sideOutputs;
                auto lay = [&](Document& document, const TracedInk& traced) -> Status {
                    if (!options->saveInk.empty()) {
                        Result<std::string> png = EncodeInkPng(traced.ink);
                        if (!png) return png.error();
                        sideOutputs.push_back({"write ink layer", options->saveInk, std::move(*png)});
                    }
                    document.state().LayInk(traced.ink);
                    return {};
                };
                if (!options->fitBoard.empty()) {
                    // Read once, traced at each size tried.
                    const Result<std::string> bytes = ReadFileBytes(options->picture, kMaxPictureBytes);
                    if (!bytes) return ReportFailure("read picture", bytes.error());
                    return RunConversion(
                        options->conversion, "picture",
                        [&](Document& document) -> Status {
                            const BoardLimits limits = *ParseBoardLimits(options->fitBoard);
                            const std::string name = InputName(options->picture);
                            const Result<BoardFit> fit =
                                FitPictureToBoard(document, *bytes, trace, limits, LibraryPixels());
                            if (!fit) return fit.error().WithPath(name);
                            trace.placement.scalePercent = fit->scalePercent;
                            const Result<TracedInk> traced =
                                TraceFileBytes(*bytes, trace, LibraryPixels());
                            if (!traced) return traced.error().WithPath(name);
                            std::cerr << EscapeForTerminal(
                                             "fudeline-cli: " + name + " fits " +
                                             options->fitBoard + " at --scale " +
                                             FormatScalePercent(fit->scalePercent))
                                      << '\n';
                            return lay(document, *traced);
                        },
                        sideOutputs);
                }
                const Result<TracedInk> found = TraceFile(options->picture, trace, LibraryPixels());
                if (!found) return ReportFailure("read picture", found.error());
                return RunConversion(
                    options->conversion, "picture",
                    [&](Document& document) { return lay(document, *found); }, sideOutputs);
            }};
}

}  // namespace fudeline::cli
