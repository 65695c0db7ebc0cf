// The bitmap and JPEG readers: decode (bmp_decode, jpeg_decode), map to
// pixel values (pixel_map) and send in bands (image_upload).  Neither keeps
// more than a band of the picture on the client, but for run-length
// bitmaps (their coded bytes) and JPEG photos that must be turned upright.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "image/bmp_decode.h"
#include "image/image_load.h"
#include "image/image_orient.h"
#include "image/image_read.h"
#include "image/jpeg_decode.h"
#include "image/pixel_map.h"
#include "support/regular_file.h"

namespace {

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

struct FreeDeleter {
    void operator()(void* p) const { free(p); }
};
using BytesPtr = std::unique_ptr<uint8_t, FreeDeleter>;

}  // namespace

static void report_bmp(BmpStatus status, const BmpInfo& info, const char* path)
{
    switch (status) {
    case BMP_OK:
        break;
    case BMP_NOT_BITMAP:
        fprintf(stderr, "Error: This file is not Bitmap format (%s).\n", path);
        break;
    case BMP_COMPRESSED:
        fprintf(stderr, "Error: Compression file is no support (%s).\n", path);
        break;
    case BMP_NO_COLOR_TABLE:
        fprintf(stderr, "Error: Can't allocate memory (rgbquad color).\n");
        break;
    case BMP_TRUNCATED_HEADER:
        fprintf(stderr, "Error: Bitmap header is truncated (%s).\n", path);
        break;
    case BMP_BAD_HEADER_SIZE:
        fprintf(stderr, "Error: Bitmap info header of %u bytes is not supported (%s).\n",
                (unsigned)info.infoSize, path);
        break;
    case BMP_BAD_SIZE:
        fprintf(stderr, "Error: Bitmap size %dx%d is not supported (%s).\n", (int)info.width,
                (int)info.height, path);
        break;
    case BMP_BAD_BIT_COUNT:
        fprintf(stderr, "Error: Bitmap bit count %d is not supported (%s).\n", info.bitCount, path);
        break;
    case BMP_BAD_MASKS:
        fprintf(stderr, "Error: Bitmap channel masks %08x %08x %08x are not supported (%s).\n",
                (unsigned)info.masks[0], (unsigned)info.masks[1], (unsigned)info.masks[2], path);
        break;
    case BMP_TRUNCATED_PALETTE:
        fprintf(stderr, "Error: Bitmap colour table is truncated (%s).\n", path);
        break;
    case BMP_BAD_OFFSET:
        fprintf(stderr, "Error: Bitmap pixel data offset %u is past the end of the file (%s).\n",
                (unsigned)info.dataOffset, path);
        break;
    case BMP_TRUNCATED_DATA:
        fprintf(stderr, "Error: Bitmap pixel data is truncated (%s).\n", path);
        break;
    }
}

static TslImage* make_record(ImageUpload* up, int format, Pixmap mask)
{
    TslImage* img = image_new_record();
    if (!img) {
        if (mask)
            XFreePixmap(up->display, mask);
        image_upload_end(up, false);
        return nullptr;
    }
    img->pixmap = up->pixmap;
    img->mask = mask;
    img->gc = up->gc;
    img->width = up->width;
    img->height = up->height;
    img->format = format;
    image_upload_end(up, true);
    return img;
}

TslImage* image_read_finish(ImageUpload* up, int last, int format, const ImageMask* mask, const char* kind,
                            const char* path)
{
    Pixmap maskPixmap = 0;
    if (!image_upload_finish(up)) {
        if (last == 0)  // a decoder error (-1) has been reported already
            fprintf(stderr, "Error: %s - Picture data ended early (%s).\n", kind, path);
        image_upload_end(up, false);
        return nullptr;
    }
    if (mask && !image_mask_pixmap(up->display, mask, &maskPixmap)) {
        image_upload_end(up, false);
        return nullptr;
    }
    return make_record(up, format, maskPixmap);
}

