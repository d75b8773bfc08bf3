#include "text/spacing.h"

#include <algorithm>
#include <limits>

namespace fudeline {
namespace {

// Gaps never reach past the canvas; wider ones are spelled by repeating the
// widest space first, so the table only has to cover the rest.
constexpr std::int32_t kTableWidth = 1024;
constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::max();

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

UnicodeSpaces::UnicodeSpaces(const MonaFont& font) {
    for (const char32_t code : kUnicodeSpaceCandidates) {
        const FontGlyph* glyph = font.GlyphFor(code);
        if (!glyph || glyph->advance <= 0) continue;
        // A space that draws something is not a space on the board's screen.
        if (std::any_of(glyph->dark.begin(), glyph->dark.end(), [](auto d) { return d != 0; })) {
            continue;
        }
        spaces_.push_back({code, glyph->advance});
    }
    if (const FontGlyph* space = font.GlyphFor(U' ')) halfWidth_ = space->advance;
    BuildTable();
}

UnicodeSpaces::UnicodeSpaces(std::vector<UnicodeSpace> spaces, std::int32_t halfWidthSpace)
    : spaces_(std::move(spaces)), halfWidth_(std::max(0, halfWidthSpace)) {
    std::erase_if(spaces_, [](const UnicodeSpace& s) { return s.width <= 0; });
    BuildTable();
}

void UnicodeSpaces::BuildTable() {
    // Narrowest first; of two spaces as wide, the first listed is used.
    std::stable_sort(spaces_.begin(), spaces_.end(),
                     [](const UnicodeSpace& a, const UnicodeSpace& b) { return a.width < b.width; });
    fewest_.assign(kTableWidth, kNone);
    widestChoice_.assign(kTableWidth, -1);
    fewest_[0] = 0;
    for (std::int32_t w = 1; w < kTableWidth; ++w) {
        // Widest space first among spellings of equal length.
        for (std::size_t i = spaces_.size(); i-- > 0;) {
            const std::int32_t rest = w - spaces_[i].width;
            if (rest < 0 || fewest_[static_cast<std::size_t>(rest)] == kNone) continue;
            const std::int32_t count = fewest_[static_cast<std::size_t>(rest)] + 1;
            if (count < fewest_[static_cast<std::size_t>(w)]) {
                fewest_[static_cast<std::size_t>(w)] = count;
                widestChoice_[static_cast<std::size_t>(w)] = static_cast<std::int32_t>(i);
            }
        }
    }
}

bool UnicodeSpaces::CanSpell(std::int32_t width) const {
    // As Spell decides, without building the spelling: asked for every gap
    // the fine decoder weighs.
    const auto plain = [this](std::int32_t w) {
        if (w < 0) return false;
        if (w == 0) return true;
        if (spaces_.empty()) return false;
        while (w >= kTableWidth) w -= spaces_.back().width;
        return fewest_[static_cast<std::size_t>(w)] != kNone;
    };
    return plain(width) || (halfWidth_ > 0 && width >= halfWidth_ && plain(width - halfWidth_));
}

std::optional<std::u32string> UnicodeSpaces::Spell(std::int32_t width) const {
    std::optional<std::u32string> plain = SpellUnicode(width);
    if (halfWidth_ == 0 || width < halfWidth_) return plain;
    std::optional<std::u32string> withHalf = SpellUnicode(width - halfWidth_);
    if (!withHalf) return plain;
    // The half-width space only where it saves a character or makes the width at all.
    if (plain && plain->size() <= withHalf->size() + 1) return plain;
    return *withHalf + U' ';
}

std::optional<std::u32string> UnicodeSpaces::SpellUnicode(std::int32_t width) const {
    if (width < 0) return std::nullopt;
    std::u32string spelled;
    if (width == 0) return spelled;
    if (spaces_.empty()) return std::nullopt;
    const UnicodeSpace& widest = spaces_.back();
    while (width >= kTableWidth) {
        spelled += widest.codePoint;
        width -= widest.width;
    }
    if (fewest_[static_cast<std::size_t>(width)] == kNone) return std::nullopt;
    std::vector<std::size_t> chosen;
    while (width > 0) {
        const auto i = static_cast<std::size_t>(widestChoice_[static_cast<std::size_t>(width)]);
        chosen.push_back(i);
        width -= spaces_[i].width;
    }
    std::sort(chosen.rbegin(), chosen.rend());
    for (const std::size_t i : chosen) spelled += spaces_[i].codePoint;
    return spelled;
}

}  // namespace fudeline
