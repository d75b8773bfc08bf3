// trace PICTURE: the text art of a picture's lines (line art, scans, photos).
#include <charconv>
#include <memory>

#include "cli/commands.h"
#include "cli/conversion_options.h"
#include "cli/report.h"
#include "io/file_bytes.h"
#include "io/picture_decoder.h"
#include "io/png_writer.h"
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

}  // namespace

Command AddTraceCommand(CLI::App& app) {
    struct Options {
        std::string picture;
        double scalePercent = 0;  // 0: fit the canvas
        std::string mode = "auto";
        std::string offset;
        std::string saveInk;
        ConversionOptions conversion;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command = app.add_subcommand(
        "trace", "Convert the lines of a picture (PNG, JPEG, WebP, GIF, BMP or PNM) to text art");
    command->add_option("PICTURE", options->picture, "The picture; - reads standard input")
        ->required();
    command
        ->add_option("--mode", options->mode,
                     "lineart: dark strokes on light paper; photo: edges of a photo or scan; "
                     "auto (default): chosen from the picture")
        ->check(CLI::IsMember({"auto", "lineart", "photo"}))
        ->type_name("MODE");
    command
        ->add_option("--scale", options->scalePercent,
                     "Scale the picture by PERCENT instead of fitting it to the canvas")
        ->check(CLI::Range(kMinScalePercent, kMaxScalePercent))
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
                     "Also write the extracted ink layer as a PNG that convert reads")
        ->type_name("FILE.png");
    AddConversionOptions(*command, options->conversion, DefaultDecoder::Fine);
    return {command, [options] {
                TraceOptions trace;
                trace.mode = options->mode == "lineart" ? TraceMode::LineArt
                             : options->mode == "photo" ? TraceMode::Photo
                                                        : TraceMode::Auto;
                if (options->scalePercent > 0) trace.placement.scalePercent = options->scalePercent;
                if (!options->offset.empty()) ParseOffset(options->offset, trace.placement);

                const Result<GreyPicture> picture = ReadPicture(options->picture);
                if (!picture) return ReportFailure("read picture", picture.error());
                const TracedInk traced = TracePicture(*picture, trace);
                if (!options->saveInk.empty()) {
                    const Result<std::string> png = EncodeInkPng(traced.ink);
                    const Status saved =
                        png ? WriteFileBytes(options->saveInk, *png) : Status(png.error());
                    if (!saved) return ReportFailure("write ink layer", saved.error());
                }
                return RunConversion(options->conversion, "picture", [&](ArtState& state) {
                    state.LayInk(traced.ink);
                    return Status();
                });
            }};
}

}  // namespace fudeline::cli
