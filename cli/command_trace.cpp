// trace PICTURE: the text art of a picture's lines (line art, scans, photos).
#include <unistd.h>

#include <charconv>
#include <memory>
#include <utility>
#include <vector>

#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/conversion_options.h"
#include "cli/option_checks.h"
#include "cli/report.h"
#include "engine/trace_file.h"
#include "io/colour_picture.h"
#include "io/file_bytes.h"
#include "io/library_pixels.h"
#include "io/picture_decoder.h"
#include "io/png_writer.h"
#include "lines/trace_memory.h"
#include "lines/trace_picture.h"

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


}  // namespace

Command AddTraceCommand(CLI::App& app) {
    struct Options {
        std::string picture;
        std::string scale;  // empty: fit the canvas
        std::string mode = "auto";
        std::string offset;
        std::string saveInk;
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
    command
        ->add_option("--scale", options->scale,
                     "Scale the picture by PERCENT instead of fitting it to the canvas")
        ->check(DecimalInRange(kMinScalePercent, kMaxScalePercent))
        ->type_name("PERCENT");
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
                const Result<TracedInk> found = TraceFile(options->picture, trace, LibraryPixels());
                if (!found) return ReportFailure("read picture", found.error());
                const TracedInk& traced = *found;
                std::vector<SideOutput> sideOutputs;
                if (!options->saveInk.empty()) {
                    Result<std::string> png = EncodeInkPng(traced.ink);
                    if (!png) return ReportFailure("write ink layer", png.error());
                    sideOutputs.push_back({"write ink layer", options->saveInk, std::move(*png)});
                }
                return RunConversion(
                    options->conversion, "picture",
                    [&](Document& document) {
                        document.state().LayInk(traced.ink);
                        return Status();
                    },
                    std::move(sideOutputs));
            }};
}

}  // namespace fudeline::cli
