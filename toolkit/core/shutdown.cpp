// Toolkit shutdown: releases everything the start-up put into g_tessel, the
// windows that are still open and the input method, then closes the display.
#include <cstdlib>
#include <cstring>

#include <X11/Xlib.h>

#include "tessel.h"
#include "core/window_private.h"

static TslWindow* first_top_level(void)
{
    for (TslWindow** p = g_tslTesselManager; p && *p; p++)
        if (!(*p)->parent)
            return *p;
    return NULL;
}

// Windows go first, while the GCs, fonts and images their destroy code may
// still touch are alive.
static void destroy_remaining_windows(Display* display)
{
    if (!g_tslTesselManager)
        return;
    int topLevels = 0;
    for (TslWindow** p = g_tslTesselManager; *p; p++)
        if (!(*p)->parent)
            topLevels++;
    for (int i = 0; i < topLevels; i++) {
        TslWindow* w = first_top_level();
        if (!w)
            break;
        tslDestroyWindow(display, w);
    }
    free(g_tslTesselManager);
    g_tslTesselManager = NULL;
}

static void free_gc(Display* display, GC* gc)
{
    if (*gc)
        XFreeGC(display, *gc);
    *gc = NULL;
}

int tslCloseDisplay(Display* display)
{
    if (!display)
        return 0;
    destroy_remaining_windows(display);

    free_gc(display, &g_tessel.gc);
    free_gc(display, &g_tessel.backGC);
    free_gc(display, &g_tessel.fontGC);
    free_gc(display, &g_tessel.kanjiGC);

    if (g_tessel.wallImage)
        tslFreeImage(display, g_tessel.wallImage);
    for (int i = 0; i < g_tessel.imageCount && i < TSL_IMAGE_COUNT; i++)
        if (g_tessel.images[i])
            tslFreeImage(display, g_tessel.images[i]);
    for (int i = 0; i < g_tessel.cursorCount && i < TSL_CURSOR_COUNT; i++)
        if (g_tessel.cursors[i])
            XFreeCursor(display, g_tessel.cursors[i]);

    // The colormap is the screen's default one: it is not ours to free.
    if (g_tessel.fontKanji && g_tessel.fontKanji != g_tessel.font)
        XFreeFont(display, g_tessel.fontKanji);
    if (g_tessel.font)
        XFreeFont(display, g_tessel.font);
    if (g_tessel.fontSet)
        XFreeFontSet(display, g_tessel.fontSet);

    free(g_tessel.colormapTable);
    if (g_tessel.selectedFiles) {
        for (char** p = g_tessel.selectedFiles; *p; p++)
            free(*p);
        free(g_tessel.selectedFiles);
    }

    XFlush(display);
    tslCloseIM_XIM(g_tessel.im);
    int result = XCloseDisplay(display);
    memset(&g_tessel, 0, sizeof g_tessel);
    return result;
}
