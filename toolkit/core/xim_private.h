// Input-method internals shared with the start-up code and the tests: the
// open input method, the server-gone flag, the opening on demand and the
// two Xlib callbacks.
#ifndef TSL_CORE_XIM_PRIVATE_H
#define TSL_CORE_XIM_PRIVATE_H

#include <X11/Xlib.h>

// The input method opened by tslOpenIM_XIM; a second open returns it.
extern XIM g_im;

// Set when the input-method server went away while the program ran.
extern int g_bXIMtoRegister;

// The start-up sets only the C library's locale (printing why it could
// not); Xlib's locale modifiers, opening the input method and making the
// font set its pre-edit draws with (from the comma-separated base names)
// wait for the first window that attaches an input method or asks for one:
// Xlib's locale database, the locale's compose table (read when no server
// is named) and the font set are among the slowest steps of a start, and a
// program that takes no typed text never needs them.
// When a server is named or announced, the start-up opens it at once, as a
// program that finds a running input method expects to see it in g_tessel.
int xim_set_locale(const char* locale);
void xim_open_on_demand(Display* display, const char* fontSetNames);
void xim_open_at_start(Display* display, const char* fontSetNames);

void OnIMInstantiate(Display* display, XPointer clientData, XPointer callData);
void OnIMServerDestroy(XIM im, XPointer clientData, XPointer callData);

#endif
