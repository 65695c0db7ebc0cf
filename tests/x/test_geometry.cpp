// Applying geometry strings to toolkit windows (with the window's size
// limits) and resetting graphics contexts, checked on the server.
#include <gtest/gtest.h>

#include <vector>

#include "tessel.h"
#include "xenv.h"

namespace {

class Geometry : public ::testing::Test {
protected:
    Display* d = nullptr;
    TslWindow* w = nullptr;
    void SetUp() override
    {
        d = xenv_open();
        ASSERT_NE(d, nullptr);
        w = tslCreateWindow(d, nullptr, tslPos(10, 20), tslSize(200, 100), 0, "geometry", nullptr);
        ASSERT_NE(w, nullptr);
        xenv_wait_mapped(d, w->xwin);
    }
    void TearDown() override
    {
        if (w) tslDestroyWindow(d, w);
        if (d) xenv_close();
    }
    void geometry(int* x, int* y, unsigned int* width, unsigned int* height)
    {
        XSync(d, False);
        Window root;
        unsigned int border, depth;
        ASSERT_TRUE(XGetGeometry(d, w->xwin, &root, x, y, width, height, &border, &depth));
    }
};

}  // namespace

TEST_F(Geometry, FullAndPartialStrings)
{
    int x, y;
    unsigned int width, height;
    EXPECT_EQ(tslSetGeometry(w, "300x150+40+50"), 1);
    geometry(&x, &y, &width, &height);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 50);
    EXPECT_EQ(width, 300u);
    EXPECT_EQ(height, 150u);

    // missing parts come from the window's last known rectangle
    w->rect = tslSetRect(10, 20, 200, 100);
    EXPECT_EQ(tslSetGeometry(w, "+5+6"), 1);
    geometry(&x, &y, &width, &height);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    EXPECT_EQ(width, 200u);
    EXPECT_EQ(height, 100u);

    EXPECT_EQ(tslSetGeometry(w, "120x80-0-0"), 1);
    geometry(&x, &y, &width, &height);
    EXPECT_EQ(x, g_tessel.screenWidth - 120);
    EXPECT_EQ(y, g_tessel.screenHeight - 80);
}

TEST_F(Geometry, SizeLimitsAndRefusals)
{
    int x, y;
    unsigned int width, height;
    tslSetMinMaxSize(w, 250, 120, 400, 300);
    EXPECT_EQ(tslSetGeometry(w, "1000x10+0+0"), 1);
    geometry(&x, &y, &width, &height);
    EXPECT_EQ(width, 400u);
    EXPECT_EQ(height, 120u);
    EXPECT_EQ(tslSetGeometry(w, "10x1000+0+0"), 1);
    geometry(&x, &y, &width, &height);
    EXPECT_EQ(width, 250u);
    EXPECT_EQ(height, 300u);

    EXPECT_EQ(tslSetGeometry(nullptr, "10x10"), 0);
    EXPECT_EQ(tslSetGeometry(w, ""), 0);
    EXPECT_EQ(tslSetGeometry(w, nullptr), 0);
}

TEST_F(Geometry, ResetGCDropsClipAndColours)
{
    Pixmap pm = XCreatePixmap(d, w->xwin, 20, 20, DefaultDepth(d, 0));
    GC gc = XCreateGC(d, pm, 0, nullptr);
    XSetForeground(d, gc, g_tessel.colors[0]);
    XFillRectangle(d, pm, gc, 0, 0, 20, 20);

    XSetForeground(d, gc, g_tessel.colors[2]);
    XRectangle clip = {0, 0, 5, 5};
    XSetClipRectangles(d, gc, 0, 0, &clip, 1, Unsorted);
    XSetFunction(d, gc, GXxor);
    EXPECT_EQ(tslResetGC(gc), 1);

    // the reference GC draws with its defaults: GXcopy, foreground 0
    XSetForeground(d, gc, g_tessel.colors[1]);
    XFillRectangle(d, pm, gc, 0, 0, 20, 20);
    std::vector<unsigned long> px = xenv_pixels(d, pm, 0, 0, 20, 20);
    for (unsigned long p : px) ASSERT_EQ(p, g_tessel.colors[1]);

    XGCValues v;
    ASSERT_TRUE(XGetGCValues(d, gc, GCFunction | GCLineWidth, &v));
    EXPECT_EQ(v.function, GXcopy);
    XFreeGC(d, gc);
    XFreePixmap(d, pm);
}
