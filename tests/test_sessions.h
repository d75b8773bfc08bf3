// What the drawing session's tests draw through: the built catalogue with
// both decoders and the painter over the test face, made once per test
// program, and the strokes they draw.
#pragma once

#include <initializer_list>
#include <vector>

#include "fine/fine_decoder.h"
#include "match/row_matcher.h"
#include "render/text_painter.h"
#include "session/art_state.h"
#include "test_catalogs.h"

namespace fudeline::testing {

struct SessionDecoders {
    GlyphCatalog catalog = LoadBuiltCatalog();
    RowMatcher matcher{catalog};
    FineDecoder fine{catalog, TestFont()};
    TextPainter painter{TestFont()};
};

inline const SessionDecoders& Decoders() {
    static const SessionDecoders* decoders = new SessionDecoders;  // lives to the exit
    return *decoders;
}

// One stroke through `points`, converted as the window's next paint does.
inline void Stroke(ArtState& state, std::initializer_list<PenPoint> points) {
    auto it = points.begin();
    state.BeginStroke(*it);
    for (++it; it != points.end(); ++it) state.ExtendStroke(*it);
    state.EndStroke();
    state.RunPendingConversion();
}

// A face of five strokes with its top left at canvas (x, y).
inline void DrawFace(ArtState& state, int x, int y) {
    const std::vector<std::vector<PenPoint>> strokes = {
        {{0, 0}, {40, 10}, {80, 0}},
        {{10, 30}, {20, 40}, {30, 30}},
        {{50, 30}, {60, 40}, {70, 30}},
        {{20, 70}, {40, 85}, {60, 70}},
        {{-10, -20}, {-20, 60}, {0, 110}, {80, 110}, {100, 60}, {90, -20}},
    };
    for (const auto& stroke : strokes) {
        state.BeginStroke({x + stroke[0].x, y + stroke[0].y});
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            state.ExtendStroke({x + stroke[i].x, y + stroke[i].y});
        }
        state.EndStroke();
        state.RunPendingConversion();
    }
}

inline int BlackPixels(const Image& ink) {
    int n = 0;
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) n += ink.Pixel(x, y) == kBlack;
    }
    return n;
}

}  // namespace fudeline::testing
