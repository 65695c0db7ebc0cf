// Test support: a display with g_tessel filled, pixel read-back, and an
// event pump through the toolkit's dispatcher.
#include "xfixture.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

static const char* kFont = "-misc-*-*-*-*-*-14-*-*-*-*-*-jisx0201.1976-0";
// The default Kanji pattern matches single-byte fonts first on current
// servers; tests want the real JIS X 0208 font.
static const char* kFontKanji = "-misc-fixed-medium-r-normal--14-*-*-*-*-*-jisx0208.1983-0";

static unsigned long alloc_rgb(Display* d, Colormap cmap, int r, int g, int b)
{
    XColor c{};
    c.red = (unsigned short)(r << 8);
    c.green = (unsigned short)(g << 8);
    c.blue = (unsigned short)(b << 8);
    c.flags = DoRed | DoGreen | DoBlue;
    return XAllocColor(d, cmap, &c) ? c.pixel : 0;
}

Display* xenv_open(const char* env_var)
{
    const char* name = getenv(env_var ? env_var : "DISPLAY");
    if (!name || !*name)
        return nullptr;
    Display* d = XOpenDisplay(name);
    if (!d)
        return nullptr;
    memset(&g_tessel, 0, sizeof g_tessel);
    strcpy(g_tessel.version, "Ver01.02");
    g_tessel.display = d;
    Window root = RootWindow(d, 0);
    g_tessel.screenWidth = DisplayWidth(d, 0);
    g_tessel.screenHeight = DisplayHeight(d, 0);
    g_tessel.depth = DefaultDepth(d, 0);
    g_tessel.colormap = DefaultColormap(d, 0);
    static const int std_rgb[16][3] = {
        {0, 0, 0},       {255, 255, 255}, {255, 0, 0},     {0, 255, 0},
        {0, 0, 255},     {255, 255, 0},   {255, 0, 255},   {0, 255, 255},
        {128, 128, 128}, {64, 64, 64},    {128, 0, 0},     {0, 128, 0},
        {0, 0, 128},     {128, 128, 0},   {128, 0, 128},   {0, 128, 128}};
    for (int i = 0; i < 16; i++)
        g_tessel.colors[i] = alloc_rgb(d, g_tessel.colormap, std_rgb[i][0], std_rgb[i][1], std_rgb[i][2]);
    g_tessel.colorCount = 16;
    const std::pair<unsigned long*, int> greys[] = {
        {&g_tessel.backPixel, 105},         {&g_tessel.borderPixel, 0},       {&g_tessel.fontPixel, 190},
        {&g_tessel.fontContrastPixel, 62},  {&g_tessel.paperPixel, 105},      {&g_tessel.backLightPixel, 197},
        {&g_tessel.backShadowPixel, 52},    {&g_tessel.backNearPixel, 122}};
    for (const auto& g : greys)
        *g.first = alloc_rgb(d, g_tessel.colormap, g.second, g.second, g.second);
    g_tessel.actionPixel = alloc_rgb(d, g_tessel.colormap, 0, 0, 255);
    g_tessel.interval = 35;
    g_tessel.doubleClickTime = 300;
    g_tessel.mouseButton = 3;
    g_tessel.mouseRightHand = 1;
    g_tessel.tenKey = 1;
    g_tessel.charCode = TSL_CODE_EUC;
    g_tessel.font = XLoadQueryFont(d, kFont);
    if (!g_tessel.font)
        g_tessel.font = XLoadQueryFont(d, "fixed");
    g_tessel.fontKanji = XLoadQueryFont(d, kFontKanji);
    if (!g_tessel.fontKanji)
        g_tessel.fontKanji = g_tessel.font;
    for (GC* gc : {&g_tessel.gc, &g_tessel.backGC, &g_tessel.fontGC, &g_tessel.kanjiGC})
        *gc = XCreateGC(d, root, 0, nullptr);
    XSetForeground(d, g_tessel.backGC, g_tessel.backPixel);
    const std::pair<GC, XFontStruct*> text[] = {{g_tessel.fontGC, g_tessel.font}, {g_tessel.kanjiGC, g_tessel.fontKanji}};
    for (const auto& t : text) {
        XSetGraphicsExposures(d, t.first, False);
        XSetForeground(d, t.first, g_tessel.fontPixel);
        XSetFont(d, t.first, t.second->fid);
    }
    XSync(d, False);
    return d;
}

void xenv_close()
{
    Display* d = g_tessel.display;
    if (!d)
        return;
    for (GC gc : {g_tessel.gc, g_tessel.backGC, g_tessel.fontGC, g_tessel.kanjiGC})
        XFreeGC(d, gc);
    if (g_tessel.fontKanji && g_tessel.fontKanji != g_tessel.font)
        XFreeFont(d, g_tessel.fontKanji);
    if (g_tessel.font)
        XFreeFont(d, g_tessel.font);
    XCloseDisplay(d);
    memset(&g_tessel, 0, sizeof g_tessel);
}

std::vector<unsigned long> xenv_pixels(Display* display, Drawable d, int x, int y, int w, int h)
{
    std::vector<unsigned long> out;
    XImage* img = XGetImage(display, d, x, y, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
    if (!img)
        return out;
    out.reserve((size_t)w * (size_t)h);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            out.push_back(XGetPixel(img, i, j));
    XDestroyImage(img);
    return out;
}

unsigned long xenv_pixel(Display* display, Drawable d, int x, int y)
{
    std::vector<unsigned long> p = xenv_pixels(display, d, x, y, 1, 1);
    return p.empty() ? ~0UL : p[0];
}

void xenv_wait_mapped(Display* display, Window w)
{
    for (int i = 0; i < 500; i++) {
        XWindowAttributes a;
        if (XGetWindowAttributes(display, w, &a) && a.map_state == IsViewable)
            return;
        usleep(2000);
    }
}

void xenv_pump(Display* display, int ms)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    XSync(display, False);
    while (std::chrono::steady_clock::now() < end) {
        while (XPending(display)) {
            XEvent ev;
            XNextEvent(display, &ev);
            for (int i = 0, count = tslGetTotalWindows(); i < count; i++)
                if (TslWindow* w = tslGetWindowFromIndex(i); w && !w->parent)
                    tslCallWndProc(display, w, &ev, 1);
        }
        usleep(2000);
        XSync(display, False);
    }
}
