// Bitmap decoding without a display: row layouts at every padding width,
// colour-table sizes and each malformed header refused with its own status.
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "image/bmp_decode.h"
#include "image/pixel_map.h"

namespace {

using Rgb = std::array<uint8_t, 3>;

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    b[at] = (uint8_t)v;
    b[at + 1] = (uint8_t)(v >> 8);
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (uint8_t)(v >> (8 * i));
}

size_t row_bytes(int w, int bits)
{
    return ((size_t)w * bits + 31) / 32 * 4;
}

// A bitmap whose stored row sy, pixel x holds value(x, sy): a palette index,
// or 0xRRGGBB for 24 bits.
std::vector<uint8_t> make_bmp(int w, int h, int bits, const std::vector<Rgb>& palette,
                              const std::function<uint32_t(int, int)>& value,
                              uint32_t infoSize = 40, uint32_t colorsUsed = 0)
{
    size_t palOff = 14 + infoSize;
    size_t dataOff = palOff + 4 * palette.size();
    size_t rb = row_bytes(w, bits);
    std::vector<uint8_t> b(dataOff + rb * h, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, (uint32_t)b.size());
    put32(b, 10, (uint32_t)dataOff);
    put32(b, 14, infoSize);
    put32(b, 18, (uint32_t)w);
    put32(b, 22, (uint32_t)h);
    put16(b, 26, 1);
    put16(b, 28, (uint32_t)bits);
    put32(b, 46, colorsUsed);
    for (size_t i = 0; i < palette.size(); i++) {
        b[palOff + 4 * i] = palette[i][2];
        b[palOff + 4 * i + 1] = palette[i][1];
        b[palOff + 4 * i + 2] = palette[i][0];
    }
    for (int sy = 0; sy < h; sy++) {
        uint8_t* row = &b[dataOff + rb * sy];
        for (int x = 0; x < w; x++) {
            uint32_t v = value(x, sy);
            switch (bits) {
            case 1:
                row[x / 8] |= (uint8_t)((v & 1) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] |= (uint8_t)((v & 15) << (x % 2 ? 0 : 4));
                break;
            case 8:
                row[x] = (uint8_t)v;
                break;
            default:
                row[3 * x] = (uint8_t)v;
                row[3 * x + 1] = (uint8_t)(v >> 8);
                row[3 * x + 2] = (uint8_t)(v >> 16);
            }
        }
    }
    return b;
}

std::vector<Rgb> grey_palette(int n)
{
    std::vector<Rgb> p;
    for (int i = 0; i < n; i++)
        p.push_back({(uint8_t)i, (uint8_t)(255 - i), (uint8_t)(i * 3)});
    return p;
}

BmpStatus parse(const std::vector<uint8_t>& b, BmpInfo* info)
{
    return GetBmpHeader(b.data(), b.size(), b.size(), info);
}

uint32_t pattern(int bits, int x, int sy)
{
    if (bits == 24)
        return (uint32_t)(x * 40 + sy) << 16 | (uint32_t)(x * 7) << 8 | (uint32_t)(200 - sy * 9);
    return (uint32_t)(x * 3 + sy * 5) & ((1u << bits) - 1);
}

}  // namespace

TEST(BmpRows, EveryBitCountAtEveryPaddingWidth)
{
    for (int bits : {1, 4, 8, 24}) {
        for (int w = 1; w <= 9; w++) {
            const int h = 3;
            auto bmp = make_bmp(w, h, bits, grey_palette(bits == 24 ? 0 : 1 << bits),
                                [&](int x, int sy) { return pattern(bits, x, sy); });
            BmpInfo info;
            ASSERT_EQ(parse(bmp, &info), BMP_OK) << bits << " bits, width " << w;
            EXPECT_EQ(info.rowBytes, row_bytes(w, bits));
            EXPECT_EQ(info.needed, bmp.size());
            std::vector<uint8_t> row((size_t)w * 3);
            for (int sy = 0; sy < h; sy++) {
                ASSERT_EQ(bmp_row(&info, bmp.data(), bmp.size(), sy, row.data()), 1);
                for (int x = 0; x < w; x++) {
                    uint32_t want = pattern(bits, x, sy);
                    if (bits == 24) {
                        EXPECT_EQ(row[3 * x + 2], (uint8_t)(want >> 16));
                        EXPECT_EQ(row[3 * x + 1], (uint8_t)(want >> 8));
                        EXPECT_EQ(row[3 * x], (uint8_t)want);
                    } else {
                        EXPECT_EQ(row[x], want) << bits << " bits, w " << w << " x " << x;
                    }
                }
            }
            EXPECT_EQ(bmp_row(&info, bmp.data(), bmp.size(), h, row.data()), 0);
            EXPECT_EQ(bmp_row(&info, bmp.data(), bmp.size() - 1, h - 1, row.data()), 0);
        }
    }
}

