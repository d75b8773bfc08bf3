// Random drawings and catalogues for comparing the fast matcher with the reference.
#pragma once

#include <array>
#include <cmath>
#include <random>
#include <string>

#include "glyphs/catalog_loader.h"
#include "pixels/geometry.h"
#include "pixels/image.h"
#include "pixels/raster.h"
#include "test_catalogs.h"

namespace fudeline::testing {

enum class InkStyle { Scribble, Ellipses, Strokes, Dense, Sparse, Edges, Margins };

inline Image RandomInk(InkStyle style, std::mt19937& rng) {
    Image ink(kCanvasWidth, kInkHeight);
    const ClipRect clip{0, 0, kInkClipRight, kInkClipBottom};
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto line = [&](Point a, Point b) { DrawThinLine(ink, a, b, kBlack, clip); };
    switch (style) {
        case InkStyle::Scribble:
        case InkStyle::Dense: {
            const int walks = style == InkStyle::Dense ? 400 : 60;
            for (int w = 0; w < walks; ++w) {
                Point p{uniform(0, 798), uniform(0, 463)};
                for (int s = 0; s < 12; ++s) {
                    const Point q{p.x + uniform(-14, 14), p.y + uniform(-9, 9)};
                    line(p, q);
                    p = q;
                }
            }
            break;
        }
        case InkStyle::Ellipses:
            for (int e = 0; e < 12; ++e) {
                const int cx = uniform(0, 798), cy = uniform(0, 463), rx = uniform(3, 120),
                          ry = uniform(3, 80);
                Point prev{cx + rx, cy};
                for (int t = 1; t <= 48; ++t) {
                    const double a = t * 2 * M_PI / 48;
                    const Point p{cx + static_cast<int>(std::lround(rx * std::cos(a))),
                                  cy + static_cast<int>(std::lround(ry * std::sin(a)))};
                    line(prev, p);
                    prev = p;
                }
            }
            break;
        case InkStyle::Strokes:
            for (int s = 0; s < 40; ++s) {
                const Point a{uniform(-50, 850), uniform(-20, 480)};
                switch (uniform(0, 2)) {
                    case 0:
                        line(a, {a.x + uniform(-300, 300), a.y});
                        break;
                    case 1:
                        line(a, {a.x, a.y + uniform(-100, 100)});
                        break;
                    default: {
                        const int d = uniform(-150, 150);
                        line(a, {a.x + d, a.y + (uniform(0, 1) ? d : -d)});
                    }
                }
            }
            break;
        case InkStyle::Sparse:
            for (int d = 0; d < 30; ++d) ink.SetPixel(uniform(0, 798), uniform(0, 463), kBlack);
            break;
        case InkStyle::Edges:
            // Ink in column 0 and near column 798, where windows reach off the layer.
            for (int y = 0; y < kInkHeight; y += uniform(1, 9)) {
                ink.SetPixel(uniform(0, 3), y, kBlack);
                ink.SetPixel(uniform(780, 798), y, kBlack);
            }
            break;
        case InkStyle::Margins:
            // Ink in the window margins: the last line of a band and the
            // first three of the next.
            for (int row = 0; row < kRowCount; ++row) {
                for (int k = 0; k < 25; ++k) {
                    const int y =
                        row * kInkRowHeight +
                        std::array{-1, 0, 1, 2, 15}[static_cast<std::size_t>(uniform(0, 4))];
                    ink.SetPixel(uniform(0, 798), y, kBlack);
                }
            }
            break;
    }
    return ink;
}

// A catalogue text with the awkward cases the loader accepts: duplicate
// pixels, pixels far outside the window, negative y, one-pixel glyphs and
// glyphs that tie (identical lines).
inline GlyphCatalog RandomCatalog(std::mt19937& rng) {
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::string text;
    std::string previous;
    for (int g = 0; g < 60; ++g) {
        if (!previous.empty() && uniform(0, 6) == 0) {
            text += previous;  // a twin: equal scores everywhere
            continue;
        }
        std::string line =
            std::to_string(uniform(0x21, 0x7E)) + ", 0, " + std::to_string(uniform(1, 16));
        const int n = uniform(0, 5) == 0 ? 1 : uniform(2, 40);
        line += ", " + std::to_string(n);
        int lastX = 0, lastY = 0;
        for (int i = 0; i < n; ++i) {
            int x = uniform(0, 2), y = uniform(0, 17);
            switch (uniform(0, 12)) {
                case 0:
                    x = lastX, y = lastY;
                    break;  // duplicate pixel
                case 1:
                    x = uniform(20, 40);
                    break;  // off the right of the window
                case 2:
                    y = uniform(-30, -1);
                    break;  // above the band
                case 3:
                    y = uniform(17, 40);
                    break;  // below the window
                case 4:
                    x = uniform(-3, 30), y = uniform(-3, 22);
                    break;
                default:
                    x = uniform(0, 12);
                    break;
            }
            line += ", " + std::to_string(x) + ", " + std::to_string(y);
            lastX = x, lastY = y;
        }
        line += "\n";
        text += line;
        previous = line;
    }
    GlyphCatalog catalog = ReadCatalogText(text);
    TrimGlyphPatterns(catalog);
    return catalog;
}

}  // namespace fudeline::testing
