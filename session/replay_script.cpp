#include "session/replay_script.h"

#include <algorithm>
#include <charconv>

#include "glyphs/utf8.h"
#include "session/session_errors.h"

namespace fudeline {
namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (i < line.size()) {
        while (i < line.size() && isSpace(line[i])) ++i;
        if (i < line.size() && line[i] == '#') break;  // a comment runs to the line end
        const std::size_t start = i;
        while (i < line.size() && !isSpace(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// Mouse positions reach the window as signed 16-bit values.
bool ParseCoordinate(std::string_view word, int& value) {
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    return ec == std::errc() && ptr == end && value >= -32768 && value <= 32767;
}

}  // namespace

Result<std::optional<ReplayEvent>> ParseReplayLine(std::string_view line, int lineNumber) {
    if (lineNumber == 1 && line.starts_with(kUtf8ByteOrderMark)) {
        line.remove_prefix(kUtf8ByteOrderMark.size());
    }
    const auto words = Words(line);
    if (words.empty()) return std::optional<ReplayEvent>();
    auto fail = [&](const ErrorKind& kind, auto&&... values) {
        return Error{"", kind, lineNumber, std::forward<decltype(values)>(values)...};
    };
    ReplayEvent event;
    event.line = lineNumber;
    const std::string_view verb = words[0];
    if (verb == "type") {
        event.kind = ReplayEvent::Kind::Type;
        if (words.size() < 3 || !ParseCoordinate(words[1], event.x) ||
            !ParseCoordinate(words[2], event.y)) {
            return fail(kinds::ReplayTypePoint);
        }
        // The text starts after the one space that ends Y and runs to the
        // line's end as it stands: '#' and spaces are typed too.
        std::size_t start = static_cast<std::size_t>(words[2].data() + words[2].size() - line.data());
        std::string_view text = line.substr(std::min(start + 1, line.size()));
        if (text.ends_with('\r')) text.remove_suffix(1);
        for (std::size_t i = 0; i < text.size();) {
            if (!NextUtf8(text, i)) return fail(kinds::ReplayTypeNotUtf8);
        }
        event.text = std::string(text);
    } else if (verb == "down" || verb == "move") {
        event.kind = verb == "down" ? ReplayEvent::Kind::Down : ReplayEvent::Kind::Move;
        if (words.size() < 3) return fail(kinds::ReplayNeedsPoint, std::string(verb));
        if (words.size() > 4 || (words.size() == 4 && words[3] != "shift")) {
            return fail(kinds::ReplayPointExtra, std::string(verb));
        }
        if (!ParseCoordinate(words[1], event.x) || !ParseCoordinate(words[2], event.y)) {
            return fail(kinds::ReplayCoordinate);
        }
        event.shift = words.size() == 4;
    } else if (verb == "stabilizer") {
        const auto stabilizer =
            words.size() == 2 ? ParseStabilizer(words[1]) : std::optional<Stabilizer>();
        if (!stabilizer) return fail(kinds::ReplayStabilizer);
        event.kind = ReplayEvent::Kind::SetStabilizer;
        event.stabilizer = *stabilizer;
    } else if (verb == "eraser") {
        const auto size = words.size() == 2 ? ParseEraserSize(words[1]) : std::optional<EraserSize>();
        if (!size) return fail(kinds::ReplayEraser);
        event.kind = ReplayEvent::Kind::SetEraser;
        event.eraser = *size;
    } else if (verb == "up" || verb == "undo") {
        if (words.size() != 1) return fail(kinds::ReplayTakesNothing, std::string(verb));
        event.kind = verb == "up" ? ReplayEvent::Kind::Up : ReplayEvent::Kind::Undo;
    } else if (verb == "redo" || verb == "history") {
        if (verb == "redo") {
            if (words.size() != 1) return fail(kinds::ReplayTakesNothing, std::string(verb));
            event.kind = ReplayEvent::Kind::Redo;
        } else {
            const std::optional<UndoMode> mode =
                words.size() == 2 ? ParseUndoMode(words[1]) : std::nullopt;
            if (!mode) return fail(kinds::ReplayHistory);
            event.kind = ReplayEvent::Kind::SetUndoMode;
            event.undoMode = *mode;
        }
    } else if (verb == "clear") {
        if (words.size() == 1) {
            event.kind = ReplayEvent::Kind::Clear;
        } else if (words.size() == 2 && words[1] == "no") {
            event.kind = ReplayEvent::Kind::ClearDeclined;
        } else {
            return fail(kinds::ReplayClearArgument);
        }
    } else {
        std::string shown(verb.substr(0, 40));
        for (char& c : shown) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
        }
        return fail(kinds::ReplayUnknownEvent, shown);
    }
    return std::optional<ReplayEvent>(event);
}

std::optional<UndoMode> ParseUndoMode(std::string_view word) {
    if (word == "single") return UndoMode::Single;
    if (word == "steps") return UndoMode::Steps;
    return std::nullopt;
}

Result<std::vector<ReplayEvent>> ParseReplayScript(std::string_view text) {
    std::vector<ReplayEvent> events;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        Result<std::optional<ReplayEvent>> event = ParseReplayLine(line, lineNumber);
        if (!event) return std::move(event).error();
        if (*event) events.push_back(**event);
    }
    return events;
}

}  // namespace fudeline
