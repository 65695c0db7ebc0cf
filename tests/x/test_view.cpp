// The image pane: placement of small and large pictures, offsets clamped at
// the picture's far edges, and repaints only when something changed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tessel.h"
#include "view.h"
#include "xenv.h"

namespace {

class View : public ::testing::Test {
protected:
    Display* dpy = nullptr;
    TslWindow* top = nullptr;
    TslWindow* pane = nullptr;
    std::vector<TslImage*> images;

    void open(const char* env)
    {
        dpy = xenv_open(env);
        if (!dpy)
            return;
        top = tslCreateWindow(dpy, nullptr, tslPos(0, 0), tslSize(400, 300), 0, "Main", nullptr);
        pane = CreateWindow_View(dpy, top, tslPos(5, 5), tslSize(320, 240), "ViewWnd");
        xenv_wait_mapped(dpy, pane->xwin);
        xenv_pump(dpy, 50);
        SetImage_View(pane, nullptr);
        SetHPos_View(pane, 0);
        SetVPos_View(pane, 0);
    }
    void SetUp() override { open(nullptr); }
    void TearDown() override
    {
        if (!dpy)
            return;
        SetImage_View(nullptr, nullptr);
        SetHPos_View(nullptr, 0);
        SetVPos_View(nullptr, 0);
        if (top)
            tslDestroyWindow(dpy, top);
        for (TslImage* img : images) {
            XFreePixmap(dpy, img->pixmap);
            XFreeGC(dpy, img->gc);
            delete img;
        }
        xenv_close();
    }

    // Each pixel of the picture tells its own column and row.
    static unsigned long code(int x, int y) { return (unsigned long)x | ((unsigned long)y << 12); }

