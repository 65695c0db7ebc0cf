// The JPEG bridge: libjpeg errors become failure returns through
// setjmp/longjmp, decoded pictures become packed RGB buffers, and RGB
// buffers are reshaped to the bottom-up, 4-byte-aligned layout of bitmaps.
#include "image/jpeg.h"

#include <cstdlib>
#include <cstring>

#include <jerror.h>

#include "support/regular_file.h"

// A progressive file may hold any number of scans; each one costs a pass
// over the whole picture, so a crafted file could keep a load busy for hours.
static const int MAX_SCANS = 1000;
static const int MSG_TOO_MANY_SCANS = 1000;
static const char* const addon_messages[] = {"Too many progressive scans"};
// libjpeg's own buffers (whole-picture coefficient arrays of progressive
// files) are refused beyond this, so a small crafted header cannot claim
// gigabytes.
static const long MAX_LIBJPEG_MEMORY = 768L * 1024 * 1024;

void my_error_exit(j_common_ptr cinfo)
{
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    fprintf(stderr, "Error: JPEG - Fatal (%s)\n", message);
    JpegErrorMgr* err = reinterpret_cast<JpegErrorMgr*>(cinfo->err);
    longjmp(err->jump, 1);
}

jpeg_error_mgr* jpeg_bridge_error_init(JpegErrorMgr* err)
{
    jpeg_error_mgr* pub = jpeg_std_error(&err->pub);
    pub->error_exit = my_error_exit;
    pub->addon_message_table = addon_messages;
    pub->first_addon_message = MSG_TOO_MANY_SCANS;
    pub->last_addon_message = MSG_TOO_MANY_SCANS;
    return pub;
}

static void limit_scans(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    j_decompress_ptr d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > MAX_SCANS) {
        cinfo->err->msg_code = MSG_TOO_MANY_SCANS;
        (*cinfo->err->error_exit)(cinfo);
    }
}

void jpeg_bridge_prepare(j_decompress_ptr cinfo, jpeg_progress_mgr* progress)
{
    progress->progress_monitor = limit_scans;
    progress->pass_counter = 0;
    progress->pass_limit = 0;
    progress->completed_passes = 0;
    progress->total_passes = 0;
    cinfo->progress = progress;
    cinfo->mem->max_memory_to_use = MAX_LIBJPEG_MEMORY;
    switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo->out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo->out_color_space = JCS_CMYK;
        break;
    case JCS_RGB:
    case JCS_YCbCr:
        cinfo->out_color_space = JCS_RGB;
        break;
    default:
        // Two-component and other unknown layouts have no colour meaning.
        ERREXIT(cinfo, JERR_CONVERSION_NOTIMPL);
    }
}

void jpeg_bridge_cmyk_to_rgb(const unsigned char* cmyk, size_t count, int inverted,
                             unsigned char* rgb)
{
    for (size_t i = 0; i < count; i++, cmyk += 4, rgb += 3) {
        unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int c = 0; c < 3; c++) {
            unsigned v = inverted ? cmyk[c] : 255u - cmyk[c];
            rgb[c] = (unsigned char)((v * k + 127) / 255);
        }
    }
}

void jpeg_bridge_row_to_rgb(j_decompress_ptr cinfo, const JSAMPLE* row, unsigned char* rgb)
{
    size_t width = cinfo->output_width;
    switch (cinfo->output_components) {
    case 3:
        memcpy(rgb, row, width * 3);
        break;
    case 1:
        for (size_t x = 0; x < width; x++, rgb += 3)
            rgb[0] = rgb[1] = rgb[2] = row[x];
        break;
    case 4:
        jpeg_bridge_cmyk_to_rgb(row, width, cinfo->saw_Adobe_marker, rgb);
        break;
    default:
        memset(rgb, 0, width * 3);
        break;
    }
}

