// Key input against Xvfb: key symbols thinned to one per interval, and the
// text of key events without an input context.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

#include "core/keyinput_private.h"
#include "xenv.h"

namespace {

class KeyInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = xenv_open();
        if (!display)
            GTEST_SKIP() << "no display";
        w = tslCreateWindowEx(display, nullptr, tslPos(0, 0), tslSize(100, 100), 0, "keys", nullptr, 0);
        ASSERT_TRUE(w);
    }
    void TearDown() override
    {
        if (!display)
            return;
        tslDestroyWindow(display, w);
        xenv_close();
    }

    XEvent Key(KeySym sym, Time time, unsigned int state = 0, int type = KeyPress)
    {
        XEvent ev{};
        ev.xkey.type = type;
        ev.xkey.display = display;
        ev.xkey.window = w->xwin;
        ev.xkey.root = DefaultRootWindow(display);
        ev.xkey.keycode = XKeysymToKeycode(display, sym);
        ev.xkey.state = state;
        ev.xkey.time = time;
        return ev;
    }

    Display* display = nullptr;
    TslWindow* w = nullptr;
};

TEST_F(KeyInput, KeysFasterThanTheIntervalAreDropped)
{
    g_tessel.interval = 35;
    g_tessel.tenKey = 0;
    XEvent first = Key(XK_a, 100000);
    XEvent second = Key(XK_a, 100010);
    XEvent third = Key(XK_a, 100035);
    EXPECT_EQ((KeySym)XK_a, tslGetKey(w, &first));
    EXPECT_EQ(100000u, w->keyPressTime);
    EXPECT_EQ((KeySym)-1, tslGetKey(w, &second));
    EXPECT_EQ(100000u, w->keyPressTime) << "a dropped key does not move the time";
    EXPECT_EQ((KeySym)XK_a, tslGetKey(w, &third));
    // Releases count as keys too.
    XEvent release = Key(XK_a, 100040, 0, KeyRelease);
    EXPECT_EQ((KeySym)-1, tslGetKey(w, &release));
}

TEST_F(KeyInput, ServerTimeWrapsAround)
{
    g_tessel.interval = 35;
    g_tessel.tenKey = 0;
    tslSetKeyPressTime(w, 0xFFFFFFF0UL);
    XEvent soon = Key(XK_a, 0x10);
    EXPECT_EQ((KeySym)-1, tslGetKey(w, &soon));
    XEvent later = Key(XK_a, 0x20);
    EXPECT_EQ((KeySym)XK_a, tslGetKey(w, &later));
}

TEST_F(KeyInput, ShiftLevelAndNonKeyEvents)
{
    g_tessel.interval = 35;
    g_tessel.tenKey = 0;
    XEvent shifted = Key(XK_a, 200000, ShiftMask);
    EXPECT_EQ((KeySym)XK_A, tslGetKey(w, &shifted));
    XEvent button{};
    button.type = ButtonPress;
    EXPECT_EQ((KeySym)-1, tslGetKey(w, &button));
    EXPECT_EQ((KeySym)-1, tslGetKey(nullptr, &shifted));
}

TEST_F(KeyInput, TenKeyTranslatesTheKeypad)
{
    g_tessel.interval = 35;
    g_tessel.tenKey = 1;
    KeyCode kp = XKeysymToKeycode(display, XK_KP_1);
    if (!kp)
        GTEST_SKIP() << "no keypad in the keymap";
    XEvent ev = Key(XK_KP_1, 300000);
    KeySym sym = tslGetKey(w, &ev);
    EXPECT_NE((KeySym)-1, sym);
    EXPECT_EQ(sym, tslConvertTenKeyCode(&ev.xkey));
}

TEST_F(KeyInput, StringWithoutInputContext)
{
    g_tessel.charCode = TSL_CODE_EUC;
    int len = -1;
    XEvent a = Key(XK_a, 1);
    char* text = tslGetString(w, &a, &len);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(1, len);
    EXPECT_STREQ("a", text);

    XEvent upper = Key(XK_a, 2, ShiftMask);
    text = tslGetString(w, &upper, &len);
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ("A", text);

    XEvent shift = Key(XK_Shift_L, 3);
    text = tslGetString(w, &shift, &len);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(0, len);
    EXPECT_STREQ("", text);

    XEvent ret = Key(XK_Return, 4);
    text = tslGetString(w, &ret, &len);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(1, len);
    EXPECT_EQ('\r', text[0]);
}

TEST_F(KeyInput, StringRefusesOtherEventsAndEmptiesTheBuffer)
{
    int len = 7;
    XEvent a = Key(XK_a, 1);
    char* text = tslGetString(w, &a, &len);
    ASSERT_NE(nullptr, text);
    XEvent motion{};
    motion.type = MotionNotify;
    EXPECT_EQ(nullptr, tslGetString(w, &motion, &len));
    EXPECT_EQ(0, len);
    EXPECT_STREQ("", text) << "the static buffer is emptied at each call";
    len = 7;
    EXPECT_EQ(nullptr, tslGetString(nullptr, &a, &len));
    EXPECT_EQ(0, len);
    EXPECT_STREQ("a", tslGetString(w, &a, nullptr)) << "the length is optional";
}

// Text fetched again after an input-method overflow is cut to the buffer
// without splitting a two-byte character.
TEST(KeyInputText, OverlongTextIsCutAtACharacterBoundary)
{
    std::string old = setlocale(LC_ALL, nullptr);
    if (!setlocale(LC_ALL, "ja_JP.EUC-JP"))
        GTEST_SKIP() << "ja_JP.EUC-JP locale not available";
    const std::string kana = "\xa4\xa2";
    std::string split = std::string(4998, 'a') + kana;
    EXPECT_EQ(4998, keyinput_whole_chars(split.data(), split.size(), 4999));
    std::string fits = std::string(4997, 'a') + kana;
    EXPECT_EQ(4999, keyinput_whole_chars(fits.data(), fits.size(), 4999));
    std::string wide;
    for (int i = 0; i < 3000; i++)
        wide += kana;
    EXPECT_EQ(4998, keyinput_whole_chars(wide.data(), wide.size(), 4999));
    EXPECT_EQ(0, keyinput_whole_chars(wide.data(), 0, 4999));
    // A lone lead byte at the end is taken as one byte, not read past.
    std::string lone = "ab\xa4";
    EXPECT_EQ(3, keyinput_whole_chars(lone.data(), lone.size(), 4999));
    setlocale(LC_ALL, old.c_str());
}

}  // namespace
