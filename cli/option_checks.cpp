#include "cli/option_checks.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <sstream>

#include "cli/post_report.h"
#include "export/boards.h"

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

CLI::Validator NoControlCharacters() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            for (const char c : text) {
                const auto byte = static_cast<unsigned char>(c);
                if (byte < 0x20 || byte == 0x7F) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "0x%02X", byte);
                    return std::string("control character ") + hex + " is not allowed here";
                }
            }
            return "";
        },
        "");
}

CLI::Validator WholeNumberFrom(int min) {
    return CLI::Validator(
        [min](std::string& text) -> std::string {
            constexpr int kMax = std::numeric_limits<int>::max();
            const bool digits = !text.empty() && text.find_first_not_of("0123456789") ==
                                                     std::string::npos;
            if (!digits) {
                return '"' + text + "\" is not a whole number (write it in decimal digits, e.g. " +
                       std::to_string(min + 1) + ")";
            }
            int value = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (ec == std::errc::result_out_of_range) {
                return text + " is too large: the largest is " + std::to_string(kMax);
            }
            if (value < min) return text + " is too small: the smallest is " + std::to_string(min);
            return "";
        },
        "");
}

CLI::Validator BoardLimitsText() {
    return CLI::Validator(
        [](std::string& text) {
            return ParseBoardLimits(text)
                       ? std::string()
                       : "expected " + BoardNames(", ") +
                             " or BYTES[:LINES[:COLUMNS]] (whole numbers from 0, no limit, to " +
                             std::to_string(kMaxBoardLimit) + "), not \"" + text + "\"";
        },
        "");
}

std::string BoardLimitsTypeName() {
    return BoardNames("|") + "|BYTES[:LINES[:COLUMNS]]";
}

}  // namespace fudeline::cli
