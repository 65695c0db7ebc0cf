// Colours: RGB triples and colour names to pixels of a colormap, the light,
// shadow, near and contrast variants, and the 8-bit colour-cube tables.
#include <cstdio>
#include <cstdlib>

#include "support/color_private.h"

// Nearest-colour search state, reused by every search.
static XColor col[256];

static int clamp_component(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

static unsigned short to_x_component(int v)
{
    return (unsigned short)(clamp_component(v) << 8);
}

void color_alter(int mode, int* r, int* g, int* b)
{
    int v[3] = {clamp_component(*r), clamp_component(*g), clamp_component(*b)};
    switch (mode) {
    case TSL_ALTER_NEAR:
        for (int& c : v)
            c = c < 129 ? c + c / 6 : c - c / 6;
        break;
    case TSL_ALTER_LIGHT: {
        bool white = v[0] == 255 || v[1] == 255 || v[2] == 255;
        for (int& c : v) {
            c = c + c / 2 + 40;
            if (c >= 255) {
                c = 255;
                white = true;
            }
        }
        if (white)
            v[0] = v[1] = v[2] = 255;
        break;
    }
    case TSL_ALTER_SHADOW:
        for (int& c : v)
            c = c / 2;
        break;
    case TSL_ALTER_CONTRAST:
        for (int& c : v) {
            if (abs(2 * c - 255) < 128)
                c = c < 128 ? c + 128 : c - 128;
            else
                c = 255 - c;
        }
        break;
    default:
        break;
    }
    *r = v[0];
    *g = v[1];
    *b = v[2];
}

int color_nearest_index(const XColor* colors, int n, int r, int g, int b, int stopAtExact)
{
    int best = -1;
    unsigned int bestDistance = 0;
    for (int i = 0; i < n; i++) {
        unsigned int dr = (unsigned int)r - (unsigned int)(colors[i].red >> 8);
        unsigned int dg = (unsigned int)g - (unsigned int)(colors[i].green >> 8);
        unsigned int db = (unsigned int)b - (unsigned int)(colors[i].blue >> 8);
        unsigned int d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
            if (stopAtExact && d == 0)
                break;
        }
    }
    return best;
}

int color_cube_side(int cells)
{
    int k = 0;
    while ((long long)k * k * k < cells)
        k++;
    return k;
}

// Number of colormap entries a search looks at: the default visual's, at most 256.
static int search_entries(Display* display)
{
    int n = DefaultVisual(display, 0)->map_entries;
    return n < 0 ? 0 : (n > 256 ? 256 : n);
}

static void query_entries(Display* display, Colormap cmap, XColor* colors, int n)
{
    for (int i = 0; i < n; i++) {
        colors[i].pixel = (unsigned long)i;
        colors[i].flags = DoRed | DoGreen | DoBlue;
    }
    if (n > 0)
        XQueryColors(display, cmap, colors, n);
}

unsigned long GetNearColor(Display* display, Colormap cmap, int r, int g, int b)
{
    int n = search_entries(display);
    query_entries(display, cmap, col, n);
    int best = color_nearest_index(col, n, r, g, b, 0);
    return best < 0 ? 0 : col[best].pixel;
}

int tslGetRGB(Display* display, Colormap cmap, unsigned long pixel, int* r, int* g, int* b)
{
    XColor c{};
    c.pixel = pixel;
    c.flags = DoRed | DoGreen | DoBlue;
    XQueryColor(display, cmap, &c);
    if (r)
        *r = c.red >> 8;
    if (g)
        *g = c.green >> 8;
    if (b)
        *b = c.blue >> 8;
    return 1;
}

unsigned long tslGetColor(Display* display, Colormap cmap, int r, int g, int b)
{
    XColor c{};
    c.red = to_x_component(r);
    c.green = to_x_component(g);
    c.blue = to_x_component(b);
    c.flags = DoRed | DoGreen | DoBlue;
    if (color_alloc(display, cmap, &c))
        return c.pixel;
    return GetNearColor(display, cmap, clamp_component(r), clamp_component(g), clamp_component(b));
}

unsigned long tslGetNamedColor(Display* display, Colormap cmap, const char* name)
{
    if (!name)
        return 0;
    XColor screen{}, exact{};
    if (color_is_local(display, cmap) && color_parse_local(display, cmap, name, &exact)) {
        color_alloc(display, cmap, &exact);
        return exact.pixel;
    }
    if (XAllocNamedColor(display, cmap, name, &screen, &exact))
        return screen.pixel;
    // The server may not know a name the database file matches by prefix;
    // allocating its RGB falls back to the nearest entry when the map is full.
    int r, g, b;
    if (GetNamedColorRGB(name, &r, &g, &b))
        return tslGetColor(display, cmap, r, g, b);
    return 0;
}

unsigned long tslGetAlterColor(Display* display, Colormap cmap, int r, int g, int b, int mode)
{
    color_alter(mode, &r, &g, &b);
    return tslGetColor(display, cmap, r, g, b);
}

