// The covered-area query: parts of a window outside its top-level window
// and under top-level windows stacked above, relative to the window itself.
#include <array>

#include "xfixture.h"

using StackRect = XTest;
using Rects = std::vector<std::array<int, 4>>;

static Rects covered(TslWindow* w)
{
    ObjArray list = tslGetStackWindowRect(w);
    Rects out;
    for (int i = 0; list && list[i]; i++) {
        const TslRect* r = static_cast<const TslRect*>(list[i]);
        out.push_back({r->x, r->y, r->width, r->height});
    }
    tslFree_ObjArray(list);
    return out;
}

TEST_F(StackRect, OutsideTheTopLevelAndUnderWindowsAbove)
{
    // Stacked below everything else, this one hides nothing.
    tslCreateWindow(d, nullptr, tslPos(80, 80), tslSize(300, 300), 0, "Below", nullptr);
    TslWindow* a = tslCreateWindow(d, nullptr, tslPos(100, 100), tslSize(200, 150), 0, "A", nullptr);
    // C lies inside A; E reaches 50 right of and 30 below it.
    TslWindow* c = tslCreateWindow(d, a, tslPos(20, 20), tslSize(100, 80), 0, "C", nullptr);
    TslWindow* e = tslCreateWindow(d, a, tslPos(150, 100), tslSize(100, 80), 0, "E", nullptr);
    xenv_wait_mapped(d, e->xwin);
    EXPECT_TRUE(covered(c).empty());
    EXPECT_EQ(covered(e), (Rects{{50, 0, 50, 50}, {0, 50, 100, 30}}));
    // A window above, over part of C at (120, 120) on the screen; one that
    // covers it whole is not listed.
    TslWindow* b = tslCreateWindow(d, nullptr, tslPos(150, 130), tslSize(40, 30), 0, "B", nullptr);
    xenv_wait_mapped(d, b->xwin);
    EXPECT_EQ(covered(c), (Rects{{30, 10, 40, 30}}));
    tslMoveResizeWindow(b, tslPos(110, 110), tslSize(200, 150));
    EXPECT_TRUE(covered(c).empty());
}
