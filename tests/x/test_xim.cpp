// Input method against Xvfb: the paths without an input method, and a real
// XIM server (uim-xim with Anthy, which starts switched off) started by the
// test in an EUC-JP locale, typing into a plain window and an input window
// (in a UTF-8 locale too), whose text then goes to and comes from xclip.
#include "testutil.h"
#include "xfixture.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/xim_private.h"
#include "xrobot.h"

namespace {

const char* kLocale = "ja_JP.EUC-JP";

// The uim-xim server: one per test program, on the test display.
pid_t g_uim = 0;
std::unique_ptr<tu::TempDir> g_uimHome;

bool UimRegistered(Display* d)
{
    return XGetSelectionOwner(d, XInternAtom(d, "@server=uim", False)) != None;
}

bool StartUim(Display* d)
{
    if (g_uim > 0)
        return true;
    g_uimHome.reset(new tu::TempDir);
    std::string home = "HOME=" + g_uimHome->path, display = std::string("DISPLAY=") + DisplayString(d);
    std::string lcall = std::string("LC_ALL=") + kLocale, lang = std::string("LANG=") + kLocale;
    char* env[] = {&home[0], &display[0], &lcall[0], &lang[0], nullptr};
    g_uim = fork();
    if (g_uim == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execle("/usr/bin/uim-xim", "uim-xim", "--engine=anthy", (char*)nullptr, env);
        _exit(127);
    }
    for (int i = 0; i < 200 && g_uim > 0; i++, usleep(20000))
        if (UimRegistered(d))
            return true;
    return false;
}

void StopUim()
{
    if (g_uim > 0) {
        kill(g_uim, SIGTERM);
        waitpid(g_uim, nullptr, 0);
    }
    g_uim = 0;
    g_uimHome.reset();
}

class Xim : public XTest {
protected:
    static void TearDownTestSuite() { StopUim(); }

    void SetUp() override
    {
        XTest::SetUp();
        g_bXIMtoRegister = 0;
        kLocale = "ja_JP.EUC-JP";
    }
    void TearDown() override
    {
        if (d) {
            xenv_destroy_all(d);
            if (g_tessel.im)
                tslCloseIM_XIM(g_tessel.im);
            if (g_tessel.fontSet)
                XFreeFontSet(d, g_tessel.fontSet);
            g_tessel.fontSet = nullptr;
            g_im = nullptr;
            setlocale(LC_ALL, "C");
        }
        XTest::TearDown();
    }

    // Locale and modifiers as the start-up sets them, and the server started
    // when it is uim; false when the locale is missing.
    bool EnterLocale(const char* modifiers)
    {
        std::string old = setlocale(LC_ALL, nullptr);
        if (!setlocale(LC_ALL, kLocale))
            return false;
        setlocale(LC_ALL, old.c_str());
        setenv("LC_ALL", kLocale, 1);
        setenv("XMODIFIERS", modifiers, 1);
        int ok = tslLocale_XIM("");
        unsetenv("LC_ALL");
        if (ok == 1 && strcmp(modifiers, "@im=uim") == 0) {
            EXPECT_TRUE(StartUim(d)) << "uim-xim did not start";
            char** missing = nullptr;
            int count = 0;
            char* def = nullptr;
            g_tessel.fontSet = XCreateFontSet(d, "-*-*-medium-r-normal--14-*-*-*-*-*-*-*", &missing, &count, &def);
            if (missing)
                XFreeStringList(missing);
        }
        return ok == 1;
    }

