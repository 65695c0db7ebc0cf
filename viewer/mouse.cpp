// The picture pane's mouse and size, in a procedure run before the pane's
// own: the wheel scrolls (across with Shift, and with Ctrl it zooms about
// the pointer), the primary button drags the picture, and a resized pane
// keeps a fitted picture fitted.  The secondary button is the context
// menu's.
#include "controls/scroll_geom.h"
#include "pictel.h"
#include "view.h"

// X's wheel buttons: up and down, then left and right.
enum { WHEEL_UP = 4, WHEEL_DOWN = 5, WHEEL_LEFT = 6, WHEEL_RIGHT = 7 };

// A drag: the pointer and the picture's offsets when the button went down.
struct Drag {
    bool on;
    int x, y;
    int startX, startY;
};
static Drag g_drag = {false, 0, 0, 0, 0};

static unsigned int primary_button(void)
{
    return (unsigned int)scroll_buttons(g_tessel.mouseRightHand, g_tessel.mouseButton).primary;
}

static void wheel(const XButtonEvent& e)
{
    bool back = e.button == WHEEL_UP || e.button == WHEEL_LEFT;
    if (e.state & ControlMask) {
        if (e.button <= WHEEL_DOWN)
            zoom_about(back ? 1 : -1, e.x, e.y);
        return;
    }
    bool across = e.button >= WHEEL_LEFT || (e.state & ShiftMask);
    pan_step(!across, back ? -1 : 1);
}

static void press(const XButtonEvent& e)
{
    if (e.button >= WHEEL_UP && e.button <= WHEEL_RIGHT) {
        wheel(e);
    } else if (e.button == primary_button()) {
        g_drag.on = true;
        g_drag.x = e.x;
        g_drag.y = e.y;
        pan_offsets(&g_drag.startX, &g_drag.startY);
    }
}

// Only the last of the motions already queued is followed: the picture
// goes where the pointer is without painting every place between.
static void drag(Display* display, TslWindow* pane, XMotionEvent e)
{
    if (!g_drag.on)
        return;
    XEvent later;
    while (XCheckTypedWindowEvent(display, pane->xwin, MotionNotify, &later))
        e = later.xmotion;
    if (!(e.state & (Button1Mask << (primary_button() - 1)))) {
        g_drag.on = false;
        return;
    }
    pan_to(g_drag.startX - (e.x - g_drag.x), g_drag.startY - (e.y - g_drag.y));
}

static int WndProc_Pane(Display* display, TslWindow* pane, XEvent* event)
{
    // Refitted before the pane paints itself at its new size.
    if (event->type == ConfigureNotify && event->xconfigure.window == pane->xwin)
        zoom_refit();
    int status = WndProc_View(display, pane, event);
    switch (event->type) {
    case ButtonPress:
        press(event->xbutton);
        break;
    case MotionNotify:
        drag(display, pane, event->xmotion);
        break;
    case ButtonRelease:
        if (event->xbutton.button == primary_button())
            g_drag.on = false;
        break;
    default:
        break;
    }
    return status;
}

void mouse_attach(TslWindow* pane)
{
    tslSetWndProc(pane, WndProc_Pane);
}
