// The push button under a user's pointer: which presses and releases it
// reports and how it is left showing.
#include "xcontrol.h"

namespace {

class Button : public ControlTest {
protected:
    TslWindow* button = nullptr;
    void SetUp() override
    {
        ControlTest::SetUp();
        if (!d)
            return;
        button = tslCreateWindow_Button(d, stage, tslSetRect(20, 20, 100, 30), "Push", nullptr, note);
        trace(button);
        xenv_pump(d, 50);
    }
};

}  // namespace

// Column 0 lies on the hit rectangle's edge: a press there is no press, so
// its release inside reports nothing, for a toggle button that is up neither.
TEST_P(Button, ReportsClicksAndShowsItsState)
{
    const struct {
        int toggle;
        const char* script;
        const char* notices;
        bool down;
    } cases[] = {
        {0, "50,15 p 150,15 r", "", false},
        {0, "50,15 p r", "110/0r", false},
        {1, "50,15 p r", "110/1p", true},
        {1, "50,15 p r p r", "110/1p 120/0r", false},
        {0, "0,15 p 50,15 r", "", false},
        {1, "0,15 p 50,15 r", "", false},
    };
    for (const auto& c : cases) {
        tslSetToggle_Button(button, c.toggle);
        tslSetButton_Button(button, 0);
        notices.clear();
        play(button, c.script);
        EXPECT_EQ(notices, c.notices) << c.script;
        // A button shown down has a sunken frame, shadow at its top left.
        EXPECT_EQ(screen(button, 0, 0) == g_tessel.backShadowPixel, c.down) << c.script;
    }
}

TEST_P(Button, ButtonWithoutCaptionTakesOne)
{
    TslWindow* bare = tslCreateWindow_Button(d, stage, tslSetRect(20, 60, 50, 20), nullptr, nullptr, nullptr);
    EXPECT_EQ(tslSetCaption_Button(bare, "Named"), 1);
    EXPECT_STREQ(tslGetCaption_Button(bare), "Named");
}

INSTANTIATE_TEST_SUITE_P(Depths, Button, TSL_ALL_DEPTHS);
