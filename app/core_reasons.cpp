#include "app/core_reasons.h"

#include <QCoreApplication>

#include <cstdlib>
#include <string>
#include <vector>

#include "pixels/japanese_reasons.h"

namespace fudeline {
namespace {

// The core's Japanese wording in the window's language (the English
// translation gives back the core's own wording).
std::string Translated(const char* text) {
    return QCoreApplication::translate("CoreReason", text).toStdString();
}

// The system's reason for an errno argument, the core's wording when there
// is none in Japanese.
std::string SystemReasonText(const std::string& errorNumber) {
    if (const char* text = JapaneseSystemReason(std::atoi(errorNumber.c_str()))) {
        return Translated(text);
    }
    return EnglishReason(ErrorKind::System, {errorNumber});
}

}  // namespace

QString ReasonText(const Error& error) {
    if (error.kind == ErrorKind::System && error.args.size() == 1) {
        return QString::fromStdString(SystemReasonText(error.args.front()));
    }
    const char* text = JapaneseReason(error.kind);
    if (!text) return QString::fromStdString(error.Reason());
    std::vector<std::string> parts = error.args;
    if (EndsInErrorNumber(error.kind) && !parts.empty()) {
        parts.back() = SystemReasonText(error.args.back());
    }
    return QString::fromStdString(FillReason(Translated(text), parts));
}

}  // namespace fudeline
