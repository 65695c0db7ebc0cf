// pictel's keyboard: every command has a key and a second one at the
// mirrored place of the other hand; scrolling moves the scroll bars, whose
// callbacks move the picture pane.  Walking and zooming have keys of their
// own beside them.
#include <X11/keysym.h>

#include "pictel.h"

enum Step { NO_STEP, DOWN, UP, RIGHT, LEFT };

struct Binding {
    KeySym keys[3];
    int (*command)(void);
    Step step;
};

// Looked at in this order; letters are case-sensitive.
static const Binding kBindings[] = {
    {{XK_o, XK_w, 0}, OnMenuOpen, NO_STEP},
    {{XK_q, XK_p, 0}, OnMenuQuit, NO_STEP},
    {{XK_e, XK_i, 0}, OnMenuHelp, NO_STEP},
    {{XK_a, XK_semicolon, 0}, OnMenuAbout, NO_STEP},
    {{XK_j, XK_f, XK_Down}, nullptr, DOWN},
    {{XK_k, XK_d, XK_Up}, nullptr, UP},
    {{XK_l, XK_g, XK_Right}, nullptr, RIGHT},
    {{XK_h, XK_s, XK_Left}, nullptr, LEFT},
    {{XK_n, XK_space, XK_Next}, OnMenuNext, NO_STEP},
    {{XK_b, XK_BackSpace, XK_Prior}, OnMenuPrevious, NO_STEP},
    {{XK_Home, 0, 0}, OnMenuFirst, NO_STEP},
    {{XK_End, 0, 0}, OnMenuLast, NO_STEP},
    {{XK_plus, XK_equal, XK_KP_Add}, OnMenuZoomIn, NO_STEP},
    {{XK_minus, XK_KP_Subtract, 0}, OnMenuZoomOut, NO_STEP},
    {{XK_1, 0, 0}, OnMenuActualSize, NO_STEP},
    {{XK_z, XK_slash, 0}, OnMenuFit, NO_STEP},
};

static bool bound(const Binding& b, KeySym key)
{
    for (KeySym k : b.keys)
        if (k && k == key)
            return true;
    return false;
}

int OnKeyEvent(TslWindow*, XEvent*, KeySym key)
{
    int result = TSLR_OK;
    for (const Binding& b : kBindings) {
        if (!bound(b, key))
            continue;
        if (b.command) {
            if (b.command() == TSLR_CLOSE)
                result = TSLR_CLOSE;
        } else {
            bool vertical = b.step == DOWN || b.step == UP;
            pan_step(vertical, b.step == DOWN || b.step == RIGHT ? 1 : -1);
        }
    }
    return result;
}
