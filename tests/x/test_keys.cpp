// Keys against Xvfb, on key events built from the server's own keymap:
// shift state, the numeric keypad translation, key symbols thinned to one
// per interval, and the text of key events without an input context.
#include <X11/keysym.h>

#include "xfixture.h"

namespace {

const KeySym kDropped = (KeySym)-1;

class Keys : public XTest {
protected:
    TslWindow* w = nullptr;
    void SetUp() override
    {
        XTest::SetUp();
        if (!d)
            return;
        w = tslCreateWindowEx(d, nullptr, tslPos(0, 0), tslSize(100, 100), 0, "keys", nullptr, 0);
        ASSERT_TRUE(w);
        g_tessel.tenKey = 0;
    }
    XEvent key(KeySym sym, unsigned int state = 0, Time time = 1, int type = KeyPress)
    {
        XEvent ev{};
        ev.xkey = {type, 0, False, d, w->xwin, DefaultRootWindow(d), 0, time, 0, 0, 0, 0, state, XKeysymToKeycode(d, sym), True};
        return ev;
    }
    KeySym get(KeySym sym, Time time, unsigned int state = 0, int type = KeyPress)
    {
        XEvent ev = key(sym, state, time, type);
        return tslGetKey(w, &ev);
    }
};

}  // namespace

TEST_F(Keys, KeypadShiftLevelsAndShiftHeld)
{
    // keypad key, with Num Lock, without: digits and navigation on one key,
    // the middle key, the decimal point, and operators whatever Num Lock
    const KeySym cases[][3] = {
        {XK_KP_0, '0', XK_Insert},    {XK_KP_Home, '7', XK_Home},          {XK_KP_5, '5', XK_KP_5},
        {XK_KP_Begin, '5', XK_KP_Begin}, {XK_KP_Decimal, '.', XK_Delete}, {XK_KP_Next, '3', XK_Next},
        {XK_KP_Enter, XK_Return, XK_Return}, {XK_KP_Add, '+', '+'},
    };
    for (const auto& c : cases) {
        // The keysym's level: Shift when it sits on the key's second one.
        XEvent ev = key(c[0]);
        ASSERT_NE(ev.xkey.keycode, 0u) << XKeysymToString(c[0]) << ": the keymap lacks the keypad";
        unsigned int base = XLookupKeysym(&ev.xkey, 0) == c[0] ? 0 : ShiftMask;
        // Mod2 alone is Num Lock; with any of Mod3..Mod5 it is not.
        const std::pair<unsigned int, KeySym> states[] = {{0, c[2]}, {Mod2Mask, c[1]}, {Mod2Mask | Mod3Mask, c[2]},
                                                          {Mod2Mask | Mod4Mask, c[2]}, {Mod2Mask | Mod5Mask, c[2]}};
        for (const auto& s : states) {
            ev.xkey.state = base | s.first;
            EXPECT_EQ(tslConvertTenKeyCode(&ev.xkey), s.second) << XKeysymToString(c[0]) << " state " << s.first;
        }
    }

    // Shift levels, the Shift key held, and keys outside the keypad.
    // key, state, keypad translation (0: not asked, with Alt), shift level, Shift held
    const std::tuple<KeySym, unsigned int, KeySym, int, int> levels[] = {
        {XK_a, ShiftMask, XK_A, 1, 1}, {XK_a, LockMask, XK_A, 1, 0}, {XK_a, ShiftMask | LockMask, XK_a, 0, 1},
        {XK_a, ControlMask, XK_a, 0, 0}, {XK_a, ShiftMask | ControlMask, XK_A, 1, 0},
        {XK_a, ShiftMask | Mod2Mask, XK_A, 1, 1},  // bits above the low four do not matter
        {XK_a, Mod1Mask | LockMask, 0, 0, 0}, {XK_a, ShiftMask | Mod1Mask | LockMask, 0, 1, 0},
        // a key with nothing on its shifted level falls back to level 0
        {XK_Return, ShiftMask, XK_Return, 1, 1},
    };
    for (const auto& [sym, state, want, level, shift] : levels) {
        XEvent ev = key(sym, state);
        ASSERT_NE(ev.xkey.keycode, 0u);
        EXPECT_EQ(std::make_pair(tslGetShiftState(&ev.xkey), tslGetShiftKey(&ev.xkey)), std::make_pair(level, shift))
            << "state " << state;
        EXPECT_TRUE(!want || tslConvertTenKeyCode(&ev.xkey) == want) << XKeysymToString(sym) << " state " << state;
    }
    // The Shift keys themselves: pressed is held, released is not.
    for (KeySym shift : {XK_Shift_L, XK_Shift_R}) {
        XEvent press = key(shift, 0), release = key(shift, ShiftMask, 1, KeyRelease);
        ASSERT_NE(press.xkey.keycode, 0u);
        EXPECT_TRUE(tslGetShiftKey(&press.xkey) == 1 && tslGetShiftKey(&release.xkey) == 0);
    }
}

TEST_F(Keys, KeysFasterThanTheIntervalAreDroppedAndTheirText)
{
    // A dropped key does not move the time; releases count as keys too; the
    // server's time wraps around.
    g_tessel.interval = 35;
    EXPECT_EQ(get(XK_a, 100000), (KeySym)XK_a);
    EXPECT_TRUE(get(XK_a, 100010) == kDropped && w->keyPressTime == 100000u);
    EXPECT_TRUE(get(XK_a, 100035) == XK_a && get(XK_a, 100040, 0, KeyRelease) == kDropped);
    tslSetKeyPressTime(w, 0xFFFFFFF0UL);
    EXPECT_TRUE(get(XK_a, 0x10) == kDropped && get(XK_a, 0x20) == XK_a);
    EXPECT_EQ(get(XK_a, 200000, ShiftMask), (KeySym)XK_A);
    XEvent button{}, a = key(XK_a, 0, 300000);
    button.type = ButtonPress;
    EXPECT_TRUE(tslGetKey(w, &button) == kDropped && tslGetKey(nullptr, &a) == kDropped);
    // With the keypad switch, keys go through the keypad translation.
    g_tessel.tenKey = 1;
    EXPECT_EQ(get(XK_KP_1, 400000, Mod2Mask), (KeySym)'1');

    // The text of key events without an input context.
    g_tessel.charCode = TSL_CODE_EUC;
    const std::tuple<KeySym, unsigned int, std::string> texts[] = {
        {XK_a, 0, "a"}, {XK_a, ShiftMask, "A"}, {XK_Shift_L, 0, ""}, {XK_Return, 0, "\r"}};
    for (const auto& [sym, state, want] : texts) {
        int len = -1;
        XEvent ev = key(sym, state);
        char* text = tslGetString(w, &ev, &len);
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(std::string(text, (size_t)len) == want && text[len] == '\0') << want;
    }
    // Not a key, or no window: null, no length, and the static buffer emptied.
    int len = 7;
    char* text = tslGetString(w, &a, &len);
    EXPECT_TRUE(!tslGetString(w, &button, &len) && len == 0 && !*text && !tslGetString(nullptr, &a, &len));
    EXPECT_STREQ(tslGetString(w, &a, nullptr), "a") << "the length is optional";
}
