#include "fine/exact_glyphs.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

#include "fine/fine_cost.h"

namespace fudeline {
namespace {

// Any odd multiplier spreads the columns well enough: a hit is checked column
// by column, so a collision costs a comparison, never a wrong glyph.
constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

std::uint64_t Power(int n) {
    std::uint64_t p = 1;
    for (int i = 0; i < n; ++i) p *= kMultiplier;
    return p;
}

}  // namespace

void ExactGlyphs::Build(const GlyphCatalog& glyphs, const MonaFont& font,
                        const std::vector<std::int32_t>& costs) {
    // By width and drawing, the glyph that stands for all drawn alike.
    std::array<std::unordered_map<std::u16string, std::int32_t>, kFineMaxWidth + 1> chosen;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const auto face = FaceGlyphs(font, glyphs[i].text);
        if (face.size() != 1 || !face[0] || face[0]->advance != glyphs[i].width) continue;
        const int width = face[0]->advance;
        if (width <= 0 || width > kFineMaxWidth) continue;
        std::u16string dark;
        for (int x = 0; x < width; ++x) dark.push_back(static_cast<char16_t>(DarkColumn(*face[0], x)));
        if (std::all_of(dark.begin(), dark.end(), [](char16_t c) { return c == 0; })) continue;
        const auto [it, added] =
            chosen[static_cast<std::size_t>(width)].try_emplace(dark, static_cast<std::int32_t>(i));
        if (!added && costs[i] < costs[static_cast<std::size_t>(it->second)]) {
            it->second = static_cast<std::int32_t>(i);
        }
    }
    for (int width = 1; width <= kFineMaxWidth; ++width) {
        auto& entries = byWidth_[static_cast<std::size_t>(width)];
        for (const auto& [dark, glyph] : chosen[static_cast<std::size_t>(width)]) {
            std::uint64_t hash = 0;
            for (char16_t c : dark) hash = hash * kMultiplier + c;
            entries.push_back({hash, glyph, static_cast<std::uint32_t>(columns_.size())});
            columns_.insert(columns_.end(), dark.begin(), dark.end());
            seen_[static_cast<std::size_t>(width)].set(hash >> 52);
        }
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
    }
}

void ExactGlyphs::Find(const std::array<std::uint16_t, InkColumns::kSize>& target,
                       ExactRow& out) const {
    for (int width = 1; width <= kFineMaxWidth; ++width) {
        auto& found = out.glyph[static_cast<std::size_t>(width)];
        found.fill(-1);
        const auto& entries = byWidth_[static_cast<std::size_t>(width)];
        if (entries.empty()) continue;
        const auto& seen = seen_[static_cast<std::size_t>(width)];
        const std::uint64_t drop = Power(width - 1);
        std::uint64_t hash = 0;
        for (int x = 0; x < width; ++x) hash = hash * kMultiplier + target[static_cast<std::size_t>(x)];
        for (int x = 0; x + width <= kFineRowColumns; ++x) {
            if (x > 0) {
                hash = (hash - drop * target[static_cast<std::size_t>(x - 1)]) * kMultiplier +
                       target[static_cast<std::size_t>(x + width - 1)];
            }
            if (!seen.test(hash >> 52)) continue;
            auto it = std::lower_bound(entries.begin(), entries.end(), hash,
                                       [](const Entry& e, std::uint64_t h) { return e.hash < h; });
            for (; it != entries.end() && it->hash == hash; ++it) {
                if (std::equal(columns_.begin() + it->columns,
                               columns_.begin() + it->columns + static_cast<std::uint32_t>(width),
                               target.begin() + x)) {
                    found[static_cast<std::size_t>(x)] = static_cast<std::int16_t>(it->glyph);
                    break;
                }
            }
        }
    }
}

}  // namespace fudeline
