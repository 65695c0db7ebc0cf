// The vertical and horizontal scroll bars: one implementation over an axis,
// with arrows that step, a trough that pages, a thumb that drags, and
// auto-repeat off the loop's timer ticks while an arrow or the trough is held.
#include <algorithm>
#include <cstdint>

#include "controls/scroll_geom.h"
#include "core/window_private.h"

struct ScrollBarData {
    int pos;  // in steps
    int drawnPos;  // at the last paint
    int max;  // content length in pixels
    int min;  // pixels per step
    int part;  // pressed-part code, 0 when nothing is pressed
    int repeatTime;  // ms of held ticks, up to SCROLL_REPEAT_DELAY
    int dragOffset;  // from the thumb's start to the grab point
    int vertical;
    uint32_t motionTime;  // X time of the last motion acted on
};

// Built-in arrow images: up, down, left, right.
enum { ARROW_UP = 0, ARROW_LEFT = 2 };

static TslWindow* create_bar(Display* display, TslWindow* parent, TslRect rect, const char* name,
                             int pos, int max, int min, TslEventCallback callback, int vertical);
static int scroll_proc(Display* display, TslWindow* window, XEvent* event);
static int draw_bar(Display* display, TslWindow* window, int part, int force);
static ScrollBarData* record(TslWindow* window);
static ScrollGeom geometry(TslWindow* window, const ScrollBarData* data, bool forHit);
static void along_across(const ScrollBarData* data, int x, int y, int* along, int* across);
static TslRect oriented(const ScrollBarData* data, int along, int across, int length, int width);
static void enforce_size(Display* display, TslWindow* window, const ScrollBarData* data);
static void pointer_in(Display* display, TslWindow* window, int* x, int* y);

TslWindow* tslCreateWindow_VScrollBar(Display* display, TslWindow* parent, TslRect rect,
                                      const char* name, int pos, int max, int min,
                                      TslEventCallback callback)
{
    return create_bar(display, parent, rect, name, pos, max, min, callback, 1);
}

TslWindow* tslCreateWindow_HScrollBar(Display* display, TslWindow* parent, TslRect rect,
                                      const char* name, int pos, int max, int min,
                                      TslEventCallback callback)
{
    return create_bar(display, parent, rect, name, pos, max, min, callback, 0);
}

// Auto-repeat needs timer ticks only while a part is held; the bar asks for
// them then and lets the loop sleep otherwise (see scroll_proc).
static TslWindow* create_bar(Display* display, TslWindow* parent, TslRect rect, const char* name,
                             int pos, int max, int min, TslEventCallback callback, int vertical)
{
    if (vertical)
        rect.width = SCROLL_THICKNESS;
    else
        rect.height = SCROLL_THICKNESS;
    TslWindow* window = tslCreateWindow(display, parent, tslRectPos(rect), tslRectSize(rect), 0,
                                        name, vertical ? WndProc_VScroll : WndProc_HScroll);
    if (!window)
        return nullptr;
    window->kind = TSLK_SCROLLBAR;
    ScrollBarData* data = (ScrollBarData*)tslAlloc(sizeof(ScrollBarData));
    if (!data) {
        tslDestroyWindow(display, window);
        return nullptr;
    }
    data->pos = std::max(pos, 0);
    data->drawnPos = 0;
    data->max = std::max(max, 0);
    data->min = std::max(min, 1);
    data->part = 0;
    data->repeatTime = 0;
    data->dragOffset = 0;
    data->vertical = vertical;
    data->motionTime = 0;
    data->pos = scroll_clamp(geometry(window, data, false), data->pos);
    tslSetOption(window, data);
    tslSetCustom(window, 1);
    tslSetRedrawBuffer(window, 1);
    tslSetEventCallback_ScrollBar(window, callback);
    return window;
}

int WndProc_VScroll(Display* display, TslWindow* window, XEvent* event)
{
    return scroll_proc(display, window, event);
}

int WndProc_HScroll(Display* display, TslWindow* window, XEvent* event)
{
    return scroll_proc(display, window, event);
}

