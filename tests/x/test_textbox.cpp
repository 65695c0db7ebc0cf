// The text box under a user: dragging the thumb scrolls the text, and a
// resize re-wraps it while the bar follows its length and clamped position.
#include <string>

#include "xcontrol.h"

using TextBox = ControlTest;

// Twenty lines of 21 letters and a line feed: one row each at 30 letters'
// width, two at 15.  The box is 200 high; a drag from the thumb to the
// bar's end scrolls the text to the bar's limit, 40 - 200 / h.
TEST_P(TextBox, DragScrollsAndResizeRewraps)
{
    std::string text, x;
    for (int i = 0; i < 20; i++)
        text += "abcdefghij abcdefghij\n";
    int h = tslGetCharHeight(nullptr), cw = XTextWidth(g_tessel.font, "a", 1), narrow = 27 + 15 * cw;
    TslWindow* box = tslCreateWindow_TextBox(d, nullptr, tslSetRect(100, 100, narrow, 200), "Box", text.c_str());
    TslWindow* bar = tslGetChildWindowFromIndex(box, 1);
    // Lines, the bar's length in lines, and the position both show.
    auto state = [&](int width) {
        XResizeWindow(d, box->xwin, width, 200);
        xenv_pump(d, 150);
        int pos = tslGetPos_TextBox(box) == tslGetPos_ScrollBar(bar) ? tslGetPos_TextBox(box) : -1;
        return std::to_string(tslGetLines_TextBox(box)) + " " + std::to_string(tslGetMax_ScrollBar(bar) / h) + " " +
               std::to_string(pos);
    };
    x = std::to_string(narrow - 8);
    play(box, (x + ",25 p " + x + ",120 " + x + ",190 r").c_str());
    EXPECT_EQ(state(narrow), "40 40 " + std::to_string(40 - 200 / h));
    // Wider, the last line comes to the bottom; narrower, the text stays put.
    EXPECT_EQ(state(27 + 30 * cw), "20 20 " + std::to_string((20 * h - 200) / h));
    EXPECT_EQ(state(narrow), "40 40 " + std::to_string((20 * h - 200) / h));
}

INSTANTIATE_TEST_SUITE_P(Depths, TextBox, TSL_ALL_DEPTHS);
