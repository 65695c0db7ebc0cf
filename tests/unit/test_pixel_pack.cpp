// True-colour packing of decoded rows: every mask layout gives exactly the
// per-component table values, in both byte orders, without reading past
// the row.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "image/pixel_map.h"

namespace {

struct Masks {
    unsigned long red, green, blue;
};

TEST(PixelPack, RowsMatchTheComponentTablesForEveryLayout)
{
    const Masks layouts[] = {
        {0xFF0000, 0xFF00, 0xFF},            // 24/32-bit
        {0xFF, 0xFF00, 0xFF0000},            // blue high
        {0xF800, 0x07E0, 0x001F},            // 16-bit
        {0x7C00, 0x03E0, 0x001F},            // 15-bit
        {0x3FF00000, 0xFFC00, 0x3FF},        // 10 bits a channel
        {0xE0, 0x1C, 0x03},                  // 8-bit true colour
        {0xFF000000, 0xFF0000, 0xFF00},      // 8-8-8 shifted up
        {0, 0xFF00, 0xFF},                   // a missing channel
    };
    uint32_t seed = 7;
    for (const Masks& m : layouts) {
        PixelMap map;
        pixel_map_set_masks(&map, m.red, m.green, m.blue);
        for (int n : {1, 2, 5, 333}) {
            // Exactly 3n bytes, so a read past the row shows under the sanitizer.
            std::vector<uint8_t> px((size_t)n * 3);
            for (uint8_t& b : px)
                b = (uint8_t)((seed = seed * 1103515245u + 12345u) >> 24);
            for (bool bgr : {false, true}) {
                std::vector<uint32_t> out((size_t)n);
                pixel_map_rgb(&map, px.data(), n, bgr, out.data());
                for (int i = 0; i < n; i++) {
                    const uint8_t* p = &px[(size_t)i * 3];
                    uint8_t r = bgr ? p[2] : p[0], b = bgr ? p[0] : p[2];
                    uint32_t want = map.lut[0][r] | map.lut[1][p[1]] | map.lut[2][b];
                    ASSERT_EQ(out[(size_t)i], want) << std::hex << m.red << " " << m.green << " " << m.blue
                                                    << " pixel " << std::dec << i << (bgr ? " bgr" : " rgb");
                }
            }
        }
    }
}

TEST(PixelPack, TablesChangedByHandStillRule)
{
    PixelMap map;
    pixel_map_set_masks(&map, 0xFF0000, 0xFF00, 0xFF);
    map.lut[1][0x80] = 0x123456;  // no longer a shifted component
    const uint8_t px[6] = {1, 0x80, 3, 4, 5, 6};
    uint32_t out[2];
    pixel_map_rgb(&map, px, 2, false, out);
    EXPECT_EQ(out[0], 0x010003u | 0x123456u);
    EXPECT_EQ(out[1], 0x040506u);
}

}  // namespace
