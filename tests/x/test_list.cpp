// The list window and list box as a user drives them: clicks with and
// without Shift and Ctrl, double clicks, icons, the hover mark, repaints that
// leave nothing of what the rows showed before, and the box's bar and wheel.
#include <X11/keysym.h>

#include "xcontrol.h"
#include "xrobot.h"

namespace {

class List : public ControlTest {
protected:
    TslWindow* list = nullptr;

    void SetUp() override
    {
        ControlTest::SetUp();
        if (!d)
            return;
        list = tslCreateWindow_ListWnd(d, stage, tslSetRect(10, 10, 200, 100), "List");
        tslSetEventCallback_ListWnd(list, note);
        trace(list);
        for (int i = 0; i < 50; i++)
            tslAddItem_ListWnd(d, list, (" item " + std::to_string(i)).c_str(), nullptr, -1,
                               i == 49);
        xenv_pump(d, 50);
    }
    // Plays a script with a modifier key held down.
    void play_holding(KeySym key, const char* script)
    {
        Robot hand(GetParam() ? getenv(GetParam()) : nullptr);
        hand.key_down(key);
        play(list, script);
        hand.key_up(key);
    }
    // Rows are 16 pixels high from y = 1; a selected item's cells are filled,
    // the leading space's too.
    bool filled(int row, int x = 3)
    {
        return screen(list, x, 1 + row * 16 + 3) == list->foreFontPixel;
    }
    std::string filled_rows()
    {
        std::string rows;
        for (int k = 0; k < 6; k++)
            rows += filled(k) ? '1' : '0';
        return rows;
    }
    // Pixels of a rectangle of the list, as shown, that are not background.
    int stray(int x, int y, int w, int h)
    {
        XSync(d, False);
        int n = 0;
        for (unsigned long p : xenv_pixels(d, list->xwin, x, y, w, h))
            n += p != list->backPixel;
        return n;
    }
};

}  // namespace

TEST_P(List, ClicksSelectWithShiftAndCtrlAndDoubleClicks)
{
    play(list, "60,25 p r p r p r w400 60,57 p r w400 p r");  // the last two too slow for a double
    EXPECT_EQ(notices, "150/1p 160/1p 150/1p 150/3p 150/3p");
    EXPECT_EQ(tslGetSelectCount_ListWnd(list), 0);  // clicking the only selected item clears it
    play(list, "60,25 p r");
    play_holding(XK_Shift_L, "60,73 p r");
    play_holding(XK_Control_L, "60,41 p r");
    EXPECT_EQ(filled_rows(), "010110");
    tslSetSingle_ListWnd(list, 1);
    play(list, "60,41 p r");
    play_holding(XK_Shift_L, "60,73 p r");
    play(list, "60,73 p r");
    EXPECT_EQ(filled_rows(), "000010");
}

TEST_P(List, IconsHoverMarkAndRepaintsLeaveNoOldText)
{
    TslImage* icon = xenv_solid_image(d, 16, 16, g_tessel.colors[2]);
    tslAddItem_ListWnd(d, list, " a much longer item with an icon", icon, 0, 1);
    tslSetSelect_ListWnd(list, 1, 1);
    EXPECT_EQ(screen(list, 10, 9), g_tessel.colors[2]);
    EXPECT_TRUE(filled(1, 21));  // texts move right of the icon column
    EXPECT_FALSE(filled(1, 3));
    play(list, "60,41");
    EXPECT_EQ(screen(list, 2, 33), g_tessel.backShadowPixel);  // sunken mark under the pointer
    play(list, "60,130");
    EXPECT_EQ(screen(list, 2, 33), list->backPixel);
    // Silent deletions, then one that repaints: neither icon nor long text may stay.
    tslDeleteItem_ListWnd(list, 0, 0);
    tslDeleteItem_ListWnd(list, -1, 1);
    int end = 2 + tslTextWidth(" item 0");
    EXPECT_EQ(stray(end, 1, 196 - end, 16), 0);
    tslSetPos_ListWnd(list, 48);  // rows below the last item are cleared
    EXPECT_EQ(stray(2, 17, 196, 82), 0);
    xenv_free_image(d, icon);
}

INSTANTIATE_TEST_SUITE_P(Depths, List, TSL_ALL_DEPTHS);
