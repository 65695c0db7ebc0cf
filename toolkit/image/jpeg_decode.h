// Streaming JPEG decoding: rows are handed out a band at a time as packed
// RGB, so a picture never needs a whole-picture buffer on the client.
#ifndef TSL_IMAGE_JPEG_DECODE_H
#define TSL_IMAGE_JPEG_DECODE_H

#include <cstddef>
#include <cstdint>

struct JpegStream;

// Largest width or height a loaded picture may have.
const int JPEG_MAX_SIDE = 32767;

// Opens a file and reads its header.  On failure prints one "Error: ..."
// line and returns null.  With native32, colour files are decoded straight
// to 32-bit pixels 0x00RRGGBB in host byte order (see jpeg_stream_read_row32).
JpegStream* jpeg_stream_open_file(const char* path, bool native32, int* width, int* height);

// The same on bytes in memory (kept by the caller until close); pictures of
// more than max_pixels pixels are refused.  name appears in messages.
JpegStream* jpeg_stream_open_memory(const unsigned char* data, size_t size, size_t max_pixels,
                                    const char* name, int* width, int* height);

// Decodes up to rows next rows into rgb (rows x width x 3 bytes, top-down).
// Returns the number of rows written, 0 at the end, -1 after a libjpeg
// error (already reported; the stream is then dead).
int jpeg_stream_read_rgb(JpegStream* stream, unsigned char* rgb, int rows);

// The EXIF orientation (1..8) of the picture; 1 when it has none.  Rows
// are handed out as stored; a stream of another orientation never hands
// out 32-bit pixels.
int jpeg_stream_orientation(const JpegStream* stream);

// 1 when the stream hands out 32-bit pixels: read with jpeg_stream_read_row32.
int jpeg_stream_is_native32(const JpegStream* stream);

// Decodes the next row as width 32-bit pixels.  Returns 1, 0 at the end,
// -1 after a libjpeg error (already reported).
int jpeg_stream_read_row32(JpegStream* stream, uint32_t* row);

// Releases the decoder and closes the file; null is ignored.
void jpeg_stream_close(JpegStream* stream);

#endif
