#include "convert/glyph_bits.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <limits>
#include <map>

#include "convert/reference_matcher.h"

namespace fudeline {
namespace {

// What a padding lane weighs: more than any glyph can, so it never wins.
constexpr std::int64_t kPaddingPenalty = std::int64_t{1} << 40;

InkWindow PlainWindow(const WindowBits& window) {
    InkWindow plain;
    for (int r = 0; r < kWindowRows; ++r) {
        const std::uint64_t word = window.ink[static_cast<std::size_t>((r + 1) / 2)];
        const auto row = static_cast<std::uint32_t>(word >> (32 * ((r + 1) % 2)));
        plain.rows[static_cast<std::size_t>(r)] = (row >> 1) & 0xFFFFFFu;
    }
    return plain;
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

GlyphBits::GlyphBits(const GlyphCatalog& catalog, Isa isa) : catalog_(catalog) {
    glyphs_.reserve(catalog.size());
    for (const fudeline::Glyph& source : catalog) {
        Glyph glyph{source.fullPenalty,
                    std::int64_t{source.fullPenalty} - source.halfPenalty,
                    0,
                    static_cast<std::uint32_t>(entries_.size()),
                    0,
                    {0, 0},
                    {0, 0}};
        // With negative weights a score can rise again, and then early
        // abandonment decides: only the per-pixel rules give that answer.
        if (source.halfPenalty < 0 || source.fullPenalty < 0) referenceOnly_ = true;
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
            layers[layer][static_cast<std::size_t>(pr / 2)] |= std::uint64_t{1}
                                                               << (pc + 32 * (pr % 2));
        }
        std::vector<Entry> entries;
        for (const auto& layer : layers) {
            for (std::size_t w = 0; w < kWindowWords; ++w) {
                if (layer[w] != 0) entries.push_back({layer[w], static_cast<std::uint32_t>(w)});
            }
        }
        // The heaviest words first, so that a losing glyph is given up early.
        std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            return std::popcount(a.bits) > std::popcount(b.bits);
        });
        entries_.insert(entries_.end(), entries.begin(), entries.end());
        glyph.entryCount = static_cast<std::uint32_t>(entries.size());
        for (std::size_t i = 0; i < 2 && i < entries.size(); ++i) {
            glyph.headBits[i] = entries[i].bits;
            glyph.headWords[i] = entries[i].word;
        }
        glyphs_.push_back(glyph);
    }
#if defined(__x86_64__)
    avx512_ = isa == Isa::Auto && __builtin_cpu_supports("avx512f") &&
              __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vpopcntdq");
#else
    (void)isa;
#endif
    if (avx512_) BuildWideBlocks();
}

void GlyphBits::BuildWideBlocks() {
    for (std::size_t first = 0; first < glyphs_.size(); first += 8) {
        WideBlock block{};
        block.firstEntry = static_cast<std::uint32_t>(wideEntries_.size());
        // Gather the lanes' entries by window word; a lane with two layers in
        // the same word needs a second entry for that word.
        std::map<std::pair<std::uint32_t, int>, WideEntry> byWord;
        for (int lane = 0; lane < 8; ++lane) {
            const std::size_t g = first + static_cast<std::size_t>(lane);
            if (g >= glyphs_.size()) {
                block.outsidePenalty[lane] = kPaddingPenalty;
                continue;
            }
            const Glyph& glyph = glyphs_[g];
            block.fullPenalty[lane] = glyph.fullPenalty;
            block.nearSaving[lane] = glyph.nearSaving;
            block.outsidePenalty[lane] = glyph.outsidePenalty;
            std::map<std::uint32_t, int> layerOfWord;
            for (std::uint32_t e = 0; e < glyph.entryCount; ++e) {
                const Entry& entry = entries_[glyph.firstEntry + e];
                WideEntry& wide = byWord[{entry.word, layerOfWord[entry.word]++}];
                wide.word = entry.word;
                wide.bits[lane] = entry.bits;
            }
        }
        for (const auto& [key, wide] : byWord) wideEntries_.push_back(wide);
        block.entryCount = static_cast<std::uint32_t>(wideEntries_.size()) - block.firstEntry;
        blocks_.push_back(block);
    }
}

std::int64_t GlyphBits::HeadPenalty(const Glyph& glyph, const WindowBits& window) {
    // Blank pattern pixels cost the full weight, less the saving where ink is next to them.
    const std::uint64_t blank0 = glyph.headBits[0] & ~window.ink[glyph.headWords[0]];
    const std::uint64_t blank1 = glyph.headBits[1] & ~window.ink[glyph.headWords[1]];
    const int blanks = std::popcount(blank0) + std::popcount(blank1);
    const int near = std::popcount(blank0 & window.nearInk[glyph.headWords[0]]) +
                     std::popcount(blank1 & window.nearInk[glyph.headWords[1]]);
    return glyph.outsidePenalty + blanks * glyph.fullPenalty - near * glyph.nearSaving;
}

std::int64_t GlyphBits::Penalty(const Glyph& glyph, const WindowBits& window, std::int64_t head,
                                std::int64_t limit) const {
    std::int64_t penalty = head;
    const Entry* end = entries_.data() + glyph.firstEntry + glyph.entryCount;
    const Entry* entry =
        entries_.data() + glyph.firstEntry + std::min<std::uint32_t>(glyph.entryCount, 2);
    for (; entry != end && penalty <= limit; ++entry) {
        const std::uint64_t blank = entry->bits & ~window.ink[entry->word];
        penalty += std::popcount(blank) * glyph.fullPenalty -
                   std::popcount(blank & window.nearInk[entry->word]) * glyph.nearSaving;
    }
    return penalty;
}

