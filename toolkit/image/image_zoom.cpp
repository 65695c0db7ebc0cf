// Drawing an image scaled: by the X server through RENDER's bilinear filter
// on true-colour screens, by nearest pixel in the client on the others.
// Either way only the part asked for is scaled, so the cost follows the
// size of the window, not of the picture.
#include <X11/extensions/Xrender.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "tessel.h"

struct XImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using ImagePtr = std::unique_ptr<XImage, XImageDeleter>;

// The screen's picture format when the server can scale through RENDER: a
// true-colour visual, and transforms, filters and padded edges (0.10).
static XRenderPictFormat* render_format(Display* display)
{
    Visual* visual = DefaultVisual(display, 0);
    int event, error, major, minor;
    if (visual->c_class != TrueColor || !XRenderQueryExtension(display, &event, &error) ||
        !XRenderQueryVersion(display, &major, &minor) || (major == 0 && minor < 10))
        return nullptr;
    return XRenderFindVisualFormat(display, visual);
}

// Shown pixels to picture pixels; the offset of the part is in the
// transform, as RENDER's source origin holds only 16 bits.
static void set_scale(Display* display, Picture picture, const TslImage* img, int zoomW, int zoomH,
                      int zx, int zy)
{
    double sx = (double)img->width / zoomW, sy = (double)img->height / zoomH;
    XTransform t = {{{XDoubleToFixed(sx), 0, XDoubleToFixed(zx * sx)},
                     {0, XDoubleToFixed(sy), XDoubleToFixed(zy * sy)},
                     {0, 0, XDoubleToFixed(1)}}};
    XRenderSetPictureTransform(display, picture, &t);
    XRenderSetPictureFilter(display, picture, FilterBilinear, nullptr, 0);
}

// Padded edges: the filter reads the border pixels again past the edge
// rather than black, which would darken a picture's rim.
static Picture scaled_picture(Display* display, Pixmap pixmap, XRenderPictFormat* format,
                              const TslImage* img, int zoomW, int zoomH, int zx, int zy)
{
    XRenderPictureAttributes pa{};
    pa.repeat = RepeatPad;
    Picture picture = XRenderCreatePicture(display, pixmap, format, CPRepeat, &pa);
    set_scale(display, picture, img, zoomW, zoomH, zx, zy);
    return picture;
}

static void draw_render(Display* display, Drawable d, XRenderPictFormat* format,
                        XRenderPictFormat* bits, int x, int y, TslImage* img, int zoomW, int zoomH,
                        int zx, int zy, int w, int h)
{
    Picture source = scaled_picture(display, img->pixmap, format, img, zoomW, zoomH, zx, zy);
    Picture mask = None;
    if (img->mask)
        mask = scaled_picture(display, img->mask, bits, img, zoomW, zoomH, zx, zy);
    Picture target = XRenderCreatePicture(display, d, format, 0, nullptr);
    XRenderComposite(display, mask ? PictOpOver : PictOpSrc, source, mask, target, 0, 0, 0, 0, x, y,
                     (unsigned)w, (unsigned)h);
    XRenderFreePicture(display, target);
    if (mask)
        XRenderFreePicture(display, mask);
    XRenderFreePicture(display, source);
}

// For each of count shown pixels from start, the picture pixel under its
// centre.
static std::vector<int> source_indexes(int start, int count, int zoomed, int length)
{
    std::vector<int> out((size_t)count);
    for (int i = 0; i < count; i++) {
        long long s = ((2LL * (start + i) + 1) * length) / (2LL * zoomed);
        out[(size_t)i] = (int)(s < length ? s : length - 1);
    }
    return out;
}

template <int Bytes>
static void copy_row(const char* from, char* to, const std::vector<int>& cols)
{
    for (size_t i = 0; i < cols.size(); i++)
        memcpy(to + i * Bytes, from + (size_t)cols[i] * Bytes, Bytes);
}

// Picks the pixels of src at cols x rows into dst, whole rows at a time;
// pixels smaller than a byte one by one.
static void pick_pixels(XImage* src, XImage* dst, const std::vector<int>& cols,
                        const std::vector<int>& rows)
{
    int bytes = src->bits_per_pixel % 8 == 0 ? src->bits_per_pixel / 8 : 0;
    for (size_t r = 0; r < rows.size(); r++) {
        char* to = dst->data + r * (size_t)dst->bytes_per_line;
        if (r > 0 && rows[r] == rows[r - 1]) {
            memcpy(to, to - dst->bytes_per_line, (size_t)dst->bytes_per_line);
            continue;
        }
        const char* from = src->data + (size_t)rows[r] * (size_t)src->bytes_per_line;
        switch (bytes) {
        case 1: copy_row<1>(from, to, cols); break;
        case 2: copy_row<2>(from, to, cols); break;
        case 3: copy_row<3>(from, to, cols); break;
        case 4: copy_row<4>(from, to, cols); break;
        default:
            for (size_t c = 0; c < cols.size(); c++)
                XPutPixel(dst, (int)c, (int)r, XGetPixel(src, cols[c], rows[r]));
        }
    }
}

