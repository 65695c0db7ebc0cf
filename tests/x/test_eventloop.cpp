// Event loop against Xvfb: modal loops, the end of a pass, the hook for long
// computations, the timer tick and window placement.
#include <gtest/gtest.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <vector>

#include "core/window_private.h"
#include "xenv.h"

namespace {

struct Counts {
    int expose = 0;
    int buttons = 0;
    int keys = 0;
    int client = 0;
    int timer = 0;
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
    case ClientMessage:
        g_counts.client++;
        if (g_closeAtom && (Atom)ev->xclient.data.l[0] == g_closeAtom)
            return TSLR_CLOSE;
        break;
    case TSLM_TIMER: g_counts.timer++; break;
    default: break;
    }
    return w->status;
}

// Position of xwin among the root's children, bottom first.
int StackPos(Display* d, Window xwin)
{
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n);
    int found = -1;
    for (unsigned int i = 0; i < n; i++)
        if (children[i] == xwin)
            found = (int)i;
    if (children)
        XFree(children);
    return found;
}

class EventLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = xenv_open();
        if (!display)
            GTEST_SKIP() << "no display";
        g_counts = Counts();
        g_closeAtom = XInternAtom(display, "TSL_TEST_CLOSE", False);
    }
    void TearDown() override
    {
        if (!display)
            return;
        while (tslGetTotalWindows() > 0)
            tslDestroyWindow(display, tslGetWindowFromIndex(0));
        tslSetDebugCallback(nullptr);
        xenv_close();
    }

    void SendClient(TslWindow* w, Atom type, long value)
    {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w->xwin;
        ev.xclient.message_type = type;
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = value;
        XSendEvent(display, w->xwin, False, 0, &ev);
    }

    // Drops what window creation queued so each case starts from an empty queue.
    void Settle()
    {
        xenv_pump(display, 60);
        g_counts = Counts();
    }

    int StackIndex(Window xwin);

    Display* display = nullptr;
};

int EventLoop::StackIndex(Window xwin)
{
    return StackPos(display, xwin);
}

// ---- modal loop -----------------------------------------------------------

struct ModalScript {
    Display* display;
    TslWindow* main;
    TslWindow* modal;
    unsigned long paint;
    int pass = 0;
    int mainBelowAtStart = 0;
    int modalAboveAfterClick = 0;
    unsigned long exposedPixel = 0;
    int buttonsSeenByMain = -1;
};
ModalScript* g_script = nullptr;

// Drives the user's side of the modal loop from its idle step.
int ModalIdle(TslWindow*)
{
    ModalScript& s = *g_script;
    Display* d = s.display;
    s.pass++;
    if (s.pass == 2) {
        s.mainBelowAtStart = StackPos(d, s.modal->xwin) < StackPos(d, s.main->xwin);
        // Tests running beside this one may have windows on the display.
        XRaiseWindow(d, s.main->xwin);
        XTestFakeMotionEvent(d, 0, 760 + 60, 560 + 60, CurrentTime);
        XTestFakeButtonEvent(d, 1, True, CurrentTime);
        XTestFakeButtonEvent(d, 1, False, CurrentTime);
    } else if (s.pass == 8) {
        s.modalAboveAfterClick = StackPos(d, s.modal->xwin) > StackPos(d, s.main->xwin);
        // Windows keep a backing store, so uncovering does not expose them;
        // clearing with exposures does, and leaves the background until repainted.
        XClearArea(d, s.main->xwin, 0, 0, 0, 0, True);
    } else if (s.pass == 14) {
        s.exposedPixel = xenv_pixel(d, s.main->xwin, 50, 50);
        s.buttonsSeenByMain = g_counts.buttons;
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = s.modal->xwin;
        ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = (long)s.modal->wmDeleteAtom;
        XSendEvent(d, s.modal->xwin, False, 0, &ev);
    } else if (s.pass > 300) {
        return TSLR_CLOSE;
    }
    return TSLR_OK;
}

