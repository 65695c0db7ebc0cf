// Bitmap decoding without a display: row layouts at every padding width,
// colour-table sizes and each malformed header refused with its own status.
#include <gtest/gtest.h>

#include "image/bmp_decode.h"
#include "testutil.h"

using tu::put16;
using tu::put32;

namespace {

std::vector<tu::Rgb> ramp(int n)
{
    std::vector<tu::Rgb> p;
    for (int i = 0; i < n; i++)
        p.push_back({(uint8_t)i, (uint8_t)(255 - i), (uint8_t)(i * 3)});
    return p;
}

BmpStatus parse(const std::vector<uint8_t>& b, BmpInfo* info)
{
    return GetBmpHeader(b.data(), b.size(), b.size(), info);
}

uint32_t pattern(int bits, int x, int y)
{
    if (bits == 24)
        return (uint32_t)((x * 40 + y) & 255) << 16 | (uint32_t)(x * 7) << 8 | (uint32_t)(200 - y * 9);
    return (uint32_t)(x * 3 + y * 5) & ((1u << bits) - 1);
}

}  // namespace

TEST(BmpRowsAndPalette, EveryBitCountAtEveryPaddingWidthAndEntryCounts)
{
    for (int bits : {1, 4, 8, 24})
        for (int w = 1; w <= 9; w++) {
            const int h = 3;
            auto bmp = tu::make_bmp(w, h, bits, ramp(bits == 24 ? 0 : 1 << bits),
                                    [&](int x, int y) { return pattern(bits, x, y); }, 40, 0);
            // Bytes after the pixels, as some writers leave, must not read as a row.
            const size_t needed = bmp.size();
            bmp.resize(needed + 32, 0xEE);
            BmpInfo info;
            ASSERT_EQ(parse(bmp, &info), BMP_OK) << bits << " bits, width " << w;
            EXPECT_TRUE(info.rowBytes == ((size_t)w * bits + 31) / 32 * 4 && info.needed == needed);
            std::vector<uint8_t> row((size_t)w * 3);
            for (int sy = 0; sy < h; sy++) {  // stored bottom-up
                ASSERT_EQ(bmp_row(&info, bmp.data(), bmp.size(), sy, row.data()), 1);
                for (int x = 0; x < w; x++) {
                    uint32_t want = pattern(bits, x, h - 1 - sy);
                    uint32_t got = bits == 24 ? (uint32_t)row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x]
                                              : row[x];
                    EXPECT_EQ(got, want) << bits << " bits, w " << w << " x " << x;
                }
            }
            EXPECT_EQ(bmp_row(&info, bmp.data(), bmp.size(), h, row.data()) + bmp_row(&info, bmp.data(), needed - 1, h - 1, row.data()), 0);
        }
    // The side limit is inclusive: 1-bit rows keep a 32767-pixel-wide picture small.
    auto b = tu::make_bmp(32767, 1, 1, ramp(2), [](int x, int) { return (uint32_t)(x & 1); });
    BmpInfo info;
    ASSERT_EQ(parse(b, &info), BMP_OK);
    std::vector<uint8_t> row(32767 * 3);
    ASSERT_EQ(bmp_row(&info, b.data(), b.size(), 0, row.data()), 1);
    EXPECT_TRUE(info.rowBytes == 4096u && row[32766] == 0 && row[32765] == 1);

    BmpInfo big;
    // Colours used above what 8 bits index is taken as 256; no more is read.
    ASSERT_EQ(parse(tu::make_bmp(10, 1, 1, ramp(2), [](int, int) { return 1u; }, 40, 0), &info), BMP_OK);
    ASSERT_EQ(parse(tu::make_bmp(2, 1, 8, ramp(256), [](int, int) { return 0u; }, 40, 100000), &big), BMP_OK);
    EXPECT_EQ(info.paletteEntries * 1000 + big.paletteEntries, 2256);

    auto few = tu::make_bmp(2, 1, 8, ramp(3), [](int x, int) { return (uint32_t)x; });
    ASSERT_EQ(parse(few, &info), BMP_OK);
    uint8_t rgb[256 * 3];
    EXPECT_TRUE(bmp_palette_rgb(&info, few.data(), few.size(), rgb) == 3 && rgb[6] == 2 && rgb[7] == 253 && rgb[8] == 6);

    // A 108-byte info header puts the table after those 108 bytes.
    auto v4 = tu::make_bmp(3, 2, 4, ramp(16), [](int x, int) { return (uint32_t)x; }, 108, 0);
    ASSERT_EQ(parse(v4, &info), BMP_OK);
    EXPECT_TRUE(info.paletteOffset == 122u && bmp_palette_rgb(&info, v4.data(), v4.size(), rgb) == 16 &&
                rgb[3 * 15 + 1] == 240);
}

