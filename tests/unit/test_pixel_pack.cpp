// Colours to pixel values without a display: true-colour packing into every
// mask layout, in both byte orders and without reading past the row, and
// the colour cube's index.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "image/pixel_map.h"

namespace {

// A component in a channel mask: its top bits, or widened with zero bits.
uint32_t place(uint8_t c, unsigned long mask)
{
    if (!mask)
        return 0;
    int shift = __builtin_ctzl(mask), bits = __builtin_popcountl(mask);
    uint64_t v = bits >= 8 ? (uint64_t)c << (bits - 8) : (uint64_t)(c >> (8 - bits));
    return (uint32_t)(v << shift);
}

}  // namespace

TEST(PixelPack, EveryMaskLayoutInBothByteOrders)
{
    const unsigned long layouts[][3] = {
        {0xFF0000, 0xFF00, 0xFF}, {0xFF, 0xFF00, 0xFF0000},             // 24/32-bit, blue high
        {0xF800, 0x07E0, 0x001F}, {0x7C00, 0x03E0, 0x001F},             // 16-bit, 15-bit
        {0x3FF00000, 0xFFC00, 0x3FF}, {0xE0, 0x1C, 0x03},               // 10 bits a channel, 8-bit true colour
        {0xFF000000, 0xFF0000, 0xFF00}, {0, 0xFF00, 0xFF},              // 8-8-8 shifted up, a missing channel
    };
    uint32_t seed = 7;
    for (const auto& m : layouts) {
        PixelMap map;
        pixel_map_set_masks(&map, m[0], m[1], m[2]);
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
                    uint32_t want = place(bgr ? p[2] : p[0], m[0]) | place(p[1], m[1]) | place(bgr ? p[0] : p[2], m[2]);
                    ASSERT_EQ(out[(size_t)i], want) << std::hex << m[0] << " " << m[1] << " " << m[2] << " pixel "
                                                    << std::dec << i << (bgr ? " bgr" : " rgb");
                }
            }
        }
    }
    // 40 + 36 r/51 + 6 g/51 + b/51
    const int cube[][4] = {{0, 0, 0, 40}, {255, 0, 0, 220}, {50, 51, 102, 48}, {255, 255, 255, 255}};
    for (const auto& c : cube)
        EXPECT_EQ(pixel_map_cube_index(c[0], c[1], c[2]), c[3]) << c[0] << "," << c[1] << "," << c[2];
}
