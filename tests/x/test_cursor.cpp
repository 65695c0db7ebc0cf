// Cursors on a live server: the built-in pictures load, bad pictures are
// refused quietly, and the wait and normal cursors reach a whole window tree.
#include "testutil.h"
#include "xfixture.h"
#include "core/xerror.h"
#include "resources/cursors.h"

namespace {

class CursorServer : public XTest {
protected:
    std::vector<Cursor> loaded;
    void SetUp() override
    {
        XTest::SetUp();
        if (!d)
            return;
        g_tessel.cursors[0] = load(res_curFinger);
        g_tessel.cursors[1] = load(res_curWait);
        g_tessel.cursors[2] = load(res_curIbeam);
    }
    void TearDown() override
    {
        for (Cursor c : loaded)
            XFreeCursor(d, c);
        XTest::TearDown();
    }
    Cursor load(const TslCursorData& data)
    {
        Cursor c = tslLoadCursor(d, &data);
        if (c)
            loaded.push_back(c);
        return c;
    }
    // The first X error code f caused (0 when none).
    template <typename F>
    int x_errors(F f)
    {
        xerr_trap_begin(d);
        f();
        return xerr_trap_end(d);
    }
    TslWindow* make(TslWindow* parent, int x, int y, int w, int h)
    {
        return tslCreateWindow(d, parent, tslPos(x, y), tslSize(w, h), 0, "cursor", nullptr);
    }
};

}  // namespace

TEST_F(CursorServer, BuiltinPicturesLoadAndBadOnesAreRefusedQuietly)
{
    for (int i = 0; i < 3; i++) {
        ASSERT_NE(g_tessel.cursors[i], 0UL) << i;
        // Recolouring is a request only a real cursor survives.
        XColor fg{}, bg{};
        fg.red = fg.green = fg.blue = 0xFFFF;
        EXPECT_EQ(x_errors([&] { XRecolorCursor(d, g_tessel.cursors[i], &fg, &bg); }), 0);
    }
    const std::function<void(TslCursorData&)> faults[] = {
        [](TslCursorData& c) { c.width = 0; },
        [](TslCursorData& c) { c.height = -3; },
        [](TslCursorData& c) { c.maskBits = nullptr; },
        [](TslCursorData& c) { c.hotX = 16; },  // outside the picture: the server refuses it
        [](TslCursorData& c) { c.hotY = -1; },
    };
    EXPECT_EQ(tu::stderr_of([&] {
                  EXPECT_EQ(tslLoadCursor(d, nullptr), 0UL);
                  EXPECT_EQ(tslLoadCursor(nullptr, &res_curFinger), 0UL);
                  for (size_t i = 0; i < std::size(faults); i++) {
                      TslCursorData data = res_curFinger;
                      faults[i](data);
                      EXPECT_EQ(load(data), 0UL) << "fault " << i;
                  }
              }),
              "");
    EXPECT_NE(load(res_curFinger), 0UL) << "a good picture still loads afterwards";
}

TEST_F(CursorServer, WaitAndNormalCursorsCoverTheWholeTree)
{
    TslWindow* top = make(nullptr, 10, 10, 200, 150);
    ASSERT_NE(top, nullptr);
    TslWindow* panel = make(top, 0, 0, 200, 100);
    TslWindow* button = make(panel, 5, 5, 40, 20);
    TslWindow* plain = make(panel, 50, 5, 40, 20);
    ASSERT_TRUE(panel && button && plain);
    tslSetDefaultCursor(button, g_tessel.cursors[0]);

    EXPECT_EQ(x_errors([&] { EXPECT_EQ(tslSetWaitCursor(d, top), 1); }), 0);
    EXPECT_EQ(button->cursor, g_tessel.cursors[0]) << "the default cursor is kept";
    EXPECT_EQ(plain->cursor, 0UL);
    EXPECT_EQ(x_errors([&] { EXPECT_EQ(tslSetNormalCursor(d, top), 1); }), 0);

    // Every window of the tree is visited: a cursor the server does not know,
    // placed on the deepest windows only, shows up as an error.
    Cursor wait = g_tessel.cursors[1];
    Cursor gone = XCreateFontCursor(d, 2);
    XFreeCursor(d, gone);
    g_tessel.cursors[1] = gone;
    EXPECT_EQ(x_errors([&] { tslSetWaitCursor(d, button); }), BadCursor);
    g_tessel.cursors[1] = wait;
    plain->cursor = gone;
    EXPECT_EQ(x_errors([&] { tslSetNormalCursor(d, top); }), BadCursor);
    plain->cursor = 0;
    EXPECT_EQ(x_errors([&] { tslSetNormalCursor(d, top); }), 0);
}

TEST_F(CursorServer, WindowsGoneFromTheServerAreSkippedQuietly)
{
    TslWindow* top = make(nullptr, 10, 10, 100, 100);
    TslWindow* child = make(top, 0, 0, 50, 50);
    ASSERT_TRUE(top && child);
    Window real = child->xwin;
    Window dead = XCreateSimpleWindow(d, RootWindow(d, 0), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(d, dead);
    child->xwin = dead;
    EXPECT_EQ(tu::stderr_of([&] {
                  EXPECT_EQ(tslSetWaitCursor(d, top), 1);
                  EXPECT_EQ(tslSetNormalCursor(d, top), 1);
                  XSync(d, False);
              }),
              "");
    child->xwin = real;
    EXPECT_EQ(tslSetWaitCursor(d, nullptr), 0);
}
