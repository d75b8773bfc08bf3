#include "fine/fine_decoder.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <random>

#include "text/gap_composer.h"
#include "render/text_painter.h"
#include "glyphs/cp932.h"
#include "pixels/geometry.h"
#include "random_ink.h"
#include "test_catalogs.h"

namespace fudeline {
namespace {

// The decoder's cost written out pixel by pixel, with a plain dynamic
// programme over every start and every spacing: what the bit masks, the
// pruning and the bounds of the real decoder must reproduce exactly.
class PlainDecoder {
  public:
    struct Shape {
        int width = 0;
        std::int64_t prior = 0;
        std::vector<std::pair<int, int>> dark;  // (x, y) in the cell
        std::vector<std::vector<int>> reach;    // [x][y]: squared distance to the nearest dark pixel
        std::vector<std::vector<bool>> drawn;   // [x][y]: a dark pixel
    };

    PlainDecoder(const GlyphCatalog& catalog, const MonaFont& font, FineOptions options)
        : noFillers_(options.noFillers), unicode_(options.unicodeSpaces) {
        const TextPainter painter(font);
        auto add = [&](const std::string& text, int width) {
            const auto code = Cp932CharToUnicode(text);
            const FontGlyph* face = code ? font.GlyphFor(*code) : nullptr;
            if (!face || face->advance != width || shapes_.count(text)) return;
            Shape shape = ShapeOf(*face);
            shape.prior = GlyphPrior(text);
            if (!shape.dark.empty() && width <= 24) shapes_[text] = shape;
        };
        for (const Glyph& glyph : catalog) add(glyph.text, glyph.width);
        if (options.rangeCharacters) {
            // Every one- and two-byte character of the catalogue's ranges.
            for (int b = 0x21; b <= 0xDF; ++b) {
                const std::string text(1, static_cast<char>(b));
                const auto code = Cp932CharToUnicode(text);
                if (const FontGlyph* face = code ? font.GlyphFor(*code) : nullptr) {
                    add(text, face->advance);
                }
            }
            for (int c = 0x8140; c <= 0x84BE; ++c) {
                const std::string text{static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
                const auto code = Cp932CharToUnicode(text);
                if (const FontGlyph* face = code ? font.GlyphFor(*code) : nullptr) {
                    add(text, face->advance);
                }
            }
        }
        for (int g = 0; g <= 800; ++g) {
            Image spacing(g + 32, 16, kWhite);
            // Unicode spaces draw nothing.
            if (!unicode_) painter.DrawString(spacing, 0, 0, ComposeGap(g), g);
            auto& pixels = fillers_.emplace_back();
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < g; ++x) {
                    if (spacing.Pixel(x, y) == kBlack) pixels.push_back({x, y});
                }
            }
        }
    }

    bool Allowed(int gap, bool atLineStart) const {
        if (gap == 0) return true;
        if (unicode_) return unicode_->CanSpell(gap);
        if (gap < 3) return false;
        if (!noFillers_) return true;
        if (gap % 11 == 0) return true;
        return gap % 11 == 5 && !(atLineStart && gap == 5);
    }

    std::int64_t Optimum(const Image& ink, int row) const {
        const Row r(ink, row);
        constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max() / 4;
        std::vector<std::int64_t> best(801, kNone);
        best[0] = 0;
        for (int y = 0; y < 800; ++y) {
            std::int64_t arrive = best[static_cast<std::size_t>(y)];
            for (int x = 0; x + (unicode_ ? 1 : 3) <= y; ++x) {
                if (best[static_cast<std::size_t>(x)] == kNone || !Allowed(y - x, x == 0)) continue;
                arrive = std::min(arrive, best[static_cast<std::size_t>(x)] + GapCost(r, x, y - x));
            }
            if (arrive == kNone || !r.Scored(y)) continue;
            for (const auto& [text, shape] : shapes_) {
                if (y + shape.width > 800) continue;
                auto& end = best[static_cast<std::size_t>(y + shape.width)];
                end = std::min(end, arrive + GlyphCost(r, shape, y));
            }
        }
        std::int64_t answer = kNone;
        for (int x = 0; x <= 800; ++x) {
            if (best[static_cast<std::size_t>(x)] != kNone) {
                answer = std::min(answer, best[static_cast<std::size_t>(x)] + kMissedInkCost * r.Ink(x, 800));
            }
        }
        return answer;
    }

