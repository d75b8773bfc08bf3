#include "fine/fine_glyphs.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <limits>
#include <unordered_map>

#include "fine/fine_cost.h"

namespace fudeline {
namespace {

// The largest a glyph's cost can grow either way must fit the 16-bit scores.
constexpr std::int32_t Magnitude(std::int32_t w) {
    return w < 0 ? -w : w;
}
static_assert(kFineMaxWidth * 16 *
                      (CountWeights::far + Magnitude(CountWeights::exact) +
                       Magnitude(CountWeights::near1) + Magnitude(CountWeights::near2) +
                       Magnitude(CountWeights::reach1) + Magnitude(CountWeights::reach2) +
                       Magnitude(CountWeights::beyond)) +
                  64 <
              std::numeric_limits<std::int16_t>::max());

// A number no other scorer of this process has, so that kept scores are
// never read by a scorer made later at the same address.
std::uint64_t NextSerial() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

}  // namespace

std::optional<FineShape> FaceShape(const GlyphCatalog& catalog, std::size_t index,
                                   const MonaFont& font) {
    const Glyph& entry = catalog[index];
    const auto face = FaceGlyphs(font, entry.text);
    if (face.size() != 1 || !face[0] || face[0]->advance != entry.width) return std::nullopt;
    if (entry.width <= 0 || entry.width > kFineMaxWidth) return std::nullopt;
    FineShape shape;
    shape.glyph = static_cast<std::int32_t>(index);
    shape.width = entry.width;
    for (int x = 0; x < entry.width; ++x) {
        shape.dark[static_cast<std::size_t>(x)] = DarkColumn(*face[0], x);
    }
    shape.extra = GlyphPrior(entry.text);
    return shape;
}

namespace {

std::vector<FineShape> CatalogShapes(const GlyphCatalog& catalog, const MonaFont& font) {
    std::vector<FineShape> shapes;
    for (std::size_t index = 0; index < catalog.size(); ++index) {
        if (auto shape = FaceShape(catalog, index, font)) shapes.push_back(*shape);
    }
    return shapes;
}

}  // namespace

FineGlyphs::FineGlyphs(const GlyphCatalog& catalog, const MonaFont& font, ScorerIsa isa)
    : FineGlyphs(CatalogShapes(catalog, font), isa) {}

FineGlyphs::FineGlyphs(std::span<const FineShape> shapes, ScorerIsa isa)
    : kernels_(FineKernelsFor(ResolveIsa(isa))), serial_(NextSerial()) {
    using Kind = FinePattern::Kind;
    std::unordered_map<std::uint32_t, std::uint32_t> rowOf;
    auto rowFor = [&](std::uint16_t mask, Kind kind) {
        const std::uint32_t key = std::uint32_t{mask} | std::uint32_t(kind) << 16;
        const auto [it, added] =
            rowOf.try_emplace(key, static_cast<std::uint32_t>(patterns_.size()));
        if (added) patterns_.push_back({mask, kind});
        return it->second * static_cast<std::uint32_t>(kFineTableColumns);
    };
    for (const FineShape& shape : shapes) {
        const int width = shape.width;
        if (width <= 0 || width > kFineMaxWidth) continue;
        // Two blank columns either side so that the disks need no edge tests;
        // a glyph's reach stays within its own columns.
        std::array<std::uint32_t, kFineMaxWidth + 4> dark{};
        std::int32_t pixels = 0;
        for (int x = 0; x < width; ++x) {
            dark[static_cast<std::size_t>(x + 2)] = shape.dark[static_cast<std::size_t>(x)];
            pixels += std::popcount(dark[static_cast<std::size_t>(x + 2)]);
        }
        if (pixels == 0) continue;
        auto group = std::find_if(groups_.begin(), groups_.end(),
                                  [&](const FineWidthGroup& g) { return g.width == width; });
        if (group == groups_.end()) {
            group = groups_.insert(groups_.end(), FineWidthGroup{});
            group->width = width;
            group->termBegin.push_back(0);
        }
        group->catalogIndex.push_back(shape.glyph);
        group->base.push_back(static_cast<std::int16_t>(CountWeights::far * pixels + shape.extra));
        for (int x = 0; x < width; ++x) {
            const auto c = static_cast<std::size_t>(x + 2);
            const auto column = static_cast<std::uint32_t>(x);
            const auto reach1 =
                static_cast<std::uint16_t>(WithinOne(dark[c - 1], dark[c], dark[c + 1]));
            const auto reach2 = static_cast<std::uint16_t>(
                WithinTwo(dark[c - 2], dark[c - 1], dark[c], dark[c + 1], dark[c + 2]));
            if (dark[c] != 0 && shape.moved == 0) {
                group->terms.push_back(rowFor(static_cast<std::uint16_t>(dark[c]), Kind::Dark) +
                                       column);
            } else if (dark[c] != 0) {
                group->terms.push_back(rowFor(static_cast<std::uint16_t>(dark[c]), Kind::Moved) +
                                       column);
                const auto drawn = static_cast<std::uint16_t>(
                    shape.moved > 0 ? dark[c] >> shape.moved : dark[c] << -shape.moved);
                group->terms.push_back(rowFor(drawn, Kind::Beyond) + column);
            }
            if (reach2 != 0) group->terms.push_back(rowFor(reach2, Kind::Reach2) + column);
            if constexpr (CountWeights::reach1 != 0) {
                if (reach1 != 0) group->terms.push_back(rowFor(reach1, Kind::Reach1) + column);
            } else {
                (void)reach1;
            }
        }
        group->termBegin.push_back(static_cast<std::uint32_t>(group->terms.size()));
        widest_ = std::max(widest_, width);
    }
}

void FineGlyphs::ScoreRow(const InkColumns& ink, const std::array<bool, kFineRowColumns>& wanted,
                          RowScores& scores) const {
    ScoreChunks(ink, wanted, scores, nullptr);
}

void FineGlyphs::ScoreChunks(const InkColumns& ink, const std::array<bool, kFineRowColumns>& wanted,
                             RowScores& scores, std::array<bool, KeptScores::kChunks>* current) const {
    constexpr int kStartChunks = RowScores::kStarts / kFineChunk;
    constexpr int kTableChunks = kFineTableColumns / kFineChunk;
    // Start chunk c reads the tables' columns 16 c to 16 c + 15 + widest - 1.
    const int ahead = (kFineChunk - 1 + widest_ - 1) / kFineChunk;
    static_assert(kStartChunks - 1 + (kFineChunk - 1 + kFineMaxWidth - 1) / kFineChunk <
                  kTableChunks);
    static_assert(InkColumns::kSize >= kFineTableColumns);
    scores.least.resize(groups_.size());
    scores.choice.resize(groups_.size());
    thread_local std::vector<std::int16_t> tables;
    tables.resize(patterns_.size() * kFineTableColumns);
    std::array<bool, kTableChunks> filled{};
    for (int chunk = 0; chunk < kStartChunks; ++chunk) {
        if (current && (*current)[static_cast<std::size_t>(chunk)]) continue;
        const auto first = wanted.begin() + chunk * kFineChunk;
        const auto last = wanted.begin() + std::min((chunk + 1) * kFineChunk, kFineRowColumns);
        if (std::find(first, last, true) == last) continue;
        for (int t = chunk; t <= chunk + ahead; ++t) {
            if (filled[static_cast<std::size_t>(t)]) continue;
            filled[static_cast<std::size_t>(t)] = true;
            kernels_.fillTables(patterns_, ink, t, tables.data());
        }
        kernels_.sumChunk(groups_, tables.data(), chunk, scores);
        if (current) (*current)[static_cast<std::size_t>(chunk)] = true;
    }
}

void FineGlyphs::ScoreRow(const InkColumns& ink, const std::array<bool, kFineRowColumns>& wanted,
                          KeptScores& kept) const {
    constexpr int kStartChunks = KeptScores::kChunks;
    if (kept.scorer != serial_) {
        kept.current.fill(false);
        kept.scorer = serial_;
    } else {
        // Start chunk c reads the ink of columns 16 c to 16 c + 15 + widest - 1:
        // where any of them changed, its scores are old.
        std::array<std::int32_t, InkColumns::kSize + 1> changedBefore;
        changedBefore[0] = 0;
        for (std::size_t x = 0; x < InkColumns::kSize; ++x) {
            const bool changed = ink.target[x] != kept.ink.target[x] ||
                                 ink.near1[x] != kept.ink.near1[x] ||
                                 ink.near2[x] != kept.ink.near2[x] ||
                                 ink.beyond[x] != kept.ink.beyond[x];
            changedBefore[x + 1] = changedBefore[x] + (changed ? 1 : 0);
        }
        if (changedBefore[InkColumns::kSize] != 0) {
            for (int chunk = 0; chunk < kStartChunks; ++chunk) {
                const auto from = static_cast<std::size_t>(chunk * kFineChunk);
                const auto to = std::min<std::size_t>(from + kFineChunk + widest_ - 1, InkColumns::kSize);
                if (changedBefore[to] != changedBefore[from]) kept.current[static_cast<std::size_t>(chunk)] = false;
            }
        }
    }
    kept.ink = ink;
    ScoreChunks(ink, wanted, kept.scores, &kept.current);
}

std::int32_t FineGlyphs::Cheapest(const RowScores& scores, std::size_t group, int x,
                                  std::int32_t inkPixels, std::int32_t& bound) const {
    const auto xi = static_cast<std::size_t>(x);
    const std::int32_t cost = scores.least[group][xi] + CountWeights::missed * inkPixels;
    if (cost >= bound) return -1;
    bound = cost;
    return groups_[group].catalogIndex[static_cast<std::size_t>(scores.choice[group][xi])];
}

std::int32_t FineGlyphs::Least(const RowScores& scores, std::size_t group, int x,
                               std::int32_t inkPixels, std::int32_t& cost) const {
    const auto xi = static_cast<std::size_t>(x);
    cost = scores.least[group][xi] + CountWeights::missed * inkPixels;
    return groups_[group].catalogIndex[static_cast<std::size_t>(scores.choice[group][xi])];
}

}  // namespace fudeline
