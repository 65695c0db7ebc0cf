// Public image loading: the format chosen from a file name, dispatch to the
// readers, XPM files and data through libXpm, and releasing images.
#include "image/image_load.h"

#include <X11/xpm.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/xerror.h"
#include "image/bmp_decode.h"
#include "image/xpm_check.h"
#include "support/color_private.h"
#include "support/regular_file.h"

// Bytes of an XPM file in which its values must be found.
static const size_t XPM_HEAD_BYTES = 64u << 10;

static bool ends_with(const char* s, size_t len, const char* tail)
{
    size_t n = strlen(tail);
    return len >= n && memcmp(s + len - n, tail, n) == 0;
}

static int check_bmp_file(const char* path)
{
    uint8_t head[BMP_HEAD_BYTES];
    return bmp_format_code(head, image_read_head(path, head, sizeof head));
}

int tslCheckImageFormat(const char* path)
{
    if (!path)
        return TSL_IMAGE_NONE;
    size_t len = strlen(path);
    if (len > 3 && (ends_with(path, len, ".bmp") || ends_with(path, len, ".BMP")))
        return check_bmp_file(path);
    if (ends_with(path, len, ".jpg") || ends_with(path, len, ".JPG"))
        return TSL_IMAGE_JPEG;
    if (ends_with(path, len, ".png") || ends_with(path, len, ".PNG"))
        return TSL_IMAGE_PNG;
    if (ends_with(path, len, ".gif") || ends_with(path, len, ".GIF"))
        return TSL_IMAGE_GIF;
    if (len < 5)
        return TSL_IMAGE_XPM;
    if (ends_with(path, len, ".jpeg") || ends_with(path, len, ".JPEG"))
        return TSL_IMAGE_JPEG;
    return TSL_IMAGE_XPM;
}

const char* XpmStatusToString(int status)
{
    switch (status) {
    case XpmColorError:
        return "XpmColorError";
    case XpmSuccess:
        return "XpmSuccess";
    case XpmOpenFailed:
        return "XpmOpenFailed";
    case XpmFileInvalid:
        return "XpmFileInvalid";
    case XpmNoMemory:
        return "XpmNoMemory";
    case XpmColorFailed:
        return "XpmColorFailed";
    default:
        return "Unknwon status";
    }
}

// libXpm asks for each colour of a picture in turn.  On a TrueColor screen
// the pixel is worked out here rather than in one request per colour.
static int alloc_xpm_color(Display* display, Colormap cmap, char* name, XColor* color, void*)
{
    if (name && !color_parse_local(display, cmap, name, color) &&
        !XParseColor(display, cmap, name, color))
        return -1;
    return color_alloc(display, cmap, color);
}

// Such pixels hold no colour cell on the server: there is nothing to free.
static int free_xpm_colors(Display*, Colormap, Pixel*, int, void*)
{
    return 1;
}

static void init_attributes(Display* display, XpmAttributes* attr)
{
    memset(attr, 0, sizeof *attr);
    attr->valuemask = XpmSize | XpmReturnPixels | XpmExactColors | XpmCloseness;
    attr->exactColors = False;
    attr->closeness = 65535;
    // On a TrueColor screen every colour gets its pixel from the hook;
    // closeness would only have libXpm read the whole colormap for a
    // search that is never needed.
    if (color_is_local(display, DefaultColormap(display, 0))) {
        attr->valuemask &= ~XpmCloseness;
        attr->valuemask |= XpmAllocColor | XpmFreeColors;
        attr->alloc_color = alloc_xpm_color;
        attr->free_colors = free_xpm_colors;
    }
}

static GC make_image_gc(Display* display)
{
    XGCValues values;
    values.function = GXcopy;
    values.foreground = g_tessel.backPixel;
    values.background = g_tessel.backPixel;
    return XCreateGC(display, RootWindow(display, 0), GCFunction | GCForeground | GCBackground,
                     &values);
}

// Completes the record after a libXpm call; on failure frees all and returns 0.
static int finish_xpm(Display* display, TslImage* img, XpmAttributes* attr, int status)
{
    if (status == XpmSuccess) {
        img->width = (int)attr->width;
        img->height = (int)attr->height;
        img->format = TSL_IMAGE_XPM;
        img->gc = make_image_gc(display);
        XpmFreeAttributes(attr);
        return 1;
    }
    // A colour warning still made the pixmaps; none of it is kept.  A
    // pixmap the server refused is no pixmap: freeing it is an error.
    xerr_trap_begin(display);
    if (img->pixmap)
        XFreePixmap(display, img->pixmap);
    if (img->mask)
        XFreePixmap(display, img->mask);
    xerr_trap_end(display);
    if (status > 0)
        XpmFreeAttributes(attr);
    return 0;
}

