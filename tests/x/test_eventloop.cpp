// Event loop against Xvfb: modal loops, the end of a pass, the hook for long
// computations, the timer tick and window placement.
#include "xfixture.h"
#include "xrobot.h"

#include <X11/extensions/XTest.h>

#include <map>

#include "core/window_private.h"

namespace {

// Events of each type addressed to windows of CountingProc; a client
// message holding g_closeAtom answers 130.
std::map<int, int> g_counts;
Atom g_closeAtom = 0;
std::string g_keys;  // "window:key " for each key the key callback saw

int CountingProc(Display*, TslWindow* w, XEvent* ev)
{
    if (ev->xany.window != w->xwin)
        return w->status;
    g_counts[ev->type]++;
    return ev->type == ClientMessage && (Atom)ev->xclient.data.l[0] == g_closeAtom ? TSLR_CLOSE : w->status;
}

class EventLoop : public XTest {
protected:
    void SetUp() override
    {
        XTest::SetUp();
        if (!d)
            return;
        g_counts.clear();
        g_keys.clear();
        g_closeAtom = XInternAtom(d, "TSL_TEST_CLOSE", False);
        g_tessel.interval = 5;
    }
    void TearDown() override
    {
        tslSetDebugCallback(nullptr);
        XTest::TearDown();
    }
    TslWindow* make(TslWindow* parent, int x, int y, int w, int h, TslWndProc proc = CountingProc)
    {
        TslWindow* win = tslCreateWindow(d, parent, tslPos(x, y), tslSize(w, h), 0, "w", proc);
        EXPECT_NE(win, nullptr);
        return win;
    }
    // Waits for the window and drops what creation queued.
    void settle(TslWindow* w)
    {
        xenv_wait_mapped(d, w->xwin);
        xenv_pump(d, 60);
        g_counts.clear();
    }
};

// Idle steps of a test, played from a window's idle callback.
std::function<int()> g_idle;
int CallIdle(TslWindow*)
{
    return g_idle();
}

int g_debugEvents = 0;

}  // namespace

// The user's side, played from the modal loop's idle step: a press on the
// main window, which must raise the modal one before the release; a resize
// and an exposure of the main window, which must be followed; a close.
TEST_F(EventLoop, ModalLoopRaisesOnPressFollowsOthersAndEndsOnClose)
{
    TslWindow* modal = make(nullptr, 1060, 760, 200, 150, nullptr);
    TslWindow* main = make(nullptr, 760, 560, 400, 300);
    tslSetRedrawBuffer(main, 1);
    xenv_wait_mapped(d, modal->xwin);
    settle(main);
    // Paint the main window's buffer only; the screen gets it through Expose.
    xenv_fill(d, main->redrawPixmap, g_tessel.colors[2], 0, 0, 400, 300);
    int pass = 0, mainBelowAtStart = 0, modalAboveAfterPress = 0, buttonsSeenByMain = -1, mainWidth = 0;
    unsigned long exposedPixel = 0;
    g_idle = [&] {
        if (++pass == 2) {
            mainBelowAtStart = xenv_stack_pos(d, modal->xwin) < xenv_stack_pos(d, main->xwin);
            XRaiseWindow(d, main->xwin);  // other tests may have windows on the display
            XTestFakeMotionEvent(d, 0, 760 + 60, 560 + 60, CurrentTime);
            XTestFakeButtonEvent(d, 1, True, CurrentTime);
        } else if (pass == 8) {
            modalAboveAfterPress = xenv_stack_pos(d, modal->xwin) > xenv_stack_pos(d, main->xwin);
            XTestFakeButtonEvent(d, 1, False, CurrentTime);
            XResizeWindow(d, main->xwin, 420, 300);
            // Windows keep a backing store, so uncovering does not expose them;
            // clearing with exposures does, and leaves the background until repainted.
            XClearArea(d, main->xwin, 0, 0, 0, 0, True);
        } else if (pass == 14) {
            exposedPixel = xenv_pixel(d, main->xwin, 50, 50);
            buttonsSeenByMain = g_counts[ButtonPress];
            mainWidth = main->rect.width;
            xenv_send_close(d, modal);
        }
        return pass > 300 ? TSLR_CLOSE : TSLR_OK;
    };
    tslSetIdolingCallback(modal, CallIdle);
    EXPECT_EQ(1, tslMainLoop(d, modal));
    EXPECT_LT(pass, 300) << "loop did not end on WM_DELETE_WINDOW";
    EXPECT_TRUE(mainBelowAtStart && modalAboveAfterPress);
    EXPECT_TRUE(buttonsSeenByMain == 0 && mainWidth == 420 && g_counts[Expose] >= 1);
    EXPECT_EQ(g_tessel.colors[2], exposedPixel);
}

