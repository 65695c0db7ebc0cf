// The toolkit's one global record; zero-filled until tslOpenDisplay fills it.
#include "tessel.h"

TslGlobal g_tessel;
