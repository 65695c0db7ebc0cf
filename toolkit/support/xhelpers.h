// Small X helpers shared by the painting code of the toolkit.
#ifndef TSL_SUPPORT_XHELPERS_H
#define TSL_SUPPORT_XHELPERS_H

#include "tessel.h"

// Every graphics-context component except the arc mode, for XCopyGC.
static const unsigned long XHELP_GC_ALL_BUT_ARC_MODE = 0x3FFFFFUL;

// A region holding the one rectangle r; the caller destroys it.  Null when
// Xlib is out of memory.
Region xhelp_rect_region(TslRect r);

#endif
