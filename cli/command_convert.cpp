// convert IMAGE: the text art of an ink image (black pixels are ink).
#include <memory>

#include "cli/commands.h"
#include "cli/conversion_options.h"
#include "cli/option_checks.h"
#include "io/ink_image.h"
#include "pixels/geometry.h"

namespace fudeline::cli {

Command AddConvertCommand(CLI::App& app) {
    struct Options {
        std::string image;
        ConversionOptions conversion;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command =
        app.add_subcommand("convert", std::string("Convert an ink image (") + kInkImageFormats +
                                          "; black pixels are ink) to text art");
    command->add_option("IMAGE", options->image, "The image; - reads standard input")
        ->required()
        ->check(NonEmptyName());
    AddConversionOptions(*command, options->conversion);
    return {command, [options] {
                return RunConversion(options->conversion, "image", [&](ArtState& state) -> Status {
                    Result<Image> image =
                        ReadInkImage(options->image, kInkClipRight + 1, kInkHeight);
                    if (!image) return std::move(image).error();
                    state.LayInk(*image);
                    return {};
                });
            }};
}

}  // namespace fudeline::cli
