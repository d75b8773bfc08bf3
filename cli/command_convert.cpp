// convert IMAGE: the text art of an ink image (black pixels are ink).
// convert --from-text FILE: existing text art (or one page of an MLT or AST
// file) drawn with the face as ink, its rows kept as written.
#include <cstdio>
#include <memory>

#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/conversion_options.h"
#include "cli/option_checks.h"
#include "cli/report.h"
#include "engine/engine_errors.h"
#include "engine/open_text_art.h"
#include "files/file_bytes.h"
#include "files/line_reader.h"
#include "io/ink_image.h"
#include "io/library_pixels.h"
#include "io/page_format.h"
#include "pixels/geometry.h"
#include "render/text_art_cells.h"

namespace fudeline::cli {
namespace {

// A text file's lines as far as the canvas can take them, read a line at a
// time: a file with more lines than the canvas rows is refused at the first
// line past them, and a line longer than any the canvas could show as soon as
// it passes the line limit, so a huge file costs neither its size in memory
// nor the time to read it all. Empty lines at the end do not count, as the
// drawing ignores them. The lines kept are given back joined, each with its
// break, for the drawing to split again exactly as the file would split.
Result<std::string> ReadTextArtFile(const std::string& path) {
    Result<LineReader> reader = LineReader::Open(path);
    if (!reader) return std::move(reader).error();
    std::string kept, line;
    std::size_t emptyRun = 0;  // empty lines since the last that was not
    for (;;) {
        const Result<bool> read = reader->Next(line);
        if (!read) return read.error();
        if (!*read) return kept;
        if (line.empty()) {
            ++emptyRun;
            continue;
        }
        if (reader->lineNumber() > static_cast<std::size_t>(kRowCount)) {
            return Error{InputName(path), kinds::TextOverCanvas, kRowCount};
        }
        for (; emptyRun > 0; --emptyRun) kept += "\r\n";
        kept += line;
        kept += "\r\n";
    }
}

// The text art bytes to draw: the file, or its page `page` (from 1).
Result<std::string> ReadTextArt(const std::string& path, int page) {
    if (page == 0) return ReadTextArtFile(path);
    const Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return bytes.error();
    // Only the page asked for is copied out of the file.
    std::size_t count = 0;
    std::string text;
    const Status read = VisitPages(*bytes, path, [&](const PageView& view) {
        if (++count == static_cast<std::size_t>(page)) text = view.text;
    });
    if (!read) return read.error().WithPath(InputName(path));
    if (page < 1 || static_cast<std::size_t>(page) > count) {
        return Error{InputName(path), kinds::NoSuchPage, page, count};
    }
    return text;
}

// How the text given with --from-text is read; without --input-encoding,
// --sjis reads it as Shift-JIS as well as writing Shift-JIS.
enum class InputEncoding { Auto, ShiftJis, Utf8 };

Status DrawTextArt(Document& document, const std::string& path, int page, InputEncoding input) {
    if (Status opened = document.engine().OpenFace(); !opened) return opened;
    if (page != 0 && input == InputEncoding::Utf8) {
        return Error{InputName(path), kinds::PageNeedsShiftJis};
    }
    const Result<std::string> bytes = ReadTextArt(path, page);
    if (!bytes) return bytes.error();
    // Page files are Shift-JIS by their format; other text is read as the
    // window opens it.
    const TextEncoding encoding = input == InputEncoding::Utf8       ? TextEncoding::Utf8
                                  : input == InputEncoding::Auto && page == 0 ? GuessTextEncoding(*bytes)
                                                                     : TextEncoding::ShiftJis;
    Result<TextArtDrawing> drawing = document.OpenText(*bytes, encoding);
    if (!drawing) return drawing.error().WithPath(InputName(path));
    // Kept as text, not drawn: the output holds them, the ink does not.
    for (const UndrawnCharacter& c : drawing->undrawn) {
        std::string note("fudeline-cli: note: ");
        note.append(InputName(path))
            .append(": line ")
            .append(std::to_string(c.line))
            .append(", column ")
            .append(std::to_string(c.column))
            .append(": ")
            .append(DescribeCodePoint(c.code))
            .append(" is not in the Mona face; kept as text, with no ink");
        std::fprintf(stderr, "%s\n", EscapeForTerminal(note).c_str());
    }
    return {};
}

// The drawing file's ink, and the rows it keeps as written: the text comes
// out as the window saved it. Kept rows that cannot be taken are noted.
Status OpenDrawing(Document& document, const std::string& path) {
    const Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return bytes.error();
    const Result<KeptRowsFound> opened =
        document.OpenDrawing(*bytes, LibraryPixels(), Document::Blank::Opened);
    if (!opened) return opened.error().WithPath(InputName(path));
    if (*opened == KeptRowsFound::Damaged || *opened == KeptRowsFound::OtherInk) {
        const std::string why = *opened == KeptRowsFound::Damaged
                                    ? "the text kept in the drawing is damaged"
                                    : "the text kept in the drawing was kept for other ink";
        std::fprintf(stderr, "%s\n",
                     EscapeForTerminal("fudeline-cli: note: " + InputName(path) + ": " + why +
                                       "; the rows are matched from the ink")
                         .c_str());
    }
    return {};
}

}  // namespace

Command AddConvertCommand(CLI::App& app) {
    struct Options {
        std::string image;
        std::string text;
        int page = 0;
        std::string input;  // empty: as --sjis says
        ConversionOptions conversion;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command = app.add_subcommand(
        "convert", std::string("Convert an ink image (") + kInkImageFormats +
                       "; black pixels are ink), or text art drawn as ink, to text art");
    auto* image = command->add_option("IMAGE", options->image, "The image; - reads standard input")
                      ->check(NonEmptyName());
    auto* text = command
                     ->add_option("--from-text", options->text,
                                  "Draw this text art with the Mona face as the ink, one line per "
                                  "row, and convert it again (UTF-8 when it reads as UTF-8, else "
                                  "Shift-JIS; see --input-encoding)")
                     ->type_name("FILE")
                     ->check(NonEmptyName());
    image->excludes(text);
    command
        ->add_option("--page", options->page,
                     "With --from-text: draw page N (from 1) of an MLT or AST file")
        ->type_name("N")
        ->check(WholeNumberFrom(1))
        ->needs(text);
    command
        ->add_option("--input-encoding", options->input,
                     "With --from-text: read the text as sjis or utf8, or auto (UTF-8 when it "
                     "reads as UTF-8); without it, --sjis reads Shift-JIS as it writes it")
        ->check(CLI::IsMember({"auto", "sjis", "utf8"}))
        ->type_name("auto|sjis|utf8")
        ->needs(text);
    AddConversionOptions(*command, options->conversion);
    // One of the two inputs; CLI11 counts every option toward require_option.
    command->callback([command, image, text] {
        if (image->count() == 0 && text->count() == 0) {
            throw CLI::RequiredError("IMAGE or --from-text");
        }
    });
    return {command, [options] {
                if (!options->text.empty()) {
                    return RunConversion(
                        options->conversion, "text art", [&](Document& document) {
                            const InputEncoding input =
                                options->input == "utf8"   ? InputEncoding::Utf8
                                : options->input == "sjis" ? InputEncoding::ShiftJis
                                : options->input == "auto" || !options->conversion.sjis
                                    ? InputEncoding::Auto
                                    : InputEncoding::ShiftJis;
                            return DrawTextArt(document, options->text, options->page, input);
                        });
                }
                return RunConversion(
                    options->conversion, "image", [&](Document& document) -> Status {
                        return OpenDrawing(document, options->image);
                    });
            }};
}

}  // namespace fudeline::cli
