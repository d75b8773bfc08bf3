// The core's reasons for a failure are written in English, as the command
// line prints them. The window shows them in its own language: the reasons
// its commands can meet are known by their shape and translated, numbers and
// names kept; any other is shown as it stands.
#pragma once

#include <QString>

#include <string>

namespace fudeline {

QString ReasonText(const std::string& reason);

}  // namespace fudeline
