// Cursors on a live server: the built-in pictures load, bad pictures are
// refused quietly, and the wait and normal cursors reach a whole window tree.
#include <gtest/gtest.h>

#include "core/xerror.h"
#include "resources/cursors.h"
#include "xenv.h"

namespace {

class CursorServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = xenv_open();
        if (!display)
            GTEST_SKIP() << "no display";
    }
    void TearDown() override
    {
        if (!display)
            return;
        for (Cursor c : loaded)
            XFreeCursor(display, c);
        xenv_close();
    }
    Cursor load(const TslCursorData& data)
    {
        Cursor c = tslLoadCursor(display, &data);
        if (c)
            loaded.push_back(c);
        return c;
    }
    void load_builtin()
    {
        g_tessel.cursors[0] = load(res_curFinger);
        g_tessel.cursors[1] = load(res_curWait);
        g_tessel.cursors[2] = load(res_curIbeam);
    }
    Display* display = nullptr;
    std::vector<Cursor> loaded;
};

// Runs f and returns the first X error code it caused (0 when none).
template <typename F>
int x_errors(Display* display, F f)
{
    xerr_trap_begin(display);
    f();
    return xerr_trap_end(display);
}

}  // namespace

TEST_F(CursorServer, BuiltinPicturesLoadAsUsableCursors)
{
    load_builtin();
    for (int i = 0; i < 3; i++) {
        ASSERT_NE(g_tessel.cursors[i], 0UL) << i;
        // Recolouring is a request only a real cursor survives.
        XColor fg{}, bg{};
        fg.red = fg.green = fg.blue = 0xFFFF;
        EXPECT_EQ(x_errors(display, [&] { XRecolorCursor(display, g_tessel.cursors[i], &fg, &bg); }), 0);
    }
}

TEST_F(CursorServer, BadPicturesAreRefusedWithoutMessages)
{
    TslCursorData data = res_curFinger;
    testing::internal::CaptureStderr();
    EXPECT_EQ(tslLoadCursor(display, nullptr), 0UL);
    data.width = 0;
    EXPECT_EQ(load(data), 0UL);
    data = res_curFinger;
    data.height = -3;
    EXPECT_EQ(load(data), 0UL);
    data = res_curFinger;
    data.maskBits = nullptr;
    EXPECT_EQ(load(data), 0UL);
    data = res_curFinger;
    data.hotX = 16;  // outside the picture: the server refuses it
    EXPECT_EQ(load(data), 0UL);
    data = res_curFinger;
    data.hotY = -1;
    EXPECT_EQ(load(data), 0UL);
    EXPECT_EQ(tslLoadCursor(nullptr, &res_curFinger), 0UL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(load(res_curFinger), 0UL) << "a good picture still loads afterwards";
}

TEST_F(CursorServer, WaitAndNormalCursorsCoverTheWholeTree)
{
    load_builtin();
    TslWindow* top = tslCreateWindow(display, nullptr, tslPos(10, 10), tslSize(200, 150), 0, "cursor top", nullptr);
    ASSERT_NE(top, nullptr);
    TslWindow* panel = tslCreateWindow(display, top, tslPos(0, 0), tslSize(200, 100), 0, "cursor panel", nullptr);
    TslWindow* button = tslCreateWindow(display, panel, tslPos(5, 5), tslSize(40, 20), 0, "cursor button", nullptr);
    TslWindow* plain = tslCreateWindow(display, panel, tslPos(50, 5), tslSize(40, 20), 0, "cursor plain", nullptr);
    ASSERT_TRUE(panel && button && plain);
    tslSetDefaultCursor(button, g_tessel.cursors[0]);

    EXPECT_EQ(x_errors(display, [&] { EXPECT_EQ(tslSetWaitCursor(display, top), 1); }), 0);
    EXPECT_EQ(button->cursor, g_tessel.cursors[0]) << "the default cursor is kept";
    EXPECT_EQ(plain->cursor, 0UL);
    EXPECT_EQ(x_errors(display, [&] { EXPECT_EQ(tslSetNormalCursor(display, top), 1); }), 0);

    // Every window of the tree is visited: a cursor the server does not know,
    // placed on the deepest windows only, shows up as an error.
    Cursor wait = g_tessel.cursors[1];
    Cursor gone = XCreateFontCursor(display, 2);
    XFreeCursor(display, gone);
    g_tessel.cursors[1] = gone;
    EXPECT_EQ(x_errors(display, [&] { tslSetWaitCursor(display, button); }), BadCursor);
    g_tessel.cursors[1] = wait;
    plain->cursor = gone;
    EXPECT_EQ(x_errors(display, [&] { tslSetNormalCursor(display, top); }), BadCursor);
    plain->cursor = 0;
    EXPECT_EQ(x_errors(display, [&] { tslSetNormalCursor(display, top); }), 0);

    tslDestroyWindow(display, top);
}

TEST_F(CursorServer, WindowsGoneFromTheServerAreSkippedQuietly)
{
    load_builtin();
    TslWindow* top = tslCreateWindow(display, nullptr, tslPos(10, 10), tslSize(100, 100), 0, "cursor gone", nullptr);
    TslWindow* child = tslCreateWindow(display, top, tslPos(0, 0), tslSize(50, 50), 0, "cursor gone child", nullptr);
    ASSERT_TRUE(top && child);
    Window real = child->xwin;
    Window dead = XCreateSimpleWindow(display, RootWindow(display, 0), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display, dead);
    child->xwin = dead;
    testing::internal::CaptureStderr();
    EXPECT_EQ(tslSetWaitCursor(display, top), 1);
    EXPECT_EQ(tslSetNormalCursor(display, top), 1);
    XSync(display, False);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    child->xwin = real;
    EXPECT_EQ(tslSetWaitCursor(display, nullptr), 0);
    tslDestroyWindow(display, top);
}
