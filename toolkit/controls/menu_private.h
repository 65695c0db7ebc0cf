// What the popup menu lets the other controls know of it.
#ifndef TSL_CONTROLS_MENU_PRIVATE_H
#define TSL_CONTROLS_MENU_PRIVATE_H

#include "tessel.h"

// Where and how large the menu was last asked to be, in its parent's
// coordinates; its rect catches up only when the configure notice is read.
// All zero for a window that is not a menu.
TslRect menu_requested_rect(TslWindow* menu);

#endif
