// Showing the redraw buffer: copies from the buffer to the screen, copies
// inside one drawable, the draw stamp and the automatic redraw it drives.
#include "core/window_private.h"
#include "support/xhelpers.h"

// Shared by every window; wraps before it can overflow.
static unsigned int g_drawStamp;
static const unsigned int kStampLimit = 9999999;

void redraw_reset_gc(Display* display, TslWindow* w)
{
    XSetClipMask(display, w->gc, None);
    XSetFunction(display, w->gc, GXcopy);
    XSetForeground(display, w->gc, w->backPixel);
    XSetBackground(display, w->gc, w->backPixel);
}

static TslRect whole(const TslWindow* w)
{
    return TslRect{0, 0, w->rect.width, w->rect.height};
}

static void copy_to_screen(Display* display, TslWindow* w, GC gc, TslRect r)
{
    if (tslIsEmptyRect(r))
        return;
    XCopyArea(display, w->redrawPixmap, w->xwin, gc, r.x, r.y, r.width, r.height, r.x, r.y);
}

// Copies r from the buffer with the window GC, clipped by rg when given.
static int redraw_clipped(Display* display, TslWindow* w, Region rg, TslRect r)
{
    if (!w)
        return 0;
    redraw_reset_gc(display, w);
    if (rg)
        XSetRegion(display, w->gc, rg);
    copy_to_screen(display, w, w->gc, r);
    if (rg)
        XSetClipMask(display, w->gc, None);
    return 1;
}

int tslRedrawWindowEx(Display* display, TslWindow* w, GC gc, unsigned int position, unsigned int size)
{
    if (!w)
        return 0;
    if (!gc) {
        redraw_reset_gc(display, w);
        gc = w->gc;
    }
    copy_to_screen(display, w, gc, tslUnpackRect(position, size));
    return 1;
}

int tslRedrawWindow(Display* display, TslWindow* w)
{
    return w ? redraw_clipped(display, w, nullptr, whole(w)) : 0;
}

int tslRedrawWindowRg(Display* display, TslWindow* w, Region region)
{
    return w ? redraw_clipped(display, w, region, whole(w)) : 0;
}

int tslRedrawWindowRRg(Display* display, TslWindow* w, unsigned int clipPosition, unsigned int clipSize)
{
    if (!w)
        return 0;
    TslRect clip = tslUnpackRect(clipPosition, clipSize);
    Region rg = xhelp_rect_region(clip);
    redraw_clipped(display, w, rg, tslGetInRect(whole(w), clip));
    if (rg)
        XDestroyRegion(rg);
    return 1;
}

int tslRedrawRectWindow(Display* display, TslWindow* w, unsigned int position, unsigned int size)
{
    return w ? redraw_clipped(display, w, nullptr, tslUnpackRect(position, size)) : 0;
}

int tslRedrawRectWindowRg(Display* display, TslWindow* w, Region region, unsigned int position,
                          unsigned int size)
{
    return w ? redraw_clipped(display, w, region, tslUnpackRect(position, size)) : 0;
}

int tslRedrawRectWindowRRg(Display* display, TslWindow* w, unsigned int clipPosition,
                           unsigned int clipSize, unsigned int position, unsigned int size)
{
    if (!w)
        return 0;
    TslRect clip = tslUnpackRect(clipPosition, clipSize);
    Region rg = xhelp_rect_region(clip);
    redraw_clipped(display, w, rg, tslGetInRect(tslUnpackRect(position, size), clip));
    if (rg)
        XDestroyRegion(rg);
    return 1;
}

int tslCopyWindowEx(Display* display, TslWindow* w, GC gc, unsigned int sourcePosition,
                    unsigned int size, int destX, int destY, int inBuffer)
{
    if (!w)
        return 0;
    if (!gc) {
        redraw_reset_gc(display, w);
        gc = w->gc;
    }
    TslRect src = tslUnpackRect(sourcePosition, size);
    if (tslIsEmptyRect(src))
        return 1;
    Drawable d = inBuffer == 1 ? (Drawable)w->redrawPixmap : (Drawable)w->xwin;
    XCopyArea(display, d, d, gc, src.x, src.y, src.width, src.height, destX, destY);
    return 1;
}

static int copy_clipped(Display* display, TslWindow* w, Region rg, TslRect src, int destX,
                        int destY, int inBuffer)
{
    redraw_reset_gc(display, w);
    if (rg)
        XSetRegion(display, w->gc, rg);
    tslCopyWindowEx(display, w, w->gc, tslRectPos(src), tslRectSize(src), destX, destY, inBuffer);
    if (rg)
        XSetClipMask(display, w->gc, None);
    return 1;
}

int tslCopyWindow(Display* display, TslWindow* w, unsigned int sourcePosition, unsigned int size,
                  int destX, int destY, int inBuffer)
{
    if (!w)
        return 0;
    return copy_clipped(display, w, nullptr, tslUnpackRect(sourcePosition, size), destX, destY,
                        inBuffer);
}

int tslCopyWindowRg(Display* display, TslWindow* w, Region region, unsigned int sourcePosition,
                    unsigned int size, int destX, int destY, int inBuffer)
{
    if (!w)
        return 0;
    return copy_clipped(display, w, region, tslUnpackRect(sourcePosition, size), destX, destY,
                        inBuffer);
}

int tslCopyWindowRRg(Display* display, TslWindow* w, unsigned int clipPosition, unsigned int clipSize,
                     unsigned int sourcePosition, unsigned int size, int destX, int destY,
                     int inBuffer)
{
    if (!w)
        return 0;
    TslRect clip = tslUnpackRect(clipPosition, clipSize);
    TslRect src = tslUnpackRect(sourcePosition, size);
    TslRect part = tslGetInRect(src, clip);
    // The destination moves with the source's top-left corner.
    int dx = destX + (part.x - src.x);
    int dy = destY + (part.y - src.y);
    Region rg = xhelp_rect_region(clip);
    copy_clipped(display, w, rg, part, dx, dy, inBuffer);
    if (rg)
        XDestroyRegion(rg);
    return 1;
}

Pixmap tslGetDraw(TslWindow* w)
{
    if (!w)
        return 0;
    g_drawStamp++;
    w->drawStamp = g_drawStamp;
    if (g_drawStamp > kStampLimit)
        g_drawStamp = 1;
    return w->redrawPixmap;
}

int tslSetAutoRedraw(TslWindow* w, int on)
{
    if (!w)
        return 0;
    w->autoRedraw = on ? 1 : 0;
    if (on)
        w->redrawBuffer = 1;
    return 1;
}

int tslSetAutoRedrawArea(TslWindow* w, unsigned int position, unsigned int size)
{
    if (!w)
        return 0;
    w->autoRedrawArea = tslUnpackRect(position, size);
    return 1;
}

int AutoRedraw(Display* display, TslWindow* w)
{
    if (!w || !w->autoRedraw)
        return 0;
    if (w->drawStampShown == w->drawStamp)
        return 1;
    const TslRect& a = w->autoRedrawArea;
    if (tslIsEmptyRect(a))
        tslRedrawWindow(display, w);
    else
        tslRedrawRectWindow(display, w, tslRectPos(a), tslRectSize(a));
    w->drawStampShown = w->drawStamp;
    return 1;
}
