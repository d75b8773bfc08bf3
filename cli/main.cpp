// fudeline-cli: the conversion engine without a window.
//
//   fudeline-cli convert IMAGE   [conversion options]
//   fudeline-cli replay SCRIPT   [conversion options]
//   fudeline-cli trace PICTURE   [--mode auto|lineart|photo] [--scale PERCENT] [--offset X,Y]
//                                [--save-ink FILE.png] [conversion options]
//   fudeline-cli render [TEXT]   [--sjis] [-o OUT.png]
//   fudeline-cli catalogue --font FILE --out DIR
//   fudeline-cli pages FILE.mlt|FILE.ast
//   fudeline-cli convert --from-text FILE [--page N] [conversion options]
//
// Conversion options: [--catalogue-dir DIR] [--br] [--sjis | --cells] [-o FILE]
// [--fine [--no-fillers]] [--board BOARD|BYTES[:LINES[:COLUMNS]]]
// [--spacing fillers|spaces|unicode] [--append FILE.mlt|FILE.ast [--page-name NAME]].
// The BOARD names (2ch, shitaraba, ...) are the rows of export/boards.h.
//
// "-" as IMAGE, SCRIPT, PICTURE or TEXT reads standard input. Errors go to stderr with exit
// status 2; nothing is written to stdout then. A text too long for the --board is still
// written in full, with exit status 3.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/report.h"
#include "files/file_bytes.h"
#include "fudeline/version.h"

namespace {

// The files a command was given to read: its positional arguments,
// --from-text and --font, as a failure names them.
std::string InputsOf(const CLI::App& command) {
    std::string names;
    for (const CLI::Option* option : command.get_options()) {
        if (option->count() == 0) continue;
        const std::string name = option->get_name();
        if (!option->get_positional() && name != "--from-text" && name != "--font") continue;
        for (const std::string& value : option->results()) {
            if (!names.empty()) names += ", ";
            names += fudeline::InputName(value);
        }
    }
    return names.empty() ? fudeline::InputName("-") : names;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace fudeline::cli;
    // A reader that went away must show up as a failed write (EPIPE), not as
    // a silent death that a shell pipeline would take for success.
    std::signal(SIGPIPE, SIG_IGN);
    // Ctrl+C or SIGTERM once a command's outputs have started landing ends it
    // when they are done, with its own status: a failing status then would
    // have a retry add the page again.
    fudeline::CommitSignalsHeld::AnswerSignalsByFinishing();

    CLI::App app("Turns drawings into Shift-JIS text art, without a window.", "fudeline-cli");
    app.set_version_flag("--version", std::string("fudeline-cli ") + FUDELINE_VERSION,
                         "Print the version and exit");
    app.require_subcommand(1);
    app.failure_message([](const CLI::App*, const CLI::Error& e) {
        return EscapeForTerminal("fudeline-cli: " + std::string(e.what())) +
               "\nRun with --help for the usage.\n";
    });
    const std::vector<Command> commands = {
        AddConvertCommand(app), AddReplayCommand(app),    AddTraceCommand(app),
        AddRenderCommand(app),  AddCatalogueCommand(app), AddPagesCommand(app),
    };
    // CLI11 would only say that a command is required.
    if (argc > 1 && argv[1][0] != '-' &&
        std::none_of(commands.begin(), commands.end(),
                     [&](const Command& c) { return c.subcommand->check_name(argv[1]); })) {
        std::cerr << EscapeForTerminal("fudeline-cli: unknown command \"" + std::string(argv[1]) +
                                       "\"")
                  << "\nRun with --help for the usage.\n";
        return kExitError;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        errno = 0;
        const int status = app.exit(e);
        // Help and version go through std::cout: a failed write there is a
        // failure too, not a success with nothing shown.
        if (std::fflush(stdout) != 0 || !std::cout) {
            return ReportFailure(
                "write", fudeline::SystemError("standard output", errno != 0 ? errno : EIO));
        }
        return status == 0 ? 0 : kExitError;
    }
    const Command* parsed = nullptr;
    for (const Command& command : commands) {
        if (command.subcommand->parsed()) parsed = &command;
    }
    if (!parsed) return kExitError;
    try {
        return parsed->run();
    } catch (const std::bad_alloc&) {
        // The sizes that allocate come from the inputs (a file, a picture, a
        // page file), so the inputs are what was too large.
        return ReportFailure(
            "run " + parsed->subcommand->get_name(),
            fudeline::Error{InputsOf(*parsed->subcommand), fudeline::kinds::OutOfMemory});
    } catch (const std::exception& e) {
        // The core reports failures as values; this is only out of memory and the like.
        return ReportFailure("run", fudeline::Error{"", fudeline::kinds::Unexpected, e.what()});
    }
}
