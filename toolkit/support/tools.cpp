// Small services the whole toolkit uses: the checked allocator, sleeping,
// the bell, resetting a graphics context, applying a geometry string to a
// window (and telling the window manager so) and making a path absolute.
#include <sys/select.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tessel.h"
#include "core/xerror.h"
#include "support/xhelpers.h"

void* tslAlloc(size_t size)
{
    void* p = malloc(size ? size : 1);
    if (!p) fputs("Error: Can't allocate memory.\n", stderr);
    return p;
}

int tslSleep(unsigned int microseconds)
{
    struct timeval tv;
    tv.tv_sec = microseconds / 1000000U;
    tv.tv_usec = microseconds % 1000000U;
    return select(0, nullptr, nullptr, nullptr, &tv);
}

int tslBell(void)
{
    fputc(0x07, stderr);
    fflush(stderr);
    return 1;
}

int tslResetGC(GC gc)
{
    Display* display = g_tessel.display;
    if (!display || !gc || !g_tessel.gc) return 0;
    XCopyGC(display, g_tessel.gc, XHELP_GC_ALL_BUT_ARC_MODE, gc);
    XSetClipMask(display, gc, None);
    return 1;
}

static int clamp_size(int value, int low, int high)
{
    if (value < low) value = low;
    if (high > 0 && value > high) value = high;
    return value < 1 ? 1 : value;
}

// Tells the window manager that the user chose the place or size, so that
// it does not choose them itself; the size limits stay in the hints.
static void mark_user_geometry(Display* display, TslWindow* w, int given, int x, int y, int width,
                               int height)
{
    XSizeHints hints;
    memset(&hints, 0, sizeof hints);
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = w->minMaxSize[0];
    hints.min_height = w->minMaxSize[1];
    hints.max_width = w->minMaxSize[2];
    hints.max_height = w->minMaxSize[3];
    if (given & (XValue | YValue))
        hints.flags |= USPosition;
    if (given & (WidthValue | HeightValue))
        hints.flags |= USSize;
    hints.x = x;
    hints.y = y;
    hints.width = width;
    hints.height = height;
    XSetWMNormalHints(display, w->xwin, &hints);
}

int tslSetGeometry(TslWindow* w, const char* geometry)
{
    if (!w || !geometry || !geometry[0]) return 0;
    Display* display = g_tessel.display;
    if (!display) return 0;
    char fallback[80];
    snprintf(fallback, sizeof fallback, "%dx%d+%d+%d", (int)w->rect.width, (int)w->rect.height,
             (int)w->rect.x, (int)w->rect.y);
    int x = 0, y = 0, width = 0, height = 0;
    int given = XGeometry(display, DefaultScreen(display), geometry, fallback, 0, 1, 1, 0, 0, &x,
                          &y, &width, &height);
    width = clamp_size(width, w->minMaxSize[0], w->minMaxSize[2]);
    height = clamp_size(height, w->minMaxSize[1], w->minMaxSize[3]);
    // The window may already be gone; that is a failure, not an exit.
    xerr_trap_begin(display);
    XMoveResizeWindow(display, w->xwin, x, y, (unsigned int)width, (unsigned int)height);
    if (!w->parent)
        mark_user_geometry(display, w, given, x, y, width, height);
    return xerr_trap_end(display) == 0 ? 1 : 0;
}

char* tslConvFullPath(char* path, unsigned int size)
{
    if (!path) return nullptr;
    char dir[4096];
    if (!getcwd(dir, sizeof dir)) return nullptr;
    size_t need = strlen(dir) + strlen(path) + 1;
    if (need >= size) return nullptr;
    std::string joined = std::string(dir) + "/" + path;
    memcpy(path, joined.c_str(), joined.size() + 1);
    return path;
}

Region xhelp_rect_region(TslRect r)
{
    Region rg = XCreateRegion();
    if (rg) {
        XRectangle xr = {r.x, r.y, r.width, r.height};
        XUnionRectWithRegion(&xr, rg, rg);
    }
    return rg;
}
