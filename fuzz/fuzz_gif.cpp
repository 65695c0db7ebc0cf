// Fuzz target for the GIF decoder: the records before the first frame, its
// placement on the screen and every row, in bands as the loader reads.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/gif_decode.h"

static const size_t MAX_PIXELS = 1u << 22;
static const int BAND_ROWS = 16;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int width = 0, height = 0;
    GifStream* stream = gif_stream_open_memory(data, size, MAX_PIXELS, "fuzz input", &width, &height);
    if (!stream)
        return 0;
    uint8_t palette[256 * 3];
    int colours = gif_stream_palette(stream, palette);
    std::vector<uint8_t> band((size_t)width * BAND_ROWS);
    unsigned sum = (unsigned)gif_stream_transparent(stream);
    int rows = 0, n;
    while ((n = gif_stream_read(stream, band.data(), BAND_ROWS)) > 0) {
        for (size_t i = 0; i < (size_t)n * (size_t)width; i++)
            sum += band[i] < colours ? palette[band[i] * 3] : 0;
        rows += n;
    }
    if (n == 0 && rows != height)
        __builtin_trap();
    gif_stream_close(stream);
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
