// catalogue --font FILE [--size PX] --out DIR: the glyph catalogue files
// generated from a text face, so the patterns matched are the pixels drawn:
// the baked face beside the program, or any font FreeType reads.
#include <memory>

#include "cli/commands.h"
#include "cli/option_checks.h"
#include "cli/report.h"
#include "fonts/font_file.h"
#include "io/catalog_files.h"

namespace fudeline::cli {

Command AddCatalogueCommand(CLI::App& app) {
    struct Options {
        std::string font;
        std::string out;
        int size = kDefaultFontPixelSize;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command =
        app.add_subcommand("catalogue", "Generate the glyph catalogue files from a 16-pixel text face");
    command
        ->add_option("--font", options->font,
                     "The face: the baked mona16.glyphs beside the program, or any font file "
                     "FreeType reads (PCF, BDF, TrueType, OpenType)")
        ->check(NonEmptyName())
        ->type_name("FILE")
        ->required();
    command
        ->add_option("--size", options->size,
                     "Pixel size to read the font at: a bitmap font's strike, an outline font's "
                     "em (1-16, the text line's height)")
        ->check(WholeNumberFrom(1))
        ->type_name("PX");
    command
        ->add_option("--out", options->out, "Folder to write the catalogue into (made if missing)")
        ->check(NonEmptyName())
        ->type_name("DIR")
        ->required();
    return {command, [options] {
                const auto font = OpenFontFile(options->font, options->size);
                if (!font) return ReportFailure("open font", font.error());
                const Status written = WriteGlyphCatalogFiles(**font, options->out);
                if (!written) return ReportFailure("write catalogue", written.error());
                return 0;
            }};
}

}  // namespace fudeline::cli
