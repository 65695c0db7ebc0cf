// Internal interface of the window registry, dispatcher and redraw buffer:
// the list of live windows and the helpers the event loop and start-up share.
#ifndef TSL_CORE_WINDOW_PRIVATE_H
#define TSL_CORE_WINDOW_PRIVATE_H

#include "tessel.h"

// Every live window in creation order, null-terminated; null while none exists.
extern TslWindow** g_tslTesselManager;

// List maintenance: 1, or 0 with a message when the array cannot be resized.
int AddTesselManager(TslWindow* window);
int DeleteTesselManager(TslWindow* window);
int AddChildWindow(TslWindow* parent, TslWindow* child);
int DeleteChildWindow(TslWindow* parent, TslWindow* child);

// 1 if xwin belongs to window or one of its descendants.
int CheckChildWindow(TslWindow* window, Window xwin);
// 1 if p is a window of the list.
int CheckTslPointer(const void* p);

// Runs the children's update callbacks after a ConfigureNotify.
int UpdateWindow(TslWindow* window, XEvent* event);
// Copies the buffer to the screen when something was drawn since the last copy.
int AutoRedraw(Display* display, TslWindow* window);
// Paints background and wallpaper into a pixmap the size of (part of) the window.
int ClearWindowForDWndProc(Display* display, TslWindow* window, Pixmap pixmap,
                           unsigned int position, unsigned int size);

// Sets the window GC to clip None, GXcopy, foreground and background backPixel.
void redraw_reset_gc(Display* display, TslWindow* window);

#endif
