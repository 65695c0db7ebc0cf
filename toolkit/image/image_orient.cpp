// EXIF orientation: a TIFF walk that checks every offset against the
// segment before reading, and the eight ways of turning a picture upright.
#include "image/image_orient.h"

#include <cstring>

namespace {

// A TIFF structure in either byte order, read only through checked offsets.
struct Tiff {
    const uint8_t* base;
    size_t size;
    bool little;

    bool has(uint64_t offset, uint64_t bytes) const { return offset <= size && bytes <= size - offset; }
    uint32_t u16(size_t at) const
    {
        const uint8_t* p = base + at;
        return little ? (uint32_t)p[0] | (uint32_t)p[1] << 8 : (uint32_t)p[0] << 8 | (uint32_t)p[1];
    }
    uint32_t u32(size_t at) const
    {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    }
};

const uint32_t TAG_ORIENTATION = 0x0112;
const uint32_t TYPE_SHORT = 3;
const size_t IFD_ENTRY = 12;

}  // namespace

int exif_orientation(const uint8_t* data, size_t size)
{
    static const uint8_t exif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (!data || size < 6 + 8 || memcmp(data, exif, 6) != 0)
        return 1;
    Tiff t = {data + 6, size - 6, data[6] == 'I'};
    if (!((data[6] == 'I' && data[7] == 'I') || (data[6] == 'M' && data[7] == 'M')) || t.u16(2) != 42)
        return 1;
    uint64_t ifd = t.u32(4);
    if (!t.has(ifd, 2))
        return 1;
    uint32_t count = t.u16((size_t)ifd);
    for (uint32_t i = 0; i < count; i++) {
        uint64_t entry = ifd + 2 + (uint64_t)i * IFD_ENTRY;
        if (!t.has(entry, IFD_ENTRY))
            return 1;
        if (t.u16((size_t)entry) != TAG_ORIENTATION)
            continue;
        if (t.u16((size_t)entry + 2) != TYPE_SHORT || t.u32((size_t)entry + 4) < 1)
            return 1;
        uint32_t value = t.u16((size_t)entry + 8);
        return value >= 1 && value <= 8 ? (int)value : 1;
    }
    return 1;
}

void orient_size(int orientation, int w, int h, int* uprightW, int* uprightH)
{
    bool swap = orientation >= 5 && orientation <= 8;
    *uprightW = swap ? h : w;
    *uprightH = swap ? w : h;
}

void orient_row(const uint8_t* rgb, int w, int h, int orientation, int y, uint8_t* out)
{
    // Upright row y walks one stored row or column: its first pixel and the
    // step between pixels, in pixels.
    const ptrdiff_t W = w, H = h, Y = y;
    ptrdiff_t start, step;
    switch (orientation) {
    case 2:  // mirrored
        start = Y * W + W - 1, step = -1;
        break;
    case 3:  // turned half round
        start = (H - 1 - Y) * W + W - 1, step = -1;
        break;
    case 4:  // upside down
        start = (H - 1 - Y) * W, step = 1;
        break;
    case 5:  // mirrored across the main diagonal
        start = Y, step = W;
        break;
    case 6:  // stored a quarter turn anticlockwise
        start = (H - 1) * W + Y, step = -W;
        break;
    case 7:  // mirrored across the other diagonal
        start = (H - 1) * W + W - 1 - Y, step = -W;
        break;
    case 8:  // stored a quarter turn clockwise
        start = W - 1 - Y, step = W;
        break;
    default:
        start = Y * W, step = 1;
        break;
    }
    int n = orientation >= 5 && orientation <= 8 ? h : w;
    for (int x = 0; x < n; x++, out += 3) {
        const uint8_t* p = rgb + (start + x * step) * 3;
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
    }
}