TEST_F(EventLoop, ModalLoopRaisesOnClickRepaintsOthersAndEndsOnClose)
{
    g_tessel.interval = 5;
    TslWindow* modal = tslCreateWindow(display, nullptr, tslPos(1060, 760), tslSize(200, 150), 0,
                                       "modal", nullptr);
    TslWindow* main = tslCreateWindow(display, nullptr, tslPos(760, 560), tslSize(400, 300), 0, "main",
                                      CountingProc);
    ASSERT_TRUE(modal && main);
    tslSetRedrawBuffer(main, 1);
    xenv_wait_mapped(display, main->xwin);
    xenv_wait_mapped(display, modal->xwin);
    Settle();

    // Paint the main window's buffer only; the screen gets it through Expose.
    unsigned long red = g_tessel.colors[2];
    XSetForeground(display, main->gc, red);
    XFillRectangle(display, main->redrawPixmap, main->gc, 0, 0, 400, 300);
    XSetForeground(display, main->gc, main->backPixel);

    ModalScript script{display, main, modal, red};
    g_script = &script;
    tslSetIdolingCallback(modal, ModalIdle);
    EXPECT_EQ(1, tslMainLoop(display, modal));
    g_script = nullptr;

    EXPECT_LT(script.pass, 300) << "loop did not end on WM_DELETE_WINDOW";
    EXPECT_TRUE(script.mainBelowAtStart);
    EXPECT_TRUE(script.modalAboveAfterClick);
    EXPECT_EQ(0, script.buttonsSeenByMain);
    EXPECT_EQ(red, script.exposedPixel);
    EXPECT_GE(g_counts.expose, 1);
}

int CloseOnKey(Display*, TslWindow* w, XEvent* ev)
{
    if (ev->type == KeyPress && ev->xany.window == w->xwin)
        return TSLR_CLOSE;
    return w->status;
}

TEST_F(EventLoop, ModalLoopEndsWhenProcedureReturnsCloseOnKey)
{
    g_tessel.interval = 5;
    TslWindow* modal = tslCreateWindow(display, nullptr, tslPos(10, 10), tslSize(100, 80), 0, "dlg",
                                       CloseOnKey);
    ASSERT_TRUE(modal);
    xenv_wait_mapped(display, modal->xwin);
    Settle();
    XEvent ev{};
    ev.xkey.type = KeyPress;
    ev.xkey.display = display;
    ev.xkey.window = modal->xwin;
    ev.xkey.root = DefaultRootWindow(display);
    ev.xkey.keycode = XKeysymToKeycode(display, XK_Escape);
    ev.xkey.time = 100000;
    XSendEvent(display, modal->xwin, False, 0, &ev);
    XSync(display, False);
    EXPECT_EQ(1, tslMainLoop(display, modal));
}

// ---- end of a pass ------------------------------------------------------

int g_idleCalls = 0;
int g_debugEvents = 0;
int CountIdle(TslWindow*)
{
    g_idleCalls++;
    return TSLR_OK;
}
void CountDebug(Display*, TslWindow* w, XEvent* ev)
{
    if (w && ev->type == ClientMessage)
        g_debugEvents++;
}

TEST_F(EventLoop, CloseTakesEffectAtTheEndOfThePass)
{
    TslWindow* w = tslCreateWindow(display, nullptr, tslPos(0, 0), tslSize(100, 100), 0, "w",
                                   CountingProc);
    ASSERT_TRUE(w);
    tslSetIdolingCallback(w, CountIdle);
    tslSetTimerEvent(w, 1);
    tslSetDebugCallback(CountDebug);
    xenv_wait_mapped(display, w->xwin);
    Settle();
    g_idleCalls = 0;
    g_debugEvents = 0;

    Atom other = XInternAtom(display, "TSL_TEST_OTHER", False);
    SendClient(w, g_closeAtom, (long)g_closeAtom);
    SendClient(w, other, 1);
    SendClient(w, other, 2);
    XSync(display, False);

    EXPECT_EQ(1, tslMainLoop(display, nullptr));
    EXPECT_EQ(3, g_counts.client);
    EXPECT_EQ(3, g_debugEvents);
    EXPECT_EQ(1, g_idleCalls);
    EXPECT_EQ(1, g_counts.timer);
}

TEST_F(EventLoop, WindowManagerCloseEndsTheMainLoop)
{
    TslWindow* w = tslCreateWindow(display, nullptr, tslPos(0, 0), tslSize(100, 100), 0, "w", nullptr);
    ASSERT_TRUE(w);
    xenv_wait_mapped(display, w->xwin);
    Settle();
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w->xwin;
    ev.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)w->wmDeleteAtom;
    XSendEvent(display, w->xwin, False, 0, &ev);
    XSync(display, False);
    EXPECT_EQ(1, tslMainLoop(display, nullptr));
}

