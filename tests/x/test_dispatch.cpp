// Dispatch of events and toolkit messages down a window tree and the default
// window procedure's answers.
#include "testutil.h"
#include "xfixture.h"

#include "core/window_private.h"

namespace {

struct Seen {
    std::string who;
    int type, statusBefore;
    Window window;
};
std::vector<Seen> g_seen;
int g_reply = -1;             // -1: answer with the window's status
std::string g_closeAt;        // caption of the window that answers 130
TslWindow* g_destroyOnEvent;  // destroyed by its own procedure
int g_updates;

int recorder(Display* d, TslWindow* w, XEvent* ev)
{
    if (w == g_destroyOnEvent) {
        g_destroyOnEvent = nullptr;
        tslDestroyWindow(d, w);
        return TSLR_OK;
    }
    g_seen.push_back({w->caption ? w->caption : "?", ev->type, w->status, ev->xany.window});
    if (!g_closeAt.empty() && w->caption && g_closeAt == w->caption)
        return TSLR_CLOSE;
    return g_reply < 0 ? w->status : g_reply;
}

class DispatchTest : public XTest {
protected:
    void SetUp() override
    {
        XTest::SetUp();
        g_reply = -1;
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
    // Calls the tree and tells who saw the event: "who:status seen" each.
    std::string call(TslWindow* w, XEvent ev, int withChildren = 1)
    {
        g_seen.clear();
        int status = tslCallWndProc(d, w, &ev, withChildren);
        std::string out;
        for (const Seen& s : g_seen)
            out += s.who + ":" + std::to_string(s.statusBefore) + " ";
        return out + "-> " + std::to_string(status);
    }
};

}  // namespace

// The default procedure answers first; the own procedure sees its status and
// has the last word, which then flows on to the next sibling.
TEST_F(DispatchTest, StatusesOfTheDefaultProcedureAndTheTreeWalk)
{
    TslWindow* w = make(nullptr, "w");
    Atom protocols = XInternAtom(d, "WM_PROTOCOLS", False);
    XEvent close = event(ClientMessage, w->xwin), other = close, gone = event(DestroyNotify, w->xwin);
    close.xclient.format = other.xclient.format = 32;
    close.xclient.message_type = other.xclient.message_type = protocols;
    close.xclient.data.l[0] = (long)w->wmDeleteAtom;
    other.xclient.data.l[0] = 1;
    gone.xdestroywindow.window = w->xwin;
    EXPECT_EQ(call(w, event(KeyPress, w->xwin)), "w:0 -> 0");  // keys are not the default's
    EXPECT_EQ(call(w, close), "w:130 -> 130");
    EXPECT_EQ(call(w, other), "w:1 -> 1");
    EXPECT_EQ(call(w, gone), "w:140 -> 140");
    EXPECT_EQ(CheckTslPointer(w), 1);  // the record stays until destroyed
    tslSetDefaultWndProcEvent(w, 0);
    EXPECT_EQ(call(w, event(KeyPress, w->xwin)), "w:1 -> 1");
    TslWindow* bare = make(nullptr, "bare", nullptr);
    EXPECT_EQ(call(bare, event(KeyPress, bare->xwin)), "-> 0");
    EXPECT_EQ(tslCallWndProc(d, nullptr, &close, 1), 0);

    g_reply = 42;
    EXPECT_EQ(tslSendEvent(w, TSLM_PAINT), 42);  // synchronous, addressed to the window
    EXPECT_TRUE(g_seen.back().type == TSLM_PAINT && g_seen.back().window == w->xwin);
    // Setters of what a window shows repaint it.
    g_seen.clear();
    tslSetBorderColor(d, w, g_tessel.colors[1]);
    tslSetForeFontColor(d, w, g_tessel.colors[2]);
    tslSetCaption(w, "new");
    EXPECT_TRUE(g_seen.size() == 3 && g_seen[0].type == TSLM_PAINT && g_seen[2].type == TSLM_PAINT);
    tslSetWndProc(w, nullptr);
    EXPECT_EQ(tslSendEvent(w, TSLM_PAINT) * 10 + tslSendEvent(nullptr, TSLM_PAINT), 10);

    // The walk down a tree, its close and self-destruction.
    g_reply = -1;
    TslWindow* top = make(nullptr, "top");
    TslWindow* a = make(top, "a");
    make(a, "a1");
    make(top, "b");
    // Only addressed windows run their procedure.
    EXPECT_EQ(call(top, event(ButtonPress, a->xwin)), "a:1 -> 1");
    for (int i = 0; i < tslGetTotalWindows(); i++)
        tslSetAllEvent(tslGetWindowFromIndex(i), 1);
    XEvent press = event(ButtonPress, top->xwin);
    EXPECT_EQ(call(top, press), "top:1 a:1 a1:1 b:1 -> 1");
    EXPECT_EQ(call(top, press, 0), "top:1 -> 1");
    g_closeAt = "a1";
    EXPECT_EQ(call(top, press), "top:1 a:1 a1:1 -> 130");
    g_closeAt = "top";
    EXPECT_EQ(call(top, press), "top:1 -> 130");
    g_closeAt.clear();
    // The last sibling's answer is the tree's.
    g_reply = 7;
    EXPECT_EQ(call(top, event(ButtonPress, a->xwin)), "top:1 a:1 a1:1 b:1 -> 7");
    g_reply = -1;
    // A procedure that destroys its own window (which sees its destroy
    // message) ends its part of the walk only.
    TslWindow* victim = make(top, "victim");
    tslSetAllEvent(make(top, "after"), 1);
    tslSetAllEvent(victim, 1);
    tslSetAutoRedraw(victim, 1);
    g_destroyOnEvent = victim;
    EXPECT_EQ(call(top, event(ButtonPress, 0)), "top:1 a:1 a1:1 b:1 victim:1 after:1 -> 1");
    EXPECT_EQ(tslGetTotalChildWindows(top), 3);
}

// Update callbacks of the children run on ConfigureNotify only, also for a
// raw window that gets everything alone; a structure notice about a child,
// arriving at its parent, reaches the child as its own.
TEST_F(DispatchTest, UpdateCallbacksStructureEventsRawWindowsAndOutsideDestruction)
{
    TslWindow* top = make(nullptr, "top");
    TslWindow* a = make(top, "a");
    make(top, "b");
    tslSetUpdateWindowCallback(a, [](TslWindow*) { return ++g_updates; });
    XEvent conf = event(ConfigureNotify, top->xwin);
    conf.xconfigure.window = top->xwin;
    conf.xconfigure.width = 100;
    conf.xconfigure.height = 60;
    EXPECT_EQ(UpdateWindow(top, &conf) * 10 + UpdateWindow(a, &conf), 10);
    XEvent map = event(MapNotify, top->xwin), unmap = event(UnmapNotify, top->xwin);
    map.xmap.window = top->xwin;
    EXPECT_EQ(UpdateWindow(top, &map), 0);
    map.xmap.window = unmap.xunmap.window = a->xwin;
    EXPECT_EQ(call(top, map), "a:1 top:1 -> 1");
    EXPECT_TRUE(a->shown && !top->shown && g_seen[0].window == a->xwin);
    call(top, unmap);
    tslCallWndProc(d, top, &conf, 1);
    EXPECT_TRUE(!a->shown && g_updates == 2);

    // Raw: no default procedure (it would answer 0 to a key), no child.
    tslSetCustom(top, 1);
    top->status = 55;
    EXPECT_EQ(call(top, event(KeyPress, a->xwin)), "top:55 -> 55");
    conf.xconfigure.window = a->xwin;
    tslCallWndProc(d, top, &conf, 1);
    EXPECT_EQ(g_updates, 3);

    // A window destroyed behind the toolkit's back is reported and its
    // record kept until it is destroyed.
    TslWindow* gone = make(nullptr, "gone");
    XDestroyWindow(d, gone->xwin);
    g_seen.clear();
    xenv_pump(d, 60);
    EXPECT_TRUE(std::any_of(g_seen.begin(), g_seen.end(), [](const Seen& s) {
        return s.who == "gone" && s.type == DestroyNotify && s.statusBefore == TSLR_DESTROYED;
    }));
    EXPECT_EQ(tu::stderr_of([&] { EXPECT_EQ(tslDestroyWindow(d, gone), 1); }), "");
}