TEST(BmpRows, RowLengths)
{
    EXPECT_EQ(GetDIBWidthBytes(10, 1), 4u);
    EXPECT_EQ(GetDIBWidthBytes(33, 1), 8u);
    EXPECT_EQ(GetDIBWidthBytes(9, 4), 8u);
    EXPECT_EQ(GetDIBWidthBytes(5, 8), 8u);
    EXPECT_EQ(GetDIBWidthBytes(5, 24), 16u);
    EXPECT_EQ(GetDIBWidthBytes(4, 24), 12u);
}

TEST(BmpPalette, EntryCounts)
{
    BmpInfo info;
    auto one = make_bmp(10, 1, 1, grey_palette(2), [](int, int) { return 1u; });
    ASSERT_EQ(parse(one, &info), BMP_OK);
    EXPECT_EQ(info.paletteEntries, 2);
    EXPECT_EQ(info.rowBytes, 4u);

    // Colours used above what 8 bits index is taken as 256; no more is read.
    auto big = make_bmp(2, 1, 8, grey_palette(256), [](int, int) { return 0u; }, 40, 100000);
    ASSERT_EQ(parse(big, &info), BMP_OK);
    EXPECT_EQ(info.paletteEntries, 256);

    auto few = make_bmp(2, 1, 8, grey_palette(3), [](int x, int) { return (uint32_t)x; }, 40, 3);
    ASSERT_EQ(parse(few, &info), BMP_OK);
    uint8_t rgb[256 * 3];
    ASSERT_EQ(bmp_palette_rgb(&info, few.data(), few.size(), rgb), 3);
    EXPECT_EQ(rgb[3 * 2], 2);
    EXPECT_EQ(rgb[3 * 2 + 1], 253);
    EXPECT_EQ(rgb[3 * 2 + 2], 6);

    // A 108-byte info header puts the table after those 108 bytes.
    auto v4 = make_bmp(3, 2, 4, grey_palette(16), [](int x, int) { return (uint32_t)x; }, 108);
    ASSERT_EQ(parse(v4, &info), BMP_OK);
    EXPECT_EQ(info.paletteOffset, 122u);
    ASSERT_EQ(bmp_palette_rgb(&info, v4.data(), v4.size(), rgb), 16);
    EXPECT_EQ(rgb[3 * 15 + 1], 240);
}

TEST(BmpHeader, MalformedFilesAreRefused)
{
    auto good = [] { return make_bmp(4, 2, 8, grey_palette(4), [](int, int) { return 1u; }, 40, 4); };
    BmpInfo info;
    auto b = good();
    ASSERT_EQ(parse(b, &info), BMP_OK);

    b[1] = 'A';
    EXPECT_EQ(parse(b, &info), BMP_NOT_BITMAP);
    EXPECT_EQ(GetBmpHeader(b.data(), 1, 1, &info), BMP_NOT_BITMAP);
    b = good();
    EXPECT_EQ(GetBmpHeader(b.data(), 30, 30, &info), BMP_TRUNCATED_HEADER);
    put32(b, 30, 1);
    EXPECT_EQ(parse(b, &info), BMP_COMPRESSED);
    b = good();
    put32(b, 14, 12);
    EXPECT_EQ(parse(b, &info), BMP_BAD_HEADER_SIZE);
    put32(b, 14, 0xFFFFFFF0u);
    EXPECT_EQ(parse(b, &info), BMP_TRUNCATED_HEADER);

    for (auto wh : std::vector<std::pair<int32_t, int32_t>>{{0, 2}, {4, 0}, {-4, 2}, {4, -2}, {32768, 2},
                                                              {4, 32768}, {INT32_MIN, 2}}) {
        b = good();
        put32(b, 18, (uint32_t)wh.first);
        put32(b, 22, (uint32_t)wh.second);
        EXPECT_EQ(parse(b, &info), BMP_BAD_SIZE) << wh.first << "x" << wh.second;
    }
    for (int bits : {9, 16, 23}) {
        b = good();
        put16(b, 28, (uint32_t)bits);
        EXPECT_EQ(parse(b, &info), BMP_NO_COLOR_TABLE) << bits;
    }
    for (int bits : {0, 2, 3, 32, 65535}) {
        b = good();
        put16(b, 28, (uint32_t)bits);
        EXPECT_EQ(parse(b, &info), BMP_BAD_BIT_COUNT) << bits;
    }
    b = good();
    put32(b, 46, 200);  // promises a table that runs past the end
    EXPECT_EQ(parse(b, &info), BMP_TRUNCATED_PALETTE);
    b = good();
    put32(b, 10, (uint32_t)b.size());
    EXPECT_EQ(parse(b, &info), BMP_BAD_OFFSET);
    put32(b, 10, 0xFFFFFFFFu);
    EXPECT_EQ(parse(b, &info), BMP_BAD_OFFSET);
    b = good();
    b.pop_back();
    EXPECT_EQ(parse(b, &info), BMP_TRUNCATED_DATA);
}

