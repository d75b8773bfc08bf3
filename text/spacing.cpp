#include "text/spacing.h"

#include <algorithm>
#include <limits>
#include <string>

namespace fudeline {
namespace {

// Gaps never reach past the canvas; wider ones are spelled by repeating the
// widest space first, so the table only has to cover the rest.
constexpr std::int32_t kTableWidth = 1024;
constexpr std::int32_t kNoUnit = -2;  // the empty spelling of 0
constexpr char32_t kIdeographicSpace = 0x3000;

}  // namespace

std::optional<Spacing> ParseSpacing(std::string_view name) {
    if (name == "fillers") return Spacing::Fillers;
    if (name == "spaces") return Spacing::Spaces;
    if (name == "unicode") return Spacing::Unicode;
    return std::nullopt;
}

const char* SpacingName(Spacing spacing) {
    switch (spacing) {
        case Spacing::Fillers: return "fillers";
        case Spacing::Spaces: return "spaces";
        case Spacing::Unicode: return "unicode";
    }
    return "fillers";
}

bool SpacingSpells(Spacing spacing, const UnicodeSpaces* unicodeSpaces, std::int32_t width,
                   bool lineStart) {
    constexpr std::int32_t kFullWidth = 11, kHalfWidth = 5;
    if (width == 0) return true;
    if (width < 0) return false;
    if (spacing == Spacing::Unicode && unicodeSpaces) return unicodeSpaces->CanSpell(width);
    if (width < 3) return false;
    if (spacing != Spacing::Spaces) return true;
    const std::int32_t rest = width % kFullWidth;
    return rest == 0 || (rest == kHalfWidth && !(lineStart && width == kHalfWidth));
}

std::optional<std::int32_t> BoardSpaceWidth(char32_t code) {
    for (const auto& [space, width] : kBoardSpaceWidths) {
        if (space == code) return width;
    }
    return std::nullopt;
}

std::optional<std::int32_t> BoardIdeographWidth(char32_t code) {
    const bool ideograph = (code >= 0x3400 && code <= 0x4DBF) ||   // extension A
                           (code >= 0x4E00 && code <= 0x9FFF) ||   // the unified block
                           (code >= 0xF900 && code <= 0xFAFF) ||   // compatibility
                           (code >= 0x20000 && code <= 0x3134F);  // extensions B to G
    if (!ideograph) return std::nullopt;
    return kIdeographWidth;
}

std::int32_t SpaceBytes(char32_t code, SpaceWriting writing) {
    if (code < 0x80) return 1;
    const bool reference = code != kIdeographicSpace && writing != SpaceWriting::Utf8;
    if (reference) return static_cast<std::int32_t>(std::to_string(code).size()) + 3;  // &#...;
    if (writing == SpaceWriting::ShiftJis) return 2;
    return code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

UnicodeSpaces::UnicodeSpaces() {
    for (const auto& [code, width] : kBoardSpaceWidths) {
        if (code == U' ') halfWidth_ = width;
        else spaces_.push_back({code, width});
    }
    BuildTables();
}

UnicodeSpaces::UnicodeSpaces(std::vector<UnicodeSpace> spaces, std::int32_t halfWidthSpace)
    : spaces_(std::move(spaces)), halfWidth_(std::max(0, halfWidthSpace)) {
    std::erase_if(spaces_, [](const UnicodeSpace& s) { return s.width <= 0 || s.codePoint == U' '; });
    BuildTables();
}

void UnicodeSpaces::BuildTables() {
    // Narrowest first; of two spaces as wide, the first listed is used.
    std::stable_sort(spaces_.begin(), spaces_.end(),
                     [](const UnicodeSpace& a, const UnicodeSpace& b) { return a.width < b.width; });
    // Unit 2 i is space i alone, unit 2 i + 1 a half-width space and space i.
    const std::size_t units = spaces_.size() * (halfWidth_ > 0 ? 2 : 1);
    for (std::size_t t = 0; t < kSpaceWritingCount; ++t) {
        const auto writing = static_cast<SpaceWriting>(t);
        const std::int32_t halfBytes = SpaceBytes(U' ', writing);
        Table& table = tables_[t];
        table.any.assign(kTableWidth, Choice{});
        table.withPlain.assign(kTableWidth, Choice{});
        table.any[0] = {0, 0, kNoUnit};
        const auto better = [](const Choice& a, const Choice& b) {
            return b.unit == -1 || a.bytes < b.bytes ||
                   (a.bytes == b.bytes && a.characters < b.characters);
        };
        for (std::int32_t w = 1; w < kTableWidth; ++w) {
            // Widest space first among spellings that cost the same.
            for (std::size_t u = units; u-- > 0;) {
                const std::size_t i = halfWidth_ > 0 ? u / 2 : u;
                const bool paired = halfWidth_ > 0 && u % 2 == 1;
                const std::int32_t rest = w - spaces_[i].width - (paired ? halfWidth_ : 0);
                if (rest < 0) continue;
                const std::int32_t bytes =
                    SpaceBytes(spaces_[i].codePoint, writing) + (paired ? halfBytes : 0);
                const std::int32_t characters = paired ? 2 : 1;
                const Choice& any = table.any[static_cast<std::size_t>(rest)];
                if (any.unit != -1) {
                    const Choice choice{any.bytes + bytes, any.characters + characters,
                                        static_cast<std::int32_t>(u)};
                    if (better(choice, table.any[static_cast<std::size_t>(w)])) {
                        table.any[static_cast<std::size_t>(w)] = choice;
                    }
                    // A space alone makes the spelling one with a plain unit.
                    if (!paired && better(choice, table.withPlain[static_cast<std::size_t>(w)])) {
                        table.withPlain[static_cast<std::size_t>(w)] = choice;
                    }
                }
                const Choice& plain = table.withPlain[static_cast<std::size_t>(rest)];
                if (plain.unit != -1) {
                    const Choice choice{plain.bytes + bytes, plain.characters + characters,
                                        static_cast<std::int32_t>(u), true};
                    if (better(choice, table.withPlain[static_cast<std::size_t>(w)])) {
                        table.withPlain[static_cast<std::size_t>(w)] = choice;
                    }
                }
            }
        }
    }
}

bool UnicodeSpaces::CanSpell(std::int32_t width) const {
    // As Spell decides, without building the spelling: asked for every gap
    // the fine decoder weighs.
    const Table& table = tables_[0];
    const auto plain = [&](std::int32_t w) {
        if (w < 0) return false;
        if (w == 0) return true;
        if (spaces_.empty()) return false;
        while (w >= kTableWidth) w -= spaces_.back().width;
        return table.any[static_cast<std::size_t>(w)].unit != -1;
    };
    return plain(width) || (halfWidth_ > 0 && width >= halfWidth_ && plain(width - halfWidth_));
}

std::optional<std::u32string> UnicodeSpaces::Spell(std::int32_t width, SpaceWriting writing,
                                                   bool lineStart) const {
    if (width < 0) return std::nullopt;
    const Table& table = tables_[static_cast<std::size_t>(writing)];
    std::u32string widest;
    // Gaps never reach past the canvas; wider ones repeat the widest space.
    while (width >= kTableWidth && !spaces_.empty()) {
        widest += spaces_.back().codePoint;
        width -= spaces_.back().width;
        lineStart = false;
    }
    if (width >= kTableWidth) return std::nullopt;
    std::optional<std::u32string> spelled = SpellTable(table, writing, width, lineStart);
    // A leading half-width space only where nothing else spells the gap: the
    // export then puts a full-width space in front of every line.
    if (!spelled && lineStart) spelled = SpellTable(table, writing, width, false);
    if (!spelled) return std::nullopt;
    return widest + *spelled;
}

std::optional<std::u32string> UnicodeSpaces::SpellTable(const Table& table, SpaceWriting writing,
                                                        std::int32_t width, bool lineStart) const {
    // Units only, or units and a final half-width space (at a line's start
    // with a space alone among the units, so that one can lead).
    const Choice* best = &table.any[static_cast<std::size_t>(width)];
    bool finalHalf = false;
    if (halfWidth_ > 0 && width >= halfWidth_) {
        const std::vector<Choice>& before = lineStart ? table.withPlain : table.any;
        const Choice& rest = before[static_cast<std::size_t>(width - halfWidth_)];
        const std::int32_t halfBytes = SpaceBytes(U' ', writing);
        if (rest.unit != -1 && (best->unit == -1 || rest.bytes + halfBytes < best->bytes ||
                                (rest.bytes + halfBytes == best->bytes &&
                                 rest.characters + 1 < best->characters))) {
            best = &rest;
            finalHalf = true;
        }
    }
    if (best->unit == -1) return std::nullopt;
    // Walk the choices back: a spelling with a plain unit continues in
    // `withPlain` until its plain unit is taken.
    std::vector<std::size_t> others;
    std::size_t halves = finalHalf ? 1 : 0;
    std::int32_t w = width - (finalHalf ? halfWidth_ : 0);
    bool needPlain = finalHalf && lineStart;
    while (w > 0) {
        const Choice& c = needPlain ? table.withPlain[static_cast<std::size_t>(w)]
                                    : table.any[static_cast<std::size_t>(w)];
        const auto u = static_cast<std::size_t>(c.unit);
        const std::size_t i = halfWidth_ > 0 ? u / 2 : u;
        const bool paired = halfWidth_ > 0 && u % 2 == 1;
        others.push_back(i);
        halves += paired ? 1 : 0;
        w -= spaces_[i].width + (paired ? halfWidth_ : 0);
        needPlain = needPlain && c.restWithPlain;
    }
    std::sort(others.rbegin(), others.rend());
    std::u32string spelled;
    // One more half-width space than others: one has to lead.
    if (halves > others.size()) {
        spelled += U' ';
        --halves;
    }
    for (const std::size_t i : others) {
        spelled += spaces_[i].codePoint;
        if (halves > 0) {
            spelled += U' ';
            --halves;
        }
    }
    return spelled;
}

}  // namespace fudeline