int GlyphBits::BestGlyphPortable(const WindowBits& window) const {
    // The answer is the glyph with the highest (score, index), so glyphs may
    // be tried in any order. First the two heaviest words of every glyph; the
    // glyph that did best there sets a bar early, and then only the glyphs
    // whose first words stay under the bar are looked at whole.
    thread_local std::vector<std::int64_t> head;
    head.resize(glyphs_.size());
    int seed = -1;
    std::int64_t smallest = std::numeric_limits<std::int64_t>::max();
    for (std::size_t g = 0; g < glyphs_.size(); ++g) {
        const std::int64_t p = HeadPenalty(glyphs_[g], window);
        head[g] = p;
        seed = p < smallest ? static_cast<int>(g) : seed;
        smallest = p < smallest ? p : smallest;
    }
    std::int64_t bestScore = 0;
    int best = -1;
    auto consider = [&](int g) {
        // A glyph can still win while its penalty stays at or below this
        // (strictly below when it would lose the tie on index).
        std::int64_t limit = kBestScore - bestScore;
        if (g < best) --limit;
        const auto i = static_cast<std::size_t>(g);
        const std::int64_t penalty = Penalty(glyphs_[i], window, head[i], limit);
        if (penalty <= limit) {
            bestScore = kBestScore - penalty;
            best = g;
        }
    };
    if (seed >= 0) consider(seed);
    for (int g = 0; g < static_cast<int>(glyphs_.size()); ++g) {
        if (g != seed && head[static_cast<std::size_t>(g)] <= kBestScore - bestScore) consider(g);
    }
    return best;
}

#if defined(__x86_64__)
__attribute__((target("avx512f,avx512dq,avx512vpopcntdq"))) int GlyphBits::BestGlyphAvx512(
    const WindowBits& window) const {
    // Every glyph scored whole, eight at a time, without a branch; each lane
    // keeps its best (score, glyph), later glyphs winning ties.
    __m512i laneScore = _mm512_setzero_si512();
    __m512i laneGlyph = _mm512_set1_epi64(-1);
    __m512i glyphIndex = _mm512_setr_epi64(0, 1, 2, 3, 4, 5, 6, 7);
    const __m512i eight = _mm512_set1_epi64(8);
    const __m512i best = _mm512_set1_epi64(kBestScore);
    for (const WideBlock& block : blocks_) {
        __m512i blanks = _mm512_setzero_si512(), nears = _mm512_setzero_si512();
        const WideEntry* entry = wideEntries_.data() + block.firstEntry;
        for (std::uint32_t e = 0; e < block.entryCount; ++e, ++entry) {
            const __m512i notInk =
                _mm512_set1_epi64(static_cast<long long>(~window.ink[entry->word]));
            const __m512i near =
                _mm512_set1_epi64(static_cast<long long>(window.nearInk[entry->word]));
            const __m512i blank = _mm512_and_si512(notInk, _mm512_load_si512(entry->bits));
            blanks = _mm512_add_epi64(blanks, _mm512_popcnt_epi64(blank));
            nears = _mm512_add_epi64(nears, _mm512_popcnt_epi64(_mm512_and_si512(blank, near)));
        }
        const __m512i penalty = _mm512_sub_epi64(
            _mm512_add_epi64(_mm512_load_si512(block.outsidePenalty),
                             _mm512_mullo_epi64(blanks, _mm512_load_si512(block.fullPenalty))),
            _mm512_mullo_epi64(nears, _mm512_load_si512(block.nearSaving)));
        const __m512i score = _mm512_sub_epi64(best, penalty);
        const __mmask8 better = _mm512_cmpge_epi64_mask(score, laneScore);
        laneScore = _mm512_mask_mov_epi64(laneScore, better, score);
        laneGlyph = _mm512_mask_mov_epi64(laneGlyph, better, glyphIndex);
        glyphIndex = _mm512_add_epi64(glyphIndex, eight);
    }
    alignas(64) std::int64_t scores[8], glyphs[8];
    _mm512_store_si512(scores, laneScore);
    _mm512_store_si512(glyphs, laneGlyph);
    std::int64_t bestScore = 0;
    std::int64_t bestGlyph = -1;
    for (int lane = 0; lane < 8; ++lane) {
        if (glyphs[lane] < 0) continue;
        if (scores[lane] > bestScore || (scores[lane] == bestScore && glyphs[lane] > bestGlyph)) {
            bestScore = scores[lane];
            bestGlyph = glyphs[lane];
        }
    }
    return static_cast<int>(bestGlyph);
}
#else
int GlyphBits::BestGlyphAvx512(const WindowBits& window) const {
    return BestGlyphPortable(window);
}
#endif

int GlyphBits::BestGlyph(const WindowBits& window) const {
    if (referenceOnly_) return BestGlyphReference(catalog_, PlainWindow(window));
    return avx512_ ? BestGlyphAvx512(window) : BestGlyphPortable(window);
}

}  // namespace fudeline
