// catalogue --font FILE --out DIR: the glyph catalogue files generated from
// the text face, so the patterns matched are the pixels drawn.
#include <memory>

#include "cli/commands.h"
#include "cli/option_checks.h"
#include "cli/report.h"
#include "io/catalog_files.h"

namespace fudeline::cli {

Command AddCatalogueCommand(CLI::App& app) {
    struct Options {
        std::string font;
        std::string out;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command =
        app.add_subcommand("catalogue", "Generate the glyph catalogue files from the Mona face");
    command
        ->add_option("--font", options->font,
                     "The baked Mona 16-pixel face (mona16.glyphs, beside the program)")
        ->check(NonEmptyName())
        ->type_name("FILE")
        ->required();
    command
        ->add_option("--out", options->out, "Folder to write the catalogue into (made if missing)")
        ->check(NonEmptyName())
        ->type_name("DIR")
        ->required();
    return {command, [options] {
                const auto font = MonaFont::Open(options->font);
                if (!font) return ReportFailure("open font", font.error());
                const Status written = WriteGlyphCatalogFiles(**font, options->out);
                if (!written) return ReportFailure("write catalogue", written.error());
                return 0;
            }};
}

}  // namespace fudeline::cli
