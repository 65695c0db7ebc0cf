// The covered-area query: parts of a window outside its top-level window
// and under top-level windows stacked above, relative to the window itself.
#include <array>

#include "xfixture.h"

namespace {

using Rects = std::vector<std::array<int, 4>>;

Rects covered(TslWindow* w)
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

TslWindow* top_level(Display* d, int x, int y, int w, int h)
{
    TslWindow* win = tslCreateWindow(d, nullptr, tslPos(x, y), tslSize(w, h), 0, "Stack", nullptr);
    xenv_wait_mapped(d, win->xwin);
    return win;
}

using StackRect = XTest;

}  // namespace

TEST_F(StackRect, CoveredAreaOutsideTheTopLevelAndUnderWindowsAbove)
{
    // Stacked below everything else: it hides nothing.
    top_level(d, 80, 80, 300, 300);
    TslWindow* a = top_level(d, 100, 100, 200, 150);
    TslWindow* c = tslCreateWindow(d, a, tslPos(20, 20), tslSize(100, 80), 0, "C", nullptr);
    // Reaches 50 right of and 30 below the top level's 200 x 150.
    TslWindow* e = tslCreateWindow(d, a, tslPos(150, 100), tslSize(100, 80), 0, "E", nullptr);
    xenv_wait_mapped(d, e->xwin);
    EXPECT_EQ(covered(c), Rects{});
    EXPECT_EQ(covered(e), (Rects{{50, 0, 50, 50}, {0, 50, 100, 30}}));

    // A window above over C's screen area (120, 120)-(220, 200).
    TslWindow* b = top_level(d, 150, 130, 40, 30);
    EXPECT_EQ(covered(c), (Rects{{30, 10, 40, 30}}));
    tslMoveResizeWindow(b, tslPos(110, 110), tslSize(200, 150));
    EXPECT_EQ(covered(c), (Rects{{0, 0, 100, 80}}));
    EXPECT_EQ(covered(a), (Rects{{10, 10, 190, 140}}));
}
