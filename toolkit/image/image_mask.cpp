// Transparency masks of PNG and GIF pictures.  Most pictures have no
// transparent pixel, so the bits are only allocated at the first one.
#include "image/image_mask.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/xerror.h"

ImageMask::ImageMask(int w, int h) : width(w), height(h), stride(((size_t)w + 7) / 8)
{
}

ImageMask::~ImageMask()
{
    free(bits);
}

static void clear_bit(ImageMask* m, int x, int y)
{
    if (!m->bits && !m->failed) {
        m->bits = static_cast<uint8_t*>(malloc(m->stride * (size_t)m->height));
        m->failed = m->bits == nullptr;
        if (m->bits)
            memset(m->bits, 0xFF, m->stride * (size_t)m->height);
    }
    if (m->bits)
        m->bits[m->stride * (size_t)y + (size_t)x / 8] &= (uint8_t) ~(1u << (x & 7));
}

int image_mask_shown(const ImageMask* m, int x, int y)
{
    return !m->bits || ((m->bits[m->stride * (size_t)y + (size_t)x / 8] >> (x & 7)) & 1);
}

void image_mask_index_row(ImageMask* m, const uint8_t* row, int n, int y, int index)
{
    for (int x = 0; x < n; x++)
        if (row[x] == index)
            clear_bit(m, x, y);
}

void image_compose_rgba(const uint8_t* rgba, int n, const uint8_t* bg, uint8_t* rgb, ImageMask* m, int y)
{
    for (int x = 0; x < n; x++, rgba += 4, rgb += 3) {
        unsigned a = rgba[3];
        if (a == 255) {
            memcpy(rgb, rgba, 3);
            continue;
        }
        for (int c = 0; c < 3; c++)
            rgb[c] = (uint8_t)((rgba[c] * a + bg[c] * (255 - a) + 127) / 255);
        if (a == 0)
            clear_bit(m, x, y);
    }
}

int image_mask_pixmap(Display* d, const ImageMask* m, Pixmap* pixmap)
{
    *pixmap = 0;
    if (m->failed) {
        fprintf(stderr, "Error: Can't allocate memory.\n");
        return 0;
    }
    if (!m->bits)
        return 1;
    XImage* img = XCreateImage(d, DefaultVisual(d, 0), 1, XYBitmap, 0, reinterpret_cast<char*>(m->bits),
                               (unsigned)m->width, (unsigned)m->height, 8, (int)m->stride);
    if (!img)
        return 0;
    img->byte_order = LSBFirst;
    img->bitmap_bit_order = LSBFirst;
    xerr_trap_begin(d);
    Pixmap p = XCreatePixmap(d, RootWindow(d, 0), (unsigned)m->width, (unsigned)m->height, 1);
    XGCValues values;
    values.foreground = 1;
    values.background = 0;
    GC gc = XCreateGC(d, p, GCForeground | GCBackground, &values);
    XPutImage(d, p, gc, img, 0, 0, 0, 0, (unsigned)m->width, (unsigned)m->height);
    XFreeGC(d, gc);
    int error = xerr_trap_end(d);
    img->data = nullptr;  // the mask's bits, not the image's
    XDestroyImage(img);
    if (error) {
        xerr_trap_begin(d);
        XFreePixmap(d, p);
        xerr_trap_end(d);
        fprintf(stderr, "Error: Load Image - Can't create pixmap.\n");
        return 0;
    }
    *pixmap = p;
    return 1;
}
