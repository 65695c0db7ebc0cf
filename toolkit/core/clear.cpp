// Painting a window's background into its redraw buffer (with the wallpaper
// tiled from the window's top-left corner) or clearing it on the screen.
#include "core/window_private.h"
#include "support/xhelpers.h"

// Tiles the wallpaper over r in target; tiles are anchored at (0, 0) so that
// any cleared area lines up with the rest of the window.
static void tile_wallpaper(Display* display, TslWindow* w, Drawable target, GC working, Region rg,
                           TslRect r)
{
    TslImage* img = w->wallPaper;
    if (!img || img->width <= 0 || img->height <= 0 || !img->gc)
        return;
    GC igc = img->gc;
    XCopyGC(display, working, XHELP_GC_ALL_BUT_ARC_MODE, igc);
    XSetClipMask(display, igc, None);
    long right = (long)r.x + r.width;
    long bottom = (long)r.y + r.height;
    // Tiles left of or above r cannot meet it; start at the first that can.
    long firstX = r.x > 0 ? (long)r.x / img->width * img->width : 0;
    long firstY = r.y > 0 ? (long)r.y / img->height * img->height : 0;
    for (long y0 = firstY; y0 < bottom; y0 += img->height) {
        for (long x0 = firstX; x0 < right; x0 += img->width) {
            TslRect tile = tslSetRect((int)x0, (int)y0, img->width, img->height);
            TslRect in = tslGetInRect(tile, r);
            if (tslIsEmptyRect(in))
                continue;
            if (rg) {
                // The region is in window coordinates, so it keeps origin 0.
                XSetClipOrigin(display, igc, 0, 0);
                XSetRegion(display, igc, rg);
            } else {
                XSetClipOrigin(display, igc, (int)x0, (int)y0);
            }
            int sx = in.x - (int)x0;
            int sy = in.y - (int)y0;
            if (w->wallPaperMask)
                XCopyArea(display, w->wallPaperMask, target, igc, sx, sy, in.width, in.height, in.x,
                          in.y);
            else
                tslDrawImageEx(display, target, igc, in.x, in.y, img, sx, sy, in.width, in.height);
        }
    }
    XSetClipMask(display, igc, None);
}

int tslClearWindowEx(Display* display, TslWindow* w, GC gc, Region region, unsigned int position,
                     unsigned int size, int toBuffer)
{
    if (!w)
        return 0;
    TslRect in = tslUnpackRect(position, size);
    int x = in.x < 0 ? 0 : in.x;
    int y = in.y < 0 ? 0 : in.y;
    int width = in.width;
    int height = in.height;
    if (x + width > w->rect.width)
        width = w->rect.width - x;
    if (y + height > w->rect.height)
        height = w->rect.height - y;
    if (width < 0)
        width = 0;
    if (height < 0)
        height = 0;
    TslRect r = tslSetRect(x, y, width, height);

    bool ownGC = !gc || gc == w->gc;
    if (!gc) {
        redraw_reset_gc(display, w);
        gc = w->gc;
    }
    if (region)
        XSetRegion(display, gc, region);
    if (toBuffer) {
        Pixmap buffer = tslGetDraw(w);
        if (!tslIsEmptyRect(r)) {
            XFillRectangle(display, buffer, gc, r.x, r.y, r.width, r.height);
            tile_wallpaper(display, w, buffer, gc, region, r);
        }
    } else if (!tslIsEmptyRect(r)) {
        XClearArea(display, w->xwin, r.x, r.y, r.width, r.height, False);
    }
    if (region)
        XSetClipMask(display, gc, None);
    if (ownGC)
        tslResetGC(gc);
    return 1;
}

static int clear_with_window_gc(Display* display, TslWindow* w, Region region, TslRect r,
                                int toBuffer)
{
    tslResetGC(w->gc);
    redraw_reset_gc(display, w);
    return tslClearWindowEx(display, w, w->gc, region, tslRectPos(r), tslRectSize(r), toBuffer);
}

static TslRect whole(const TslWindow* w)
{
    return TslRect{0, 0, w->rect.width, w->rect.height};
}

int tslClearWindow(Display* display, TslWindow* w, int toBuffer)
{
    return w ? clear_with_window_gc(display, w, nullptr, whole(w), toBuffer) : 0;
}

int tslClearWindowRg(Display* display, TslWindow* w, Region region, int toBuffer)
{
    return w ? clear_with_window_gc(display, w, region, whole(w), toBuffer) : 0;
}

int tslClearWindowRRg(Display* display, TslWindow* w, unsigned int clipPosition, unsigned int clipSize,
                      int toBuffer)
{
    if (!w)
        return 0;
    TslRect clip = tslUnpackRect(clipPosition, clipSize);
    Region rg = xhelp_rect_region(clip);
    clear_with_window_gc(display, w, rg, tslGetInRect(whole(w), clip), toBuffer);
    if (rg)
        XDestroyRegion(rg);
    return 1;
}

int tslClearRectWindow(Display* display, TslWindow* w, unsigned int position, unsigned int size,
                       int toBuffer)
{
    return w ? clear_with_window_gc(display, w, nullptr, tslUnpackRect(position, size), toBuffer) : 0;
}

int tslClearRectWindowRg(Display* display, TslWindow* w, Region region, unsigned int position,
                         unsigned int size, int toBuffer)
{
    return w ? clear_with_window_gc(display, w, region, tslUnpackRect(position, size), toBuffer) : 0;
}

int tslClearRectWindowRRg(Display* display, TslWindow* w, unsigned int clipPosition,
                          unsigned int clipSize, unsigned int position, unsigned int size,
                          int toBuffer)
{
    if (!w)
        return 0;
    TslRect clip = tslUnpackRect(clipPosition, clipSize);
    Region rg = xhelp_rect_region(clip);
    clear_with_window_gc(display, w, rg, tslGetInRect(tslUnpackRect(position, size), clip),
                         toBuffer);
    if (rg)
        XDestroyRegion(rg);
    return 1;
}

int ClearWindowForDWndProc(Display* display, TslWindow* w, Pixmap pixmap, unsigned int position,
                           unsigned int size)
{
    if (!w)
        return 0;
    TslRect r = tslUnpackRect(position, size);
    redraw_reset_gc(display, w);
    if (!tslIsEmptyRect(r)) {
        XFillRectangle(display, pixmap, w->gc, r.x, r.y, r.width, r.height);
        tile_wallpaper(display, w, pixmap, w->gc, nullptr, r);
    }
    tslResetGC(w->gc);
    return 1;
}
