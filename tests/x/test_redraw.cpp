// The redraw buffer: background and wallpaper painting, clamped clears,
// Expose answered from the buffer, automatic redraw and buffer growth.
#include "xfixture.h"

#include "core/window_private.h"

namespace {

unsigned long red() { return g_tessel.colors[2]; }
unsigned long green() { return g_tessel.colors[3]; }
unsigned long blue() { return g_tessel.colors[4]; }

// A green image with a red top-left pixel and a blue bottom-right pixel;
// with a mask, columns 40..59 are transparent.
TslImage* make_image(Display* d, int w, int h, bool masked)
{
    TslImage* img = xenv_solid_image(d, w, h, green());
    xenv_fill(d, img->pixmap, red(), 0, 0, 1, 1);
    xenv_fill(d, img->pixmap, blue(), w - 1, h - 1, 1, 1);
    if (masked) {
        img->mask = XCreatePixmap(d, RootWindow(d, 0), (unsigned)w, (unsigned)h, 1);
        xenv_fill(d, img->mask, 1, 0, 0, w, h);
        xenv_fill(d, img->mask, 0, 40, 0, 20, h);
    }
    return img;
}

void resize_and_pump(Display* d, TslWindow* w, int width, int height)
{
    XResizeWindow(d, w->xwin, (unsigned)width, (unsigned)height);
    xenv_pump(d, 60);
}

class RedrawTest : public XDepthTest {
protected:
    TslWindow* make(int width, int height, TslWndProc proc = nullptr, int map = 0)
    {
        return tslCreateWindowEx(d, nullptr, tslPos(0, 0), tslSize(width, height), 0, "w", proc,
                                 map);
    }
    void map(TslWindow* w)
    {
        tslShowWindow(w, 1);
        xenv_wait_mapped(d, w->xwin);
        xenv_pump(d, 60);
    }
};

TEST_P(RedrawTest, WallpaperTilesFromTopLeft)
{
    TslImage* img = make_image(d, 100, 40, false);
    g_tessel.wallImage = img;
    TslWindow* w = make(250, 90);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->wallPaper, img);
    for (int y0 : {0, 40, 80})
        for (int x0 : {0, 100, 200})
            EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, x0, y0), red()) << x0 << "," << y0;
    for (int y1 : {39, 79})
        for (int x1 : {99, 199})
            EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, x1, y1), blue()) << x1 << "," << y1;
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 249, 89), green());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 150, 60), green());

    // A partial clear lines up with the tiles around it.
    xenv_fill(d, w->redrawPixmap, g_tessel.backPixel, 0, 0, 250, 90);
    tslClearRectWindow(d, w, tslPos(95, 35), tslSize(10, 10), 1);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 100, 40), red());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 99, 39), blue());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 94, 39), g_tessel.backPixel);

    // The server tiles the X background the same way.
    map(w);
    tslClearWindow(d, w, 0);
    XSync(d, False);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 200, 80), red());
    tslDestroyWindow(d, w);
    xenv_free_image(d, img);
}

TEST_P(RedrawTest, MaskedWallpaperShowsBackgroundThroughHoles)
{
    TslImage* img = make_image(d, 100, 40, true);
    TslWindow* w = make(250, 90);
    tslSetBackColor(d, w, g_tessel.colors[5]);
    tslSetWallPaper(d, w, img);
    ASSERT_NE(w->wallPaperMask, 0u);
    tslClearWindow(d, w, 1);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 10, 10), green());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 100, 0), red());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 50, 10), g_tessel.backPixel);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 150, 50), g_tessel.backPixel);
    tslSetWallPaper(d, w, nullptr);
    EXPECT_EQ(w->wallPaperMask, 0u);
    tslClearWindow(d, w, 1);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 10, 10), g_tessel.colors[5]);
    tslDestroyWindow(d, w);
    xenv_free_image(d, img);
}

TEST_P(RedrawTest, ClearIsClampedToTheWindow)
{
    TslWindow* w = make(250, 90);
    map(w);
    // Grow the buffer past the window so that overruns would show.
    resize_and_pump(d, w, 300, 120);
    resize_and_pump(d, w, 250, 90);
    ASSERT_EQ(w->bufferRect.width, 300);
    ASSERT_EQ(w->rect.width, 250);
    xenv_fill(d, w->redrawPixmap, red(), 0, 0, 300, 120);

    tslClearRectWindow(d, w, tslPos(-10, -5), tslSize(30, 20), 1);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 0, 0), g_tessel.backPixel);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 29, 19), g_tessel.backPixel);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 30, 5), red());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 5, 20), red());

    tslClearRectWindow(d, w, tslPos(240, 80), tslSize(100, 100), 1);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 249, 89), g_tessel.backPixel);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 250, 85), red());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 245, 90), red());

    // Far outside: nothing to clear, nothing breaks.
    tslClearRectWindow(d, w, tslPos(1000, 1000), tslSize(10, 10), 1);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 100, 50), red());

    tslClearWindowRRg(d, w, tslPos(100, 40), tslSize(10, 10), 1);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 105, 45), g_tessel.backPixel);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 99, 45), red());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 110, 45), red());
}

