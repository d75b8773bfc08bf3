// What the quality tools share: the engine (catalogue, face and decoders,
// loaded once), a drawing converted as the drawing session converts it, and
// the rows drawn back with the font and compared with the truth.
#pragma once

#include <cstdio>
#include <utility>

#include "engine/engine.h"
#include "measure/quality.h"

namespace fudeline::bench {

struct QualityEngine {
    Engine engine;

    Status Load() {
        Result<Engine> loaded = Engine::Load();
        if (!loaded) return std::move(loaded).error();
        engine = std::move(*loaded);
        return {};
    }

    const MonaFont& font() const { return engine.face(); }
    const TextPainter& painter() const { return engine.painter(); }

    // The rows of `ink`'s black pixels, by the row matcher or a fine decoder.
    TextRows Rows(const Image& ink, DecoderOptions decoder) { return engine.Convert(ink, decoder); }

    Quality Measure(const TextRows& rows, const Image& truth) const {
        return MeasureQuality(DrawRowsAsInk(painter(), rows), truth);
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
