// The text box under a user: dragging the thumb scrolls the text, and a
// resize re-wraps it while the bar follows its length and clamped position.
#include <string>

#include "xcontrol.h"

using TextBox = ControlTest;

// Twenty lines of 21 letters and a line feed: one row each at 30 letters'
// width, two at 15.  The box is 200 high, its bar's thumb starts at 19.
TEST_P(TextBox, DragScrollsAndResizeRewraps)
{
    std::string text;
    for (int i = 0; i < 20; i++)
        text += "abcdefghij abcdefghij\n";
    int h = tslGetCharHeight(nullptr), cw = XTextWidth(g_tessel.font, "a", 1);
    int narrow = 17 + 5 + 5 + 15 * cw, wide = 17 + 5 + 5 + 30 * cw;
    TslWindow* box = tslCreateWindow_TextBox(d, nullptr, tslSetRect(100, 100, narrow, 200), "Box", text.c_str());
    ASSERT_TRUE(box);
    TslWindow* bar = tslGetChildWindowFromIndex(box, 1);
    auto in_step = [&] { return tslGetPos_TextBox(box) == tslGetPos_ScrollBar(bar) ? tslGetPos_TextBox(box) : -1; };
    auto resize = [&](int width) {
        XResizeWindow(d, box->xwin, width, 200);
        xenv_pump(d, 150);
        return std::to_string(tslGetLines_TextBox(box)) + " " + std::to_string(tslGetMax_ScrollBar(bar) / h);
    };
    std::string x = std::to_string(narrow - 8);
    play(box, (x + ",25 p " + x + ",120 " + x + ",190 r").c_str());
    EXPECT_EQ(in_step(), 40 - 200 / h);  // the bar's limit: the whole way down
    EXPECT_EQ(resize(wide), "20 20");
    EXPECT_EQ(in_step(), (20 * h - 200) / h);  // the last line at the bottom
    EXPECT_EQ(resize(narrow), "40 40");
    EXPECT_EQ(in_step(), (20 * h - 200) / h);
}

INSTANTIATE_TEST_SUITE_P(Depths, TextBox, TSL_ALL_DEPTHS);
