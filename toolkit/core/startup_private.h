// Start-up steps shared between the start-up code and its tests: option
// parsing, reading the [Tessel] resources and building the font set.
#ifndef TSL_CORE_STARTUP_PRIVATE_H
#define TSL_CORE_STARTUP_PRIVATE_H

#include <X11/Xlib.h>

// Parses the standard options into g_tessel; 0 when argc is 0 or argv null.
int ArgInit(int argc, char** argv);

// Reads every [Tessel] key (writing defaults back), then loads colours,
// fonts and the wall image into g_tessel; the font set is left to the input
// method's opening.  Returns 1.
int GetRCFileValue(void);

// An XFontSet for a comma-separated base-name list, or null.
XFontSet CreateFontSet(Display* display, const char* baseNameList);

#endif
