// What window managers and desktops read from pictel's main window: its
// class, its process and machine, and its icon as ARGB pixels.
#include <X11/Xatom.h>
#include <X11/xpm.h>
#include <strings.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "pictel.h"
#include "resources/pictel_resources.h"

static void set_class(Display* display, Window w)
{
    char name[] = "pictel";
    char cls[] = "Pictel";
    XClassHint hint = {name, cls};
    XSetClassHint(display, w, &hint);
}

static void set_process(Display* display, Window w, Atom pidAtom)
{
    long pid = (long)getpid();
    XChangeProperty(display, w, pidAtom, XA_CARDINAL, 32, PropModeReplace,
                    (const unsigned char*)&pid, 1);
    char host[HOST_NAME_MAX + 1];
    if (gethostname(host, sizeof host) != 0)
        return;
    host[HOST_NAME_MAX] = '\0';
    char* list[] = {host};
    XTextProperty text;
    if (!XStringListToTextProperty(list, 1, &text))
        return;
    XSetWMClientMachine(display, w, &text);
    XFree(text.value);
}

// One ARGB value per colour of the picture; "None" is transparent.
static std::vector<unsigned long> argb_colors(Display* display, const XpmImage& img)
{
    std::vector<unsigned long> colors(img.ncolors, 0);
    for (unsigned int i = 0; i < img.ncolors; i++) {
        const char* spec = img.colorTable[i].c_color;
        XColor c;
        if (!spec || !strcasecmp(spec, "None") || !XParseColor(display, g_tessel.colormap, spec, &c))
            continue;
        colors[i] = 0xFF000000UL | (unsigned long)(c.red >> 8) << 16 |
                    (unsigned long)(c.green >> 8) << 8 | (unsigned long)(c.blue >> 8);
    }
    return colors;
}

// _NET_WM_ICON: width, height, then the pixels row by row, each a 32-bit
// value that Xlib takes as a long.
static void set_icon(Display* display, Window w, Atom iconAtom)
{
    XpmImage img;
    if (XpmCreateXpmImageFromData(res_pictel, &img, nullptr) != XpmSuccess)
        return;
    std::vector<unsigned long> colors = argb_colors(display, img);
    size_t count = (size_t)img.width * img.height;
    std::vector<unsigned long> icon{img.width, img.height};
    icon.reserve(2 + count);
    for (size_t i = 0; i < count; i++)
        icon.push_back(img.data[i] < img.ncolors ? colors[img.data[i]] : 0);
    XpmFreeXpmImage(&img);
    XChangeProperty(display, w, iconAtom, XA_CARDINAL, 32, PropModeReplace,
                    (const unsigned char*)icon.data(), (int)icon.size());
}

void wm_props_set(Display* display, TslWindow* main)
{
    if (!display || !main)
        return;
    set_class(display, main->xwin);
    // Both names in one round trip.
    char pidName[] = "_NET_WM_PID";
    char iconName[] = "_NET_WM_ICON";
    char* names[] = {pidName, iconName};
    Atom atoms[2];
    if (!XInternAtoms(display, names, 2, False, atoms))
        return;
    set_process(display, main->xwin, atoms[0]);
    set_icon(display, main->xwin, atoms[1]);
}
