// Windows bitmap decoding: every field read from the file is checked against
// the bytes actually present before it is used; sizes are 64-bit.
#include "image/bmp_decode.h"

#include <cstring>

static uint32_t le16(const uint8_t* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8);
}

static uint32_t le32(const uint8_t* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

uint64_t GetDIBWidthBytes(int width, int bitCount)
{
    if (width <= 0 || bitCount <= 0)
        return 0;
    uint64_t w = (uint64_t)width;
    if (bitCount >= 8)
        return (w * (uint64_t)bitCount / 8 + 3) / 4 * 4;
    uint64_t perByte = 8 / (uint64_t)bitCount;
    uint64_t perDword = 32 / (uint64_t)bitCount;
    return (w + perDword - 1) / perDword * perDword / perByte;
}

static bool is_supported_bits(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

BmpStatus GetBmpHeader(const uint8_t* data, size_t size, uint64_t fileSize, BmpInfo* info)
{
    memset(info, 0, sizeof *info);
    if (!data || size < 2 || data[0] != 'B' || data[1] != 'M')
        return BMP_NOT_BITMAP;
    if (size < BMP_HEADER_SIZE || fileSize < BMP_HEADER_SIZE)
        return BMP_TRUNCATED_HEADER;
    info->dataOffset = le32(data + 10);
    info->infoSize = le32(data + 14);
    info->width = (int32_t)le32(data + 18);
    info->height = (int32_t)le32(data + 22);
    info->bitCount = (int)le16(data + 28);
    info->compression = le32(data + 30);
    info->colorsUsed = le32(data + 46);
    if (info->compression != 0)
        return BMP_COMPRESSED;
    if (info->infoSize < 40)
        return BMP_BAD_HEADER_SIZE;
    info->paletteOffset = 14 + (uint64_t)info->infoSize;
    if (info->paletteOffset > fileSize)
        return BMP_TRUNCATED_HEADER;
    if (info->width <= 0 || info->height <= 0 || info->width > BMP_MAX_SIDE ||
        info->height > BMP_MAX_SIDE)
        return BMP_BAD_SIZE;
    if (info->bitCount >= 9 && info->bitCount <= 23)
        return BMP_NO_COLOR_TABLE;
    if (!is_supported_bits(info->bitCount))
        return BMP_BAD_BIT_COUNT;
    uint64_t paletteEnd = info->paletteOffset;
    if (info->bitCount < 24) {
        // A count above what the bit depth can index is taken as the full table.
        uint32_t full = 1u << info->bitCount;
        uint32_t used = info->colorsUsed;
        info->paletteEntries = (int)((used == 0 || used > full) ? full : used);
        paletteEnd += 4 * (uint64_t)info->paletteEntries;
        if (paletteEnd > fileSize)
            return BMP_TRUNCATED_PALETTE;
    }
    if (info->dataOffset >= fileSize)
        return BMP_BAD_OFFSET;
    info->rowBytes = GetDIBWidthBytes(info->width, info->bitCount);
    uint64_t dataEnd = (uint64_t)info->dataOffset + info->rowBytes * (uint64_t)info->height;
    if (dataEnd > fileSize)
        return BMP_TRUNCATED_DATA;
    info->needed = dataEnd > paletteEnd ? dataEnd : paletteEnd;
    return BMP_OK;
}

int bmp_format_code(const uint8_t* data, size_t size)
{
    if (!data || size < 34 || data[0] != 'B' || data[1] != 'M' || le32(data + 30) != 0)
        return 0;
    switch (le16(data + 28)) {
    case 1:
        return 1;
    case 4:
        return 2;
    case 8:
        return 3;
    case 24:
        return 4;
    default:
        return 0;
    }
}

int bmp_palette_rgb(const BmpInfo* info, const uint8_t* data, size_t size, uint8_t* rgb)
{
    int n = info->paletteEntries;
    if (n <= 0 || n > 256 || info->paletteOffset + 4 * (uint64_t)n > size)
        return 0;
    const uint8_t* p = data + info->paletteOffset;
    for (int i = 0; i < n; i++, p += 4) {
        rgb[i * 3] = p[2];
        rgb[i * 3 + 1] = p[1];
        rgb[i * 3 + 2] = p[0];
    }
    return n;
}

void bmp_decode_row(const BmpInfo* info, const uint8_t* row, uint8_t* out)
{
    int w = info->width;
    switch (info->bitCount) {
    case 1:
        for (int x = 0; x < w; x++)
            out[x] = (uint8_t)((row[x >> 3] >> (7 - (x & 7))) & 1);
        break;
    case 4:
        for (int x = 0; x < w; x++)
            out[x] = (uint8_t)((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
        break;
    case 8:
        memcpy(out, row, (size_t)w);
        break;
    case 24:
        memcpy(out, row, (size_t)w * 3);
        break;
    default:
        break;
    }
}

int bmp_row(const BmpInfo* info, const uint8_t* data, size_t size, int storedRow, uint8_t* out)
{
    if (storedRow < 0 || storedRow >= info->height || info->rowBytes == 0 || info->bitCount < 1 ||
        (info->bitCount > 8 && info->bitCount != 24))
        return 0;
    uint64_t start = (uint64_t)info->dataOffset + info->rowBytes * (uint64_t)storedRow;
    if (start + info->rowBytes > size)
        return 0;
    bmp_decode_row(info, data + start, out);
    return 1;
}
