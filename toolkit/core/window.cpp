// Creation and destruction of toolkit windows: the X window, its redraw
// buffer and GC, and the record's place in the window lists.
#include <X11/Xatom.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/window_private.h"
#include "core/wm_manners.h"
#include "core/xerror.h"

static const char* kNoRecord = "Error: Can't allocate memory.\n";
static const char* kNoPixmap = "Error: Can't create pixmap (unknown error).\n";

static void fill_creation_values(TslWindow* w, TslRect r)
{
    w->rect = r;
    w->bufferRect = r;
    w->autoRedrawArea = TslRect{0, 0, 0, 0};
    w->borderPixel = g_tessel.borderPixel;
    w->backPixel = g_tessel.backPixel;
    w->foreFontPixel = g_tessel.fontPixel;
    w->backFontPixel = g_tessel.fontContrastPixel;
    w->wallPaper = nullptr;
    w->wallPaperMask = 0;
    w->kind = TSLK_WINDOW;
    w->status = TSLR_OK;
    w->defaultWndProcEvent = 1;
}

TslWindow* tslCreateWindowEx(Display* display, TslWindow* parent, unsigned int position,
                             unsigned int size, int borderWidth, const char* caption,
                             TslWndProc wndProc, int map)
{
    if (!display)
        return nullptr;
    TslWindow* w = (TslWindow*)calloc(1, sizeof(TslWindow));
    if (!w) {
        fputs(kNoRecord, stderr);
        return nullptr;
    }
    TslRect r = tslUnpackRect(position, size);
    Window root = RootWindow(display, 0);
    w->xparent = parent ? parent->xwin : root;
    w->parent = parent;
    if (borderWidth < 0)
        borderWidth = 0;

    // A size the server refuses (zero, or a buffer larger than its memory)
    // fails here as a null window instead of ending the program.
    xerr_trap_begin(display);
    w->xwin = XCreateSimpleWindow(display, w->xparent, r.x, r.y, r.width, r.height,
                                  (unsigned)borderWidth, g_tessel.borderPixel, g_tessel.backPixel);
    XSelectInput(display, w->xwin, TSL_EVENT_MASK);
    w->redrawPixmap = XCreatePixmap(display, w->xwin, r.width, r.height, (unsigned)g_tessel.depth);
    if (xerr_trap_end(display) != 0) {
        fputs(kNoPixmap, stderr);
        xerr_trap_begin(display);
        XFreePixmap(display, w->redrawPixmap);
        XDestroyWindow(display, w->xwin);
        xerr_trap_end(display);
        free(w);
        return nullptr;
    }

    w->gc = XCreateGC(display, w->xwin, 0, nullptr);
    XSetForeground(display, w->gc, g_tessel.backPixel);
    fill_creation_values(w, r);

    w->wmDeleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, w->xwin, &w->wmDeleteAtom, 1);
    tslSetMinMaxSize(w, 0, 0, 2 * g_tessel.screenWidth, 2 * g_tessel.screenHeight);
    // The procedure is stored only once the record is complete, so the repaint
    // the wallpaper setter sends cannot reach a control that is half built.
    tslSetWallPaper(display, w, g_tessel.wallImage);

    if (caption) {
        wm_store_name(display, w, caption);
        w->caption = strdup(caption);
        if (!w->caption)
            fputs(kNoRecord, stderr);
    }
    w->wndProc = wndProc ? wndProc : tslWndProc_Default;

    AddTesselManager(w);
    if (parent)
        AddChildWindow(parent, w);

    tslClearWindow(display, w, 1);
    if (map == 1)
        XMapWindow(display, w->xwin);
    XSetWindowColormap(display, w->xwin, g_tessel.colormap);
    if (!wndProc)
        w->redrawBuffer = 1;

    XSetWindowAttributes attrs;
    attrs.backing_store = Always;
    XChangeWindowAttributes(display, w->xwin, CWBackingStore, &attrs);
    return w;
}

TslWindow* tslCreateWindow(Display* display, TslWindow* parent, unsigned int position,
                           unsigned int size, int borderWidth, const char* caption,
                           TslWndProc wndProc)
{
    return tslCreateWindowEx(display, parent, position, size, borderWidth, caption, wndProc, 1);
}

static void destroy_children(Display* display, TslWindow* w)
{
    int n = tslGetTotalChildWindows(w);
    if (n > 0) {
        // Work on a copy: a child's destroy handler may take siblings with it.
        TslWindow** kids = (TslWindow**)malloc((size_t)n * sizeof(TslWindow*));
        if (kids) {
            memcpy(kids, w->children, (size_t)n * sizeof(TslWindow*));
            for (int i = 0; i < n; i++) {
                if (!CheckTslPointer(kids[i]))
                    continue;
                kids[i]->parent = nullptr;
                tslDestroyWindow(display, kids[i]);
            }
            free(kids);
        } else {
            while (w->children && w->children[0]) {
                TslWindow* child = w->children[0];
                child->parent = nullptr;
                DeleteChildWindow(w, child);
                tslDestroyWindow(display, child);
            }
        }
    }
    free(w->children);
    w->children = nullptr;
}

int tslDestroyWindow(Display* display, TslWindow* window)
{
    // A record that is no longer in the list has been freed already.
    if (!window || !CheckTslPointer(window))
        return 0;
    if (!display)
        display = g_tessel.display;
    tslSendEvent(window, TSLM_DESTROY);
    if (!CheckTslPointer(window))
        return 1;

    destroy_children(display, window);
    if (window->parent && CheckTslPointer(window->parent))
        DeleteChildWindow(window->parent, window);
    DeleteTesselManager(window);

    if (window->ic)
        tslDetachIM(window, 1);
    if (window->destructCallback)
        window->destructCallback();

    free(window->option);
    window->option = nullptr;
    if (window->redrawPixmap)
        XFreePixmap(display, window->redrawPixmap);
    if (window->wallPaperMask)
        XFreePixmap(display, window->wallPaperMask);
    if (window->gc)
        XFreeGC(display, window->gc);
    free(window->caption);

    // The X window may already be gone when it was destroyed from outside.
    xerr_trap_begin(display);
    XUnmapWindow(display, window->xwin);
    XDestroyWindow(display, window->xwin);
    xerr_trap_end(display);
    free(window);
    return 1;
}
