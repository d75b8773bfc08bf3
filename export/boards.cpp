#include "export/boards.h"

namespace fudeline {

// Digits only (no sign, space or other base), at most the largest limit.
std::optional<std::int64_t> ParseBoardLimit(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > kMaxBoardLimit) return std::nullopt;  // before it could overflow
    }
    return value;
}

const BoardProfile* FindBoard(std::string_view name) {
    for (const BoardProfile& board : kBoardProfiles) {
        if (board.name == name) return &board;
    }
    return nullptr;
}

bool ValidBoardLimits(const BoardLimits& limits) {
    for (const std::int64_t value : {limits.maxBytes, limits.maxLines, limits.maxLineBytes}) {
        if (value < 0 || value > kMaxBoardLimit) return false;
    }
    return true;
}

std::optional<BoardLimits> ParseBoardLimits(std::string_view text) {
    if (const BoardProfile* board = FindBoard(text)) return board->limits;
    BoardLimits limits;
    std::int64_t* fields[] = {&limits.maxBytes, &limits.maxLines, &limits.maxLineBytes};
    std::size_t field = 0;
    while (true) {
        if (field == 3) return std::nullopt;
        const std::size_t colon = text.find(':');
        const auto value = ParseBoardLimit(text.substr(0, colon));
        if (!value) return std::nullopt;
        *fields[field++] = *value;
        if (colon == std::string_view::npos) return limits;
        text.remove_prefix(colon + 1);
    }
}

std::string FormatBoardLimits(const BoardLimits& limits) {
    return std::to_string(limits.maxBytes) + ":" + std::to_string(limits.maxLines) + ":" +
           std::to_string(limits.maxLineBytes);
}

}  // namespace fudeline
