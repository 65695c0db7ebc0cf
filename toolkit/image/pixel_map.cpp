// Colour to pixel-value mapping for loaded pictures.  True-colour packing
// goes through per-component tables, so a row costs three lookups a pixel
// and no X request.
#include "image/pixel_map.h"

#include <cstdlib>
#include <cstring>

void pixel_map_set_masks(PixelMap* map, unsigned long red, unsigned long green, unsigned long blue)
{
    const unsigned long masks[3] = {red, green, blue};
    for (int ch = 0; ch < 3; ch++) {
        unsigned long m = masks[ch] & 0xFFFFFFFFul;
        int shift = 0, bits = 0;
        if (m) {
            while (!((m >> shift) & 1))
                shift++;
            while (shift + bits < 32 && ((m >> (shift + bits)) & 1))
                bits++;
        }
        for (uint32_t c = 0; c < 256; c++) {
            uint64_t v = bits >= 8 ? (uint64_t)c << (bits - 8) : (uint64_t)(c >> (8 - bits));
            map->lut[ch][c] = (uint32_t)((v << shift) & m);
        }
    }
    map->kind = PIXMAP_PACK;
}

bool pixel_map_is_xrgb8888(const PixelMap* map)
{
    if (map->kind != PIXMAP_PACK)
        return false;
    for (uint32_t c = 0; c < 256; c++)
        if (map->lut[0][c] != c << 16 || map->lut[1][c] != c << 8 || map->lut[2][c] != c)
            return false;
    return true;
}

int pixel_map_cube_index(int r, int g, int b)
{
    return 40 + (r / 51) * 36 + (g / 51) * 6 + b / 51;
}

void pixel_map_begin(PixelMap* map, Display* display, Colormap cmap, bool directColours)
{
    map->display = display;
    map->cmap = cmap;
    int depth = DefaultDepth(display, 0);
    if (depth < 8) {
        map->kind = PIXMAP_ALLOC;
        return;
    }
    if (depth == 8) {
        map->kind = PIXMAP_CUBE;
        if (!directColours)
            return;
        if (cmap == g_tessel.colormap) {
            map->cube = g_tessel.colormapTable;
        } else {
            map->ownedCube = tslConvertColormap(display, cmap);
            map->cube = map->ownedCube;
        }
        return;
    }
    Visual* visual = DefaultVisual(display, 0);
    if (visual->c_class == TrueColor || visual->c_class == DirectColor)
        pixel_map_set_masks(map, visual->red_mask, visual->green_mask, visual->blue_mask);
    else if (depth == 16)
        pixel_map_set_masks(map, 0xF800, 0x07E0, 0x001F);
    else
        pixel_map_set_masks(map, 0xFF0000, 0x00FF00, 0x0000FF);
}

void pixel_map_end(PixelMap* map)
{
    free(map->ownedCube);
    map->ownedCube = nullptr;
    map->cube = nullptr;
    map->cache.clear();
}

void GetColorTable(PixelMap* map, const uint8_t* rgb, int n)
{
    if (n > 256)
        n = 256;
    for (int i = 0; i < n; i++)
        map->palette[i] = (uint32_t)tslGetColor(map->display, map->cmap, rgb[i * 3], rgb[i * 3 + 1],
                                                rgb[i * 3 + 2]);
    for (int i = n > 0 ? n : 0; i < 256; i++)
        map->palette[i] = map->palette[0];
}

void pixel_map_back_rgb(Display* display, uint8_t* rgb)
{
    XColor c;
    c.pixel = g_tessel.backPixel;
    XQueryColor(display, g_tessel.colormap ? g_tessel.colormap : DefaultColormap(display, 0), &c);
    rgb[0] = (uint8_t)(c.red >> 8);
    rgb[1] = (uint8_t)(c.green >> 8);
    rgb[2] = (uint8_t)(c.blue >> 8);
}

void pixel_map_indices(const PixelMap* map, const uint8_t* index, int n, uint32_t* out)
{
    for (int i = 0; i < n; i++)
        out[i] = map->palette[index[i]];
}

static uint32_t alloc_pixel(PixelMap* map, int r, int g, int b)
{
    uint32_t key = ((uint32_t)r << 16) | ((uint32_t)g << 8) | (uint32_t)b;
    auto it = map->cache.find(key);
    if (it != map->cache.end())
        return it->second;
    uint32_t pixel = (uint32_t)tslGetColor(map->display, map->cmap, r, g, b);
    map->cache.emplace(key, pixel);
    return pixel;
}

// The packing tables are shifted components; recovering the shifts (and
// checking them against every entry) lets a row cost shifts, not lookups.
struct PackShifts {
    int right[3];
    int left[3];
};