int KeyCallbackCalls = 0;
KeySym KeyCallbackLast = 0;
TslWindow* KeyCallbackTarget = nullptr;
int CloseOnSecondKey(TslWindow* target, XEvent*, KeySym key)
{
    KeyCallbackCalls++;
    KeyCallbackLast = key;
    KeyCallbackTarget = target;
    return KeyCallbackCalls >= 2 ? TSLR_CLOSE : TSLR_OK;
}

TEST_F(EventLoop, KeyCallbackSeesThrottledKeysOfItsTree)
{
    g_tessel.tenKey = 0;
    TslWindow* top = tslCreateWindow(display, nullptr, tslPos(0, 0), tslSize(200, 100), 0, "top", nullptr);
    TslWindow* child = tslCreateWindow(display, top, tslPos(10, 10), tslSize(50, 50), 0, "child", nullptr);
    ASSERT_TRUE(top && child);
    tslSetKeyEventCallback(top, CloseOnSecondKey);
    xenv_wait_mapped(display, child->xwin);
    Settle();
    KeyCode code = XKeysymToKeycode(display, XK_b);
    Time times[] = {5000, 5010, 5100};
    for (Time t : times) {
        XEvent ev{};
        ev.xkey.type = KeyPress;
        ev.xkey.display = display;
        ev.xkey.window = child->xwin;
        ev.xkey.root = DefaultRootWindow(display);
        ev.xkey.keycode = code;
        ev.xkey.time = t;
        XSendEvent(display, child->xwin, False, 0, &ev);
    }
    XSync(display, False);
    EXPECT_EQ(1, tslMainLoop(display, nullptr));
    EXPECT_EQ(2, KeyCallbackCalls);
    EXPECT_EQ((KeySym)XK_b, KeyCallbackLast);
    EXPECT_EQ(child, KeyCallbackTarget);
}

// ---- filters ---------------------------------------------------------------

TEST_F(EventLoop, CheckEventDropsForeignEventsAndKeepsToolkitOnes)
{
    TslWindow* w = tslCreateWindow(display, nullptr, tslPos(0, 0), tslSize(100, 100), 0, "w",
                                   CountingProc);
    ASSERT_TRUE(w);
    Window foreign = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    xenv_wait_mapped(display, w->xwin);
    Settle();

    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = foreign;
    ev.xclient.format = 32;
    XSendEvent(display, foreign, False, 0, &ev);
    SendClient(w, g_closeAtom, 0);
    XSync(display, False);
    ASSERT_EQ(2, XPending(display));
    EXPECT_EQ(1, tslCheckEvent(display, nullptr));
    EXPECT_EQ(1, XPending(display));
    EXPECT_EQ(0, tslCheckEvent(display, nullptr));
    EXPECT_EQ(1, XPending(display));
    XDestroyWindow(display, foreign);
}

TEST_F(EventLoop, CheckEventWithModalKeepsItsTreeAndDropsInputElsewhere)
{
    TslWindow* modal = tslCreateWindow(display, nullptr, tslPos(200, 0), tslSize(100, 100), 0, "m", nullptr);
    TslWindow* inner = tslCreateWindow(display, modal, tslPos(5, 5), tslSize(20, 20), 0, "i", nullptr);
    TslWindow* other = tslCreateWindow(display, nullptr, tslPos(0, 0), tslSize(100, 100), 0, "o",
                                       CountingProc);
    ASSERT_TRUE(modal && inner && other);
    xenv_wait_mapped(display, other->xwin);
    Settle();

    XEvent key{};
    key.xkey.type = KeyPress;
    key.xkey.window = other->xwin;
    XSendEvent(display, other->xwin, False, 0, &key);
    XClearArea(display, other->xwin, 0, 0, 10, 10, True);
    SendClient(inner, g_closeAtom, 0);
    XSync(display, False);

    int consumed = 0;
    while (XPending(display) && tslCheckEvent(display, modal) == 1)
        consumed++;
    EXPECT_EQ(2, consumed);
    EXPECT_EQ(0, g_counts.keys);
    EXPECT_EQ(1, g_counts.expose);
    ASSERT_EQ(1, XPending(display));
    XEvent next;
    XPeekEvent(display, &next);
    EXPECT_EQ(inner->xwin, next.xany.window);
}

