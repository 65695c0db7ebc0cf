// Windows bitmap decoding from bytes in memory: header checks against the
// bytes that exist, colour table, row decoding and run-length streams.  No
// display involved.
#ifndef TSL_IMAGE_BMP_DECODE_H
#define TSL_IMAGE_BMP_DECODE_H

#include <cstddef>
#include <cstdint>
#include <functional>

enum BmpStatus {
    BMP_OK = 0,
    BMP_NOT_BITMAP,         // no "BM" signature
    BMP_TRUNCATED_HEADER,   // file ends inside the headers (or the channel masks)
    BMP_COMPRESSED,         // a compression this reader does not know, or one that
                            // does not fit the bit count
    BMP_BAD_HEADER_SIZE,    // info header neither 12 (OS/2 core) nor at least 40 bytes
    BMP_BAD_SIZE,           // width or height 0 or too large
    BMP_NO_COLOR_TABLE,     // bit count 9..23 other than 16: no colour table, no layout
    BMP_BAD_BIT_COUNT,      // any other bit count but 1, 4, 8, 16, 24, 32
    BMP_BAD_MASKS,          // channel masks empty, not contiguous or wider than a pixel
    BMP_TRUNCATED_PALETTE,  // file ends inside the colour table
    BMP_BAD_OFFSET,         // pixel data offset at or past the end of the file
    BMP_TRUNCATED_DATA      // fewer pixel bytes than the header promises
};

// Compression values of the info header.
const uint32_t BMP_RGB = 0;
const uint32_t BMP_RLE8 = 1;
const uint32_t BMP_RLE4 = 2;
const uint32_t BMP_BITFIELDS = 3;

// Size of the file header plus the fields of a 40-byte info header.
const size_t BMP_HEADER_SIZE = 54;
// Leading bytes the header check may look at: the headers and the three
// channel masks that follow a 40-byte info header.
const size_t BMP_HEAD_BYTES = 66;
const int BMP_MAX_SIDE = 32767;

struct BmpInfo {
    uint32_t dataOffset;
    uint32_t infoSize;
    int32_t width;
    int32_t height;           // always positive; topDown tells the row order
    bool topDown;             // stored rows run from the top (negative height)
    int bitCount;
    uint32_t compression;
    uint32_t colorsUsed;      // as stored
    uint32_t masks[3];        // red, green, blue channel masks of 16 and 32 bits
    uint64_t paletteOffset;   // 14 + infoSize
    int paletteEntries;       // entries read: 0 above 8 bits, else at most 2^bitCount
    int paletteEntrySize;     // 4, or 3 for OS/2 core headers
    uint64_t rowBytes;        // stored row length, padded to 4 bytes (0 for RLE)
    uint64_t needed;          // leading bytes of the file the decoder reads
};

// Bytes per stored row of a bitmap.
uint64_t GetDIBWidthBytes(int width, int bitCount);

// Parses and checks the headers.  data holds the first size bytes of a file
// of fileSize bytes; size may be smaller than info->needed (read the rest,
// then decode).  Checks run in the order of BmpStatus.
BmpStatus GetBmpHeader(const uint8_t* data, size_t size, uint64_t fileSize, BmpInfo* info);

// The format code chosen from the first bytes alone: 0 when they are not a
// bitmap this reader knows, else by bit count (1, 2, 3, 4 for 1, 4, 8, 24;
// 5 for 16 and 32; run-length files as their bit count).
int bmp_format_code(const uint8_t* data, size_t size);

// Colour table as RGB triples; rgb holds 3 x 256 bytes.  Returns the number
// of entries, 0 when data is too short.
int bmp_palette_rgb(const BmpInfo* info, const uint8_t* data, size_t size, uint8_t* rgb);

// 1 when rows decode to blue-green-red triples (16, 24, 32 bits), 0 when to
// palette indices.
int bmp_is_direct(const BmpInfo* info);

// Decodes one stored row of info->rowBytes bytes: palette indices, one byte
// per pixel, for 1, 4 and 8 bits; blue-green-red triples above.
void bmp_decode_row(const BmpInfo* info, const uint8_t* row, uint8_t* out);

// Decodes a stored row (0 is the first in the file) as bmp_decode_row.
// Returns 0 when the row lies outside data or the file is run-length coded.
int bmp_row(const BmpInfo* info, const uint8_t* data, size_t size, int storedRow, uint8_t* out);

// Decodes RLE8 or RLE4 data (the bytes from the pixel data offset on) and
// hands every stored row, in file order, to row as width palette indices.
// Pixels the stream skips (delta, early end of line or of bitmap) are
// index 0; runs past the right edge are cut.  Returns 0 when the data ends
// before the last row.
int bmp_rle_rows(const BmpInfo* info, const uint8_t* data, size_t size,
                 const std::function<void(const uint8_t*)>& row);

#endif