    long EventMask(TslWindow* w)
    {
        XWindowAttributes a;
        XGetWindowAttributes(d, w->xwin, &a);
        return a.your_event_mask;
    }
    TslWindow* make(int y, const char* title, TslWndProc cb = nullptr)
    {
        return tslCreateWindow(d, nullptr, tslPos(0, y), tslSize(200, 40), 0, title, cb);
    }
};

TEST_F(Xim, WithoutInputMethodEverythingRefusesQuietly)
{
    EXPECT_EQ(tu::stderr_of([] { EXPECT_EQ(0, tslLocale_XIM("xx_NOWHERE.NOCODE")); }),
              "Error: IM - can't set locale\n");
    g_tessel.useIM = 0;
    TslWindow* w = make(0, "in");
    ASSERT_TRUE(w);
    std::string err = tu::stderr_of([&] {
        EXPECT_EQ(0, tslIsOpenIM_XIM());
        EXPECT_EQ(nullptr, tslGetIM_XIM());
        EXPECT_EQ(0, tslAttachIM(w, nullptr));
        EXPECT_EQ(0, tslSetFocusIC_XIM(w));
        EXPECT_EQ(0, tslUnsetFocusIC_XIM(w));
        EXPECT_EQ(0, tslMovePreedit_XIM(w, 3, 4));
        EXPECT_EQ(0, tslSetStatusArea_XIM(w, tslPos(0, 0), tslSize(10, 10)));
        EXPECT_EQ(0, tslCloseIM_XIM(nullptr));
        EXPECT_EQ(0u, tslSelectStyle_XIM(nullptr, nullptr));
        EXPECT_EQ(0, tslDetachIM(nullptr, 1));
        EXPECT_EQ(1, tslDetachIM(w, 1));
    });
    EXPECT_TRUE(err.empty() && !w->ic && EventMask(w) == TSL_EVENT_MASK) << err;
    EXPECT_EQ(tu::stderr_of([&] {
                  EXPECT_EQ(nullptr, tslCreateIC_XIM(w, nullptr, XIMPreeditNothing | XIMStatusNothing, nullptr, 0, 0));
              }),
              "Error: XIM - IM is invalid.\n");
}

TEST_F(Xim, ServerThatDoesNotExistGivesWarningAndNull)
{
    if (!EnterLocale("@im=tsl_no_such_server"))
        GTEST_SKIP() << kLocale << " locale not available";
    XIM im = (XIM)1;
    EXPECT_EQ(tu::stderr_of([&] { im = tslOpenIM_XIM(d); }), "Warning: Open XIM - can't open IM.\n");
    EXPECT_TRUE(!im && !tslIsOpenIM_XIM() && !g_bXIMtoRegister);
}

TEST_F(Xim, RealServerAttachDetach)
{
    if (!EnterLocale("@im=uim"))
        GTEST_SKIP() << kLocale << " locale not available";
    g_tessel.useIM = 1;
    // A server the user names is opened by the start-up at once.
    EXPECT_EQ(tu::stderr_of([&] { xim_open_at_start(d, ""); }), "");
    XIM im = g_tessel.im;
    ASSERT_NE(nullptr, im);
    EXPECT_TRUE(tslOpenIM_XIM(d) == im && tslIsOpenIM_XIM()) << "opened once per program";

    // Style preference follows the list.
    const XIMStyle rootOnly[] = {XIMPreeditNothing | XIMStatusNothing, 0}, unknown[] = {0x7000, 0}, none[] = {0};
    EXPECT_EQ((XIMStyle)(XIMPreeditNothing | XIMStatusNothing), tslSelectStyle_XIM(im, rootOnly));
    EXPECT_EQ(0u, tslSelectStyle_XIM(im, unknown));
    EXPECT_EQ(0u, tslSelectStyle_XIM(im, none));

    TslWindow* w = make(0, "input");
    ASSERT_TRUE(w);
    ASSERT_EQ(1, tslAttachIM(w, nullptr));
    EXPECT_TRUE(w->ic && (w->imStyle == 1028 || w->imStyle == 1032)) << w->imStyle;
    EXPECT_EQ(w->imStyle == 1028 ? 1 : 0, tslMovePreedit_XIM(w, 10, 20));
    EXPECT_EQ(0, tslSetStatusArea_XIM(w, tslPos(0, 0), tslSize(50, 20)));
    EXPECT_EQ(TSL_EVENT_MASK, EventMask(w) & TSL_EVENT_MASK);
    EXPECT_EQ(1, tslSetFocusIC_XIM(w) & tslUnsetFocusIC_XIM(w));
    EXPECT_EQ(1, tslDetachIM(w, 1));
    EXPECT_TRUE(!w->ic && !w->imStyle && EventMask(w) == TSL_EVENT_MASK);

    // A context handed in keeps its own style.
    XIMStyle style = XIMPreeditNothing | XIMStatusNothing;
    XIC ic = tslCreateIC_XIM(w, im, style, g_tessel.fontSet, 0, 0);
    ASSERT_NE(nullptr, ic);
    EXPECT_EQ(1, tslAttachIM(w, ic));
    EXPECT_TRUE(w->ic == ic && w->imStyle == style && !tslMovePreedit_XIM(w, 1, 1));

    // Destroying the window destroys its context.
    EXPECT_EQ(1, tslDestroyWindow(d, w));
    EXPECT_EQ(1, tslCloseIM_XIM(im));
    EXPECT_TRUE(!tslIsOpenIM_XIM() && !tslCloseIM_XIM(im));
}

std::atomic<bool> g_kanaTyped{false};

class XimLocale : public Xim, public ::testing::WithParamInterface<const char*> {};

// Whatever the locale's codeset, the same kana arrive as the same EUC-JP
// bytes; Ctrl+C hands them to another client (xclip) as UTF-8, and Ctrl+V
// takes its UTF-8 text in as EUC-JP, then a large one (sent in INCR parts)
// cut to what fits.
TEST_P(XimLocale, KanaTypedThroughAnthyReachesTheInputWindowAsEucJpAndOtherClients)
{
    kLocale = GetParam();
    if (!EnterLocale("@im=uim"))
        GTEST_SKIP() << kLocale << " locale not available";
    g_kanaTyped = false;
    ASSERT_NE(nullptr, tslOpenIM_XIM(d));
    TslWindow* top = make(0, "kana");
    TslWindow* in = tslCreateWindow_InputWnd(d, top, tslSetRect(5, 5, 150, 30), "input", "", 0);
    xenv_wait_mapped(d, in->xwin);
    EXPECT_EQ((XIMStyle)(XIMPreeditPosition | XIMStatusNothing), in->imStyle);
    tu::TempDir dir;
    const std::string out = dir / "out", clip = "timeout 5 xclip -selection clipboard ";
    RobotThread user([&](Robot& r) {
        Atom cb = XInternAtom(r.dpy, "CLIPBOARD", False);
        r.focus(in->xwin);
        r.key(' ', ShiftMask);  // Anthy on
        r.type("aiu");
        r.key(XK_Return);
        for (int i = 0; i < 3; i++)
            r.key(XK_Left, ShiftMask);
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
            r.key(XK_End);
        }
        XSetSelectionOwner(r.dpy, cb, None, CurrentTime);  // xclip ends
        g_kanaTyped = true;
    });
    tslSetIdolingCallback(top, [](TslWindow*) { return g_kanaTyped ? TSLR_CLOSE : TSLR_OK; });
    tslMainLoop(d, top);
    std::string copied = tu::read_file(out);
    EXPECT_EQ(copied.substr(0, 9), "\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86");
    EXPECT_NE(copied.find("COMPOUND_TEXT"), std::string::npos) << copied;
    EXPECT_EQ(std::string(tslGetText_InputWnd(in)), "\xa4\xa2\xa4\xa4\xa4\xa6x\xa4\xa2" + std::string(1015, 'b'));
}

