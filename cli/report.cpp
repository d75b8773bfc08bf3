#include "cli/report.h"

#include <iostream>

namespace fudeline::cli {

int ReportFailure(const std::string& what, const Error& error) {
    std::cerr << "fudeline-cli: cannot " << what << ' ' << error.Message() << '\n';
    return kExitError;
}

}  // namespace fudeline::cli
