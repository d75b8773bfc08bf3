// pages FILE: the pages of an MLT or AST file, one line each: the page's
// number (as --page takes it), a tab, and its name or first line.
#include <memory>

#include "cli/commands.h"
#include "cli/report.h"
#include "glyphs/cp932.h"
#include "io/file_bytes.h"
#include "io/page_files.h"

namespace fudeline::cli {

Command AddPagesCommand(CLI::App& app) {
    struct Options {
        std::string file;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command = app.add_subcommand(
        "pages", "List the pages of an MLT or AST file: number, tab, name or first line (UTF-8)");
    command->add_option("FILE", options->file, "The page file; - reads standard input")
        ->required();
    return {command, [options] {
                const Result<PageFile> file = ReadPageFile(options->file);
                if (!file) return ReportFailure("list the pages of", file.error());
                std::string listing;
                for (std::size_t i = 0; i < file->pages.size(); ++i) {
                    Result<std::string> label = Cp932ToUtf8(PageLabel(file->pages[i]));
                    if (!label) return ReportFailure("list the pages of", label.error());
                    listing += std::to_string(i + 1) + '\t' + *label + '\n';
                }
                if (Status written = WriteFileBytes(kStandardStreamName, listing); !written) {
                    return ReportFailure("write", written.error());
                }
                return 0;
            }};
}

}  // namespace fudeline::cli