static int bmp_format(int bitCount)
{
    switch (bitCount) {
    case 1:
        return TSL_IMAGE_BMP1;
    case 4:
        return TSL_IMAGE_BMP4;
    case 8:
        return TSL_IMAGE_BMP8;
    case 24:
        return TSL_IMAGE_BMP24;
    case 16:
    case 32:
        return TSL_IMAGE_BMPX;
    default:
        return TSL_IMAGE_NONE;
    }
}

// Reads and checks the headers; the file is left open for the rows.
static FilePtr open_bmp(const char* path, BmpInfo* info)
{
    FilePtr file(regular_file_open(path));
    if (!file) {
        fprintf(stderr, "Error: Can't open Bitmap file (%s).\n", path);
        return nullptr;
    }
    struct stat st;
    uint64_t fileSize = fstat(fileno(file.get()), &st) == 0 && st.st_size > 0 ? (uint64_t)st.st_size : 0;
    uint8_t head[BMP_HEAD_BYTES];
    size_t got = fread(head, 1, sizeof head, file.get());
    if (got < sizeof head && got < fileSize)
        fileSize = got;
    BmpStatus status = GetBmpHeader(head, got, fileSize, info);
    if (status != BMP_OK) {
        report_bmp(status, *info, path);
        return nullptr;
    }
    return file;
}

static bool read_at(FILE* file, uint64_t offset, void* buf, size_t size)
{
    return fseeko(file, (off_t)offset, SEEK_SET) == 0 && fread(buf, 1, size, file) == size;
}

// Colour table entries to pixels through the colormap.
static bool read_palette(FILE* file, const BmpInfo& info, PixelMap* map)
{
    uint8_t quads[256 * 4];
    size_t bytes = (size_t)info.paletteEntries * (size_t)info.paletteEntrySize;
    if (!read_at(file, info.paletteOffset, quads, bytes))
        return false;
    BmpInfo table = info;
    table.paletteOffset = 0;
    uint8_t rgb[256 * 3];
    GetColorTable(map, rgb, bmp_palette_rgb(&table, quads, bytes, rgb));
    return true;
}

// Streams the stored rows through a band-sized buffer, the picture's top
// band first: the bands of a bottom-up file are read from its end, so that
// the top of the picture reaches the server (and the user) first.
static bool upload_bmp_rows(FILE* file, const BmpInfo& info, PixelMap* map, ImageUpload* up)
{
    size_t rowBytes = (size_t)info.rowBytes;
    std::vector<uint8_t> chunk((size_t)up->bandRows * rowBytes);
    std::vector<uint8_t> row((size_t)info.width * 3);
    bool direct = bmp_is_direct(&info);
    for (int done = 0; done < info.height;) {
        int n = std::min(up->bandRows, info.height - done);
        uint64_t firstStored = info.topDown ? (uint64_t)done : (uint64_t)(info.height - done - n);
        if (!read_at(file, info.dataOffset + firstStored * rowBytes, chunk.data(), (size_t)n * rowBytes))
            return false;  // the file shrank after its size was checked
        for (int i = 0; i < n; i++) {
            const uint8_t* stored = chunk.data() + (size_t)(info.topDown ? i : n - 1 - i) * rowBytes;
            uint32_t* out = image_upload_row(up);
            if (info.bitCount == 24) {
                // Stored 24-bit rows already are blue-green-red triples.
                pixel_map_rgb(map, stored, info.width, true, out);
            } else {
                bmp_decode_row(&info, stored, row.data());
                if (direct)
                    pixel_map_rgb(map, row.data(), info.width, true, out);
                else
                    pixel_map_indices(map, row.data(), info.width, out);
            }
            image_upload_commit(up);
        }
        done += n;
    }
    return true;
}

// Run-length bitmaps: the coded bytes up to the end of the file, decoded
// row by row as they are sent.
static bool upload_rle_rows(FILE* file, const BmpInfo& info, PixelMap* map, ImageUpload* up)
{
    size_t size = (size_t)(info.needed - info.dataOffset);
    BytesPtr coded(static_cast<uint8_t*>(malloc(size)));
    if (!coded || !read_at(file, info.dataOffset, coded.get(), size))
        return false;
    return bmp_rle_rows(&info, coded.get(), size, [&](const uint8_t* indices) {
        pixel_map_indices(map, indices, info.width, image_upload_row(up));
        image_upload_commit(up);
    });
}

