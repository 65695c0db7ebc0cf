// Start-up and shutdown: standard options, the [Tessel] resources written on
// first start and read back later, font fallbacks, and a shutdown that leaves
// nothing of the program on the server.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/startup_private.h"
#include "core/window_private.h"
#include "tessel.h"
#include "xenv.h"

#include <X11/extensions/XRes.h>

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

namespace {

const char* kDefaults =
    "[Tessel]\n"
    "BackColor=DimGrey\n"
    "BorderColor=black\n"
    "FontColor=grey\n"
    "PaperColor=DimGrey\n"
    "ActionColor=blue\n"
    "Interval=35\n"
    "DoubleClickTime=300\n"
    "MouseRightHand=TRUE\n"
    "MouseButton=3\n"
    "TenKey=TRUE\n"
    "CharCode=EUC\n"
    "IM=TRUE\n"
    "Font=-misc-*-*-*-*-*-14-*-*-*-*-*-jisx0201.1976-0\n"
    "FontKanji=-misc-*-*-*-*-*-14-*-*-*-*-*-*-0\n"
    "WallImage=\n";

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void write_file(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Replaces the value of one key line of a resource text.
std::string with_value(std::string text, const std::string& key, const std::string& value)
{
    size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos)
        return text;
    size_t start = at + key.size() + 2;
    size_t end = text.find('\n', start);
    return text.replace(start, end - start, value);
}

class Startup : public ::testing::Test {
protected:
    std::string home;
    std::string savedHome;
    bool hadHome = false;
    Display* dpy = nullptr;

    void SetUp() override
    {
        if (!getenv("DISPLAY"))
            GTEST_SKIP() << "no X display";
        const char* h = getenv("HOME");
        hadHome = h != nullptr;
        if (h)
            savedHome = h;
        home = xenv_tempdir();
        setenv("HOME", home.c_str(), 1);
    }
    void TearDown() override
    {
        if (dpy)
            tslCloseDisplay(dpy);
        if (hadHome)
            setenv("HOME", savedHome.c_str(), 1);
        else
            unsetenv("HOME");
        xenv_rmdir(home);
    }
    std::string rc() const { return home + "/.tslrc"; }
    Display* start(const char* env = "DISPLAY")
    {
        std::string name = getenv(env);
        char a0[] = "/usr/local/bin/prog";
        char a1[] = "-d";
        std::vector<char> a2(name.begin(), name.end());
        a2.push_back('\0');
        char* argv[] = {a0, a1, a2.data(), nullptr};
        dpy = tslOpenDisplay(3, argv);
        return dpy;
    }
    void stop()
    {
        tslCloseDisplay(dpy);
        dpy = nullptr;
    }
};

TEST_F(Startup, FirstStartWritesAllKeysInOrderAndFillsTheRecord)
{
    CaptureStderr();
    ASSERT_NE(start(), nullptr);
    GetCapturedStderr();
    EXPECT_EQ(read_file(rc()), kDefaults);

    EXPECT_STREQ(g_tessel.version, "Ver01.02");
    EXPECT_STREQ(g_tessel.programName, "prog");
    EXPECT_STREQ(g_tessel.displayName, getenv("DISPLAY"));
    EXPECT_STREQ(g_tessel.geometry, "");
    EXPECT_EQ(g_tessel.display, dpy);
    EXPECT_EQ(g_tessel.screenWidth, DisplayWidth(dpy, 0));
    EXPECT_EQ(g_tessel.screenHeight, DisplayHeight(dpy, 0));
    EXPECT_EQ(g_tessel.depth, DefaultDepth(dpy, 0));
    EXPECT_EQ(g_tessel.colormap, DefaultColormap(dpy, 0));
    EXPECT_EQ(g_tessel.colormapTable, nullptr);
    EXPECT_EQ(g_tessel.cursorCount, 3);
    EXPECT_EQ(g_tessel.imageCount, 21);
    EXPECT_EQ(g_tessel.colorCount, 16);
    for (int i = 0; i < TSL_CURSOR_COUNT; i++)
        EXPECT_NE(g_tessel.cursors[i], 0u) << i;
    for (int i = 0; i < TSL_IMAGE_COUNT; i++)
        EXPECT_NE(g_tessel.images[i], nullptr) << i;
    EXPECT_EQ(g_tessel.images[12]->width, 100);
    EXPECT_EQ(g_tessel.images[18]->height, 13);
    EXPECT_EQ(g_tessel.interval, 35);
    EXPECT_EQ(g_tessel.doubleClickTime, 300);
    EXPECT_EQ(g_tessel.mouseRightHand, 1);
    EXPECT_EQ(g_tessel.mouseButton, 3);
    EXPECT_EQ(g_tessel.tenKey, 1);
    EXPECT_EQ(g_tessel.charCode, TSL_CODE_EUC);
    EXPECT_EQ(g_tessel.useIM, 1);
    EXPECT_STREQ(g_tessel.colorNames[0], "DimGrey");
    EXPECT_STREQ(g_tessel.colorNames[3], "grey");
    EXPECT_STREQ(g_tessel.colorNames[8], "DimGrey");
    EXPECT_STREQ(g_tessel.colorNames[7], "blue");
    EXPECT_EQ(g_tessel.wallImage, nullptr);
    ASSERT_NE(g_tessel.font, nullptr);
    ASSERT_NE(g_tessel.fontKanji, nullptr);
    // The Kanji font holds two-byte glyphs, made for 14 pixels.
    EXPECT_GT(g_tessel.fontKanji->max_byte1, 0u);
    XChar2b kan = {0x34, 0x41};
    EXPECT_EQ(XTextWidth16(g_tessel.fontKanji, &kan, 1), 14);
    EXPECT_NE(g_tessel.gc, nullptr);
    EXPECT_NE(g_tessel.kanjiGC, nullptr);

    XGCValues v;
    XGetGCValues(dpy, g_tessel.backGC, GCForeground, &v);
    EXPECT_EQ(v.foreground, g_tessel.backPixel);
    XGetGCValues(dpy, g_tessel.fontGC, GCForeground | GCGraphicsExposures | GCFont, &v);
    EXPECT_EQ(v.foreground, g_tessel.fontPixel);
    EXPECT_FALSE(v.graphics_exposures);
    EXPECT_EQ(v.font, g_tessel.font->fid);

    // The standard colours are the listed RGB values.
    int r, g, b;
    tslGetRGB(dpy, g_tessel.colormap, g_tessel.colors[15], &r, &g, &b);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 128);
    EXPECT_EQ(b, 128);
    tslGetRGB(dpy, g_tessel.colormap, g_tessel.borderPixel, &r, &g, &b);
    EXPECT_EQ(r + g + b, 0);

