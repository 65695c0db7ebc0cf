// The list box and its list window as a user drives them: clicks with and
// without Shift and Ctrl, double clicks, icons, the hover mark, repaints that
// leave nothing of what the rows showed before, and bar and wheel in step.
#include <X11/keysym.h>

#include <algorithm>

#include "xcontrol.h"

namespace {

// A box 217 x 100: the list 200 wide with rows 16 high from y = 1 (6 whole
// rows), then the bar, 17 wide, its end arrow from y = 83.
class List : public ControlTest {
protected:
    TslWindow *box = nullptr, *list = nullptr, *bar = nullptr;

    void SetUp() override
    {
        ControlTest::SetUp();
        if (!d)
            return;
        box = tslCreateWindow_ListBox(d, nullptr, tslSetRect(100, 100, 217, 100), "Box");
        list = tslGetAttachListWnd_ListBox(box);
        bar = tslGetChildWindowFromIndex(box, 1);
        tslSetEventCallback_ListBox(box, note);
        for (int i = 0; i < 50; i++)
            tslAddItem_ListBox(d, box, (" item " + std::to_string(i)).c_str(), nullptr, -1, i == 49);
        xenv_pump(d, 50);
    }
    void play_holding(KeySym key, const char* script)
    {
        Robot hand(GetParam() ? getenv(GetParam()) : nullptr);
        hand.key_down(key);
        play(box, script);
        hand.key_up(key);
    }
    // Pixels of one colour in a rectangle of the list as shown.
    int count(unsigned long pixel, int x, int y, int w, int h)
    {
        XSync(d, False);
        std::vector<unsigned long> shown = xenv_pixels(d, list->xwin, x, y, w, h);
        return (int)std::count(shown.begin(), shown.end(), pixel);
    }
    // A selected item's text cells are filled, its leading space's too.
    std::string filled_rows(int x = 3)
    {
        std::string rows;
        for (int top = 1; top < 97; top += 16)
            rows += count(list->foreFontPixel, x, top + 3, 1, 1) ? '1' : '0';
        return rows;
    }
    int in_step() { return tslGetPos_ListWnd(list) == tslGetPos_ScrollBar(bar) ? tslGetPos_ListWnd(list) : -1; }
};

}  // namespace

TEST_P(List, ClicksSelectWithShiftAndCtrlAndDoubleClicks)
{
    play(box, "60,25 p r p r p r w400 60,57 p r w400 p r");  // the last two too slow for a double
    // ... and a click on the only selected item clears it.
    EXPECT_EQ(notices + ", " + std::to_string(tslGetSelectCount_ListBox(box)), "150/1 160/1 150/1 150/3 150/3, 0");
    play(box, "60,25 p r");
    play_holding(XK_Shift_L, "60,73 p r");
    play_holding(XK_Control_L, "60,41 p r");
    EXPECT_EQ(filled_rows(), "010110");
    tslSetSingle_ListBox(box, 1);  // clears the selection
    play(box, "60,73 p r");
    play(box, "60,73 p r");  // a second click keeps a single selection
    EXPECT_EQ(filled_rows(), "000010");
    // The owner's 130 on a double click ends the loop there: the click after it is not seen.
    tslSetEventCallback_ListBox(box, [](TslWindow* w, int c, int a, int b) { return note(w, c, a, b) && c == 160 ? 130 : 1; });
    play(box, "60,25 p r p r w100 60,73 p r");
    EXPECT_EQ(notices, "150/1 160/1");
}

TEST_P(List, IconsHoverMarkAndRepaintsLeaveNoOldText)
{
    play(box, "60,41");
    EXPECT_EQ(count(g_tessel.backLightPixel, 196, 34, 1, 14), 14);  // a sunken mark's right edge
    TslImage* icon = xenv_solid_image(d, 16, 16, g_tessel.colors[2]);
    tslAddItem_ListBox(d, box, " a much longer item with an icon", icon, 0, 1);
    // The icon whole, the long text to the list's edge.
    EXPECT_TRUE(count(g_tessel.colors[2], 2, 1, 16, 16) == 256 && count(list->foreFontPixel, 120, 1, 70, 14) > 0);
    tslSetSelect_ListBox(box, 1, 1);
    EXPECT_EQ(filled_rows(21) + filled_rows(), "010000000000");  // texts right of the icons
    // Silent deletions, then one that repaints: neither icon nor long text may stay.
    tslDeleteItem_ListBox(box, 0, 0);
    tslDeleteItem_ListBox(box, -1, 1);
    int end = 2 + tslTextWidth(" item 0");
    EXPECT_EQ(count(list->backPixel, end, 1, 196 - end, 16), (196 - end) * 16);
    tslSetPos_ListWnd(list, 48);  // rows below the last item are cleared
    EXPECT_EQ(count(list->backPixel, 2, 17, 196, 82), 196 * 82);
    xenv_free_image(d, icon);
}

// Visible 100 / 16 = 6 of 50 items: the bar's limit is 44, its trough 65
// long with a 16-pixel thumb, grabbed at 28 and dragged to (60 - 8 - 17) 44 / 49.
TEST_P(List, BarAndWheelKeepTheListInStep)
{
    play(box, "208,91 p r");
    EXPECT_EQ(in_step(), 1);  // the end arrow: one item
    play(box, "208,28 p 208,60 r");
    EXPECT_EQ(in_step(), 31);
    play(box, "60,50 p5 r5");
    EXPECT_EQ(in_step(), 34);  // the wheel: three
    ASSERT_TRUE(tslSetPos_ListWnd(list, -1) && in_step() == 34 && tslSetPos_ListBox(box, 40));  // -1 refused
    for (int i = 0; i < 10; i++)  // emptied from the front, as the file dialog does
        ASSERT_TRUE(tslDeleteItem_ListBox(box, 0, 1) && in_step() != -1) << i;
    tslMoveResizeWindow(box, tslPos(100, 100), tslSize(16, 60));  // no room left for the list
    xenv_pump(d, 100);
    EXPECT_TRUE(list->rect.width == 1 && list->rect.height == 60 && bar->rect.x == 1);
}

INSTANTIATE_TEST_SUITE_P(Depths, List, TSL_ALL_DEPTHS);