    // The cost of a row the decoder returned; none when it breaks the rules.
    std::optional<std::int64_t> Evaluate(const Image& ink, int row, const TextRow& cells) const {
        const Row r(ink, row);
        std::int64_t cost = 0;
        int pen = 0;
        for (const TextCell& cell : cells) {
            const auto shape = shapes_.find(cell.text);
            if (shape == shapes_.end() || shape->second.width != cell.width) return std::nullopt;
            if (!Allowed(cell.gap, pen == 0)) return std::nullopt;
            const int x = pen + cell.gap;
            if (x + cell.width > 800 || !r.Scored(x)) return std::nullopt;
            cost += GapCost(r, pen, cell.gap) + GlyphCost(r, shape->second, x);
            pen = x + cell.width;
        }
        return cost + kMissedInkCost * r.Ink(pen, 800);
    }

  private:
    struct Row {
        Row(const Image& ink, int row) : ink(ink), top(16 * row) {
            for (int x = 0; x < 800; ++x) {
                int column = 0;
                for (int y = 0; y < 16; ++y) column += IsInk(x, top + y);
                inkBefore[static_cast<std::size_t>(x + 1)] =
                    inkBefore[static_cast<std::size_t>(x)] + column;
            }
        }
        bool IsInk(int x, int y) const { return x >= 0 && x < 800 && ink.Pixel(x, y) == kBlack; }
        // The squared distance to the nearest ink pixel, 5 when beyond 2 px.
        int InkDistance(int x, int y) const {
            int best = 5;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    if (dx * dx + dy * dy <= 4 && IsInk(x + dx, y + dy)) {
                        best = std::min(best, dx * dx + dy * dy);
                    }
                }
            }
            return best;
        }
        bool Near(int x, int y) const { return InkDistance(x, y) <= 4; }
        // Target pixels in columns [from, to).
        int Ink(int from, int to) const {
            return inkBefore[static_cast<std::size_t>(to)] -
                   inkBefore[static_cast<std::size_t>(from)];
        }
        bool Scored(int x) const {
            for (int c = x; c < x + 16 && c < 800; ++c) {
                for (int y = 0; y < 16; ++y) {
                    if (Near(c, top + y)) return true;
                }
            }
            return false;
        }
        const Image& ink;
        int top;
        std::array<int, 801> inkBefore{};
    };

    static Shape ShapeOf(const FontGlyph& face) {
        Shape s;
        s.width = face.advance;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < face.advance; ++x) {
                if (face.IsDark(x, y)) s.dark.push_back({x, y});
            }
        }
        s.reach.assign(static_cast<std::size_t>(face.advance), std::vector<int>(16, 1000));
        s.drawn.assign(static_cast<std::size_t>(face.advance), std::vector<bool>(16, false));
        for (const auto& [dx, dy] : s.dark) {
            s.drawn[static_cast<std::size_t>(dx)][static_cast<std::size_t>(dy)] = true;
        }
        for (int x = 0; x < face.advance; ++x) {
            for (int y = 0; y < 16; ++y) {
                for (const auto& [dx, dy] : s.dark) {
                    int& d = s.reach[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
                    d = std::min(d, (x - dx) * (x - dx) + (y - dy) * (y - dy));
                }
            }
        }
        return s;
    }

    // A drawn pixel by its squared distance to ink: 0, 1, up to 4, beyond.
    static std::int64_t DarkCost(int squared) {
        return squared == 0 ? -kOnInkGain
               : squared == 1 ? kOneOffCost
               : squared <= 4 ? kTwoOffCost
                              : kFarPixelCost;
    }

    std::int64_t GapCost(const Row& r, int x, int gap) const {
        std::int64_t cost = kMissedInkCost * r.Ink(x, x + gap);
        for (const auto& [fx, fy] : fillers_[static_cast<std::size_t>(gap)]) {
            const int squared = r.InkDistance(x + fx, r.top + fy);
            cost += squared > 4 ? kFarFillerCost : DarkCost(squared);
        }
        return cost;
    }

    static std::int64_t GlyphCost(const Row& r, const Shape& shape, int x) {
        std::int64_t cost = shape.prior;
        for (const auto& [dx, dy] : shape.dark) cost += DarkCost(r.InkDistance(x + dx, r.top + dy));
        for (int c = 0; c < shape.width; ++c) {
            for (int y = 0; y < 16; ++y) {
                if (!r.IsInk(x + c, r.top + y)) continue;
                const int d = shape.reach[static_cast<std::size_t>(c)][static_cast<std::size_t>(y)];
                cost += d == 0 ? 0 : d == 1 ? kInkOneOffCost : d <= 4 ? kInkTwoOffCost : kMissedInkCost;
            }
        }
        // The ink under the glyph is its drawing, pixel for pixel.
        bool exact = true;
        for (int c = 0; c < shape.width && exact; ++c) {
            for (int y = 0; y < 16 && exact; ++y) {
                exact = r.IsInk(x + c, r.top + y) ==
                        shape.drawn[static_cast<std::size_t>(c)][static_cast<std::size_t>(y)];
            }
        }
        if (exact) cost -= kExactGlyphGain * static_cast<std::int64_t>(shape.dark.size());
        return cost;
    }

    bool noFillers_;
    const UnicodeSpaces* unicode_;
    std::map<std::string, Shape> shapes_;
    std::vector<std::vector<std::pair<int, int>>> fillers_;
};

