// Test support: the controls' stage, its scripted user and callback log.
#include "xcontrol.h"

#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "xrobot.h"

std::string ControlTest::notices;

static TslWndProc s_traced;
static int s_event;

static char tag(int event)
{
    switch (event) {
    case ButtonPress: return 'p';
    case ButtonRelease: return 'r';
    case MotionNotify: return 'm';
    case ConfigureNotify: return 'c';
    case TSLM_REPEAT: return 'R';
    default: return '-';
    }
}

int ControlTest::note(TslWindow*, int code, int arg1, int)
{
    notices += (notices.empty() ? "" : " ") + std::to_string(code) + "/" + std::to_string(arg1) + tag(s_event);
    return TSLR_OK;
}

static int traced_proc(Display* display, TslWindow* window, XEvent* event)
{
    int outer = s_event;
    s_event = event->type;
    int status = s_traced(display, window, event);
    s_event = outer;
    return status;
}

void ControlTest::trace(TslWindow* control)
{
    s_traced = control->wndProc;
    control->wndProc = traced_proc;
}

void ControlTest::SetUp()
{
    XDepthTest::SetUp();
    if (!d)
        return;
    notices.clear();
    stage = tslCreateWindow(d, nullptr, tslPos(500, 300), tslSize(400, 400), 0, "Stage", nullptr);
    xenv_wait_mapped(d, stage->xwin);
    xenv_pump(d, 50);
}

void ControlTest::play(TslWindow* control, const char* script, bool transpose)
{
    Window target = control->xwin, top = stage->xwin;
    RobotThread user([=](Robot& r) {
        int ox = 0, oy = 0;
        r.geometry(target, &ox, &oy);
        std::istringstream in(script);
        for (std::string t; in >> t;) {
            int x = 0, y = 0;
            if (sscanf(t.c_str(), "%d,%d", &x, &y) == 2)
                XTestFakeMotionEvent(r.dpy, 0, ox + (transpose ? y : x), oy + (transpose ? x : y), CurrentTime);
            else if (t[0] == 'p' || t[0] == 'r')
                XTestFakeButtonEvent(r.dpy, t.size() > 1 ? (unsigned)(t[1] - '0') : 1, t[0] == 'p', CurrentTime);
            else if (t[0] == 'w')
                r.pause(atoi(t.c_str() + 1));
            r.pause(t.back() == '!' ? 0 : 40);
        }
        r.close(top);
    }, GetParam() ? getenv(GetParam()) : nullptr);
    tslMainLoop(d, stage);
}

unsigned long ControlTest::screen(TslWindow* w, int x, int y)
{
    XSync(d, False);
    return xenv_pixel(d, w->xwin, x, y);
}
