// Event loop against Xvfb: modal loops, the end of a pass, the hook for long
// computations, the timer tick and window placement.
#include "xfixture.h"
#include "xrobot.h"

#include <X11/extensions/XTest.h>

#include "core/window_private.h"

namespace {

struct Counts {
    int expose = 0, buttons = 0, keys = 0, client = 0, timer = 0;
};
Counts g_counts;
Atom g_closeAtom = 0;

int CountingProc(Display*, TslWindow* w, XEvent* ev)
{
    if (ev->xany.window != w->xwin)
        return w->status;
    switch (ev->type) {
    case Expose: g_counts.expose++; break;
    case ButtonPress: g_counts.buttons++; break;
    case KeyPress: g_counts.keys++; break;
    case TSLM_TIMER: g_counts.timer++; break;
    case ClientMessage:
        g_counts.client++;
        if ((Atom)ev->xclient.data.l[0] == g_closeAtom)
            return TSLR_CLOSE;
        break;
    default: break;
    }
    return w->status;
}

class EventLoop : public XTest {
protected:
    void SetUp() override
    {
        XTest::SetUp();
        if (!d)
            return;
        g_counts = Counts();
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
        g_counts = Counts();
    }
};

struct ModalScript {
    Display* d;
    TslWindow *main, *modal;
    int pass = 0;
    bool mainBelowAtStart = false, modalAboveAfterClick = false;
    unsigned long exposedPixel = 0;
    int buttonsSeenByMain = -1;
};
ModalScript* g_script = nullptr;

// Drives the user's side of the modal loop from its idle step.
int ModalIdle(TslWindow*)
{
    ModalScript& s = *g_script;
    s.pass++;
    if (s.pass == 2) {
        s.mainBelowAtStart = xenv_stack_pos(s.d, s.modal->xwin) < xenv_stack_pos(s.d, s.main->xwin);
        XRaiseWindow(s.d, s.main->xwin);  // other tests may have windows on the display
        XTestFakeMotionEvent(s.d, 0, 760 + 60, 560 + 60, CurrentTime);
        XTestFakeButtonEvent(s.d, 1, True, CurrentTime);
        XTestFakeButtonEvent(s.d, 1, False, CurrentTime);
    } else if (s.pass == 8) {
        s.modalAboveAfterClick = xenv_stack_pos(s.d, s.modal->xwin) > xenv_stack_pos(s.d, s.main->xwin);
        // Windows keep a backing store, so uncovering does not expose them;
        // clearing with exposures does, and leaves the background until repainted.
        XClearArea(s.d, s.main->xwin, 0, 0, 0, 0, True);
    } else if (s.pass == 14) {
        s.exposedPixel = xenv_pixel(s.d, s.main->xwin, 50, 50);
        s.buttonsSeenByMain = g_counts.buttons;
        xenv_send_close(s.d, s.modal);
    } else if (s.pass > 300) {
        return TSLR_CLOSE;
    }
    return TSLR_OK;
}

int CloseOnKey(Display*, TslWindow* w, XEvent* ev)
{
    return ev->type == KeyPress && ev->xany.window == w->xwin ? TSLR_CLOSE : w->status;
}

int g_idleCalls = 0, g_debugEvents = 0;
int g_keyCalls = 0;
KeySym g_keyLast = 0;
TslWindow* g_keyTarget = nullptr;

}  // namespace

TEST_F(EventLoop, ModalLoopRaisesOnClickRepaintsOthersAndEndsOnClose)
{
    TslWindow* modal = make(nullptr, 1060, 760, 200, 150, nullptr);
    TslWindow* main = make(nullptr, 760, 560, 400, 300);
    tslSetRedrawBuffer(main, 1);
    xenv_wait_mapped(d, modal->xwin);
    settle(main);
    // Paint the main window's buffer only; the screen gets it through Expose.
    unsigned long red = g_tessel.colors[2];
    xenv_fill(d, main->redrawPixmap, red, 0, 0, 400, 300);

    ModalScript script{d, main, modal};
    g_script = &script;
    tslSetIdolingCallback(modal, ModalIdle);
    EXPECT_EQ(1, tslMainLoop(d, modal));
    g_script = nullptr;
    EXPECT_LT(script.pass, 300) << "loop did not end on WM_DELETE_WINDOW";
    EXPECT_TRUE(script.mainBelowAtStart);
    EXPECT_TRUE(script.modalAboveAfterClick);
    EXPECT_EQ(0, script.buttonsSeenByMain);
    EXPECT_EQ(red, script.exposedPixel);
    EXPECT_GE(g_counts.expose, 1);

    // A procedure answering 130 to a key ends a modal loop too.
    TslWindow* dlg = make(nullptr, 10, 10, 100, 80, CloseOnKey);
    settle(dlg);
    xenv_send_key(d, dlg->xwin, XK_Escape, 100000);
    XSync(d, False);
    EXPECT_EQ(1, tslMainLoop(d, dlg));
}

