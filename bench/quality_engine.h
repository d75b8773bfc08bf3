// What the quality tools share: the catalogue, the face and both decoders,
// loaded once; a drawing converted as the drawing session converts it; the
// rows drawn back with the font and compared with the truth.
#pragma once

#include <cstdio>
#include <memory>

#include "fine/fine_decoder.h"
#include "quality/quality.h"
#include "match/row_matcher.h"
#include "render/text_painter.h"
#include "glyphs/catalog_loader.h"
#include "glyphs/exe_dir.h"
#include "glyphs/mona_font.h"
#include "session/art_state.h"

namespace fudeline::bench {

struct QualityEngine {
    GlyphCatalog catalog;
    std::unique_ptr<MonaFont> font;
    std::unique_ptr<RowMatcher> matcher;
    std::unique_ptr<TextPainter> painter;
    std::unique_ptr<FineDecoder> fine, fineNoFillers;

    Status Load() {
        const Result<std::string> dir = LocateDataDirectory(kSingleByteCatalogName);
        if (!dir) return dir.error();
        Result<GlyphCatalog> loaded = LoadGlyphCatalog(*dir);
        if (!loaded) return std::move(loaded).error();
        catalog = std::move(*loaded);
        Result<std::unique_ptr<MonaFont>> face = MonaFont::Open(FindMonaFontPath());
        if (!face) return std::move(face).error();
        font = std::move(*face);
        matcher = std::make_unique<RowMatcher>(catalog);
        painter = std::make_unique<TextPainter>(*font);
        fine = std::make_unique<FineDecoder>(catalog, *font);
        fineNoFillers = std::make_unique<FineDecoder>(catalog, *font, FineOptions{true});
        return {};
    }

    // The rows of `ink`'s black pixels; `decoder` null is the row matcher.
    TextRows Rows(const Image& ink, const FineDecoder* decoder) const {
        ArtState state(*matcher, nullptr);
        state.SetFineDecoder(decoder);
        state.LayInk(ink);
        return state.rows();
    }

    Quality Measure(const TextRows& rows, const Image& truth) const {
        return MeasureQuality(DrawRowsAsInk(*painter, rows), truth);
    }
};

// Means of the measures over a set of drawings.
struct QualityMeans {
    int count = 0;
    double f1[kQualityTolerances] = {};
    double darkRatio = 0, distance = 0, charsBack = 0;

    void Add(const Quality& q, double back = 0) {
        ++count;
        for (int t = 0; t < kQualityTolerances; ++t) f1[t] += q.at[static_cast<std::size_t>(t)].f1;
        darkRatio += q.darkRatio;
        distance += q.distance;
        charsBack += back;
    }
    double Mean(double sum) const { return count > 0 ? sum / count : 0.0; }
};

// The columns every quality table prints, and one row of them.
inline constexpr const char* kQualityColumns = "F1@0  F1@1  F1@2  dark  dist";
inline void PrintQuality(const Quality& q) {
    std::printf("%.3f %.3f %.3f %5.2f %5.2f", q.at[0].f1, q.at[1].f1, q.at[2].f1, q.darkRatio,
                q.distance);
}
inline void PrintMeans(const QualityMeans& m) {
    std::printf("%.3f %.3f %.3f %5.2f %5.2f", m.Mean(m.f1[0]), m.Mean(m.f1[1]), m.Mean(m.f1[2]),
                m.Mean(m.darkRatio), m.Mean(m.distance));
}

}  // namespace fudeline::bench
