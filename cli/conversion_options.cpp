#include "cli/conversion_options.h"

#include <unistd.h>

#include <iostream>
#include <optional>
#include <utility>

#include "cli/cli_errors.h"
#include "cli/option_checks.h"
#include "cli/post_report.h"
#include "cli/report.h"
#include "files/file_bytes.h"
#include "io/page_files.h"

namespace fudeline::cli {
namespace {

// The spacing in use: --spacing, or what --no-fillers asks for. Spaces only
// mean something to the fine decoder, which alone chooses its gaps.
Result<Spacing> ChosenSpacing(const ConversionOptions& options) {
    if (options.spacing.empty()) return options.noFillers ? Spacing::Spaces : Spacing::Fillers;
    const Spacing spacing = ParseSpacing(options.spacing).value();
    if (options.noFillers && spacing != Spacing::Spaces) {
        return Error{"", kinds::NoFillersWithSpacing, options.spacing};
    }
    if (spacing == Spacing::Spaces && (!options.fine || options.greedy)) {
        return Error{"", kinds::SpacesNeedFine};
    }
    return spacing;
}

Result<std::string> FormatOutput(const Document& document, const ConversionOptions& options) {
    const TextFormat format = options.cells  ? TextFormat::Cells
                              : options.sjis ? TextFormat::ShiftJis
                                             : TextFormat::Utf8;
    Result<std::string> text = document.Text(format);
    // The export never ends with a line break; a terminal gets one so the
    // prompt starts on its own line. Files and pipes get the exact text.
    if (text && format == TextFormat::Utf8 && options.output == kStandardStreamName &&
        isatty(STDOUT_FILENO) && !text->empty()) {
        *text += '\n';
    }
    return text;
}

Error SameAsPageFileError(const std::string& path) {
    return Error{OutputName(path), kinds::SameAsPageFile};
}

// Stages every output, then writes those that must be written in place (the
// standard output, devices) before renaming the staged files into place and,
// last, the page file with its new page: a failure anywhere before the
// renames leaves no file and no text behind, and a failed output adds no page.
// The ending signals are held (`held`) from the first rename on.
int WriteOutputs(const std::string& output, const std::string& text,
                 std::vector<SideOutput> sideOutputs, StagedPage* page, const std::string& pageFile,
                 std::optional<CommitSignalsHeld>& held) {
    sideOutputs.push_back({"write", output, text});
    std::vector<std::pair<std::string, StagedFile>> staged;
    for (SideOutput& side : sideOutputs) {
        if (page && SameFile(side.path, pageFile)) {
            return ReportFailure(side.what, SameAsPageFileError(side.path));
        }
        Result<StagedFile> file = StagedFile::Stage(side.path, std::move(side.bytes));
        if (!file) return ReportFailure(side.what, file.error());
        staged.emplace_back(side.what, std::move(*file));
    }
    // Written where they are first (the standard output cannot be taken
    // back), then the files renamed into place as one, the page file last:
    // a rename that fails, or a page that cannot be added, puts every file
    // renamed before it back as it was.
    for (auto& [what, file] : staged) {
        if (!file.inPlace()) continue;
        if (Status done = file.Commit(); !done) return ReportFailure(what, done.error());
    }
    held.emplace();
    std::vector<StagedFile*> files;
    for (auto& [what, file] : staged) files.push_back(&file);
    Status done = page ? page->CommitAfter(files) : StagedFile::CommitTogether(files);
    if (done) return 0;
    for (auto& [what, file] : staged) {
        if (done.error().path == file.path()) return ReportFailure(what, done.error());
    }
    return ReportFailure(page ? "add the page to" : "write", done.error());
}

// --board, --spacing and --append, which every conversion takes.
void AddBoardOption(CLI::App& command, ConversionOptions& options);
void AddSpacingAndPageOptions(CLI::App& command, ConversionOptions& options);

}  // namespace

void AddConversionOptions(CLI::App& command, ConversionOptions& options,
                          DefaultDecoder decoder) {
    command
        .add_option("--catalogue-dir", options.catalogueDir,
                    "Folder holding the glyph catalogue files (default: beside the program, "
                    "then its installed data folder)")
        ->check(NonEmptyName())
        ->type_name("DIR");
    command.add_flag("--br", options.br, "Put <BR> before each line break");
    auto* sjis = command.add_flag("--sjis", options.sjis, "Write Shift-JIS bytes instead of UTF-8");
    auto* cells =
        command.add_flag("--cells", options.cells, "Write the matched cells, one per line");
    sjis->excludes(cells);
    command.add_option("-o,--output", options.output, "Write to FILE instead of standard output")
        ->check(NonEmptyName())
        ->type_name("FILE");
    if (decoder == DefaultDecoder::Fine) {
        options.fine = true;
        auto* greedy = command.add_flag(
            "--greedy", options.greedy,
            "Match with the row matcher, glyph by glyph (faster; bolder, rougher lines)");
        command
            .add_flag("--fine", options.fine,
                      "Choose each row whole so the text follows the lines closely (the "
                      "default; needs the Mona font)")
            ->excludes(greedy);
        command
            .add_flag("--no-fillers", options.noFillers,
                      "Space with full- and half-width spaces only, no '.', 'ﾞ' or '､' (not "
                      "with --greedy)")
            ->excludes(greedy);
        AddBoardOption(command, options);
        AddSpacingAndPageOptions(command, options);
        return;
    }
    auto* fine = command.add_flag(
        "--fine", options.fine,
        "Choose each row whole so the text follows the drawing closely (slower; needs the "
        "Mona font)");
    command
        .add_flag("--no-fillers", options.noFillers,
                  "With --fine: space with full- and half-width spaces only, no '.', 'ﾞ' or '､'")
        ->needs(fine);
    AddBoardOption(command, options);
    AddSpacingAndPageOptions(command, options);
}

namespace {

void AddBoardOption(CLI::App& command, ConversionOptions& options) {
    command
        .add_option("--board", options.board,
                    "Print on stderr how long the text is as a post on the board (" +
                        DescribeBoards() +
                        "; or your own limits, 0 for none) and exit with status 3 when it is "
                        "over a limit")
        ->check(BoardLimitsText())
        ->type_name(BoardLimitsTypeName());
}

void AddSpacingAndPageOptions(CLI::App& command, ConversionOptions& options) {
    command
        .add_option("--spacing", options.spacing,
                    "How gaps are spelled: fillers (full-width spaces with '.', 'ﾞ', '､' and "
                    "half-width spaces; the default), spaces (with --fine: full- and half-width "
                    "spaces only, as --no-fillers), unicode (exactly, with Unicode spaces; "
                    "Shift-JIS output writes them as &#NNNN; references)")
        ->check(CLI::IsMember({"fillers", "spaces", "unicode"}))
        ->type_name("fillers|spaces|unicode");
    auto* append = command
                       .add_option("--append", options.append,
                                   "Also add the text as the last page of FILE (.mlt or .ast, "
                                   "Shift-JIS; created when missing)")
                       ->check(NonEmptyName())
                       ->type_name("FILE");
    command
        .add_option("--page-name", options.pageName,
                    "With --append to an AST file: the new page's name")
        ->check(NoControlCharacters())
        ->type_name("NAME")
        ->needs(append);
}

}  // namespace

int RunConversion(const ConversionOptions& options, const std::string& inputKind,
                  const std::function<Status(Document&)>& draw,
                  const std::vector<SideOutput>& sideOutputs) {
    const Result<Spacing> spacing = ChosenSpacing(options);
    if (!spacing) return ReportFailure("use these options", spacing.error());
    Engine engine({options.catalogueDir, ""});
    if (Status loaded = engine.LoadCatalogue(); !loaded) {
        return ReportFailure("load glyph catalogue", loaded.error());
    }
    Document document(engine, Document::Canvas::Headless);
    // The fine decoder places glyphs as the face draws them, and Unicode
    // spaces are as wide as the face draws them: both need the face.
    const bool fineInUse = options.fine && !options.greedy;
    if (fineInUse || *spacing == Spacing::Unicode) {
        if (Status opened = engine.OpenFace(); !opened) {
            return ReportFailure("open font", opened.error());
        }
    }
    document.SetDecoder({fineInUse, *spacing});
    document.SetBoard(options.board);
    document.SetBr(options.br);
    if (Status drawn = draw(document); !drawn) return ReportFailure("read " + inputKind, drawn.error());

    const Result<std::string> text = FormatOutput(document, options);
    if (!text) return ReportFailure("convert the text", text.error());
    // Staged first, so that a refused page file leaves standard output
    // empty; committed last, once every other output is written. The name
    // is typed in the terminal's UTF-8.
    std::optional<StagedPage> staged;
    if (!options.append.empty()) {
        Result<StagedPage> added = document.StagePage(options.append, options.pageName);
        if (!added) return ReportFailure("add the page to", added.error());
        staged.emplace(std::move(*added));
    }
    // Until the post's count is told too: every output of the command.
    std::optional<CommitSignalsHeld> held;
    const int written = WriteOutputs(options.output, *text, sideOutputs,
                                     staged ? &*staged : nullptr, options.append, held);
    if (written != 0) return written;
    if (!options.board.empty()) {
        const BoardLimits limits = ParseBoardLimits(options.board).value();
        const PostCount count = document.CountPost(limits);
        std::cerr << EscapeForTerminal("fudeline-cli: " +
                                       DescribePostCount(options.board, count, limits))
                  << '\n';
        if (count.over()) return kExitOverBoardLimit;
    }
    return 0;
}

}  // namespace fudeline::cli