TslImage* ReadFileToBmpImage(Display* display, const char* path, Colormap cmap)
{
    BmpInfo info;
    FilePtr file = open_bmp(path, &info);
    if (!file)
        return nullptr;
    bool direct = bmp_is_direct(&info);
    PixelMap map;
    pixel_map_begin(&map, display, cmap, direct);
    if (!direct && !read_palette(file.get(), info, &map)) {
        report_bmp(BMP_TRUNCATED_PALETTE, info, path);
        pixel_map_end(&map);
        return nullptr;
    }
    ImageUpload up;
    if (!image_upload_begin(&up, display, info.width, info.height)) {
        pixel_map_end(&map);
        return nullptr;
    }
    bool rle = info.rowBytes == 0;
    up.bottomUp = rle && !info.topDown;
    bool ok = (rle ? upload_rle_rows(file.get(), info, &map, &up) : upload_bmp_rows(file.get(), info, &map, &up)) &&
              image_upload_finish(&up);
    pixel_map_end(&map);
    if (!ok) {
        report_bmp(BMP_TRUNCATED_DATA, info, path);
        image_upload_end(&up, false);
        return nullptr;
    }
    return make_record(&up, bmp_format(info.bitCount), 0);
}

// Decodes RGB bands and maps them.
static int upload_mapped(JpegStream* stream, PixelMap* map, ImageUpload* up)
{
    int w = up->width;
    return image_read_bands(
        up, (size_t)w * 3, [&](uint8_t* band, int rows) { return jpeg_stream_read_rgb(stream, band, rows); },
        [&](const uint8_t* row, int, uint32_t* out) { pixel_map_rgb(map, row, w, false, out); });
}

// Turning a photo upright needs all of it: it is decoded whole, letting
// events through between bands, then sent row by row of the upright picture.
static int upload_oriented(JpegStream* stream, int orientation, int w, int h, PixelMap* map, ImageUpload* up)
{
    BytesPtr whole(static_cast<uint8_t*>(malloc((size_t)w * (size_t)h * 3)));
    if (!whole) {
        fprintf(stderr, "Error: JPEG - Out of memory\n");
        return -1;
    }
    int done = 0, n = 1;
    while (done < h && (n = jpeg_stream_read_rgb(stream, whole.get() + (size_t)done * w * 3, up->bandRows)) > 0) {
        done += n;
        tslHookEvent(up->display, nullptr);
    }
    if (done < h)
        return n;
    std::vector<uint8_t> row((size_t)up->width * 3);
    for (int y = 0; y < up->height; y++) {
        orient_row(whole.get(), w, h, orientation, y, row.data());
        pixel_map_rgb(map, row.data(), up->width, false, image_upload_row(up));
        image_upload_commit(up);
    }
    return 0;
}

TslImage* ReadFileToJpgImage(Display* display, const char* path, Colormap cmap)
{
    PixelMap map;
    pixel_map_begin(&map, display, cmap, true);
    bool native = pixel_map_is_xrgb8888(&map) && image_upload_pixel_bits(display) == 32;
    int width = 0, height = 0;
    JpegStream* stream = jpeg_stream_open_file(path, native, &width, &height);
    if (!stream) {
        pixel_map_end(&map);
        return nullptr;
    }
    int orientation = jpeg_stream_orientation(stream);
    int uprightW, uprightH;
    orient_size(orientation, width, height, &uprightW, &uprightH);
    ImageUpload up;
    if (!image_upload_begin(&up, display, uprightW, uprightH)) {
        pixel_map_end(&map);
        jpeg_stream_close(stream);
        return nullptr;
    }
    int last;
    if (orientation != 1)
        last = upload_oriented(stream, orientation, width, height, &map, &up);
    else if (jpeg_stream_is_native32(stream) && up.direct)
        last = image_read_rows32(&up, [&](uint32_t* row) { return jpeg_stream_read_row32(stream, row); });
    else
        last = upload_mapped(stream, &map, &up);
    jpeg_stream_close(stream);
    pixel_map_end(&map);
    return image_read_finish(&up, last, TSL_IMAGE_JPEG, nullptr, "JPEG", path);
}
