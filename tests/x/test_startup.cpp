// Start-up and shutdown: standard options, the [Tessel] resources written on
// first start and read back later, font fallbacks, and a shutdown that leaves
// nothing of the program on the server.
#include "testutil.h"
#include "xfixture.h"
#include "xres_counts.h"

#include <X11/extensions/XRes.h>

#include <cstring>

#include "core/startup_private.h"
#include "core/window_private.h"

namespace {

const char* kDefaults =
    "[Tessel]\nBackColor=DimGrey\nBorderColor=black\nFontColor=grey\nPaperColor=DimGrey\nActionColor=blue\n"
    "Interval=35\nDoubleClickTime=300\nMouseRightHand=TRUE\nMouseButton=3\nTenKey=TRUE\nCharCode=EUC\nIM=TRUE\n"
    "Font=-misc-*-*-*-*-*-14-*-*-*-*-*-jisx0201.1976-0\nFontKanji=-misc-*-*-*-*-*-14-*-*-*-*-*-*-0\nWallImage=\n";

// The resource text with the given keys' values replaced.
std::string with(std::string text, const std::vector<std::pair<std::string, std::string>>& values)
{
    for (auto& kv : values) {
        size_t at = text.find("\n" + kv.first + "=");
        if (at == std::string::npos)
            continue;
        size_t start = at + kv.first.size() + 2;
        text.replace(start, text.find('\n', start) - start, kv.second);
    }
    return text;
}

// Windows, pixmaps, GCs, cursors and fonts still owned by the client of
// anyId.  Colour cells are left out: other modules allocate them too, and
// the server reclaims them with the client.
int leftovers(Display* spy, XID anyId)
{
    int total = 0;
    for (const auto& [kind, count] : xres_counts(spy, anyId))
        if (strstr(" WINDOW PIXMAP GC CURSOR FONT ", (" " + kind + " ").c_str()))
            total += count;
    return total;
}

class Startup : public ::testing::Test {
protected:
    tu::TempHome home;
    Display* dpy = nullptr;

    void SetUp() override
    {
        if (!getenv("DISPLAY"))
            GTEST_SKIP() << "no X display";
        // No input-method server is named: the start-up leaves it unopened.
        unsetenv("XMODIFIERS");
    }
    void TearDown() override { stop(); }
    std::string rc() const { return home / ".tslrc"; }
    Display* start(const char* env = "DISPLAY")
    {
        std::string name = getenv(env);
        char a0[] = "/usr/local/bin/prog", a1[] = "-d";
        char* argv[] = {a0, a1, &name[0], nullptr};
        tu::stderr_of([&] { dpy = tslOpenDisplay(3, argv); });
        return dpy;
    }
    void stop()
    {
        if (dpy)
            tslCloseDisplay(dpy);
        dpy = nullptr;
    }
    // interval, code, double click, right hand, button, ten key, IM
    static std::vector<int> numbers()
    {
        return {g_tessel.interval, g_tessel.charCode, g_tessel.doubleClickTime, g_tessel.mouseRightHand,
                g_tessel.mouseButton, g_tessel.tenKey, g_tessel.useIM};
    }
    int rgb(unsigned long pixel)
    {
        int r, g, b;
        tslGetRGB(dpy, g_tessel.colormap, pixel, &r, &g, &b);
        return r << 16 | g << 8 | b;
    }
};

}  // namespace

TEST_F(Startup, FirstStartWritesAllKeysInOrderAndFillsTheRecord)
{
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(tu::read_file(rc()), kDefaults);
    for (int i = 0; i < TSL_IMAGE_COUNT; i++)
        EXPECT_NE(g_tessel.images[i], nullptr) << i;
    EXPECT_TRUE(g_tessel.cursors[0] && g_tessel.cursors[1] && g_tessel.cursors[2]);
    EXPECT_EQ(numbers(), (std::vector<int>{35, TSL_CODE_EUC, 300, 1, 3, 1, 1}));
    EXPECT_EQ(std::string(g_tessel.colorNames[0]) + g_tessel.colorNames[3] + g_tessel.colorNames[7], "DimGreygreyblue");
    // The Kanji font holds two-byte glyphs made for 14 pixels; the text GC
    // draws with the text font and colour, without exposure events.
    XChar2b kan = {0x34, 0x41};
    EXPECT_EQ(XTextWidth16(g_tessel.fontKanji, &kan, 1), 14);
    XGCValues v;
    XGetGCValues(dpy, g_tessel.fontGC, GCForeground | GCGraphicsExposures | GCFont, &v);
    EXPECT_TRUE(v.foreground == g_tessel.fontPixel && !v.graphics_exposures && v.font == g_tessel.font->fid);
    // With no server named or announced, the input method and its font set
    // are made only once asked for.
    EXPECT_TRUE(g_tessel.im == nullptr && g_tessel.fontSet == nullptr);
    EXPECT_TRUE(tslIsOpenIM_XIM() && g_tessel.im && g_tessel.fontSet);
    stop();  // a second start reads what the first wrote and writes nothing
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(tu::read_file(rc()), kDefaults);
}

