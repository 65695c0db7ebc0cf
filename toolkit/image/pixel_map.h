// Turns decoded colours into pixel values of the display's default visual:
// palette entries through the colormap, true colour by the visual's masks,
// the colour cube at depth 8 and per-colour allocation below that.
#ifndef TSL_IMAGE_PIXEL_MAP_H
#define TSL_IMAGE_PIXEL_MAP_H

#include <cstdint>
#include <unordered_map>

#include "tessel.h"

enum PixelMapKind {
    PIXMAP_PACK,   // true colour: components shifted into the visual's masks
    PIXMAP_CUBE,   // depth 8: 6x6x6 cube index through the cube table
    PIXMAP_ALLOC   // below 8: one colormap cell per colour
};

struct PixelMap {
    PixelMapKind kind = PIXMAP_PACK;
    uint32_t lut[3][256] = {};             // PIXMAP_PACK: component -> masked bits
    const unsigned long* cube = nullptr;   // PIXMAP_CUBE; null: the index is the pixel
    unsigned long* ownedCube = nullptr;    // a cube table made for a foreign colormap
    Display* display = nullptr;
    Colormap cmap = 0;
    std::unordered_map<uint32_t, uint32_t> cache;  // PIXMAP_ALLOC
    uint32_t palette[256] = {};
};

// Pure set-up of the packing tables for three channel masks.
void pixel_map_set_masks(PixelMap* map, unsigned long red, unsigned long green, unsigned long blue);

// 1 when pixels are 0x00RRGGBB (8-8-8 masks), the layout libjpeg can write itself.
bool pixel_map_is_xrgb8888(const PixelMap* map);

// Cube index of a colour: 40 + 36 r/51 + 6 g/51 + b/51.
int pixel_map_cube_index(int r, int g, int b);

// Chooses the rule for the display's default depth and visual.  The cube
// table is only taken (or made) when the picture holds direct colours.
void pixel_map_begin(PixelMap* map, Display* display, Colormap cmap, bool directColours);
// Frees a cube table made by begin.
void pixel_map_end(PixelMap* map);

// Allocates the pixels of a colour table (RGB triples, n <= 256).  Indices
// beyond the table map to entry 0.
void GetColorTable(PixelMap* map, const uint8_t* rgb, int n);

// RGB of the toolkit's background pixel, over which transparent pixels
// are blended.
void pixel_map_back_rgb(Display* display, uint8_t* rgb);

// Pixel values of n palette indices.
void pixel_map_indices(const PixelMap* map, const uint8_t* index, int n, uint32_t* out);

// Pixel values of n triples; bgr selects blue-green-red byte order.
void pixel_map_rgb(PixelMap* map, const uint8_t* px, int n, bool bgr, uint32_t* out);

#endif