// Only plain data lives across the setjmp; buf is volatile because it
// changes after the jump target is set.
static int decode_to_rgb(FILE* file, unsigned char** out, unsigned short* width,
                         unsigned short* height)
{
    jpeg_decompress_struct cinfo;
    memset(&cinfo, 0, sizeof cinfo);
    JpegErrorMgr jerr;
    jpeg_progress_mgr progress;
    unsigned char* volatile buf = nullptr;
    cinfo.err = jpeg_bridge_error_init(&jerr);
    if (setjmp(jerr.jump)) {
        jpeg_destroy_decompress(&cinfo);
        free(buf);
        return 0;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_bridge_prepare(&cinfo, &progress);
    jpeg_start_decompress(&cinfo);
    size_t w = cinfo.output_width;
    size_t h = cinfo.output_height;
    buf = static_cast<unsigned char*>(malloc(w * h * 3));
    if (!buf) {
        fprintf(stderr, "Error: JPEG - Out of memory\n");
        jpeg_destroy_decompress(&cinfo);
        return 0;
    }
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                (JDIMENSION)(w * cinfo.output_components), 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        size_t line = cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, row, 1);
        jpeg_bridge_row_to_rgb(&cinfo, row[0], buf + line * w * 3);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    *out = buf;
    *width = (unsigned short)w;
    *height = (unsigned short)h;
    return 1;
}

unsigned char* JpegFileToRGB(const char* path, unsigned short* width, unsigned short* height)
{
    if (!path || !width || !height)
        return nullptr;
    *width = 0;
    *height = 0;
    FILE* file = regular_file_open(path);
    if (!file) {
        fprintf(stderr, "Error : JPEG - Can't open %s\n", path);
        return nullptr;
    }
    unsigned char* rgb = nullptr;
    int ok = decode_to_rgb(file, &rgb, width, height);
    fclose(file);
    return ok ? rgb : nullptr;
}