class FineDecoderTest : public ::testing::Test {
  protected:
    // Glyphs of `catalog` drawn along text row `row` with random spacing,
    // then `flips` ink pixels of the row each moved one pixel down.
    static Image TextInk(const GlyphCatalog& catalog, int row, int flips, std::mt19937& rng) {
        Image ink(kCanvasWidth, kInkHeight, kWhite);
        const TextPainter painter(*font_);
        std::uniform_int_distribution<std::size_t> pick(0, catalog.size() - 1);
        for (int x = 3; x < 760;) {
            const Glyph& glyph = catalog[pick(rng)];
            painter.DrawString(ink, x, 16 * row, glyph.text, 799);
            x += glyph.width + std::uniform_int_distribution<int>(0, 1)(rng) * 11;
        }
        std::uniform_int_distribution<int> column(0, 799), line(16 * row, 16 * row + 14);
        for (int moved = 0; moved < flips;) {
            const int x = column(rng), y = line(rng);
            if (ink.Pixel(x, y) != kBlack || ink.Pixel(x, y + 1) == kBlack) continue;
            ink.SetPixel(x, y, kWhite);
            ink.SetPixel(x, y + 1, kBlack);
            ++moved;
        }
        return ink;
    }

    static void SetUpTestSuite() {
        font_ = &testing::TestFont();
        catalog_ = new GlyphCatalog(testing::LoadBuiltCatalog());
        ASSERT_GT(catalog_->size(), 400u);
        // Every fifth glyph keeps the plain programme quick; all widths stay.
        sample_ = new GlyphCatalog;
        for (std::size_t i = 0; i < catalog_->size(); i += 5) sample_->push_back((*catalog_)[i]);
    }
    static void TearDownTestSuite() {
        delete catalog_;
        delete sample_;
    }
    static const MonaFont* font_;
    static GlyphCatalog* catalog_;
    static GlyphCatalog* sample_;
};
const MonaFont* FineDecoderTest::font_ = nullptr;
GlyphCatalog* FineDecoderTest::catalog_ = nullptr;
GlyphCatalog* FineDecoderTest::sample_ = nullptr;