TEST(BmpHeader, SideLimitIsInclusive)
{
    // 1-bit rows keep a 32767-pixel-wide picture small.
    auto b = make_bmp(32767, 1, 1, grey_palette(2), [](int x, int) { return (uint32_t)(x & 1); });
    BmpInfo info;
    ASSERT_EQ(parse(b, &info), BMP_OK);
    EXPECT_EQ(info.rowBytes, 4096u);
    std::vector<uint8_t> row(32767 * 3);
    ASSERT_EQ(bmp_row(&info, b.data(), b.size(), 0, row.data()), 1);
    EXPECT_EQ(row[32766], 0);
    EXPECT_EQ(row[32765], 1);
}

TEST(BmpFormatCode, FromFirstBytes)
{
    auto b = make_bmp(2, 2, 24, {}, [](int, int) { return 0u; });
    EXPECT_EQ(bmp_format_code(b.data(), b.size()), 4);
    put16(b, 28, 8);
    EXPECT_EQ(bmp_format_code(b.data(), b.size()), 3);
    put16(b, 28, 4);
    EXPECT_EQ(bmp_format_code(b.data(), b.size()), 2);
    put16(b, 28, 1);
    EXPECT_EQ(bmp_format_code(b.data(), b.size()), 1);
    put16(b, 28, 16);
    EXPECT_EQ(bmp_format_code(b.data(), b.size()), 0);
    put16(b, 28, 8);
    put32(b, 30, 1);  // RLE8
    EXPECT_EQ(bmp_format_code(b.data(), b.size()), 0);
    EXPECT_EQ(bmp_format_code(b.data(), 20), 0);
}

TEST(PixelPacking, MasksGiveTheDepthRules)
{
    PixelMap map;
    uint32_t out[3];
    const uint8_t px[9] = {255, 255, 255, 8, 4, 8, 255, 0, 0};
    pixel_map_set_masks(&map, 0xF800, 0x07E0, 0x001F);
    pixel_map_rgb(&map, px, 3, false, out);
    EXPECT_EQ(out[0], 0xFFFFu);
    EXPECT_EQ(out[1], 0x821u);
    EXPECT_EQ(out[2], 0xF800u);
    pixel_map_set_masks(&map, 0xFF0000, 0xFF00, 0xFF);
    pixel_map_rgb(&map, px, 3, true, out);  // read as blue, green, red
    EXPECT_EQ(out[1], 0x080408u);
    EXPECT_EQ(out[2], 0x0000FFu);
    pixel_map_set_masks(&map, 0x7C00, 0x03E0, 0x001F);
    pixel_map_rgb(&map, px, 3, false, out);
    EXPECT_EQ(out[0], 0x7FFFu);
    EXPECT_EQ(out[2], 0x7C00u);
    EXPECT_EQ(pixel_map_cube_index(255, 0, 0), 220);
    EXPECT_EQ(pixel_map_cube_index(0, 0, 0), 40);
    EXPECT_EQ(pixel_map_cube_index(255, 255, 255), 255);
}
