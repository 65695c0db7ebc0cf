// X protocol error handling: errors are recorded, never fatal, so that a
// request the toolkit checks (a pixmap too large, a window already gone)
// becomes a failure return instead of an exit.
#ifndef TSL_CORE_XERROR_H
#define TSL_CORE_XERROR_H

#include <X11/Xlib.h>

// Installs the toolkit's handler; safe to call more than once.
void xerr_install(void);

// Brackets a group of requests whose errors the caller wants to see.
// xerr_trap_end syncs with the server and returns the first error code
// caught since the matching begin (0 when none).  Traps may nest.
void xerr_trap_begin(Display* display);
int xerr_trap_end(Display* display);

#endif
