// replay SCRIPT: plays recorded window events and writes the text art they
// leave, exactly as the window would have shown it.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/conversion_options.h"
#include "cli/option_checks.h"
#include "files/file_bytes.h"
#include "files/line_reader.h"
#include "session/replay_script.h"

namespace fudeline::cli {

Command AddReplayCommand(CLI::App& app) {
    struct Options {
        std::string script;
        std::string history = "single";
        std::string stabilizer = "off";
        ConversionOptions conversion;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command =
        app.add_subcommand("replay",
                           "Play a script of window events (down X Y, move X Y, up, undo, redo, "
                           "clear, clear no; \"shift\" after X Y: Shift held, a straight line; "
                           "stabilizer off|weak|strong: the setting from the next stroke on; "
                           "eraser small|medium|large: the eraser's width (4, 8, 16 px) from then on; "
                           "history single|steps: the undo from then on; "
                           "type X Y TEXT: a click of the text tool, TEXT typed there) "
                           "and write the text art");
    command->add_option("SCRIPT", options->script, "The script (at most 1 MB, which plays in about 2 s); - reads standard input")
        ->required()
        ->check(NonEmptyName());
    command
        ->add_option("--stabilizer", options->stabilizer,
                     "How the window steadied strokes when the script starts (off, the "
                     "default, as every script without it was drawn; the window starts new "
                     "users at weak); a stabilizer line in the script changes it")
        ->check(CLI::IsMember({"off", "weak", "strong"}))
        ->type_name("off|weak|strong");
    command
        ->add_option("--history", options->history,
                     "How undo works from the start: single (the one toggling undo, the "
                     "default) or steps (up to 100 steps back, redo forward); a history line "
                     "in the script changes it")
        ->check(CLI::IsMember({"single", "steps"}));
    AddConversionOptions(*command, options->conversion);
    return {command, [options] {
                return RunConversion(
                    options->conversion, "script", [&](Document& document) -> Status {
                        document.SetStabilizer(*ParseStabilizer(options->stabilizer));
                        document.state().SetUndoMode(*ParseUndoMode(options->history));
                        // The script (at most kMaxReplayScriptBytes) is read whole
                        // before a line plays: a line that cannot be read fails it
                        // before any text is made, and a script that types nothing
                        // has its rows decoded once, at its end.
                        Result<LineReader> script = LineReader::Open(
                            options->script, kMaxLineBytes, kMaxReplayScriptBytes);
                        if (!script) return script.error();
                        std::vector<ReplayEvent> events;
                        std::string line;
                        for (;;) {
                            const Result<bool> read = script->Next(line);
                            if (!read) return read.error();
                            if (!*read) break;
                            const auto event =
                                ParseReplayLine(line, static_cast<int>(script->lineNumber()));
                            if (!event) return event.error().WithPath(InputName(options->script));
                            if (*event) events.push_back(std::move(**event));
                        }
                        document.BeginPlaying(events);
                        for (const ReplayEvent& event : events) {
                            if (Status played = document.Play(event); !played) {
                                return Error{InputName(options->script), kinds::ReplayLineFailed,
                                             event.line, played.error().Reason()};
                            }
                        }
                        document.FinishPlaying();
                        return {};
                    });
            }};
}

}  // namespace fudeline::cli
