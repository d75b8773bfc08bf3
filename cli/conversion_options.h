// What convert, replay and trace share: where the glyph catalogue comes from,
// the output format, where the text goes and the board it must fit. Commands that turn a drawing
// into text add these options and run through RunConversion.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "engine/document.h"
#include "errors/result.h"

namespace fudeline::cli {

struct ConversionOptions {
    std::string catalogueDir;  // empty: beside the executable, then the installed data
    bool br = false;
    bool sjis = false;
    bool cells = false;
    std::string output = "-";
    bool fine = false;       // the fine decoder instead of the row matcher
    bool greedy = false;     // the row matcher, where the fine decoder is the default
    bool noFillers = false;  // with fine: spacing of spaces only
    std::string board;       // empty: no post count; else as ParseBoardLimits reads it
    std::string spacing;     // empty: fillers, or spaces with --no-fillers; else as ParseSpacing reads it
    std::string append;      // a page file (.mlt or .ast) to add the text to as a page
    std::string pageName;    // with append to an AST file: the new page's name
};

// Which decoder a command converts with unless told otherwise: drawings
// (convert, replay) take the row matcher, as the window does; pictures
// (trace) take the fine decoder, whose thin strokes follow traced lines.
enum class DefaultDecoder { RowMatcher, Fine };

void AddConversionOptions(CLI::App& command, ConversionOptions& options,
                          DefaultDecoder decoder = DefaultDecoder::RowMatcher);

// A file a command writes besides the text (trace's ink layer): written only
// once the conversion has succeeded, and together with the text, so that a
// failure leaves neither.
struct SideOutput {
    std::string what;  // what a failure could not do: "write ink layer"
    std::string path;
    std::string bytes;
};

// Loads the catalogue (and the face where the options need it), lets `draw`
// put the drawing on a fresh document with the options' choices, then
// writes the text. A failed draw is reported as "cannot read INPUT_KIND ...".
// With a board, the post count goes to standard error after the text.
// `sideOutputs` is read once the drawing is drawn (`draw` may add to it).
// Returns the exit status: kExitOverBoardLimit when the text, written in
// full, does not fit one post.
int RunConversion(const ConversionOptions& options, const std::string& inputKind,
                  const std::function<Status(Document&)>& draw,
                  const std::vector<SideOutput>& sideOutputs = {});

}  // namespace fudeline::cli
