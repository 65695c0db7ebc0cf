// The 1-bit transparency mask of a loaded picture: cleared pixel by pixel
// while rows are decoded (nothing is kept until a pixel turns out
// transparent), then sent to the server as a depth-1 pixmap.
#ifndef TSL_IMAGE_IMAGE_MASK_H
#define TSL_IMAGE_IMAGE_MASK_H

#include <cstddef>
#include <cstdint>

#include "tessel.h"

struct ImageMask {
    int width = 0;
    int height = 0;
    size_t stride = 0;        // bytes per row
    uint8_t* bits = nullptr;  // bit x & 7 of byte x / 8 (least significant first); 1 = shown
    bool failed = false;      // the bits could not be allocated

    ImageMask(int w, int h);
    ~ImageMask();
    ImageMask(const ImageMask&) = delete;
    ImageMask& operator=(const ImageMask&) = delete;
};

// 1 when pixel (x, y) is shown.
int image_mask_shown(const ImageMask* mask, int x, int y);

// Marks the pixels of row y whose index is index transparent.
void image_mask_index_row(ImageMask* mask, const uint8_t* row, int n, int y, int index);

// Blends an RGBA row over the background colour bg (RGB) into RGB; fully
// transparent pixels take the background and are marked in the mask.
void image_compose_rgba(const uint8_t* rgba, int n, const uint8_t* bg, uint8_t* rgb, ImageMask* mask, int y);

// The mask as a new depth-1 pixmap in *pixmap, or 0 when every pixel is
// shown.  Returns 0 when memory or the server refused it.
int image_mask_pixmap(Display* display, const ImageMask* mask, Pixmap* pixmap);

#endif
