// Popup menus and the menu bar under a user's pointer and keys: where menus
// open, what they highlight and choose, what closes them, what the owners'
// callbacks receive, and the bar's status line and width.
#include "xcontrol.h"
#include "xrobot.h"

namespace {

class Menus : public ControlTest {
protected:
    TslWindow *stage = nullptr, *menu = nullptr, *sub = nullptr, *bar = nullptr, *pane = nullptr;
    TslImage* picture = nullptr;  // icon, check mark and submenu marker alike
    Robot user{GetParam() ? getenv(GetParam()) : nullptr};
    int h = 0;

    void SetUp() override
    {
        ControlTest::SetUp();
        if (!d)
            return;
        stage = tslCreateWindow(d, nullptr, tslPos(500, 300), tslSize(400, 400), 0, "Stage", nullptr);
        picture = g_tessel.images[10] = g_tessel.images[11] = xenv_solid_image(d, 16, 16, g_tessel.colors[2]);
        sub = tslCreateWindow_Menu(d, stage, "Sub");
        tslAddItem_Menu(sub, "Deep", note, nullptr, nullptr, -1);
        menu = tslCreateWindow_Menu(d, stage, "MenuWnd");
        const char* labels[] = {"Open (o)", "", "More", "Quit (q)"};
        for (int i = 0; i < 4; i++)
            tslAddItem_Menu(menu, labels[i], note, i ? nullptr : picture, i == 2 ? sub : nullptr, -1);
        bar = tslCreateWindow_MenuBar(d, stage, "MenuBar", menu, nullptr, "Welcome");
        pane = tslCreateWindow(d, stage, tslPos(5, 60), tslSize(200, 150), 1, "Pane", nullptr);
        tslSetContextMenu(pane, menu);
        xenv_pump(d, 100);
        h = tslGetCharHeight(0) > 16 ? tslGetCharHeight(0) : 16;
    }
    void TearDown() override
    {
        if (d) {
            xenv_destroy_all(d);
            xenv_free_image(d, picture);
        }
        ControlTest::TearDown();
    }
    // Middle of item i, in the menu's coordinates.
    int row(int i) { return 5 + i * h + h / 2; }
    XWindowAttributes geo(TslWindow* w)
    {
        XWindowAttributes a;
        XGetWindowAttributes(d, w->xwin, &a);
        return a;
    }
    bool shown(TslWindow* w) { return geo(w).map_state == IsViewable; }
};

}  // namespace

TEST_P(Menus, SizeFollowsItemsAndCheckMarks)
{
    TslWindow* m = tslCreateWindow_Menu(d, stage, "Fresh");
    EXPECT_TRUE(geo(m).width == 1 && geo(m).height == 1);
    tslAttach_Menu(d, m, 200, 50);
    tslAddItem_Menu(m, "", nullptr, nullptr, nullptr, -1);
    xenv_pump(d, 80);
    // Grown while open, it is painted whole: the separator spans the width.
    EXPECT_EQ(xenv_pixel(d, m->xwin, 5, 5 + h / 2), g_tessel.backShadowPixel);
    // A check mark is an icon: the menu takes an icon column.
    tslSetCheck_Menu(m, 0, 1);
    EXPECT_EQ(geo(m).width, 11 + 21);
    tslDeleteItem_Menu(m, 0);
    EXPECT_TRUE(geo(m).width == 11 && geo(m).height == 10);
}

TEST_P(Menus, BarOpensMenuThatHighlightsAndChooses)
{
    user.move(bar->xwin, 10, 8);
    user.press();
    xenv_pump(d, 80);
    EXPECT_TRUE(shown(menu) && geo(menu).x == 0 && geo(menu).y == tslGetHeight_MenuBar());
    user.move(menu->xwin, 30, row(3));
    xenv_pump(d, 80);
    // The item under the pointer stands on the text colour; the others do not.
    EXPECT_EQ(xenv_pixel(d, menu->xwin, 26, 5 + 3 * h), menu->foreFontPixel);
    EXPECT_EQ(xenv_pixel(d, menu->xwin, 26, 5 + 2 * h), menu->backPixel);
    user.release();
    xenv_pump(d, 80);
    EXPECT_EQ(notices, "180/3");
    EXPECT_FALSE(shown(menu));
}

