#include "bench/quality/user_lines/hand_model.h"

#include <array>
#include <cmath>
#include <random>

namespace fudeline::bench {
namespace {

constexpr double kTau = 6.283185307179586;

// A smooth random function of the distance along the path: a sum of sine
// waves with wavelengths between `shortest` and `longest`, scaled to a root
// mean square of `rms`.
class Noise {
  public:
    Noise(std::mt19937& rng, double shortest, double longest, double rms) {
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (Wave& w : waves_) {
            w.k = kTau / (shortest + (longest - shortest) * unit(rng));
            w.phase = kTau * unit(rng);
        }
        // A sum of n unit sines of independent phases has a mean square of n / 2.
        scale_ = rms * std::sqrt(2.0 / static_cast<double>(waves_.size()));
    }
    double At(double s) const {
        double sum = 0.0;
        for (const Wave& w : waves_) sum += std::sin(w.k * s + w.phase);
        return scale_ * sum;
    }

  private:
    struct Wave {
        double k = 0, phase = 0;
    };
    std::array<Wave, 4> waves_;
    double scale_ = 0;
};

}  // namespace

std::vector<PenPoint> DrawnPoints(const std::vector<PathPoint>& path, const Hand& hand,
                                  double spacing) {
    std::mt19937 rng(hand.seed);
    const Noise tremorX(rng, 6, 24, hand.tremor), tremorY(rng, 6, 24, hand.tremor);
    const Noise driftX(rng, 120, 400, hand.drift), driftY(rng, 120, 400, hand.drift);
    std::vector<PenPoint> out;
    auto report = [&](double x, double y, double s) {
        const PenPoint p{static_cast<std::int32_t>(std::lround(x + tremorX.At(s) + driftX.At(s))),
                         static_cast<std::int32_t>(std::lround(y + tremorY.At(s) + driftY.At(s)))};
        if (out.empty() || out.back().x != p.x || out.back().y != p.y) out.push_back(p);
    };
    if (path.empty()) return out;
    double along = 0.0;   // distance along the path so far
    double next = 0.0;    // where the next report falls
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const PathPoint a = path[i], b = path[i + 1];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        while (next <= along + length) {
            const double t = length > 0 ? (next - along) / length : 0.0;
            report(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), next);
            next += spacing;
        }
        along += length;
    }
    report(path.back().x, path.back().y, along);
    return out;
}

}  // namespace fudeline::bench