unsigned long tslGetAlterNamedColor(Display* display, Colormap cmap, const char* name, int mode)
{
    int r, g, b;
    if (GetNamedColorRGB(name, &r, &g, &b))
        return tslGetAlterColor(display, cmap, r, g, b, mode);
    if (mode == TSL_ALTER_NEAR)
        return tslGetColor(display, cmap, 127, 127, 127);
    if (mode == TSL_ALTER_LIGHT || mode == TSL_ALTER_CONTRAST)
        return tslGetColor(display, cmap, 255, 255, 255);
    return tslGetColor(display, cmap, 0, 0, 0);
}

unsigned long* tslConvertColormap(Display* display, Colormap cmap)
{
    if (DefaultDepth(display, 0) != 8)
        return nullptr;
    unsigned long* table = (unsigned long*)calloc(256, sizeof(unsigned long));
    if (!table) {
        fprintf(stderr, "Error: Can't allocate memory (convert colormap).\n");
        return nullptr;
    }
    query_entries(display, cmap, col, 256);
    int black = 0;
    for (const XColor& c : col)
        if ((c.red >> 8) + (c.green >> 8) + (c.blue >> 8) == 0)
            black++;
    // Unallocated cells read as black; one black is taken to be a real one.
    int freeCells = black > 0 ? black - 1 : 0;
    int k = color_cube_side(freeCells);
    if (k > 2) {
        int step = 255 / (k - 1);
        for (int r = 0; r < 256; r += step)
            for (int g = 0; g < 256; g += step)
                for (int b = 0; b < 256; b += step)
                    tslGetColor(display, cmap, r, g, b);
        query_entries(display, cmap, col, 256);
    }
    int entry = 40;
    for (int r = 0; r < 256; r += 51)
        for (int g = 0; g < 256; g += 51)
            for (int b = 0; b < 256; b += 51)
                table[entry++] = col[color_nearest_index(col, 256, r, g, b, 1)].pixel;
    return table;
}

Colormap tslCopyColormap(Display* display, Colormap cmap)
{
    Window root = RootWindow(display, 0);
    Colormap copy = XCreateColormap(display, root, DefaultVisual(display, 0), AllocNone);
    int depth = DefaultDepth(display, 0);
    unsigned long count = depth >= 2 && depth < 64 ? (1UL << depth) / 4 : 0;
    XColor batch[256];
    for (unsigned long first = 0; first < count; first += 256) {
        int n = (int)(count - first < 256 ? count - first : 256);
        for (int i = 0; i < n; i++) {
            batch[i].pixel = first + (unsigned long)i;
            batch[i].flags = DoRed | DoGreen | DoBlue;
        }
        XQueryColors(display, cmap, batch, n);
        for (int i = 0; i < n; i++)
            XAllocColor(display, copy, &batch[i]);
    }
    return copy;
}

Colormap tslCreate8bppColormap(Display* display)
{
    if (DefaultDepth(display, 0) != 8)
        return 0;
    Window root = RootWindow(display, 0);
    Colormap cmap = XCreateColormap(display, root, DefaultVisual(display, 0), AllocAll);
    for (unsigned long pixel = 0; pixel <= 40; pixel++) {
        XColor c{};
        c.pixel = pixel;
        c.flags = DoRed | DoGreen | DoBlue;
        XQueryColor(display, g_tessel.colormap, &c);
        c.flags = DoRed | DoGreen | DoBlue;
        XStoreColor(display, cmap, &c);
    }
    unsigned long pixel = 40;
    for (int r = 0; r < 256; r += 51)
        for (int g = 0; g < 256; g += 51)
            for (int b = 0; b < 256; b += 51) {
                XColor c{};
                c.pixel = pixel++;
                c.red = (unsigned short)(r ? r * 256 + 255 : 0);
                c.green = (unsigned short)(g ? g * 256 + 255 : 0);
                c.blue = (unsigned short)(b ? b * 256 + 255 : 0);
                c.flags = DoRed | DoGreen | DoBlue;
                XStoreColor(display, cmap, &c);
            }
    return cmap;
}

int tslDumpColormap(Display* display, Colormap cmap)
{
    int depth = DefaultDepth(display, 0);
    unsigned long long count = depth >= 0 && depth < 64 ? 1ULL << depth : 0;
    XColor batch[256];
    for (unsigned long long first = 0; first < count; first += 256) {
        int n = (int)(count - first < 256 ? count - first : 256);
        for (int i = 0; i < n; i++) {
            batch[i].pixel = (unsigned long)(first + (unsigned long long)i);
            batch[i].flags = DoRed | DoGreen | DoBlue;
        }
        XQueryColors(display, cmap, batch, n);
        for (int i = 0; i < n; i++)
            printf("Pixel:%06lu - RGB:%3d,%3d,%3d\n", batch[i].pixel, batch[i].red >> 8,
                   batch[i].green >> 8, batch[i].blue >> 8);
    }
    return 1;
}