    // A second start reads what the first wrote and writes nothing.
    stop();
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(read_file(rc()), kDefaults);
}

TEST_F(Startup, SecondStartReadsChangedValues)
{
    std::string text = kDefaults;
    text = with_value(text, "Interval", "50");
    text = with_value(text, "CharCode", "SJIS");
    text = with_value(text, "DoubleClickTime", "  450  ");
    text = with_value(text, "MouseRightHand", "true");
    text = with_value(text, "MouseButton", "2");
    text = with_value(text, "TenKey", "TRUEISH");
    text = with_value(text, "IM", "FALSE");
    text = with_value(text, "BackColor", "#FF0000");
    write_file(rc(), text);

    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(g_tessel.interval, 50);
    EXPECT_EQ(g_tessel.charCode, TSL_CODE_SJIS);
    EXPECT_EQ(g_tessel.doubleClickTime, 450);
    EXPECT_EQ(g_tessel.mouseRightHand, 0);
    EXPECT_EQ(g_tessel.mouseButton, 2);
    EXPECT_EQ(g_tessel.tenKey, 1);
    EXPECT_EQ(g_tessel.useIM, 0);
    EXPECT_EQ(g_tessel.im, nullptr);
    EXPECT_STREQ(g_tessel.colorNames[5], "#FF0000");
    int r, g, b;
    tslGetRGB(dpy, g_tessel.colormap, g_tessel.backPixel, &r, &g, &b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g + b, 0);
    EXPECT_EQ(read_file(rc()), text);
}

TEST_F(Startup, NumbersAndCodesAtTheirLimits)
{
    std::string text = with_value(kDefaults, "Interval", "0");
    text = with_value(text, "CharCode", "JIS");
    text = with_value(text, "IM", "FALSE");
    write_file(rc(), text);
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(g_tessel.interval, 1);
    EXPECT_EQ(g_tessel.charCode, TSL_CODE_ASCII);
    stop();

    text = with_value(text, "Interval", "fast");
    text = with_value(text, "CharCode", "euc");
    text = with_value(text, "DoubleClickTime", "99999999999999999999");
    write_file(rc(), text);
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(g_tessel.interval, 1);
    EXPECT_EQ(g_tessel.charCode, TSL_CODE_ASCII);
    EXPECT_EQ(g_tessel.doubleClickTime, 2147483647);
}

