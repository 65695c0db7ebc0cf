// Colours worked out on the client.  On a TrueColor visual every pixel is a
// fixed function of the colour, so the pixel the server would allocate can be
// computed from the visual without a round trip; other visuals ask the server.
#include <cstring>

#include "support/color_private.h"

// The server first keeps the visual's significant bits of a 16-bit component
// and scales them back to 16 bits.
static unsigned long resolve(unsigned long v, int bitsPerRgb)
{
    int shift = 16 - bitsPerRgb;
    unsigned long limit = (1UL << bitsPerRgb) - 1;
    return ((v >> shift) * 65535UL) / limit;
}

// Entry i of a channel's ramp: i scaled to 16 bits, resolved the same way.
static unsigned long ramp(unsigned long i, unsigned long top, int bitsPerRgb)
{
    return resolve((i * 65535UL) / top, bitsPerRgb);
}

// The first index whose ramp entry is at least value (top + 1 when none);
// the ramp never falls, so a binary search finds it.
static unsigned long first_at_least(unsigned long value, unsigned long top, int bitsPerRgb)
{
    unsigned long lo = 0, hi = top + 1;
    while (lo < hi) {
        unsigned long mid = (lo + hi) / 2;
        if (ramp(mid, top, bitsPerRgb) < value)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// One channel: the index of the ramp entry nearest to the resolved value
// (ties to the lower index), shifted into the channel's mask.
static unsigned long channel_pixel(unsigned long mask, int bitsPerRgb, unsigned short value)
{
    if (!mask)
        return 0;
    int offset = 0;
    while (!((mask >> offset) & 1))
        offset++;
    unsigned long top = mask >> offset;
    unsigned long want = resolve(value, bitsPerRgb);
    unsigned long above = first_at_least(want, top, bitsPerRgb);
    unsigned long best = above;
    if (above > 0) {
        unsigned long below = ramp(above - 1, top, bitsPerRgb);
        if (above > top || want - below <= ramp(above, top, bitsPerRgb) - want)
            best = first_at_least(below, top, bitsPerRgb);
    }
    return best << offset;
}

unsigned long color_true_pixel(const ColorVisual* v, unsigned short r, unsigned short g,
                               unsigned short b)
{
    int bits = v->bitsPerRgb < 1 ? 1 : (v->bitsPerRgb > 16 ? 16 : v->bitsPerRgb);
    unsigned long masks = v->redMask | v->greenMask | v->blueMask;
    // A 32-plane visual has its remaining bits (alpha) set in every pixel.
    unsigned long alpha = v->depth < 32 ? 0 : ~masks & 0xFFFFFFFFUL;
    return channel_pixel(v->redMask, bits, r) | channel_pixel(v->greenMask, bits, g) |
           channel_pixel(v->blueMask, bits, b) | alpha;
}

int color_is_local(Display* display, Colormap cmap)
{
    return display && cmap == DefaultColormap(display, 0) &&
           DefaultVisual(display, 0)->c_class == TrueColor;
}

static ColorVisual default_visual(Display* display)
{
    const Visual* v = DefaultVisual(display, 0);
    return ColorVisual{v->red_mask, v->green_mask, v->blue_mask, v->bits_per_rgb,
                       DefaultDepth(display, 0)};
}

int color_alloc(Display* display, Colormap cmap, XColor* color)
{
    if (!color_is_local(display, cmap))
        return XAllocColor(display, cmap, color) ? 1 : 0;
    ColorVisual v = default_visual(display);
    color->pixel = color_true_pixel(&v, color->red, color->green, color->blue);
    return 1;
}

int color_parse_local(Display* display, Colormap cmap, const char* name, XColor* color)
{
    if (!name)
        return 0;
    memset(color, 0, sizeof *color);
    color->flags = DoRed | DoGreen | DoBlue;
    // Xlib reads "#RGB" forms itself; other names would be a request.
    if (name[0] == '#')
        return XParseColor(display, cmap, name, color) ? 1 : 0;
    const std::string* text = color_database();
    int r, g, b;
    if (!text || !color_find_exact(text->data(), text->size(), name, &r, &g, &b))
        return 0;
    if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255)
        return 0;
    // The server widens the database's 8-bit values by repeating them.
    color->red = (unsigned short)(r * 0x101);
    color->green = (unsigned short)(g * 0x101);
    color->blue = (unsigned short)(b * 0x101);
    return 1;
}
