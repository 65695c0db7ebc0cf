// GIF decoding through giflib: the first frame placed on the logical screen
// as rows of colour-table indices, with its colour table and transparent
// index.  No display involved.
#ifndef TSL_IMAGE_GIF_DECODE_H
#define TSL_IMAGE_GIF_DECODE_H

#include <cstddef>
#include <cstdint>

struct GifStream;

// Largest width or height a loaded picture may have.
const int GIF_MAX_SIDE = 32767;

// Opens a file and reads up to the first frame.  On failure prints one
// "Error: ..." line and returns null.  The size is the logical screen's,
// grown to hold the first frame if it lies outside.
GifStream* gif_stream_open_file(const char* path, int* width, int* height);

// The same on bytes in memory (kept by the caller until close); pictures of
// more than max_pixels pixels are refused.  name appears in messages.
GifStream* gif_stream_open_memory(const uint8_t* data, size_t size, size_t max_pixels, const char* name,
                                  int* width, int* height);

// The frame's colour table (its own, else the global one) as RGB triples
// into rgb (3 x 256 bytes); returns the number of entries.
int gif_stream_palette(const GifStream* stream, uint8_t* rgb);

// The frame's transparent index, or -1.  Screen pixels outside the frame
// take this index, or the screen's background index when there is none.
int gif_stream_transparent(const GifStream* stream);

// Decodes up to rows next screen rows into out (rows x width indices,
// top-down).  Returns the number of rows written, 0 at the end, -1 after an
// error (reported; the stream is then dead).
int gif_stream_read(GifStream* stream, uint8_t* out, int rows);

// Releases the decoder and closes the file; null is ignored.
void gif_stream_close(GifStream* stream);

#endif
