// GIF decoder for the image loader and the fuzzer: the records before the
// first frame are walked for its transparent index, then the frame's lines
// are decoded as the screen rows are asked for.
#include "image/gif_decode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/image_limits.h"
#include "support/regular_file.h"

struct GifStream {
    GifFileType* gif;
    FILE* file;
    const uint8_t* data;  // memory source
    size_t size;
    size_t pos;
    const char* name;
    int width;  // screen
    int height;
    int left;   // frame
    int top;
    int frameWidth;
    int frameHeight;
    int interlaced;
    int transparent;
    int fill;
    uint8_t* frame;  // interlaced frames: every line, filled at the first read
    int next;        // next screen row handed out
    int dead;
};

// Graphic control extension: flags, delay (2 bytes), transparent index.
const int GCE_LENGTH = 4;
const int GCE_HAS_TRANSPARENT = 0x01;

static int read_file(GifFileType* gif, GifByteType* out, int length)
{
    GifStream* s = static_cast<GifStream*>(gif->UserData);
    return length > 0 ? (int)fread(out, 1, (size_t)length, s->file) : 0;
}

static int read_memory(GifFileType* gif, GifByteType* out, int length)
{
    GifStream* s = static_cast<GifStream*>(gif->UserData);
    size_t n = length > 0 ? std::min((size_t)length, s->size - s->pos) : 0;
    memcpy(out, s->data + s->pos, n);
    s->pos += n;
    return (int)n;
}

static int report(GifStream* s, int error)
{
    const char* text = GifErrorString(error);
    fprintf(stderr, "Error: GIF - %s (%s).\n", text ? text : "Unknown error", s->name);
    return 0;
}

// Reads the transparent index from a graphic control extension and skips
// the blocks of any other.
static int read_extension(GifStream* s)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(s->gif, &code, &block) == GIF_ERROR)
        return report(s, s->gif->Error);
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= GCE_LENGTH)
        s->transparent = (block[1] & GCE_HAS_TRANSPARENT) ? block[4] : -1;
    while (block)
        if (DGifGetExtensionNext(s->gif, &block) == GIF_ERROR)
            return report(s, s->gif->Error);
    return 1;
}

// Walks the records up to the first frame's descriptor.
static int find_frame(GifStream* s)
{
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(s->gif, &type) == GIF_ERROR)
            return report(s, s->gif->Error);
        if (type == IMAGE_DESC_RECORD_TYPE)
            return DGifGetImageDesc(s->gif) == GIF_ERROR ? report(s, s->gif->Error) : 1;
        if (type == TERMINATE_RECORD_TYPE)
            return report(s, D_GIF_ERR_NO_IMAG_DSCR);
        if (type == EXTENSION_RECORD_TYPE && !read_extension(s))
            return 0;
    }
}

static int place_frame(GifStream* s, size_t max_pixels)
{
    const GifImageDesc& desc = s->gif->Image;
    if (!desc.ColorMap && !s->gif->SColorMap)
        return report(s, D_GIF_ERR_NO_COLOR_MAP);
    int64_t w = std::max<int64_t>(s->gif->SWidth, (int64_t)desc.Left + desc.Width);
    int64_t h = std::max<int64_t>(s->gif->SHeight, (int64_t)desc.Top + desc.Height);
    if (w <= 0 || h <= 0 || w > GIF_MAX_SIDE || h > GIF_MAX_SIDE || (uint64_t)(w * h) > max_pixels ||
        desc.Width < 0 || desc.Height < 0 || desc.Left < 0 || desc.Top < 0) {
        fprintf(stderr, "Error: GIF - Picture of %lldx%lld pixels is not supported (%s).\n", (long long)w,
                (long long)h, s->name);
        return 0;
    }
    s->width = (int)w;
    s->height = (int)h;
    s->left = desc.Left;
    s->top = desc.Top;
    s->frameWidth = desc.Width;
    s->frameHeight = desc.Height;
    s->interlaced = desc.Interlace ? 1 : 0;
    s->fill = s->transparent >= 0 ? s->transparent : s->gif->SBackGroundColor;
    return 1;
}

