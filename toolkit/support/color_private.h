// Colour module internals: the colour-database lookup, the nearest-colour
// search and the pure arithmetic behind them, shared with the tests.
#ifndef TSL_SUPPORT_COLOR_PRIVATE_H
#define TSL_SUPPORT_COLOR_PRIVATE_H

#include <stddef.h>
#include <stdio.h>

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

// Searches an open database file from its current position: 1 when found.
int color_find_in_file(FILE* file, const char* name, int* r, int* g, int* b);

// Index of the entry nearest to (r, g, b) among n colours, 16-bit components
// compared shifted right 8 bits; the first minimum wins.  stopAtExact ends the
// search at the first exact match.  Returns -1 when n is 0.
int color_nearest_index(const XColor* colors, int n, int r, int g, int b, int stopAtExact);

// Smallest k with k*k*k >= cells.
int color_cube_side(int cells);

// Replaces the list of database files tried (null restores the built-in list).
void color_override_database(const char* path);

#endif
