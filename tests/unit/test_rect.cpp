// Rectangle arithmetic and packed geometry: strict point tests on edges, the
// intersection's touching-edge and origin rules, and packing round trips.
#include "testutil.h"
#include "tessel.h"

static void expect_rect(TslRect r, int x, int y, int w, int h)
{
    EXPECT_TRUE(r.x == x && r.y == y && r.width == w && r.height == h)
        << r.x << "," << r.y << " " << r.width << "x" << r.height << " want " << x << "," << y << " " << w
        << "x" << h;
}

TEST(Rect, BuildMoveEmptyAndPack)
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

    unsigned int pos = tslPos(-10, 20), size = tslSize(65535, 65535);
    EXPECT_EQ(tslPosX(pos), -10);
    EXPECT_EQ(tslPosY(pos), 20);
    EXPECT_EQ(tslSizeW(size), 65535);
    EXPECT_EQ(tslSizeH(size), 65535);
    expect_rect(tslUnpackRect(pos, size), -10, 20, 65535, 65535);
    EXPECT_EQ(tslRectPos(tslUnpackRect(pos, size)), pos);
    EXPECT_EQ(tslRectSize(tslUnpackRect(pos, size)), size);
    EXPECT_EQ(sizeof(TslRect), 8u);
}

TEST(Rect, PointOnAnyEdgeIsOutside)
{
    TslRect r = tslSetRect(10, 20, 30, 40);
    const int cases[][3] = {{10, 20, 0}, {11, 21, 1}, {39, 59, 1}, {40, 30, 0},
                            {20, 60, 0}, {10, 30, 0}, {20, 20, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(tslPointInRect(c[0], c[1], r), c[2]) << c[0] << "," << c[1];
    EXPECT_EQ(tslPointInRect(20, 30, tslSetRect(-100, -100, 0, 500)), 0);
}

TEST(Rect, Intersection)
{
    const struct {
        TslRect a, b, want;
    } cases[] = {
        {{0, 0, 100, 100}, {50, 60, 100, 100}, {50, 60, 50, 40}},
        {{10, 10, 10, 10}, {30, 30, 5, 5}, {0, 0, 0, 0}},  // disjoint
        {{10, 10, 10, 10}, {12, 12, 2, 2}, {12, 12, 2, 2}},
        {{-50, -50, 100, 100}, {-10, -20, 30, 40}, {-10, -20, 30, 40}},
        // touching edges give zero size, side by side and stacked
        {{10, 10, 10, 10}, {20, 10, 10, 10}, {20, 10, 0, 10}},
        {{10, 10, 10, 10}, {10, 20, 10, 10}, {10, 20, 10, 0}},
        // a shared edge on x = 0 reads as no overlap
        {{-10, 0, 10, 10}, {0, 0, 10, 10}, {0, 0, 0, 0}},
        // wholly negative: right clamps to 0, which is below left
        {{-30, -30, 5, 5}, {-40, -40, 20, 20}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        expect_rect(tslGetInRect(c.a, c.b), c.want.x, c.want.y, c.want.width, c.want.height);
}
