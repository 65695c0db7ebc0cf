// Cursors: X cursors from the built-in two-colour pictures, and switching a
// window tree between its own cursors and the wait cursor.
#include "core/cursor_private.h"
#include "core/xerror.h"
#include "tessel.h"

static int usable(const TslCursorData* data)
{
    return data && data->bits && data->maskBits && data->width > 0 && data->height > 0 &&
           data->width <= 0xFFFF && data->height <= 0xFFFF && data->hotX >= 0 && data->hotY >= 0 &&
           data->hotX < data->width && data->hotY < data->height;
}

Cursor cursor_create(Display* display, const TslCursorData* data)
{
    if (!display || !usable(data))
        return 0;
    XColor foreground{};
    foreground.pixel = g_tessel.colors[1];
    foreground.red = foreground.green = foreground.blue = 65535;
    foreground.flags = DoRed | DoGreen | DoBlue;
    XColor background{};
    background.pixel = g_tessel.colors[0];
    background.flags = DoRed | DoGreen | DoBlue;

    Window root = RootWindow(display, 0);
    unsigned int w = (unsigned int)data->width, h = (unsigned int)data->height;
    Pixmap source = XCreateBitmapFromData(display, root, (const char*)data->bits, w, h);
    Pixmap mask = source ? XCreateBitmapFromData(display, root, (const char*)data->maskBits, w, h) : 0;
    Cursor cursor = 0;
    if (source && mask)
        cursor = XCreatePixmapCursor(display, source, mask, &foreground, &background,
                                     (unsigned int)data->hotX, (unsigned int)data->hotY);
    if (mask)
        XFreePixmap(display, mask);
    if (source)
        XFreePixmap(display, source);
    return cursor;
}

Cursor tslLoadCursor(Display* display, const TslCursorData* data)
{
    if (!display || !usable(data))
        return 0;
    // A bitmap or cursor the server could not make shows up only as an X error.
    xerr_trap_begin(display);
    Cursor cursor = cursor_create(display, data);
    if (xerr_trap_end(display) != 0) {
        if (cursor) {
            xerr_trap_begin(display);
            XFreeCursor(display, cursor);
            xerr_trap_end(display);
        }
        return 0;
    }
    return cursor;
}

static void define_normal(Display* display, TslWindow* w)
{
    if (w->cursor)
        XDefineCursor(display, w->xwin, w->cursor);
    else
        XUndefineCursor(display, w->xwin);
    for (TslWindow** child = w->children; child && *child; child++)
        define_normal(display, *child);
}

static void define_wait(Display* display, TslWindow* w)
{
    XDefineCursor(display, w->xwin, g_tessel.cursors[1]);
    for (TslWindow** child = w->children; child && *child; child++)
        define_wait(display, *child);
}

// A window of the tree may already be gone on the server; that is no reason
// to report anything, so the walks run inside a trap.
int tslSetNormalCursor(Display* display, TslWindow* w)
{
    if (!display || !w)
        return 0;
    xerr_trap_begin(display);
    define_normal(display, w);
    xerr_trap_end(display);
    return 1;
}

int tslSetWaitCursor(Display* display, TslWindow* w)
{
    if (!display || !w)
        return 0;
    xerr_trap_begin(display);
    define_wait(display, w);
    xerr_trap_end(display);
    return 1;
}
