// Cursor making for the start-up, which makes all three built-in cursors and
// then waits for the server once.
#ifndef TSL_CORE_CURSOR_PRIVATE_H
#define TSL_CORE_CURSOR_PRIVATE_H

#include "tessel.h"

// Sends the requests that make a cursor, without waiting for the server: a
// failure shows up as an X error in the caller's trap.  0 for unusable data.
Cursor cursor_create(Display* display, const TslCursorData* data);

#endif