TEST_F(FineDecoderTest, FindsThePlainProgrammesOptimumOnRandomRows) {
    using testing::InkStyle;
    std::mt19937 rng(1234);
    const UnicodeSpaces unicode;
    for (const Spacing spacing : {Spacing::Fillers, Spacing::Spaces, Spacing::Unicode}) {
        const bool noFillers = spacing == Spacing::Spaces;
        // Rows scored with AVX2 where the processor can, by plain vector code
        // anywhere; the sample only, which keeps the plain programme quick.
        const FineOptions options{.noFillers = noFillers,
                                  .unicodeSpaces = spacing == Spacing::Unicode ? &unicode : nullptr,
                                  .rangeCharacters = false,
                                  .following = false};
        const FineDecoder wide(*sample_, *font_, options);
        const FineDecoder portable(*sample_, *font_, options, ScorerIsa::Portable);
        const PlainDecoder plain(*sample_, *font_, options);
        for (InkStyle style :
             {InkStyle::Scribble, InkStyle::Ellipses, InkStyle::Strokes, InkStyle::Dense,
              InkStyle::Sparse, InkStyle::Edges, InkStyle::Margins}) {
            const Image ink = testing::RandomInk(style, rng);
            for (int k = 0; k < 3; ++k) {
                const int row = std::uniform_int_distribution<int>(0, kRowCount - 1)(rng);
                SCOPED_TRACE(::testing::Message() << "style " << static_cast<int>(style) << " row "
                                                  << row << " spacing " << SpacingName(spacing));
                const std::int64_t optimum = plain.Optimum(ink, row);
                for (const FineDecoder* decoder : {&wide, &portable}) {
                    EXPECT_EQ(decoder->RowCost(ink, row), optimum);
                    EXPECT_EQ(plain.Evaluate(ink, row, decoder->DecodeRow(ink, row)), optimum);
                }
                EXPECT_EQ(wide.DecodeRow(ink, row), portable.DecodeRow(ink, row));
            }
        }
        // Text drawn with the face, where glyphs are found whole and earn
        // their gain, and the same with a few pixels moved, where they are not.
        for (int flips : {0, 6}) {
            const int row = std::uniform_int_distribution<int>(0, kRowCount - 1)(rng);
            const Image ink = TextInk(*sample_, row, flips, rng);
            SCOPED_TRACE(::testing::Message() << "text, " << flips << " pixels moved, spacing "
                                              << SpacingName(spacing));
            const std::int64_t optimum = plain.Optimum(ink, row);
            for (const FineDecoder* decoder : {&wide, &portable}) {
                EXPECT_EQ(decoder->RowCost(ink, row), optimum);
                EXPECT_EQ(plain.Evaluate(ink, row, decoder->DecodeRow(ink, row)), optimum);
            }
        }
    }
}

TEST_F(FineDecoderTest, WholeCatalogueOnANarrowDrawing) {
    std::mt19937 rng(99);
    Image ink(kCanvasWidth, kInkHeight, kWhite);
    for (int s = 0; s < 6; ++s) {
        const Point a{std::uniform_int_distribution<int>(300, 360)(rng),
                      std::uniform_int_distribution<int>(30, 66)(rng)};
        const Point b{std::uniform_int_distribution<int>(300, 360)(rng),
                      std::uniform_int_distribution<int>(30, 66)(rng)};
        DrawThinLine(ink, a, b, kBlack, {0, 0, kInkClipRight, kInkClipBottom});
    }
    for (const bool noFillers : {false, true}) {
        const FineOptions options{.noFillers = noFillers, .following = false};
        const FineDecoder decoder(*catalog_, *font_, options);
        const PlainDecoder plain(*catalog_, *font_, options);
        for (int row = 1; row <= 4; ++row) {
            SCOPED_TRACE(::testing::Message() << "row " << row << " no fillers " << noFillers);
            const std::int64_t optimum = plain.Optimum(ink, row);
            EXPECT_EQ(decoder.RowCost(ink, row), optimum);
            EXPECT_EQ(plain.Evaluate(ink, row, decoder.DecodeRow(ink, row)), optimum);
        }
    }
}