TslImage* image_new_record()
{
    TslImage* img = static_cast<TslImage*>(calloc(1, sizeof(TslImage)));
    if (!img)
        fprintf(stderr, "Error: Can't allocate memory.\n");
    return img;
}

// libXpm allocates and walks the announced colours and pixels before it
// reads them (a 60-byte file announcing 85 million colours kept it busy for
// two seconds): a file too short for what it announces is refused first.
// The values stand at the top of a file: its head is all that is read.
// Returns XpmSuccess when libXpm may read the file.
static int check_xpm_file(const char* path)
{
    FILE* f = regular_file_open(path);
    if (!f)
        return XpmOpenFailed;
    struct stat st;
    uint64_t fileSize = fstat(fileno(f), &st) == 0 ? (uint64_t)st.st_size : 0;
    std::vector<char> head(XPM_HEAD_BYTES);
    size_t got = fread(head.data(), 1, head.size(), f);
    fclose(f);
    return xpm_sizes_fit(head.data(), got, got < head.size() ? got : fileSize) ? XpmSuccess : XpmFileInvalid;
}

TslImage* ReadFileToXpmImage(Display* display, const char* path)
{
    TslImage* img = image_new_record();
    if (!img)
        return nullptr;
    XpmAttributes attr;
    init_attributes(display, &attr);
    int status = check_xpm_file(path);
    if (status == XpmSuccess) {
        // A picture too large for the server fails there, not in libXpm.
        xerr_trap_begin(display);
        status = XpmReadFileToPixmap(display, RootWindow(display, 0), const_cast<char*>(path),
                                     &img->pixmap, &img->mask, &attr);
        if (xerr_trap_end(display) != 0 && status == XpmSuccess) {
            XpmFreeAttributes(&attr);
            status = XpmNoMemory;
        }
    }
    if (finish_xpm(display, img, &attr, status))
        return img;
    free(img);
    fprintf(stderr, "Error: Can't read file (%s) [%s].\n", path, XpmStatusToString(status));
    fflush(stderr);
    return nullptr;
}

// The values line ("width height colours chars") stands for data in memory.
static void describe_data(char** xpmData, char* out, size_t size)
{
    if (!xpmData || !xpmData[0]) {
        snprintf(out, size, "no data");
        return;
    }
    snprintf(out, size, "%.40s", xpmData[0]);
}

TslImage* ReadDataToXpmImage(Display* display, char** xpmData)
{
    TslImage* img = image_new_record();
    if (!img)
        return nullptr;
    XpmAttributes attr;
    init_attributes(display, &attr);
    int status = xpmData ? XpmCreatePixmapFromData(display, RootWindow(display, 0), xpmData,
                                                   &img->pixmap, &img->mask, &attr)
                         : XpmFileInvalid;
    if (finish_xpm(display, img, &attr, status))
        return img;
    free(img);
    char what[48];
    describe_data(xpmData, what, sizeof what);
    fprintf(stderr, "Error: Can't read data (%s) [%s].\n", what, XpmStatusToString(status));
    fflush(stderr);
    return nullptr;
}

TslImage* tslLoadImage(Display* display, const char* path, Colormap cmap, int format)
{
    if (!display || !path)
        return nullptr;
    switch (format) {
    case TSL_IMAGE_XPM:
        return ReadFileToXpmImage(display, path);
    case TSL_IMAGE_JPEG:
        return ReadFileToJpgImage(display, path, cmap);
    case TSL_IMAGE_PNG:
        return ReadFileToPngImage(display, path, cmap);
    case TSL_IMAGE_GIF:
        return ReadFileToGifImage(display, path, cmap);
    case TSL_IMAGE_BMP1:
    case TSL_IMAGE_BMP4:
    case TSL_IMAGE_BMP8:
    case TSL_IMAGE_BMP24:
    case TSL_IMAGE_BMPX:
        return ReadFileToBmpImage(display, path, cmap);
    default:
        fprintf(stderr, "Error: This Image format is not support. sorry...\n");
        return nullptr;
    }
}

TslImage* tslLoadImageFromData(Display* display, char** xpmData)
{
    if (!display)
        return nullptr;
    return ReadDataToXpmImage(display, xpmData);
}

void tslFreeImage(Display* display, TslImage* img)
{
    if (!img)
        return;
    if (display) {
        if (img->pixmap)
            XFreePixmap(display, img->pixmap);
        if (img->mask)
            XFreePixmap(display, img->mask);
        if (img->gc)
            XFreeGC(display, img->gc);
    }
    free(img);
}
