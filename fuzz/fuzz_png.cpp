// Fuzz target for the streaming PNG decoder: header checks, every colour
// type's conversion to RGBA and every row, in bands as the loader reads.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/png_decode.h"

static const size_t MAX_PIXELS = 1u << 22;
static const int BAND_ROWS = 16;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int width = 0, height = 0;
    PngStream* stream = png_stream_open_memory(data, size, MAX_PIXELS, "fuzz input", &width, &height);
    if (!stream)
        return 0;
    int bpp = png_stream_set_layout(stream, png_stream_has_alpha(stream) ? PNG_LAYOUT_RGBA : PNG_LAYOUT_RGB);
    std::vector<uint8_t> band((size_t)width * 4 * BAND_ROWS);
    unsigned sum = 0;
    int rows = 0, n = -1;
    while (bpp && (n = png_stream_read(stream, band.data(), BAND_ROWS)) > 0) {
        for (size_t i = 0; i < (size_t)n * (size_t)width * (size_t)bpp; i++)
            sum += band[i];
        rows += n;
    }
    if (n == 0 && rows != height)
        __builtin_trap();  // a live stream must deliver every row
    png_stream_close(stream);
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