// With what follows what weighed, the decoder's reported cost is the pixel
// costs and priors of the row it returns plus what each pair costs (a glyph
// after spacing or at a line's start as after spacing), and the row keeps the
// spacing rules: the way back through the programme is the way it was priced.
TEST_F(FineDecoderTest, FollowingPricesTheRowItReturns) {
    std::mt19937 rng(4321);
    const FollowCosts& follow = FollowingCosts();
    bool pairsPriced = false;
    for (const bool noFillers : {false, true}) {
        const FineOptions options{.noFillers = noFillers, .following = true};
        const FineDecoder decoder(*sample_, *font_, options);
        const FineDecoder portable(*sample_, *font_, options, ScorerIsa::Portable);
        const PlainDecoder plain(*sample_, *font_, options);
        for (testing::InkStyle style : {testing::InkStyle::Scribble, testing::InkStyle::Strokes,
                                        testing::InkStyle::Dense}) {
            const Image ink = testing::RandomInk(style, rng);
            const int row = std::uniform_int_distribution<int>(0, kRowCount - 1)(rng);
            SCOPED_TRACE(::testing::Message() << "style " << static_cast<int>(style) << " row "
                                              << row << " no fillers " << noFillers);
            const TextRow cells = decoder.DecodeRow(ink, row);
            const std::optional<std::int64_t> priced = plain.Evaluate(ink, row, cells);
            ASSERT_TRUE(priced.has_value());
            const std::int64_t pixels = *priced;
            std::int64_t pairs = 0;
            std::size_t previous = kPriorAfterSpacing;
            for (const TextCell& cell : cells) {
                const auto k = static_cast<std::size_t>(GlyphFollowClass(cell.text));
                pairs += follow[cell.gap > 0 ? kPriorAfterSpacing : previous][k];
                previous = k;
            }
            pairsPriced = pairsPriced || pairs != 0;
            EXPECT_EQ(decoder.RowCost(ink, row), pixels + pairs);
            EXPECT_EQ(portable.DecodeRow(ink, row), cells);
        }
    }
    EXPECT_TRUE(pairsPriced);
}

