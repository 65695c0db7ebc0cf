// The input window under real keys and pointer: editing over two-byte
// characters, the length limits, clicks and drags, and Japanese text typed
// through a real input method.
#include "xfixture.h"
#include "ximserver.h"
#include "xrobot.h"

#include <X11/keysym.h>

#include <atomic>
#include <memory>

namespace {

const std::string kKanji = "\xa4\xa2";  // EUC-JP hiragana A

class InputWnd : public XDepthTest {
protected:
    TslWindow* in = nullptr;
    std::unique_ptr<Robot> robot;
    void SetUp() override
    {
        XDepthTest::SetUp();
        if (d)
            open();
    }
    void TearDown() override
    {
        robot.reset();
        XDepthTest::TearDown();
    }
    void open()
    {
        TslWindow* top = tslCreateWindow(d, nullptr, tslPos(300, 300), tslSize(240, 40), 0, "InputTop", nullptr);
        in = tslCreateWindow_InputWnd(d, top, tslSetRect(5, 5, 200, 30), "Input", "", 0);
        xenv_wait_mapped(d, in->xwin);
        robot.reset(new Robot(DisplayString(d)));
        robot->focus(in->xwin);
    }
    void settle()
    {
        robot->sync();
        xenv_pump(d, 80);
    }
    std::string text() { return tslGetText_InputWnd(in); }
    std::string selected() { return tslGetSelectText_InputWnd(in); }
    int x_of(int bytes) { return 4 + tslTextNWidth(text().c_str(), bytes); }
    unsigned long screen(int x, int y)
    {
        XSync(d, False);
        return xenv_pixel(d, in->xwin, x, y);
    }
};

// Scenarios that need only one server.
class InputWndUser : public InputWnd {};

}  // namespace

TEST_P(InputWnd, KeysEditWholeCharacters)
{
    robot->type("ab");
    settle();
    EXPECT_EQ(text(), "ab");
    // A caret two pixels wide after the text, in the contrast of the paper.
    int top = (30 - tslGetCharHeight(nullptr)) / 2;
    unsigned long contrast = tslGetAlterColor(d, g_tessel.colormap, 105, 105, 105, TSL_ALTER_CONTRAST);
    EXPECT_EQ(screen(x_of(2), top + 3), contrast);
    EXPECT_EQ(screen(x_of(2) + 1, top + 3), contrast);
    EXPECT_EQ(screen(x_of(2) + 2, top + 3), g_tessel.paperPixel);

    tslSetText_InputWnd(in, ("a" + kKanji).c_str());
    tslSetCaretPos_InputWnd(in, -1);
    robot->key(XK_BackSpace);
    settle();
    EXPECT_EQ(text(), "a");
    tslAddText_InputWnd(in, kKanji.c_str());
    robot->key(XK_Left);
    settle();
    EXPECT_EQ(tslGetCaretPos_InputWnd(in), 1);
    robot->key(XK_Right, ShiftMask);
    settle();
    EXPECT_EQ(selected(), kKanji);
    EXPECT_EQ(screen(x_of(1), top), in->foreFontPixel) << "the selection is drawn inverse";
    robot->type("Z");
    settle();
    EXPECT_EQ(text(), "aZ");
}

INSTANTIATE_TEST_SUITE_P(Depths, InputWnd, TSL_ALL_DEPTHS);
INSTANTIATE_TEST_SUITE_P(Default, InputWndUser, ::testing::Values(nullptr));

TEST_P(InputWndUser, LimitsClicksAndDrags)
{
    tslSetText_InputWnd(in, std::string(1023, 'a').c_str());
    tslSetCaretPos_InputWnd(in, -1);
    robot->type("b");
    settle();
    EXPECT_EQ(text().size(), 1023u) << "typing stops at 1023 bytes";
    EXPECT_EQ(tslAddText_InputWnd(in, kKanji.c_str()), 1023) << "no half character at byte 1024";
    EXPECT_EQ(tslAddText_InputWnd(in, "bc"), 1024);

    tslSetText_InputWnd(in, ("ab" + kKanji + " cd  ef").c_str());
    int kanjiWidth = x_of(4) - x_of(2);
    robot->click(in->xwin, x_of(2) + kanjiWidth * 3 / 4, 15);
    settle();
    EXPECT_EQ(tslGetCaretPos_InputWnd(in), 4) << "right half of the character";
    robot->pause(400);
    robot->click(in->xwin, x_of(6), 15);
    robot->click(in->xwin, x_of(6), 15);
    settle();
    EXPECT_EQ(selected(), "cd");
    robot->pause(400);
    robot->click(in->xwin, x_of(7) + 1, 15);
    robot->click(in->xwin, x_of(7) + 1, 15);
    settle();
    EXPECT_EQ(selected(), "  ");
    robot->pause(400);
    // Caps Lock is no Shift: the click moves the caret.
    robot->key(XK_Caps_Lock);
    robot->click(in->xwin, x_of(1), 15);
    robot->key(XK_Caps_Lock);
    settle();
    EXPECT_EQ(tslGetCaretPos_InputWnd(in), 1);
    EXPECT_EQ(selected(), "");
    robot->pause(400);
    // Dragging onto the right half of the last character takes it too.
    robot->move(in->xwin, 2, 15);
    robot->press();
    robot->move(in->xwin, x_of((int)text().size()) - 2, 15);
    robot->release();
    settle();
    EXPECT_EQ(selected(), text());
}

namespace {
std::atomic<bool> g_typed{false};
int UntilTyped(TslWindow*)
{
    return g_typed ? TSLR_CLOSE : TSLR_OK;
}
}  // namespace

TEST_P(InputWndUser, InputMethodTextArrivesAsEucJp)
{
    xenv_destroy_all(d);
    if (!xim_enter_locale(d, "@im=uim", "anthy"))
        GTEST_SKIP() << kXimLocale << " locale not available";
    ASSERT_NE(nullptr, tslOpenIM_XIM(d));
    open();
    ASSERT_NE(nullptr, in->ic);
    RobotThread user([this](Robot& r) {
        r.focus(in->xwin);
        r.key(' ', ShiftMask);  // Anthy on
        r.type("a");
        r.key(XK_Return);
        r.pause(300);
        g_typed = true;
    }, DisplayString(d));
    tslSetIdolingCallback(tslGetTopWindow(in), UntilTyped);
    tslMainLoop(d, tslGetTopWindow(in));
    user.join();
    EXPECT_EQ(text(), kKanji);
    xenv_destroy_all(d);
    xim_leave_locale(d);
    xim_stop_uim();
}