static int scroll_proc(Display* display, TslWindow* window, XEvent* event)
{
    if (event->xany.window != window->xwin)
        return window->status;
    int status = tslWndProc_Default(display, window, event);
    ScrollBarData* data = record(window);
    if (!data)
        return status;
    const int entryPos = data->pos;
    int part = data->part;
    const ScrollGeom g = geometry(window, data, true);
    int along = 0, across = 0;
    switch (event->type) {
    case MapNotify:
    case TSLM_PAINT:
        draw_bar(display, window, part, 1);
        break;
    case ConfigureNotify:
        if (event->xconfigure.window != window->xwin)
            break;
        enforce_size(display, window, data);
        data->pos = scroll_clamp(geometry(window, data, false), data->pos);
        draw_bar(display, window, part, 1);
        if (status != TSLR_NONE)
            status = TSLN_SCROLL_CONFIGURE;
        break;
    case TSLM_UPDATE:
    case TSLM_TIMER:
        if (!scroll_repeats(part))
            break;
        data->repeatTime = (int)std::min((long long)data->repeatTime + std::max(g_tessel.interval, 10),
                                         (long long)SCROLL_REPEAT_DELAY);
        if (data->repeatTime == SCROLL_REPEAT_DELAY) {
            status = tslSendEvent(window, TSLM_REPEAT);
            // The owner may have destroyed the bar from its callback.
            if (!CheckTslPointer(window))
                return status;
        }
        break;
    case ButtonPress: {
        data->repeatTime = 0;
        along_across(data, event->xbutton.x, event->xbutton.y, &along, &across);
        ScrollButtons buttons = scroll_buttons(g_tessel.mouseRightHand, g_tessel.mouseButton);
        int hit = scroll_press(g, along, across, (int)event->xbutton.button, buttons,
                               &data->dragOffset);
        if (hit >= 0)
            part = hit;
        draw_bar(display, window, part, 0);
        break;
    }
    case MotionNotify:
        if ((uint32_t)event->xmotion.time - data->motionTime < SCROLL_MOTION_GAP)
            break;
        data->motionTime = (uint32_t)event->xmotion.time;
        if (part != SCROLL_THUMB)
            break;
        along_across(data, event->xmotion.x, event->xmotion.y, &along, &across);
        data->pos = scroll_drag(g, along, data->dragOffset);
        draw_bar(display, window, part, 0);
        break;
    case ButtonRelease:
    case TSLM_REPEAT: {
        int x, y;
        if (event->type == ButtonRelease) {
            x = event->xbutton.x;
            y = event->xbutton.y;
        } else {
            pointer_in(display, window, &x, &y);
        }
        along_across(data, x, y, &along, &across);
        // Once auto-repeat has stepped, the release takes no step of its own.
        bool mayStep = event->type == TSLM_REPEAT || data->repeatTime < SCROLL_REPEAT_DELAY;
        if (mayStep && scroll_repeats(part) &&
            scroll_region(g, along, across) == part % SCROLL_SECONDARY)
            data->pos = scroll_step(g, part, data->pos);
        if (event->type == ButtonRelease)
            part = 0;
        draw_bar(display, window, part, 0);
        break;
    }
    default:
        break;
    }
    data->part = part;
    // Deliberately on only while an arrow or the trough is held: an idle
    // program then sleeps on its connection instead of ticking.
    tslSetTimerEvent(window, scroll_repeats(part));
    if (event->type != TSLM_TIMER && (data->pos != entryPos || status == TSLN_SCROLL_CONFIGURE)) {
        if (status != TSLN_SCROLL_CONFIGURE)
            status = TSLN_SCROLL;
        if (tslCallEventCallback(window, status, data->pos, 0) == TSLR_CLOSE)
            status = TSLR_CLOSE;
    }
    return status;
}

int Draw_VScroll(Display* display, TslWindow* window, int part, int force)
{
    return draw_bar(display, window, part, force);
}

int Draw_HScroll(Display* display, TslWindow* window, int part, int force)
{
    return draw_bar(display, window, part, force);
}

// Arrows show the other direction's image while pressed with the secondary
// button, which reverses them.
static int draw_bar(Display* display, TslWindow* window, int part, int force)
{
    ScrollBarData* data = record(window);
    if (!data || (!force && part == data->part && data->pos == data->drawnPos))
        return 0;
    data->drawnPos = data->pos;
    const ScrollGeom g = geometry(window, data, false);
    const int first = data->vertical ? ARROW_UP : ARROW_LEFT;
    const int region = part % SCROLL_SECONDARY;
    tslClearWindow(display, window, 1);
    Pixmap buffer = tslGetDraw(window);

    TslImage* startArrow = g_tessel.images[part == SCROLL_START_ARROW + SCROLL_SECONDARY ? first + 1 : first];
    tslDrawIconButton(display, buffer, oriented(data, 0, 0, SCROLL_ARROW, SCROLL_ARROW), startArrow,
                      region == SCROLL_START_ARROW);
    tslDraw3DRectangle(display, buffer,
                       oriented(data, SCROLL_TROUGH_START, 0, g.trough, SCROLL_ARROW), 1);

    TslRect thumb = oriented(data, g.start + 2, 2, g.thumb - 4, SCROLL_ARROW - 4);
    bool active = scroll_repeats(part) || part == SCROLL_THUMB;
    XSetForeground(display, window->gc, active ? g_tessel.actionPixel : g_tessel.backNearPixel);
    XFillRectangle(display, buffer, window->gc, thumb.x, thumb.y, thumb.width, thumb.height);
    XSetForeground(display, window->gc, window->backPixel);
    tslDraw3DRectangle(display, buffer, thumb, 0);

    TslImage* endArrow = g_tessel.images[part == SCROLL_END_ARROW + SCROLL_SECONDARY ? first : first + 1];
    tslDrawIconButton(display, buffer,
                      oriented(data, g.length - SCROLL_THICKNESS, 0, SCROLL_ARROW, SCROLL_ARROW),
                      endArrow, region == SCROLL_END_ARROW);
    tslRedrawWindow(display, window);
    return 1;
}

