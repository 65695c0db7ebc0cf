// The push button: a 3D button with caption and optional icon that reports a
// click (or, in toggle mode, each change of state) to its owner.
#include <cstring>

#include "tessel.h"

struct ButtonData {
    int pressed;  // shown down
    int toggle;
    int latched;  // toggle mode: the current press put it down, its release keeps it down
    TslImage* icon;  // not owned
};

static ButtonData* record(TslWindow* window);
static int notify(TslWindow* window, int code, int state);
static int Draw(Display* display, TslWindow* window);

TslWindow* tslCreateWindow_Button(Display* display, TslWindow* parent, TslRect rect,
                                  const char* caption, TslImage* icon, TslEventCallback callback)
{
    TslWindow* window = tslCreateWindow(display, parent, tslRectPos(rect), tslRectSize(rect), 0,
                                        caption, WndProc_Button);
    if (!window)
        return nullptr;
    window->kind = TSLK_BUTTON;
    ButtonData* data = (ButtonData*)tslAlloc(sizeof(ButtonData));
    if (!data) {
        tslDestroyWindow(display, window);
        return nullptr;
    }
    data->pressed = 0;
    data->toggle = 0;
    data->latched = 0;
    data->icon = icon;
    tslSetOption(window, data);
    tslSetCustom(window, 1);
    tslSetDefaultCursor(window, g_tessel.cursors[0]);
    tslSetRedrawBuffer(window, 1);
    tslSetEventCallback_Button(window, callback);
    return window;
}

int WndProc_Button(Display* display, TslWindow* window, XEvent* event)
{
    if (event->xany.window != window->xwin)
        return window->status;
    int status = tslWndProc_Default(display, window, event);
    ButtonData* data = record(window);
    if (!data)
        return status;
    TslRect hit = tslSetRect(0, 0, window->rect.width, window->rect.height);
    switch (event->type) {
    case ButtonPress:
        if (!tslPointInRect(event->xbutton.x, event->xbutton.y, hit))
            break;
        if (!data->toggle) {
            data->pressed = 1;
            Draw(display, window);
        } else if (!data->pressed) {
            data->latched = 1;
            data->pressed = 1;
            Draw(display, window);
            status = notify(window, TSLN_BUTTON_DOWN, 1);
        } else {
            data->latched = 0;
        }
        break;
    case ButtonRelease:
        // A toggle button only goes up from down: a release that follows a
        // press on the edge of a button that is up reports nothing.
        if (tslPointInRect(event->xbutton.x, event->xbutton.y, hit) && data->pressed &&
            (!data->toggle || !data->latched)) {
            data->pressed = 0;
            Draw(display, window);
            return notify(window, data->toggle ? TSLN_BUTTON_UP : TSLN_BUTTON_DOWN, 0);
        }
        if (!data->toggle)
            data->pressed = 0;
        Draw(display, window);
        break;
    case MapNotify:
    case ConfigureNotify:
    case TSLM_PAINT:
        Draw(display, window);
        break;
    default:
        break;
    }
    return status;
}

static int Draw(Display* display, TslWindow* window)
{
    ButtonData* data = record(window);
    tslClearWindow(display, window, 1);
    tslDrawButton(display, tslGetDraw(window),
                  tslSetRect(0, 0, window->rect.width - 1, window->rect.height - 1),
                  window->caption, data->icon, data->pressed);
    tslRedrawWindow(display, window);
    return 1;
}

int tslGetButton_Button(TslWindow* window)
{
    ButtonData* data = record(window);
    return data ? data->pressed : 0;
}

int tslSetButton_Button(TslWindow* window, int state)
{
    ButtonData* data = record(window);
    state = state != 0;
    if (!data || data->pressed == state)
        return 0;
    data->pressed = state;
    data->latched = 0;
    tslSendEvent(window, TSLM_PAINT);
    return state ? TSLN_BUTTON_DOWN : TSLN_BUTTON_UP;
}

int tslSetToggle_Button(TslWindow* window, int flag)
{
    ButtonData* data = record(window);
    if (!data)
        return 0;
    flag = flag != 0;
    if (data->toggle != flag) {
        data->toggle = flag;
        data->latched = 0;
        tslSendEvent(window, TSLM_PAINT);
    }
    return 1;
}

char* tslGetCaption_Button(TslWindow* window)
{
    return record(window) ? window->caption : nullptr;
}

// A button made without a caption has none to compare with: any text,
// and a null one, is then simply stored.
int tslSetCaption_Button(TslWindow* window, const char* text)
{
    if (!record(window))
        return 0;
    if (text == window->caption || (text && window->caption && strcmp(text, window->caption) == 0))
        return 1;
    return tslSetCaption(window, text);
}

TslImage* tslGetIcon_Button(TslWindow* window)
{
    ButtonData* data = record(window);
    return data ? data->icon : nullptr;
}

int tslSetIcon_Button(TslWindow* window, TslImage* icon)
{
    ButtonData* data = record(window);
    if (!data)
        return 0;
    if (data->icon != icon) {
        data->icon = icon;
        tslSendEvent(window, TSLM_PAINT);
    }
    return 1;
}

int tslSetEventCallback_Button(TslWindow* window, TslEventCallback callback)
{
    if (!window || window->kind != TSLK_BUTTON)
        return 0;
    return tslSetEventCallback(window, callback);
}

// The record of a button, or null for anything else (or a button whose
// record is not made yet).
static ButtonData* record(TslWindow* window)
{
    if (!window || window->kind != TSLK_BUTTON)
        return nullptr;
    return (ButtonData*)window->option;
}

// Calls the owner; a close request from it wins over the code.
static int notify(TslWindow* window, int code, int state)
{
    int result = tslCallEventCallback(window, code, state, 0);
    return result == TSLR_CLOSE ? TSLR_CLOSE : code;
}
