// Dispatch of events and toolkit messages down a window tree and the default
// window procedure's answers.
#include "xfixture.h"

#include "core/window_private.h"

namespace {

struct Seen {
    std::string who;
    int type;
    int statusBefore;
    Window window;
};
std::vector<Seen> g_seen;
int g_reply = -1;            // -1: answer with the window's status
std::string g_closeAt;       // caption of the window that answers 130
TslWindow* g_destroyOnEvent; // destroyed by its own procedure

int recorder(Display*, TslWindow* w, XEvent* ev)
{
    g_seen.push_back({w->caption ? w->caption : "?", ev->type, w->status, ev->xany.window});
    if (!g_closeAt.empty() && w->caption && g_closeAt == w->caption)
        return TSLR_CLOSE;
    return g_reply < 0 ? w->status : g_reply;
}

int self_destroyer(Display* d, TslWindow* w, XEvent* ev)
{
    if (ev->type == ButtonPress && w == g_destroyOnEvent) {
        g_destroyOnEvent = nullptr;
        tslDestroyWindow(d, w);
    }
    return TSLR_OK;
}

int g_updates;
int count_update(TslWindow*)
{
    return ++g_updates;
}

class DispatchTest : public XTest {
protected:
    void SetUp() override
    {
        XTest::SetUp();
        g_seen.clear();
        g_reply = -1;
        g_closeAt.clear();
        g_updates = 0;
    }
    TslWindow* make(TslWindow* parent, const char* caption, TslWndProc proc = recorder)
    {
        return tslCreateWindowEx(d, parent, tslPos(0, 0), tslSize(100, 60), 0, caption, proc, 0);
    }
    XEvent event(int type, Window win)
    {
        XEvent ev{};
        ev.type = type;
        ev.xany.display = d;
        ev.xany.window = win;
        return ev;
    }
    std::vector<std::string> order()
    {
        std::vector<std::string> out;
        for (const Seen& s : g_seen)
            out.push_back(s.who);
        return out;
    }
};

TEST_F(DispatchTest, DefaultProcedureRunsBeforeOwn)
{
    TslWindow* w = make(nullptr, "w");
    XEvent key = event(KeyPress, w->xwin);
    // The default procedure does not handle keys: the own procedure sees 0.
    EXPECT_EQ(tslCallWndProc(d, w, &key, 1), TSLR_NONE);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].statusBefore, TSLR_NONE);

    g_seen.clear();
    tslSetDefaultWndProcEvent(w, 0);
    EXPECT_EQ(tslCallWndProc(d, w, &key, 1), TSLR_OK);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].statusBefore, TSLR_OK);

    TslWindow* bare = make(nullptr, "bare", nullptr);
    key.xany.window = bare->xwin;
    EXPECT_EQ(tslCallWndProc(d, bare, &key, 1), TSLR_NONE);
    EXPECT_EQ(tslCallWndProc(d, nullptr, &key, 1), 0);
}

TEST_F(DispatchTest, ChildrenWalkedInOrderAndCloseStops)
{
    TslWindow* top = make(nullptr, "top");
    TslWindow* a = make(top, "a");
    make(a, "a1");
    make(top, "b");
    for (int i = 0; i < tslGetTotalWindows(); i++)
        tslSetAllEvent(tslGetWindowFromIndex(i), 1);
    XEvent ev = event(ButtonPress, top->xwin);
    EXPECT_EQ(tslCallWndProc(d, top, &ev, 1), TSLR_OK);
    EXPECT_EQ(order(), (std::vector<std::string>{"top", "a", "a1", "b"}));

    g_seen.clear();
    g_closeAt = "a1";
    EXPECT_EQ(tslCallWndProc(d, top, &ev, 1), TSLR_CLOSE);
    EXPECT_EQ(order(), (std::vector<std::string>{"top", "a", "a1"}));

    g_seen.clear();
    g_closeAt = "top";
    EXPECT_EQ(tslCallWndProc(d, top, &ev, 1), TSLR_CLOSE);
    EXPECT_EQ(order(), std::vector<std::string>{"top"});

    // Without children only the window itself runs.
    g_seen.clear();
    g_closeAt.clear();
    tslCallWndProc(d, top, &ev, 0);
    EXPECT_EQ(order(), std::vector<std::string>{"top"});
}