TEST_F(Startup, MissingKeysAreCompletedWithoutTouchingOthers)
{
    write_file(rc(), "[Other]\nA=1\n\n[Tessel]\nInterval=20\nIM=FALSE\n");
    CaptureStderr();
    ASSERT_NE(start(), nullptr);
    GetCapturedStderr();
    EXPECT_EQ(g_tessel.interval, 20);
    std::string got = read_file(rc());
    EXPECT_EQ(got.rfind("[Other]\nA=1\n\n[Tessel]\n", 0), 0u) << got;
    EXPECT_NE(got.find("Interval=20\n"), std::string::npos);
    EXPECT_NE(got.find("BackColor=DimGrey\n"), std::string::npos);
    EXPECT_NE(got.find("WallImage=\n"), std::string::npos);
    EXPECT_EQ(got.find("Interval=35"), std::string::npos);
}

TEST_F(Startup, BadFontsFallBackWithTheirMessages)
{
    std::string text = with_value(kDefaults, "Font", "-nosuch-font-a");
    text = with_value(text, "FontKanji", "-nosuch-font-b");
    text = with_value(text, "IM", "FALSE");
    write_file(rc(), text);
    CaptureStderr();
    ASSERT_NE(start(), nullptr);
    std::string err = GetCapturedStderr();
    EXPECT_NE(err.find("Error: Tessel RC file - Can't load font(-nosuch-font-a).\n"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("Error: Tessel RC file - Can't load Kanji font(-nosuch-font-b).\n"),
              std::string::npos)
        << err;
    ASSERT_NE(g_tessel.font, nullptr);
    EXPECT_EQ(g_tessel.fontKanji, g_tessel.font);
    // Text still draws with the fallback font.
    Pixmap pm = XCreatePixmap(dpy, RootWindow(dpy, 0), 40, 20, (unsigned)g_tessel.depth);
    EXPECT_EQ(tslDrawText(dpy, pm, nullptr, nullptr, g_tessel.colors[1], g_tessel.colors[0], 0, 0,
                          "Ab\xB4\xC1"),
              1);
    EXPECT_EQ(xenv_pixel(dpy, pm, 0, 0) == g_tessel.colors[0] ||
                  xenv_pixel(dpy, pm, 0, 0) == g_tessel.colors[1],
              true);
    XFreePixmap(dpy, pm);
}

TEST_F(Startup, WithoutHomeNothingIsWrittenAndDefaultsHold)
{
    unsetenv("HOME");
    CaptureStderr();
    ASSERT_NE(start(), nullptr);
    GetCapturedStderr();
    EXPECT_EQ(access(rc().c_str(), F_OK), -1);
    EXPECT_EQ(g_tessel.interval, 35);
    EXPECT_EQ(g_tessel.charCode, TSL_CODE_EUC);
    EXPECT_STREQ(g_tessel.colorNames[1], "black");
    EXPECT_NE(g_tessel.font, nullptr);
    stop();

    // An empty HOME counts as none: nothing lands at the file-system root.
    bool rootFileBefore = access("/.tslrc", F_OK) == 0;
    setenv("HOME", "", 1);
    CaptureStderr();
    ASSERT_NE(start(), nullptr);
    GetCapturedStderr();
    EXPECT_EQ(access("/.tslrc", F_OK) == 0, rootFileBefore);
    EXPECT_EQ(g_tessel.doubleClickTime, 300);
}

TEST(StartupArgs, OptionsAreParsedAndTruncatedSafely)
{
    memset(&g_tessel, 0, sizeof g_tessel);
    char prog[] = "/opt/x/pictel";
    char d[] = "-d";
    char g[] = "-g";
    char disp1[] = ":7";
    char geo[] = "100x80+5+6";
    char pic[] = "pic.bmp";
    char* argv1[] = {prog, d, disp1, pic, g, geo, nullptr};
    EXPECT_EQ(ArgInit(6, argv1), 1);
    EXPECT_STREQ(g_tessel.programName, "pictel");
    EXPECT_STREQ(g_tessel.displayName, ":7");
    EXPECT_STREQ(g_tessel.geometry, "100x80+5+6");

    // "-g" as the last word is ignored; a second -display wins.
    memset(&g_tessel, 0, sizeof g_tessel);
    char display[] = "-display";
    char disp2[] = ":8";
    char* argv2[] = {prog, display, disp1, d, disp2, g, nullptr};
    EXPECT_EQ(ArgInit(6, argv2), 1);
    EXPECT_STREQ(g_tessel.displayName, ":8");
    EXPECT_STREQ(g_tessel.geometry, "");

    std::string longName(200, 'x');
    std::string longGeo(300, '9');
    std::string longProg = "/bin/" + std::string(150, 'p');
    char* argv3[] = {&longProg[0], d, &longName[0], g, &longGeo[0], nullptr};
    memset(&g_tessel, 0, sizeof g_tessel);
    g_tessel.version[0] = 'V';
    EXPECT_EQ(ArgInit(5, argv3), 1);
    EXPECT_EQ(strlen(g_tessel.displayName), 31u);
    EXPECT_EQ(strlen(g_tessel.geometry), 79u);
    EXPECT_EQ(strlen(g_tessel.programName), 79u);
    EXPECT_EQ(g_tessel.version[0], 'V');

    EXPECT_EQ(ArgInit(0, argv1), 0);
    EXPECT_EQ(ArgInit(3, nullptr), 0);
    memset(&g_tessel, 0, sizeof g_tessel);
}

TEST(StartupArgs, HelpPrintsTheStandardUsage)
{
    memset(&g_tessel, 0, sizeof g_tessel);
    strcpy(g_tessel.version, "Ver01.02");
    char prog[] = "./pictel";
    char help[] = "--?";
    char* argv[] = {prog, help, nullptr};
    CaptureStderr();
    EXPECT_EQ(ArgInit(2, argv), 1);
    std::string err = GetCapturedStderr();
    EXPECT_EQ(err,
              "*** Multi Media Tessel(Ver01.02) Standard command ***\n"
              "\n"
              " Usage: pictel [-display <name>] [-geometry <WxH+X+Y>] [-help]\n\n"
              " display <name> (or -d)     ... Name of the X server\n"
              " geometry <WxH+X+Y> (or -g) ... Set window size & position\n"
              "                                (size: WidthxHeight, position: +-X +-Y)\n"
              " help(or -h, -?)            ... This message\n"
              "\n"
              "*** Application command ***\n\n");
    memset(&g_tessel, 0, sizeof g_tessel);
}

TEST(StartupDeath, UnopenableDisplayExitsWithStatusOne)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    char prog[] = "prog";
    char d[] = "-d";
    char name[] = ":4321";
    char* argv[] = {prog, d, name, nullptr};
    EXPECT_EXIT(tslOpenDisplay(3, argv), ::testing::ExitedWithCode(1),
                "Error: \\[:4321\\] can't open display\\.");
}

