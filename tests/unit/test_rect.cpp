// Rectangle arithmetic: strict point tests on edges and the intersection's
// touching-edge and origin rules.
#include <gtest/gtest.h>

#include "tessel.h"

static void expect_rect(TslRect r, int x, int y, int w, int h)
{
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, w);
    EXPECT_EQ(r.height, h);
}

TEST(Rect, BuildMoveAndEmpty)
{
    TslRect r;
    EXPECT_EQ(tslSetRectangle(&r, -5, 7, 20, 30), 1);
    expect_rect(r, -5, 7, 20, 30);
    EXPECT_EQ(tslSetRectangle(nullptr, 0, 0, 1, 1), 0);
    expect_rect(tslSetOffsetRect(r, 10, -10), 5, -3, 20, 30);
    expect_rect(tslSetOffsetRect(tslSetRect(32767, 0, 1, 1), 1, 0), -32768, 0, 1, 1);
    EXPECT_EQ(tslIsEmptyRect(tslSetRect(3, 3, 0, 5)), 1);
    EXPECT_EQ(tslIsEmptyRect(tslSetRect(3, 3, 5, 0)), 1);
    EXPECT_EQ(tslIsEmptyRect(tslSetRect(3, 3, 1, 1)), 0);
}

TEST(Rect, PointOnAnyEdgeIsOutside)
{
    TslRect r = tslSetRect(10, 20, 30, 40);
    EXPECT_EQ(tslPointInRect(10, 20, r), 0);
    EXPECT_EQ(tslPointInRect(11, 21, r), 1);
    EXPECT_EQ(tslPointInRect(39, 59, r), 1);
    EXPECT_EQ(tslPointInRect(40, 30, r), 0);
    EXPECT_EQ(tslPointInRect(20, 60, r), 0);
    EXPECT_EQ(tslPointInRect(10, 30, r), 0);
    EXPECT_EQ(tslPointInRect(20, 20, r), 0);
    EXPECT_EQ(tslPointInRect(20, 30, tslSetRect(-100, -100, 0, 500)), 0);
}

TEST(Rect, IntersectionOverlapAndDisjoint)
{
    expect_rect(tslGetInRect(tslSetRect(0, 0, 100, 100), tslSetRect(50, 60, 100, 100)), 50, 60, 50, 40);
    expect_rect(tslGetInRect(tslSetRect(10, 10, 10, 10), tslSetRect(30, 30, 5, 5)), 0, 0, 0, 0);
    expect_rect(tslGetInRect(tslSetRect(10, 10, 10, 10), tslSetRect(12, 12, 2, 2)), 12, 12, 2, 2);
    expect_rect(tslGetInRect(tslSetRect(-50, -50, 100, 100), tslSetRect(-10, -20, 30, 40)), -10, -20, 30, 40);
}

TEST(Rect, TouchingEdgesGiveZeroSizeUnlessAtOrigin)
{
    // side by side: zero width at x = 20
    expect_rect(tslGetInRect(tslSetRect(10, 10, 10, 10), tslSetRect(20, 10, 10, 10)), 20, 10, 0, 10);
    // stacked: zero height at y = 20
    expect_rect(tslGetInRect(tslSetRect(10, 10, 10, 10), tslSetRect(10, 20, 10, 10)), 10, 20, 10, 0);
    // shared edge on x = 0 reads as no overlap
    expect_rect(tslGetInRect(tslSetRect(-10, 0, 10, 10), tslSetRect(0, 0, 10, 10)), 0, 0, 0, 0);
    // wholly negative: right clamps to 0, which is below left
    expect_rect(tslGetInRect(tslSetRect(-30, -30, 5, 5), tslSetRect(-40, -40, 20, 20)), 0, 0, 0, 0);
}
