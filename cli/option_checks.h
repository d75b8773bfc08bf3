// Checks shared by the commands' options: file names that name something and
// numbers written the way a person writes them. CLI11 alone takes "nan",
// "0x10" or an empty name, which a user never means.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

namespace fudeline::cli {

// Refuses an empty value: an empty file or folder name names nothing, and the
// system's reason for it ("No such file or directory") would name no file.
CLI::Validator NonEmptyName();

// A plain decimal number: digits with at most one '.', at least one digit; no
// sign, exponent, hexadecimal, "nan" or "inf".
std::optional<double> ParseDecimal(std::string_view text);

// A decimal number between `min` and `max`, saying which of the two it is not.
CLI::Validator DecimalInRange(double min, double max);

}  // namespace fudeline::cli