    TslImage* patterned(int w, int h)
    {
        TslImage* img = blank(w, h);
        XImage* xi = XGetImage(dpy, img->pixmap, 0, 0, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                XPutPixel(xi, x, y, code(x, y));
        XPutImage(dpy, img->pixmap, img->gc, xi, 0, 0, 0, 0, (unsigned)w, (unsigned)h);
        XDestroyImage(xi);
        return img;
    }
    TslImage* solid(int w, int h, unsigned long pixel)
    {
        TslImage* img = blank(w, h);
        XSetForeground(dpy, img->gc, pixel);
        XFillRectangle(dpy, img->pixmap, img->gc, 0, 0, (unsigned)w, (unsigned)h);
        return img;
    }
    TslImage* blank(int w, int h)
    {
        TslImage* img = new TslImage();
        img->pixmap = XCreatePixmap(dpy, RootWindow(dpy, 0), (unsigned)w, (unsigned)h,
                                    (unsigned)g_tessel.depth);
        img->gc = XCreateGC(dpy, RootWindow(dpy, 0), 0, nullptr);
        img->width = w;
        img->height = h;
        img->format = TSL_IMAGE_BMP24;
        images.push_back(img);
        return img;
    }
    unsigned long buf(int x, int y) { return xenv_pixel(dpy, pane->redrawPixmap, x, y); }
    unsigned long screen(int x, int y)
    {
        XSync(dpy, False);
        return xenv_pixel(dpy, pane->xwin, x, y);
    }
    void mark()
    {
        GC gc = XCreateGC(dpy, pane->redrawPixmap, 0, nullptr);
        XSetForeground(dpy, gc, g_tessel.colors[5]);
        XFillRectangle(dpy, pane->redrawPixmap, gc, 0, 0, 320, 240);
        XFreeGC(dpy, gc);
    }
    bool marked() { return buf(0, 0) == g_tessel.colors[5] && buf(319, 239) == g_tessel.colors[5]; }
};

#define NEED_24()                                         \
    do {                                                  \
        if (!dpy)                                         \
            GTEST_SKIP() << "no X display";               \
        if (g_tessel.depth != 24)                         \
            GTEST_SKIP() << "pattern needs a 24-bit screen"; \
    } while (0)

TEST_F(View, WithoutImageOnlyBackground)
{
    if (!dpy)
        GTEST_SKIP() << "no X display";
    mark();
    EXPECT_EQ(Draw_View(dpy, pane), 1);
    for (unsigned long p : xenv_pixels(dpy, pane->redrawPixmap, 0, 0, 320, 240))
        ASSERT_EQ(p, g_tessel.backPixel);
}

TEST_F(View, SmallPictureIsCentred)
{
    NEED_24();
    TslImage* img = patterned(100, 50);
    EXPECT_EQ(SetImage_View(pane, img), 1);
    EXPECT_EQ(buf(110, 95), code(0, 0));
    EXPECT_EQ(buf(209, 144), code(99, 49));
    EXPECT_EQ(buf(109, 95), g_tessel.backPixel);
    EXPECT_EQ(buf(110, 94), g_tessel.backPixel);
    EXPECT_EQ(buf(210, 144), g_tessel.backPixel);
    EXPECT_EQ(buf(209, 145), g_tessel.backPixel);
    // Offsets do not move a picture that fits.
    SetHPos_View(pane, 30);
    SetVPos_View(pane, 30);
    EXPECT_EQ(buf(110, 95), code(0, 0));
    // What the buffer holds reaches the screen at once.
    EXPECT_EQ(screen(110, 95), code(0, 0));
    EXPECT_EQ(screen(109, 95), g_tessel.backPixel);
}

TEST_F(View, LargePictureScrollsAndStopsAtItsEdges)
{
    NEED_24();
    TslImage* img = patterned(1000, 300);
    SetImage_View(pane, img);
    EXPECT_EQ(buf(0, 0), code(0, 0));
    EXPECT_EQ(buf(319, 239), code(319, 239));

    EXPECT_EQ(SetHPos_View(pane, 900), 1);
    EXPECT_EQ(GetHPos_View(), 900);
    EXPECT_EQ(buf(0, 0), code(680, 0));
    EXPECT_EQ(buf(319, 0), code(999, 0));

    EXPECT_EQ(SetVPos_View(pane, 20), 1);
    EXPECT_EQ(buf(0, 0), code(680, 20));
    SetVPos_View(pane, 5000);
    EXPECT_EQ(buf(0, 239), code(680, 299));
    EXPECT_EQ(buf(0, 0), code(680, 60));
    EXPECT_EQ(screen(0, 0), code(680, 60));

    SetHPos_View(pane, 7);
    EXPECT_EQ(buf(0, 0), code(7, 60));
}

TEST_F(View, NegativeOffsetIsRefusedAndChangesNothing)
{
    NEED_24();
    TslImage* img = patterned(1000, 300);
    SetImage_View(pane, img);
    SetHPos_View(pane, 40);
    SetVPos_View(pane, 10);
    mark();
    EXPECT_EQ(SetVPos_View(pane, -1), 0);
    EXPECT_EQ(SetHPos_View(pane, -5), 0);
    EXPECT_EQ(GetVPos_View(), 10);
    EXPECT_EQ(GetHPos_View(), 40);
    EXPECT_TRUE(marked());
}

TEST_F(View, UnchangedValuesSendNoRepaint)
{
    NEED_24();
    TslImage* img = patterned(1000, 300);
    SetImage_View(pane, img);
    SetHPos_View(pane, 3);
    mark();
    EXPECT_EQ(SetImage_View(pane, img), 1);
    EXPECT_EQ(SetHPos_View(pane, 3), 1);
    EXPECT_EQ(SetVPos_View(pane, 0), 1);
    EXPECT_TRUE(marked());
    SetVPos_View(pane, 1);
    EXPECT_EQ(buf(0, 0), code(3, 1));
}

TEST_F(View, ReplacingAndClearingThePicture)
{
    NEED_24();
    TslImage* big = patterned(1000, 300);
    TslImage* small = solid(10, 10, g_tessel.colors[2]);
    SetImage_View(pane, big);
    SetImage_View(pane, small);
    EXPECT_EQ(buf(155, 115), g_tessel.colors[2]);
    EXPECT_EQ(buf(0, 0), g_tessel.backPixel);
    SetImage_View(pane, nullptr);
    EXPECT_EQ(buf(155, 115), g_tessel.backPixel);
    EXPECT_EQ(screen(155, 115), g_tessel.backPixel);
}

TEST_F(View, ResizedPaneCentresAgain)
{
    NEED_24();
    TslImage* img = patterned(100, 50);
    SetImage_View(pane, img);
    tslMoveResizeWindow(pane, tslPos(5, 5), tslSize(200, 100));
    xenv_pump(dpy, 100);
    EXPECT_EQ(pane->rect.width, 200);
    EXPECT_EQ(buf(50, 25), code(0, 0));
    EXPECT_EQ(buf(49, 25), g_tessel.backPixel);
    EXPECT_EQ(screen(50, 25), code(0, 0));
}

TEST_F(View, ExposeIsAnsweredFromTheBuffer)
{
    NEED_24();
    TslImage* img = patterned(100, 50);
    SetImage_View(pane, img);
    XClearArea(dpy, pane->xwin, 0, 0, 0, 0, True);
    xenv_pump(dpy, 100);
    EXPECT_EQ(screen(110, 95), code(0, 0));
    EXPECT_EQ(screen(209, 144), code(99, 49));
}

class ViewDepth : public View, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {}
};

TEST_P(ViewDepth, SmallPictureIsCentred)
{
    if (!getenv(GetParam()))
        GTEST_SKIP() << GetParam() << " not set";
    open(GetParam());
    ASSERT_NE(dpy, nullptr);
    TslImage* img = solid(100, 50, g_tessel.colors[4]);
    SetImage_View(pane, img);
    EXPECT_EQ(buf(110, 95), g_tessel.colors[4]);
    EXPECT_EQ(buf(209, 144), g_tessel.colors[4]);
    EXPECT_EQ(buf(109, 95), g_tessel.backPixel);
    EXPECT_EQ(buf(210, 145), g_tessel.backPixel);
    EXPECT_EQ(screen(110, 95), g_tessel.colors[4]);
}

INSTANTIATE_TEST_SUITE_P(Depths, ViewDepth, ::testing::Values("TSL_DISPLAY_16", "TSL_DISPLAY_8"));

}  // namespace
