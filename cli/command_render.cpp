// render [TEXT|-] -o OUT.png: text art drawn as the canvas draws it, for
// sharing where the text would lose its font.
#include <unistd.h>

#include <memory>

#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/option_checks.h"
#include "cli/report.h"
#include "cli/text_art_input.h"
#include "engine/engine.h"
#include "files/file_bytes.h"
#include "io/png_writer.h"
#include "pixels/geometry.h"
#include "render/text_art_picture.h"

namespace fudeline::cli {
namespace {

// A picture this large takes 128 MB and about a second to encode; text asking
// for more is refused rather than left to exhaust memory and time (twice as
// many pixels took over 2 s).
constexpr std::int64_t kMaxRenderPixels = std::int64_t{1} << 25;

// Refuses text whose picture the renderer would have to cut, since a cut
// picture silently loses art. Checked line by line as the text is read, so
// text far too large is refused at the first line that shows it.
class PictureSizeCheck {
  public:
    explicit PictureSizeCheck(const MonaFont& font) : font_(&font) {}

    Status operator()(std::size_t index, const std::u32string& line) {
        const std::size_t count = index + 1;
        if (count > std::size_t{kMaxTextArtLines}) {
            return Error{"", kinds::RenderTooManyLines, kMaxTextArtLines};
        }
        const std::int64_t width = TextLineWidth(line, *font_);
        if (width > kMaxTextArtWidth) {
            return Error{"", kinds::RenderLineTooWide, count, width, kMaxTextArtWidth};
        }
        widest_ = std::max(widest_, width);
        const std::int64_t height = static_cast<std::int64_t>(count) * kRowHeight;
        if (widest_ * height > kMaxRenderPixels) {
            return Error{"", kinds::RenderTooManyPixels, widest_, height, kMaxRenderPixels};
        }
        return {};
    }

  private:
    const MonaFont* font_;
    std::int64_t widest_ = 0;
};

}  // namespace

Command AddRenderCommand(CLI::App& app) {
    struct Options {
        std::string text = kStandardStreamName;
        bool sjis = false;
        std::string output = kStandardStreamName;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command = app.add_subcommand(
        "render", "Draw text art as a PNG picture: the Mona face, black on white, 18-pixel rows");
    command->add_option("TEXT", options->text, "The text art (default -: standard input)")
        ->check(NonEmptyName());
    command->add_flag("--sjis", options->sjis, "The text is Shift-JIS instead of UTF-8");
    command
        ->add_option("-o,--output", options->output,
                     "Write the PNG to FILE (default: standard output, unless it is a terminal)")
        ->check(NonEmptyName())
        ->type_name("FILE");
    return {command, [options] {
                // PNG bytes would garble a terminal, so a terminal needs a file named.
                if (options->output == kStandardStreamName && isatty(STDOUT_FILENO)) {
                    return ReportFailure(
                        "write", Error{OutputName(options->output), kinds::PngNotForTerminal});
                }
                // The picture needs the face alone, not the catalogue.
                Engine engine;
                if (Status opened = engine.OpenFace(); !opened) {
                    return ReportFailure("open font", opened.error());
                }
                const MonaFont& face = engine.face();
                const Result<std::vector<std::u32string>> lines =
                    ReadTextArtLines(options->text, options->sjis, face, PictureSizeCheck(face));
                if (!lines) return ReportFailure("read text", lines.error());
                const Result<std::string> png = EncodePng(RenderTextArt(*lines, face));
                if (!png) return ReportFailure("draw text", png.error());
                if (Status written = WriteFileBytes(options->output, *png); !written) {
                    return ReportFailure("write", written.error());
                }
                return 0;
            }};
}

}  // namespace fudeline::cli
