// The image pane of the viewer: paints the current picture into its redraw
// buffer, centred or from the scroll offsets, at its own size or scaled,
// and lets automatic redraw show it; a picture still loading may be shown
// from its top-left meanwhile.
#include "view.h"

#include <stdlib.h>

#include "zoom_geom.h"

static TslImage* g_img = NULL;
static int g_nHPos = 0;
static int g_nVPos = 0;
// A picture still loading, shown instead of g_img while it is set.
static TslImage* g_preview = NULL;
// The size g_img is shown at; 0 for its own.
static int g_nZoomW = 0;
static int g_nZoomH = 0;

TslWindow* CreateWindow_View(Display* display, TslWindow* parent, unsigned int position,
                             unsigned int size, const char* name)
{
    TslWindow* pane = tslCreateWindow(display, parent, position, size, 1, name, WndProc_View);
    if (!pane)
        return NULL;
    tslSetRedrawBuffer(pane, 1);
    tslSetAutoRedraw(pane, 1);
    return pane;
}

// What the buffer holds of a scaled picture: a scroll step then moves it
// and scales only the strips that come in.
struct Painted {
    const TslImage* img;
    int zoomW, zoomH, paneW, paneH, srcX, srcY;
};
static Painted g_painted = {NULL, 0, 0, 0, 0, 0, 0};

// Moves what the buffer holds of the picture by a scroll step and draws
// the strips that come in; false when it holds another view of it, or the
// same (a repaint asked for paints afresh).  A picture with a mask is not
// moved, as its background would move with it.
static bool scroll_painted(Display* display, TslWindow* pane, TslImage* img, int destX, int destY,
                           int srcX, int srcY)
{
    Painted was = g_painted;
    g_painted = Painted{img, g_nZoomW, g_nZoomH, pane->rect.width, pane->rect.height, srcX, srcY};
    int w = pane->rect.width - destX, h = pane->rect.height - destY;
    w = w < g_nZoomW ? w : g_nZoomW;
    h = h < g_nZoomH ? h : g_nZoomH;
    int dx = srcX - was.srcX, dy = srcY - was.srcY;
    bool same = was.img == img && was.zoomW == g_nZoomW && was.zoomH == g_nZoomH &&
                was.paneW == pane->rect.width && was.paneH == pane->rect.height;
    if (!same || img->mask || (!dx && !dy) || abs(dx) >= w || abs(dy) >= h)
        return false;
    Pixmap buffer = tslGetDraw(pane);
    tslResetGC(pane->gc);
    XCopyArea(display, buffer, buffer, pane->gc, destX + (dx > 0 ? dx : 0),
              destY + (dy > 0 ? dy : 0), (unsigned)(w - abs(dx)), (unsigned)(h - abs(dy)),
              destX + (dx < 0 ? -dx : 0), destY + (dy < 0 ? -dy : 0));
    if (dy)
        tslDrawImageScaled(display, buffer, destX, dy > 0 ? destY + h - dy : destY, img, g_nZoomW,
                           g_nZoomH, srcX, dy > 0 ? srcY + h - dy : srcY, w, abs(dy));
    if (dx)
        tslDrawImageScaled(display, buffer, dx > 0 ? destX + w - dx : destX, destY, img, g_nZoomW,
                           g_nZoomH, dx > 0 ? srcX + w - dx : srcX, srcY, abs(dx), h);
    return true;
}

// Whether the picture is shown at another size than its own.
static bool zoomed(const TslImage* img)
{
    return img == g_img && g_nZoomW > 0 && g_nZoomH > 0 &&
           (g_nZoomW != img->width || g_nZoomH != img->height);
}

int Draw_View(Display* display, TslWindow* pane)
{
    if (!pane)
        return 0;
    TslImage* img = g_preview ? g_preview : g_img;
    bool scaled = img && zoomed(img);
    int width = scaled ? g_nZoomW : img ? img->width : 0;
    int height = scaled ? g_nZoomH : img ? img->height : 0;
    int destX, srcX, destY, srcY;
    zoom_place(pane->rect.width, width, g_preview ? 0 : g_nHPos, &destX, &srcX);
    zoom_place(pane->rect.height, height, g_preview ? 0 : g_nVPos, &destY, &srcY);
    if (!scaled)
        g_painted.img = NULL;
    else if (scroll_painted(display, pane, img, destX, destY, srcX, srcY))
        return 1;
    tslClearWindow(display, pane, 1);
    if (scaled)
        tslDrawImageScaled(display, tslGetDraw(pane), destX, destY, img, width, height, srcX, srcY,
                           pane->rect.width - destX, pane->rect.height - destY);
    else if (img)
        tslDrawImage(display, tslGetDraw(pane), destX, destY, img, srcX, srcY, img->width,
                     img->height);
    return 1;
}

int WndProc_View(Display* display, TslWindow* pane, XEvent* event)
{
    int status = pane->status;
    if (event->type < 4 || event->type > TSLM_DESTROY)
        return status;
    switch (event->type) {
    case MapNotify:
        if (event->xmap.window == pane->xwin)
            Draw_View(display, pane);
        break;
    case ConfigureNotify:
        if (event->xconfigure.window == pane->xwin)
            Draw_View(display, pane);
        break;
    case TSLM_PAINT:
        Draw_View(display, pane);
        break;
    default:
        break;
    }
    return status;
}

static void repaint(TslWindow* pane)
{
    if (pane)
        tslSendEvent(pane, TSLM_PAINT);
}

int SetImage_View(TslWindow* pane, TslImage* image)
{
    if (image == g_img)
        return 1;
    g_img = image;
    repaint(pane);
    return 1;
}

int Preview_View(TslWindow* pane, TslImage* partial)
{
    if (partial == g_preview)
        return 1;
    g_preview = partial;
    if (partial)
        repaint(pane);
    return 1;
}

// Both offsets follow one rule: negative is refused, unchanged sends no repaint.
static int set_offset(TslWindow* pane, int* field, int offset)
{
    if (offset < 0)
        return 0;
    if (offset == *field)
        return 1;
    *field = offset;
    repaint(pane);
    return 1;
}

int SetHPos_View(TslWindow* pane, int offset)
{
    return set_offset(pane, &g_nHPos, offset);
}

int SetVPos_View(TslWindow* pane, int offset)
{
    return set_offset(pane, &g_nVPos, offset);
}

int GetHPos_View(void)
{
    return g_nHPos;
}

int GetVPos_View(void)
{
    return g_nVPos;
}

int SetZoom_View(TslWindow* pane, int width, int height)
{
    if (width == g_nZoomW && height == g_nZoomH)
        return 1;
    g_nZoomW = width;
    g_nZoomH = height;
    repaint(pane);
    return 1;
}