TEST_P(RedrawTest, ScreenClearLeavesBufferAlone)
{
    TslWindow* w = make(120, 80);
    map(w);
    xenv_fill(d, w->redrawPixmap, red(), 0, 0, 120, 80);
    tslRedrawWindow(d, w);
    XSync(d, False);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 60, 40), red());
    tslClearWindow(d, w, 0);
    XSync(d, False);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 60, 40), g_tessel.backPixel);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 60, 40), red());

    tslRedrawWindowRRg(d, w, tslPos(10, 10), tslSize(20, 20));
    XSync(d, False);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 15, 15), red());
    EXPECT_EQ(xenv_pixel(d, w->xwin, 35, 15), g_tessel.backPixel);
}

TEST_P(RedrawTest, ClearLeavesWindowGCAsReference)
{
    TslWindow* w = make(60, 40);
    XSetForeground(d, g_tessel.gc, g_tessel.colors[6]);
    XSetForeground(d, w->gc, g_tessel.colors[7]);
    tslClearWindow(d, w, 1);
    XGCValues v;
    XGetGCValues(d, w->gc, GCForeground | GCFunction, &v);
    EXPECT_EQ(v.foreground, g_tessel.colors[6]);
    EXPECT_EQ(v.function, GXcopy);
    // The buffer itself was painted with the window background.
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 30, 20), g_tessel.backPixel);
}

TEST_P(RedrawTest, ExposeIsAnsweredFromBuffer)
{
    TslWindow* w = make(120, 80);
    map(w);
    xenv_fill(d, tslGetDraw(w), blue(), 0, 0, 120, 80);
    // The server clears the window and asks for a repaint.
    XClearArea(d, w->xwin, 0, 0, 0, 0, True);
    XSync(d, False);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 60, 40), g_tessel.backPixel);
    xenv_pump(d, 60);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 60, 40), blue());
    EXPECT_EQ(xenv_pixel(d, w->xwin, 119, 79), blue());
}

bool g_paint;
int painter(Display* d, TslWindow* w, XEvent* ev)
{
    if (ev->type == MotionNotify && g_paint)
        xenv_fill(d, tslGetDraw(w), green(), 0, 0, w->rect.width, w->rect.height);
    return w->status;
}

TEST_P(RedrawTest, AutoRedrawCopiesOnlyWhenSomethingWasDrawn)
{
    TslWindow* w = make(120, 80, painter);
    tslSetAutoRedraw(w, 1);
    EXPECT_EQ(w->redrawBuffer, 1);
    map(w);
    XEvent ev{};
    ev.type = MotionNotify;
    ev.xany.window = w->xwin;

    // Painted behind the stamp's back: the event draws nothing, no copy.
    xenv_fill(d, w->redrawPixmap, red(), 0, 0, 120, 80);
    g_paint = false;
    tslCallWndProc(d, w, &ev, 1);
    XSync(d, False);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 60, 40), g_tessel.backPixel);

    g_paint = true;
    tslSetAutoRedrawArea(w, tslPos(0, 0), tslSize(10, 10));
    tslCallWndProc(d, w, &ev, 1);
    XSync(d, False);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 5, 5), green());
    EXPECT_EQ(xenv_pixel(d, w->xwin, 60, 40), g_tessel.backPixel);

    tslSetAutoRedrawArea(w, 0, 0);
    tslCallWndProc(d, w, &ev, 1);
    XSync(d, False);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 60, 40), green());
    EXPECT_EQ(w->drawStampShown, w->drawStamp);
    EXPECT_EQ(AutoRedraw(d, nullptr), 0);
}

TEST_P(RedrawTest, GrownWindowKeepsOldContents)
{
    TslWindow* w = make(100, 60);
    map(w);
    xenv_fill(d, tslGetDraw(w), blue(), 0, 0, 100, 60);
    resize_and_pump(d, w, 200, 120);
    EXPECT_EQ(w->bufferRect.width, 200);
    EXPECT_EQ(w->bufferRect.height, 120);
    EXPECT_EQ(w->rect.width, 200);
    EXPECT_EQ(w->rect.height, 120);
    EXPECT_EQ(w->resized, 1);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 0, 0), blue());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 99, 59), blue());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 100, 59), g_tessel.backPixel);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 150, 100), g_tessel.backPixel);

    resize_and_pump(d, w, 50, 40);
    EXPECT_EQ(w->bufferRect.width, 200);
    EXPECT_EQ(w->bufferRect.height, 120);
    EXPECT_EQ(w->rect.width, 50);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 10, 10), blue());

    XMoveWindow(d, w->xwin, 17, 23);
    xenv_pump(d, 60);
    EXPECT_EQ(w->resized, 0);
    EXPECT_EQ(w->rect.x, 17);
    EXPECT_EQ(w->rect.y, 23);
}

TEST_P(RedrawTest, CopyInsideBuffer)
{
    TslWindow* w = make(100, 60);
    xenv_fill(d, w->redrawPixmap, red(), 0, 0, 10, 10);
    tslCopyWindow(d, w, tslPos(0, 0), tslSize(10, 10), 50, 30, 1);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 55, 35), red());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 60, 35), g_tessel.backPixel);

    // Only the part of the source inside the clip moves, to the matching place.
    tslCopyWindowRRg(d, w, tslPos(5, 5), tslSize(90, 50), tslPos(0, 0), tslSize(10, 10), 70, 10, 1);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 75, 15), red());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 79, 19), red());
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 72, 12), g_tessel.backPixel);
    EXPECT_EQ(tslCopyWindow(d, nullptr, 0, 0, 0, 0, 1), 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, RedrawTest, TSL_ALL_DEPTHS);

}  // namespace
