// The redraw buffer at every depth: background and wallpaper painting,
// clamped clears, Expose answered from the buffer, automatic redraw, buffer
// growth and copies inside the buffer.
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

class RedrawTest : public XDepthTest {
protected:
    TslWindow* make(int width, int height)
    {
        return tslCreateWindowEx(d, nullptr, tslPos(0, 0), tslSize(width, height), 0, "w", nullptr, 0);
    }
    void map(TslWindow* w)
    {
        tslShowWindow(w, 1);
        xenv_wait_mapped(d, w->xwin);
        xenv_pump(d, 60);
    }
    unsigned long buf(TslWindow* w, int x, int y) { return xenv_pixel(d, w->redrawPixmap, x, y); }
    unsigned long screen(TslWindow* w, int x, int y)
    {
        XSync(d, False);
        return xenv_pixel(d, w->xwin, x, y);
    }
};

}  // namespace

// Tiles start at the window's top-left corner, in the buffer, in a partial
// clear and on the screen; a mask lets a background through.
TEST_P(RedrawTest, WallpaperTilesFromTopLeft)
{
    TslImage* img = make_image(d, 100, 40, false);
    g_tessel.wallImage = img;
    TslWindow* w = make(250, 90);
    ASSERT_NE(w, nullptr);
    // Each tile's first pixel, and its last unless the tile runs past 250 x 90
    // (from x 200 to 299, from y 80 to 119).
    for (int y0 : {0, 40, 80})
        for (int x0 : {0, 100, 200})
            EXPECT_TRUE(buf(w, x0, y0) == red() && (x0 == 200 || y0 == 80 || buf(w, x0 + 99, y0 + 39) == blue()))
                << x0 << "," << y0;
    EXPECT_TRUE(buf(w, 249, 89) == green() && buf(w, 150, 60) == green());
    xenv_fill(d, w->redrawPixmap, g_tessel.backPixel, 0, 0, 250, 90);
    tslClearRectWindow(d, w, tslPos(95, 35), tslSize(10, 10), 1);
    EXPECT_TRUE(buf(w, 100, 40) == red() && buf(w, 99, 39) == blue() && buf(w, 94, 39) == g_tessel.backPixel);
    map(w);
    tslClearWindow(d, w, 0);
    EXPECT_EQ(screen(w, 200, 80), red());

    TslImage* masked = make_image(d, 100, 40, true);
    tslSetBackColor(d, w, g_tessel.colors[5]);
    tslSetWallPaper(d, w, masked);
    tslClearWindow(d, w, 1);
    EXPECT_TRUE(buf(w, 10, 10) == green() && buf(w, 100, 0) == red());
    // The holes show the toolkit's background, which the mask was flattened on.
    EXPECT_TRUE(buf(w, 50, 10) == g_tessel.backPixel && buf(w, 150, 50) == g_tessel.backPixel);
    tslSetWallPaper(d, w, nullptr);
    tslClearWindow(d, w, 1);
    EXPECT_EQ(buf(w, 10, 10), g_tessel.colors[5]);
    tslDestroyWindow(d, w);
    xenv_free_image(d, img);
    xenv_free_image(d, masked);
}

// The buffer grows with the window, keeping what it held, and never shrinks;
// clears stay inside the window, not the larger buffer.
TEST_P(RedrawTest, GrowingBufferAndClampedClears)
{
    TslWindow* w = make(100, 60);
    map(w);
    xenv_fill(d, tslGetDraw(w), blue(), 0, 0, 100, 60);
    XResizeWindow(d, w->xwin, 300, 120);
    xenv_pump(d, 60);
    EXPECT_TRUE(w->bufferRect.width == 300 && w->bufferRect.height == 120 && w->resized == 1);
    EXPECT_TRUE(buf(w, 0, 0) == blue() && buf(w, 99, 59) == blue() && buf(w, 100, 59) == g_tessel.backPixel &&
                buf(w, 150, 100) == g_tessel.backPixel);
    XResizeWindow(d, w->xwin, 250, 90);
    xenv_pump(d, 60);
    EXPECT_TRUE(w->bufferRect.width == 300 && w->rect.width == 250 && buf(w, 10, 10) == blue());
    XMoveWindow(d, w->xwin, 17, 23);
    xenv_pump(d, 60);
    EXPECT_TRUE(w->resized == 0 && w->rect.x == 17 && w->rect.y == 23);

    xenv_fill(d, w->redrawPixmap, red(), 0, 0, 300, 120);
    const struct {
        int x, y, w, h;
        std::vector<std::pair<int, int>> cleared, kept;
    } clears[] = {
        {-10, -5, 30, 20, {{0, 0}, {29, 19}}, {{30, 5}, {5, 20}}},
        {240, 80, 100, 100, {{249, 89}}, {{250, 85}, {245, 90}}},
        {1000, 1000, 10, 10, {}, {{100, 50}}},  // far outside: nothing to clear, nothing breaks
    };
    for (const auto& c : clears) {
        tslClearRectWindow(d, w, tslPos(c.x, c.y), tslSize(c.w, c.h), 1);
        for (auto p : c.cleared)
            EXPECT_EQ(buf(w, p.first, p.second), g_tessel.backPixel) << p.first << "," << p.second;
        for (auto p : c.kept)
            EXPECT_EQ(buf(w, p.first, p.second), red()) << p.first << "," << p.second;
    }
    tslClearWindowRRg(d, w, tslPos(100, 40), tslSize(10, 10), 1);
    EXPECT_TRUE(buf(w, 105, 45) == g_tessel.backPixel && buf(w, 99, 45) == red() && buf(w, 110, 45) == red());

    // Copies inside the buffer; with a clip only the part of the source
    // inside it moves, to the matching place.
    tslCopyWindow(d, w, tslPos(0, 0), tslSize(10, 10), 150, 30, 1);
    EXPECT_TRUE(buf(w, 155, 35) == g_tessel.backPixel && buf(w, 160, 35) == red());
    tslCopyWindowRRg(d, w, tslPos(5, 5), tslSize(190, 50), tslPos(0, 0), tslSize(10, 10), 170, 10, 1);
    EXPECT_TRUE(buf(w, 175, 15) == g_tessel.backPixel && buf(w, 179, 19) == g_tessel.backPixel &&
                buf(w, 172, 12) == red());
    EXPECT_EQ(tslCopyWindow(d, nullptr, 0, 0, 0, 0, 1), 0);
}

