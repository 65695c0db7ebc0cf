// The desktop's CLIPBOARD selection for the toolkit's text: owning it with a
// copied text, answering other programs' requests for it, and fetching the
// text another program copied.  A hidden window of the module's own holds
// the ownership, so what was copied outlives the control it came from.
#ifndef TSL_CORE_CLIPBOARD_H
#define TSL_CORE_CLIPBOARD_H

#include <X11/Xlib.h>

#include <string>

// Takes the CLIPBOARD with text (in the toolkit's code) at the time of the
// user's event; 1 when the selection is ours.
int clipboard_copy(Display* display, const char* text, Time time);

// The CLIPBOARD's text in the toolkit's code: asks its owner for UTF8_STRING,
// then STRING, waiting a few seconds at most for each answer while every
// other event stays queued in order.  1 with *text set; 0 when there is none.
int clipboard_paste(Display* display, Time time, std::string* text);

// Handles an event for the module's window (requests for the text, the loss
// of the selection, notices left from a transfer); 1 when it was one, and
// the caller then drops it.
int clipboard_event(Display* display, const XEvent* event);

#endif
