// Window creation and destruction, the window list and children arrays,
// lookups, and what the server holds of a window: its name, protocols,
// events, size hints and geometry.
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

class WindowTest : public XTest {
protected:
    TslWindow* make(TslWindow* parent, const char* caption, TslWndProc proc = nullptr)
    {
        return tslCreateWindowEx(d, parent, tslPos(5, 6), tslSize(120, 80), 1, caption, proc, 0);
    }
    // Minimum and maximum width and height the window manager is told.
    std::vector<int> hints(TslWindow* w)
    {
        XSizeHints h;
        long supplied = 0;
        if (!XGetWMNormalHints(d, w->xwin, &h, &supplied) || (h.flags & (PMinSize | PMaxSize)) != (PMinSize | PMaxSize))
            return {};
        return {h.min_width, h.min_height, h.max_width, h.max_height};
    }
    // x, y, width and height on the server.
    std::vector<int> geometry(TslWindow* w)
    {
        XSync(d, False);
        XWindowAttributes a;
        XGetWindowAttributes(d, w->xwin, &a);
        return {a.x, a.y, a.width, a.height};
    }
};

}  // namespace

TEST_F(WindowTest, NewWindowOnTheServerItsSizeHintsAndGeometry)
{
    TslWindow* w = make(nullptr, "fresh");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 60, 40), g_tessel.backPixel);  // the buffer starts as background
    Atom* protocols = nullptr;
    int count = 0;
    ASSERT_TRUE(XGetWMProtocols(d, w->xwin, &protocols, &count));
    EXPECT_TRUE(count == 1 && protocols[0] == XInternAtom(d, "WM_DELETE_WINDOW", False));
    XFree(protocols);
    char* name = nullptr;
    EXPECT_TRUE(XFetchName(d, w->xwin, &name) && name && std::string(name) == "fresh");
    XFree(name);

    // The hints after a call that must answer 1.
    auto after = [&](int result) { return result == 1 ? hints(w) : std::vector<int>{}; };
    const int sw = 2 * g_tessel.screenWidth, sh = 2 * g_tessel.screenHeight;
    EXPECT_EQ(hints(w), (std::vector<int>{0, 0, sw, sh}));
    EXPECT_EQ(after(tslFixWindow(d, w, 1)), (std::vector<int>{120, 80, 120, 80}));
    EXPECT_EQ(after(tslFixWindow(d, w, 0)), (std::vector<int>{0, 0, sw, sh}));
    EXPECT_EQ(after(tslSetMinMaxSize(w, 10, 20, 300, 400)), (std::vector<int>{10, 20, 300, 400}));
    EXPECT_EQ(tslFixWindow(d, nullptr, 1) + tslSetMinMaxSize(nullptr, 1, 1, 1, 1), 0);

    // Geometry, and geometry strings within the size limits.
    EXPECT_EQ(tslMoveResizeWindow(w, tslPos(30, 40), tslSize(60, 70)), 1);
    EXPECT_EQ(geometry(w), (std::vector<int>{30, 40, 60, 70}));
    EXPECT_EQ(w->rect.width, 120);  // follows only when ConfigureNotify is dispatched
    // geometry string, then x, y, width and height on the server
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"300x150+40+50", {40, 50, 300, 150}},
        // missing parts come from the window's last known rectangle
        {"+5+6", {5, 6, 120, 80}}, {"120x80-0-0", {g_tessel.screenWidth - 120, g_tessel.screenHeight - 80, 120, 80}},
        {"1000x10+0+0", {0, 0, 400, 120}}, {"10x1000+0+0", {0, 0, 250, 300}},
    };
    for (const auto& [text, want] : cases) {
        if (text == cases[3].first)  // from here on within 250 x 120 .. 400 x 300
            tslSetMinMaxSize(w, 250, 120, 400, 300);
        EXPECT_EQ(tslSetGeometry(w, text) == 1 ? geometry(w) : std::vector<int>{}, want) << text;
    }
    EXPECT_EQ(tslSetGeometry(nullptr, "10x10") + tslSetGeometry(w, "") + tslSetGeometry(w, nullptr), 0);
}

