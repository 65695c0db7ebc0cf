// Test support: synthetic events, fills, solid pictures and the window
// clean-up behind the shared fixtures.
#include "xfixture.h"

void xenv_destroy_all(Display* d)
{
    while (tslGetTotalWindows() > 0)
        tslDestroyWindow(d, tslGetTopWindow(tslGetWindowFromIndex(0)));
}

static void send(Display* d, Window w, XEvent ev)
{
    ev.xany.display = d;
    ev.xany.window = w;
    XSendEvent(d, w, False, 0, &ev);
}

void xenv_send_key(Display* d, Window w, KeySym keysym, Time time, unsigned state)
{
    XEvent ev{};
    ev.type = KeyPress;
    ev.xkey.root = DefaultRootWindow(d);
    ev.xkey.keycode = keysym ? XKeysymToKeycode(d, keysym) : 0;
    ev.xkey.time = time;
    ev.xkey.state = state;
    send(d, w, ev);
}

void xenv_send_button(Display* d, Window w, int button)
{
    XEvent ev{};
    ev.type = ButtonPress;
    ev.xbutton.button = (unsigned)button;
    send(d, w, ev);
}

void xenv_send_client(Display* d, Window w, Atom type, long value)
{
    XEvent ev{};
    ev.type = ClientMessage;
    ev.xclient.message_type = type;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = value;
    send(d, w, ev);
}

void xenv_send_close(Display* d, TslWindow* w)
{
    xenv_send_client(d, w->xwin, XInternAtom(d, "WM_PROTOCOLS", False), (long)w->wmDeleteAtom);
}

void xenv_fill(Display* d, Drawable dr, unsigned long pixel, int x, int y, int w, int h)
{
    GC gc = XCreateGC(d, dr, 0, nullptr);
    XSetForeground(d, gc, pixel);
    XFillRectangle(d, dr, gc, x, y, (unsigned)w, (unsigned)h);
    XFreeGC(d, gc);
}

TslImage* xenv_solid_image(Display* d, int w, int h, unsigned long pixel)
{
    TslImage* img = new TslImage{};
    img->width = w;
    img->height = h;
    img->format = TSL_IMAGE_XPM;
    img->pixmap = XCreatePixmap(d, RootWindow(d, 0), (unsigned)w, (unsigned)h, (unsigned)g_tessel.depth);
    img->gc = XCreateGC(d, RootWindow(d, 0), 0, nullptr);
    xenv_fill(d, img->pixmap, pixel, 0, 0, w, h);
    return img;
}

void xenv_free_image(Display* d, TslImage* img)
{
    XFreePixmap(d, img->pixmap);
    if (img->mask)
        XFreePixmap(d, img->mask);
    XFreeGC(d, img->gc);
    delete img;
}

int xenv_stack_pos(Display* d, Window w)
{
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n);
    int found = -1;
    for (unsigned int i = 0; i < n; i++)
        found = children[i] == w ? (int)i : found;
    if (children)
        XFree(children);
    return found;
}
