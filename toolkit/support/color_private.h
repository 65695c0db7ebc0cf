// Colour module internals: the colour database, the nearest-colour search,
// the pixels worked out on the client and the pure arithmetic behind them,
// shared with the image loader and the tests.
#ifndef TSL_SUPPORT_COLOR_PRIVATE_H
#define TSL_SUPPORT_COLOR_PRIVATE_H

#include <stddef.h>
#include <string>

#include "tessel.h"

// Longest database line looked at; the rest of a longer line is skipped.
#define COLOR_LINE_MAX 8192

// RGB of a colour name from the X colour database; 1 when found, else 0.
int GetNamedColorRGB(const char* name, int* r, int* g, int* b);

// Pixel of the colormap entry nearest to (r, g, b); ties go to the lower pixel.
unsigned long GetNearColor(Display* display, Colormap cmap, int r, int g, int b);

// Applies a TSL_ALTER_* mode to a colour in place (components are clamped first).
void color_alter(int mode, int* r, int* g, int* b);

// One database line of len bytes: 1 and the RGB when its name begins with
// name (nameLen bytes), 0 for comments, short lines and other names.
int color_match_line(const char* line, size_t len, const char* name, size_t nameLen, int* r,
                     int* g, int* b);

// Searches database text (size bytes) by name prefix, as color_match_line
// does line by line: 1 when found.
int color_find_in_text(const char* text, size_t size, const char* name, int* r, int* g, int* b);

// Searches database text for a whole name, compared without regard to case,
// the way the X server looks names up: 1 when found.
int color_find_exact(const char* text, size_t size, const char* name, int* r, int* g, int* b);

// The database text, read at the first call and kept; null when no database
// file can be read (tried again at the next call).
const std::string* color_database();

// Index of the entry nearest to (r, g, b) among n colours, 16-bit components
// compared shifted right 8 bits; the first minimum wins.  stopAtExact ends the
// search at the first exact match.  Returns -1 when n is 0.
int color_nearest_index(const XColor* colors, int n, int r, int g, int b, int stopAtExact);

// Smallest k with k*k*k >= cells.
int color_cube_side(int cells);

// Replaces the list of database files tried (null restores the built-in
// list); the text read before is dropped.
void color_override_database(const char* path);

// What decides the pixels of a TrueColor visual.
struct ColorVisual {
    unsigned long redMask, greenMask, blueMask;
    int bitsPerRgb;
    int depth;
};

// The pixel the X server's colour allocation gives for a 16-bit colour on a
// TrueColor visual.
unsigned long color_true_pixel(const ColorVisual* visual, unsigned short r, unsigned short g,
                               unsigned short b);

// 1 when the pixels of cmap can be worked out on the client: the default
// colormap of a TrueColor default visual.
int color_is_local(Display* display, Colormap cmap);

// XAllocColor, answered on the client where color_is_local says so; 1 and
// the pixel in color on success.
int color_alloc(Display* display, Colormap cmap, XColor* color);

// The exact colour of a name without asking the server: "#RGB" forms and
// names of the colour database.  0 when the server would have to be asked.
int color_parse_local(Display* display, Colormap cmap, const char* name, XColor* color);

#endif
