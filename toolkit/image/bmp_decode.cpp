// Windows bitmap decoding: every field read from the file is checked against
// the bytes actually present before it is used; sizes are 64-bit.
#include "image/bmp_decode.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "image/image_limits.h"

static uint32_t le16(const uint8_t* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8);
}

static uint32_t le32(const uint8_t* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

// OS/2 core headers are 12 bytes long, with 16-bit sizes and 3-byte colours.
const uint32_t CORE_INFO_SIZE = 12;
const size_t CORE_HEADER_END = 26;

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
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

static bool compression_fits(uint32_t compression, int bits)
{
    switch (compression) {
    case BMP_RGB:
        return true;
    case BMP_RLE8:
        return bits == 8;
    case BMP_RLE4:
        return bits == 4;
    case BMP_BITFIELDS:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// The file header and the info header fields, OS/2 core or Windows.
static void read_fields(const uint8_t* data, BmpInfo* info)
{
    info->dataOffset = le32(data + 10);
    info->infoSize = le32(data + 14);
    if (info->infoSize == CORE_INFO_SIZE) {
        info->width = (int32_t)le16(data + 18);
        info->height = (int32_t)le16(data + 20);
        info->bitCount = (int)le16(data + 24);
        info->paletteEntrySize = 3;
        return;
    }
    info->width = (int32_t)le32(data + 18);
    info->height = (int32_t)le32(data + 22);
    info->bitCount = (int)le16(data + 28);
    info->compression = le32(data + 30);
    info->colorsUsed = le32(data + 46);
    info->paletteEntrySize = 4;
}

static bool mask_is_usable(uint32_t m, int bits)
{
    if (m == 0 || (bits == 16 && m > 0xFFFF))
        return false;
    uint32_t run = m >> __builtin_ctz(m);
    return (run & (run + 1)) == 0;  // one contiguous run of ones
}

static BmpStatus read_masks(const uint8_t* data, size_t size, uint64_t fileSize, BmpInfo* info)
{
    if (info->compression != BMP_BITFIELDS) {
        bool five = info->bitCount == 16;
        info->masks[0] = five ? 0x7C00 : 0xFF0000;
        info->masks[1] = five ? 0x03E0 : 0x00FF00;
        info->masks[2] = five ? 0x001F : 0x0000FF;
        return BMP_OK;
    }
    // After a 40-byte header the masks follow it; longer headers hold them
    // at the same place.
    if (size < BMP_HEAD_BYTES || fileSize < BMP_HEAD_BYTES)
        return BMP_TRUNCATED_HEADER;
    for (int ch = 0; ch < 3; ch++) {
        info->masks[ch] = le32(data + BMP_HEADER_SIZE + 4 * ch);
        if (!mask_is_usable(info->masks[ch], info->bitCount))
            return BMP_BAD_MASKS;
    }
    return BMP_OK;
}

static int palette_entries(const BmpInfo* info)
{
    uint32_t full = 1u << info->bitCount;
    if (info->paletteEntrySize == 3) {
        // Core headers have no count: the table fills the gap before the pixels.
        uint64_t room = info->dataOffset > info->paletteOffset ? (info->dataOffset - info->paletteOffset) / 3 : 0;
        return (int)(room > 0 && room < full ? room : full);
    }
    // A count above what the bit depth can index is taken as the full table.
    uint32_t used = info->colorsUsed;
    return (int)((used == 0 || used > full) ? full : used);
}

static bool is_rle(const BmpInfo* info)
{
    return info->compression == BMP_RLE8 || info->compression == BMP_RLE4;
}

BmpStatus GetBmpHeader(const uint8_t* data, size_t size, uint64_t fileSize, BmpInfo* info)
{
    memset(info, 0, sizeof *info);
    if (!data || size < 2 || data[0] != 'B' || data[1] != 'M')
        return BMP_NOT_BITMAP;
    size_t headEnd = size >= 18 && le32(data + 14) == CORE_INFO_SIZE ? CORE_HEADER_END : BMP_HEADER_SIZE;
    if (size < headEnd || fileSize < headEnd)
        return BMP_TRUNCATED_HEADER;
    read_fields(data, info);
    if (!compression_fits(info->compression, info->bitCount))
        return BMP_COMPRESSED;
    if (info->infoSize != CORE_INFO_SIZE && info->infoSize < 40)
        return BMP_BAD_HEADER_SIZE;
    info->paletteOffset = 14 + (uint64_t)info->infoSize;
    if (info->paletteOffset > fileSize)
        return BMP_TRUNCATED_HEADER;
    int64_t height = info->height < 0 ? -(int64_t)info->height : info->height;
    if (info->width <= 0 || height == 0 || info->width > BMP_MAX_SIDE || height > BMP_MAX_SIDE ||
        (uint64_t)info->width * (uint64_t)height > IMAGE_MAX_PIXELS)
        return BMP_BAD_SIZE;
    info->topDown = info->height < 0;
    info->height = (int32_t)height;
    if (info->bitCount >= 9 && info->bitCount <= 23 && info->bitCount != 16)
        return BMP_NO_COLOR_TABLE;
    if (!is_supported_bits(info->bitCount))
        return BMP_BAD_BIT_COUNT;
    uint64_t paletteEnd = info->paletteOffset;
    if (info->bitCount == 16 || info->bitCount == 32) {
        BmpStatus masks = read_masks(data, size, fileSize, info);
        if (masks != BMP_OK)
            return masks;
    } else if (info->bitCount < 24) {
        info->paletteEntries = palette_entries(info);
        paletteEnd += (uint64_t)info->paletteEntrySize * (uint64_t)info->paletteEntries;
        if (paletteEnd > fileSize)
            return BMP_TRUNCATED_PALETTE;
    }
    if (info->dataOffset >= fileSize)
        return BMP_BAD_OFFSET;
    if (is_rle(info)) {
        // The run-length stream is as long as it is, up to the most a
        // picture of this size can use without steps that move nothing:
        // four bytes a pixel (one-pixel deltas) and four a row.  Its decoder
        // checks each step.
        uint64_t most = (4 * (uint64_t)info->width + 4) * (uint64_t)info->height + 2;
        info->needed = std::min(fileSize, (uint64_t)info->dataOffset + most);
        return BMP_OK;
    }
    info->rowBytes = GetDIBWidthBytes(info->width, info->bitCount);
    uint64_t dataEnd = (uint64_t)info->dataOffset + info->rowBytes * (uint64_t)info->height;
    if (dataEnd > fileSize)
        return BMP_TRUNCATED_DATA;
    info->needed = dataEnd > paletteEnd ? dataEnd : paletteEnd;
    return BMP_OK;
}

int bmp_format_code(const uint8_t* data, size_t size)
{
    BmpInfo info;
    memset(&info, 0, sizeof info);
    if (!data || size < 2 || data[0] != 'B' || data[1] != 'M' || size < 18)
        return 0;
    if (size < (le32(data + 14) == CORE_INFO_SIZE ? CORE_HEADER_END : 34))
        return 0;
    // Only the fields up to the compression are needed here.
    uint8_t head[BMP_HEADER_SIZE] = {};
    memcpy(head, data, std::min(size, sizeof head));
    read_fields(head, &info);
    if (!compression_fits(info.compression, info.bitCount))
        return 0;
    switch (info.bitCount) {
    case 1:
        return 1;
    case 4:
        return 2;
    case 8:
        return 3;
    case 24:
        return 4;
    case 16:
    case 32:
        return 5;
    default:
        return 0;
    }
}

int bmp_palette_rgb(const BmpInfo* info, const uint8_t* data, size_t size, uint8_t* rgb)
{
    int n = info->paletteEntries;
    uint64_t step = info->paletteEntrySize == 3 ? 3 : 4;
    if (n <= 0 || n > 256 || info->paletteOffset + step * (uint64_t)n > size)
        return 0;
    const uint8_t* p = data + info->paletteOffset;
    for (int i = 0; i < n; i++, p += step) {
        rgb[i * 3] = p[2];
        rgb[i * 3 + 1] = p[1];
        rgb[i * 3 + 2] = p[0];
    }
    return n;
}

int bmp_is_direct(const BmpInfo* info)
{
    return info->bitCount > 8;
}

// A channel of a packed pixel, widened or narrowed to 8 bits.
static uint8_t channel(uint32_t px, uint32_t mask)
{
    if (!mask)
        return 0;
    int shift = __builtin_ctz(mask), bits = __builtin_popcount(mask);
    uint32_t v = (px & mask) >> shift;
    if (bits >= 8)
        return (uint8_t)(v >> (bits - 8));
    uint32_t max = (1u << bits) - 1;
    return (uint8_t)((v * 255 + max / 2) / max);
}

static void decode_packed(const BmpInfo* info, const uint8_t* row, uint8_t* out)
{
    int bytes = info->bitCount / 8;
    for (int x = 0; x < info->width; x++, row += bytes, out += 3) {
        uint32_t px = bytes == 2 ? le16(row) : le32(row);
        out[0] = channel(px, info->masks[2]);
        out[1] = channel(px, info->masks[1]);
        out[2] = channel(px, info->masks[0]);
    }
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
    case 16:
    case 32:
        decode_packed(info, row, out);
        break;
    default:
        break;
    }
}

int bmp_row(const BmpInfo* info, const uint8_t* data, size_t size, int storedRow, uint8_t* out)
{
    if (storedRow < 0 || storedRow >= info->height || info->rowBytes == 0 || !is_supported_bits(info->bitCount))
        return 0;
    uint64_t start = (uint64_t)info->dataOffset + info->rowBytes * (uint64_t)storedRow;
    if (start + info->rowBytes > size)
        return 0;
    bmp_decode_row(info, data + start, out);
    return 1;
}

// The index of pixel i of a run: RLE4 alternates the byte's two nibbles.
static uint8_t run_index(bool four, uint8_t byte, int i)
{
    return four ? (uint8_t)((i & 1) ? (byte & 0x0F) : (byte >> 4)) : byte;
}

int bmp_rle_rows(const BmpInfo* info, const uint8_t* data, size_t size,
                 const std::function<void(const uint8_t*)>& row)
{
    const int w = info->width, h = info->height;
    const bool four = info->compression == BMP_RLE4;
    std::vector<uint8_t> line((size_t)w, 0);
    size_t p = 0;
    int x = 0, y = 0;
    auto emit = [&] {
        row(line.data());
        std::fill(line.begin(), line.end(), 0);
        y++;
    };
    auto put = [&](uint8_t v) {
        if (x < w)
            line[(size_t)x++] = v;
    };
    while (y < h) {
        if (size - p < 2)
            return 0;
        uint8_t n = data[p], c = data[p + 1];
        p += 2;
        if (n > 0) {
            for (int i = 0; i < n; i++)
                put(run_index(four, c, i));
        } else if (c == 0) {  // end of line
            emit();
            x = 0;
        } else if (c == 1) {  // end of bitmap
            while (y < h)
                emit();
        } else if (c == 2) {  // delta: right and down
            if (size - p < 2)
                return 0;
            x = std::min(w, x + data[p]);
            int down = data[p + 1];
            p += 2;
            for (int i = 0; i < down && y < h; i++)
                emit();
        } else {  // absolute run of c pixels, padded to an even byte count
            size_t bytes = four ? ((size_t)c + 1) / 2 : c;
            if (size - p < bytes)
                return 0;
            for (int i = 0; i < c; i++)
                put(four ? run_index(true, data[p + (size_t)i / 2], i) : data[p + (size_t)i]);
            p += std::min(size - p, (bytes + 1) & ~(size_t)1);
        }
    }
    return 1;
}
