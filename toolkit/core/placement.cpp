// Window placement: fixing a window's size for the window manager, centring
// a window over another, and turning window positions into screen positions.
#include <X11/Xutil.h>

#include "core/xerror.h"
#include "tessel.h"

// Leftmost and topmost position a centred window may take, so that its
// title bar stays reachable.
static const int kMinLeft = 4;
static const int kMinTop = 16;

int tslFixWindow(Display* display, TslWindow* window, int fix)
{
    if (!window)
        return 0;
    XSizeHints* hints = XAllocSizeHints();
    if (!hints)
        return 1;
    // Only the limits change: a place or size the user gave stays marked.
    long supplied = 0;
    if (!XGetWMNormalHints(display, window->xwin, hints, &supplied))
        hints->flags = 0;
    hints->flags = (hints->flags & (USPosition | USSize | PPosition | PSize)) | PMinSize | PMaxSize;
    if (fix) {
        hints->min_width = hints->max_width = window->rect.width;
        hints->min_height = hints->max_height = window->rect.height;
    } else {
        hints->min_width = window->minMaxSize[0];
        hints->min_height = window->minMaxSize[1];
        hints->max_width = window->minMaxSize[2];
        hints->max_height = window->minMaxSize[3];
    }
    XSetWMNormalHints(display, window->xwin, hints);
    XFree(hints);
    return 1;
}

// Screen origin of an X window; 0,0 when it cannot be asked (gone already).
static void screen_origin(Display* display, Window xwin, int* x, int* y)
{
    *x = 0;
    *y = 0;
    Window root = RootWindow(display, 0);
    if (xwin == root)
        return;
    Window child;
    xerr_trap_begin(display);
    int ok = XTranslateCoordinates(display, xwin, root, 0, 0, x, y, &child);
    if (xerr_trap_end(display) || !ok) {
        *x = 0;
        *y = 0;
    }
}

int tslCenteringWnd(Display* display, TslWindow* reference, TslWindow* window)
{
    if (!window)
        return 0;
    Window root = RootWindow(display, 0);
    Window refWin = reference ? reference->xwin : root;
    int originX = 0;
    int originY = 0;
    screen_origin(display, refWin, &originX, &originY);

    Window geomRoot;
    int gx;
    int gy;
    unsigned int refWidth = 0;
    unsigned int refHeight = 0;
    unsigned int border;
    unsigned int depth;
    xerr_trap_begin(display);
    Status ok = XGetGeometry(display, refWin, &geomRoot, &gx, &gy, &refWidth, &refHeight, &border, &depth);
    if (xerr_trap_end(display) || !ok) {
        // The reference is gone: centre on the screen instead.
        originX = 0;
        originY = 0;
        refWidth = (unsigned int)g_tessel.screenWidth;
        refHeight = (unsigned int)g_tessel.screenHeight;
    }
    int x = originX + (int)(refWidth / 2) - window->rect.width / 2;
    int y = originY + (int)(refHeight / 2) - window->rect.height / 2;
    if (x < kMinLeft)
        x = kMinLeft;
    if (y < kMinTop)
        y = kMinTop;
    window->rect.x = (short)x;
    window->rect.y = (short)y;
    XRaiseWindow(display, window->xwin);
    XMoveWindow(display, window->xwin, window->rect.x, window->rect.y);
    return 1;
}

TslRect tslGetScreenCoordinate(TslWindow* window, TslRect rect)
{
    Display* display = g_tessel.display;
    if (!window || !display || window->xparent == RootWindow(display, 0))
        return rect;
    int originX = 0;
    int originY = 0;
    screen_origin(display, window->xparent, &originX, &originY);
    rect.x = (short)(window->rect.x + originX);
    rect.y = (short)(window->rect.y + originY);
    return rect;
}
