// Band-wise pixmap upload.  One XPutImage per band of rows instead of a
// request per pixel; the band is small, so a picture never needs a second
// full-size copy on the client.
#include "image/image_upload.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/xerror.h"

// Below the socket's send buffer, so a band is written without waiting and
// the next one is decoded while the server stores this one.
static const size_t BAND_BYTES = 128u << 10;

static int host_byte_order()
{
    const uint16_t one = 1;
    uint8_t first;
    memcpy(&first, &one, 1);
    return first ? LSBFirst : MSBFirst;
}

int image_upload_pixel_bits(Display* display)
{
    int depth = DefaultDepth(display, 0), count = 0, bits = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    for (int i = 0; formats && i < count; i++)
        if (formats[i].depth == depth)
            bits = formats[i].bits_per_pixel;
    if (formats)
        XFree(formats);
    return bits;
}

static bool create_pixmap(ImageUpload* up)
{
    Display* d = up->display;
    Window root = RootWindow(d, 0);
    xerr_trap_begin(d);
    up->pixmap = XCreatePixmap(d, root, (unsigned)up->width, (unsigned)up->height,
                               (unsigned)DefaultDepth(d, 0));
    XGCValues values;
    values.function = GXcopy;
    values.foreground = g_tessel.backPixel;
    values.background = g_tessel.backPixel;
    up->gc = XCreateGC(d, root, GCFunction | GCForeground | GCBackground, &values);
    if (xerr_trap_end(d) == 0)
        return true;
    image_upload_end(up, false);
    return false;
}

static bool create_band(ImageUpload* up)
{
    Display* d = up->display;
    int depth = DefaultDepth(d, 0);
    XImage* img = XCreateImage(d, DefaultVisual(d, 0), (unsigned)depth, ZPixmap, 0, nullptr,
                               (unsigned)up->width, 1, 32, 0);
    if (!img)
        return false;
    size_t line = (size_t)img->bytes_per_line;
    size_t rows = line ? BAND_BYTES / line : 1;
    if (rows < 1)
        rows = 1;
    if (rows > (size_t)up->height)
        rows = (size_t)up->height;
    img->height = (int)rows;
    img->data = static_cast<char*>(calloc(rows, line));
    if (!img->data) {
        XDestroyImage(img);
        return false;
    }
    int bpp = img->bits_per_pixel;
    if (bpp == 8 || bpp == 16 || bpp == 32) {
        // Written with native stores; Xlib swaps for a server of the other order.
        img->byte_order = host_byte_order();
    }
    up->direct = bpp == 32;
    if (!up->direct)
        up->scratch.assign((size_t)up->width, 0);
    up->band = img;
    up->bandRows = (int)rows;
    return true;
}

int image_upload_begin(ImageUpload* up, Display* display, int width, int height)
{
    up->display = display;
    up->width = width;
    up->height = height;
    if (width <= 0 || height <= 0 || !create_pixmap(up)) {
        fprintf(stderr, "Error: Load Image - Can't create pixmap.\n");
        return 0;
    }
    if (!create_band(up)) {
        fprintf(stderr, "Error: Can't allocate memory.\n");
        image_upload_end(up, false);
        return 0;
    }
    return 1;
}

static char* band_line(ImageUpload* up, int row)
{
    return up->band->data + (size_t)row * (size_t)up->band->bytes_per_line;
}

// Band line of the row being filled; a bottom-up band fills from its end.
static int current_line(const ImageUpload* up)
{
    return up->bottomUp ? up->bandRows - 1 - up->filled : up->filled;
}

uint32_t* image_upload_row(ImageUpload* up)
{
    if (up->direct)
        return reinterpret_cast<uint32_t*>(band_line(up, current_line(up)));
    return up->scratch.data();
}

static void store_scratch(ImageUpload* up)
{
    XImage* img = up->band;
    int y = current_line(up);
    char* line = band_line(up, y);
    const uint32_t* src = up->scratch.data();
    int w = up->width;
    switch (img->bits_per_pixel) {
    case 16: {
        uint16_t* dst = reinterpret_cast<uint16_t*>(line);
        for (int x = 0; x < w; x++)
            dst[x] = (uint16_t)src[x];
        break;
    }
    case 8:
        for (int x = 0; x < w; x++)
            line[x] = (char)src[x];
        break;
    default:
        for (int x = 0; x < w; x++)
            XPutPixel(img, x, y, src[x]);
        break;
    }
}

static void send_band(ImageUpload* up)
{
    if (up->filled == 0)
        return;
    int srcY = up->bottomUp ? up->bandRows - up->filled : 0;
    int dstY = up->bottomUp ? up->height - up->sent - up->filled : up->sent;
    XPutImage(up->display, up->pixmap, up->gc, up->band, 0, srcY, 0, dstY, (unsigned)up->width,
              (unsigned)up->filled);
    up->sent += up->filled;
    up->filled = 0;
    // Keep the application answering events during long loads.
    if (up->sent < up->height)
        tslHookEvent(up->display, nullptr);
}

void image_upload_commit(ImageUpload* up)
{
    if (up->sent + up->filled >= up->height)
        return;
    if (!up->direct)
        store_scratch(up);
    up->filled++;
    if (up->filled == up->bandRows || up->sent + up->filled == up->height)
        send_band(up);
}

int image_upload_finish(ImageUpload* up)
{
    send_band(up);
    return up->sent == up->height ? 1 : 0;
}

void image_upload_end(ImageUpload* up, bool keep)
{
    if (up->band) {
        XDestroyImage(up->band);  // frees the band's data too
        up->band = nullptr;
    }
    up->scratch.clear();
    if (keep || !up->display)
        return;
    xerr_trap_begin(up->display);
    if (up->pixmap)
        XFreePixmap(up->display, up->pixmap);
    if (up->gc)
        XFreeGC(up->display, up->gc);
    xerr_trap_end(up->display);
    up->pixmap = 0;
    up->gc = nullptr;
}