INSTANTIATE_TEST_SUITE_P(Locales, XimLocale, ::testing::Values("ja_JP.EUC-JP", "ja_JP.UTF-8"));

int g_waitPasses = 0;
int UntilServerGone(TslWindow*)
{
    g_waitPasses++;
    return (!g_tessel.im || g_waitPasses > 200) ? TSLR_CLOSE : TSLR_OK;
}

TEST_F(Xim, ServerGoingAwayIsNoticedByTheLoop)
{
    if (!EnterLocale("@im=uim"))
        GTEST_SKIP() << kLocale << " locale not available";
    ASSERT_NE(nullptr, tslOpenIM_XIM(d));
    TslWindow* w = make(0, "input");
    ASSERT_TRUE(w);
    ASSERT_EQ(1, tslAttachIM(w, nullptr));

    StopUim();
    for (int i = 0; i < 100 && UimRegistered(d); i++)
        usleep(10000);
    if (UimRegistered(d))
        GTEST_SKIP() << "another uim-xim serves this display";
    g_waitPasses = 0;
    g_tessel.interval = 10;
    tslSetIdolingCallback(w, UntilServerGone);
    EXPECT_EQ(1, tslMainLoop(d, nullptr));
    EXPECT_TRUE(!g_tessel.im && g_bXIMtoRegister == 1 && !tslIsOpenIM_XIM());
    EXPECT_TRUE(!w->ic && !w->imStyle) << "the context went with its server";
    TslWindow* later = make(50, "later");
    EXPECT_TRUE(later && !tslAttachIM(later, nullptr) && !later->ic);
}

}  // namespace