// 130 ends the loop only after the pending events, idle step and timer of
// the pass; the timer reaches only windows that asked for it.  Keys 10 ms
// apart give one; the key callback sees keys of its whole tree.
TEST_F(EventLoop, CloseTakesEffectAtTheEndOfThePass)
{
    g_tessel.tenKey = 0;
    g_tessel.interval = 35;
    TslWindow* w = make(nullptr, 0, 0, 100, 100);
    TslWindow* child = make(w, 10, 10, 50, 50, nullptr);
    make(nullptr, 110, 0, 50, 50);
    int idleCalls = 0;
    g_idle = [&] { return idleCalls++, TSLR_OK; };
    tslSetIdolingCallback(w, CallIdle);
    tslSetTimerEvent(w, 1);
    tslSetDebugCallback([](Display*, TslWindow* win, XEvent* ev) { g_debugEvents += win && ev->type == ClientMessage; });
    tslSetKeyEventCallback(w, [](TslWindow* target, XEvent*, KeySym key) {
        g_keys += std::string(tslGetParentWindow(target) ? "child:" : "top:") + XKeysymToString(key) + " ";
        return TSLR_OK;
    });
    settle(child);
    idleCalls = g_debugEvents = 0;
    for (Time t : {5000, 5010, 5100})
        xenv_send_key(d, child->xwin, XK_b, t);
    Atom other = XInternAtom(d, "TSL_TEST_OTHER", False);
    xenv_send_client(d, w->xwin, g_closeAtom, (long)g_closeAtom);
    xenv_send_client(d, w->xwin, other, 1);
    xenv_send_client(d, w->xwin, other, 2);
    XSync(d, False);
    EXPECT_EQ(1, tslMainLoop(d, nullptr));
    EXPECT_EQ(std::vector<int>({g_counts[ClientMessage], g_debugEvents, idleCalls, g_counts[TSLM_TIMER]}),
              std::vector<int>({3, 3, 1, 1}));
    EXPECT_EQ(g_keys, "child:b child:b ");
}

// Outside a modal loop only events for windows that are not the toolkit's
// are taken off the queue (a modal loop's filtering is the scenario above).
// With no window ticking, a pass that had nothing to do waits for the server
// instead of sleeping an interval; a window with a timer keeps the rhythm.
TEST_F(EventLoop, CheckEventDropsForeignEventsAndIdleWaitsForTheServer)
{
    TslWindow* w = make(nullptr, 0, 0, 100, 100);
    Window foreign = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    settle(w);
    xenv_send_client(d, foreign, 0, 0);
    xenv_send_client(d, w->xwin, g_closeAtom, 0);
    XSync(d, False);
    // pending, first check, second check, pending
    EXPECT_EQ(std::vector<int>({XPending(d), tslCheckEvent(d, nullptr), tslCheckEvent(d, nullptr), XPending(d)}),
              std::vector<int>({2, 1, 0, 1}));
    XEvent left;
    XNextEvent(d, &left);

    RobotThread robot([w](Robot& r) { r.pause(300), r.close(w->xwin); });
    int passes = 0;
    while (!XPending(d))
        tslFlush(d), passes++;
    EXPECT_LE(passes, 2) << "an interval of 5 ms gives some 60 passes in 300 ms";
    robot.join();
    tslSetTimerEvent(w, 1);
    tslFlush(d);  // with nothing new from the server
    EXPECT_EQ(1, g_counts[TSLM_TIMER]);
}

