// The scroll bars under a user's pointer: steps, auto-repeat, paging,
// dragging and its throttle on both twins; the thumb's look and the setters.
#include <fnmatch.h>

#include "xcontrol.h"

using ScrollBar = ControlTest;

// A bar 300 long over 3000 pixels in steps of 10: visible 30, limit 270,
// trough 265, thumb 26 long from 17 + 239 pos / 270.  Scripts give points
// as along,across; steps marked h were taken while the button was held, and
// notices are matched as shell patterns.
// A click on an arrow steps at its release, reversed with the secondary
// button, and not when released off the arrow; a press held for less than
// 500 ms is a click, a longer one repeats and takes no step at its release.
TEST_P(ScrollBar, FollowsTheUser)
{
    const struct { int pos; const char* script; const char* notices; } cases[] = {
        {0, "290,8 p r", "170/1"}, {0, "8,8 p3 r3", "170/1"}, {5, "290,8 p 150,8 r", ""},
        {0, "290,8 p w300 r", "170/1"}, {0, "290,8 p w1000 r", "170/1h 170/2h 170/3h 170/4h 170/5h*h"},
        {0, "200,8 p w1200 r", "170/30h 170/60h 170/90h 170/120h 170/150h 170/180h"},
        // Grabbed 8 past the start and dragged to (92 - 17) 270 / 239; the
        // motion that follows within 30 ms is dropped.
        {0, "25,8 p 100,8! 250,8 r", "170/84"},
    };
    for (bool vertical : {true, false}) {
        for (const auto& c : cases) {
            TslWindow* bar = (vertical ? tslCreateWindow_VScrollBar : tslCreateWindow_HScrollBar)(
                d, nullptr, tslSetRect(10, 10, 300, 300), "Bar", c.pos, 3000, 10, note);
            play(bar, c.script, vertical);
            EXPECT_EQ(fnmatch(c.notices, notices.c_str(), 0), 0) << c.script << ": " << notices;
            // Nothing is left pressed: the thumb at rest, the end arrow raised.
            int mid = 17 + 239 * tslGetPos_ScrollBar(bar) / 270 + 13;
            EXPECT_TRUE(xenv_pixel(d, bar->xwin, vertical ? 8 : mid, vertical ? mid : 8) == g_tessel.backNearPixel &&
                        xenv_pixel(d, bar->xwin, vertical ? 0 : 283, vertical ? 283 : 0) == g_tessel.backLightPixel);
        }
    }
}

// A bar 100 long: trough 65; the thumb's face, inside its frame, runs from
// along 20 up to 79 at most.
TEST_P(ScrollBar, ThumbShowsTheRangeAndSettersRepaint)
{
    TslWindow* bar = tslCreateWindow_VScrollBar(d, nullptr, tslSetRect(10, 10, 40, 100), "Bar", 9, 0, 1, note);
    xenv_pump(d, 50);
    auto thumb = [&](int along) { return xenv_pixel(d, bar->xwin, 8, along) == g_tessel.backNearPixel; };
    EXPECT_TRUE(bar->rect.width == 17 && thumb(20) && thumb(79));  // no content: all of the trough
    EXPECT_TRUE(tslSetMax_ScrollBar(bar, 100000) && thumb(30) && !thumb(31));  // 65 * 100 / 100000 rises to 16
    EXPECT_TRUE(tslSetPos_ScrollBar(bar, 99900) && !thumb(68) && thumb(69));  // from 17 + 49
    EXPECT_TRUE(tslSetMax_ScrollBar(bar, 0) && thumb(20) && thumb(79) && tslGetPos_ScrollBar(bar) == 0);
    EXPECT_EQ(notices, "1/99900");  // from the position's setter alone
    tslMoveResizeWindow(bar, tslPos(10, 10), tslSize(5, 30));
    xenv_pump(d, 100);
    EXPECT_TRUE(bar->rect.width == 17 && bar->rect.height == 51);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScrollBar, TSL_ALL_DEPTHS);
