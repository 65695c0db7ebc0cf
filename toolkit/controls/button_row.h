// Rows of push buttons that are the only children of a tool bar or a select
// button group: found by index or X window, added, removed and changed with
// the buttons after them moved so that 5-pixel gaps stay between them.
#ifndef TSL_CONTROLS_BUTTON_ROW_H
#define TSL_CONTROLS_BUTTON_ROW_H

#include "tessel.h"

// How a row runs: along x (horizontal) or y from origin, every button
// standing at across on the other axis.  Buttons of a horizontal row are
// height high and as wide as their caption; those of a vertical row too.
struct RowAxis {
    bool horizontal;
    int origin;
    int across;
    int height;
};

// The button index names: -1 the last, other negatives the first; null
// when there is none.
TslWindow* row_button(TslWindow* owner, int index);

// The index of the button whose X window is xwin, or -1.
int row_index_of(TslWindow* owner, Window xwin);

// Hands an event to a button as the dispatcher would, with the owner's
// status; returns the button's.
int row_pass(Display* display, TslWindow* owner, TslWindow* button, XEvent* event);

// Creates a button of the given width at index (any negative, or an index
// at or past the end, appends) and moves the later ones on.  Null when the
// button cannot be made; nothing has moved then.
TslWindow* row_add(Display* display, TslWindow* owner, const RowAxis& axis, const char* caption,
                   TslImage* icon, TslEventCallback callback, int width, int index);

// Destroys the button index names (any negative: the last) and moves the
// later ones back into its place.
void row_delete(TslWindow* owner, bool horizontal, int index);

// Gives a button a new caption and icon.  Only the icon is stored when the
// caption is the same and the button had an icon exactly when it gets one;
// otherwise the button takes its changed width and, in a horizontal row,
// the later buttons move by the difference.
void row_change(TslWindow* owner, bool horizontal, const char* caption, TslImage* icon, int index);

#endif
