// Fuzz target for the streaming JPEG decoder: header checks, the EXIF
// orientation walk, colour conversion (grey, RGB, CMYK) and every row, in
// bands as the loader reads.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/jpeg_decode.h"

static const size_t MAX_PIXELS = 1u << 22;
static const int BAND_ROWS = 16;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int width = 0, height = 0;
    JpegStream* stream = jpeg_stream_open_memory(data, size, MAX_PIXELS, "fuzz input", &width, &height);
    if (!stream)
        return 0;
    std::vector<uint8_t> band((size_t)width * 3 * BAND_ROWS);
    unsigned sum = (unsigned)jpeg_stream_orientation(stream);
    if (sum < 1 || sum > 8)
        __builtin_trap();
    int rows = 0, n;
    while ((n = jpeg_stream_read_rgb(stream, band.data(), BAND_ROWS)) > 0) {
        for (size_t i = 0; i < (size_t)n * (size_t)width * 3; i++)
            sum += band[i];
        rows += n;
    }
    if (n == 0 && rows != height)
        __builtin_trap();  // a live stream must deliver every row
    jpeg_stream_close(stream);
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
