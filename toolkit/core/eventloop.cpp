// The event loop: draining X events into the dispatcher, idling, the timer
// tick, and the filters that keep a modal window's loop to its own tree.
#include <poll.h>

#include <climits>

#include "core/clipboard.h"
#include "core/window_private.h"
#include "tessel.h"

// Events the loops have looked at since the last flush.  Every loop offers
// each event to tslCheckEvent first, so this tells whether the pass that
// ends with the flush had anything to do.
static unsigned long events_seen;

// Window procedures may create and destroy windows, so a window handed in
// earlier is only trusted while it is still in the list.
static TslWindow* live_window(TslWindow* w)
{
    return (w && CheckTslPointer(w)) ? w : nullptr;
}

// Events for windows that are not the toolkit's (the input method's own
// transport window, the root window) still go to the input method before
// they are dropped; otherwise its replies would be lost.
static void drop_foreign_event(XEvent* event)
{
    XFilterEvent(event, None);
}

static int is_repaint_event(int type)
{
    return type == Expose || type == ConfigureNotify || type == MapNotify;
}

static void raise_modal(Display* display, TslWindow* modal)
{
    XMapWindow(display, modal->xwin);
    XRaiseWindow(display, modal->xwin);
}

// One event to one top-level (or modal) window and its tree, then to its
// key-event callback; returns 1 when the loop shall end.
static int dispatch_to(Display* display, TslWindow* w, XEvent* event)
{
    int close = 0;
    if (tslCallWndProc(display, w, event, 1) == TSLR_CLOSE)
        close = 1;
    if (!live_window(w))
        return close;
    if (w->keyEventCallback && event->type == KeyPress) {
        KeySym key = tslGetKey(w, event);
        if (key != (KeySym)-1) {
            TslWindow* target = tslGetWindowFromXWindow(event->xany.window);
            if (w->keyEventCallback(target, event, key) == TSLR_CLOSE)
                close = 1;
        }
    }
    return close;
}

// Idle callbacks after the queue is drained; returns 1 when the loop shall end.
static int run_idle(TslWindow* window)
{
    int close = 0;
    if (window) {
        if (window->idlingCallback && window->idlingCallback(window) == TSLR_CLOSE)
            close = 1;
        return close;
    }
    int count = tslGetTotalWindows();
    for (int i = 0; i < count; i++) {
        TslWindow* w = tslGetWindowFromIndex(i);
        if (w && !w->parent && w->idlingCallback && w->idlingCallback(w) == TSLR_CLOSE)
            close = 1;
    }
    return close;
}

// 1 when some window needs the loop's rhythm: a timer or an idle callback.
static int needs_tick()
{
    int count = tslGetTotalWindows();
    for (int i = 0; i < count; i++) {
        TslWindow* w = tslGetWindowFromIndex(i);
        if (w && (w->timerEvent || w->idlingCallback))
            return 1;
    }
    return 0;
}

// Sleeps until the server sends something.  Events Xlib has read already
// would never wake the poll, so they are looked for first.
static void wait_for_server(Display* display)
{
    if (XEventsQueued(display, QueuedAfterReading) > 0)
        return;
    pollfd fd = {ConnectionNumber(display), POLLIN, 0};
    // A signal ends the wait too: the loop then makes one more pass.
    poll(&fd, 1, -1);
}

// The end of a loop pass.  A pass that handled events, or windows that
// tick, keep the rhythm of one interval's sleep; otherwise nothing can happen
// before the server sends something, and mayWait lets the pass wait for that
// without waking.  A loop that is ending must not wait.
static void end_pass(Display* display, bool mayWait)
{
    bool wait = mayWait && display && events_seen == 0 && !needs_tick();
    events_seen = 0;
    // The interval comes from the resource file: keep the microsecond count
    // inside what tslSleep can take.
    long long us = g_tessel.interval > 0 ? (long long)g_tessel.interval * 1000LL : 0;
    if (us > (long long)UINT_MAX)
        us = UINT_MAX;
    if (us > 0 && !wait)
        tslSleep((unsigned int)us);
    tslTimerEvent();
    if (display) {
        XFlush(display);
        XSync(display, False);
    }
    if (wait)
        wait_for_server(display);
}