static bool pack_shifts(const PixelMap* map, PackShifts* s)
{
    uint32_t diff = 0;
    for (int ch = 0; ch < 3; ch++) {
        uint32_t top = map->lut[ch][255];
        int bits = __builtin_popcount(top);
        if (bits > 8)
            return false;
        s->right[ch] = 8 - bits;
        s->left[ch] = top ? __builtin_ctz(top) : 0;
        for (uint32_t c = 0; c < 256; c++)
            diff |= map->lut[ch][c] ^ ((c >> s->right[ch]) << s->left[ch]);
    }
    return diff == 0;
}

static bool host_is_little_endian()
{
    const uint16_t one = 1;
    uint8_t first;
    memcpy(&first, &one, 1);
    return first == 1;
}

static bool has_shifts(const PackShifts& s, int r0, int r1, int r2, int l0, int l1, int l2)
{
    return s.right[0] == r0 && s.right[1] == r1 && s.right[2] == r2 && s.left[0] == l0 && s.left[1] == l1 &&
           s.left[2] == l2;
}

// Packs a pixel from its three bytes loaded as one little-endian word
// (first byte lowest); the unaligned load reads one byte past the pixel.
template <typename Pack>
static void pack_words(const uint8_t* px, int n, uint32_t* out, Pack pack)
{
    const uint8_t* p = px;
    for (int i = 0; i + 1 < n; i++, p += 3) {
        uint32_t v;
        memcpy(&v, p, 4);
        out[i] = pack(v);
    }
    if (n > 0) {
        // The last pixel's word is built bytewise so nothing past the row is read.
        const uint8_t* last = px + (size_t)(n - 1) * 3;
        out[n - 1] = pack((uint32_t)last[0] | (uint32_t)last[1] << 8 | (uint32_t)last[2] << 16);
    }
}

// The two layouts nearly every true-colour screen has, with constant shifts.
static bool pack_common(const PackShifts& s, const uint8_t* px, int n, bool bgr, uint32_t* out)
{
    if (has_shifts(s, 0, 0, 0, 16, 8, 0)) {
        if (bgr)
            pack_words(px, n, out, [](uint32_t v) { return v & 0xFFFFFFu; });
        else
            pack_words(px, n, out, [](uint32_t v) { return __builtin_bswap32(v) >> 8; });
        return true;
    }
    if (has_shifts(s, 3, 2, 3, 11, 5, 0)) {
        if (bgr)
            pack_words(px, n, out, [](uint32_t v) { return (v >> 8 & 0xF800u) | (v >> 5 & 0x7E0u) | (v >> 3 & 0x1Fu); });
        else
            pack_words(px, n, out, [](uint32_t v) { return (v << 8 & 0xF800u) | (v >> 5 & 0x7E0u) | (v >> 19 & 0x1Fu); });
        return true;
    }
    return false;
}

static void pack_rgb(const PixelMap* map, const uint8_t* px, int n, int ri, int bi, uint32_t* out)
{
    PackShifts s;
    if (!pack_shifts(map, &s)) {
        const uint32_t* lr = map->lut[0];
        const uint32_t* lg = map->lut[1];
        const uint32_t* lb = map->lut[2];
        for (int i = 0; i < n; i++, px += 3)
            out[i] = lr[px[ri]] | lg[px[1]] | lb[px[bi]];
        return;
    }
    if (host_is_little_endian() && pack_common(s, px, n, ri == 2, out))
        return;
    for (int i = 0; i < n; i++, px += 3)
        out[i] = ((uint32_t)px[ri] >> s.right[0]) << s.left[0] | ((uint32_t)px[1] >> s.right[1]) << s.left[1] |
                 ((uint32_t)px[bi] >> s.right[2]) << s.left[2];
}

void pixel_map_rgb(PixelMap* map, const uint8_t* px, int n, bool bgr, uint32_t* out)
{
    const int ri = bgr ? 2 : 0, bi = bgr ? 0 : 2;
    switch (map->kind) {
    case PIXMAP_PACK:
        pack_rgb(map, px, n, ri, bi, out);
        break;
    case PIXMAP_CUBE:
        for (int i = 0; i < n; i++, px += 3) {
            int index = pixel_map_cube_index(px[ri], px[1], px[bi]);
            out[i] = map->cube ? (uint32_t)map->cube[index] : (uint32_t)index;
        }
        break;
    case PIXMAP_ALLOC:
        for (int i = 0; i < n; i++, px += 3)
            out[i] = alloc_pixel(map, px[ri], px[1], px[bi]);
        break;
    }
}
