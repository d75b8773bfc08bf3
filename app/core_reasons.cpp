#include "app/core_reasons.h"

#include <QCoreApplication>

#include <string>

#include "errors/reasons.h"

namespace fudeline {
namespace {

// The core's Japanese wording in the window's language (the English
// translation gives back the core's own wording).
std::string Translated(const char* text) {
    return QCoreApplication::translate("CoreReason", text).toStdString();
}

}  // namespace

QString ReasonText(const Error& error) {
    return QString::fromStdString(JapaneseReason(error, Translated));
}

}  // namespace fudeline
