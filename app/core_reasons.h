// The core says why it failed as a kind with its arguments; the window words
// each kind in its own language, numbers and names kept, and the system's
// reasons by their errno. A reason of no wording of the window's own (one
// worded in English only, an errno files seldom meet) is shown as the core
// words it.
#pragma once

#include <QString>

#include "errors/result.h"

namespace fudeline {

// The reason of `error`, without its path.
QString ReasonText(const Error& error);

}  // namespace fudeline
