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

// Refuses a text holding a control character (C0 or DEL: a line break, TAB,
// ESC), which would be stored where only printable text belongs, such as a
// page name that every listing then shows.
CLI::Validator NoControlCharacters();

// A whole number of at least `min` written in plain decimal digits: no sign,
// point, exponent or hexadecimal ("0x2" and "+1" are not what a user counts
// pages with), and no larger than an int holds.
CLI::Validator WholeNumberFrom(int min);

// A board's name or limits written BYTES[:LINES[:COLUMNS]] (ParseBoardLimits),
// and the type name that says so.
CLI::Validator BoardLimitsText();
std::string BoardLimitsTypeName();

}  // namespace fudeline::cli
