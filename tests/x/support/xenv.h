// Test support for X-side tests: a live display with g_tessel filled the way
// the start-up fills it (without reading any resource file), and helpers to
// read back what the server holds.
#ifndef TSL_TEST_XENV_H
#define TSL_TEST_XENV_H

#include <string>
#include <vector>

#include "tessel.h"

// Opens the display named by env_var (DISPLAY when null; also
// TSL_DISPLAY_16 / TSL_DISPLAY_8 for the 16- and 8-bit servers) and fills
// g_tessel: display, screen size, depth, colormap, standard colours, window
// colours (back grey 105, border black, font grey 190, paper grey 105,
// action blue and derived shades), fonts (14-pixel JIS X 0201 and JIS X 0208), GCs, interval 35, EUC text.
// Returns null when the display cannot be opened.
Display* xenv_open(const char* env_var = nullptr);

// Frees what xenv_open made and closes the display.  Windows still in the
// toolkit's list are not touched.
void xenv_close();

// The pixel value at (x, y) of a drawable, read with XGetImage.
unsigned long xenv_pixel(Display* display, Drawable d, int x, int y);

// All pixel values of a rectangle, row by row.
std::vector<unsigned long> xenv_pixels(Display* display, Drawable d, int x, int y, int w, int h);

// Processes events for ms milliseconds, dispatching through the toolkit's
// dispatcher to every top-level window; returns when the time is up.
void xenv_pump(Display* display, int ms);

// Waits until a window is viewable (MapNotify seen by the server).
void xenv_wait_mapped(Display* display, Window w);

#endif
