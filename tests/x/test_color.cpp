// Colours on real servers: TrueColor at depths 24 and 16 (pixels the
// client works out must be the server's), PseudoColor at depth 8 with a full
// colormap, names, variants and the colour-cube tables.
#include <algorithm>
#include <array>

#include "xfixture.h"

#include <X11/xpm.h>

namespace {

class ColorServer : public ::testing::Test, protected XDisplayTest {
protected:
    void TearDown() override { close_display(); }
    Colormap cmap() const { return g_tessel.colormap; }
    // The named colour, altered by mode unless mode is -1.
    unsigned long named(const char* name, int mode = -1)
    {
        return mode < 0 ? tslGetNamedColor(d, cmap(), name) : tslGetAlterNamedColor(d, cmap(), name, mode);
    }
};

void store(Display* d, Colormap cmap, unsigned long pixel, int r, int g, int b)
{
    XColor c{pixel, (unsigned short)(r << 8), (unsigned short)(g << 8), (unsigned short)(b << 8), DoRed | DoGreen | DoBlue, 0};
    XStoreColor(d, cmap, &c);
}

using Rgb = std::array<int, 3>;

std::vector<Rgb> query_all(Display* d, Colormap cmap)
{
    std::vector<XColor> cols(256);
    for (int i = 0; i < 256; i++)
        cols[i].pixel = (unsigned long)i, cols[i].flags = DoRed | DoGreen | DoBlue;
    XQueryColors(d, cmap, cols.data(), 256);
    std::vector<Rgb> out;
    for (const XColor& c : cols)
        out.push_back({c.red >> 8, c.green >> 8, c.blue >> 8});
    return out;
}

}  // namespace

TEST_F(ColorServer, Depth24PixelsNamesAndVariants)
{
    if (!open_display("DISPLAY"))
        GTEST_SKIP() << "DISPLAY not set";
    ASSERT_EQ(g_tessel.depth, 24);
    EXPECT_EQ(tslGetColor(d, cmap(), -5, 300, 128), 0x00FF80UL) << "components are clamped";
    int r = -1, g = -1, b = -1;
    EXPECT_EQ(tslGetRGB(d, cmap(), 0xC5A010UL, &r, &g, &b), 1);
    EXPECT_TRUE(r == 0xC5 && g == 0xA0 && b == 0x10) << r << "," << g << "," << b;

    // name, mode (-1: none), pixel
    const std::tuple<const char*, int, unsigned long> cases[] = {
        {"midnight", -1, 0x191970},  // unknown to the server, found by prefix in the database
        {"no such colour at all", -1, 0}, {nullptr, -1, 0}, {"DimGrey", TSL_ALTER_LIGHT, 0xC5C5C5},
        {"  DimGrey\t", TSL_ALTER_SHADOW, 0x343434}, {"grey", TSL_ALTER_CONTRAST, 0x3E3E3E},
        // "#RRGGBB" is not in the database: fixed colours by mode
        {"#0000FF", TSL_ALTER_SHADOW, 0x000000}, {"#0000FF", TSL_ALTER_NEAR, 0x7F7F7F},
        {"#0000FF", TSL_ALTER_LIGHT, 0xFFFFFF}, {"#0000FF", TSL_ALTER_CONTRAST, 0xFFFFFF}, {"", 9, 0},
    };
    for (const auto& [name, mode, want] : cases)
        EXPECT_EQ(named(name, mode), want) << (name ? name : "null") << " mode " << mode;
    EXPECT_EQ(tslGetAlterColor(d, cmap(), 100, 50, 20, TSL_ALTER_LIGHT), 0xBE7346UL);
    // no cube table on a true-colour screen
    EXPECT_TRUE(!tslConvertColormap(d, cmap()) && !tslCreate8bppColormap(d));
}

