#include "ui/geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(Geometry, CentresTruncatingTowardZero) {
    struct Case {
        int sw, sh, x, y;
    };
    const Case cases[] = {
        {1920, 1080, 623, 502},
        {640, 480, -16, 202},  // (640 - 673) / 2 = -16.5, truncated to -16
        {1024, 768, 175, 346},
        {673, 76, 0, 0},
        {672, 75, 0, 0},  // -0.5 truncates to 0, not -1
        {671, 74, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sw << "x" << c.sh);
        const Point p = CentredOrigin(c.sw, c.sh, 673, 76);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
}

TEST(Geometry, EditBoxGrowsOnlyWhenTheLineWouldNotFit) {
    EXPECT_EQ(LeastEditHeight(20, 16, 2), 20);  // exactly fits
    EXPECT_EQ(LeastEditHeight(20, 13, 2), 20);  // room to spare: keeps its height
    EXPECT_EQ(LeastEditHeight(20, 17, 2), 21);
    EXPECT_EQ(LeastEditHeight(20, 19, 3), 25);
}

TEST(Geometry, TextLineSitsInTheMiddleRemainderBelow) {
    struct Case {
        int top, bottom, line, wantTop, wantBottom;
    };
    const Case cases[] = {
        {0, 16, 12, 2, 14},
        {0, 17, 12, 2, 14},  // odd remainder: the lower band is one pixel taller
        {2, 18, 12, 4, 16},
        {0, 12, 12, 0, 12},  // exactly one line: nothing to move
        {0, 10, 12, 0, 10},  // too low already: left alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.top << ".." << c.bottom << " line " << c.line);
        const Band b = CentredLine(c.top, c.bottom, c.line);
        EXPECT_EQ(b.top, c.wantTop);
        EXPECT_EQ(b.bottom, c.wantBottom);
    }
}

}  // namespace
