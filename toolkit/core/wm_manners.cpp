// Window-manager properties: UTF-8 titles and transient dialogs.
#include "core/wm_manners.h"

#include <string>

#include "support/textconv.h"

void wm_store_name(Display* display, TslWindow* w, const char* caption)
{
    if (!display || !w)
        return;
    XStoreName(display, w->xwin, caption ? caption : "");
    if (w->parent)
        return;
    // The legacy name is Latin-1 to the window manager; the EUC-JP bytes of
    // a Japanese title only read right through the UTF-8 property.
    std::string utf8 = textconv_to_utf8(caption ? caption : "");
    Atom name = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, w->xwin, name, type, 8, PropModeReplace,
                    (const unsigned char*)utf8.data(), (int)utf8.size());
}

void wm_set_transient(Display* display, TslWindow* dialog, TslWindow* parent)
{
    if (!display || !dialog || !parent)
        return;
    TslWindow* top = tslGetTopWindow(parent);
    if (top && top != dialog)
        XSetTransientForHint(display, dialog->xwin, top->xwin);
}
