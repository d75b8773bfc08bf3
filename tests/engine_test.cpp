#include "engine/engine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "pixels/geometry.h"
#include "session/art_state.h"
#include "test_catalogs.h"
#include "test_engine.h"

namespace fudeline {
namespace {

constexpr const char* kMissing = "/nonexistent/fudeline-engine-test";

// The catalogue beside this program (where the build writes it) and the face
// it was made from.
Engine& Loaded() { return testing::LoadedEngine(); }

// A few strokes over four text rows: a rule, a diagonal, a post, and a mark
// 9 pixels in, a gap only fillers spell: each decoder gives other rows.
Image SmallDrawing() {
    Image ink(kCanvasWidth, kInkHeight);
    for (int x = 20; x < 140; ++x) ink.SetPixel(x, 8, kBlack);
    for (int d = 0; d < 40; ++d) ink.SetPixel(160 + d, 2 + d, kBlack);
    for (int y = 4; y < 44; ++y) ink.SetPixel(260, y, kBlack);
    for (int y = 50; y < 62; ++y) ink.SetPixel(9, y, kBlack);
    return ink;
}

// --- Failures name what could not be used; the catalogue is tried first.
TEST(EngineLoad, FailuresNameThePathConcerned) {
    const struct {
        const char* what;
        EngineSources sources;
        std::string named;  // what the error's path must hold
    } cases[] = {
        {"missing catalogue folder", {kMissing, FUDELINE_FONT}, kMissing},
        {"missing catalogue and face",
         {kMissing, std::string(kMissing) + ".glyphs"},
         std::string(kMissing) + "/0021t00df.dat"},
        {"missing face",
         {"", std::string(kMissing) + ".glyphs"},
         std::string(kMissing) + ".glyphs"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result<Engine> engine = Engine::Load(c.sources);
        ASSERT_FALSE(engine);
        EXPECT_NE(engine.error().path.find(c.named), std::string::npos) << engine.error().path;
        EXPECT_FALSE(engine.error().Reason().empty());
    }
}

// The picture of text needs the face alone: it opens with no catalogue.
TEST(EngineLoad, TheFaceOpensWithoutTheCatalogue) {
    Engine engine({kMissing, FUDELINE_FONT});
    EXPECT_FALSE(engine.LoadCatalogue());
    EXPECT_FALSE(engine.catalogueLoaded());
    ASSERT_TRUE(engine.OpenFace());
    EXPECT_TRUE(engine.faceOpen());
    EXPECT_NE(engine.face().GlyphFor(U'A'), nullptr);
}

// --- Decoders are keyed by their options: one per spacing, kept.
TEST(EngineDecoder, OnePerOptionsMadeOnce) {
    Engine& engine = Loaded();
    const DecoderOptions options[] = {
        {true, Spacing::Fillers}, {true, Spacing::Spaces}, {true, Spacing::Unicode}};
    const FineDecoder* made[3] = {};
    for (int i = 0; i < 3; ++i) {
        made[i] = engine.Decoder(options[i]);
        ASSERT_NE(made[i], nullptr);
        EXPECT_EQ(engine.Decoder(options[i]), made[i]) << "asked twice, option " << i;
    }
    EXPECT_NE(made[0], made[1]);
    EXPECT_NE(made[1], made[2]);
    EXPECT_NE(made[0], made[2]);
    // The row matcher, whatever the spacing.
    for (const Spacing spacing : {Spacing::Fillers, Spacing::Spaces, Spacing::Unicode}) {
        EXPECT_EQ(engine.Decoder({false, spacing}), nullptr);
    }
}

// Moving an engine (as Load's result is moved) or loading it again keeps
// every piece in place: sessions and decoders point into them.
TEST(EngineDecoder, MovingOrLoadingAgainKeepsThePieces) {
    Result<Engine> loaded = Engine::Load({"", FUDELINE_FONT});
    ASSERT_TRUE(loaded);
    const FineDecoder* fine = loaded->Decoder({true, Spacing::Fillers});
    const RowMatcher* matcher = &loaded->matcher();
    Engine moved = std::move(*loaded);
    ASSERT_TRUE(moved.LoadCatalogue());
    ASSERT_TRUE(moved.OpenFace());
    EXPECT_EQ(moved.Decoder({true, Spacing::Fillers}), fine);
    EXPECT_EQ(&moved.matcher(), matcher);
}

// --- The engine converts as a session assembled by hand does.
TEST(EngineConvert, MatchesHandAssembledSessions) {
    Engine& engine = Loaded();
    const Image ink = SmallDrawing();
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    const MonaFont& font = testing::TestFont();
    const RowMatcher matcher(catalog);
    const UnicodeSpaces spaces;
    const FineDecoder fillers(catalog, font);
    const FineDecoder noFillers(catalog, font, FineOptions{true});
    const FineDecoder unicode(catalog, font, FineOptions{false, &spaces});
    const struct {
        DecoderOptions options;
        const FineDecoder* byHand;
    } cases[] = {{{false, Spacing::Fillers}, nullptr},
                 {{true, Spacing::Fillers}, &fillers},
                 {{true, Spacing::Spaces}, &noFillers},
                 {{true, Spacing::Unicode}, &unicode}};
    std::vector<TextRows> seen;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.options.fine ? "fine, " : "row matcher, ") +
                     SpacingName(c.options.spacing));
        ArtState state(matcher, nullptr);
        state.SetFineDecoder(c.byHand);
        state.LayInk(ink);
        const TextRows rows = engine.Convert(ink, c.options);
        EXPECT_EQ(rows, state.rows());
        // Else a decoder made with the wrong options could pass unseen.
        for (const TextRows& other : seen) EXPECT_NE(rows, other);
        seen.push_back(rows);
    }
}

}  // namespace
}  // namespace fudeline