// 130 ends the loop only after the pending events, idle step and timer of the pass.
TEST_F(EventLoop, CloseTakesEffectAtTheEndOfThePass)
{
    TslWindow* w = make(nullptr, 0, 0, 100, 100);
    tslSetIdolingCallback(w, [](TslWindow*) { return g_idleCalls++, TSLR_OK; });
    tslSetTimerEvent(w, 1);
    tslSetDebugCallback([](Display*, TslWindow* win, XEvent* ev) { g_debugEvents += win && ev->type == ClientMessage; });
    settle(w);
    g_idleCalls = g_debugEvents = 0;
    Atom other = XInternAtom(d, "TSL_TEST_OTHER", False);
    xenv_send_client(d, w->xwin, g_closeAtom, (long)g_closeAtom);
    xenv_send_client(d, w->xwin, other, 1);
    xenv_send_client(d, w->xwin, other, 2);
    XSync(d, False);
    EXPECT_EQ(1, tslMainLoop(d, nullptr));
    EXPECT_EQ(3, g_counts.client);
    EXPECT_EQ(3, g_debugEvents);
    EXPECT_EQ(1, g_idleCalls);
    EXPECT_EQ(1, g_counts.timer);

    TslWindow* plain = make(nullptr, 0, 0, 100, 100, nullptr);
    settle(plain);
    xenv_send_close(d, plain);
    XSync(d, False);
    EXPECT_EQ(1, tslMainLoop(d, nullptr)) << "the window manager's close ends the main loop";
}

// Keys 10 ms apart give one; the callback sees keys of its whole tree.
TEST_F(EventLoop, KeyCallbackSeesThrottledKeysOfItsTree)
{
    g_tessel.tenKey = 0;
    g_tessel.interval = 35;
    TslWindow* top = make(nullptr, 0, 0, 200, 100, nullptr);
    TslWindow* child = make(top, 10, 10, 50, 50, nullptr);
    tslSetKeyEventCallback(top, [](TslWindow* target, XEvent*, KeySym key) {
        g_keyCalls++, g_keyLast = key, g_keyTarget = target;
        return g_keyCalls >= 2 ? TSLR_CLOSE : TSLR_OK;
    });
    settle(child);
    for (Time t : {5000, 5010, 5100})
        xenv_send_key(d, child->xwin, XK_b, t);
    XSync(d, False);
    EXPECT_EQ(1, tslMainLoop(d, nullptr));
    EXPECT_EQ(2, g_keyCalls);
    EXPECT_EQ((KeySym)XK_b, g_keyLast);
    EXPECT_EQ(child, g_keyTarget);
}

TEST_F(EventLoop, CheckEventDropsForeignEventsAndKeepsToolkitOnes)
{
    TslWindow* w = make(nullptr, 0, 0, 100, 100);
    Window foreign = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    settle(w);
    xenv_send_client(d, foreign, 0, 0);
    xenv_send_client(d, w->xwin, g_closeAtom, 0);
    XSync(d, False);
    ASSERT_EQ(2, XPending(d));
    EXPECT_EQ(1, tslCheckEvent(d, nullptr));
    EXPECT_EQ(1, XPending(d));
    EXPECT_EQ(0, tslCheckEvent(d, nullptr));
    EXPECT_EQ(1, XPending(d));
    XDestroyWindow(d, foreign);

    // With a modal window: its tree's events stay, input elsewhere is dropped, Expose runs.
    TslWindow* modal = make(nullptr, 200, 0, 100, 100, nullptr);
    TslWindow* inner = make(modal, 5, 5, 20, 20, nullptr);
    settle(modal);
    while (XPending(d))
        tslCheckEvent(d, nullptr);
    xenv_send_key(d, w->xwin, 0);
    XClearArea(d, w->xwin, 0, 0, 10, 10, True);
    xenv_send_client(d, inner->xwin, g_closeAtom, 0);
    XSync(d, False);
    int consumed = 0;
    while (XPending(d) && tslCheckEvent(d, modal) == 1)
        consumed++;
    EXPECT_EQ(2, consumed);
    EXPECT_EQ(0, g_counts.keys);
    EXPECT_EQ(1, g_counts.expose);
    ASSERT_EQ(1, XPending(d));
    XEvent next;
    XPeekEvent(d, &next);
    EXPECT_EQ(inner->xwin, next.xany.window);
}