// Windows, pixmaps, GCs, cursors and fonts a connection still owns, by type.
// Colour cells are left out: other modules allocate them too, and the server
// reclaims them with the client.
std::string leftovers(Display* spy, XID base)
{
    static const char* const kinds[] = {"WINDOW", "PIXMAP", "GC", "CURSOR", "FONT"};
    int count = 0;
    XResType* types = nullptr;
    std::string out;
    if (!XResQueryClientResources(spy, base, &count, &types))
        return out;
    for (int i = 0; i < count; i++) {
        if (types[i].count == 0)
            continue;
        char* name = XGetAtomName(spy, types[i].resource_type);
        std::string kind = name ? name : "?";
        if (name)
            XFree(name);
        for (const char* k : kinds)
            if (kind == k)
                out += kind + "=" + std::to_string(types[i].count) + " ";
    }
    XFree(types);
    return out;
}

TEST_F(Startup, ShutdownLeavesNoResourceOnTheServer)
{
    Display* spy = XOpenDisplay(getenv("DISPLAY"));
    ASSERT_NE(spy, nullptr);
    int evBase, errBase;
    ASSERT_TRUE(XResQueryExtension(spy, &evBase, &errBase));

    CaptureStderr();
    ASSERT_NE(start(), nullptr);
    GetCapturedStderr();
    XSetCloseDownMode(dpy, RetainTemporary);

    TslWindow* top = tslCreateWindow(dpy, nullptr, tslPos(10, 10), tslSize(200, 100), 0, "top",
                                     nullptr);
    ASSERT_NE(top, nullptr);
    TslWindow* child = tslCreateWindow(dpy, top, tslPos(5, 5), tslSize(50, 30), 1, "child",
                                       nullptr);
    ASSERT_NE(child, nullptr);
    TslWindow* other = tslCreateWindow(dpy, nullptr, tslPos(300, 10), tslSize(60, 60), 0, nullptr,
                                       nullptr);
    ASSERT_NE(other, nullptr);
    Window topX = top->xwin;
    XSync(dpy, False);

    XID gcId = XGContextFromGC(g_tessel.gc);
    int nClients = 0;
    XResClient* clients = nullptr;
    ASSERT_TRUE(XResQueryClients(spy, &nClients, &clients));
    XID base = 0;
    for (int i = 0; i < nClients; i++)
        if ((gcId & ~clients[i].resource_mask) == clients[i].resource_base)
            base = clients[i].resource_base;
    XFree(clients);
    ASSERT_NE(base, 0u);
    EXPECT_NE(leftovers(spy, base), "");

    stop();
    EXPECT_EQ(g_tslTesselManager, nullptr);
    EXPECT_EQ(g_tessel.display, nullptr);
    XSync(spy, False);
    EXPECT_EQ(leftovers(spy, base), "");
    XWindowAttributes attr;
    XSync(spy, False);
    EXPECT_EQ(XGetWindowAttributes(spy, topX, &attr), 0);

    XKillClient(spy, AllTemporary);
    XCloseDisplay(spy);
}

