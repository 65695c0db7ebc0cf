// Key input against Xvfb: key symbols thinned to one per interval, and the
// text of key events without an input context.
#include <cstring>

#include "xfixture.h"

namespace {

class KeyInput : public XTest {
protected:
    TslWindow* w = nullptr;
    void SetUp() override
    {
        XTest::SetUp();
        if (!d)
            return;
        w = tslCreateWindowEx(d, nullptr, tslPos(0, 0), tslSize(100, 100), 0, "keys", nullptr, 0);
        ASSERT_TRUE(w);
        g_tessel.interval = 35;
        g_tessel.tenKey = 0;
        g_tessel.charCode = TSL_CODE_EUC;
    }
    XEvent key(KeySym sym, Time time, unsigned int state = 0, int type = KeyPress)
    {
        XEvent ev{};
        ev.xkey.type = type;
        ev.xkey.display = d;
        ev.xkey.window = w->xwin;
        ev.xkey.root = DefaultRootWindow(d);
        ev.xkey.keycode = XKeysymToKeycode(d, sym);
        ev.xkey.state = state;
        ev.xkey.time = time;
        return ev;
    }
    KeySym get(KeySym sym, Time time, unsigned int state = 0, int type = KeyPress)
    {
        XEvent ev = key(sym, time, state, type);
        return tslGetKey(w, &ev);
    }
};

const KeySym kDropped = (KeySym)-1;

}  // namespace

TEST_F(KeyInput, KeysFasterThanTheIntervalAreDropped)
{
    EXPECT_EQ(get(XK_a, 100000), (KeySym)XK_a);
    EXPECT_EQ(w->keyPressTime, 100000u);
    EXPECT_EQ(get(XK_a, 100010), kDropped);
    EXPECT_EQ(w->keyPressTime, 100000u) << "a dropped key does not move the time";
    EXPECT_EQ(get(XK_a, 100035), (KeySym)XK_a);
    EXPECT_EQ(get(XK_a, 100040, 0, KeyRelease), kDropped) << "releases count as keys too";
    // the server's time wraps around
    tslSetKeyPressTime(w, 0xFFFFFFF0UL);
    EXPECT_EQ(get(XK_a, 0x10), kDropped);
    EXPECT_EQ(get(XK_a, 0x20), (KeySym)XK_a);

    EXPECT_EQ(get(XK_a, 200000, ShiftMask), (KeySym)XK_A);
    XEvent button{};
    button.type = ButtonPress;
    EXPECT_EQ(tslGetKey(w, &button), kDropped);
    XEvent a = key(XK_a, 300000);
    EXPECT_EQ(tslGetKey(nullptr, &a), kDropped);

    g_tessel.tenKey = 1;
    if (!XKeysymToKeycode(d, XK_KP_1))
        GTEST_SKIP() << "no keypad in the keymap";
    XEvent kp = key(XK_KP_1, 400000);
    KeySym sym = tslGetKey(w, &kp);
    EXPECT_NE(sym, kDropped);
    EXPECT_EQ(sym, tslConvertTenKeyCode(&kp.xkey));
}

TEST_F(KeyInput, StringWithoutInputContext)
{
    const struct {
        KeySym sym;
        unsigned int state;
        std::string text;
    } cases[] = {
        {XK_a, 0, "a"}, {XK_a, ShiftMask, "A"}, {XK_Shift_L, 0, ""}, {XK_Return, 0, "\r"},
    };
    for (const auto& c : cases) {
        int len = -1;
        XEvent ev = key(c.sym, 1, c.state);
        char* text = tslGetString(w, &ev, &len);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text, (size_t)len), c.text);
        EXPECT_EQ(text[len], '\0');
    }

    int len = 7;
    XEvent a = key(XK_a, 1);
    char* text = tslGetString(w, &a, &len);
    XEvent motion{};
    motion.type = MotionNotify;
    EXPECT_EQ(tslGetString(w, &motion, &len), nullptr);
    EXPECT_EQ(len, 0);
    EXPECT_STREQ(text, "") << "the static buffer is emptied at each call";
    len = 7;
    EXPECT_EQ(tslGetString(nullptr, &a, &len), nullptr);
    EXPECT_EQ(len, 0);
    EXPECT_STREQ(tslGetString(w, &a, nullptr), "a") << "the length is optional";
}