TEST_F(EventLoop, HookLetsExposeThroughAndDropsInput)
{
    TslWindow* w = make(nullptr, 0, 0, 100, 100);
    settle(w);
    xenv_send_key(d, w->xwin, 0);
    xenv_send_button(d, w->xwin);
    XClearArea(d, w->xwin, 0, 0, 10, 10, True);
    XSync(d, False);
    for (int step = 0; step < 10; step++)  // a long computation calling the hook between steps
        EXPECT_EQ(1, tslHookEvent(d, nullptr));
    EXPECT_EQ(0, XPending(d));
    EXPECT_EQ(1, g_counts.expose);
    EXPECT_EQ(0, g_counts.keys + g_counts.buttons);
}

TEST_F(EventLoop, HookWithModalDispatchesItsTreeAndRaisesOnClickElsewhere)
{
    TslWindow* other = make(nullptr, 0, 0, 300, 300, nullptr);
    TslWindow* modal = make(nullptr, 100, 100, 100, 100);
    xenv_wait_mapped(d, other->xwin);
    XRaiseWindow(d, other->xwin);
    settle(modal);
    ASSERT_LT(xenv_stack_pos(d, modal->xwin), xenv_stack_pos(d, other->xwin));
    xenv_send_button(d, other->xwin);
    xenv_send_client(d, modal->xwin, g_closeAtom, (long)g_closeAtom);
    XSync(d, False);
    EXPECT_EQ(1, tslHookEvent(d, modal));
    EXPECT_EQ(TSLR_CLOSE, tslHookEvent(d, modal));
    EXPECT_EQ(1, tslHookEvent(d, modal)) << "nothing pending";
    XSync(d, False);
    EXPECT_GT(xenv_stack_pos(d, modal->xwin), xenv_stack_pos(d, other->xwin));
    EXPECT_EQ(1, g_counts.client);
}

// With no window ticking, a pass that had nothing to do waits for the server
// instead of sleeping an interval; a window with a timer keeps the rhythm.
TEST_F(EventLoop, IdleFlushWaitsForTheServerUnlessAWindowTicks)
{
    TslWindow* w = make(nullptr, 0, 0, 50, 50);
    settle(w);
    RobotThread robot([w](Robot& r) { r.pause(300), r.close(w->xwin); });
    int passes = 0;
    while (!XPending(d))
        tslFlush(d), passes++;
    EXPECT_LE(passes, 2) << "an interval of 5 ms gives some 60 passes in 300 ms";
    robot.join();
    tslSetTimerEvent(w, 1);
    tslFlush(d);  // with nothing new from the server
    EXPECT_EQ(1, g_counts.timer);
}

TEST_F(EventLoop, TimerReachesOnlyWindowsThatAskedForIt)
{
    TslWindow* a = make(nullptr, 0, 0, 50, 50);
    make(nullptr, 60, 0, 50, 50);
    tslSetTimerEvent(a, 1);
    g_counts = Counts();
    EXPECT_EQ(1, tslTimerEvent());
    EXPECT_EQ(1, tslTimerEvent());
    EXPECT_EQ(2, g_counts.timer);
}