// The pixels of a drawable's rectangle (sx, sy) at cols x rows, which
// count from there, in a client image of their own.
static ImagePtr pick(Display* display, Drawable from, int sx, int sy, const std::vector<int>& cols,
                     const std::vector<int>& rows, unsigned long planes)
{
    ImagePtr src(XGetImage(display, from, sx, sy, (unsigned)cols.back() + 1,
                           (unsigned)rows.back() + 1, planes, ZPixmap));
    if (!src)
        return nullptr;
    ImagePtr dst(XCreateImage(display, DefaultVisual(display, 0), (unsigned)src->depth, ZPixmap, 0,
                              nullptr, (unsigned)cols.size(), (unsigned)rows.size(),
                              src->bitmap_pad, 0));
    if (!dst)
        return nullptr;
    dst->data = (char*)calloc((size_t)dst->bytes_per_line, rows.size());
    if (!dst->data)
        return nullptr;
    pick_pixels(src.get(), dst.get(), cols, rows);
    return dst;
}

// The mask's scaled part as a bitmap to clip with; None when it fails.
static Pixmap pick_mask(Display* display, Pixmap mask, int sx, int sy, const std::vector<int>& cols,
                        const std::vector<int>& rows)
{
    ImagePtr bits = pick(display, mask, sx, sy, cols, rows, 1);
    if (!bits)
        return None;
    unsigned w = (unsigned)cols.size(), h = (unsigned)rows.size();
    Pixmap clip = XCreatePixmap(display, mask, w, h, 1);
    GC gc = XCreateGC(display, clip, 0, nullptr);
    XPutImage(display, clip, gc, bits.get(), 0, 0, 0, 0, w, h);
    XFreeGC(display, gc);
    return clip;
}

static void draw_nearest(Display* display, Drawable d, int x, int y, TslImage* img, int zoomW,
                         int zoomH, int zx, int zy, int w, int h)
{
    std::vector<int> cols = source_indexes(zx, w, zoomW, img->width);
    std::vector<int> rows = source_indexes(zy, h, zoomH, img->height);
    int sx = cols.front(), sy = rows.front();
    for (int& c : cols)
        c -= sx;
    for (int& r : rows)
        r -= sy;
    ImagePtr colors = pick(display, img->pixmap, sx, sy, cols, rows, AllPlanes);
    if (!colors)
        return;
    Pixmap clip = img->mask ? pick_mask(display, img->mask, sx, sy, cols, rows) : None;
    if (img->mask && !clip)
        return;
    XSetFunction(display, img->gc, GXcopy);
    XSetClipOrigin(display, img->gc, x, y);
    XSetClipMask(display, img->gc, clip);
    XPutImage(display, d, img->gc, colors.get(), 0, 0, x, y, (unsigned)w, (unsigned)h);
    if (clip) {
        XSetClipMask(display, img->gc, None);
        XFreePixmap(display, clip);
    }
}

void tslDrawImageScaled(Display* display, Drawable d, int x, int y, TslImage* img, int zoomW,
                        int zoomH, int zx, int zy, int w, int h)
{
    if (!display || !img || !img->pixmap || !img->gc || img->width <= 0 || img->height <= 0 ||
        zoomW <= 0 || zoomH <= 0 || zx < 0 || zy < 0)
        return;
    // Requests carry positions and sizes in 16 bits.
    if (w > zoomW - zx)
        w = zoomW - zx;
    if (h > zoomH - zy)
        h = zoomH - zy;
    w = w > 0x7FFF ? 0x7FFF : w;
    h = h > 0x7FFF ? 0x7FFF : h;
    if (w <= 0 || h <= 0)
        return;
    XRenderPictFormat* format = render_format(display);
    XRenderPictFormat* bits = format ? XRenderFindStandardFormat(display, PictStandardA1) : nullptr;
    if (format && (bits || !img->mask))
        draw_render(display, d, format, bits, x, y, img, zoomW, zoomH, zx, zy, w, h);
    else
        draw_nearest(display, d, x, y, img, zoomW, zoomH, zx, zy, w, h);
}
