// What today's window managers expect of a client beyond the core protocol:
// a UTF-8 title, and dialogs marked as belonging to their parent.
#ifndef TSL_CORE_WM_MANNERS_H
#define TSL_CORE_WM_MANNERS_H

#include "tessel.h"

// WM_NAME with the caption converted from the toolkit's character code to
// Latin-1 or compound text, and for a top-level window also _NET_WM_NAME in
// UTF-8.
void wm_store_name(Display* display, TslWindow* w, const char* caption);

// WM_TRANSIENT_FOR naming the top-level window of parent (nothing when
// parent is null).
void wm_set_transient(Display* display, TslWindow* dialog, TslWindow* parent);

#endif