TEST_F(DispatchTest, OnlyAddressedWindowsRunTheirProcedure)
{
    TslWindow* top = make(nullptr, "top");
    TslWindow* a = make(top, "a");
    make(top, "b");
    XEvent ev = event(ButtonPress, a->xwin);
    tslCallWndProc(d, top, &ev, 1);
    EXPECT_EQ(order(), std::vector<std::string>{"a"});
}

TEST_F(DispatchTest, StatusFlowsFromSiblingToSibling)
{
    TslWindow* top = make(nullptr, "top");
    TslWindow* a = make(top, "a");
    TslWindow* b = make(top, "b");
    tslSetAllEvent(a, 1);
    tslSetAllEvent(b, 1);
    tslSetDefaultWndProcEvent(b, 0);
    g_reply = 7;
    XEvent ev = event(ButtonPress, a->xwin);
    EXPECT_EQ(tslCallWndProc(d, top, &ev, 1), 7);
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].who, "a");
    EXPECT_EQ(g_seen[1].who, "b");
}

TEST_F(DispatchTest, RawModeWindowGetsEverythingAlone)
{
    TslWindow* top = make(nullptr, "top");
    TslWindow* child = make(top, "child");
    tslSetCustom(top, 1);
    tslSetUpdateWindowCallback(child, count_update);
    XEvent ev = event(KeyPress, child->xwin);
    top->status = 55;
    EXPECT_EQ(tslCallWndProc(d, top, &ev, 1), 55);
    // No default procedure ran (it would have set 0 for a key), no child ran.
    EXPECT_EQ(order(), std::vector<std::string>{"top"});
    EXPECT_EQ(g_seen[0].statusBefore, 55);

    XEvent conf = event(ConfigureNotify, top->xwin);
    conf.xconfigure.window = child->xwin;
    tslCallWndProc(d, top, &conf, 1);
    EXPECT_EQ(g_updates, 1);
}

TEST_F(DispatchTest, CloseAndDestroyStatuses)
{
    TslWindow* w = make(nullptr, "w");
    XEvent cm = event(ClientMessage, w->xwin);
    cm.xclient.format = 32;
    cm.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    cm.xclient.data.l[0] = (long)w->wmDeleteAtom;
    EXPECT_EQ(tslCallWndProc(d, w, &cm, 1), TSLR_CLOSE);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].statusBefore, TSLR_CLOSE);

    g_seen.clear();
    cm.xclient.data.l[0] = 1;
    EXPECT_EQ(tslCallWndProc(d, w, &cm, 1), TSLR_OK);

    XEvent gone = event(DestroyNotify, w->xwin);
    gone.xdestroywindow.window = w->xwin;
    g_seen.clear();
    EXPECT_EQ(tslCallWndProc(d, w, &gone, 1), TSLR_DESTROYED);
    EXPECT_EQ(g_seen[0].statusBefore, TSLR_DESTROYED);
    EXPECT_EQ(CheckTslPointer(w), 1);  // the record stays until destroyed
}

TEST_F(DispatchTest, StructureEventsForwardedToChild)
{
    TslWindow* top = make(nullptr, "top");
    TslWindow* child = make(top, "child");
    XEvent map = event(MapNotify, top->xwin);
    map.xmap.event = top->xwin;
    map.xmap.window = child->xwin;
    tslCallWndProc(d, top, &map, 1);
    EXPECT_EQ(child->shown, 1);
    EXPECT_EQ(top->shown, 0);
    // The child sees the event as its own.
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].who, "child");
    EXPECT_EQ(g_seen[0].window, child->xwin);
    EXPECT_EQ(g_seen[1].who, "top");

    XEvent unmap = event(UnmapNotify, top->xwin);
    unmap.xunmap.window = child->xwin;
    tslCallWndProc(d, top, &unmap, 1);
    EXPECT_EQ(child->shown, 0);
}

