// Popup menus and the menu bar under a user's pointer and keys: where menus
// open, what they highlight and choose, what closes them, what the owners'
// callbacks receive, and the bar's place and width on its parent.
#include <atomic>
#include <memory>

#include "xfixture.h"
#include "xrobot.h"

namespace {

class Menus : public XDepthTest {
protected:
    TslWindow *top = nullptr, *menu = nullptr, *sub = nullptr, *bar = nullptr, *pane = nullptr;
    TslImage* pictures[3] = {};  // an icon, the check mark, the submenu marker
    std::unique_ptr<Robot> user;
    int h = 0, barH = 0;
    inline static std::string chosen;
    inline static int answer;

    static int note(TslWindow* w, int code, int index, int)
    {
        chosen += std::string(w->caption) + " " + std::to_string(code) + "/" + std::to_string(index) + " ";
        return answer;
    }
    void SetUp() override
    {
        XDepthTest::SetUp();
        if (!d)
            return;
        chosen.clear();
        answer = TSLR_OK;
        for (TslImage*& p : pictures)
            p = xenv_solid_image(d, 16, 16, g_tessel.colors[2]);
        g_tessel.images[10] = pictures[1];
        g_tessel.images[11] = pictures[2];
        top = tslCreateWindow(d, nullptr, tslPos(100, 100), tslSize(400, 300), 0, "Main", nullptr);
        sub = tslCreateWindow_Menu(d, top, "Sub");
        tslAddItem_Menu(sub, "Deep", note, nullptr, nullptr, -1);
        menu = tslCreateWindow_Menu(d, top, "MenuWnd");
        const char* labels[] = {"Open (o)", "", "More", "Quit (q)"};
        for (int i = 0; i < 4; i++)
            tslAddItem_Menu(menu, labels[i], note, i ? nullptr : pictures[0], i == 2 ? sub : nullptr, -1);
        TslWindow* help = tslCreateWindow_Menu(d, top, "MenuHelpWnd");
        tslAddItem_Menu(help, "About (a)", note, nullptr, nullptr, -1);
        bar = tslCreateWindow_MenuBar(d, top, "MenuBar", menu, help, "Welcome");
        pane = tslCreateWindow(d, top, tslPos(5, 60), tslSize(200, 150), 1, "Pane", nullptr);
        tslSetContextMenu(pane, menu);
        xenv_wait_mapped(d, top->xwin);
        xenv_pump(d, 100);
        user.reset(new Robot(GetParam() ? getenv(GetParam()) : nullptr));
        user->focus(top->xwin);
        h = tslGetCharHeight(0) > 16 ? tslGetCharHeight(0) : 16;
        barH = tslGetHeight_MenuBar();
    }
    void TearDown() override
    {
        user.reset();
        if (d) {
            xenv_destroy_all(d);
            for (TslImage* p : pictures)
                xenv_free_image(d, p);
        }
        XDepthTest::TearDown();
    }
    // The toolkit reads what the user did.
    void settle()
    {
        user->sync();
        xenv_pump(d, 80);
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
    TslWindow* m = tslCreateWindow_Menu(d, top, "Fresh");
    EXPECT_TRUE(geo(m).width == 1 && geo(m).height == 1);
    tslAddItem_Menu(m, "Item", note, nullptr, nullptr, -1);
    int plain = geo(m).width;
    EXPECT_EQ(geo(m).height, h + 10);
    // A check mark is an icon: the labels move right of an icon column.
    tslSetCheck_Menu(m, 0, 1);
    EXPECT_EQ(geo(m).width, plain + 21);
    tslSetCheck_Menu(m, 0, 0);
    EXPECT_EQ(geo(m).width, plain);
    tslDeleteItem_Menu(m, 0);
    EXPECT_TRUE(geo(m).width == 11 && geo(m).height == 10);
}

TEST_P(Menus, BarOpensMenuThatHighlightsAndChooses)
{
    user->move(bar->xwin, 10, 8);
    user->press();
    settle();
    EXPECT_TRUE(shown(menu) && geo(menu).x == 0 && geo(menu).y == barH);
    user->move(menu->xwin, 30, row(3));
    settle();
    // The item under the pointer stands on the text colour; the others do not.
    EXPECT_EQ(xenv_pixel(d, menu->xwin, 26, 5 + 3 * h), menu->foreFontPixel);
    EXPECT_EQ(xenv_pixel(d, menu->xwin, 26, 5 + 2 * h), menu->backPixel);
    user->release();
    settle();
    EXPECT_EQ(chosen, "MenuWnd 180/3 ");
    EXPECT_FALSE(shown(menu));
}

TEST_P(Menus, SubmenuOpensBesideItsItemAndStaysOpenOnRelease)
{
    user->click(bar->xwin, 10, 8);  // one batch: the release must not land on an item
    settle();
    EXPECT_TRUE(shown(menu));
    user->move(menu->xwin, 30, row(2));
    settle();
    EXPECT_TRUE(shown(sub) && geo(sub).x == geo(menu).x + geo(menu).width &&
                geo(sub).y == geo(menu).y + 2 * h);
    user->click(menu->xwin, 30, row(2));
    settle();
    EXPECT_TRUE(shown(menu) && shown(sub));
    EXPECT_EQ(chosen, "MenuWnd 180/2 ");
    user->click(sub->xwin, 20, row(0));
    settle();
    EXPECT_EQ(chosen, "MenuWnd 180/2 Sub 180/0 ");
    EXPECT_FALSE(shown(menu) || shown(sub));
}

TEST_P(Menus, ContextMenuOpensAtPointerAndClosesOnKeyOrClickElsewhere)
{
    user->click(pane->xwin, 30, 40, 1);
    settle();
    EXPECT_FALSE(shown(menu));
    user->click(pane->xwin, 30, 40, 3);
    settle();
    EXPECT_TRUE(shown(menu) && geo(menu).x == 5 + 30 && geo(menu).y == 60 + 40);
    user->key(XK_x);
    settle();
    EXPECT_FALSE(shown(menu));
    user->click(pane->xwin, 30, 40, 3);
    user->click(top->xwin, 350, 280);
    settle();
    EXPECT_FALSE(shown(menu));
    EXPECT_EQ(chosen, "");
}

// Press, drag and release all read in one batch, before the menu's own
// configure notice: the item is found where the menu was asked to open.
TEST_P(Menus, FastClickChoosesLikeSlowOne)
{
    user->move(bar->xwin, 10, 8);
    user->press();
    user->move(bar->xwin, 30, barH + row(3));
    user->release();
    settle();
    user->move(pane->xwin, 30, 40);
    user->press(3);
    user->move(pane->xwin, 60, 40 + row(3));
    user->release(3);
    settle();
    EXPECT_EQ(chosen, "MenuWnd 180/3 MenuWnd 180/3 ");
}

TEST_P(Menus, CallbackAnsweringCloseEndsTheLoop)
{
    answer = TSLR_CLOSE;
    std::atomic<bool> ended{false}, closed{false};
    Window title = bar->xwin, list = menu->xwin, main = top->xwin;
    int y = row(3);
    RobotThread script([&](Robot& r) {
        r.click(title, 10, 8);
        r.pause(150);
        r.click(list, 30, y);
        for (int i = 0; i < 300 && !ended; i++)
            r.pause(10);
        if (!ended) {
            closed = true;
            r.close(main);
        }
    }, GetParam() ? getenv(GetParam()) : nullptr);
    tslMainLoop(d, top);
    ended = true;
    script.join();
    EXPECT_FALSE(closed);
    EXPECT_EQ(chosen, "MenuWnd 180/3 ");
}

TEST_P(Menus, DestroyedMenuIsForgottenAndCyclesEnd)
{
    // menu -> sub -> menu: closing and following the pointer must end.
    tslChangeItem_Menu(sub, "Back", note, nullptr, menu, 0);
    user->click(bar->xwin, 10, 8);
    user->move(menu->xwin, 30, row(2));
    user->move(bar->xwin, 60, 8);
    user->key(XK_x);
    settle();
    EXPECT_FALSE(shown(menu) || shown(sub));
    tslDestroyWindow(d, sub);
    user->click(bar->xwin, 10, 8);
    user->move(menu->xwin, 30, row(2));
    settle();
    tslDestroyWindow(d, menu);
    EXPECT_EQ(pane->contextMenu, nullptr);
    EXPECT_EQ(tslGetMenuItem_MenuBar(bar, 0), nullptr);
    user->click(bar->xwin, 10, 8);
    user->click(pane->xwin, 30, 40, 3);
    settle();
}

TEST_P(Menus, BarIsOnePerParentShowsStatusAndFollowsItsWidth)
{
    EXPECT_EQ(tslCreateWindow_MenuBar(d, top, "Again", nullptr, nullptr, ""), nullptr);
    int e = tslTextWidth("Menu") + tslTextWidth("?") + 44;
    TslWindow* status = tslGetChildWindow(bar, "_tslStatus_MenuBar");
    // The text already shown is not painted again; another one is.
    xenv_fill(d, status->xwin, g_tessel.colors[5], 0, 0, 3, 3);
    EXPECT_EQ(tslSetStatus_MenuBar(bar, "Welcome"), 1);
    EXPECT_EQ(xenv_pixel(d, status->xwin, 1, 1), g_tessel.colors[5]);
    EXPECT_EQ(tslSetStatus_MenuBar(bar, "640 x 480 Jpeg [a.jpg]"), 1);
    EXPECT_STREQ(tslGetText_TextWnd(status), "640 x 480 Jpeg [a.jpg]");
    EXPECT_NE(xenv_pixel(d, status->xwin, 1, 1), g_tessel.colors[5]);
    tslMoveResizeWindow(top, tslPos(100, 100), tslSize(500, 300));
    settle();
    EXPECT_TRUE(geo(bar).width == 500 && geo(status).width == 500 - e);
    // Too narrow for the status line beside the titles, it takes their width.
    TslWindow* narrow = tslCreateWindow(d, nullptr, tslPos(600, 100), tslSize(60, 40), 0, "Narrow", nullptr);
    TslWindow* small = tslCreateWindow_MenuBar(d, narrow, "Small", nullptr, nullptr, "x");
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(geo(tslGetChildWindow(small, "_tslStatus_MenuBar")).width, e);
}

INSTANTIATE_TEST_SUITE_P(Depths, Menus, TSL_ALL_DEPTHS);
