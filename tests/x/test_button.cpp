// The push button under a user's pointer: which presses and releases it
// reports and how it is left showing.
#include "xcontrol.h"

using Button = ControlTest;

// Each case starts as the one before left the button.  A release off the
// button never reports, so a toggle button's report before one came at its
// press.  Column 0 lies on the hit rectangle's edge: a press there is no
// press, and its release inside reports nothing, for a toggle button that
// is up neither.
TEST_P(Button, ReportsClicksAndShowsItsState)
{
    TslWindow* button = tslCreateWindow_Button(d, nullptr, tslSetRect(20, 20, 100, 30), nullptr, nullptr, note);
    const struct { int toggle; const char* script; const char* notices; bool down; } cases[] = {
        {0, "50,15 p 150,15 r", "", false}, {0, "50,15 p r", "110/0", false}, {0, "0,15 p 50,15 r", "", false},
        {1, "0,15 p 50,15 r", "", false}, {1, "50,15 p 150,15 r", "110/1", true},
        {1, "50,15 p 150,15 r", "", true}, {1, "50,15 p r", "120/0", false},
    };
    for (const auto& c : cases) {
        tslSetToggle_Button(button, c.toggle);
        play(button, c.script);
        EXPECT_EQ(notices, c.notices) << c.script;
        // A button shown down has a sunken frame, shadow at its top left.
        EXPECT_EQ(xenv_pixel(d, button->xwin, 0, 0) == g_tessel.backShadowPixel, c.down) << c.script;
    }
    // A button made without a caption takes one.
    EXPECT_TRUE(tslSetCaption_Button(button, "Named") == 1 && strcmp(tslGetCaption_Button(button), "Named") == 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, Button, TSL_ALL_DEPTHS);
