// Delivery of X events and toolkit messages down a window tree, the default
// window procedure, and growth of the redraw buffer when a window gets larger.
#include <cstdio>

#include "core/window_private.h"
#include "core/xerror.h"

static const char* kTooLarge =
    "Error: Window size too large for Tessel redraw buffer.\n"
    "(less than screen width * 2 & height * 2)";
static const char* kNoPixmap = "Error: Can't create pixmap (unknown error).\n";

int UpdateWindow(TslWindow* w, XEvent* event)
{
    if (!w || !w->children || event->type != ConfigureNotify)
        return 0;
    for (int i = 0; w->children && w->children[i]; i++) {
        TslWindow* child = w->children[i];
        if (child->updateWindowCallback)
            child->updateWindowCallback(child);
    }
    return 1;
}

// Index of the entry after child, which a procedure may have removed (its
// successor then moved into its place) or shifted by removing others.
static int next_sibling(TslWindow* w, TslWindow* child, int at)
{
    if (!CheckTslPointer(w) || !w->children)
        return at;
    for (int j = 0; w->children[j]; j++)
        if (w->children[j] == child)
            return j + 1;
    return at;
}

int tslCallWndProc(Display* display, TslWindow* w, XEvent* event, int withChildren)
{
    if (!w)
        return 0;
    int status;
    if (w->custom) {
        status = w->wndProc ? w->wndProc(display, w, event) : TSLR_OK;
        if (CheckTslPointer(w))
            UpdateWindow(w, event);
        return status;
    }
    if (w->allEvent || event->xany.window == w->xwin) {
        if (w->defaultWndProcEvent) {
            w->status = TSLR_OK;
            status = tslWndProc_Default(display, w, event);
        } else {
            status = TSLR_OK;
        }
        if (w->wndProc && w->wndProc != tslWndProc_Default && CheckTslPointer(w)) {
            w->status = status;
            status = w->wndProc(display, w, event);
        }
        if (status == TSLR_CLOSE)
            return TSLR_CLOSE;
        // A procedure may have destroyed its own window.
        if (!CheckTslPointer(w))
            return status;
        AutoRedraw(display, w);
        UpdateWindow(w, event);
    } else {
        status = TSLR_OK;
    }
    if (withChildren == 1) {
        int i = 0;
        while (CheckTslPointer(w) && w->children && w->children[i]) {
            TslWindow* child = w->children[i];
            child->status = status;
            status = tslCallWndProc(display, child, event, 1);
            if (status == TSLR_CLOSE)
                return TSLR_CLOSE;
            i = next_sibling(w, child, i);
        }
    }
    return status;
}

// Grows the redraw buffer to the new size (never shrinks) and records the
// window's new geometry.  Returns 0 when a larger buffer cannot be made.
static int on_configure(Display* display, TslWindow* w, const XConfigureEvent& ev)
{
    TslRect next{(short)ev.x, (short)ev.y, (unsigned short)ev.width, (unsigned short)ev.height};
    if (ev.width != w->rect.width || ev.height != w->rect.height) {
        w->resized = 1;
        next.x = w->rect.x;
        next.y = w->rect.y;
    } else {
        w->resized = 0;
    }
    if (ev.width <= 0 || ev.height <= 0)
        return 1;
    long maxW = 2L * g_tessel.screenWidth;
    long maxH = 2L * g_tessel.screenHeight;
    if (next.width > maxW)
        next.width = (unsigned short)maxW;
    if (next.height > maxH)
        next.height = (unsigned short)maxH;
    if (w->bufferRect.width < next.width || w->bufferRect.height < next.height) {
        unsigned bw = w->bufferRect.width > next.width ? w->bufferRect.width : next.width;
        unsigned bh = w->bufferRect.height > next.height ? w->bufferRect.height : next.height;
        if (bw > maxW && bh > maxH) {
            fputs(kTooLarge, stderr);
            return 1;
        }
        xerr_trap_begin(display);
        Pixmap grown = XCreatePixmap(display, w->xwin, bw, bh, (unsigned)g_tessel.depth);
        if (xerr_trap_end(display) != 0) {
            fputs(kNoPixmap, stderr);
            xerr_trap_begin(display);
            XFreePixmap(display, grown);
            xerr_trap_end(display);
            return 0;
        }
        ClearWindowForDWndProc(display, w, grown, tslPos(0, 0), tslSize((int)bw, (int)bh));
        XCopyArea(display, w->redrawPixmap, grown, w->gc, 0, 0, w->bufferRect.width,
                  w->bufferRect.height, 0, 0);
        XFreePixmap(display, w->redrawPixmap);
        w->redrawPixmap = grown;
        w->bufferRect.width = (unsigned short)bw;
        w->bufferRect.height = (unsigned short)bh;
    }
    w->rect = next;
    return 1;
}

int tslWndProc_Default(Display* display, TslWindow* w, XEvent* event)
{
    if (!w)
        return 0;
    int status = w->status;
    if (event->xany.window != w->xwin)
        return status;
    XEvent copy = *event;
    Window target = w->xwin;
    switch (event->type) {
    case ButtonPress:
    case ButtonRelease:
    case MotionNotify:
    case EnterNotify:
    case LeaveNotify:
    case ColormapNotify:
    case TSLM_UPDATE:
    case TSLM_PAINT:
    case TSLM_TIMER:
    case TSLM_RESERVED:
    case TSLM_DESTROY:
    case NoExpose:
    case VisibilityNotify:
    case GravityNotify:
    case CirculateNotify:
    case CirculateRequest:
        break;
    case Expose:
        if (w->redrawBuffer == 1) {
            const XExposeEvent& ex = event->xexpose;
            XSetForeground(display, w->gc, w->backPixel);
            XCopyArea(display, w->redrawPixmap, w->xwin, w->gc, ex.x, ex.y, (unsigned)ex.width,
                      (unsigned)ex.height, ex.x, ex.y);
        }
        break;
    case DestroyNotify:
        target = event->xdestroywindow.window;
        if (target == w->xwin)
            status = TSLR_DESTROYED;
        break;
    case UnmapNotify:
        target = event->xunmap.window;
        if (target == w->xwin)
            w->shown = 0;
        break;
    case MapNotify:
        target = event->xmap.window;
        if (target == w->xwin)
            w->shown = 1;
        break;
    case ConfigureNotify:
        target = event->xconfigure.window;
        if (target == w->xwin && !on_configure(display, w, event->xconfigure))
            status = TSLR_NONE;
        break;
    case ClientMessage:
        if (event->xclient.format == 32 && (Atom)event->xclient.data.l[0] == w->wmDeleteAtom)
            status = TSLR_CLOSE;
        break;
    default:
        status = TSLR_NONE;
        break;
    }
    copy.xany.window = target;
    if (target != w->xwin) {
        for (int i = 0; CheckTslPointer(w) && w->children && w->children[i]; i++) {
            TslWindow* child = w->children[i];
            if (child->xwin == target)
                status = tslCallWndProc(display, child, &copy, 0);
        }
    }
    return status;
}

int tslSendEvent(TslWindow* w, int code)
{
    if (!w)
        return 0;
    if (!w->wndProc)
        return 1;
    XEvent ev;
    ev = XEvent{};
    ev.type = code;
    ev.xany.display = g_tessel.display;
    ev.xany.window = w->xwin;
    return tslCallWndProc(g_tessel.display, w, &ev, 0);
}