TEST_F(DispatchTest, RealMapAndConfigureReachTheTree)
{
    TslWindow* top = make(nullptr, "top", nullptr);
    TslWindow* child = make(top, "child", nullptr);
    tslSetUpdateWindowCallback(child, count_update);
    tslShowWindow(child, 1);
    tslShowWindow(top, 1);
    xenv_wait_mapped(d, top->xwin);
    xenv_pump(d, 100);
    EXPECT_EQ(top->shown, 1);
    EXPECT_EQ(child->shown, 1);

    XMoveWindow(d, child->xwin, 10, 12);
    xenv_pump(d, 100);
    EXPECT_EQ(child->rect.x, 10);
    EXPECT_EQ(child->rect.y, 12);
    EXPECT_EQ(child->resized, 0);
    EXPECT_GE(g_updates, 1);

    tslShowWindow(top, 0);
    xenv_pump(d, 100);
    EXPECT_EQ(top->shown, 0);
}

TEST_F(DispatchTest, WindowDestroyedFromOutsideKeepsItsRecord)
{
    TslWindow* w = make(nullptr, "w");
    XDestroyWindow(d, w->xwin);
    xenv_pump(d, 60);
    bool reported = false;
    for (const Seen& s : g_seen)
        reported |= s.type == DestroyNotify && s.statusBefore == TSLR_DESTROYED;
    EXPECT_TRUE(reported);
    ASSERT_EQ(CheckTslPointer(w), 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(tslDestroyWindow(d, w), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(tslGetTotalWindows(), 0);
}

TEST_F(DispatchTest, SendEventIsSynchronous)
{
    TslWindow* w = make(nullptr, "w");
    g_reply = 42;
    EXPECT_EQ(tslSendEvent(w, TSLM_PAINT), 42);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].type, TSLM_PAINT);
    EXPECT_EQ(g_seen[0].window, w->xwin);
    EXPECT_EQ(tslSendEvent(nullptr, TSLM_PAINT), 0);

    tslSetWndProc(w, nullptr);
    EXPECT_EQ(tslSendEvent(w, TSLM_PAINT), 1);
}

TEST_F(DispatchTest, AttributeSettersRepaint)
{
    TslWindow* w = make(nullptr, "w");
    tslSetBorderColor(d, w, g_tessel.colors[1]);
    tslSetForeFontColor(d, w, g_tessel.colors[2]);
    tslSetCaption(w, "new");
    int paints = 0;
    for (const Seen& s : g_seen)
        paints += s.type == TSLM_PAINT;
    EXPECT_EQ(paints, 3);
}

TEST_F(DispatchTest, ProcedureMayDestroyItsOwnWindow)
{
    TslWindow* top = make(nullptr, "top");
    TslWindow* victim = make(top, "victim", self_destroyer);
    TslWindow* after = make(top, "after");
    tslSetAllEvent(after, 1);
    tslSetAutoRedraw(victim, 1);
    g_destroyOnEvent = victim;
    XEvent ev = event(ButtonPress, victim->xwin);
    tslCallWndProc(d, top, &ev, 1);
    EXPECT_EQ(tslGetTotalChildWindows(top), 1);
    EXPECT_EQ(order(), std::vector<std::string>{"after"});
}

TEST_F(DispatchTest, UpdateWindowOnlyForConfigure)
{
    TslWindow* top = make(nullptr, "top");
    TslWindow* a = make(top, "a");
    make(top, "b");
    tslSetUpdateWindowCallback(a, count_update);
    XEvent conf = event(ConfigureNotify, top->xwin);
    conf.xconfigure.window = top->xwin;
    conf.xconfigure.width = 100;
    conf.xconfigure.height = 60;
    EXPECT_EQ(UpdateWindow(top, &conf), 1);
    EXPECT_EQ(g_updates, 1);
    XEvent key = event(KeyPress, top->xwin);
    EXPECT_EQ(UpdateWindow(top, &key), 0);
    EXPECT_EQ(UpdateWindow(a, &conf), 0);
    tslCallWndProc(d, top, &conf, 1);
    EXPECT_EQ(g_updates, 2);
}

}  // namespace
