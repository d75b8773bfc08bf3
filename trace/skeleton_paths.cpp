#include "trace/skeleton_paths.h"

#include <array>
#include <opencv2/imgproc.hpp>

namespace fudeline {
namespace {

const std::array<cv::Point, 8> kSteps = {cv::Point{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                                         cv::Point{-1, 0}, {-1, -1}, {0, -1}, {1, -1}};

class SkeletonWalker {
  public:
    explicit SkeletonWalker(const cv::Mat& skeleton) {
        // A paper border, so neighbours never need bounds checks. Ink is
        // kUnvisited until a walk passes (kVisited): one picture, not two.
        cv::copyMakeBorder(skeleton, ink_, 1, 1, 1, 1, cv::BORDER_CONSTANT, 0);
        cv::threshold(ink_, ink_, 0, kUnvisited, cv::THRESH_BINARY);
    }

    std::vector<std::vector<cv::Point>> Paths() {
        std::vector<std::vector<cv::Point>> paths;
        // Chains leaving every node; a chain between two nodes is found from
        // both ends, so the second finds its pixels visited and stops.
        ForEachInk([&](cv::Point p) {
            if (!IsNode(p)) return;
            const int count = Neighbours(p);
            if (count == 0) paths.push_back({p});
            for (const cv::Point step : kSteps) {
                const cv::Point q = p + step;
                if (!Ink(q)) continue;
                if (IsNode(q)) {
                    // Adjacent nodes (a junction's pixels): one short path each pair.
                    if (q.y > p.y || (q.y == p.y && q.x > p.x)) paths.push_back({p, q});
                } else if (!Visited(q)) {
                    paths.push_back(Walk(p, q));
                }
            }
        });
        // What is left are closed loops with no node on them.
        ForEachInk([&](cv::Point p) {
            if (IsNode(p) || Visited(p)) return;
            std::vector<cv::Point> loop = Walk(p, p);
            loop.push_back(p);
            paths.push_back(std::move(loop));
        });
        for (auto& path : paths) {
            for (cv::Point& p : path) p -= cv::Point(1, 1);
        }
        return paths;
    }

  private:
    template <typename F>
    void ForEachInk(F&& f) {
        for (int y = 1; y < ink_.rows - 1; ++y) {
            const std::uint8_t* row = ink_.ptr<std::uint8_t>(y);
            for (int x = 1; x < ink_.cols - 1; ++x) {
                if (row[x]) f(cv::Point(x, y));
            }
        }
    }
    bool Ink(cv::Point p) const { return ink_.at<std::uint8_t>(p) != 0; }
    bool Visited(cv::Point p) const { return ink_.at<std::uint8_t>(p) == kVisited; }
    int Neighbours(cv::Point p) const {
        int count = 0;
        for (const cv::Point step : kSteps) count += Ink(p + step);
        return count;
    }
    bool IsNode(cv::Point p) const { return Neighbours(p) != 2; }

    // Follows the chain from `from` through `first` until a node, a visited
    // pixel or a dead end.
    std::vector<cv::Point> Walk(cv::Point from, cv::Point first) {
        std::vector<cv::Point> path{from};
        cv::Point previous = from, current = first;
        if (first == from) previous = cv::Point(-1, -1);
        for (;;) {
            path.push_back(current);
            if (IsNode(current)) break;
            ink_.at<std::uint8_t>(current) = kVisited;
            cv::Point next(-1, -1);
            for (const cv::Point step : kSteps) {
                const cv::Point q = current + step;
                if (q == previous || !Ink(q)) continue;
                if (IsNode(q) || !Visited(q)) {
                    next = q;
                    break;
                }
            }
            if (next.x < 0) break;
            previous = current;
            current = next;
        }
        if (first == from) path.erase(path.begin());  // a loop starts at its own pixel
        return path;
    }

    static constexpr std::uint8_t kUnvisited = 255, kVisited = 1;
    cv::Mat ink_;
};

}  // namespace

std::vector<std::vector<cv::Point>> TraceSkeletonPaths(const cv::Mat& skeleton) {
    CV_Assert(skeleton.type() == CV_8UC1);
    return SkeletonWalker(skeleton).Paths();
}

}  // namespace fudeline
