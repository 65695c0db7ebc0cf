// The format a file's first bytes point to, for files whose name says
// something else (a PNG saved as ".jpg", a GIF without extension).
#include <cstdio>
#include <cstring>

#include "image/bmp_decode.h"
#include "image/image_load.h"
#include "support/regular_file.h"

static bool starts_with(const uint8_t* data, size_t size, const char* head, size_t n)
{
    return size >= n && memcmp(data, head, n) == 0;
}

int image_format_of_bytes(const uint8_t* data, size_t size)
{
    if (!data)
        return TSL_IMAGE_NONE;
    if (starts_with(data, size, "BM", 2))
        return bmp_format_code(data, size);
    if (starts_with(data, size, "/* XPM */", 9))
        return TSL_IMAGE_XPM;
    if (starts_with(data, size, "\xFF\xD8\xFF", 3))
        return TSL_IMAGE_JPEG;
    if (starts_with(data, size, "\x89PNG\r\n\x1A\n", 8))
        return TSL_IMAGE_PNG;
    if (starts_with(data, size, "GIF87a", 6) || starts_with(data, size, "GIF89a", 6))
        return TSL_IMAGE_GIF;
    return TSL_IMAGE_NONE;
}

size_t image_read_head(const char* path, uint8_t* head, size_t size)
{
    FILE* f = path ? regular_file_open(path) : nullptr;
    if (!f)
        return 0;
    size_t got = fread(head, 1, size, f);
    fclose(f);
    return got;
}

int tslSniffImageFormat(const char* path)
{
    uint8_t head[BMP_HEAD_BYTES];
    return image_format_of_bytes(head, image_read_head(path, head, sizeof head));
}
