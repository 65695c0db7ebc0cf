// pictel's keyboard: every command has a key and a second one at the
// mirrored place of the other hand; scrolling moves the scroll bars, whose
// callbacks move the picture pane.
#include <X11/keysym.h>

#include "pictel.h"
#include "view.h"

enum Step { NO_STEP, DOWN, UP, RIGHT, LEFT };

struct Binding {
    KeySym keys[3];
    int (*command)(void);
    Step step;
};

// Looked at in this order; letters are case-sensitive.
static const Binding kBindings[] = {
    {{XK_o, XK_w, 0}, OnMenuOpen, NO_STEP},   {{XK_q, XK_p, 0}, OnMenuQuit, NO_STEP},
    {{XK_e, XK_i, 0}, OnMenuHelp, NO_STEP},   {{XK_a, XK_semicolon, 0}, OnMenuAbout, NO_STEP},
    {{XK_j, XK_f, XK_Down}, nullptr, DOWN},   {{XK_k, XK_d, XK_Up}, nullptr, UP},
    {{XK_l, XK_g, XK_Right}, nullptr, RIGHT}, {{XK_h, XK_s, XK_Left}, nullptr, LEFT},
};

// The bar position one step on, or -1 where the step is not taken: back
// below 0, or forward once the step's first pixel would pass the last
// pane-full of the picture (p x step <= picture - pane + step - 1).
static int step_to(int pos, int direction, int pictureLength, int paneLength)
{
    int p = pos + direction;
    if (direction < 0)
        return p >= 0 ? p : -1;
    long long reach = (long long)pictureLength - paneLength + PICTEL_STEP - 1;
    return (long long)p * PICTEL_STEP <= reach ? p : -1;
}

static void scroll(Step step)
{
    const TslImage* picture = picture_current();
    TslWindow* pane = tslGetWindow(PICTEL_VIEW);
    if (!picture || !pane)
        return;
    bool vertical = step == DOWN || step == UP;
    int direction = step == DOWN || step == RIGHT ? 1 : -1;
    TslWindow* bar = tslGetWindow(vertical ? PICTEL_VSCROLL : PICTEL_HSCROLL);
    int p = vertical ? step_to(tslGetPos_ScrollBar(bar), direction, picture->height, pane->rect.height)
                     : step_to(tslGetPos_ScrollBar(bar), direction, picture->width, pane->rect.width);
    if (p >= 0)
        tslSetPos_ScrollBar(bar, p);
}

int OnKeyEvent(TslWindow*, XEvent*, KeySym key)
{
    int result = TSLR_OK;
    for (const Binding& b : kBindings) {
        if (key != b.keys[0] && key != b.keys[1] && (!b.keys[2] || key != b.keys[2]))
            continue;
        if (b.command) {
            if (b.command() == TSLR_CLOSE)
                result = TSLR_CLOSE;
        } else {
            scroll(b.step);
        }
    }
    return result;
}

int OnVScroll(TslWindow*, int, int pos, int)
{
    SetVPos_View(tslGetWindow(PICTEL_VIEW), pos * PICTEL_STEP);
    return TSLR_OK;
}

int OnHScroll(TslWindow*, int, int pos, int)
{
    SetHPos_View(tslGetWindow(PICTEL_VIEW), pos * PICTEL_STEP);
    return TSLR_OK;
}