TEST_F(EventLoop, HookLetsExposeThroughAndDropsInput)
{
    TslWindow* w = tslCreateWindow(display, nullptr, tslPos(0, 0), tslSize(100, 100), 0, "w",
                                   CountingProc);
    ASSERT_TRUE(w);
    xenv_wait_mapped(display, w->xwin);
    Settle();

    XEvent key{};
    key.xkey.type = KeyPress;
    key.xkey.window = w->xwin;
    XSendEvent(display, w->xwin, False, 0, &key);
    XEvent button{};
    button.xbutton.type = ButtonPress;
    button.xbutton.window = w->xwin;
    XSendEvent(display, w->xwin, False, 0, &button);
    XClearArea(display, w->xwin, 0, 0, 10, 10, True);
    XSync(display, False);

    // A long computation calling the hook between steps.
    for (int step = 0; step < 10; step++)
        EXPECT_EQ(1, tslHookEvent(display, nullptr));
    EXPECT_EQ(0, XPending(display));
    EXPECT_EQ(1, g_counts.expose);
    EXPECT_EQ(0, g_counts.keys);
    EXPECT_EQ(0, g_counts.buttons);
}

TEST_F(EventLoop, HookWithModalDispatchesItsTreeAndRaisesOnClickElsewhere)
{
    TslWindow* other = tslCreateWindow(display, nullptr, tslPos(0, 0), tslSize(300, 300), 0, "o", nullptr);
    TslWindow* modal = tslCreateWindow(display, nullptr, tslPos(100, 100), tslSize(100, 100), 0, "m",
                                       CountingProc);
    ASSERT_TRUE(other && modal);
    xenv_wait_mapped(display, modal->xwin);
    XRaiseWindow(display, other->xwin);
    Settle();
    ASSERT_LT(StackIndex(modal->xwin), StackIndex(other->xwin));

    XEvent button{};
    button.xbutton.type = ButtonPress;
    button.xbutton.window = other->xwin;
    XSendEvent(display, other->xwin, False, 0, &button);
    SendClient(modal, g_closeAtom, (long)g_closeAtom);
    XSync(display, False);

    EXPECT_EQ(1, tslHookEvent(display, modal));
    EXPECT_EQ(TSLR_CLOSE, tslHookEvent(display, modal));
    EXPECT_EQ(1, tslHookEvent(display, modal)) << "nothing pending";
    XSync(display, False);
    EXPECT_GT(StackIndex(modal->xwin), StackIndex(other->xwin));
    EXPECT_EQ(1, g_counts.client);
}

TEST_F(EventLoop, TimerReachesOnlyWindowsThatAskedForIt)
{
    TslWindow* a = tslCreateWindow(display, nullptr, tslPos(0, 0), tslSize(50, 50), 0, "a", CountingProc);
    TslWindow* b = tslCreateWindow(display, nullptr, tslPos(60, 0), tslSize(50, 50), 0, "b", CountingProc);
    ASSERT_TRUE(a && b);
    tslSetTimerEvent(a, 1);
    g_counts = Counts();
    EXPECT_EQ(1, tslTimerEvent());
    EXPECT_EQ(1, tslTimerEvent());
    EXPECT_EQ(2, g_counts.timer);
}

// The hook repaints from the redraw buffer at every screen depth.
void HookRepaintsFromBuffer(const char* envVar)
{
    Display* d = xenv_open(envVar);
    if (!d)
        GTEST_SKIP() << envVar << " not set";
    TslWindow* w = tslCreateWindow(d, nullptr, tslPos(40, 40), tslSize(60, 40), 0, "deep", nullptr);
    ASSERT_TRUE(w);
    xenv_wait_mapped(d, w->xwin);
    xenv_pump(d, 40);
    unsigned long mark = g_tessel.colors[4];
    XSetForeground(d, w->gc, mark);
    XFillRectangle(d, w->redrawPixmap, w->gc, 0, 0, 60, 40);
    XSetForeground(d, w->gc, w->backPixel);
    XClearArea(d, w->xwin, 0, 0, 0, 0, True);
    XSync(d, False);
    while (XPending(d))
        tslHookEvent(d, nullptr);
    XSync(d, False);
    EXPECT_EQ(mark, xenv_pixel(d, w->xwin, 30, 20));
    tslDestroyWindow(d, w);
    xenv_close();
}

TEST(EventLoopDepth, HookRepaintsAt16Bits) { HookRepaintsFromBuffer("TSL_DISPLAY_16"); }
TEST(EventLoopDepth, HookRepaintsAt8Bits) { HookRepaintsFromBuffer("TSL_DISPLAY_8"); }

// ---- placement --------------------------------------------------------------

