#include "fine/fine_decoder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>

#include "text/gap_composer.h"
#include "render/text_painter.h"
#include "glyphs/cp932.h"
#include "pixels/geometry.h"
#include "pixels/pen_stroke.h"
#include "random_ink.h"
#include "test_catalogs.h"

namespace fudeline {
namespace {

// The decoder's first pass written out pixel by pixel, with a plain dynamic
// programme over every start and every spacing: what the bit masks, the
// pruning and the bounds of the real decoder must reproduce exactly. Where
// the ink is, which of it must be covered and what lies near it are the
// row's reading (ReadRowInk, tested on its own); everything after is here.
class PlainDecoder {
  public:
    struct Shape {
        int width = 0;
        std::int64_t prior = 0;                 // where the ink draws it exactly
        std::int64_t extra = 0;                 // elsewhere, and for a moved stroke with its move
        std::vector<std::pair<int, int>> dark;  // (x, y) in the cell
        std::vector<std::vector<int>> reach;    // [x][y]: squared distance to the nearest dark pixel
        std::vector<std::vector<bool>> drawn;   // [x][y]: a dark pixel
        bool exactGain = true;                  // drawn as the face draws it
        int move = 0;                           // lines below where the face draws it
    };

    PlainDecoder(const GlyphCatalog& catalog, const MonaFont& font, FineOptions options)
        : noFillers_(options.noFillers), unicode_(options.unicodeSpaces) {
        const TextPainter painter(font);
        auto add = [&](const std::string& text, int width) {
            const auto code = Cp932CharToUnicode(text);
            const FontGlyph* face = code ? font.GlyphFor(*code) : nullptr;
            if (!face || face->advance != width || shapes_.count(text)) return;
            Shape shape = ShapeOf(face->advance, [&](int x, int y) { return face->IsDark(x, y); });
            shape.prior = GlyphPrior(text);
            shape.extra = GlyphPrior(text) + DrawnGlyphCost(text) +
                          (static_cast<int>(shape.dark.size()) <= kMarkPixels
                               ? (noFillers_ && !unicode_ ? kMarkCost : kFillersMarkCost)
                               : 0);
            if (shape.dark.empty() || width > 24) return;
            shapes_[text].push_back(shape);
            // A level stroke (all its dark pixels but one on one line, five
            // or more) is also weighed moved up and down.
            std::map<int, int> onLine;
            for (const auto& [x, y] : shape.dark) ++onLine[y];
            int most = 0, top = 16, bottom = -1;
            for (const auto& [y, n] : onLine) {
                most = std::max(most, n);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
            const int pixels = static_cast<int>(shape.dark.size());
            if (pixels < 5 || most < pixels - 1) return;
            for (int move = -kLevelMoveReach; move <= kLevelMoveReach; ++move) {
                if (move == 0 || top + move < 0 || bottom + move > 15) continue;
                Shape moved = ShapeOf(face->advance, [&](int x, int y) {
                    return y - move >= 0 && y - move < 16 && face->IsDark(x, y - move);
                });
                moved.extra = shape.extra + kMoveCost * std::abs(move) * pixels;
                moved.exactGain = false;
                moved.move = move;
                shapes_[text].push_back(moved);
            }
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

    // The first pass spaces glyphs freely, except with Unicode spaces, where
    // a gap stands only where the spaces spell it.
    bool FreeGaps() const { return unicode_ == nullptr; }

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
            for (int x = 0; x + 1 <= y; ++x) {
                if (best[static_cast<std::size_t>(x)] == kNone) continue;
                if (!FreeGaps() && !Allowed(y - x, x == 0)) continue;
                arrive = std::min(arrive, best[static_cast<std::size_t>(x)] + GapCost(r, x, y - x));
            }
            if (arrive == kNone || !r.Scored(y)) continue;
            for (const auto& [text, shapes] : shapes_) {
                if (y + shapes.front().width > 800) continue;
                auto& end = best[static_cast<std::size_t>(y + shapes.front().width)];
                end = std::min(end, arrive + GlyphCost(r, shapes, y));
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

    // The first-pass cost of a row the decoder returned (with Unicode spaces,
    // where it is the row); none when it breaks the rules.
    std::optional<std::int64_t> Evaluate(const Image& ink, int row, const TextRow& cells) const {
        const Row r(ink, row);
        std::int64_t cost = 0;
        int pen = 0;
        for (const TextCell& cell : cells) {
            const auto shapes = shapes_.find(cell.text);
            if (shapes == shapes_.end() || shapes->second.front().width != cell.width) return std::nullopt;
            if (!Allowed(cell.gap, pen == 0)) return std::nullopt;
            const int x = pen + cell.gap;
            if (x + cell.width > 800 || !r.Scored(x)) return std::nullopt;
            cost += GapCost(r, pen, cell.gap) + GlyphCost(r, shapes->second, x);
            pen = x + cell.width;
        }
        return cost + kMissedInkCost * r.Ink(pen, 800);
    }

    // Whether the decoder's row keeps the spacing rules and the canvas.
    bool Spelled(const TextRow& cells) const {
        int pen = 0;
        for (const TextCell& cell : cells) {
            const auto shapes = shapes_.find(cell.text);
            if (shapes == shapes_.end() || shapes->second.front().width != cell.width) return false;
            if (!Allowed(cell.gap, pen == 0)) return false;
            pen += cell.gap + cell.width;
        }
        return pen <= 800;
    }

  private:
    struct Row {
        Row(const Image& image, int row) {
            ReadRowInk(image, row, read);
            for (int x = 0; x < 800; ++x) {
                inkBefore[static_cast<std::size_t>(x + 1)] =
                    inkBefore[static_cast<std::size_t>(x)] +
                    std::popcount(read.target[static_cast<std::size_t>(x)]);
            }
        }
        static bool Bit(const std::array<std::uint16_t, InkColumns::kSize>& mask, int x, int y) {
            return x >= 0 && x < 800 && y >= 0 && y < 16 && ((mask[static_cast<std::size_t>(x)] >> y) & 1);
        }
        bool Target(int x, int y) const { return Bit(read.target, x, y); }
        bool IsInk(int x, int y) const { return Bit(read.ink, x, y); }
        // Target pixels in columns [from, to).
        int Ink(int from, int to) const {
            return inkBefore[static_cast<std::size_t>(to)] - inkBefore[static_cast<std::size_t>(from)];
        }
        bool Scored(int x) const {
            for (int c = x; c < x + 16 && c < 800; ++c) {
                if (read.near2[static_cast<std::size_t>(c)] != 0) return true;
            }
            return false;
        }
        // A drawn pixel: on ink to be covered, within 1, within 2, or far.
        std::int64_t DarkCost(int x, int y, std::int64_t far) const {
            return Target(x, y)                 ? -kOnInkGain
                   : Bit(read.near1, x, y)      ? kOneOffCost
                   : Bit(read.near2, x, y)      ? kTwoOffCost
                                                : far;
        }
        RowInk read;
        std::array<int, 801> inkBefore{};
    };

    template <typename IsDark>
    static Shape ShapeOf(int width, IsDark isDark) {
        Shape s;
        s.width = width;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < width; ++x) {
                if (isDark(x, y)) s.dark.push_back({x, y});
            }
        }
        s.reach.assign(static_cast<std::size_t>(width), std::vector<int>(16, 1000));
        s.drawn.assign(static_cast<std::size_t>(width), std::vector<bool>(16, false));
        for (const auto& [dx, dy] : s.dark) {
            s.drawn[static_cast<std::size_t>(dx)][static_cast<std::size_t>(dy)] = true;
        }
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < 16; ++y) {
                for (const auto& [dx, dy] : s.dark) {
                    int& d = s.reach[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
                    d = std::min(d, (x - dx) * (x - dx) + (y - dy) * (y - dy));
                }
            }
        }
        return s;
    }

    std::int64_t GapCost(const Row& r, int x, int gap) const {
        std::int64_t cost = kMissedInkCost * r.Ink(x, x + gap);
        if (FreeGaps()) return cost;  // the first pass's spacing draws nothing
        for (const auto& [fx, fy] : fillers_[static_cast<std::size_t>(gap)]) {
            const bool onInk = r.Target(x + fx, fy);
            cost += onInk ? -kOnInkGain : kFarFillerCost;
        }
        return cost;
    }

    // The cheapest of a character's drawings at x.
    static std::int64_t GlyphCost(const Row& r, const std::vector<Shape>& shapes, int x) {
        std::int64_t least = std::numeric_limits<std::int64_t>::max();
        for (const Shape& shape : shapes) least = std::min(least, ShapeCost(r, shape, x));
        return least;
    }

    static std::int64_t ShapeCost(const Row& r, const Shape& shape, int x) {
        std::int64_t cost = shape.extra;
        for (const auto& [dx, dy] : shape.dark) {
            cost += r.DarkCost(x + dx, dy, kFarPixelCost);
            // Counted where the face draws the pixel, for a moved stroke too.
            if (Row::Bit(r.read.beyond, x + dx, dy - shape.move)) cost += kBeyondCost;
        }
        for (int c = 0; c < shape.width; ++c) {
            for (int y = 0; y < 16; ++y) {
                if (!r.Target(x + c, y)) continue;
                const int d = shape.reach[static_cast<std::size_t>(c)][static_cast<std::size_t>(y)];
                cost += d == 0 ? 0 : d == 1 ? kInkOneOffCost : d <= 4 ? kInkTwoOffCost : kMissedInkCost;
            }
        }
        // The ink under the glyph is its drawing, pixel for pixel: then it
        // costs its prior, every dark pixel on ink, less the gain.
        bool exact = shape.exactGain;
        for (int c = 0; c < shape.width && exact; ++c) {
            for (int y = 0; y < 16 && exact; ++y) {
                exact = r.IsInk(x + c, y) ==
                        shape.drawn[static_cast<std::size_t>(c)][static_cast<std::size_t>(y)];
            }
        }
        if (exact) {
            const auto pixels = static_cast<std::int64_t>(shape.dark.size());
            cost = std::min(cost, shape.prior +
                                      pixels * (CountWeights::far + CountWeights::missed +
                                                CountWeights::exact + CountWeights::near1 +
                                                CountWeights::near2 + CountWeights::reach1 +
                                                CountWeights::reach2 - kExactGlyphGain));
        }
        return cost;
    }

    bool noFillers_;
    const UnicodeSpaces* unicode_;
    std::map<std::string, std::vector<Shape>> shapes_;
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

    // The row a decoder returned: with Unicode spaces the first pass's row
    // itself, otherwise that row moved where the spacing can put it, which
    // keeps the spacing rules and costs no less.
    static void ExpectRowOfFirstPass(const PlainDecoder& plain, const Image& ink, int row,
                                     const TextRow& cells, std::int64_t optimum) {
        EXPECT_TRUE(plain.Spelled(cells));
        if (!plain.FreeGaps()) {
            EXPECT_EQ(plain.Evaluate(ink, row, cells), optimum);
        }
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
                    ExpectRowOfFirstPass(plain, ink, row, decoder->DecodeRow(ink, row), optimum);
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
                ExpectRowOfFirstPass(plain, ink, row, decoder->DecodeRow(ink, row), optimum);
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
            ExpectRowOfFirstPass(plain, ink, row, decoder.DecodeRow(ink, row), optimum);
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
    // With Unicode spaces, where the row stands where the first pass put it.
    const UnicodeSpaces unicode;
    for (const bool ranges : {false, true}) {
        const FineOptions options{.unicodeSpaces = &unicode, .rangeCharacters = ranges, .following = true};
        const FineDecoder decoder(*sample_, *font_, options);
        const FineDecoder portable(*sample_, *font_, options, ScorerIsa::Portable);
        const PlainDecoder plain(*sample_, *font_, options);
        for (testing::InkStyle style : {testing::InkStyle::Scribble, testing::InkStyle::Strokes,
                                        testing::InkStyle::Dense}) {
            const Image ink = testing::RandomInk(style, rng);
            const int row = std::uniform_int_distribution<int>(0, kRowCount - 1)(rng);
            SCOPED_TRACE(::testing::Message() << "style " << static_cast<int>(style) << " row "
                                              << row << " ranges " << ranges);
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

// A ruler-straight line comes back as the straight character an artist
// writes, at every height and column offset: not a wave following it to the
// pixel, no dot spelling a column plain spaces cannot reach, no mark on the
// pixel or two a row leaves at its edge. A diagonal may end in a partial
// character at either end.
TEST_F(FineDecoderTest, StraightLinesAsArtistsWriteThem) {
    auto sjis = [](std::initializer_list<const char*> utf8) {
        std::set<std::string> out;
        for (const char* c : utf8) out.insert(*Utf8ToCp932(c));
        return out;
    };
    const std::set<std::string> level = sjis({"￣", "―", "─", "ー", "－", "-", "＿", "_"});
    const std::set<std::string> upright = sjis({"|", "｜", "│", "l", "ｌ", "i", "I"});
    const std::set<std::string> slash = sjis({"/", "／"});
    const std::set<std::string> backslash = sjis({"\\", "＼", "ヽ"});
    struct Kind {
        const char* name;
        int offsets;
        Point from, to;  // in canvas pixels at offset 0; each offset moves it a pixel
        Point step;      // the move per offset
        const std::set<std::string>* artists;
        int othersAllowed;
    };
    const std::vector<Kind> kinds = {
        {"level", 18, {100, 90}, {400, 90}, {0, 1}, &level, 0},
        {"upright", 16, {200, 57}, {200, 250}, {1, 0}, &upright, 0},
        {"slash", 16, {400, 96}, {200, 296}, {1, 0}, &slash, 2},
        {"backslash", 16, {200, 96}, {400, 296}, {1, 0}, &backslash, 2},
    };
    for (const bool noFillers : {false, true}) {
        const FineDecoder decoder(*catalog_, *font_, {.noFillers = noFillers});
        const PlainDecoder plain(*catalog_, *font_, {.noFillers = noFillers});
        for (const Kind& kind : kinds) {
            for (int offset = 0; offset < kind.offsets; ++offset) {
                SCOPED_TRACE(::testing::Message() << kind.name << " offset " << offset
                                                  << (noFillers ? " no fillers" : ""));
                Image ink(kCanvasWidth, kInkHeight, kWhite);
                const PenPoint from{kind.from.x + offset * kind.step.x, kind.from.y + offset * kind.step.y};
                const PenPoint to{kind.to.x + offset * kind.step.x, kind.to.y + offset * kind.step.y};
                DrawThinLine(ink, ToInkPoint(from), ToInkPoint(to), kBlack,
                             {0, 0, kInkClipRight, kInkClipBottom});
                int others = 0;
                std::string text;
                for (int row = 0; row < kRowCount; ++row) {
                    const TextRow cells = decoder.DecodeRow(ink, row);
                    EXPECT_TRUE(plain.Spelled(cells)) << row;
                    for (const TextCell& cell : cells) {
                        others += kind.artists->count(cell.text) == 0;
                        // Spacing of plain spaces only: no filler marks.
                        for (char byte : ComposeGap(cell.gap)) {
                            EXPECT_TRUE(byte == ' ' || byte == '\x81' || byte == '\x40') << cell.gap;
                        }
                        text += cell.text;
                    }
                    if (!cells.empty()) text += "|";
                }
                EXPECT_LE(others, kind.othersAllowed) << *Cp932ToUtf8(text);
            }
        }
    }
}

// A hand's curve or a stroke a few degrees off upright is drawn with the
// characters artists draw lines with: no letter or digit (the t whose hook
// happens to follow a circle's side), only the strokes l, i, I and ｌ.
TEST_F(FineDecoderTest, CurvesAndTiltedStrokesWithoutLetters) {
    // Half-width letters and digits, and the full-width ones (0x824F-0x829A).
    auto isLetter = [](const std::string& sjis) {
        if (sjis == "l" || sjis == "i" || sjis == "I" || sjis == "\x82\x8C") return false;
        if (sjis.size() == 1) return std::isalnum(static_cast<unsigned char>(sjis[0])) != 0;
        const int code = (static_cast<unsigned char>(sjis[0]) << 8) | static_cast<unsigned char>(sjis[1]);
        return code >= 0x824F && code <= 0x829A;
    };
    struct Drawing {
        const char* name;
        std::vector<Point> path;
    };
    std::vector<Drawing> drawings;
    for (const int radius : {24, 40, 64, 96, 128}) {
        Drawing circle{"circle", {}};
        for (int step = 0; step <= 72; ++step) {
            const double angle = step * 2 * 3.14159265358979 / 72;
            circle.path.push_back({static_cast<int>(std::lround(400 + radius * std::cos(angle))),
                                   static_cast<int>(std::lround(150 + 0.9 * radius * std::sin(angle)))});
        }
        drawings.push_back(std::move(circle));
    }
    for (const int lean : {-24, -12, -6, 6, 12, 24}) {
        drawings.push_back({"tilted", {{300, 40}, {300 + lean, 260}}});
    }
    // 45°, from every column offset of a full-width cell.
    for (int offset = 0; offset < 11; offset += 2) {
        drawings.push_back({"diagonal", {{300 + offset, 40}, {520 + offset, 260}}});
        drawings.push_back({"diagonal", {{520 + offset, 40}, {300 + offset, 260}}});
    }
    const FineDecoder decoder(*catalog_, *font_, {});
    // A mark: a glyph of a few dark pixels ('.', ',', '\'', ':').
    auto isMark = [&](const std::string& sjis) {
        const auto glyphs = FaceGlyphs(*font_, sjis);
        if (glyphs.size() != 1 || !glyphs.front()) return false;
        int dark = 0;
        for (int x = 0; x < glyphs.front()->advance; ++x) dark += std::popcount(DarkColumn(*glyphs.front(), x));
        return dark <= kMarkPixels;
    };
    int marks = 0;
    for (const Drawing& drawing : drawings) {
        Image ink(kCanvasWidth, kInkHeight, kWhite);
        for (std::size_t i = 1; i < drawing.path.size(); ++i) {
            DrawThinLine(ink, ToInkPoint({drawing.path[i - 1].x, drawing.path[i - 1].y}),
                         ToInkPoint({drawing.path[i].x, drawing.path[i].y}), kBlack,
                         {0, 0, kInkClipRight, kInkClipBottom});
        }
        std::string text, letters;
        for (int row = 0; row < kRowCount; ++row) {
            for (const TextCell& cell : decoder.DecodeRow(ink, row)) {
                text += cell.text;
                if (isLetter(cell.text)) letters += cell.text;
                marks += isMark(cell.text);
            }
        }
        SCOPED_TRACE(::testing::Message() << drawing.name << " " << drawing.path.front().x << ","
                                          << drawing.path.back().x << ": " << *Cp932ToUtf8(text));
        EXPECT_EQ(letters, "");
    }
    // A pixel or two of a line at a band's edge is mostly left rather than
    // given a dot of its own, fillers or not: 12 dots in these 23 drawings,
    // 32 when a dot cost what any glyph costs.
    EXPECT_LE(marks, 15);
}

// Between kept characters a span is decoded with the characters as its ends:
// its cells lie between them, and the spacing on both sides is one the
// options spell, so nothing but spaces stands between the new cells and the
// kept ones.
TEST_F(FineDecoderTest, SpansEndAtTheKeptCharacters) {
    Image ink(kCanvasWidth, kInkHeight, kWhite);
    DrawThinLine(ink, {300, 53}, {341, 53}, kBlack, {0, 0, kInkClipRight, kInkClipBottom});
    for (const bool noFillers : {false, true}) {
        const FineDecoder decoder(*catalog_, *font_, {.noFillers = noFillers});
        struct Case {
            int left, right;
        };
        for (const Case& c : {Case{0, 800}, Case{117, 800}, Case{0, 503}, Case{250, 420}, Case{263, 397}}) {
            SCOPED_TRACE(::testing::Message() << c.left << " to " << c.right << (noFillers ? ", no fillers" : ""));
            const TextRow cells = decoder.DecodeSpan(ink, 3, c.left, c.right);
            ASSERT_FALSE(cells.empty());
            int pen = c.left;
            for (const TextCell& cell : cells) {
                EXPECT_TRUE(decoder.GapAllowed(cell.gap, pen == 0)) << cell.gap;
                pen += cell.gap + cell.width;
            }
            EXPECT_LE(pen, c.right);
            if (c.right < 800) {
                EXPECT_TRUE(decoder.GapAllowed(c.right - pen, false)) << c.right - pen;
            }
        }
    }
}

}  // namespace
}  // namespace fudeline
