// Which boards mangle a character outside their own code page unless it
// arrives as a decimal character reference. 2ch-style boards store Shift-JIS
// and shitaraba EUC-JP: a pasted Unicode space becomes "?" or vanishes there,
// while "&#8201;" is shown as the space. Each board's row in boards.h says
// whether it does; custom limits name no software, so the characters are left
// as they are.
#pragma once

#include <string_view>

namespace fudeline {

// `board` as --board names it (a board's name or custom limits).
bool BoardNeedsReferences(std::string_view board);

}  // namespace fudeline
