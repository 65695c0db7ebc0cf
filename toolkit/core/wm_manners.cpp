// Window-manager properties: UTF-8 titles and transient dialogs.
#include "core/wm_manners.h"

#include <X11/Xutil.h>

#include <string>

#include "support/textconv.h"

void wm_store_name(Display* display, TslWindow* w, const char* caption)
{
    if (!display || !w)
        return;
    std::string utf8 = textconv_to_utf8(caption ? caption : "");
    // WM_NAME is Latin-1 (STRING) or compound text to the window manager:
    // the EUC-JP bytes of a Japanese title read right only converted.
    char* list[] = {&utf8[0]};
    XTextProperty text;
    if (Xutf8TextListToTextProperty(display, list, 1, XStdICCTextStyle, &text) >= 0) {
        XSetWMName(display, w->xwin, &text);
        XFree(text.value);
    }
    if (w->parent)
        return;
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
