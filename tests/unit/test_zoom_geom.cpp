// The pane's zoom and pan arithmetic at its boundaries: rounded levels,
// fitting, the next level from any size, and offsets that keep a point.
#include <gtest/gtest.h>

#include "zoom_geom.h"

static std::pair<int, int> pair(ZoomSize s) { return {s.width, s.height}; }

TEST(ZoomGeom, SizesLevelsAndOffsets)
{
    // 1001 / 8 = 125.1 and 3 / 8 rounds to 0, kept at 1; 5 / 2 rounds up.
    EXPECT_TRUE(pair(zoom_level_size(1001, 3, -3)) == std::make_pair(125, 1) &&
                pair(zoom_level_size(5, 5, -1)) == std::make_pair(3, 3) &&
                pair(zoom_level_size(1001, 3, 3)) == std::make_pair(8008, 24));
    // Rows: picture, pane -> fitted.  500 x 320 / 1000 = 160; 500 x 240 /
    // 1000 = 120; never scaled up; 1 x 320 / 1000 kept at 1.
    const int fits[][6] = {{1000, 500, 320, 240, 320, 160}, {500, 1000, 320, 240, 120, 240},
                           {100, 50, 320, 240, 100, 50}, {4000, 3000, 320, 240, 320, 240},
                           {1000, 1, 320, 240, 320, 1}};
    for (const auto& f : fits)
        EXPECT_EQ(pair(zoom_fit_size(f[0], f[1], f[2], f[3])), std::make_pair(f[4], f[5])) << f[0] << "x" << f[1];
    // From 1000 x 500 shown at (width, height), direction -> level, or 9
    // where the ladder ends: from the fit at 32 % to 50 % or 25 %.
    const int steps[][4] = {{320, 160, 1, -1}, {320, 160, -1, -2}, {1000, 500, 1, 1},
                            {8000, 4000, 1, 9}, {125, 63, -1, 9}, {80, 40, -1, 9}};
    for (const auto& s : steps) {
        int level = 9;
        zoom_next_level(1000, 500, ZoomSize{s[0], s[1]}, s[2], &level);
        EXPECT_EQ(level, s[3]) << s[0] << " " << s[2];
    }
    // Rows: pane, from, to, offset, anchor -> offset.  The pixel under the
    // anchor, 260 of 1000, is 521 - 0.5 of 2000, at 361 + 160, and back; a
    // centred picture's point (160 - 110) stays in the middle; the far edge
    // stays the far edge (2000 - 320).
    const int anchors[][6] = {{320, 1000, 2000, 100, 160, 361}, {320, 2000, 1000, 361, 160, 100},
                              {320, 100, 200, 0, 160, 0}, {320, 1000, 2000, 680, 319, 1680}};
    for (const auto& a : anchors)
        EXPECT_EQ(zoom_anchor_offset(a[0], a[1], a[2], a[3], a[4]), a[5]) << a[1] << "->" << a[2];
    // 480 in 240: the last offset 240 is reached by step 8, as the keys
    // reach it (8 x 32 = 256 <= 480 - 240 + 31); 92 is between steps 2 and 3.
    const int bars[][4] = {{240, 480, 240, 8}, {240, 480, 999, 8}, {240, 480, 92, 2}, {240, 100, 50, 0}};
    for (const auto& b : bars)
        EXPECT_EQ(zoom_bar_pos(b[0], b[1], b[2], 32), b[3]) << b[2];
}
