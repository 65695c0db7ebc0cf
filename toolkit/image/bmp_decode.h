// Windows bitmap decoding from bytes in memory: header checks against the
// bytes that exist, colour table and row decoding.  No display involved.
#ifndef TSL_IMAGE_BMP_DECODE_H
#define TSL_IMAGE_BMP_DECODE_H

#include <cstddef>
#include <cstdint>

enum BmpStatus {
    BMP_OK = 0,
    BMP_NOT_BITMAP,         // no "BM" signature
    BMP_TRUNCATED_HEADER,   // file ends inside the headers
    BMP_COMPRESSED,         // compression other than 0
    BMP_BAD_HEADER_SIZE,    // info header shorter than 40 bytes (OS/2 core)
    BMP_BAD_SIZE,           // width or height 0, negative (top-down) or too large
    BMP_NO_COLOR_TABLE,     // bit count 9..23: no colour table and no pixel layout
    BMP_BAD_BIT_COUNT,      // any other bit count but 1, 4, 8, 24
    BMP_TRUNCATED_PALETTE,  // file ends inside the colour table
    BMP_BAD_OFFSET,         // pixel data offset at or past the end of the file
    BMP_TRUNCATED_DATA      // fewer pixel bytes than the header promises
};

// Size of the file header plus the fields of a 40-byte info header.
const size_t BMP_HEADER_SIZE = 54;
const int BMP_MAX_SIDE = 32767;

struct BmpInfo {
    uint32_t dataOffset;
    uint32_t infoSize;
    int32_t width;
    int32_t height;
    int bitCount;
    uint32_t compression;
    uint32_t colorsUsed;      // as stored
    uint64_t paletteOffset;   // 14 + infoSize
    int paletteEntries;       // entries read: 0 for 24 bits, else at most 2^bitCount
    uint64_t rowBytes;        // stored row length, padded to 4 bytes
    uint64_t needed;          // leading bytes of the file the decoder reads
};

// Bytes per stored row of a bitmap.
uint64_t GetDIBWidthBytes(int width, int bitCount);

// Parses and checks the headers.  data holds the first size bytes of a file
// of fileSize bytes; size may be smaller than info->needed (read the rest,
// then decode).  Checks run in the order of BmpStatus.
BmpStatus GetBmpHeader(const uint8_t* data, size_t size, uint64_t fileSize, BmpInfo* info);

// The format code chosen from the first bytes alone: 0 when they are not
// an uncompressed bitmap, else by bit count (1, 2, 3, 4 for 1, 4, 8, 24; 0
// for the others).
int bmp_format_code(const uint8_t* data, size_t size);

// Colour table as RGB triples; rgb holds 3 x 256 bytes.  Returns the number
// of entries, 0 when data is too short.
int bmp_palette_rgb(const BmpInfo* info, const uint8_t* data, size_t size, uint8_t* rgb);

// Decodes one stored row of info->rowBytes bytes: palette indices, one byte
// per pixel, for 1, 4 and 8 bits; blue-green-red triples for 24 bits.
void bmp_decode_row(const BmpInfo* info, const uint8_t* row, uint8_t* out);

// Decodes a stored row (0 is the bottom one): palette indices, one byte per
// pixel, for 1, 4 and 8 bits; blue-green-red triples for 24 bits.
// Returns 0 when the row lies outside data.
int bmp_row(const BmpInfo* info, const uint8_t* data, size_t size, int storedRow, uint8_t* out);

#endif
