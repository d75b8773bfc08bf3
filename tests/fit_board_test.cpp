#include "engine/fit_board.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/engine_errors.h"
#include "engine/trace_file.h"
#include "io/library_pixels.h"
#include "io/png_writer.h"
#include "pixels/raster.h"
#include "test_engine.h"

namespace fudeline {
namespace {

// A 200 x 130 picture of a lattice of dark 2 px lines, whose text grows with
// its size: fitted to the canvas it is far longer than a post.
std::string Lattice() {
    Image picture(200, 130, kWhite);
    const ClipRect all{0, 0, 199, 129};
    for (int y = 6; y < 130; y += 12) {
        DrawThinLine(picture, {4, y}, {195, y + 4}, kBlack, all);
        DrawThinLine(picture, {4, y + 1}, {195, y + 5}, kBlack, all);
    }
    for (int x = 8; x < 200; x += 20) {
        DrawThinLine(picture, {x, 2}, {x + 6, 127}, kBlack, all);
        DrawThinLine(picture, {x + 1, 2}, {x + 7, 127}, kBlack, all);
    }
    return EncodePng(picture).value();
}

// The post the picture's text makes at `percent`, with `document`'s choices.
PostCount CountAt(Document& document, const std::string& picture, double percent,
                  const BoardLimits& limits) {
    TraceOptions options;
    options.placement.scalePercent = percent;
    Document scratch(document.engine(), Document::Canvas::Headless);
    scratch.SetDecoder(document.decoder());
    scratch.state().LayInk(TraceFileBytes(picture, options, LibraryPixels()).value().ink);
    scratch.Settle();
    return scratch.CountPost(limits);
}

TEST(FitBoardTest, ChoosesTheLargestSizeThatFits) {
    Engine& engine = testing::LoadedEngine();
    const std::string picture = Lattice();
    struct Case {
        const char* name;
        BoardLimits limits;
        bool fitsAtCanvasSize;
    };
    const Case cases[] = {
        {"2ch: bytes and lines", {2048, 24, 256}, false},
        {"a short post", {400, 0, 0}, false},
        {"few lines", {0, 6, 0}, false},
        {"no limits", {0, 0, 0}, true},
    };
    for (const bool fine : {true, false}) {
        Document document(engine, Document::Canvas::Headless);
        document.SetDecoder({fine, Spacing::Fillers});
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << (fine ? " fine" : " greedy"));
            const Result<BoardFit> fit =
                FitPictureToBoard(document, picture, {}, c.limits, LibraryPixels());
            ASSERT_TRUE(fit) << fit.error().Message();
            EXPECT_FALSE(fit->count.over());
            // The count is the text's at the size chosen.
            EXPECT_EQ(CountAt(document, picture, fit->scalePercent, c.limits).bytes,
                      fit->count.bytes);
            const double canvas = FitStepScalePercent(200, 130, 100);
            if (c.fitsAtCanvasSize) {
                EXPECT_EQ(fit->scalePercent, canvas);
                continue;
            }
            ASSERT_LT(fit->scalePercent, canvas);
            // One step larger is over.
            const double step = canvas / 100;
            EXPECT_TRUE(CountAt(document, picture, fit->scalePercent + step, c.limits).over());
        }
    }
}

TEST(FitBoardTest, SaysWhenNothingFitsOrThePictureCannotBeRead) {
    Engine& engine = testing::LoadedEngine();
    Document document(engine, Document::Canvas::Headless);
    document.SetDecoder({true, Spacing::Fillers});
    const Result<BoardFit> tooShort =
        FitPictureToBoard(document, Lattice(), {}, {1, 0, 0}, LibraryPixels());
    ASSERT_FALSE(tooShort);
    EXPECT_EQ(tooShort.error().kind, &kinds::NoSizeFitsBoard);
    const Result<BoardFit> damaged =
        FitPictureToBoard(document, "\x89PNG\r\n\x1a\n", {}, {2048, 24, 256}, LibraryPixels());
    EXPECT_FALSE(damaged);
}

}  // namespace
}  // namespace fudeline
