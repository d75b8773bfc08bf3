#include "cli/option_checks.h"

#include <charconv>
#include <sstream>

namespace fudeline::cli {

CLI::Validator NonEmptyName() {
    return CLI::Validator(
        [](std::string& text) { return text.empty() ? "a file name cannot be empty" : ""; }, "");
}

std::optional<double> ParseDecimal(std::string_view text) {
    bool digit = false, point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    double value = 0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

CLI::Validator DecimalInRange(double min, double max) {
    return CLI::Validator(
        [min, max](std::string& text) -> std::string {
            const std::optional<double> value = ParseDecimal(text);
            std::ostringstream why;
            if (!value) {
                why << '"' << text << "\" is not a number (write it in decimal, e.g. 50 or 12.5)";
            } else if (*value < min || *value > max) {
                why << text << " is not in the range " << min << " to " << max;
            }
            return why.str();
        },
        "");
}

}  // namespace fudeline::cli
