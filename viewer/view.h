// The viewer's image pane: shows one picture, centred when it is smaller
// than the pane and otherwise from the scroll offsets, at its own size or
// scaled.
#ifndef PICTEL_VIEW_H
#define PICTEL_VIEW_H

#include "tessel.h"

TslWindow* CreateWindow_View(Display* display, TslWindow* parent, unsigned int position,
                             unsigned int size, const char* name);
int WndProc_View(Display* display, TslWindow* pane, XEvent* event);
int Draw_View(Display* display, TslWindow* pane);

// The image is not owned by the pane; the caller frees it after unsetting it.
int SetImage_View(TslWindow* pane, TslImage* image);
// Offsets in pixels; a negative offset is refused with 0.
int SetHPos_View(TslWindow* pane, int offset);
int SetVPos_View(TslWindow* pane, int offset);
int GetHPos_View(void);
int GetVPos_View(void);

// The size the picture is shown at, scaled by the X server or the client;
// 0 x 0, or the picture's own size, shows it pixel for pixel.  Offsets
// count in pixels of the picture as shown.  Given no pane, the size is
// stored without a repaint.
int SetZoom_View(TslWindow* pane, int width, int height);

// Shows a picture that is still loading in place of the current one, from
// its top-left corner, until unset with null (which repaints nothing); the
// caller unsets it before the picture's record goes.
int Preview_View(TslWindow* pane, TslImage* partial);

#endif