TEST_F(Startup, EightBitScreenGetsAColourCubeTable)
{
    for (const char* env : {"TSL_DISPLAY_8", "TSL_DISPLAY_16"}) {
        if (!getenv(env))
            GTEST_SKIP() << env << " not set";
        CaptureStderr();
        ASSERT_NE(start(env), nullptr);
        GetCapturedStderr();
        int eight = std::string(env) == "TSL_DISPLAY_8";
        EXPECT_EQ(g_tessel.depth, eight ? 8 : 16);
        EXPECT_EQ(g_tessel.colormapTable != nullptr, eight == 1) << env;
        for (int i = 0; i < TSL_IMAGE_COUNT; i++)
            EXPECT_NE(g_tessel.images[i], nullptr) << env << " " << i;
        int r, g, b;
        tslGetRGB(dpy, g_tessel.colormap, g_tessel.colors[1], &r, &g, &b);
        EXPECT_GT(r + g + b, 600) << env;
        stop();
    }
}

const char* kWallXpm =
    "/* XPM */\n"
    "static char* wall[] = {\n"
    "\"4 3 2 1\",\n"
    "\"a c #FF0000\",\n"
    "\". c None\",\n"
    "\"aa.a\",\n"
    "\"a..a\",\n"
    "\"aaaa\"};\n";

TEST_F(Startup, WallImageIsLoadedAndReleasedWithTheWindows)
{
    Display* spy = XOpenDisplay(getenv("DISPLAY"));
    ASSERT_NE(spy, nullptr);
    std::string wall = home + "/wall.xpm";
    write_file(wall, kWallXpm);
    write_file(rc(), with_value(with_value(kDefaults, "WallImage", wall), "IM", "FALSE"));
    CaptureStderr();
    ASSERT_NE(start(), nullptr);
    GetCapturedStderr();
    ASSERT_NE(g_tessel.wallImage, nullptr);
    EXPECT_EQ(g_tessel.wallImage->width, 4);
    EXPECT_EQ(g_tessel.wallImage->height, 3);
    EXPECT_NE(g_tessel.wallImage->mask, 0u);

    XSetCloseDownMode(dpy, RetainTemporary);
    TslWindow* w = tslCreateWindow(dpy, nullptr, tslPos(0, 0), tslSize(20, 20), 0, "w", nullptr);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->wallPaper, g_tessel.wallImage);
    XID base = XGContextFromGC(g_tessel.gc);
    stop();
    int nClients = 0;
    XResClient* clients = nullptr;
    ASSERT_TRUE(XResQueryClients(spy, &nClients, &clients));
    for (int i = 0; i < nClients; i++)
        if ((base & ~clients[i].resource_mask) == clients[i].resource_base) {
            EXPECT_EQ(leftovers(spy, clients[i].resource_base), "");
        }
    XFree(clients);
    XKillClient(spy, AllTemporary);
    XCloseDisplay(spy);
}

TEST_F(Startup, UnreadableWallImageMeansNone)
{
    write_file(rc(), with_value(with_value(kDefaults, "WallImage", home + "/missing.bmp"), "IM",
                                "FALSE"));
    CaptureStderr();
    ASSERT_NE(start(), nullptr);
    GetCapturedStderr();
    EXPECT_EQ(g_tessel.wallImage, nullptr);
}

}  // namespace
