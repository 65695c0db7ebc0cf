// Cursors on a live server: the built-in pictures load, bad pictures are
// refused quietly, and the wait and normal cursors reach a whole window tree.
#include "testutil.h"
#include "xfixture.h"
#include "core/xerror.h"
#include "resources/cursors.h"

namespace {

// Cursors go with the test's connection.
class CursorServer : public XTest {
protected:
    Cursor load(const TslCursorData& data) { return tslLoadCursor(d, &data); }
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

TEST_F(CursorServer, PicturesLoadOrAreRefusedQuietlyAndCoverTheWholeTree)
{
    // Recolouring is a request only a real cursor survives.
    XColor fg{0, 0xFFFF, 0xFFFF, 0xFFFF, 0, 0}, bg{};
    for (const TslCursorData* data : {&res_curFinger, &res_curWait, &res_curIbeam}) {
        Cursor c = load(*data);
        EXPECT_TRUE(c && !x_errors([&] { XRecolorCursor(d, c, &fg, &bg); })) << data->width << "x" << data->height;
    }
    // width, height, hot spot (outside the picture the server refuses it), mask
    const int faults[][5] = {{0, 16, 5, 0, 1}, {16, -3, 5, 0, 1}, {16, 16, 5, 0, 0}, {16, 16, 16, 0, 1}, {16, 16, 5, -1, 1}};
    EXPECT_EQ(tu::stderr_of([&] {
                  EXPECT_EQ(tslLoadCursor(d, nullptr) + tslLoadCursor(nullptr, &res_curFinger), 0UL);
                  for (const auto& f : faults) {
                      TslCursorData data = res_curFinger;
                      data.width = f[0], data.height = f[1], data.hotX = f[2], data.hotY = f[3];
                      data.maskBits = f[4] ? data.maskBits : nullptr;
                      EXPECT_EQ(load(data), 0UL) << f[0] << " " << f[1] << " " << f[2] << " " << f[3] << " " << f[4];
                  }
              }),
              "");
    // A good picture still loads afterwards.
    g_tessel.cursors[0] = load(res_curFinger);
    g_tessel.cursors[1] = load(res_curWait);
    ASSERT_TRUE(g_tessel.cursors[0] && g_tessel.cursors[1]);

    // The wait and normal cursors reach the whole tree.
    TslWindow* top = make(nullptr, 10, 10, 200, 150);
    TslWindow* panel = make(top, 0, 0, 200, 100);
    TslWindow* button = make(panel, 5, 5, 40, 20);
    TslWindow* plain = make(panel, 50, 5, 40, 20);
    ASSERT_TRUE(top && panel && button && plain);
    tslSetDefaultCursor(button, g_tessel.cursors[0]);
    EXPECT_EQ(x_errors([&] { EXPECT_EQ(tslSetWaitCursor(d, top) + tslSetNormalCursor(d, top), 2); }), 0);
    EXPECT_TRUE(button->cursor == g_tessel.cursors[0] && plain->cursor == 0) << "the default cursors are kept";

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

    // Windows gone from the server are skipped quietly.
    Window real = plain->xwin;
    Window dead = XCreateSimpleWindow(d, RootWindow(d, 0), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(d, dead);
    plain->xwin = dead;
    EXPECT_EQ(tu::stderr_of([&] {
                  EXPECT_EQ(tslSetWaitCursor(d, top) + tslSetNormalCursor(d, top), 2);
                  XSync(d, False);
              }),
              "");
    plain->xwin = real;
    EXPECT_EQ(tslSetWaitCursor(d, nullptr) + tslSetNormalCursor(nullptr, top), 0);
}
