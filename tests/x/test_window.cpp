// Window creation and destruction, the window list and children arrays,
// lookups, and the X-side state a new window is given.
#include "testutil.h"
#include "xfixture.h"

#include <X11/Xutil.h>

#include "core/window_private.h"
#include "core/xerror.h"

namespace {

std::vector<std::string> g_log;

int logging_proc(Display*, TslWindow* w, XEvent* ev)
{
    if (ev->type == TSLM_DESTROY)
        g_log.push_back(std::string("destroy:") + (w->caption ? w->caption : "?"));
    return w->status;
}

void on_destruct()
{
    g_log.push_back("callback");
}

class WindowTest : public XTest {
protected:
    void SetUp() override
    {
        XTest::SetUp();
        g_log.clear();
    }
    TslWindow* make(TslWindow* parent, const char* caption, TslWndProc proc = nullptr)
    {
        return tslCreateWindowEx(d, parent, tslPos(5, 6), tslSize(120, 80), 1, caption, proc, 0);
    }
};

TEST_F(WindowTest, FreshRecordHoldsCreationValues)
{
    TslWindow* w = make(nullptr, "fresh");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->xparent, RootWindow(d, 0));
    EXPECT_EQ(std::vector<int>({w->rect.x, w->rect.y, w->rect.width, w->rect.height, w->bufferRect.width,
                                w->bufferRect.height, w->redrawBuffer, w->shown}),
              std::vector<int>({5, 6, 120, 80, 120, 80, 1, 0}));
    EXPECT_EQ(w->wndProc, tslWndProc_Default);

    // The buffer starts painted with the background.
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 60, 40), g_tessel.backPixel);

    XSizeHints hints;
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(d, w->xwin, &hints, &supplied));
    EXPECT_EQ(hints.flags & (PMinSize | PMaxSize), PMinSize | PMaxSize);
    EXPECT_EQ(hints.max_width, 2 * g_tessel.screenWidth);
    EXPECT_EQ(hints.max_height, 2 * g_tessel.screenHeight);
    EXPECT_EQ(hints.min_width, 0);

    Atom* protocols = nullptr;
    int count = 0;
    ASSERT_TRUE(XGetWMProtocols(d, w->xwin, &protocols, &count));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(protocols[0], XInternAtom(d, "WM_DELETE_WINDOW", False));
    XFree(protocols);

    char* name = nullptr;
    ASSERT_TRUE(XFetchName(d, w->xwin, &name));
    EXPECT_STREQ(name, "fresh");
    XFree(name);

    XWindowAttributes attrs;
    XGetWindowAttributes(d, w->xwin, &attrs);
    EXPECT_EQ(attrs.your_event_mask, TSL_EVENT_MASK);
}

TEST_F(WindowTest, LookupsByCaption)
{
    TslWindow* unnamed = make(nullptr, nullptr);
    TslWindow* older = make(nullptr, "twin");
    TslWindow* newer = make(nullptr, "twin");
    ASSERT_TRUE(unnamed && older && newer);
    EXPECT_EQ(tslGetWindow("twin"), older);
    EXPECT_EQ(tslGetWindow(nullptr), nullptr);
    EXPECT_EQ(tslGetWindow(""), nullptr);
    EXPECT_EQ(unnamed->caption, nullptr);
    char* name = nullptr;
    EXPECT_FALSE(XFetchName(d, unnamed->xwin, &name) && name);

    tslDestroyWindow(d, older);
    EXPECT_EQ(tslGetWindow("twin"), newer);
    EXPECT_EQ(tslGetWindowFromXWindow(newer->xwin), newer);
    EXPECT_EQ(tslGetWindowFromXWindow(12345), nullptr);

    tslSetCaption(unnamed, "renamed");
    EXPECT_EQ(tslGetWindow("renamed"), unnamed);
    tslSetCaption(unnamed, nullptr);
    EXPECT_EQ(tslGetWindow("renamed"), nullptr);
}

TEST_F(WindowTest, ListAndChildrenFollowTreeChanges)
{
    EXPECT_EQ(g_tslTesselManager, nullptr);
    TslWindow* top = make(nullptr, "top");
    TslWindow* a = make(top, "a");
    TslWindow* b = make(top, "b");
    TslWindow* c = make(top, "c");
    TslWindow* grand = make(b, "grand");
    ASSERT_TRUE(top && a && b && c && grand);
    EXPECT_EQ(b->xparent, top->xwin);

    ASSERT_EQ(tslGetTotalWindows(), 5);
    EXPECT_EQ(tslGetWindowFromIndex(0), top);
    EXPECT_EQ(tslGetWindowFromIndex(4), grand);
    EXPECT_EQ(tslGetWindowFromIndex(tslGetTotalWindows()), nullptr);
    EXPECT_EQ(tslGetWindowFromIndex(-1), nullptr);
    EXPECT_EQ(g_tslTesselManager[5], nullptr);

    ASSERT_EQ(tslGetTotalChildWindows(top), 3);
    EXPECT_EQ(top->children[0], a);
    EXPECT_EQ(top->children[1], b);
    EXPECT_EQ(top->children[2], c);
    EXPECT_EQ(top->children[3], nullptr);
    EXPECT_EQ(tslGetChildWindow(top, "c"), c);
    EXPECT_EQ(tslGetChildWindow(top, "grand"), nullptr);
    EXPECT_EQ(tslGetChildWindowFromXWindow(top, b->xwin), b);
    EXPECT_EQ(tslGetChildWindowFromIndex(top, 3), nullptr);
    EXPECT_EQ(tslGetTotalChildWindows(a), 0);
    EXPECT_EQ(tslGetTopWindow(grand), top);
    EXPECT_EQ(tslGetParentWindow(grand), b);

    EXPECT_EQ(CheckChildWindow(top, grand->xwin), 1);
    EXPECT_EQ(CheckChildWindow(a, grand->xwin), 0);
    EXPECT_EQ(CheckTslPointer(grand), 1);

    // Removing a middle child closes the gap and keeps the order.
    tslDestroyWindow(d, b);
    EXPECT_EQ(tslGetTotalWindows(), 3);
    ASSERT_EQ(tslGetTotalChildWindows(top), 2);
    EXPECT_EQ(top->children[0], a);
    EXPECT_EQ(top->children[1], c);
    EXPECT_EQ(CheckTslPointer(b), 0);
    EXPECT_EQ(CheckTslPointer(grand), 0);

    tslDestroyWindow(d, a);
    tslDestroyWindow(d, c);
    EXPECT_EQ(top->children, nullptr);
    tslDestroyWindow(d, top);
    EXPECT_EQ(g_tslTesselManager, nullptr);
    EXPECT_EQ(tslGetTotalWindows(), 0);
}

