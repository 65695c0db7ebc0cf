// The toolkit's three built-in cursor pictures, in the order of g_tessel.cursors.
#ifndef TSL_RESOURCES_CURSORS_H
#define TSL_RESOURCES_CURSORS_H

#include "tessel.h"

extern const TslCursorData res_curFinger;
extern const TslCursorData res_curWait;
extern const TslCursorData res_curIbeam;

#endif
