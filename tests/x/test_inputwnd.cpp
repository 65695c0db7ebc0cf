// The input window under the robot's keys and pointer: editing over a
// two-byte character, the caret on the screen, the length limit, clicks
// and double clicks, and the desktop's clipboard shared with xclip.
#include "xfixture.h"
#include "xrobot.h"

#include <X11/keysym.h>

#include <atomic>
#include <clocale>
#include <cstdlib>

#include "testutil.h"

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

namespace {
class InputClipboard : public XTest, public ::testing::WithParamInterface<const char*> {};
std::atomic<bool> g_pasted{false};
}  // namespace

// Another client reads Ctrl+C's text as UTF-8; Ctrl+V takes its UTF-8 text in
// as EUC-JP over the selection, then a large one (sent in INCR parts) cut to
// what fits.
TEST_P(InputClipboard, CopyAndPasteMeetOtherClients)
{
    if (!setlocale(LC_ALL, GetParam()))
        GTEST_SKIP() << GetParam() << " locale not available";
    TslWindow* top = tslCreateWindow(d, nullptr, tslPos(300, 300), tslSize(240, 40), 0, "ClipTop", nullptr);
    TslWindow* in = tslCreateWindow_InputWnd(d, top, tslSetRect(5, 5, 200, 30), "Input", "a\xb4\xc1\xbb\xfa", 0);
    xenv_wait_mapped(d, in->xwin);
    tslSetSelectText_InputWnd(in, 1, 5);
    tu::TempDir dir;
    const std::string out = dir / "out", clip = "timeout 5 xclip -selection clipboard ";
    g_pasted = false;
    RobotThread user([&](Robot& r) {
        Atom cb = XInternAtom(r.dpy, "CLIPBOARD", False);
        r.focus(in->xwin);
        // The window's loop, and xclip after it has returned, take the
        // selection in their own time.
        for (std::string give : {"", "printf 'x\\343\\201\\202\\n'", "head -c 3000000 /dev/zero | tr '\\0' b"}) {
            Window old = XGetSelectionOwner(r.dpy, cb);
            if (give.empty())
                r.key(XK_c, ControlMask);
            else
                EXPECT_EQ(system((give + " | " + clip + "-i >/dev/null").c_str()), 0);
            for (int i = 0; i < 500 && XGetSelectionOwner(r.dpy, cb) == old; i++)
                r.pause(10);
            if (give.empty())
                EXPECT_EQ(system((clip + "-o -t UTF8_STRING >" + out + "; " + clip + "-o -t TARGETS >>" + out).c_str()), 0);
            else
                r.key(XK_v, ControlMask), r.pause(300);
        }
        XSetSelectionOwner(r.dpy, cb, None, CurrentTime);  // xclip ends
        g_pasted = true;
    });
    tslSetIdolingCallback(top, [](TslWindow*) { return g_pasted ? TSLR_CLOSE : TSLR_OK; });
    tslMainLoop(d, top);
    setlocale(LC_ALL, "C");
    std::string copied = tu::read_file(out);
    EXPECT_EQ(copied.substr(0, 6), "\xe6\xbc\xa2\xe5\xad\x97");
    EXPECT_NE(copied.find("COMPOUND_TEXT"), std::string::npos) << copied;
    EXPECT_EQ(std::string(tslGetText_InputWnd(in)), "ax\xa4\xa2" + std::string(1020, 'b'));
}

INSTANTIATE_TEST_SUITE_P(Locales, InputClipboard, ::testing::Values("ja_JP.EUC-JP", "ja_JP.UTF-8"));
