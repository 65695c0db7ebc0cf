// What the stock dialogs share as X windows: the top-level window with its
// record, painting its background and picture, moving its parts after a
// resize, and showing it over its parent.
#ifndef TSL_DIALOGS_DIALOG_WINDOW_H
#define TSL_DIALOGS_DIALOG_WINDOW_H

#include <cstddef>

#include "tessel.h"

// A dialog window (border 1, redraw buffer on) holding a zeroed record of
// recordSize bytes in option; null when either cannot be made.
TslWindow* dialog_create(Display* display, TslWindow* parent, TslRect rect, const char* title,
                         TslWndProc proc, size_t recordSize);

// Background, then the picture at (x, y) when there is one, then the screen.
void dialog_paint(Display* display, TslWindow* dialog, TslImage* picture, int x, int y);

// Where a child of the given kind (and caption, unless null) belongs.
struct DialogSlot {
    int kind;
    const char* caption;
    TslRect rect;
};
void dialog_move_children(Display* display, TslWindow* dialog, const DialogSlot* slots, int count);

// What both dialogs' procedures do with an event for their own window,
// given the status so far: paint after mapping, after a resize (once the
// parts are moved) and on TSLM_PAINT; a child's DestroyNotify is no news,
// the dialog's own (destroyed from outside) closes it.
typedef void (*DialogStep)(Display* display, TslWindow* dialog);
int dialog_procedure(Display* display, TslWindow* dialog, XEvent* event, int status,
                     DialogStep relayout, DialogStep draw);

// The procedure of a dialog in raw mode: an event for its own window gets
// the default processing, then dialog_procedure's; any other leaves the
// dialog's status as it is.
int dialog_raw_procedure(Display* display, TslWindow* dialog, XEvent* event, DialogStep relayout,
                         DialogStep draw);

// The modal loop of a dialog that takes its events itself: each event of
// the dialog's tree goes to answer until answer returns non-zero, which the
// loop returns.  Between passes the loop sleeps on the connection.
typedef int (*DialogAnswer)(Display* display, XEvent* event, void* context);
int dialog_loop(Display* display, TslWindow* dialog, DialogAnswer answer, void* context);

// Marks the dialog as its parent's, raises it and centres it over the parent
// (over the screen without one).
void dialog_show(Display* display, TslWindow* dialog, TslWindow* parent);

// The same for a dialog that remembers where it was last closed: centred
// while back's x or y is DIALOG_NOT_SHOWN (the first time), else moved and
// resized to back.
enum { DIALOG_NOT_SHOWN = -10 };
void dialog_place(Display* display, TslWindow* dialog, TslWindow* parent, TslRect back);

#endif