int tslGetPos_ScrollBar(TslWindow* window)
{
    ScrollBarData* data = record(window);
    return data ? data->pos : -1;
}

int tslGetMax_ScrollBar(TslWindow* window)
{
    ScrollBarData* data = record(window);
    return data ? data->max : -1;
}

int tslGetMin_ScrollBar(TslWindow* window)
{
    ScrollBarData* data = record(window);
    return data ? data->min : -1;
}

// Content shorter than the bar has no limit to clamp to: the position is
// then kept as given (and shown at the start).
int tslSetPos_ScrollBar(TslWindow* window, int pos)
{
    ScrollBarData* data = record(window);
    if (!data)
        return 0;
    int limit = geometry(window, data, false).limit;
    pos = std::max(pos, 0);
    if (limit >= 0 && limit < pos)
        pos = limit;
    if (pos == data->pos)
        return 1;
    data->pos = pos;
    tslSendEvent(window, TSLM_PAINT);
    tslCallEventCallback(window, TSLN_SCROLL_SET, pos, 0);
    return 1;
}

// The range setters pull the position back into the new range without
// telling the owner, who is changing the range itself.
static int set_range(TslWindow* window, int* field, int value)
{
    ScrollBarData* data = record(window);
    if (*field == value)
        return 1;
    *field = value;
    data->pos = scroll_clamp(geometry(window, data, false), data->pos);
    tslSendEvent(window, TSLM_PAINT);
    return 1;
}

int tslSetMax_ScrollBar(TslWindow* window, int max)
{
    ScrollBarData* data = record(window);
    if (!data || max < 0)
        return 0;
    return set_range(window, &data->max, max);
}

int tslSetMin_ScrollBar(TslWindow* window, int min)
{
    ScrollBarData* data = record(window);
    if (!data || min < 1)
        return 0;
    return set_range(window, &data->min, min);
}

int tslGetHeight_ScrollBar(void)
{
    return SCROLL_THICKNESS;
}

int tslSetEventCallback_ScrollBar(TslWindow* window, TslEventCallback callback)
{
    if (!window || window->kind != TSLK_SCROLLBAR)
        return 0;
    return tslSetEventCallback(window, callback);
}

// The record of a scroll bar, or null for anything else (or a bar whose
// record is not made yet).
static ScrollBarData* record(TslWindow* window)
{
    if (!window || window->kind != TSLK_SCROLLBAR)
        return nullptr;
    return (ScrollBarData*)window->option;
}

static ScrollGeom geometry(TslWindow* window, const ScrollBarData* data, bool forHit)
{
    int length = data->vertical ? window->rect.height : window->rect.width;
    return scroll_geometry(length, data->max, data->min, data->pos, forHit);
}

static void along_across(const ScrollBarData* data, int x, int y, int* along, int* across)
{
    *along = data->vertical ? y : x;
    *across = data->vertical ? x : y;
}

static TslRect oriented(const ScrollBarData* data, int along, int across, int length, int width)
{
    if (data->vertical)
        return tslSetRect(across, along, width, length);
    return tslSetRect(along, across, length, width);
}

// A bar is never thinner than SCROLL_THICKNESS nor shorter than
// SCROLL_MIN_LENGTH; each correction is its own request, thickness first.
static void enforce_size(Display* display, TslWindow* window, const ScrollBarData* data)
{
    int length = data->vertical ? window->rect.height : window->rect.width;
    int width = data->vertical ? window->rect.width : window->rect.height;
    TslRect r;
    if (width < SCROLL_THICKNESS) {
        width = SCROLL_THICKNESS;
        r = oriented(data, 0, 0, length, width);
        XMoveResizeWindow(display, window->xwin, window->rect.x, window->rect.y, r.width, r.height);
    }
    if (length < SCROLL_MIN_LENGTH) {
        r = oriented(data, 0, 0, SCROLL_MIN_LENGTH, width);
        XMoveResizeWindow(display, window->xwin, window->rect.x, window->rect.y, r.width, r.height);
    }
}

// The pointer in the bar's coordinates; outside every part when it is on
// another screen, where XQueryPointer reports no position.
static void pointer_in(Display* display, TslWindow* window, int* x, int* y)
{
    Window root, child;
    int rootX, rootY;
    unsigned int mask;
    if (!XQueryPointer(display, window->xwin, &root, &child, &rootX, &rootY, x, y, &mask))
        *x = *y = -1;
}
