// pages FILE: the pages of an MLT or AST file, one line each: the page's
// number (as --page takes it), a tab, and its name or first line.
#include <memory>
#include <optional>

#include "cli/commands.h"
#include "cli/report.h"
#include "files/file_bytes.h"
#include "glyphs/cp932.h"
#include "io/page_files.h"
#include "io/page_format.h"

namespace fudeline::cli {
namespace {

// A label longer than this is cut, so that every page takes one line of a
// terminal however long its first line is.
constexpr std::size_t kLabelColumns = 60;

}  // namespace

Command AddPagesCommand(CLI::App& app) {
    struct Options {
        std::string file;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command = app.add_subcommand(
        "pages", "List the pages of an MLT or AST file: number, tab, name or first line (UTF-8)");
    command->add_option("FILE", options->file, "The page file (at most 64 MB); - reads standard input")
        ->required();
    return {command, [options] {
                const Result<std::string> bytes = ReadTextFileBytes(options->file, kMaxPageFileBytes);
                if (!bytes) return ReportFailure("list the pages of", bytes.error());
                std::string listing;
                std::size_t number = 0;
                std::optional<Error> failed;
                const Status read =
                    VisitPages(*bytes, options->file, [&](const PageView& page) {
                        if (failed) return;
                        Result<std::string> label =
                            Cp932ToUtf8(PageLabel(page.name, page.text, kLabelColumns));
                        if (!label) {
                            failed = label.error();
                            return;
                        }
                        // Names and lines are the file's, not ours: a control
                        // character in them must not reach the terminal raw.
                        listing += std::to_string(++number) + '\t' + EscapeForTerminal(*label) +
                                   '\n';
                    });
                if (!read) {
                    return ReportFailure("list the pages of",
                                         read.error().WithPath(InputName(options->file)));
                }
                if (failed) return ReportFailure("list the pages of", *failed);
                if (Status written = WriteFileBytes(kStandardStreamName, listing); !written) {
                    return ReportFailure("write", written.error());
                }
                return 0;
            }};
}

}  // namespace fudeline::cli
