#include "Zor.Utils.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <optional>

using zor::TDraw2D;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct TMeetCase {
    const char* Name;
    std::array<double, 8> Lines; // x1, y1, x2, y2 of line 1, then of line 2
    bool Segment1;
    bool Segment2;
    std::optional<QPointF> Meet;
};

const TMeetCase MeetCases[] = {
    { "crossing segments", { 0, 0, 10, 10, 0, 10, 10, 0 }, true, true, QPointF(5, 5) },
    { "lines meet beyond both segments", { 0, 0, 1, 0, 5, 1, 5, 2 }, false, false, QPointF(5, 0) },
    { "beyond the first segment, which is kept", { 0, 0, 1, 0, 5, 1, 5, -1 }, true, false, std::nullopt },
    { "beyond the second segment, which is kept", { 0, 0, 10, 0, 5, 1, 5, 2 }, false, true, std::nullopt },
    { "at a segment's end, which counts", { 0, 0, 10, 0, 10, 5, 10, -5 }, true, true, QPointF(10, 0) },
    { "parallel", { 0, 0, 10, 0, 0, 1, 10, 1 }, false, false, std::nullopt },
    { "one line", { 0, 0, 10, 0, 20, 0, 30, 0 }, false, false, std::nullopt },
    { "line of no length", { 3, 3, 3, 3, 0, 0, 10, 10 }, false, false, std::nullopt },
    { "not finite", { 0, 0, NaN, 10, 0, 10, 10, 0 }, false, false, std::nullopt },
    // Base-unit coordinates of a large drawing: the difference stays exact.
    { "far from the origin", { 4e9, 4e9, 4e9 + 2000, 4e9, 4e9 + 1000, 4e9 - 500, 4e9 + 1000, 4e9 + 500 },
        true, true, QPointF(4e9 + 1000, 4e9) },
    // Not quite parallel, but by less than rounding noise of the coordinates.
    { "parallel but for rounding", { 0, 0, 1e9, 1e9, 1, 0, 1e9 + 1, 1e9 + 1e-7 }, false, false,
        std::nullopt },
};

TEST(IntersectLines, Table)
{
    for (const TMeetCase& c : MeetCases) {
        SCOPED_TRACE(c.Name);
        const auto& v = c.Lines;
        QPointF p(-7, -7);
        const bool met = TDraw2D::IntersectLines(
            v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], c.Segment1, c.Segment2, p);
        ASSERT_EQ(met, c.Meet.has_value());
        if (c.Meet) {
            EXPECT_NEAR(p.x(), c.Meet->x(), 1e-6);
            EXPECT_NEAR(p.y(), c.Meet->y(), 1e-6);
        } else {
            EXPECT_EQ(p, QPointF(-7, -7)) << "the point is left alone";
        }
    }
}

} // namespace
