// Test support: an event pump through the toolkit's dispatcher (kept apart
// from xenv.cpp so that tests of modules below the dispatcher link without it).
#include <sys/time.h>
#include <unistd.h>

#include "xenv.h"

static long now_ms()
{
    timeval tv;
    gettimeofday(&tv, nullptr);
    return tv.tv_sec * 1000L + tv.tv_usec / 1000;
}

void xenv_pump(Display* display, int ms)
{
    long end = now_ms() + ms;
    XSync(display, False);
    while (now_ms() < end) {
        while (XPending(display)) {
            XEvent ev;
            XNextEvent(display, &ev);
            int count = tslGetTotalWindows();
            for (int i = 0; i < count; i++) {
                TslWindow* w = tslGetWindowFromIndex(i);
                if (w && !w->parent)
                    tslCallWndProc(display, w, &ev, 1);
            }
        }
        usleep(2000);
        XSync(display, False);
    }
}

