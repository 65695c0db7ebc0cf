// Drawing loaded images into drawables: whole or in part, through the image's
// transparency mask or a clip, and flattening a masked image onto the background.
#include "tessel.h"
#include "core/xerror.h"

// Prepares the image's own GC for a copy whose source (srcX, srcY) lands at (x, y).
static void setup_image_gc(Display* display, TslImage* img, int x, int y, int srcX, int srcY)
{
    XSetClipOrigin(display, img->gc, x - srcX, y - srcY);
    XSetClipMask(display, img->gc, img->mask ? img->mask : None);
    XSetFunction(display, img->gc, GXcopy);
    XSetForeground(display, img->gc, g_tessel.backPixel);
    XSetBackground(display, img->gc, g_tessel.backPixel);
}

static bool drawable_image(const TslImage* img)
{
    return img && img->pixmap && img->gc;
}

static void copy_part(Display* display, Drawable d, GC gc, TslImage* img, int x, int y, int srcX,
                      int srcY, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    XCopyArea(display, img->pixmap, d, gc, srcX, srcY, (unsigned)w, (unsigned)h, x, y);
}

Pixmap tslCreateMaskImage(Display* display, TslImage* img)
{
    if (!drawable_image(img) || !img->mask || img->width <= 0 || img->height <= 0)
        return 0;
    // A second full-size copy of a large image may not fit in the server.
    xerr_trap_begin(display);
    Pixmap flat = XCreatePixmap(display, RootWindow(display, 0), (unsigned)img->width,
                                (unsigned)img->height, (unsigned)DefaultDepth(display, 0));
    if (xerr_trap_end(display) != 0)
        return 0;
    XSetClipMask(display, img->gc, None);
    XSetFunction(display, img->gc, GXcopy);
    XSetForeground(display, img->gc, g_tessel.backPixel);
    XFillRectangle(display, flat, img->gc, 0, 0, (unsigned)img->width, (unsigned)img->height);
    tslDrawImage(display, flat, 0, 0, img, 0, 0, img->width, img->height);
    return flat;
}

void tslDrawImage(Display* display, Drawable d, int x, int y, TslImage* img, int srcX, int srcY,
                  int w, int h)
{
    if (!drawable_image(img))
        return;
    setup_image_gc(display, img, x, y, srcX, srcY);
    copy_part(display, d, img->gc, img, x, y, srcX, srcY, w, h);
}

void tslDrawIcon(Display* display, Drawable d, int x, int y, TslImage* img)
{
    if (!img)
        return;
    tslDrawImage(display, d, x, y, img, 0, 0, img->width, img->height);
}

void tslDrawImageRg(Display* display, Drawable d, Region rg, int x, int y, TslImage* img, int srcX,
                    int srcY, int w, int h)
{
    if (!drawable_image(img))
        return;
    XSetFunction(display, img->gc, GXcopy);
    XSetForeground(display, img->gc, g_tessel.backPixel);
    XSetBackground(display, img->gc, g_tessel.backPixel);
    if (rg) {
        // The region is in the destination's coordinates.
        XSetClipOrigin(display, img->gc, 0, 0);
        XSetRegion(display, img->gc, rg);
    } else {
        XSetClipOrigin(display, img->gc, x - srcX, y - srcY);
    }
    copy_part(display, d, img->gc, img, x, y, srcX, srcY, w, h);
}

void tslDrawImageRRg(Display* display, Drawable d, TslRect clip, short x, short y, TslImage* img,
                     int srcX, int srcY, unsigned short w, unsigned short h)
{
    if (!drawable_image(img))
        return;
    TslRect dest{x, y, w, h};
    TslRect part = tslGetInRect(dest, clip);
    if (tslIsEmptyRect(part))
        return;
    setup_image_gc(display, img, x, y, srcX, srcY);
    copy_part(display, d, img->gc, img, part.x, part.y, srcX + (part.x - x), srcY + (part.y - y),
              part.width, part.height);
}

void tslDrawImageEx(Display* display, Drawable d, GC gc, int x, int y, TslImage* img, int srcX,
                    int srcY, int w, int h)
{
    if (!drawable_image(img))
        return;
    if (!gc) {
        setup_image_gc(display, img, x, y, srcX, srcY);
        gc = img->gc;
    }
    copy_part(display, d, gc, img, x, y, srcX, srcY, w, h);
}