TEST(BmpHeader, MalformedFilesAreRefusedAndFormatCodeFromFirstBytes)
{
    auto good = [] { return tu::make_bmp(4, 2, 8, ramp(4), [](int, int) { return 1u; }); };
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> spoil;
        BmpStatus want;
    };
    std::vector<Case> cases = {
        {"signature", [](auto& b) { b[1] = 'A'; }, BMP_NOT_BITMAP},
        {"one byte", [](auto& b) { b.resize(1); }, BMP_NOT_BITMAP},
        {"30 bytes", [](auto& b) { b.resize(30); }, BMP_TRUNCATED_HEADER},
        {"compressed", [](auto& b) { put32(b, 30, 4); }, BMP_COMPRESSED},
        {"RLE4 of 8 bits", [](auto& b) { put32(b, 30, 2); }, BMP_COMPRESSED},
        {"header 16", [](auto& b) { put32(b, 14, 16); }, BMP_BAD_HEADER_SIZE},
        {"core header, height 0", [](auto& b) { put32(b, 14, 12); }, BMP_BAD_SIZE},
        {"header huge", [](auto& b) { put32(b, 14, 0xFFFFFFF0u); }, BMP_TRUNCATED_HEADER},
        {"table past end", [](auto& b) { put32(b, 46, 200); }, BMP_TRUNCATED_PALETTE},
        {"offset at end", [](auto& b) { put32(b, 10, (uint32_t)b.size()); }, BMP_BAD_OFFSET},
        {"offset huge", [](auto& b) { put32(b, 10, 0xFFFFFFFFu); }, BMP_BAD_OFFSET},
        {"data short", [](auto& b) { b.pop_back(); }, BMP_TRUNCATED_DATA},
        // 16384 x 16384 pixels are the most taken: the size passes, the data is short.
        {"most pixels", [](auto& b) { put32(b, 18, 16384), put32(b, 22, 16384); }, BMP_TRUNCATED_DATA},
    };
    for (auto wh : std::vector<std::pair<int32_t, int32_t>>{
             {0, 2}, {4, 0}, {-4, 2}, {32768, 2}, {4, 32768}, {4, -32768}, {INT32_MIN, 2}, {4, INT32_MIN},
             {16385, 16384}})
        cases.push_back({"size", [wh](auto& b) { put32(b, 18, (uint32_t)wh.first), put32(b, 22, (uint32_t)wh.second); },
                         BMP_BAD_SIZE});
    for (int bits : {9, 15, 23})
        cases.push_back({"no table", [bits](auto& b) { put16(b, 28, (uint32_t)bits); }, BMP_NO_COLOR_TABLE});
    for (int bits : {0, 2, 3, 33, 65535})
        cases.push_back({"bit count", [bits](auto& b) { put16(b, 28, (uint32_t)bits); }, BMP_BAD_BIT_COUNT});
    BmpInfo info;
    for (size_t i = 0; i < cases.size(); i++) {
        auto b = good();
        cases[i].spoil(b);
        EXPECT_EQ(parse(b, &info), cases[i].want) << cases[i].what << " #" << i;
    }
    auto b = tu::make_bmp(2, 2, 24, {}, [](int, int) { return 0u; });
    const int codes[][2] = {{24, 4}, {8, 3}, {4, 2}, {1, 1}, {16, 5}, {32, 5}, {12, 0}};  // bit count -> code
    for (const auto& bc : codes) {
        put16(b, 28, (uint32_t)bc[0]);
        EXPECT_EQ(bmp_format_code(b.data(), b.size()), bc[1]) << bc[0];
    }
    put32(b, 30, 1);  // RLE8 fits only 8 bits
    EXPECT_EQ(bmp_format_code(b.data(), b.size()), 0);
    put16(b, 28, 8);
    EXPECT_TRUE(bmp_format_code(b.data(), b.size()) == 3 && bmp_format_code(b.data(), 20) == 0);
    // Of a gigabyte a 2 x 2 run-length stream uses at most (4 x 2 + 4) x 2 + 2 bytes.
    ASSERT_EQ(GetBmpHeader(b.data(), b.size(), 1u << 30, &info), BMP_OK);
    EXPECT_EQ(info.needed, info.dataOffset + 26u);
}