TEST_F(WindowTest, ListChildrenAndLookupsFollowTreeChanges)
{
    TslWindow* top = make(nullptr, "top", logging_proc);
    TslWindow* a = make(top, "a", logging_proc);
    TslWindow* b = make(top, "b", logging_proc);
    TslWindow* c = make(top, "c", logging_proc);
    TslWindow* grand = make(b, "grand", logging_proc);
    ASSERT_TRUE(top && a && b && c && grand);
    ASSERT_EQ(tslGetTotalWindows(), 5);
    EXPECT_TRUE(tslGetWindowFromIndex(0) == top && tslGetWindowFromIndex(4) == grand && !g_tslTesselManager[5]);
    EXPECT_TRUE(!tslGetWindowFromIndex(5) && !tslGetWindowFromIndex(-1));
    ASSERT_EQ(tslGetTotalChildWindows(top), 3);
    EXPECT_TRUE(top->children[0] == a && top->children[1] == b && top->children[2] == c && !top->children[3]);
    EXPECT_TRUE(tslGetChildWindow(top, "c") == c && !tslGetChildWindow(top, "grand"));
    EXPECT_TRUE(tslGetChildWindowFromXWindow(top, b->xwin) == b && !tslGetChildWindowFromIndex(top, 3));
    EXPECT_TRUE(tslGetTopWindow(grand) == top && tslGetParentWindow(grand) == b && tslGetTotalChildWindows(a) == 0);
    EXPECT_TRUE(CheckChildWindow(top, grand->xwin) && !CheckChildWindow(a, grand->xwin));

    // Removing a middle child closes the gap and keeps the order.
    tslDestroyWindow(d, b);
    ASSERT_TRUE(tslGetTotalWindows() == 3 && tslGetTotalChildWindows(top) == 2);
    EXPECT_TRUE(top->children[0] == a && top->children[1] == c);
    EXPECT_TRUE(!CheckTslPointer(b) && !CheckTslPointer(grand));
    EXPECT_EQ(tslDestroyWindow(d, b) + tslDestroyWindow(d, nullptr), 0);  // once only

    // The parent goes first, then its children in order, then the callback;
    // the list is empty and the X windows are gone.
    g_log.clear();
    tslSetDestructCallBack(top, [] { g_log.push_back("callback"); });
    make(a, "a1", logging_proc);
    Window xtop = top->xwin;
    EXPECT_EQ(tslDestroyWindow(d, top), 1);
    EXPECT_EQ(g_log, (std::vector<std::string>{"destroy:top", "destroy:a", "destroy:a1", "destroy:c", "callback"}));
    EXPECT_EQ(g_tslTesselManager, nullptr);
    XWindowAttributes attrs;
    xerr_trap_begin(d);
    XGetWindowAttributes(d, xtop, &attrs);
    EXPECT_EQ(xerr_trap_end(d), BadWindow);

    // Lookups by caption: the oldest of equal names first.
    TslWindow* unnamed = make(nullptr, nullptr);
    TslWindow* older = make(nullptr, "twin");
    TslWindow* newer = make(nullptr, "twin");
    ASSERT_TRUE(unnamed && older && newer);
    EXPECT_EQ(tslGetWindow("twin"), older);
    EXPECT_TRUE(!tslGetWindow(nullptr) && !tslGetWindow("") && !unnamed->caption);
    char* name = nullptr;
    EXPECT_FALSE(XFetchName(d, unnamed->xwin, &name) && name);

    tslDestroyWindow(d, older);
    EXPECT_EQ(tslGetWindow("twin"), newer);
    EXPECT_TRUE(tslGetWindowFromXWindow(newer->xwin) == newer && !tslGetWindowFromXWindow(12345));
    tslSetCaption(unnamed, "renamed");
    EXPECT_EQ(tslGetWindow("renamed"), unnamed);
    tslSetCaption(unnamed, nullptr);
    EXPECT_EQ(tslGetWindow("renamed"), nullptr);
}

TEST_F(WindowTest, OptionIsFreedAndTooLargeBuffersFailWithoutExit)
{
    size_t before = tu::live_bytes();
    TslWindow* w = make(nullptr, "w");
    tslSetOption(w, tslAlloc(1 << 20));
    tslDestroyWindow(d, w);
    EXPECT_LT(tu::live_bytes(), before + (1 << 19));

    // Wider than the server will allocate for one pixmap, and empty.
    int windows = tslGetTotalWindows();
    for (unsigned int size : {tslSize(40000, 10), tslSize(0, 10)}) {
        EXPECT_EQ(tu::stderr_of([&] { EXPECT_EQ(tslCreateWindowEx(d, nullptr, 0, size, 0, "huge", nullptr, 0), nullptr); }),
                  "Error: Can't create pixmap (unknown error).\n");
        EXPECT_TRUE(tslGetTotalWindows() == windows && !tslGetWindow("huge"));
    }
    EXPECT_NE(make(nullptr, "after"), nullptr);  // the connection is still usable
}
