// X protocol error traps: around a group of requests that may fail (a pixmap
// too large, a window already gone) the toolkit's handler records the error,
// so that the failure becomes a return value instead of the program's end.
// Outside a trap the program's own handler (or Xlib's) is in force.
#ifndef TSL_CORE_XERROR_H
#define TSL_CORE_XERROR_H

#include <X11/Xlib.h>

// Brackets a group of requests whose errors the caller wants to see.
// xerr_trap_begin only notes where the group starts; xerr_trap_end syncs
// with the server and returns the first error code of a request made since
// the matching begin (0 when none).  Traps may nest.  Errors of earlier
// requests, or of another display, go to the handler the program had.
void xerr_trap_begin(Display* display);
int xerr_trap_end(Display* display);

#endif
