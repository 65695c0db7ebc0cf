// Keyboard state and the numeric keypad translation, on key events built
// from the server's own keymap (keycodes looked up from KP_* keysyms).
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "tessel.h"
#include "xenv.h"

namespace {

class Keyboard : public ::testing::Test {
protected:
    Display* d = nullptr;
    void SetUp() override
    {
        d = xenv_open();
        ASSERT_NE(d, nullptr);
    }
    void TearDown() override { xenv_close(); }

    XKeyEvent key(KeyCode code, unsigned int state, int type = KeyPress)
    {
        XKeyEvent ev = {};
        ev.type = type;
        ev.display = d;
        ev.window = DefaultRootWindow(d);
        ev.root = ev.window;
        ev.keycode = code;
        ev.state = state;
        return ev;
    }
    // The event for a keysym: its keycode, with Shift when the keysym sits
    // on the key's second level.  False when the keymap lacks it.
    bool key_for(KeySym sym, unsigned int extra, XKeyEvent* out)
    {
        KeyCode code = XKeysymToKeycode(d, sym);
        if (code == 0) return false;
        for (int level = 0; level < 2; level++) {
            XKeyEvent ev = key(code, level ? ShiftMask : 0);
            if (XLookupKeysym(&ev, level) == sym) {
                ev.state |= extra;
                *out = ev;
                return true;
            }
        }
        return false;
    }
};

struct KeypadCase {
    KeySym keypad, on, off;
};

const KeypadCase KEYPAD[] = {
    {XK_KP_0, '0', XK_Insert},     {XK_KP_1, '1', XK_End},        {XK_KP_2, '2', XK_Down},
    {XK_KP_3, '3', XK_Next},       {XK_KP_4, '4', XK_Left},       {XK_KP_5, '5', XK_KP_5},
    {XK_KP_6, '6', XK_Right},      {XK_KP_7, '7', XK_Home},       {XK_KP_8, '8', XK_Up},
    {XK_KP_9, '9', XK_Prior},      {XK_KP_Decimal, '.', XK_Delete},
    {XK_KP_Home, '7', XK_Home},    {XK_KP_Left, '4', XK_Left},    {XK_KP_Up, '8', XK_Up},
    {XK_KP_Right, '6', XK_Right},  {XK_KP_Down, '2', XK_Down},    {XK_KP_Prior, '9', XK_Prior},
    {XK_KP_Next, '3', XK_Next},    {XK_KP_End, '1', XK_End},      {XK_KP_Begin, '5', XK_KP_Begin},
    {XK_KP_Insert, '0', XK_Insert}, {XK_KP_Delete, '.', XK_Delete},
};

}  // namespace

TEST_F(Keyboard, KeypadWithNumLockOnAndOff)
{
    int tested = 0;
    for (const KeypadCase& c : KEYPAD) {
        XKeyEvent ev;
        if (!key_for(c.keypad, 0, &ev)) continue;
        tested++;
        unsigned int base = ev.state;
        ev.state = base;
        EXPECT_EQ(tslConvertTenKeyCode(&ev), c.off) << XKeysymToString(c.keypad) << " off";
        ev.state = base | Mod2Mask;
        EXPECT_EQ(tslConvertTenKeyCode(&ev), c.on) << XKeysymToString(c.keypad) << " on";
        // Mod2 with any of Mod3..Mod5 is not Num Lock
        for (unsigned int other : {Mod3Mask, Mod4Mask, Mod5Mask}) {
            ev.state = base | Mod2Mask | other;
            EXPECT_EQ(tslConvertTenKeyCode(&ev), c.off) << XKeysymToString(c.keypad) << " mixed";
        }
    }
    EXPECT_GE(tested, 20) << "the keymap lacks the keypad";
}

