// What convert, replay and trace share: where the glyph catalogue comes from,
// the output format, where the text goes and the board it must fit. Commands that turn a drawing
// into text add these options and run through RunConversion.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "pixels/result.h"
#include "session/art_state.h"

namespace fudeline::cli {

struct ConversionOptions {
    std::string catalogueDir;  // empty: beside the executable, then the installed data
    bool br = false;
    bool sjis = false;
    bool cells = false;
    std::string output = "-";
    bool fine = false;       // the fine decoder instead of the row matcher
    bool noFillers = false;  // with fine: spacing of spaces only
    std::string board;       // empty: no post count; else as ParseBoardLimits reads it
};

void AddConversionOptions(CLI::App& command, ConversionOptions& options);

// A file a command writes besides the text (trace's ink layer): written only
// once the conversion has succeeded, and together with the text, so that a
// failure leaves neither.
struct SideOutput {
    std::string what;  // what a failure could not do: "write ink layer"
    std::string path;
    std::string bytes;
};

// Loads the catalogue, lets `draw` put the drawing on a fresh session, then
// writes the text. A failed draw is reported as "cannot read INPUT_KIND ...".
// With a board, the post count goes to standard error after the text.
// Returns the exit status: kExitOverBoardLimit when the text, written in
// full, does not fit one post.
int RunConversion(const ConversionOptions& options, const std::string& inputKind,
                  const std::function<Status(ArtState&)>& draw,
                  std::vector<SideOutput> sideOutputs = {});

}  // namespace fudeline::cli
