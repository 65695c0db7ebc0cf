// Layout of the menus, bars and button groups: the menu row under a point at
// every edge, the status line either side of the narrow-parent limit, the
// group's caption and first button, and the index rules of rows.
#include "testutil.h"
#include "controls/control_layout.h"
#include "controls/menu_geom.h"

TEST(ControlLayout, MenuRowsBarsGroupsAndButtonRows)
{
    // a 50 x 42 menu of two 16-pixel rows: x in 1..49, y in 5..37
    const int points[][3] = {{1, 5, 0},   {0, 5, -1},  {49, 20, 0}, {50, 20, -1}, {10, 4, -1},
                             {10, 21, 1}, {10, 36, 1}, {10, 37, 2}, {10, 38, -1}};
    for (const auto& p : points)
        EXPECT_EQ(menu_row_at(p[0], p[1], MenuSize{50, 42}, 16), p[2]) << p[0] << "," << p[1];
    // "Menu" 28 and "?" 7 wide: titles end at 75, the status line needs e = 79 to its left
    MenuBarLayout bar = menubar_layout(14, 28, 7, 400);
    EXPECT_TRUE(bar.titles[1].x == 48 && bar.status.x == 77 && bar.status.width == 321);
    const int widths[][2] = {{159, 80}, {158, 79}, {60, 79}};
    for (const auto& w : widths)
        EXPECT_EQ(menubar_status_width(bar, w[0]), w[1]) << w[0];
    EXPECT_EQ(menubar_layout(14, 28, 7, 60).status.width, 79);
    // horizontal, char height, caption width -> caption y, first x, first y, button height
    const int groups[][7] = {{1, 14, 70, 8, 80, 2, 26}, {0, 14, 70, 8, 5, 30, 20}, {0, 24, 70, 5, 5, 34, 24}};
    for (const auto& c : groups) {
        GroupLayout g = group_layout(c[0], c[1], c[2], 30);
        EXPECT_TRUE(g.captionY == c[3] && g.firstX == c[4] && g.firstY == c[5] && g.buttonHeight == c[6])
            << c[0] << " " << c[1] << " " << c[2];
    }
    EXPECT_EQ(row_button_width(0, false, 21), 1);  // no window is narrower
    // index, count -> slot, pick
    const int indexes[][4] = {{-1, 3, 3, 2}, {-5, 3, 3, 0}, {1, 3, 1, 1}, {3, 3, 3, -1}, {-1, 0, 0, -1}};
    for (const auto& c : indexes)
        EXPECT_TRUE(row_slot(c[0], c[1]) == c[2] && row_pick(c[0], c[1]) == c[3]) << c[0] << " of " << c[1];
}
