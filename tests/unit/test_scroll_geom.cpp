// Scroll-bar arithmetic at its boundaries: thumb length and start with the
// minimum, strict region edges, presses by button, steps, drag and clamps.
#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "controls/scroll_geom.h"

static int digits(ScrollButtons b) { return b.primary * 100 + b.secondary * 10 + b.ignored; }

// Rows by length, max, min, pos -> thumb, painted start, hit start.  At
// 300, 3000, 10: visible 30, total 300, trough 300 - 35 = 265, thumb
// 265 * 30 / 300 = 26 from 17 + 239 pos / 270.  No content fills the
// trough; at 100, 100000, 1 the thumb 65 * 100 / 100000 = 0 rises to 16,
// hit 2 further, from 17 + 49; a step longer than the bar over nothing
// fills it too; a bar shorter than 35 has an unsigned 16-bit trough; and
// at 60000 long, 59949 pos passes 2^31.
TEST(ScrollGeom, Boundaries)
{
    const int thumbs[][7] = {{300, 3000, 10, 0, 26, 17, 17}, {300, 3000, 10, 270, 26, 256, 256},
                             {300, 0, 10, 0, 265, 17, 17}, {100, 100000, 1, 99900, 16, 66, 68},
                             {100, 0, 200, 0, 65, 17, 17}, {30, 0, 1, 0, 65531, 17, 17},
                             {60000, INT_MAX, 1, INT_MAX - 60000, 16, 59966, 59968}};
    auto thumb = [](const int* r, bool hit) { ScrollGeom g = scroll_geometry(r[0], r[1], r[2], r[3], hit); return std::make_pair(g.thumb, g.start); };
    for (const auto& r : thumbs)
        EXPECT_TRUE(thumb(r, false) == std::make_pair(r[4], r[5]) && thumb(r, true).second == r[6]) << r[0] << " " << r[1];
    // At pos 135 the thumb spans 136 .. 162, the trough 17 .. 282, the end
    // arrow 283 .. 299.  Rows: along, across -> region.
    const int points[][3] = {{0, 8, 0}, {1, 8, 1}, {15, 8, 1}, {16, 8, 0}, {8, 0, 0}, {8, 15, 1}, {8, 16, 0},
                             {283, 8, 0}, {284, 8, 2}, {298, 8, 2}, {299, 8, 0}, {17, 8, 0}, {18, 8, 4}, {135, 8, 4},
                             {136, 8, 0}, {137, 8, 3}, {161, 8, 3}, {162, 8, 0}, {163, 8, 5}, {281, 8, 5}, {282, 8, 0}};
    ScrollGeom g = scroll_geometry(300, 3000, 10, 135, true);
    for (const auto& p : points)
        EXPECT_EQ(scroll_region(g, p[0], p[1]), p[2]) << p[0] << "," << p[1];
    // Along, button -> part, with right-hand buttons: primary 1, secondary 3,
    // and 2 ignored in the trough.
    const int presses[][3] = {{8, 2, -1}, {290, 3, 12}, {100, 3, 14}, {200, 3, 15}, {100, 2, -1}, {140, 2, -1}, {136, 1, -1}};
    int offset = 0;
    for (const auto& p : presses)
        EXPECT_EQ(scroll_press(g, p[0], 8, p[1], scroll_buttons(1, 3), &offset), p[2]) << p[0] << " button " << p[1];
    // Rows by right hand, buttons -> primary, secondary, ignored as digits;
    // then steps and drags on the same bar, whose drag maps (d - 17) 270 / 239
    // while d + 26 < 282.
    const int buttons[][3] = {{1, 3, 132}, {1, 2, 122}, {1, 1, 100}, {0, 3, 312}, {0, 2, 211}, {0, 1, 100}};
    for (const auto& b : buttons)
        EXPECT_EQ(digits(scroll_buttons(b[0], b[1])), b[2]) << b[0] << " " << b[1];
    ScrollGeom empty = scroll_geometry(300, 0, 10, 0, true);
    const int steps[][3] = {{1, 0, 0}, {1, 5, 4}, {11, 270, 270}, {2, 269, 270}, {2, 270, 270}, {12, 0, 0},
                            {4, 20, 0}, {15, 100, 70}, {14, 250, 270}, {5, 100, 130}, {3, 100, 100}};
    for (const auto& s : steps)
        EXPECT_EQ(scroll_step(g, s[0], s[1]), s[2]) << s[0] << " at " << s[1];
    const int drags[][3] = {{17, 0, 0}, {18, 0, 1}, {255, 0, 268}, {256, 0, 270}, {100, 4, 89}};
    for (const auto& r : drags)
        EXPECT_EQ(scroll_drag(g, r[0], r[1]), r[2]) << r[0];
    EXPECT_TRUE(scroll_step(empty, 5, 7) == 0 && scroll_drag(empty, 100, 0) == 0 && scroll_clamp(empty, 50) == 0 &&
                scroll_clamp(g, -5) == 0 && scroll_clamp(g, 300) == 270 && scroll_clamp(g, 100) == 100);
}
