#include "session/client_map.h"

#include <gtest/gtest.h>

#include <limits>

namespace fudeline {
namespace {

using Kind = ClientTarget::Kind;

TEST(MapClientPoint, SortsPressesIntoIndicatorCanvasAndElsewhere) {
    struct Case {
        std::int64_t x, y;
        Kind kind;
        PenPoint point;
    };
    const Case cases[] = {
        {11, 11, Kind::PenIndicator, {-1, -29}},  // the indicator's corners, hit area
        {43, 31, Kind::PenIndicator, {31, -9}},   // one wider than it is drawn
        {44, 11, Kind::Elsewhere, {32, -29}},    {11, 32, Kind::Elsewhere, {-1, -8}},
        {12, 40, Kind::Canvas, {0, 0}},  // the canvas corners are inclusive
        {811, 561, Kind::Canvas, {799, 521}},    {812, 100, Kind::Elsewhere, {800, 60}},
        {100, 562, Kind::Elsewhere, {88, 522}},  {-32768, 32767, Kind::Elsewhere, {-32780, 32727}},
    };
    for (const Case& c : cases) {
        const ClientTarget t = MapClientPoint(c.x, c.y);
        EXPECT_EQ(t.kind, c.kind) << c.x << "," << c.y;
        EXPECT_EQ(t.point, c.point) << c.x << "," << c.y;
    }
}

TEST(MapClientPoint, HoldsPointsPastThirtyTwoBitsAtTheEnds) {
    const auto t = MapClientPoint(std::numeric_limits<std::int64_t>::min() / 2,
                                  std::numeric_limits<std::int64_t>::max() / 2);
    EXPECT_EQ(t.point.x, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(t.point.y, std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace fudeline