int tslMainLoop(Display* display, TslWindow* window)
{
    if (!display)
        return 1;
    int running = 1;
    while (running) {
        while (XPending(display)) {
            // A modal window destroyed by its own procedure ends its loop;
            // the events left are the outer loop's.
            if (window && !live_window(window)) {
                running = 0;
                break;
            }
            if (tslCheckEvent(display, window))
                continue;
            XEvent event;
            XNextEvent(display, &event);
            if (XFilterEvent(&event, None))
                continue;
            if (window) {
                if (dispatch_to(display, window, &event))
                    running = 0;
            } else {
                int count = tslGetTotalWindows();
                for (int i = 0; i < count; i++) {
                    TslWindow* w = tslGetWindowFromIndex(i);
                    if (w && !w->parent && dispatch_to(display, w, &event))
                        running = 0;
                }
            }
            if (g_tessel.debugCallback)
                g_tessel.debugCallback(display, tslGetWindowFromXWindow(event.xany.window), &event);
        }
        if (window && !live_window(window))
            running = 0;
        else if (run_idle(window))
            running = 0;
        end_pass(display, running);
    }
    return 1;
}

int tslCheckEvent(Display* display, TslWindow* modal)
{
    if (!display || XEventsQueued(display, QueuedAlready) <= 0)
        return 0;
    events_seen++;
    XEvent event;
    XPeekEvent(display, &event);
    // The clipboard's window is no toolkit window, but its requests are
    // answered whatever loop runs.
    if (clipboard_event(display, &event)) {
        XNextEvent(display, &event);
        return 1;
    }
    Window xwin = event.xany.window;
    modal = live_window(modal);
    if (!modal) {
        if (tslGetWindowFromXWindow(xwin))
            return 0;
        XNextEvent(display, &event);
        drop_foreign_event(&event);
        return 1;
    }
    if (CheckChildWindow(modal, xwin))
        return 0;
    // Taken off the queue before dispatch: a procedure may read events itself.
    XNextEvent(display, &event);
    TslWindow* owner = tslGetWindowFromXWindow(xwin);
    if (!owner)
        drop_foreign_event(&event);
    else if (event.type == Expose || event.type == ConfigureNotify)
        tslCallWndProc(display, owner, &event, 0);
    if (event.type == ButtonPress)
        raise_modal(display, modal);
    return 1;
}

int tslHookEvent(Display* display, TslWindow* modal)
{
    if (!display || XPending(display) <= 0)
        return 1;
    XEvent event;
    XNextEvent(display, &event);
    if (clipboard_event(display, &event))
        return 1;
    Window xwin = event.xany.window;
    TslWindow* owner = tslGetWindowFromXWindow(xwin);
    modal = live_window(modal);
    if (modal && CheckChildWindow(modal, xwin))
        return tslCallWndProc(display, modal, &event, 1);
    if (!owner)
        drop_foreign_event(&event);
    else if (is_repaint_event(event.type))
        tslCallWndProc(display, owner, &event, 0);
    if (modal && event.type == ButtonPress)
        raise_modal(display, modal);
    return 1;
}

int tslTimerEvent(void)
{
    int count = tslGetTotalWindows();
    for (int i = 0; i < count; i++) {
        TslWindow* w = tslGetWindowFromIndex(i);
        if (w && w->timerEvent)
            tslSendEvent(w, TSLM_TIMER);
    }
    return 1;
}

int tslFlush(Display* display)
{
    end_pass(display, true);
    return 1;
}

int tslSetDebugCallback(TslDebugCallback fn)
{
    g_tessel.debugCallback = fn;
    return 1;
}