// Values read back, and numbers and codes at their limits; a complete file
// is left as it was.
TEST_F(Startup, ChangedValuesAreRead)
{
    const struct {
        std::vector<std::pair<std::string, std::string>> values;
        std::vector<int> want;
    } cases[] = {
        {{{"Interval", "50"}, {"CharCode", "SJIS"}, {"DoubleClickTime", "  450  "}, {"MouseRightHand", "true"},
          {"MouseButton", "2"}, {"TenKey", "TRUEISH"}, {"IM", "FALSE"}, {"BackColor", "#FF0000"}},
         {50, TSL_CODE_SJIS, 450, 0, 2, 1, 0}},
        {{{"Interval", "0"}, {"CharCode", "JIS"}, {"IM", "FALSE"}}, {1, TSL_CODE_ASCII, 300, 1, 3, 1, 0}},
        {{{"Interval", "fast"}, {"CharCode", "euc"}, {"IM", "FALSE"}, {"DoubleClickTime", "99999999999999999999"}},
         {1, TSL_CODE_ASCII, 2147483647, 1, 3, 1, 0}},
    };
    for (const auto& c : cases) {
        std::string text = with(kDefaults, c.values);
        tu::write_file(rc(), text);
        ASSERT_NE(start(), nullptr);
        EXPECT_EQ(numbers(), c.want);
        EXPECT_TRUE(!g_tessel.im && tu::read_file(rc()) == text);
        EXPECT_TRUE(&c != cases || (!strcmp(g_tessel.colorNames[5], "#FF0000") && rgb(g_tessel.backPixel) == 0xFF0000));
        stop();
    }
    // Missing keys are completed without touching the others.
    tu::write_file(rc(), std::string("[Other]\nA=1\n\n[Tessel]\nInterval=20\nIM=FALSE\n"));
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(g_tessel.interval, 20);
    std::string got = tu::read_file(rc());
    EXPECT_TRUE(tu::starts_with(got, "[Other]\nA=1\n\n[Tessel]\n")) << got;
    for (const char* line : {"Interval=20\n", "BackColor=DimGrey\n", "WallImage=\n"})
        EXPECT_NE(got.find(line), std::string::npos) << line;
    EXPECT_EQ(got.find("Interval=35"), std::string::npos);
}

// Fonts the server lacks fall back with their messages, and text still
// draws; a wall picture that cannot be read is none.
TEST_F(Startup, BadResourcesFallBack)
{
    tu::write_file(rc(), with(kDefaults, {{"Font", "-nosuch-font-a"}, {"FontKanji", "-nosuch-font-b"}, {"IM", "FALSE"},
                                          {"WallImage", home / "missing.bmp"}}));
    char a0[] = "prog";
    char* argv[] = {a0, nullptr};
    std::string err = tu::stderr_of([&] { dpy = tslOpenDisplay(1, argv); });
    ASSERT_NE(dpy, nullptr);
    EXPECT_NE(err.find("Error: Tessel RC file - Can't load font(-nosuch-font-a).\n"), std::string::npos) << err;
    EXPECT_NE(err.find("Error: Tessel RC file - Can't load Kanji font(-nosuch-font-b).\n"), std::string::npos) << err;
    ASSERT_TRUE(g_tessel.font && g_tessel.fontKanji == g_tessel.font && !g_tessel.wallImage);
    Pixmap pm = XCreatePixmap(dpy, RootWindow(dpy, 0), 40, 20, (unsigned)g_tessel.depth);
    EXPECT_EQ(tslDrawText(dpy, pm, nullptr, nullptr, g_tessel.colors[1], g_tessel.colors[0], 0, 0, "Ab\xB4\xC1"), 1);
    EXPECT_EQ(xenv_pixel(dpy, pm, 0, 0), g_tessel.colors[0]);
    XFreePixmap(dpy, pm);
}

TEST_F(Startup, WithoutHomeNothingIsWrittenAndDefaultsHold)
{
    unsetenv("HOME");
    ASSERT_NE(start(), nullptr);
    EXPECT_TRUE(access(rc().c_str(), F_OK) == -1 && g_tessel.interval == 35 && !strcmp(g_tessel.colorNames[1], "black"));
    stop();
    // An empty HOME counts as none: nothing lands at the file-system root.
    bool rootFileBefore = access("/.tslrc", F_OK) == 0;
    setenv("HOME", "", 1);
    ASSERT_NE(start(), nullptr);
    EXPECT_TRUE((access("/.tslrc", F_OK) == 0) == rootFileBefore && g_tessel.doubleClickTime == 300);
}

