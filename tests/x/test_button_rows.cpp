// Tool bars and select buttons: where their buttons stand as buttons come,
// change and go, where bars stack on their parent, and what a user's clicks
// on the buttons report.
#include "xcontrol.h"

namespace {

class Rows : public ControlTest {
protected:
    TslWindow* new_stage()
    {
        return tslCreateWindow(d, nullptr, tslPos(500, 300), tslSize(400, 400), 0, "Stage", nullptr);
    }
    // "x,y+width " of each button, as the server has them.
    std::string row_of(TslWindow* owner)
    {
        std::string s;
        XWindowAttributes a;
        for (int i = 0; TslWindow* b = tslGetChildWindowFromIndex(owner, i); i++)
            if (XGetWindowAttributes(d, b->xwin, &a))
                s += at(a.x, a.y, a.width);
        return s;
    }
    static std::string at(int x, int y, int w)
    {
        return std::to_string(x) + "," + std::to_string(y) + "+" + std::to_string(w) + " ";
    }
};

}  // namespace

TEST_P(Rows, ToolBarsStackAndTheirButtonsMove)
{
    TslWindow* stage = new_stage();
    tslCreateWindow_MenuBar(d, stage, "MenuBar", nullptr, nullptr, "");
    TslWindow* tools = tslCreateWindow_ToolBar(d, stage, "ToolBar");
    EXPECT_EQ(tools->rect.y, tslGetHeight_MenuBar());
    EXPECT_EQ(tslCreateWindow_ToolBar(d, stage, "More")->rect.y, tslGetHeight_MenuBar() + tslGetHeight_ToolBar());
    TslImage* icon = xenv_solid_image(d, 16, 16, g_tessel.colors[3]);
    tslAddButton_ToolBar(d, tools, "Open", note, icon, -1);
    tslAddButton_ToolBar(d, tools, "Exit", note, nullptr, -1);
    const int open = tslTextWidth("Open") + 31, exit = tslTextWidth("Exit") + 10;
    const int mid = tslTextWidth("Mid") + 10, middle = tslTextWidth("Middle") + 10;
    EXPECT_EQ(row_of(tools), at(0, 4, open) + at(open + 5, 4, exit));
    tslAddButton_ToolBar(d, tools, "Mid", note, nullptr, 1);
    EXPECT_EQ(row_of(tools), at(0, 4, open) + at(open + 5, 4, mid) + at(open + mid + 10, 4, exit));
    tslChangeButton_ToolBar(d, tools, "Open", note, icon, 0);  // the same again: nothing moves
    tslChangeButton_ToolBar(d, tools, "Middle", note, nullptr, 1);
    EXPECT_EQ(row_of(tools), at(0, 4, open) + at(open + 5, 4, middle) + at(open + middle + 10, 4, exit));
    tslDeleteButton_ToolBar(tools, 0);
    EXPECT_EQ(row_of(tools), at(0, 4, middle) + at(middle + 5, 4, exit));
    // A click on a button reaches its callback through the bar.
    play(tools, (std::to_string(middle + 15) + ",10 p r").c_str());
    EXPECT_EQ(notices, "110/0");
    tslDestroyWindow(d, tools);
    xenv_free_image(d, icon);
}

TEST_P(Rows, SelectButtonChoosesOneButton)
{
    TslWindow* group =
        tslCreateWindow_SelectButton(d, new_stage(), tslSetRect(10, 100, 300, 30), "Expansion:", 1, note);
    std::string want;
    int x = tslTextWidth("Expansion:") + 10;
    for (const char* label : {"all", "normal", "select"}) {
        tslAddButton_SelectButton(d, group, label, nullptr, -1);
        want += at(x, 2, tslTextWidth(label) + 10);
        x += tslTextWidth(label) + 15;
    }
    EXPECT_EQ(row_of(group), want);
    tslSelect_SelectButton(group, 0);
    TslWindow *all = tslGetChildWindowFromIndex(group, 0), *normal = tslGetChildWindowFromIndex(group, 1);
    // Sunken or raised: the shadow or the light colour at the top left.
    play(group, (std::to_string(all->rect.x + 10) + ",10 p r").c_str());
    EXPECT_EQ(notices, "");
    EXPECT_EQ(xenv_pixel(d, all->xwin, 0, 0), g_tessel.backShadowPixel);
    play(group, (std::to_string(normal->rect.x + 10) + ",10 p r").c_str());
    EXPECT_EQ(notices, "150/1");
    EXPECT_EQ(xenv_pixel(d, all->xwin, 0, 0), g_tessel.backLightPixel);
    EXPECT_EQ(xenv_pixel(d, normal->xwin, 0, 0), g_tessel.backShadowPixel);
}

INSTANTIATE_TEST_SUITE_P(Depths, Rows, TSL_ALL_DEPTHS);
