// Streaming JPEG decoder for the image loader and the fuzzer: header checks
// before any large allocation, then scan lines straight into the caller's
// band.  Every function that calls libjpeg sets its own jump target.
#include "image/jpeg_decode.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/image_limits.h"
#include "image/image_orient.h"
#include "image/jpeg.h"
#include "support/regular_file.h"

struct JpegStream {
    jpeg_decompress_struct cinfo;
    JpegErrorMgr jerr;
    jpeg_progress_mgr progress;
    FILE* file;
    JSAMPARRAY scratch;  // one row for layouts that need converting
    int created;
    int dead;
    int native32;
    int orientation;  // EXIF orientation, 1 when upright or untagged
};

static const int APP1 = JPEG_APP0 + 1;
static const unsigned MAX_SAVED_MARKER = 0xFFFF;

// The orientation from the first APP1 segment that holds EXIF data.
static int find_orientation(j_decompress_ptr cinfo)
{
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next)
        if (m->marker == APP1 && m->data_length >= 6 && memcmp(m->data, "Exif", 4) == 0)
            return exif_orientation(m->data, m->data_length);
    return 1;
}

static bool host_is_lsb_first()
{
    const uint16_t one = 1;
    uint8_t first;
    memcpy(&first, &one, 1);
    return first == 1;
}

static void destroy(JpegStream* s)
{
    if (s->created)
        jpeg_destroy_decompress(&s->cinfo);
    s->created = 0;
}

// Reads the header and starts decompression.  Returns 1, or 0 after printing why.
static int start(JpegStream* s, bool native32, size_t max_pixels, const char* name)
{
    j_decompress_ptr cinfo = &s->cinfo;
    if (setjmp(s->jerr.jump)) {
        destroy(s);
        return 0;
    }
    jpeg_save_markers(cinfo, APP1, MAX_SAVED_MARKER);
    jpeg_read_header(cinfo, TRUE);
    s->orientation = find_orientation(cinfo);
    uint64_t w = cinfo->image_width;
    uint64_t h = cinfo->image_height;
    if (w == 0 || h == 0 || w > JPEG_MAX_SIDE || h > JPEG_MAX_SIDE || w * h > max_pixels) {
        fprintf(stderr, "Error: JPEG - Picture of %llux%llu pixels is not supported (%s).\n",
                (unsigned long long)w, (unsigned long long)h, name);
        destroy(s);
        return 0;
    }
    jpeg_bridge_prepare(cinfo, &s->progress);
    if (native32 && cinfo->out_color_space == JCS_RGB && s->orientation == 1) {
        // libjpeg-turbo's own colour conversion writes the pixel layout of
        // a 24-bit TrueColor XImage, which saves a pass over every pixel.
        cinfo->out_color_space = host_is_lsb_first() ? JCS_EXT_BGRX : JCS_EXT_XRGB;
        s->native32 = 1;
    }
    jpeg_start_decompress(cinfo);
    if (cinfo->output_components != 3 && !s->native32)
        s->scratch = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                 cinfo->output_width * cinfo->output_components, 1);
    return 1;
}

static int create(JpegStream* s)
{
    s->cinfo.err = jpeg_bridge_error_init(&s->jerr);
    if (setjmp(s->jerr.jump))
        return 0;
    jpeg_create_decompress(&s->cinfo);
    s->created = 1;
    return 1;
}

static JpegStream* new_stream()
{
    JpegStream* s = static_cast<JpegStream*>(calloc(1, sizeof(JpegStream)));
    if (!s) {
        fprintf(stderr, "Error: JPEG - Out of memory\n");
        return nullptr;
    }
    if (!create(s)) {
        free(s);
        return nullptr;
    }
    return s;
}

static JpegStream* finish_open(JpegStream* s, bool native32, size_t max_pixels, const char* name,
                               int* width, int* height)
{
    if (!start(s, native32, max_pixels, name)) {
        jpeg_stream_close(s);
        return nullptr;
    }
    *width = (int)s->cinfo.output_width;
    *height = (int)s->cinfo.output_height;
    return s;
}

JpegStream* jpeg_stream_open_file(const char* path, bool native32, int* width, int* height)
{
    FILE* file = regular_file_open(path);
    if (!file) {
        fprintf(stderr, "Error : JPEG - Can't open %s\n", path);
        return nullptr;
    }
    JpegStream* s = new_stream();
    if (!s) {
        fclose(file);
        return nullptr;
    }
    s->file = file;
    jpeg_stdio_src(&s->cinfo, file);
    return finish_open(s, native32, (size_t)IMAGE_MAX_PIXELS, path, width, height);
}

JpegStream* jpeg_stream_open_memory(const unsigned char* data, size_t size, size_t max_pixels,
                                    const char* name, int* width, int* height)
{
    // libjpeg's memory source takes an unsigned long length and no empty buffer.
    if (!data || size == 0 || size > 0xFFFFFFFFul) {
        fprintf(stderr, "Error: JPEG - Fatal (Empty input file)\n");
        return nullptr;
    }
    JpegStream* s = new_stream();
    if (!s)
        return nullptr;
    jpeg_mem_src(&s->cinfo, data, (unsigned long)size);
    return finish_open(s, false, max_pixels, name, width, height);
}

int jpeg_stream_read_rgb(JpegStream* s, unsigned char* rgb, int rows)
{
    if (!s || s->dead || !s->created || s->native32)
        return -1;
    j_decompress_ptr cinfo = &s->cinfo;
    if (setjmp(s->jerr.jump)) {
        s->dead = 1;
        destroy(s);
        return -1;
    }
    size_t stride = (size_t)cinfo->output_width * 3;
    int done = 0;
    while (done < rows && cinfo->output_scanline < cinfo->output_height) {
        unsigned char* dst = rgb + (size_t)done * stride;
        JSAMPROW direct = dst;
        JSAMPARRAY target = cinfo->output_components == 3 ? &direct : s->scratch;
        if (jpeg_read_scanlines(cinfo, target, 1) != 1)
            break;  // our sources never suspend; stop rather than spin
        if (target == s->scratch)
            jpeg_bridge_row_to_rgb(cinfo, s->scratch[0], dst);
        done++;
    }
    return done;
}

int jpeg_stream_orientation(const JpegStream* s)
{
    return s ? s->orientation : 1;
}

int jpeg_stream_is_native32(const JpegStream* s)
{
    return s && s->native32;
}

int jpeg_stream_read_row32(JpegStream* s, uint32_t* row)
{
    if (!s || s->dead || !s->created || !s->native32)
        return -1;
    j_decompress_ptr cinfo = &s->cinfo;
    if (setjmp(s->jerr.jump)) {
        s->dead = 1;
        destroy(s);
        return -1;
    }
    if (cinfo->output_scanline >= cinfo->output_height)
        return 0;
    JSAMPROW target = reinterpret_cast<JSAMPROW>(row);
    return jpeg_read_scanlines(cinfo, &target, 1) == 1 ? 1 : 0;
}

void jpeg_stream_close(JpegStream* s)
{
    if (!s)
        return;
    destroy(s);
    if (s->file)
        fclose(s->file);
    free(s);
}