// Kanji artists write for their shapes come back where the ink is their
// drawing, and are never guessed from ink that is not.
TEST_F(FineDecoderTest, KanjiStandOnlyWhereDrawnExactly) {
    const FineDecoder decoder(*catalog_, *font_);
    const TextPainter painter(*font_);
    struct Case {
        const char* utf8;  // drawn at x 44 (four full-width spaces) of row 3
        const char* kanji;
        bool moved;  // one of the kanji's pixels moved down
    };
    for (const Case& c : std::vector<Case>{{"（__人__）", "人", false},
                                           {"（三）", "三", false},
                                           {"彡 丶 丿", "彡", false},
                                           {"（__人__）", "人", true},
                                           {"（三）", "三", true}}) {
        SCOPED_TRACE(::testing::Message() << c.utf8 << (c.moved ? ", moved" : ""));
        Image ink(kCanvasWidth, kInkHeight, kWhite);
        const Result<std::string> text = Utf8ToCp932(c.utf8);
        const Result<std::string> kanji = Utf8ToCp932(c.kanji);
        ASSERT_TRUE(text.has_value() && kanji.has_value());
        painter.DrawString(ink, 44, 48, *text, 799);
        if (c.moved) {
            // The first dark pixel of the kanji's own columns, a pixel down.
            const std::string prefix = text->substr(0, text->find(*kanji));
            int x = 44;
            for (const FontGlyph* glyph : FaceGlyphs(*font_, prefix)) x += glyph->advance;
            bool done = false;
            for (int y = 48; y < 63 && !done; ++y) {
                for (int dx = 0; dx < 16 && !done; ++dx) {
                    if (ink.Pixel(x + dx, y) == kBlack && ink.Pixel(x + dx, y + 1) != kBlack) {
                        ink.SetPixel(x + dx, y, kWhite);
                        ink.SetPixel(x + dx, y + 1, kBlack);
                        done = true;
                    }
                }
            }
            ASSERT_TRUE(done);
        }
        std::string decoded;
        for (const TextCell& cell : decoder.DecodeRow(ink, 3)) decoded += cell.text;
        EXPECT_EQ(decoded.find(*kanji) != std::string::npos, !c.moved) << *Cp932ToUtf8(decoded);
        if (!c.moved) {
            std::string unspaced = c.utf8;
            std::erase(unspaced, ' ');
            EXPECT_EQ(*Cp932ToUtf8(decoded), unspaced);
        }
    }
}

TEST_F(FineDecoderTest, BlankRowsStayEmpty) {
    const FineDecoder decoder(*catalog_, *font_);
    Image ink(kCanvasWidth, kInkHeight, kWhite);
    // A stroke in row 6 only, more than 2 px from rows 5 and 7.
    DrawThinLine(ink, {400, 99}, {400, 108}, kBlack, {0, 0, kInkClipRight, kInkClipBottom});
    EXPECT_TRUE(decoder.DecodeRow(ink, 0).empty());
    EXPECT_EQ(decoder.RowCost(ink, 0), 0);
    EXPECT_TRUE(decoder.DecodeRow(ink, 5).empty());
    EXPECT_FALSE(decoder.DecodeRow(ink, 6).empty());
    // An image smaller than the canvas reads as blank beyond its edges.
    EXPECT_TRUE(decoder.DecodeRow(Image(10, 10, kBlack), 3).empty());
}

TEST_F(FineDecoderTest, SpacingRules) {
    const FineDecoder fillers(*catalog_, *font_);
    const FineDecoder spaces(*catalog_, *font_, {.noFillers = true});
    struct Case {
        int width;
        bool atStart;
        bool withFillers, withSpacesOnly;
    };
    for (const Case& c : std::vector<Case>{{0, true, true, true},
                                           {1, false, false, false},
                                           {2, true, false, false},
                                           {3, false, true, false},
                                           {5, false, true, true},
                                           {5, true, true, false},
                                           {11, true, true, true},
                                           {16, true, true, true},
                                           {17, false, true, false},
                                           {27, false, true, true},
                                           {799, false, true, false}}) {
        SCOPED_TRACE(::testing::Message() << c.width << (c.atStart ? " at start" : ""));
        EXPECT_EQ(fillers.GapAllowed(c.width, c.atStart), c.withFillers);
        EXPECT_EQ(spaces.GapAllowed(c.width, c.atStart), c.withSpacesOnly);
    }
}

TEST_F(FineDecoderTest, WithoutFillersTheSpacingHoldsOnlySpaces) {
    const FineDecoder decoder(*catalog_, *font_, {.noFillers = true});
    std::mt19937 rng(7);
    const Image ink = testing::RandomInk(testing::InkStyle::Scribble, rng);
    for (int row = 0; row < kRowCount; ++row) {
        for (const TextCell& cell : decoder.DecodeRow(ink, row)) {
            for (char byte : ComposeGap(cell.gap)) {
                EXPECT_TRUE(byte == ' ' || byte == '\x81' || byte == '\x40') << cell.gap;
            }
        }
    }
}

}  // namespace
}  // namespace fudeline
