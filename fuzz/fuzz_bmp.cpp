// Fuzz target for the bitmap decoder: headers, colour table and every row
// of any accepted file (run-length streams too), as the loader would
// decode them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/bmp_decode.h"

// Keeps each run fast; the decoder itself accepts up to 32767 x 32767.
static const uint64_t MAX_PIXELS = 1u << 22;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BmpInfo info;
    if (GetBmpHeader(data, size, size, &info) != BMP_OK)
        return 0;
    if ((uint64_t)info.width * (uint64_t)info.height > MAX_PIXELS)
        return 0;
    uint8_t palette[256 * 3];
    int entries = bmp_palette_rgb(&info, data, size, palette);
    std::vector<uint8_t> row((size_t)info.width * 3);
    unsigned sum = 0;
    if (info.rowBytes == 0) {
        int rows = 0;
        int ok = bmp_rle_rows(&info, data + info.dataOffset, (size_t)(info.needed - info.dataOffset), [&](const uint8_t* indices) {
            rows++;
            for (int x = 0; x < info.width; x++)
                sum += indices[x] < entries ? palette[indices[x] * 3] : 0;
        });
        if (ok != (rows == info.height) || rows > info.height)
            __builtin_trap();  // every row, once, exactly when the stream was whole
    }
    for (int y = 0; info.rowBytes && y < info.height; y++) {
        if (!bmp_row(&info, data, size, y, row.data()))
            __builtin_trap();  // the header check promised every row
        if (bmp_is_direct(&info)) {
            for (uint8_t v : row)
                sum += v;
        } else {
            for (int x = 0; x < info.width; x++) {
                int index = row[(size_t)x] < entries ? row[(size_t)x] : 0;
                sum += palette[index * 3] + palette[index * 3 + 1] + palette[index * 3 + 2];
            }
        }
    }
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
