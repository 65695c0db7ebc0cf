// X errors: the program's own handler stays in force around the toolkit and
// gets the errors of its own requests, even those that arrive during a trap.
#include "xfixture.h"

#include "core/xerror.h"

static std::vector<std::pair<Display*, int>> g_seen;

TEST_F(XTest, ProgramHandlerOutlivesTheToolkitAndTrapsKeepToTheirOwn)
{
    XSetErrorHandler([](Display* display, XErrorEvent* e) { return g_seen.push_back({display, e->error_code}), 0; });
    // Requests on a window destroyed behind the toolkit's back stay with it.
    TslWindow* w = tslCreateWindow(d, nullptr, tslPos(0, 0), tslSize(50, 40), 0, "own", nullptr);
    TslWindow* live = tslCreateWindow(d, nullptr, tslPos(0, 0), tslSize(50, 40), 0, "live", nullptr);
    ASSERT_TRUE(w && live);
    Window gone = w->xwin;
    XDestroyWindow(d, gone);
    tslSetWaitCursor(d, w);
    tslCenteringWnd(d, w, live);
    EXPECT_EQ(tslMoveResizeWindow(live, tslPos(0, 0), tslSize(0, 8)), 0);
    tslDestroyWindow(d, w);
    XSync(d, False);
    EXPECT_TRUE(g_seen.empty());

    // An error of a request made before a trap, or on another connection
    // during one, is the program's; the trap sees only its own.
    Display* other = XOpenDisplay(DisplayString(d));
    XMapWindow(d, gone);
    xerr_trap_begin(d);
    XMapWindow(other, gone);
    XSync(other, False);
    EXPECT_EQ(xerr_trap_end(d), 0);
    XCloseDisplay(other);
    EXPECT_EQ(g_seen, (std::vector<std::pair<Display*, int>>{{other, BadWindow}, {d, BadWindow}}));
}
