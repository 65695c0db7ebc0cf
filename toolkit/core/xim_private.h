// Input-method internals shared with the start-up code and the tests: the
// open input method, the server-gone flag and the two Xlib callbacks.
#ifndef TSL_CORE_XIM_PRIVATE_H
#define TSL_CORE_XIM_PRIVATE_H

#include <X11/Xlib.h>

// The input method opened by tslOpenIM_XIM; a second open returns it.
extern XIM g_im;

// Set when the input-method server went away while the program ran.
extern int g_bXIMtoRegister;

void OnIMInstantiate(Display* display, XPointer clientData, XPointer callData);
void OnIMServerDestroy(XIM im, XPointer clientData, XPointer callData);

#endif
