#include "match/glyph_bits.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <map>

#include "match/reference_matcher.h"

namespace fudeline {
namespace {

InkWindow PlainWindow(const WindowBits& window) {
    InkWindow plain;
    for (int r = 0; r < kWindowRows; ++r) {
        const std::uint64_t word = window.ink[static_cast<std::size_t>((r + 1) / 2)];
        const auto row = static_cast<std::uint32_t>(word >> (32 * ((r + 1) % 2)));
        plain.rows[static_cast<std::size_t>(r)] = (row >> 1) & 0xFFFFFFu;
    }
    return plain;
}

// Bits set in `v`, inline: baseline x86-64 has no bit-count instruction, and
// the library call costs more than these few operations.
int CountBits(std::uint64_t v) {
    v -= (v >> 1) & 0x5555555555555555ull;
    v = (v & 0x3333333333333333ull) + ((v >> 2) & 0x3333333333333333ull);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((v * 0x0101010101010101ull) >> 56);
}

}  // namespace

void WindowBits::Build(const std::array<std::uint32_t, kPaddedRows>& rows) {
    std::array<std::uint32_t, kPaddedRows> near{};
    for (int r = 0; r < kPaddedRows; ++r) {
        const auto i = static_cast<std::size_t>(r);
        std::uint32_t n = (rows[i] << 1) | (rows[i] >> 1);
        if (r > 0) n |= rows[i - 1];
        if (r + 1 < kPaddedRows) n |= rows[i + 1];
        near[i] = n;
    }
    for (std::size_t w = 0; w < kWindowWords; ++w) {
        ink[w] = rows[2 * w] | (std::uint64_t{rows[2 * w + 1]} << 32);
        nearInk[w] = near[2 * w] | (std::uint64_t{near[2 * w + 1]} << 32);
    }
}

void WindowBits::Build(const InkWindow& window) {
    std::array<std::uint32_t, kPaddedRows> rows{};
    for (std::size_t r = 0; r < kWindowRows; ++r) rows[r + 1] = window.rows[r] << 1;
    Build(rows);
}

GlyphBits::GlyphBits(const GlyphCatalog& catalog, Isa isa)
    : catalog_(catalog), isa_(ResolveIsa(isa)), box_(catalog), kernel_(BoxKernelFor(isa_)) {
    for (std::size_t g = 0; g < catalog.size(); ++g) {
        const fudeline::Glyph& glyph = catalog[g];
        // With negative weights a score can rise again, and then early
        // abandonment decides: only the per-pixel rules give that answer.
        if (glyph.halfPenalty < 0 || glyph.fullPenalty < 0) referenceOnly_ = true;
        if (!BoxTables::Fits(glyph)) AddOtherGlyph(static_cast<int>(g));
    }
}

void GlyphBits::AddOtherGlyph(int index) {
    const fudeline::Glyph& source = catalog_[static_cast<std::size_t>(index)];
    OtherGlyph glyph{index,
                     source.fullPenalty,
                     std::int64_t{source.fullPenalty} - source.halfPenalty,
                     0,
                     static_cast<std::uint32_t>(entries_.size()),
                     0};
    // Layer k holds the pixels listed at least k + 1 times.
    std::map<std::pair<std::int64_t, std::int64_t>, std::size_t> seen;
    std::vector<std::array<std::uint64_t, kWindowWords>> layers;
    for (const GlyphPixel& p : source.pixels) {
        const std::int64_t pc = std::int64_t{p.x} + 2, pr = std::int64_t{p.y} + 2;
        if (pc < 0 || pc > kWindowColumns + 1 || pr < 0 || pr >= kPaddedRows) {
            glyph.outsidePenalty += source.fullPenalty;
            continue;
        }
        const std::size_t layer = seen[{pc, pr}]++;
        if (layer == layers.size()) layers.emplace_back();
        layers[layer][static_cast<std::size_t>(pr / 2)] |= std::uint64_t{1} << (pc + 32 * (pr % 2));
    }
    for (const auto& layer : layers) {
        for (std::size_t w = 0; w < kWindowWords; ++w) {
            if (layer[w] != 0) entries_.push_back({layer[w], static_cast<std::uint32_t>(w)});
        }
    }
    glyph.entryCount = static_cast<std::uint32_t>(entries_.size()) - glyph.firstEntry;
    others_.push_back(glyph);
}

std::int64_t GlyphBits::Score(const OtherGlyph& glyph, const WindowBits& window) const {
    // Blank pattern pixels cost the full weight, less the saving where ink is next to them.
    std::int64_t penalty = glyph.outsidePenalty;
    const Entry* entry = entries_.data() + glyph.firstEntry;
    for (std::uint32_t e = 0; e < glyph.entryCount; ++e, ++entry) {
        const std::uint64_t blank = entry->bits & ~window.ink[entry->word];
        penalty += CountBits(blank) * glyph.fullPenalty -
                   CountBits(blank & window.nearInk[entry->word]) * glyph.nearSaving;
    }
    return kBestScore - penalty;
}

int GlyphBits::BestGlyph(const WindowBits& window) const {
    if (referenceOnly_) return BestGlyphReference(catalog_, PlainWindow(window));
    std::int64_t bestScore = -1;
    int best = -1;
    if (box_.slotCount() > 0) {
        // Box position (px, py) is window cell (px + 1, py + 1): padded row
        // py + 2, padded column px + 2.
        std::array<std::uint16_t, kBoxSide> ink, nearInk, inkOrNear;
        for (int py = 0; py < kBoxSide; ++py) {
            const int pr = py + 2;
            const int shift = 32 * (pr % 2) + 2;
            const auto w = static_cast<std::size_t>(pr / 2);
            const auto inkRow = static_cast<std::uint16_t>(window.ink[w] >> shift);
            ink[static_cast<std::size_t>(py)] = inkRow;
            const auto nearRow = static_cast<std::uint16_t>(window.nearInk[w] >> shift);
            nearInk[static_cast<std::size_t>(py)] = static_cast<std::uint16_t>(nearRow & ~inkRow);
            inkOrNear[static_cast<std::size_t>(py)] = static_cast<std::uint16_t>(nearRow | inkRow);
        }
        thread_local PositionList inkList, nearList;
        thread_local BoxScratch scratch;
        inkList.Build(ink);
        const bool byUnion = PositionList::Cost(inkOrNear) < PositionList::Cost(nearInk);
        nearList.Build(byUnion ? inkOrNear : nearInk);
        nearList.inkOrNear = byUnion;
        scratch.Reserve(box_.slotCount());
        const BoxBest inBox = kernel_(box_, inkList, nearList, scratch);
        if (inBox.slot >= 0 && box_.glyphOfSlot(inBox.slot) >= 0) {
            bestScore = inBox.score;
            best = box_.glyphOfSlot(inBox.slot);
        }
    }
    for (const OtherGlyph& glyph : others_) {
        const std::int64_t score = Score(glyph, window);
        if (score > bestScore || (score == bestScore && glyph.index > best)) {
            bestScore = score;
            best = glyph.index;
        }
    }
    return bestScore >= 0 ? best : -1;
}

}  // namespace fudeline
