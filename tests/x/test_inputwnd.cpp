// The input window under the robot's keys and pointer: editing over a
// two-byte character, the caret on the screen, the length limit, clicks
// and double clicks.
#include "xfixture.h"
#include "xrobot.h"

#include <X11/keysym.h>

namespace {
class InputWnd : public XDepthTest {};
const std::string K = "\xa4\xa2";  // EUC-JP hiragana A
}  // namespace

TEST_P(InputWnd, RobotEditsClicksAndMeetsTheLimit)
{
    TslWindow* top = tslCreateWindow(d, nullptr, tslPos(300, 300), tslSize(240, 40), 0, "InputTop", nullptr);
    TslWindow* in = tslCreateWindow_InputWnd(d, top, tslSetRect(5, 5, 200, 30), "Input", "", 0);
    xenv_wait_mapped(d, in->xwin);
    Robot robot(DisplayString(d));
    robot.focus(in->xwin);
    // Each look lets the window take what the robot did first.
    auto text = [&] { return robot.sync(), xenv_pump(d, 80), std::string(tslGetText_InputWnd(in)); };
    auto selected = [&] { return text(), std::string(tslGetSelectText_InputWnd(in)); };
    auto x_of = [&](int bytes) { return 4 + tslTextNWidth(tslGetText_InputWnd(in), bytes); };
    // Clicks at x, well apart from the last ones.
    auto clicks = [&](int x, int times) { for (robot.pause(400); times--;) robot.click(in->xwin, x, 15); };

    robot.type("ab");
    EXPECT_EQ(text(), "ab");
    // The caret: two pixels in the contrast of the paper, after the text.
    unsigned long paper = g_tessel.paperPixel, caret = tslGetAlterColor(d, g_tessel.colormap, 105, 105, 105, 3);
    EXPECT_EQ(xenv_pixels(d, in->xwin, x_of(2) - 1, (30 - tslGetCharHeight(nullptr)) / 2 + 3, 4, 1),
              std::vector<unsigned long>({paper, caret, caret, paper}));
    tslSetText_InputWnd(in, ("a" + K).c_str());
    tslSetCaretPos_InputWnd(in, -1);
    robot.key(XK_BackSpace);
    EXPECT_EQ(text(), "a");
    tslAddText_InputWnd(in, K.c_str());
    robot.key(XK_Left);
    robot.key(XK_Right, ShiftMask);
    EXPECT_EQ(selected(), K) << "Left and Shift+Right move over both bytes";
    robot.type("Z");
    EXPECT_EQ(text(), "aZ");

    tslSetText_InputWnd(in, std::string(1023, 'a').c_str());
    tslSetCaretPos_InputWnd(in, -1);
    robot.type("b");
    EXPECT_EQ(text().size(), 1023u) << "typing stops at 1023 bytes";
    EXPECT_EQ(tslAddText_InputWnd(in, K.c_str()), 1023) << "no half character at byte 1024";
    EXPECT_EQ(tslAddText_InputWnd(in, "bc"), 1024);

    tslSetText_InputWnd(in, ("ab" + K + " cd  ef").c_str());
    clicks(x_of(2) + (x_of(4) - x_of(2)) * 3 / 4, 1);
    EXPECT_EQ((text(), tslGetCaretPos_InputWnd(in)), 4) << "right half of the character";
    clicks(x_of(6), 2);
    EXPECT_EQ(selected(), "cd");
    clicks(x_of(7) + 1, 2);
    EXPECT_EQ(selected(), "  ");
}

INSTANTIATE_TEST_SUITE_P(Depths, InputWnd, TSL_ALL_DEPTHS);
