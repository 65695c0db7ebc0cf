// Layout of the menus, bars and button groups: menu sizes and the row under
// a point at every edge, the bar's titles and status line either side of the
// narrow-parent limit, the group's caption and first button, and rows of
// buttons with their index rules.
#include "testutil.h"
#include "controls/control_layout.h"
#include "controls/menu_geom.h"

TEST(MenuGeom, SizeAndRowUnderPoint)
{
    EXPECT_EQ(menu_item_height(14), 16);
    EXPECT_EQ(menu_item_height(18), 18);
    // width: widest label (at least 1) + 21 per column + 10; height: rows + 10
    const int sizes[][7] = {{0, 0, 0, 0, 16, 11, 10},
                            {40, 0, 0, 2, 16, 50, 42},
                            {40, 1, 1, 3, 16, 92, 58},
                            {40, 0, 1, 1, 20, 71, 30}};
    for (const auto& c : sizes) {
        MenuSize s = menu_size(c[0], c[1], c[2], c[3], c[4]);
        EXPECT_TRUE(s.width == c[5] && s.height == c[6]) << c[0] << " " << s.width << "x" << s.height;
    }
    // a 50 x 42 menu of two 16-pixel rows: x in 1..49, y in 5..37
    const int points[][3] = {{1, 5, 0},   {0, 5, -1},  {49, 20, 0}, {50, 20, -1}, {10, 4, -1},
                             {10, 21, 1}, {10, 36, 1}, {10, 37, 2}, {10, 38, -1}};
    for (const auto& p : points)
        EXPECT_EQ(menu_row_at(p[0], p[1], MenuSize{50, 42}, 16), p[2]) << p[0] << "," << p[1];
    EXPECT_EQ(menu_picture_top(2, 20, 16), 5 + 40 + 2);
    EXPECT_EQ(menu_label_left(true), 26);
}

TEST(ControlLayout, MenuBarTitlesAndStatusLine)
{
    // 14-pixel text, "Menu" 28 and "?" 7 wide: the titles end at 75, the
    // status line begins at 77 and leaves e = 79 pixels to its left.
    MenuBarLayout bar = menubar_layout(14, 28, 7, 400);
    EXPECT_EQ(bar.height, 22);
    EXPECT_EQ(bar.textY, 4);
    EXPECT_TRUE(bar.titles[1].x == 48 && bar.titles[1].width == 27);
    EXPECT_TRUE(bar.status.x == 77 && bar.status.y == 2 && bar.status.width == 321 && bar.status.height == 19);
    const int widths[][2] = {{159, 80}, {158, 79}, {60, 79}, {0, 79}};
    for (const auto& w : widths)
        EXPECT_EQ(menubar_status_width(bar, w[0]), w[1]) << w[0];
    EXPECT_EQ(menubar_layout(14, 28, 7, 60).status.width, 79);
    EXPECT_EQ(toolbar_height(14), 28);
    EXPECT_EQ(toolbar_height(20), 32);
}

TEST(ControlLayout, GroupCaptionAndFirstButton)
{
    const struct {
        bool horizontal;
        int ch, cw, h;
        GroupLayout want;
    } cases[] = {
        {true, 14, 70, 30, {5, 8, 80, 2, 26}},
        {true, 14, 0, 30, {5, 8, 5, 2, 26}},
        {false, 14, 70, 200, {5, 8, 5, 30, 20}},
        {false, 24, 70, 200, {5, 5, 5, 34, 24}},
    };
    for (const auto& c : cases) {
        GroupLayout g = group_layout(c.horizontal, c.ch, c.cw, c.h);
        EXPECT_TRUE(g.captionX == c.want.captionX && g.captionY == c.want.captionY &&
                    g.firstX == c.want.firstX && g.firstY == c.want.firstY &&
                    g.buttonHeight == c.want.buttonHeight)
            << c.horizontal << " " << c.ch << " " << c.cw;
    }
}

TEST(ControlLayout, RowsOfButtons)
{
    EXPECT_EQ(row_button_width(30, true, 21), 61);
    EXPECT_EQ(row_button_width(0, false, 21), 1);  // no window is narrower
    EXPECT_EQ(row_button_width(0, true, 20), 20);
    EXPECT_EQ(row_changed_width(0, false), 10);
    EXPECT_EQ(row_changed_width(30, true), 60);
    // index, count -> slot, pick
    const int indexes[][4] = {{-1, 3, 3, 2}, {-5, 3, 3, 0}, {1, 3, 1, 1},
                              {3, 3, 3, -1}, {7, 3, 3, -1}, {-1, 0, 0, -1}};
    for (const auto& c : indexes) {
        EXPECT_EQ(row_slot(c[0], c[1]), c[2]) << c[0] << " of " << c[1];
        EXPECT_EQ(row_pick(c[0], c[1]), c[3]) << c[0] << " of " << c[1];
    }
    const int extents[] = {40, 30, 20};
    EXPECT_EQ(row_start(10, extents, 0), 10);
    EXPECT_EQ(row_start(10, extents, 2), 10 + 45 + 35);
}
