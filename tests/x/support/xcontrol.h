// Driving a control as its user: a script of pointer actions played on it
// while the toolkit's loop runs, and a log of what the owner's callback
// received.  The control stands as a top-level window of its own.
#ifndef TSL_TEST_XCONTROL_H
#define TSL_TEST_XCONTROL_H

#include "xfixture.h"
#include "xrobot.h"

#include <X11/extensions/XTest.h>

#include <sstream>
#include <string>

class ControlTest : public XDepthTest {
protected:
    // One "code/arg" per callback, with "h" when the control asked for timer
    // ticks at the time: a scroll bar does only while a part is held.
    inline static std::string notices;
    ControlTest() { notices.clear(); }
    static int note(TslWindow* control, int code, int arg1, int)
    {
        notices += (notices.empty() ? "" : " ") + std::to_string(code) + "/" + std::to_string(arg1) +
                   (control->timerEvent ? "h" : "");
        return TSLR_OK;
    }
    // Plays a script in tslMainLoop on the control, then closes it the way
    // a window manager does, which ends the loop.  Tokens: "x,y" moves the
    // pointer there on the control (given as y,x when transposed), "x,y!"
    // too but without the usual 40 ms pause after it; "p", "p3" press and
    // "r", "r3" release a mouse button; "w500" waits 500 ms.
    void play(TslWindow* control, const char* script, bool transpose = false)
    {
        notices.clear();
        RobotThread user([=](Robot& r) {
            int ox = 0, oy = 0, x, y;
            r.geometry(control->xwin, &ox, &oy);
            std::istringstream in(script);
            for (std::string t; in >> t; r.pause(t.back() == '!' ? 0 : 40)) {
                if (sscanf(t.c_str(), "%d,%d", &x, &y) == 2)
                    XTestFakeMotionEvent(r.dpy, 0, ox + (transpose ? y : x), oy + (transpose ? x : y), 0);
                else if (t[0] == 'p' || t[0] == 'r')
                    XTestFakeButtonEvent(r.dpy, t.size() > 1 ? (unsigned)(t[1] - '0') : 1, t[0] == 'p', 0);
                else if (t[0] == 'w')
                    r.pause(atoi(t.c_str() + 1));
            }
            r.close(control->xwin);
        }, GetParam() ? getenv(GetParam()) : nullptr);
        tslMainLoop(d, control);
    }
};

#endif
