// Keyboard state and the numeric keypad translation, on key events built
// from the server's own keymap (keycodes looked up from KP_* keysyms).
#include <X11/keysym.h>

#include "xfixture.h"

namespace {

class Keyboard : public XTest {
protected:
    XKeyEvent key(KeySym sym, unsigned int state, int type = KeyPress)
    {
        XKeyEvent ev = {};
        ev.type = type;
        ev.display = d;
        ev.window = ev.root = DefaultRootWindow(d);
        ev.keycode = XKeysymToKeycode(d, sym);
        ev.state = state;
        return ev;
    }
    // The event for a keysym, with Shift when the keysym sits on the key's
    // second level.  False when the keymap lacks it.
    bool key_for(KeySym sym, XKeyEvent* out)
    {
        for (unsigned int level = 0; level < 2 && XKeysymToKeycode(d, sym); level++) {
            *out = key(sym, level ? ShiftMask : 0);
            if (XLookupKeysym(out, (int)level) == sym)
                return true;
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
    // operators whatever Num Lock
    {XK_KP_Enter, XK_Return, XK_Return}, {XK_KP_Multiply, '*', '*'}, {XK_KP_Add, '+', '+'},
    {XK_KP_Subtract, '-', '-'},          {XK_KP_Divide, '/', '/'},
};

}  // namespace

TEST_F(Keyboard, KeypadWithNumLockOnAndOff)
{
    int tested = 0;
    for (const KeypadCase& c : KEYPAD) {
        XKeyEvent ev;
        if (!key_for(c.keypad, &ev))
            continue;
        tested++;
        const unsigned int base = ev.state;
        EXPECT_EQ(tslConvertTenKeyCode(&ev), c.off) << XKeysymToString(c.keypad) << " off";
        ev.state = base | Mod2Mask;
        EXPECT_EQ(tslConvertTenKeyCode(&ev), c.on) << XKeysymToString(c.keypad) << " on";
        // Mod2 with any of Mod3..Mod5 is not Num Lock
        for (unsigned int other : {Mod3Mask, Mod4Mask, Mod5Mask}) {
            ev.state = base | Mod2Mask | other;
            EXPECT_EQ(tslConvertTenKeyCode(&ev), c.off) << XKeysymToString(c.keypad) << " mixed";
        }
    }
    EXPECT_GE(tested, 25) << "the keymap lacks the keypad";
}

TEST_F(Keyboard, OrdinaryKeysUseTheShiftLevel)
{
    const struct {
        KeySym sym;
        unsigned int state;
        KeySym want;
        int level;
    } cases[] = {
        {XK_a, 0, XK_a, 0},
        {XK_a, ShiftMask, XK_A, 1},
        {XK_a, LockMask, XK_A, 1},
        {XK_a, ShiftMask | LockMask, XK_a, 0},
        {XK_a, ControlMask, XK_a, 0},
        {XK_a, ShiftMask | ControlMask | Mod2Mask, XK_A, 1},
        {XK_a, Mod1Mask | LockMask, XK_A, 0},
        {XK_a, ShiftMask | Mod1Mask | LockMask, XK_a, 1},
        // a key with nothing on its shifted level falls back to level 0
        {XK_Return, ShiftMask, XK_Return, 1},
    };
    for (const auto& c : cases) {
        XKeyEvent ev = key(c.sym, c.state);
        ASSERT_NE(ev.keycode, 0u);
        EXPECT_EQ(tslGetShiftState(&ev), c.level) << "state " << c.state;
        if (c.state & Mod1Mask)
            continue;
        EXPECT_EQ(tslConvertTenKeyCode(&ev), c.want) << XKeysymToString(c.sym) << " state " << c.state;
    }
}

TEST_F(Keyboard, ShiftHeld)
{
    const struct {
        unsigned int state;
        int shift;
    } cases[] = {
        {ShiftMask, 1},
        {ShiftMask | LockMask, 1},
        {ShiftMask | ControlMask, 0},
        {LockMask, 0},
        {ShiftMask | Mod2Mask, 1},  // bits above the low four do not matter
    };
    for (const auto& c : cases) {
        XKeyEvent ev = key(XK_a, c.state);
        EXPECT_EQ(tslGetShiftKey(&ev), c.shift) << "state " << c.state;
    }
    for (KeySym shift : {XK_Shift_L, XK_Shift_R}) {
        XKeyEvent press = key(shift, 0, KeyPress);
        XKeyEvent release = key(shift, ShiftMask, KeyRelease);
        ASSERT_NE(press.keycode, 0u);
        EXPECT_EQ(tslGetShiftKey(&press), 1);
        EXPECT_EQ(tslGetShiftKey(&release), 0);
    }
}