TEST_F(WindowTest, ParentWithThreeChildrenLeavesListEmpty)
{
    TslWindow* top = make(nullptr, "top");
    for (int i = 0; i < 3; i++)
        ASSERT_NE(make(top, nullptr), nullptr);
    Window xtop = top->xwin;
    ASSERT_EQ(tslGetTotalWindows(), 4);
    EXPECT_EQ(tslDestroyWindow(d, top), 1);
    EXPECT_EQ(g_tslTesselManager, nullptr);
    XSync(d, False);
    XWindowAttributes attrs;
    xerr_trap_begin(d);
    XGetWindowAttributes(d, xtop, &attrs);
    EXPECT_EQ(xerr_trap_end(d), BadWindow);
}

TEST_F(WindowTest, DestroyMessageReachesParentBeforeChildren)
{
    TslWindow* top = make(nullptr, "top", logging_proc);
    TslWindow* a = make(top, "a", logging_proc);
    make(a, "a1", logging_proc);
    make(top, "b", logging_proc);
    tslSetDestructCallBack(top, on_destruct);
    tslDestroyWindow(d, top);
    std::vector<std::string> want = {"destroy:top", "destroy:a", "destroy:a1", "destroy:b",
                                     "callback"};
    EXPECT_EQ(g_log, want);
}

TEST_F(WindowTest, DestroyingTwiceOrNullIsRefused)
{
    TslWindow* w = make(nullptr, "once");
    EXPECT_EQ(tslDestroyWindow(d, nullptr), 0);
    EXPECT_EQ(tslDestroyWindow(d, w), 1);
    EXPECT_EQ(tslDestroyWindow(d, w), 0);
}

TEST_F(WindowTest, OptionIsFreedWithWindow)
{
    TslWindow* w = make(nullptr, "w");
    void* data = tslAlloc(64);
    ASSERT_NE(data, nullptr);
    tslSetOption(w, data);
    tslDestroyWindow(d, w);  // a leak here shows under the sanitizer build
    SUCCEED();
}

TEST_F(WindowTest, BufferTooLargeFailsWithoutExit)
{
    int before = tslGetTotalWindows();
    TslWindow* w = nullptr;
    // Wider than the server will allocate for one pixmap.
    std::string err = tu::stderr_of([&] {
        w = tslCreateWindowEx(d, nullptr, tslPos(0, 0), tslSize(40000, 10), 0, "huge", nullptr, 0);
    });
    EXPECT_EQ(w, nullptr);
    EXPECT_EQ(err, "Error: Can't create pixmap (unknown error).\n");
    EXPECT_EQ(tslGetTotalWindows(), before);
    EXPECT_EQ(tslGetWindow("huge"), nullptr);

    EXPECT_EQ(tu::stderr_of([&] {
                  EXPECT_EQ(tslCreateWindowEx(d, nullptr, tslPos(0, 0), tslSize(0, 10), 0, "zero", nullptr, 0), nullptr);
              }),
              "Error: Can't create pixmap (unknown error).\n");
    // The connection is still usable afterwards.
    EXPECT_NE(make(nullptr, "after"), nullptr);
}

TEST_F(WindowTest, SettersReachTheServer)
{
    TslWindow* w = make(nullptr, "w");
    unsigned long red = g_tessel.colors[2];
    EXPECT_EQ(tslSetBackColor(d, w, red), 1);
    EXPECT_EQ(w->backPixel, red);
    EXPECT_EQ(tslSetBackColor(d, nullptr, red), 0);
    EXPECT_EQ(tslSetMinMaxSize(w, 10, 20, 300, 400), 1);
    XSizeHints hints;
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(d, w->xwin, &hints, &supplied));
    EXPECT_EQ(hints.flags & 48, 48);
    EXPECT_EQ(hints.min_width, 10);
    EXPECT_EQ(hints.max_height, 400);
    EXPECT_EQ(tslSetTimerEvent(w, 7), 1);
    EXPECT_EQ(w->timerEvent, 1);

    tslMoveResizeWindow(w, tslPos(30, 40), tslSize(60, 70));
    XSync(d, False);
    XWindowAttributes attrs;
    XGetWindowAttributes(d, w->xwin, &attrs);
    EXPECT_EQ(attrs.x, 30);
    EXPECT_EQ(attrs.width, 60);
    EXPECT_EQ(w->rect.width, 120);  // follows only when ConfigureNotify is dispatched
}

}  // namespace
