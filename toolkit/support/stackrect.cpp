// The covered-area query: which parts of a window cannot be seen because
// they lie outside its top-level window or under other top-level windows,
// for applications that repaint only what shows.
#include <X11/Xlib.h>

#include "core/xerror.h"
#include "tessel.h"

static int viewable(Display* display, Window xwin, XWindowAttributes* attrs)
{
    xerr_trap_begin(display);
    Status ok = XGetWindowAttributes(display, xwin, attrs);
    int failed = xerr_trap_end(display);
    return ok && !failed && attrs->map_state == IsViewable;
}

// Adds r moved to the window's own coordinates; false when the array is lost.
static bool add_rect(ObjArray* list, TslRect r, TslRect window)
{
    TslRect* item = static_cast<TslRect*>(tslAlloc(sizeof(TslRect)));
    if (!item) {
        tslFree_ObjArray(*list);
        *list = nullptr;
        return false;
    }
    *item = tslSetOffsetRect(r, -window.x, -window.y);
    *list = tslAddItem_ObjArray(*list, item, -1);
    return *list != nullptr;
}

// The parts of the window outside the visible area of its top-level window.
static bool add_outside(ObjArray* list, TslRect w, TslRect top)
{
    TslRect in = tslGetInRect(w, top);
    if (tslIsEmptyRect(in))
        return add_rect(list, w, w);
    if (in.x == w.x && in.y == w.y && in.width == w.width && in.height == w.height)
        return true;
    int right = in.x + in.width, bottom = in.y + in.height;
    const int strips[4][4] = {
        {w.x, w.y, w.width, in.y - w.y},
        {w.x, in.y, in.x - w.x, in.height},
        {right, in.y, (w.x + w.width) - right, in.height},
        {w.x, bottom, w.width, (w.y + w.height) - bottom},
    };
    for (const auto& s : strips) {
        if (s[0] < w.x || s[1] < w.y || s[2] < 1 || s[3] < 1)
            continue;
        if (!add_rect(list, tslSetRect(s[0], s[1], s[2], s[3]), w))
            return false;
    }
    return true;
}

// The root's child that holds xwin: the window itself, or the frame a
// reparenting window manager put around it.
static Window root_child_of(Display* display, Window xwin, Window root)
{
    Window w = xwin;
    for (;;) {
        Window r, parent = 0, *kids = nullptr;
        unsigned int n = 0;
        xerr_trap_begin(display);
        Status ok = XQueryTree(display, w, &r, &parent, &kids, &n);
        int failed = xerr_trap_end(display);
        if (kids)
            XFree(kids);
        if (!ok || failed || parent == 0)
            return xwin;
        if (parent == root)
            return w;
        w = parent;
    }
}

ObjArray tslGetStackWindowRect(TslWindow* w)
{
    Display* display = g_tessel.display;
    if (!w || !display)
        return nullptr;
    TslRect self = tslGetScreenCoordinate(w, w->rect);
    TslWindow* top = tslGetTopWindow(w);
    Window root = RootWindow(display, 0);
    ObjArray list = tslNew_ObjArray();
    if (!list)
        return nullptr;
    XWindowAttributes attrs;
    if (viewable(display, top->xwin, &attrs) && !add_outside(&list, self, top->rect))
        return nullptr;

    Window r, parent, *kids = nullptr;
    unsigned int n = 0;
    xerr_trap_begin(display);
    Status ok = XQueryTree(display, root, &r, &parent, &kids, &n);
    int failed = xerr_trap_end(display);
    if (!ok || failed) {
        tslFree_ObjArray(list);
        return nullptr;
    }
    // Children come bottom first: only those above our own top level cover it.
    Window own = root_child_of(display, top->xwin, root);
    unsigned int first = 0;
    for (unsigned int i = 0; i < n; i++)
        if (kids[i] == own)
            first = i + 1;
    for (unsigned int i = first; i < n && list; i++) {
        Window c = kids[i];
        if (!c || c == root || c == own || !viewable(display, c, &attrs))
            continue;
        // The border hides what lies under it as well.
        int outer = 2 * attrs.border_width;
        TslRect cover = tslSetRect(attrs.x, attrs.y, attrs.width + outer, attrs.height + outer);
        // A window that hides this one whole is not listed: callers take
        // such a window for one that has nothing of its own to repaint.
        TslRect in = tslGetInRect(self, cover);
        if (!tslIsEmptyRect(in) && (in.width != self.width || in.height != self.height))
            add_rect(&list, in, self);
    }
    if (kids)
        XFree(kids);
    return list;
}