void Geometry(Display* d, Window w, int* x, int* y)
{
    Window root;
    unsigned int width, height, border, depth;
    XGetGeometry(d, w, &root, x, y, &width, &height, &border, &depth);
}

TEST_F(EventLoop, CenteringKeepsTitleReachableAndCentresOverReference)
{
    TslWindow* big = tslCreateWindowEx(display, nullptr, tslPos(100, 100), tslSize(2000, 1500), 0, "big",
                                       nullptr, 0);
    ASSERT_TRUE(big);
    EXPECT_EQ(1, tslCenteringWnd(display, nullptr, big));
    XSync(display, False);
    int x, y;
    Geometry(display, big->xwin, &x, &y);
    EXPECT_EQ(4, x);
    EXPECT_EQ(16, y);
    EXPECT_EQ(4, big->rect.x);
    EXPECT_EQ(16, big->rect.y);

    TslWindow* small = tslCreateWindowEx(display, nullptr, tslPos(0, 0), tslSize(200, 100), 0, "s",
                                         nullptr, 0);
    ASSERT_TRUE(small);
    EXPECT_EQ(1, tslCenteringWnd(display, nullptr, small));
    XSync(display, False);
    Geometry(display, small->xwin, &x, &y);
    EXPECT_EQ(g_tessel.screenWidth / 2 - 100, x);
    EXPECT_EQ(g_tessel.screenHeight / 2 - 50, y);

    TslWindow* ref = tslCreateWindow(display, nullptr, tslPos(300, 200), tslSize(400, 300), 0, "r", nullptr);
    ASSERT_TRUE(ref);
    xenv_wait_mapped(display, ref->xwin);
    EXPECT_EQ(1, tslCenteringWnd(display, ref, small));
    XSync(display, False);
    Geometry(display, small->xwin, &x, &y);
    EXPECT_EQ(300 + 200 - 100, x);
    EXPECT_EQ(200 + 150 - 50, y);

    EXPECT_EQ(0, tslCenteringWnd(display, ref, nullptr));
}

TEST_F(EventLoop, ScreenCoordinateOfChildAddsParentOrigin)
{
    TslWindow* top = tslCreateWindow(display, nullptr, tslPos(100, 50), tslSize(300, 200), 0, "t", nullptr);
    TslWindow* child = tslCreateWindow(display, top, tslPos(10, 20), tslSize(40, 30), 0, "c", nullptr);
    ASSERT_TRUE(top && child);
    xenv_wait_mapped(display, child->xwin);
    TslRect r = tslGetScreenCoordinate(child, child->rect);
    EXPECT_EQ(110, r.x);
    EXPECT_EQ(70, r.y);
    EXPECT_EQ(40, r.width);
    EXPECT_EQ(30, r.height);
    TslRect same = tslGetScreenCoordinate(top, tslSetRect(7, 8, 9, 10));
    EXPECT_EQ(7, same.x);
    EXPECT_EQ(8, same.y);
    TslRect none = tslGetScreenCoordinate(nullptr, tslSetRect(1, 2, 3, 4));
    EXPECT_EQ(1, none.x);
}

TEST_F(EventLoop, FixWindowSetsSizeHintsFromRectOrStoredLimits)
{
    TslWindow* w = tslCreateWindow(display, nullptr, tslPos(0, 0), tslSize(320, 240), 0, "w", nullptr);
    ASSERT_TRUE(w);
    XSizeHints hints;
    long supplied;
    EXPECT_EQ(1, tslFixWindow(display, w, 1));
    ASSERT_TRUE(XGetWMNormalHints(display, w->xwin, &hints, &supplied));
    EXPECT_EQ(PMinSize | PMaxSize, hints.flags & (PMinSize | PMaxSize));
    EXPECT_EQ(320, hints.min_width);
    EXPECT_EQ(320, hints.max_width);
    EXPECT_EQ(240, hints.min_height);
    EXPECT_EQ(240, hints.max_height);
    EXPECT_EQ(1, tslFixWindow(display, w, 0));
    ASSERT_TRUE(XGetWMNormalHints(display, w->xwin, &hints, &supplied));
    EXPECT_EQ(0, hints.min_width);
    EXPECT_EQ(2 * g_tessel.screenWidth, hints.max_width);
    EXPECT_EQ(2 * g_tessel.screenHeight, hints.max_height);
    EXPECT_EQ(0, tslFixWindow(display, nullptr, 1));
}

}  // namespace