static int read_dimensions(FILE* file, unsigned short* width, unsigned short* height)
{
    jpeg_decompress_struct cinfo;
    memset(&cinfo, 0, sizeof cinfo);
    JpegErrorMgr jerr;
    cinfo.err = jpeg_bridge_error_init(&jerr);
    if (setjmp(jerr.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return 0;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    *width = (unsigned short)cinfo.image_width;
    *height = (unsigned short)cinfo.image_height;
    jpeg_destroy_decompress(&cinfo);
    return 1;
}

int GetJPGDimensions(const char* path, unsigned short* width, unsigned short* height)
{
    if (!path || !width || !height)
        return 0;
    FILE* file = regular_file_open(path);
    if (!file) {
        fprintf(stderr, "Error: JPEG - Can't open %s\n", path);
        return 0;
    }
    int ok = read_dimensions(file, width, height);
    fclose(file);
    return ok;
}

// Writes rows of `components` bytes per pixel; file is closed here in every case.
static int encode_rows(const char* path, const unsigned char* data, unsigned short width,
                       unsigned short height, int components, int quality)
{
    jpeg_compress_struct cinfo;
    memset(&cinfo, 0, sizeof cinfo);
    JpegErrorMgr jerr;
    FILE* volatile file = nullptr;
    cinfo.err = jpeg_bridge_error_init(&jerr);
    if (setjmp(jerr.jump)) {
        jpeg_destroy_compress(&cinfo);
        if (file)
            fclose(file);
        return 0;
    }
    jpeg_create_compress(&cinfo);
    file = fopen(path, "wb");
    if (!file) {
        fprintf(stderr, "Error: JPEG - Can't open %s\n", path);
        jpeg_destroy_compress(&cinfo);
        return 0;
    }
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    size_t stride = (size_t)width * (size_t)components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(data + (size_t)cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    fclose(file);
    jpeg_destroy_compress(&cinfo);
    return 1;
}

int RGBToJpegFile(const char* path, const unsigned char* rgb, unsigned short width,
                  unsigned short height, int color, int quality)
{
    if (!path || !rgb || width == 0 || height == 0)
        return 0;
    if (color)
        return encode_rows(path, rgb, width, height, 3, quality);
    size_t count = (size_t)width * height;
    unsigned char* grey = static_cast<unsigned char*>(malloc(count));
    if (!grey) {
        fprintf(stderr, "Error: JPEG - Can't allocate memory.\n");
        return 0;
    }
    for (size_t i = 0; i < count; i++)
        grey[i] = (unsigned char)((rgb[i * 3] + rgb[i * 3 + 1] + rgb[i * 3 + 2]) / 3);
    int ok = encode_rows(path, grey, width, height, 1, quality);
    free(grey);
    return ok;
}

unsigned char* MakeDwordAlignedBuf(const unsigned char* rgb, unsigned short width,
                                   unsigned short height, unsigned short* rowBytes)
{
    if (!rgb || !rowBytes)
        return nullptr;
    size_t packed = (size_t)width * 3;
    size_t aligned = (packed + 3) / 4 * 4;
    // Row lengths travel as 16-bit values; a longer row cannot be described.
    if (aligned > 0xFFFF) {
        fprintf(stderr, "Error: JPEG - Row of %u pixels is too long.\n", (unsigned)width);
        return nullptr;
    }
    unsigned char* out = static_cast<unsigned char*>(malloc(aligned * height + 1));
    if (!out) {
        fprintf(stderr, "Error: JPEG - Can't allocate memory.\n");
        return nullptr;
    }
    for (size_t y = 0; y < height; y++)
        memcpy(out + y * aligned, rgb + y * packed, packed);
    *rowBytes = (unsigned short)aligned;
    return out;
}

unsigned char* RGBFromDWORDAligned(const unsigned char* aligned, unsigned short width,
                                   unsigned short rowBytes, unsigned short height)
{
    if (!aligned)
        return nullptr;
    size_t packed = (size_t)width * 3;
    if (rowBytes < packed)
        return nullptr;
    unsigned char* out = static_cast<unsigned char*>(malloc(packed * height + 1));
    if (!out) {
        fprintf(stderr, "Error: JPEG - Can't allocate memory.\n");
        return nullptr;
    }
    for (size_t y = 0; y < height; y++)
        memcpy(out + y * packed, aligned + y * rowBytes, packed);
    return out;
}

int VertFlipBuf(unsigned char* buf, unsigned short rowBytes, unsigned short height)
{
    if (!buf)
        return 0;
    unsigned char* tmp = static_cast<unsigned char*>(malloc((size_t)rowBytes + 1));
    if (!tmp) {
        fprintf(stderr, "Error: JPEG - Can't allocate memory.\n");
        return 0;
    }
    for (size_t i = 0; i < (size_t)height / 2; i++) {
        unsigned char* top = buf + i * rowBytes;
        unsigned char* bottom = buf + ((size_t)height - 1 - i) * rowBytes;
        memcpy(tmp, top, rowBytes);
        memcpy(top, bottom, rowBytes);
        memcpy(bottom, tmp, rowBytes);
    }
    free(tmp);
    return 1;
}

int BGRFromRGB(unsigned char* buf, unsigned short width, unsigned short rowBytes,
               unsigned short height)
{
    if (!buf || rowBytes < (size_t)width * 3)
        return 0;
    for (size_t y = 0; y < height; y++) {
        unsigned char* p = buf + y * rowBytes;
        for (size_t x = 0; x < width; x++, p += 3) {
            unsigned char t = p[0];
            p[0] = p[2];
            p[2] = t;
        }
    }
    return 1;
}

int MakeGrayScale(unsigned char* rgb, unsigned short width, unsigned short height)
{
    if (!rgb)
        return 0;
    size_t count = (size_t)width * height;
    for (size_t i = 0; i < count; i++, rgb += 3)
        rgb[0] = rgb[1] = rgb[2] = (unsigned char)((rgb[0] + rgb[1] + rgb[2]) / 3);
    return 1;
}
