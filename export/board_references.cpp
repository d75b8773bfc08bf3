#include "export/board_references.h"

#include "export/boards.h"

namespace fudeline {

bool BoardNeedsReferences(std::string_view board) {
    const BoardProfile* profile = FindBoard(board);
    return profile && profile->references;
}

}  // namespace fudeline
