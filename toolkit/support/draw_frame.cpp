// Drawing primitives built from lines: 3D rectangles, frames, clipped lines
// and push-button faces.  All paint with the shared backGC and leave it reset.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tessel.h"
#include "support/xhelpers.h"

// A raised rectangle shows its light edges top and left; the shadow edges
// are drawn last so they own the two corners they share with the light ones.
int tslDraw3DRectangle(Display* display, Drawable d, TslRect r, int mode)
{
    GC gc = g_tessel.backGC;
    unsigned long topLeft = g_tessel.backLightPixel;
    unsigned long bottomRight = g_tessel.backShadowPixel;
    if (mode != 1) {
        topLeft = g_tessel.backShadowPixel;
        bottomRight = g_tessel.backLightPixel;
    }
    int x0 = r.x, y0 = r.y;
    int x1 = x0 + r.width, y1 = y0 + r.height;
    tslResetGC(gc);
    XSetForeground(display, gc, topLeft);
    XDrawLine(display, d, gc, x0, y0, x1, y0);
    XDrawLine(display, d, gc, x0, y0, x0, y1);
    XSetForeground(display, gc, bottomRight);
    XDrawLine(display, d, gc, x0, y1, x1, y1);
    XDrawLine(display, d, gc, x1, y0, x1, y1);
    tslResetGC(gc);
    return 1;
}

int tslDrawFrame(Display* display, Drawable d, TslRect r, int style)
{
    switch (style) {
    case 1:
        tslResetGC(g_tessel.backGC);
        XSetForeground(display, g_tessel.backGC, g_tessel.borderPixel);
        XDrawRectangle(display, d, g_tessel.backGC, r.x, r.y, r.width, r.height);
        tslResetGC(g_tessel.backGC);
        break;
    case 2:
        tslDraw3DRectangle(display, d, r, 1);
        break;
    case 3:
        tslDraw3DRectangle(display, d, r, 0);
        break;
    default:
        break;
    }
    return 1;
}

int tslDrawLineEx(Display* display, Drawable d, GC gc, TslRect line)
{
    int ownGC = 0;
    if (!gc) {
        gc = g_tessel.backGC;
        XSetForeground(display, gc, g_tessel.borderPixel);
        XSetLineAttributes(display, gc, 1, LineSolid, CapButt, JoinMiter);
    }
    if (gc == g_tessel.backGC)
        ownGC = 1;
    XDrawLine(display, d, gc, line.x, line.y, line.x + line.width, line.y + line.height);
    if (ownGC)
        tslResetGC(g_tessel.backGC);
    return 1;
}

int tslDrawLine(Display* display, Drawable d, unsigned long pixel, TslRect line)
{
    tslResetGC(g_tessel.backGC);
    XSetForeground(display, g_tessel.backGC, pixel);
    return tslDrawLineEx(display, d, g_tessel.backGC, line);
}

int tslDrawLineRg(Display* display, Drawable d, Region rg, unsigned long pixel, TslRect line)
{
    tslResetGC(g_tessel.backGC);
    if (rg)
        XSetRegion(display, g_tessel.backGC, rg);
    XSetForeground(display, g_tessel.backGC, pixel);
    return tslDrawLineEx(display, d, g_tessel.backGC, line);
}

int tslDrawLineRRg(Display* display, Drawable d, TslRect clip, unsigned long pixel, TslRect line)
{
    line = tslGetInRect(line, clip);
    tslResetGC(g_tessel.backGC);
    Region rg = xhelp_rect_region(clip);
    if (rg)
        XSetRegion(display, g_tessel.backGC, rg);
    XSetForeground(display, g_tessel.backGC, pixel);
    int result = tslDrawLineEx(display, d, g_tessel.backGC, line);
    if (rg)
        XDestroyRegion(rg);
    return result;
}

static void fill_face(Display* display, Drawable d, TslRect r)
{
    XSetForeground(display, g_tessel.backGC, g_tessel.backNearPixel);
    XFillRectangle(display, d, g_tessel.backGC, r.x, r.y, r.width, r.height);
    tslResetGC(g_tessel.backGC);
}

// Icon and caption are centred together as one block; a press (1) shifts the
// block one pixel right and down over a filled face.
int tslDrawButton(Display* display, Drawable d, TslRect r, const char* caption, TslImage* icon,
                  int pressed)
{
    tslResetGC(g_tessel.backGC);
    int tw = caption ? tslTextWidth(caption) : 0;
    int th = tslGetCharHeight(NULL);
    int contentWidth = tw;
    int captionOffset = 0;
    if (icon) {
        contentWidth = tw > 0 ? icon->width + 3 + tw : icon->width;
        captionOffset = tw > 0 ? icon->width + 3 : icon->width;
    }
    int p = pressed == 1 ? 1 : 0;
    if (pressed == 1)
        fill_face(display, d, r);
    int left = r.x + p + ((int)r.width - contentWidth) / 2;
    int top = r.y + p;
    if (icon)
        tslDrawImage(display, d, left, top + ((int)r.height - icon->height) / 2, icon, 0, 0,
                     icon->width, icon->height);
    if (caption && caption[0])
        tslDrawText(display, d, NULL, NULL, g_tessel.fontPixel, ~0UL, left + captionOffset,
                    top + ((int)r.height - th) / 2, caption);
    tslDraw3DRectangle(display, d, r, pressed ? 0 : 1);
    return 1;
}

int tslDrawIconButton(Display* display, Drawable d, TslRect r, TslImage* icon, int pressed)
{
    tslResetGC(g_tessel.backGC);
    int p = pressed == 1 ? 1 : 0;
    if (pressed == 1)
        fill_face(display, d, r);
    if (icon)
        tslDrawImage(display, d, r.x + p, r.y + p, icon, 0, 0, icon->width, icon->height);
    tslDraw3DRectangle(display, d, r, pressed ? 0 : 1);
    return 1;
}
