// Applying geometry strings to toolkit windows (with the window's size
// limits) and resetting graphics contexts, checked on the server.
#include "xfixture.h"

namespace {

class Geometry : public XTest {
protected:
    TslWindow* w = nullptr;
    void SetUp() override
    {
        XTest::SetUp();
        if (!d)
            return;
        w = tslCreateWindow(d, nullptr, tslPos(10, 20), tslSize(200, 100), 0, "geometry", nullptr);
        ASSERT_NE(w, nullptr);
        xenv_wait_mapped(d, w->xwin);
    }
    // Applies a string and gives the window's x, y, width and height on the server.
    std::vector<int> apply(const char* geometry)
    {
        EXPECT_EQ(tslSetGeometry(w, geometry), 1) << geometry;
        XSync(d, False);
        Window root;
        int x = 0, y = 0;
        unsigned int width = 0, height = 0, border, depth;
        XGetGeometry(d, w->xwin, &root, &x, &y, &width, &height, &border, &depth);
        return {x, y, (int)width, (int)height};
    }
};

}  // namespace

TEST_F(Geometry, StringsLimitsAndRefusals)
{
    EXPECT_EQ(apply("300x150+40+50"), (std::vector<int>{40, 50, 300, 150}));
    // missing parts come from the window's last known rectangle
    w->rect = tslSetRect(10, 20, 200, 100);
    EXPECT_EQ(apply("+5+6"), (std::vector<int>{5, 6, 200, 100}));
    EXPECT_EQ(apply("120x80-0-0"),
              (std::vector<int>{g_tessel.screenWidth - 120, g_tessel.screenHeight - 80, 120, 80}));

    tslSetMinMaxSize(w, 250, 120, 400, 300);
    EXPECT_EQ(apply("1000x10+0+0"), (std::vector<int>{0, 0, 400, 120}));
    EXPECT_EQ(apply("10x1000+0+0"), (std::vector<int>{0, 0, 250, 300}));

    EXPECT_EQ(tslSetGeometry(nullptr, "10x10"), 0);
    EXPECT_EQ(tslSetGeometry(w, ""), 0);
    EXPECT_EQ(tslSetGeometry(w, nullptr), 0);
}

TEST_F(Geometry, ResetGCDropsClipAndFunction)
{
    Pixmap pm = XCreatePixmap(d, w->xwin, 20, 20, DefaultDepth(d, 0));
    xenv_fill(d, pm, g_tessel.colors[0], 0, 0, 20, 20);
    GC gc = XCreateGC(d, pm, 0, nullptr);
    XRectangle clip = {0, 0, 5, 5};
    XSetClipRectangles(d, gc, 0, 0, &clip, 1, Unsorted);
    XSetFunction(d, gc, GXxor);
    EXPECT_EQ(tslResetGC(gc), 1);

    XSetForeground(d, gc, g_tessel.colors[1]);
    XFillRectangle(d, pm, gc, 0, 0, 20, 20);
    for (unsigned long p : xenv_pixels(d, pm, 0, 0, 20, 20))
        ASSERT_EQ(p, g_tessel.colors[1]);
    XGCValues v;
    ASSERT_TRUE(XGetGCValues(d, gc, GCFunction, &v));
    EXPECT_EQ(v.function, GXcopy);
    XFreeGC(d, gc);
    XFreePixmap(d, pm);
}
