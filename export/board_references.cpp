#include "export/board_references.h"

namespace fudeline {

bool BoardNeedsReferences(std::string_view board) { return board == "2ch" || board == "shitaraba"; }

}  // namespace fudeline
