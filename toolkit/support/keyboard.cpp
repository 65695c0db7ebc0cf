// Keyboard state of X key events: shift, control and alt tests, and the
// numeric keypad translation the event loop applies to every key.
#include <X11/keysym.h>

#include "tessel.h"

// Modifier bits of an event's state.
static const unsigned int MOD_SHIFT = ShiftMask;
static const unsigned int MOD_LOCK = LockMask;
static const unsigned int MOD_LOW_FOUR = 0x0F;
// Num Lock is Mod2 alone among Mod2..Mod5; with any other it reads as off.
static const unsigned int MOD_HIGH_FOUR = 0xF0;
static const unsigned int MOD_NUM_LOCK = Mod2Mask;

int tslGetShiftState(XKeyEvent* event)
{
    if (!event) return 0;
    unsigned int low = event->state & MOD_LOW_FOUR;
    if (low == 0) return 0;
    if (low == MOD_SHIFT || low == MOD_LOCK) return 1;
    if (low == (MOD_SHIFT | MOD_LOCK)) return 0;
    return (event->state & MOD_SHIFT) ? 1 : 0;
}

int tslGetShiftKey(XKeyEvent* event)
{
    if (!event) return 0;
    KeySym key = XLookupKeysym(event, 0);
    if (key == XK_Shift_L || key == XK_Shift_R) return event->type == KeyPress ? 1 : 0;
    unsigned int low = event->state & MOD_LOW_FOUR;
    return (low == MOD_SHIFT || low == (MOD_SHIFT | MOD_LOCK)) ? 1 : 0;
}

int tslGetCtrlState(XKeyEvent* event)
{
    return (event && (event->state & ControlMask)) ? 1 : 0;
}

int tslGetAltState(XKeyEvent* event)
{
    return (event && (event->state & Mod1Mask)) ? 1 : 0;
}

struct KeypadEntry {
    KeySym keypad;
    KeySym numLockOn;
    KeySym numLockOff;
};

static const KeypadEntry KEYPAD_TABLE[] = {
    {XK_KP_0, '0', XK_Insert},     {XK_KP_1, '1', XK_End},       {XK_KP_2, '2', XK_Down},
    {XK_KP_3, '3', XK_Next},       {XK_KP_4, '4', XK_Left},      {XK_KP_5, '5', XK_KP_5},
    {XK_KP_6, '6', XK_Right},      {XK_KP_7, '7', XK_Home},      {XK_KP_8, '8', XK_Up},
    {XK_KP_9, '9', XK_Prior},      {XK_KP_Decimal, '.', XK_Delete},
    {XK_KP_Home, '7', XK_Home},    {XK_KP_Left, '4', XK_Left},   {XK_KP_Up, '8', XK_Up},
    {XK_KP_Right, '6', XK_Right},  {XK_KP_Down, '2', XK_Down},   {XK_KP_Prior, '9', XK_Prior},
    {XK_KP_Next, '3', XK_Next},    {XK_KP_End, '1', XK_End},     {XK_KP_Begin, '5', XK_KP_Begin},
    {XK_KP_Insert, '0', XK_Insert}, {XK_KP_Delete, '.', XK_Delete},
};

// Keys translated whatever the Num Lock state.
static const KeySym ALWAYS_TABLE[][2] = {
    {XK_KP_Enter, XK_Return}, {XK_KP_Multiply, '*'}, {XK_KP_Add, '+'},
    {XK_KP_Subtract, '-'},    {XK_KP_Divide, '/'},
};

KeySym tslConvertTenKeyCode(XKeyEvent* event)
{
    if (!event) return NoSymbol;
    KeySym key = XLookupKeysym(event, tslGetShiftState(event));
    if (key == NoSymbol) key = XLookupKeysym(event, 0);
    bool numLock = (event->state & MOD_HIGH_FOUR) == MOD_NUM_LOCK;
    for (const KeypadEntry& e : KEYPAD_TABLE) {
        if (key == e.keypad) {
            key = numLock ? e.numLockOn : e.numLockOff;
            break;
        }
    }
    for (const auto& pair : ALWAYS_TABLE) {
        if (key == pair[0]) return pair[1];
    }
    return key;
}