static GifStream* open_stream(GifStream* s, InputFunc read, size_t max_pixels, int* width, int* height)
{
    int error = 0;
    s->transparent = -1;
    s->gif = DGifOpen(s, read, &error);
    if (!s->gif || !find_frame(s) || !place_frame(s, max_pixels)) {
        if (!s->gif)
            report(s, error);
        gif_stream_close(s);
        return nullptr;
    }
    *width = s->width;
    *height = s->height;
    return s;
}

static GifStream* new_stream(const char* name)
{
    GifStream* s = static_cast<GifStream*>(calloc(1, sizeof(GifStream)));
    if (!s)
        fprintf(stderr, "Error: GIF - Out of memory (%s).\n", name);
    else
        s->name = name;
    return s;
}

GifStream* gif_stream_open_file(const char* path, int* width, int* height)
{
    FILE* file = regular_file_open(path);
    if (!file) {
        fprintf(stderr, "Error: GIF - Can't open %s\n", path);
        return nullptr;
    }
    GifStream* s = new_stream(path);
    if (!s) {
        fclose(file);
        return nullptr;
    }
    s->file = file;
    return open_stream(s, read_file, (size_t)IMAGE_MAX_PIXELS, width, height);
}

GifStream* gif_stream_open_memory(const uint8_t* data, size_t size, size_t max_pixels, const char* name,
                                  int* width, int* height)
{
    GifStream* s = new_stream(name);
    if (!s)
        return nullptr;
    s->data = data;
    s->size = data ? size : 0;
    return open_stream(s, read_memory, max_pixels, width, height);
}

int gif_stream_palette(const GifStream* s, uint8_t* rgb)
{
    const ColorMapObject* map = s->gif->Image.ColorMap ? s->gif->Image.ColorMap : s->gif->SColorMap;
    int n = std::min(std::max(map->ColorCount, 0), 256);
    for (int i = 0; i < n; i++) {
        rgb[i * 3] = map->Colors[i].Red;
        rgb[i * 3 + 1] = map->Colors[i].Green;
        rgb[i * 3 + 2] = map->Colors[i].Blue;
    }
    return n;
}

int gif_stream_transparent(const GifStream* s)
{
    return s->transparent;
}

// Interlaced frames store every eighth line from 0, every eighth from 4,
// every fourth from 2, then every second from 1.
static int read_interlaced(GifStream* s)
{
    size_t fw = (size_t)s->frameWidth;
    s->frame = static_cast<uint8_t*>(malloc(fw * (size_t)s->frameHeight + 1));
    if (!s->frame)
        return report(s, D_GIF_ERR_NOT_ENOUGH_MEM);
    static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; pass++)
        for (int y = start[pass]; y < s->frameHeight; y += step[pass])
            if (DGifGetLine(s->gif, s->frame + fw * (size_t)y, s->frameWidth) == GIF_ERROR)
                return report(s, s->gif->Error);
    return 1;
}

// Writes line fy of the frame to dst; 0 after a reported error.
static int frame_line(GifStream* s, int fy, uint8_t* dst)
{
    if (s->frame) {
        memcpy(dst, s->frame + (size_t)s->frameWidth * (size_t)fy, (size_t)s->frameWidth);
        return 1;
    }
    return DGifGetLine(s->gif, dst, s->frameWidth) == GIF_ERROR ? report(s, s->gif->Error) : 1;
}

int gif_stream_read(GifStream* s, uint8_t* out, int rows)
{
    if (!s || s->dead)
        return -1;
    if (s->interlaced && !s->frame && !read_interlaced(s)) {
        s->dead = 1;
        return -1;
    }
    int done = 0;
    for (; done < rows && s->next < s->height; done++, s->next++) {
        uint8_t* dst = out + (size_t)done * (size_t)s->width;
        int fy = s->next - s->top;
        bool inside = fy >= 0 && fy < s->frameHeight && s->frameWidth > 0;
        // Only what the frame leaves uncovered takes the fill index.
        if (!inside || s->frameWidth < s->width)
            memset(dst, s->fill, (size_t)s->width);
        if (inside && !frame_line(s, fy, dst + s->left)) {
            s->dead = 1;
            return -1;
        }
    }
    return done;
}

void gif_stream_close(GifStream* s)
{
    if (!s)
        return;
    if (s->gif) {
        int error;
        DGifCloseFile(s->gif, &error);
    }
    if (s->file)
        fclose(s->file);
    free(s->frame);
    free(s);
}