// With the colormap full, colours and names fall back to the nearest
// existing cell, the lower pixel on a tie; with room again, the cube table,
// a private cube colormap, a copy of the colormap and the dump.
TEST_F(ColorServer, Depth8TablesAndAFullColormap)
{
    if (!open_display("TSL_DISPLAY_8"))
        GTEST_SKIP() << "TSL_DISPLAY_8 not set";
    ASSERT_EQ(g_tessel.depth, 8);
    // Every free cell taken as a writable cell and parked on white.
    std::vector<unsigned long> cells;
    unsigned long pixel, planes;
    while (XAllocColorCells(d, cmap(), False, &planes, 0, &pixel, 1))
        cells.push_back(pixel), store(d, cmap(), pixel, 255, 255, 255);
    std::sort(cells.begin(), cells.end());
    ASSERT_GE(cells.size(), 4u);
    store(d, cmap(), cells.back(), 80, 30, 160);
    store(d, cmap(), cells[1], 100, 30, 160);
    store(d, cmap(), cells[2], 25, 25, 112);
    // (90, 30, 160) is 10 away from both: the lower pixel wins.
    EXPECT_EQ(tslGetColor(d, cmap(), 90, 30, 160), cells[1]);
    EXPECT_EQ(tslGetColor(d, cmap(), 26, 24, 113), cells[2]);
    // Names the server cannot allocate any more fall back to the database and the search.
    EXPECT_TRUE(named("midnight blue") == cells[2] && named("midnight") == cells[2]);
    EXPECT_EQ(tslGetAlterColor(d, cmap(), 50, 50, 224, TSL_ALTER_SHADOW), cells[2]);
    XFreeColors(d, cmap(), cells.data(), (int)cells.size(), 0);

    unsigned long* table = tslConvertColormap(d, cmap());
    ASSERT_NE(table, nullptr);
    std::vector<Rgb> base = query_all(d, cmap());
    for (int i = 0; i < 216; i++) {
        int r = 51 * (i / 36), g = 51 * (i / 6 % 6), b = 51 * (i % 6), best = 0;
        for (int p = 1; p < 256; p++) {
            auto dist = [&](int q) { return (r - base[q][0]) * (r - base[q][0]) + (g - base[q][1]) * (g - base[q][1]) + (b - base[q][2]) * (b - base[q][2]); };
            best = dist(p) < dist(best) ? p : best;
        }
        EXPECT_EQ(table[40 + i], (unsigned long)best) << "cube colour " << r << "," << g << "," << b;
    }
    free(table);
    Colormap own = tslCreate8bppColormap(d), copy = tslCopyColormap(d, cmap());
    std::vector<Rgb> cube = query_all(d, own), copied = query_all(d, copy);
    // 40 + 36 r + 6 g + b holds (51 r, 51 g, 51 b); the first 40 are the screen's.
    EXPECT_TRUE(std::equal(base.begin(), base.begin() + 40, cube.begin()) && cube[41] == (Rgb{0, 0, 51}));
    EXPECT_TRUE(cube[40 + 36 * 2 + 6 * 3 + 4] == (Rgb{102, 153, 204}) && cube[255] == (Rgb{255, 255, 255}));
    for (int p = 0; p < 64; p++)
        EXPECT_NE(std::find(copied.begin(), copied.end(), base[p]), copied.end()) << p;
    testing::internal::CaptureStdout();
    EXPECT_EQ(tslDumpColormap(d, cmap()), 1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::count(out.begin(), out.end(), '\n') == 256 && out.rfind("Pixel:000000 - RGB:", 0) == 0 &&
                out.find("Pixel:000255 - RGB:") != std::string::npos && out.find("RGB:255,255,255\n") != out.npos);
}

// On a TrueColor screen the client works pixels out itself; they must be the
// server's: every level of each channel, names, and libXpm's colours.
using ClientPixels = XDepthTest;
TEST_P(ClientPixels, AreTheServersAllocation)
{
    Colormap cm = g_tessel.colormap;
    for (int v = 0; v < 256; v++) {
        XColor c{0, (unsigned short)(v << 8), (unsigned short)((255 - v) << 8), (unsigned short)(v * 7 % 256 << 8), 0, 0};
        ASSERT_TRUE(XAllocColor(d, cm, &c));
        EXPECT_EQ(tslGetColor(d, cm, v, 255 - v, v * 7 % 256), c.pixel) << v;
    }
    for (const char* name : {"DimGrey", "dim grey", "LIGHTgoldenrod", "grey", "navy", "#102030", "#FFF", "#0000FF"}) {
        XColor screen, exact;
        ASSERT_TRUE(XAllocNamedColor(d, cm, name, &screen, &exact)) << name;
        EXPECT_EQ(tslGetNamedColor(d, cm, name), screen.pixel) << name;
    }
    char* xpm[] = {(char*)"3 1 3 1", (char*)"a c #123456", (char*)"b c LightSlateBlue", (char*)"c c #FEDCBA", (char*)"abc"};
    TslImage* img = tslLoadImageFromData(d, xpm);
    Pixmap own = 0;
    ASSERT_EQ(XpmCreatePixmapFromData(d, RootWindow(d, 0), xpm, &own, nullptr, nullptr), XpmSuccess);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(xenv_pixels(d, img->pixmap, 0, 0, 3, 1), xenv_pixels(d, own, 0, 0, 3, 1));
    tslFreeImage(d, img);
}
INSTANTIATE_TEST_SUITE_P(Depths24And16, ClientPixels, ::testing::Values(nullptr, "TSL_DISPLAY_16"));