TEST_F(Keyboard, KeypadOperatorsWhateverNumLock)
{
    const KeySym cases[][2] = {{XK_KP_Enter, XK_Return}, {XK_KP_Multiply, '*'}, {XK_KP_Add, '+'},
                               {XK_KP_Subtract, '-'},    {XK_KP_Divide, '/'}};
    for (const auto& c : cases) {
        XKeyEvent ev;
        ASSERT_TRUE(key_for(c[0], 0, &ev)) << XKeysymToString(c[0]);
        EXPECT_EQ(tslConvertTenKeyCode(&ev), c[1]);
        ev.state |= Mod2Mask;
        EXPECT_EQ(tslConvertTenKeyCode(&ev), c[1]);
    }
}

TEST_F(Keyboard, OrdinaryKeysUseTheShiftLevel)
{
    KeyCode a = XKeysymToKeycode(d, XK_a);
    ASSERT_NE(a, 0);
    XKeyEvent ev = key(a, 0);
    EXPECT_EQ(tslConvertTenKeyCode(&ev), (KeySym)XK_a);
    ev.state = ShiftMask;
    EXPECT_EQ(tslConvertTenKeyCode(&ev), (KeySym)XK_A);
    ev.state = LockMask;
    EXPECT_EQ(tslConvertTenKeyCode(&ev), (KeySym)XK_A);
    ev.state = ShiftMask | LockMask;
    EXPECT_EQ(tslConvertTenKeyCode(&ev), (KeySym)XK_a);
    ev.state = ShiftMask | ControlMask | Mod2Mask;
    EXPECT_EQ(tslConvertTenKeyCode(&ev), (KeySym)XK_A);
    // a key with nothing on its shifted level falls back to level 0
    KeyCode enter = XKeysymToKeycode(d, XK_Return);
    ASSERT_NE(enter, 0);
    ev = key(enter, ShiftMask);
    EXPECT_EQ(tslConvertTenKeyCode(&ev), (KeySym)XK_Return);
}

TEST_F(Keyboard, ShiftLevel)
{
    XKeyEvent ev = key(XKeysymToKeycode(d, XK_a), 0);
    const struct {
        unsigned int state;
        int level;
    } cases[] = {
        {0, 0}, {ShiftMask, 1}, {LockMask, 1}, {ShiftMask | LockMask, 0},
        {ControlMask, 0}, {ControlMask | ShiftMask, 1}, {Mod1Mask | LockMask, 0},
        {ShiftMask | Mod1Mask | LockMask, 1}, {Mod2Mask, 0}, {Mod2Mask | ShiftMask, 1},
    };
    for (const auto& c : cases) {
        ev.state = c.state;
        EXPECT_EQ(tslGetShiftState(&ev), c.level) << "state " << c.state;
    }
}

TEST_F(Keyboard, ShiftHeldControlAndAlt)
{
    XKeyEvent ev = key(XKeysymToKeycode(d, XK_a), ShiftMask);
    EXPECT_EQ(tslGetShiftKey(&ev), 1);
    ev.state = ShiftMask | LockMask;
    EXPECT_EQ(tslGetShiftKey(&ev), 1);
    ev.state = ShiftMask | ControlMask;
    EXPECT_EQ(tslGetShiftKey(&ev), 0);
    ev.state = LockMask;
    EXPECT_EQ(tslGetShiftKey(&ev), 0);
    ev.state = ShiftMask | Mod2Mask;  // bits above the low four do not matter
    EXPECT_EQ(tslGetShiftKey(&ev), 1);

    for (KeySym shift : {XK_Shift_L, XK_Shift_R}) {
        KeyCode code = XKeysymToKeycode(d, shift);
        ASSERT_NE(code, 0);
        XKeyEvent press = key(code, 0, KeyPress);
        XKeyEvent release = key(code, ShiftMask, KeyRelease);
        EXPECT_EQ(tslGetShiftKey(&press), 1);
        EXPECT_EQ(tslGetShiftKey(&release), 0);
    }

    ev.state = ControlMask | Mod1Mask;
    EXPECT_EQ(tslGetCtrlState(&ev), 1);
    EXPECT_EQ(tslGetAltState(&ev), 1);
    ev.state = ShiftMask | LockMask | Mod2Mask;
    EXPECT_EQ(tslGetCtrlState(&ev), 0);
    EXPECT_EQ(tslGetAltState(&ev), 0);
}