TEST(StartupArgs, OptionsAreParsedAndTruncatedSafely)
{
    char prog[] = "/opt/x/pictel", d[] = "-d", g[] = "-g", disp1[] = ":7", geo[] = "100x80+5+6", pic[] = "pic.bmp";
    char display[] = "-display", disp2[] = ":8";
    std::string longName(200, 'x'), longGeo(300, '9'), longProg = "/bin/" + std::string(150, 'p');
    // "-g" as the last word is ignored; a second -display wins; long words are cut to their fields.
    char* argv1[] = {prog, d, disp1, pic, g, geo, nullptr};
    char* argv2[] = {prog, display, disp1, d, disp2, g, nullptr};
    char* argv3[] = {&longProg[0], d, &longName[0], g, &longGeo[0], nullptr};
    const std::pair<char**, const char*> cases[] = {
        {argv1, "pictel :7 100x80+5+6"}, {argv2, "pictel :8 "}, {argv3, nullptr}};
    for (const auto& c : cases) {
        memset(&g_tessel, 0, sizeof g_tessel);
        g_tessel.version[0] = 'V';
        EXPECT_EQ(ArgInit(c.first == argv3 ? 5 : 6, c.first), 1);
        std::string got = std::string(g_tessel.programName) + " " + g_tessel.displayName + " " + g_tessel.geometry;
        EXPECT_EQ(got, c.second ? c.second : std::string(79, 'p') + " " + longName.substr(0, 31) + " " + longGeo.substr(0, 79));
        EXPECT_EQ(g_tessel.version[0], 'V');
    }
    EXPECT_EQ(ArgInit(0, argv1) + ArgInit(3, nullptr), 0);

    strcpy(g_tessel.version, "Ver01.02");
    char help[] = "--?", dot[] = "./pictel";
    char* argv4[] = {dot, help, nullptr};
    std::string usage = tu::stderr_of([&] { EXPECT_EQ(ArgInit(2, argv4), 1); });
    EXPECT_TRUE(tu::starts_with(usage, "*** Multi Media Tessel(Ver01.02) Standard command ***\n\n Usage: pictel [") &&
                usage.find("\n help(or -h, -?)            ... This message\n\n*** Application command ***\n\n") ==
                    usage.size() - 76) << usage;
    memset(&g_tessel, 0, sizeof g_tessel);
}

TEST(StartupDeath, UnopenableDisplayExitsWithStatusOne)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    char prog[] = "prog", d[] = "-d", name[] = ":4321";
    char* argv[] = {prog, d, name, nullptr};
    EXPECT_EXIT(tslOpenDisplay(3, argv), ::testing::ExitedWithCode(1), "Error: \\[:4321\\] can't open display\\.");
}

TEST_F(Startup, ShutdownLeavesNoResourceOnTheServer)
{
    std::string wall = tu::write_file(home / "wall.xpm", std::string("/* XPM */\nstatic char* wall[] = {\n\"4 3 2 1\",\n"
                                                                     "\"a c #FF0000\",\n\". c None\",\n\"aa.a\",\n\"a..a\",\n\"aaaa\"};\n"));
    Display* spy = XOpenDisplay(getenv("DISPLAY"));
    int evBase, errBase;
    ASSERT_TRUE(spy && XResQueryExtension(spy, &evBase, &errBase));
    tu::write_file(rc(), with(kDefaults, {{"WallImage", wall}, {"IM", "FALSE"}}));
    ASSERT_NE(start(), nullptr);
    ASSERT_TRUE(g_tessel.wallImage && g_tessel.wallImage->width == 4 && g_tessel.wallImage->mask);
    XSetCloseDownMode(dpy, RetainTemporary);
    TslWindow* top = tslCreateWindow(dpy, nullptr, tslPos(10, 10), tslSize(200, 100), 0, "top", nullptr);
    ASSERT_TRUE(top && top->wallPaper == g_tessel.wallImage);
    ASSERT_NE(tslCreateWindow(dpy, top, tslPos(5, 5), tslSize(50, 30), 1, "child", nullptr), nullptr);
    ASSERT_NE(tslCreateWindow(dpy, nullptr, tslPos(300, 10), tslSize(60, 60), 0, nullptr, nullptr), nullptr);
    XID gcId = XGContextFromGC(g_tessel.gc);
    XSync(dpy, False);
    EXPECT_GT(leftovers(spy, gcId), 0);

    stop();
    EXPECT_TRUE(!g_tslTesselManager && !g_tessel.display);
    XSync(spy, False);
    EXPECT_EQ(leftovers(spy, gcId), 0);
    XKillClient(spy, AllTemporary);
    XCloseDisplay(spy);
}

TEST_F(Startup, OtherDepths)
{
    for (const char* env : {"TSL_DISPLAY_8", "TSL_DISPLAY_16"}) {
        if (!getenv(env))
            GTEST_SKIP() << env << " not set";
        ASSERT_NE(start(env), nullptr);
        bool eight = std::string(env) == "TSL_DISPLAY_8";
        EXPECT_TRUE(g_tessel.depth == (eight ? 8 : 16) && (g_tessel.colormapTable != nullptr) == eight) << env;
        for (int i = 0; i < TSL_IMAGE_COUNT; i++)
            EXPECT_NE(g_tessel.images[i], nullptr) << env << " " << i;
        EXPECT_EQ(rgb(g_tessel.colors[1]), 0xFFFFFF) << env;
        stop();
    }
}