TEST_P(Menus, SubmenuOpensBesideItsItemAndClickElsewhereClosesAll)
{
    user.click(bar->xwin, 10, 8);  // one batch: the release must not land on an item
    xenv_pump(d, 80);
    user.move(menu->xwin, 30, row(2));
    xenv_pump(d, 80);
    EXPECT_TRUE(shown(sub) && geo(sub).x == geo(menu).x + geo(menu).width &&
                geo(sub).y == geo(menu).y + 2 * h);
    user.click(menu->xwin, 30, row(2));
    xenv_pump(d, 80);
    EXPECT_TRUE(shown(menu) && shown(sub));
    EXPECT_EQ(notices, "180/2");
    user.click(stage->xwin, 350, 380);  // elsewhere
    xenv_pump(d, 80);
    EXPECT_FALSE(shown(menu) || shown(sub));
}

// Press, drag and release all read in one batch, before the menu's own
// configure notice: the item is found where the menu was asked to open, on
// the bar or at the pointer.
TEST_P(Menus, FastClickChoosesLikeSlowOne)
{
    user.move(bar->xwin, 10, 8);
    user.press();
    user.move(bar->xwin, 30, tslGetHeight_MenuBar() + row(3));
    user.release();
    xenv_pump(d, 80);
    user.click(pane->xwin, 30, 40);  // the primary button opens no context menu
    user.press(3);
    user.move(pane->xwin, 60, 40 + row(3));
    user.release(3);
    xenv_pump(d, 80);
    EXPECT_EQ(notices, "180/3 180/3");
}

// The loop ends before the user's closing of the window reaches it.
TEST_P(Menus, CallbackAnsweringCloseEndsTheLoop)
{
    tslChangeItem_Menu(menu, "Quit (q)", [](TslWindow*, int, int, int) { return TSLR_CLOSE; }, nullptr, nullptr, 3);
    // The bar's border puts its origin at (1, 1) of the stage.
    std::string script = "11,9 p r w150 31," + std::to_string(tslGetHeight_MenuBar() + 1 + row(3)) + " p r";
    play(stage, script.c_str());
    XEvent close;
    EXPECT_TRUE(XCheckTypedEvent(d, ClientMessage, &close));
}

TEST_P(Menus, DestroyedMenuIsForgottenAndCyclesEnd)
{
    // menu -> sub -> menu: closing by a key, and a menu outside the cycle
    // following the pointer, must end.
    tslChangeItem_Menu(sub, "Back", note, nullptr, menu, 0);
    tslCreateWindow_Menu(d, stage, "Outside");
    user.click(bar->xwin, 10, 8);
    xenv_pump(d, 80);
    user.move(menu->xwin, 30, row(2));
    xenv_pump(d, 80);
    user.move(bar->xwin, 60, 8);
    user.key(XK_x);
    xenv_pump(d, 80);
    EXPECT_FALSE(shown(menu) || shown(sub));
    tslDestroyWindow(d, sub);
    tslAttach_Menu(d, menu, 0, 30);
    xenv_pump(d, 80);
    user.move(menu->xwin, 30, row(2));
    xenv_pump(d, 80);
    tslDestroyWindow(d, menu);
    EXPECT_TRUE(pane->contextMenu == nullptr && tslGetMenuItem_MenuBar(bar, 0) == nullptr);
}

TEST_P(Menus, BarIsOnePerParentShowsStatusAndFollowsItsWidth)
{
    EXPECT_EQ(tslCreateWindow_MenuBar(d, stage, "Again", nullptr, nullptr, ""), nullptr);
    TslWindow* status = tslGetChildWindow(bar, "_tslStatus_MenuBar");
    // The text already shown is not painted again; another one is.
    xenv_fill(d, status->xwin, g_tessel.colors[5], 0, 0, 3, 3);
    EXPECT_EQ(tslSetStatus_MenuBar(bar, "Welcome"), 1);
    EXPECT_EQ(xenv_pixel(d, status->xwin, 1, 1), g_tessel.colors[5]);
    EXPECT_EQ(tslSetStatus_MenuBar(bar, "640 x 480 Jpeg [a.jpg]"), 1);
    EXPECT_NE(xenv_pixel(d, status->xwin, 1, 1), g_tessel.colors[5]);
    int e = tslTextWidth("Menu") + tslTextWidth("?") + 44;
    tslMoveResizeWindow(stage, tslPos(500, 300), tslSize(500, 400));
    xenv_pump(d, 80);
    EXPECT_TRUE(geo(bar).width == 500 && geo(status).width == 500 - e);
}

INSTANTIATE_TEST_SUITE_P(Depths, Menus, TSL_ALL_DEPTHS);
