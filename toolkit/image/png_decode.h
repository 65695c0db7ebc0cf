// Streaming PNG decoding through libpng: every colour type and bit depth
// becomes 8-bit RGB or RGBA rows (or 32-bit pixels for the display), handed
// out a band at a time.  No display involved.
#ifndef TSL_IMAGE_PNG_DECODE_H
#define TSL_IMAGE_PNG_DECODE_H

#include <cstddef>
#include <cstdint>

struct PngStream;

// Largest width or height a loaded picture may have.
const int PNG_MAX_SIDE = 32767;

enum PngLayout {
    PNG_LAYOUT_RGB,      // 3 bytes a pixel
    PNG_LAYOUT_RGBA,     // 4 bytes a pixel, alpha last
    PNG_LAYOUT_NATIVE32  // 32-bit pixels 0x00RRGGBB in host byte order
};

// Opens a file and reads its header.  On failure prints one "Error: ..."
// line and returns null.
PngStream* png_stream_open_file(const char* path, int* width, int* height);

// The same on bytes in memory (kept by the caller until close); pictures of
// more than max_pixels pixels are refused.  name appears in messages.
PngStream* png_stream_open_memory(const uint8_t* data, size_t size, size_t max_pixels, const char* name,
                                  int* width, int* height);

// 1 when the picture has an alpha channel or a transparent colour.
int png_stream_has_alpha(const PngStream* stream);

// Chooses the row layout, once, before the first row.  Returns the bytes
// per pixel, or 0 after a libpng error (reported; the stream is then dead).
int png_stream_set_layout(PngStream* stream, PngLayout layout);

// Decodes up to rows next rows into out (rows x width pixels, top-down).
// Returns the number of rows written, 0 at the end, -1 after an error
// (reported; the stream is then dead).
int png_stream_read(PngStream* stream, uint8_t* out, int rows);

// Releases the decoder and closes the file; null is ignored.
void png_stream_close(PngStream* stream);

#endif
