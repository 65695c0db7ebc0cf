// The list window as a user drives it: clicks with and without Shift and
// Ctrl, double clicks, icons, the hover mark, the wheel, and repaints that
// leave nothing of what the rows showed before.
#include <X11/keysym.h>

#include "xfixture.h"
#include "xrobot.h"

namespace {

using Calls = std::vector<std::pair<int, int>>;
Calls g_calls;

int record(TslWindow*, int code, int arg, int)
{
    g_calls.push_back({code, arg});
    return TSLR_OK;
}

class List : public XTest {
protected:
    TslWindow* top = nullptr;
    TslWindow* list = nullptr;
    Robot robot;

    void SetUp() override
    {
        XTest::SetUp();
        if (!d)
            return;
        g_calls.clear();
        top = tslCreateWindow(d, nullptr, tslPos(600, 100), tslSize(460, 140), 0, "Lists", nullptr);
        list = tslCreateWindow_ListWnd(d, top, tslSetRect(10, 10, 200, 100), "List");
        tslSetEventCallback_ListWnd(list, record);
        for (int i = 0; i < 50; i++)
            tslAddItem_ListWnd(d, list, (" item " + std::to_string(i)).c_str(), nullptr, -1, i == 49);
        xenv_wait_mapped(d, list->xwin);
        xenv_pump(d, 50);
    }
    // The robot clicks row k (16 pixels high from y = 1) holding a modifier key.
    void click(int k, KeySym modifier = 0)
    {
        if (modifier)
            robot.key_down(modifier);
        robot.click(list->xwin, 60, 1 + k * 16 + 8);
        if (modifier)
            robot.key_up(modifier);
    }
    unsigned long px(int x, int y)
    {
        XSync(d, False);
        return xenv_pixel(d, list->xwin, x, y);
    }
    // A selected item's text cells are filled, its leading space too.
    bool filled(int row, int x = 3) { return px(x, 1 + row * 16 + 3) == list->foreFontPixel; }
    std::vector<bool> filled_rows()
    {
        std::vector<bool> rows;
        for (int k = 0; k < 6; k++)
            rows.push_back(filled(k));
        return rows;
    }
};

}  // namespace

TEST_F(List, ClicksSelectWithShiftAndCtrlAndDoubleClicks)
{
    click(1), click(1), click(1);  // 150, 160, and 150 anew
    robot.pause(400), click(3), robot.pause(400), click(3);  // too slow for a double click
    xenv_pump(d, 100);
    EXPECT_EQ(g_calls, (Calls{{150, 1}, {160, 1}, {150, 1}, {150, 3}, {150, 3}}));
    EXPECT_EQ(tslGetSelectCount_ListWnd(list), 0);  // clicking the only selected item clears it
    click(1), click(4, XK_Shift_L), click(2, XK_Control_L);
    xenv_pump(d, 100);
    EXPECT_EQ(filled_rows(), (std::vector<bool>{0, 1, 0, 1, 1, 0}));
    tslSetSingle_ListWnd(list, 1);
    click(2), click(4, XK_Shift_L), click(4);
    xenv_pump(d, 100);
    EXPECT_EQ(filled_rows(), (std::vector<bool>{0, 0, 0, 0, 1, 0}));
}

TEST_F(List, IconsHoverMarkAndRepaintsLeaveNoOldText)
{
    TslImage* icon = xenv_solid_image(d, 16, 16, g_tessel.colors[2]);
    tslAddItem_ListWnd(d, list, " a much longer item with an icon", icon, 0, 1);
    tslSetSelect_ListWnd(list, 1, 1);
    EXPECT_EQ(px(10, 9), g_tessel.colors[2]);
    EXPECT_TRUE(filled(1, 21));  // texts move right of the icon column
    EXPECT_FALSE(filled(1, 3));
    robot.move(list->xwin, 60, 1 + 2 * 16 + 8);
    xenv_pump(d, 100);
    EXPECT_EQ(px(2, 33), g_tessel.backShadowPixel);  // sunken mark on the row under the pointer
    robot.move(top->xwin, 440, 130);
    xenv_pump(d, 100);
    EXPECT_EQ(px(2, 33), list->backPixel);
    // Silent deletions, then one that repaints: neither icon nor long text may stay.
    tslDeleteItem_ListWnd(list, 0, 0);
    tslDeleteItem_ListWnd(list, -1, 1);
    int end = 2 + tslTextWidth(" item 0");
    for (unsigned long p : xenv_pixels(d, list->xwin, end, 1, 196 - end, 16))
        ASSERT_EQ(p, list->backPixel);
    xenv_free_image(d, icon);
}

TEST_F(List, WheelAndPositionRepaintTheRowsInView)
{
    tslSetSelect_ListWnd(list, 10, 1);
    tslSetPos_ListWnd(list, 10);
    EXPECT_TRUE(filled(0));
    robot.move(list->xwin, 60, 50);
    robot.press(5), robot.release(5);
    xenv_pump(d, 100);
    EXPECT_EQ(g_calls, (Calls{{170, 13}}));  // the wheel scrolls, it does not select
    EXPECT_EQ(tslGetSelectCount_ListWnd(list), 1);
    EXPECT_FALSE(filled(0));
    tslSetPos_ListWnd(list, 49);  // rows below the last item are cleared
    for (unsigned long p : xenv_pixels(d, list->xwin, 2, 17, 196, 82))
        ASSERT_EQ(p, list->backPixel);
}