// A long computation calling the hook with a modal window: the modal's tree
// gets its events, others are repainted and follow their new size but get
// no input, and a click on them raises the modal window.
TEST_F(EventLoop, HookRepaintsResizesDropsInputAndRaisesTheModal)
{
    TslWindow* other = make(nullptr, 0, 0, 300, 300);
    TslWindow* modal = make(nullptr, 100, 100, 100, 100);
    tslSetRedrawBuffer(other, 1);
    xenv_wait_mapped(d, other->xwin);
    XRaiseWindow(d, other->xwin);
    settle(modal);
    ASSERT_LT(xenv_stack_pos(d, modal->xwin), xenv_stack_pos(d, other->xwin));
    xenv_fill(d, other->redrawPixmap, g_tessel.colors[4], 0, 0, 300, 300);
    XResizeWindow(d, other->xwin, 320, 300);
    xenv_send_key(d, other->xwin, 0);
    xenv_send_button(d, other->xwin);
    XClearArea(d, other->xwin, 0, 0, 10, 10, True);
    xenv_send_client(d, modal->xwin, g_closeAtom, (long)g_closeAtom);
    XSync(d, False);
    // The modal's close answers 130, every other event 1.
    std::map<int, int> results;
    while (XPending(d))
        results[tslHookEvent(d, modal)]++;
    EXPECT_TRUE(results.size() == 2 && results[TSLR_CLOSE] == 1 && results[1] >= 4);
    EXPECT_EQ(1, tslHookEvent(d, modal)) << "nothing pending";
    EXPECT_GT(xenv_stack_pos(d, modal->xwin), xenv_stack_pos(d, other->xwin));
    EXPECT_TRUE(g_counts[KeyPress] + g_counts[ButtonPress] == 0 && g_counts[Expose] >= 1 && g_counts[ClientMessage] == 1);
    EXPECT_TRUE(other->rect.width == 320 && xenv_pixel(d, other->xwin, 5, 5) == g_tessel.colors[4])
        << "the other window follows its new size and is repainted";
}

TEST_F(EventLoop, PlacementOnTheScreen)
{
    auto origin = [&](TslWindow* w) {
        XWindowAttributes a;
        XSync(d, False);
        XGetWindowAttributes(d, w->xwin, &a);
        return std::make_pair(a.x, a.y);
    };
    // Too large for the screen: the title stays reachable.
    TslWindow* big = tslCreateWindowEx(d, nullptr, tslPos(100, 100), tslSize(2000, 1500), 0, "big", nullptr, 0);
    TslWindow* small = tslCreateWindowEx(d, nullptr, tslPos(0, 0), tslSize(200, 100), 0, "s", nullptr, 0);
    ASSERT_TRUE(big && small);
    EXPECT_EQ(2, tslCenteringWnd(d, nullptr, big) + tslCenteringWnd(d, nullptr, small));
    EXPECT_TRUE(origin(big) == std::make_pair(4, 16) && big->rect.x == 4 && big->rect.y == 16);
    EXPECT_EQ(origin(small), std::make_pair(g_tessel.screenWidth / 2 - 100, g_tessel.screenHeight / 2 - 50));
    TslWindow* ref = make(nullptr, 300, 200, 400, 300, nullptr);
    TslWindow* child = make(ref, 10, 20, 40, 30, nullptr);
    xenv_wait_mapped(d, child->xwin);
    EXPECT_EQ(1, tslCenteringWnd(d, ref, small));
    EXPECT_EQ(origin(small), std::make_pair(300 + 200 - 100, 200 + 150 - 50));
    EXPECT_EQ(0, tslCenteringWnd(d, ref, nullptr));

    // A child's rectangle on the screen adds its parent's origin.
    TslRect r = tslGetScreenCoordinate(child, child->rect);
    EXPECT_EQ(std::vector<int>({r.x, r.y, r.width, r.height}), std::vector<int>({310, 220, 40, 30}));
    EXPECT_EQ(tslGetScreenCoordinate(ref, tslSetRect(7, 8, 9, 10)).y, 8);
    EXPECT_EQ(tslGetScreenCoordinate(nullptr, tslSetRect(1, 2, 3, 4)).x, 1);
}