// Paints the buffer blue on motion events whose x is not 0.
int painter(Display* d, TslWindow* w, XEvent* ev)
{
    if (ev->type == MotionNotify && ev->xmotion.x)
        xenv_fill(d, tslGetDraw(w), blue(), 0, 0, w->rect.width, w->rect.height);
    return w->status;
}

// The screen shows the buffer when asked, the background after a screen
// clear that leaves the buffer (and the GC) alone, and the buffer again when
// exposed; the hook answers exposure the same way.  Automatic redraw copies
// only when the procedure drew something.
TEST_P(RedrawTest, ScreenFromTheBuffer)
{
    TslWindow* w = make(120, 80);
    map(w);
    xenv_fill(d, w->redrawPixmap, red(), 0, 0, 120, 80);
    tslRedrawWindow(d, w);
    EXPECT_EQ(screen(w, 60, 40), red());
    XSetForeground(d, g_tessel.gc, g_tessel.colors[6]);
    XSetForeground(d, w->gc, g_tessel.colors[7]);
    tslClearWindow(d, w, 0);
    EXPECT_TRUE(screen(w, 60, 40) == g_tessel.backPixel && buf(w, 60, 40) == red());
    XGCValues v;
    XGetGCValues(d, w->gc, GCForeground | GCFunction, &v);
    EXPECT_TRUE(v.foreground == g_tessel.colors[6] && v.function == GXcopy) << "the window GC is the shared one again";
    tslRedrawWindowRRg(d, w, tslPos(10, 10), tslSize(20, 20));
    EXPECT_TRUE(screen(w, 15, 15) == red() && screen(w, 35, 15) == g_tessel.backPixel);

    xenv_fill(d, w->redrawPixmap, blue(), 0, 0, 120, 80);
    XClearArea(d, w->xwin, 0, 0, 0, 0, True);
    xenv_pump(d, 60);
    EXPECT_TRUE(screen(w, 60, 40) == blue() && screen(w, 119, 79) == blue());
    xenv_fill(d, w->redrawPixmap, green(), 0, 0, 120, 80);
    XClearArea(d, w->xwin, 0, 0, 0, 0, True);
    XSync(d, False);
    while (XPending(d))
        tslHookEvent(d, nullptr);
    EXPECT_EQ(screen(w, 60, 40), green());

    // Painted behind the stamp's back: the event draws nothing, no copy.
    tslSetWndProc(w, painter);
    tslSetAutoRedraw(w, 1);
    XEvent ev{};
    ev.type = MotionNotify;
    ev.xany.window = w->xwin;
    tslCallWndProc(d, w, &ev, 1);  // shows what was drawn before
    xenv_fill(d, w->redrawPixmap, red(), 0, 0, 120, 80);
    tslCallWndProc(d, w, &ev, 1);
    EXPECT_EQ(screen(w, 60, 40), green());
    ev.xmotion.x = 1;
    tslSetAutoRedrawArea(w, tslPos(0, 0), tslSize(10, 10));
    tslCallWndProc(d, w, &ev, 1);
    EXPECT_TRUE(screen(w, 5, 5) == blue() && screen(w, 60, 40) == green());
    tslSetAutoRedrawArea(w, 0, 0);
    tslCallWndProc(d, w, &ev, 1);
    EXPECT_TRUE(screen(w, 60, 40) == blue() && AutoRedraw(d, nullptr) == 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, RedrawTest, TSL_ALL_DEPTHS);