// The hook repaints from the redraw buffer at every screen depth.
class HookDepth : public XDepthTest {};
TEST_P(HookDepth, RepaintsFromTheBuffer)
{
    TslWindow* w = tslCreateWindow(d, nullptr, tslPos(40, 40), tslSize(60, 40), 0, "deep", nullptr);
    ASSERT_TRUE(w);
    xenv_wait_mapped(d, w->xwin);
    xenv_pump(d, 40);
    xenv_fill(d, w->redrawPixmap, g_tessel.colors[4], 0, 0, 60, 40);
    XClearArea(d, w->xwin, 0, 0, 0, 0, True);
    XSync(d, False);
    while (XPending(d))
        tslHookEvent(d, nullptr);
    XSync(d, False);
    EXPECT_EQ(g_tessel.colors[4], xenv_pixel(d, w->xwin, 30, 20));
}
INSTANTIATE_TEST_SUITE_P(Depths, HookDepth, TSL_ALL_DEPTHS);

TEST_F(EventLoop, CenteringKeepsTitleReachableAndCentresOverReference)
{
    auto origin = [&](TslWindow* w) {
        XSync(d, False);
        Window root;
        int x, y;
        unsigned int width, height, border, depth;
        XGetGeometry(d, w->xwin, &root, &x, &y, &width, &height, &border, &depth);
        return std::make_pair(x, y);
    };
    TslWindow* big = tslCreateWindowEx(d, nullptr, tslPos(100, 100), tslSize(2000, 1500), 0, "big", nullptr, 0);
    ASSERT_TRUE(big);
    EXPECT_EQ(1, tslCenteringWnd(d, nullptr, big));
    EXPECT_EQ(origin(big), std::make_pair(4, 16));
    EXPECT_EQ(std::make_pair((int)big->rect.x, (int)big->rect.y), std::make_pair(4, 16));

    TslWindow* small = tslCreateWindowEx(d, nullptr, tslPos(0, 0), tslSize(200, 100), 0, "s", nullptr, 0);
    ASSERT_TRUE(small);
    EXPECT_EQ(1, tslCenteringWnd(d, nullptr, small));
    EXPECT_EQ(origin(small), std::make_pair(g_tessel.screenWidth / 2 - 100, g_tessel.screenHeight / 2 - 50));

    TslWindow* ref = make(nullptr, 300, 200, 400, 300, nullptr);
    xenv_wait_mapped(d, ref->xwin);
    EXPECT_EQ(1, tslCenteringWnd(d, ref, small));
    EXPECT_EQ(origin(small), std::make_pair(300 + 200 - 100, 200 + 150 - 50));
    EXPECT_EQ(0, tslCenteringWnd(d, ref, nullptr));
}

TEST_F(EventLoop, ScreenCoordinateOfChildAddsParentOrigin)
{
    TslWindow* top = make(nullptr, 100, 50, 300, 200, nullptr);
    TslWindow* child = make(top, 10, 20, 40, 30, nullptr);
    xenv_wait_mapped(d, child->xwin);
    TslRect r = tslGetScreenCoordinate(child, child->rect);
    EXPECT_EQ(std::vector<int>({r.x, r.y, r.width, r.height}), std::vector<int>({110, 70, 40, 30}));
    EXPECT_EQ(tslGetScreenCoordinate(top, tslSetRect(7, 8, 9, 10)).y, 8);
    EXPECT_EQ(tslGetScreenCoordinate(nullptr, tslSetRect(1, 2, 3, 4)).x, 1);
}

TEST_F(EventLoop, FixWindowSetsSizeHintsFromRectOrStoredLimits)
{
    TslWindow* w = make(nullptr, 0, 0, 320, 240, nullptr);
    XSizeHints h;
    long supplied;
    EXPECT_EQ(1, tslFixWindow(d, w, 1));
    ASSERT_TRUE(XGetWMNormalHints(d, w->xwin, &h, &supplied));
    EXPECT_EQ(PMinSize | PMaxSize, h.flags & (PMinSize | PMaxSize));
    EXPECT_EQ(std::vector<int>({h.min_width, h.max_width, h.min_height, h.max_height}),
              std::vector<int>({320, 320, 240, 240}));
    EXPECT_EQ(1, tslFixWindow(d, w, 0));
    ASSERT_TRUE(XGetWMNormalHints(d, w->xwin, &h, &supplied));
    EXPECT_EQ(std::vector<int>({h.min_width, h.max_width, h.max_height}),
              std::vector<int>({0, 2 * g_tessel.screenWidth, 2 * g_tessel.screenHeight}));
    EXPECT_EQ(0, tslFixWindow(d, nullptr, 1));
}
