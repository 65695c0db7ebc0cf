// Colours on real servers: TrueColor at depths 24 and 16, PseudoColor at
// depth 8 with a full colormap, names, variants and the colour-cube tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "xenv.h"

namespace {

class ColorServer : public ::testing::Test {
protected:
    Display* open(const char* env)
    {
        display = xenv_open(env);
        return display;
    }
    void TearDown() override
    {
        if (display)
            xenv_close();
    }
    Display* display = nullptr;
    Colormap cmap() const { return g_tessel.colormap; }
};

unsigned long pack565(int r, int g, int b)
{
    return (unsigned long)(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

void store(Display* d, Colormap cmap, unsigned long pixel, int r, int g, int b)
{
    XColor c{};
    c.pixel = pixel;
    c.red = (unsigned short)(r << 8);
    c.green = (unsigned short)(g << 8);
    c.blue = (unsigned short)(b << 8);
    c.flags = DoRed | DoGreen | DoBlue;
    XStoreColor(d, cmap, &c);
}

// Takes every free cell of a PseudoColor map as a writable cell, so that no
// further read-only allocation can succeed.  Returns the cells taken, lowest first.
std::vector<unsigned long> fill_colormap(Display* d, Colormap cmap)
{
    std::vector<unsigned long> taken;
    unsigned long pixel;
    unsigned long planes;
    while (XAllocColorCells(d, cmap, False, &planes, 0, &pixel, 1))
        taken.push_back(pixel);
    std::sort(taken.begin(), taken.end());
    // Park them on white so they do not compete in the searches below.
    for (unsigned long p : taken)
        store(d, cmap, p, 255, 255, 255);
    return taken;
}

struct Rgb {
    int r, g, b;
};

std::vector<Rgb> query_all(Display* d, Colormap cmap)
{
    std::vector<XColor> cols(256);
    for (int i = 0; i < 256; i++) {
        cols[i].pixel = (unsigned long)i;
        cols[i].flags = DoRed | DoGreen | DoBlue;
    }
    XQueryColors(d, cmap, cols.data(), 256);
    std::vector<Rgb> out;
    for (const XColor& c : cols)
        out.push_back({c.red >> 8, c.green >> 8, c.blue >> 8});
    return out;
}

}  // namespace

TEST_F(ColorServer, Depth24PixelsCarryTheComponents)
{
    ASSERT_TRUE(open(nullptr));
    ASSERT_EQ(g_tessel.depth, 24);
    EXPECT_EQ(tslGetColor(display, cmap(), 255, 0, 0), 0xFF0000UL);
    EXPECT_EQ(tslGetColor(display, cmap(), 0x12, 0x34, 0x56), 0x123456UL);
    EXPECT_EQ(tslGetColor(display, cmap(), -5, 300, 128), 0x00FF80UL) << "components are clamped";
    int r = -1, g = -1, b = -1;
    EXPECT_EQ(tslGetRGB(display, cmap(), 0xC5A010UL, &r, &g, &b), 1);
    EXPECT_EQ(r, 0xC5);
    EXPECT_EQ(g, 0xA0);
    EXPECT_EQ(b, 0x10);

    // The pixel draws as that colour.
    Pixmap pm = XCreatePixmap(display, RootWindow(display, 0), 4, 4, 24);
    XSetForeground(display, g_tessel.gc, tslGetColor(display, cmap(), 10, 200, 30));
    XFillRectangle(display, pm, g_tessel.gc, 0, 0, 4, 4);
    EXPECT_EQ(xenv_pixel(display, pm, 2, 2), 0x0AC81EUL);
    XFreePixmap(display, pm);
}

TEST_F(ColorServer, Depth24NamesAndVariants)
{
    ASSERT_TRUE(open(nullptr));
    EXPECT_EQ(tslGetNamedColor(display, cmap(), "#102030"), 0x102030UL);
    EXPECT_EQ(tslGetNamedColor(display, cmap(), "DimGrey"), 0x696969UL);
    // Unknown to the server, found by prefix in the database file.
    EXPECT_EQ(tslGetNamedColor(display, cmap(), "midnight"), 0x191970UL);
    EXPECT_EQ(tslGetNamedColor(display, cmap(), "no such colour at all"), 0UL);
    EXPECT_EQ(tslGetNamedColor(display, cmap(), nullptr), 0UL);

    EXPECT_EQ(tslGetAlterColor(display, cmap(), 100, 50, 20, TSL_ALTER_LIGHT), 0xBE7346UL);
    EXPECT_EQ(tslGetAlterNamedColor(display, cmap(), "DimGrey", TSL_ALTER_LIGHT), 0xC5C5C5UL);
    EXPECT_EQ(tslGetAlterNamedColor(display, cmap(), "  DimGrey\t", TSL_ALTER_SHADOW), 0x343434UL);
    EXPECT_EQ(tslGetAlterNamedColor(display, cmap(), "grey", TSL_ALTER_CONTRAST), 0x3E3E3EUL);
    // "#RRGGBB" is not in the database: fixed colours by mode.
    EXPECT_EQ(tslGetAlterNamedColor(display, cmap(), "#0000FF", TSL_ALTER_SHADOW), 0x000000UL);
    EXPECT_EQ(tslGetAlterNamedColor(display, cmap(), "#0000FF", TSL_ALTER_NEAR), 0x7F7F7FUL);
    EXPECT_EQ(tslGetAlterNamedColor(display, cmap(), "#0000FF", TSL_ALTER_LIGHT), 0xFFFFFFUL);
    EXPECT_EQ(tslGetAlterNamedColor(display, cmap(), "#0000FF", TSL_ALTER_CONTRAST), 0xFFFFFFUL);
    EXPECT_EQ(tslGetAlterNamedColor(display, cmap(), "", 9), 0x000000UL);
}

TEST_F(ColorServer, Depth24HasNoCubeTable)
{
    ASSERT_TRUE(open(nullptr));
    EXPECT_EQ(tslConvertColormap(display, cmap()), nullptr);
    EXPECT_EQ(tslCreate8bppColormap(display), 0UL);
}

TEST_F(ColorServer, Depth16PacksFiveSixFive)
{
    if (!open("TSL_DISPLAY_16"))
        GTEST_SKIP() << "TSL_DISPLAY_16 not set";
    ASSERT_EQ(g_tessel.depth, 16);
    EXPECT_EQ(tslGetColor(display, cmap(), 255, 0, 0), 0xF800UL);
    EXPECT_EQ(tslGetColor(display, cmap(), 0, 255, 0), 0x07E0UL);
    EXPECT_EQ(tslGetColor(display, cmap(), 0, 0, 255), 0x001FUL);
    EXPECT_EQ(tslGetColor(display, cmap(), 128, 64, 8), pack565(128, 64, 8));
    EXPECT_EQ(tslGetNamedColor(display, cmap(), "#FF00FF"), 0xF81FUL);
    EXPECT_EQ(tslGetAlterNamedColor(display, cmap(), "DimGrey", TSL_ALTER_SHADOW), pack565(52, 52, 52));
    EXPECT_EQ(tslConvertColormap(display, cmap()), nullptr);
}

TEST_F(ColorServer, Depth8FullColormapTakesTheNearestLowestPixel)
{
    if (!open("TSL_DISPLAY_8"))
        GTEST_SKIP() << "TSL_DISPLAY_8 not set";
    ASSERT_EQ(g_tessel.depth, 8);
    std::vector<unsigned long> cells = fill_colormap(display, cmap());
    ASSERT_GE(cells.size(), 4u);
    unsigned long low = cells[1], high = cells.back();
    store(display, cmap(), high, 80, 30, 160);
    store(display, cmap(), low, 100, 30, 160);
    // (90, 30, 160) is 10 away from both: the lower pixel wins.
    EXPECT_EQ(tslGetColor(display, cmap(), 90, 30, 160), low);
    store(display, cmap(), cells[2], 25, 25, 112);
    EXPECT_EQ(tslGetColor(display, cmap(), 26, 24, 113), cells[2]);
    // Names the server cannot allocate any more fall back to the database and the search.
    EXPECT_EQ(tslGetNamedColor(display, cmap(), "midnight blue"), cells[2]);
    EXPECT_EQ(tslGetNamedColor(display, cmap(), "midnight"), cells[2]);
    EXPECT_EQ(tslGetAlterColor(display, cmap(), 50, 50, 224, TSL_ALTER_SHADOW), cells[2]);
}

TEST_F(ColorServer, Depth8CubeTableHoldsTheNearestPixels)
{
    if (!open("TSL_DISPLAY_8"))
        GTEST_SKIP() << "TSL_DISPLAY_8 not set";
    unsigned long* table = tslConvertColormap(display, cmap());
    ASSERT_NE(table, nullptr);
    std::vector<Rgb> map = query_all(display, cmap());
    int exact = 0;
    for (int ri = 0; ri < 6; ri++)
        for (int gi = 0; gi < 6; gi++)
            for (int bi = 0; bi < 6; bi++) {
                int r = 51 * ri, g = 51 * gi, b = 51 * bi;
                unsigned best = ~0u;
                unsigned long bestPixel = 0;
                for (unsigned long p = 0; p < 256; p++) {
                    int dr = r - map[p].r, dg = g - map[p].g, db = b - map[p].b;
                    unsigned d = (unsigned)(dr * dr + dg * dg + db * db);
                    if (d < best) {
                        best = d;
                        bestPixel = p;
                    }
                }
                unsigned long got = table[40 + 36 * ri + 6 * gi + bi];
                ASSERT_LT(got, 256UL);
                EXPECT_EQ(got, bestPixel) << "cube colour " << r << "," << g << "," << b;
                if (best == 0)
                    exact++;
            }
    EXPECT_EQ(map[table[40]].r + map[table[40]].g + map[table[40]].b, 0);
    EXPECT_EQ(map[table[255]].r + map[table[255]].g + map[table[255]].b, 3 * 255);
    EXPECT_GT(exact, 0);
    free(table);
}

TEST_F(ColorServer, Depth8PrivateColormaps)
{
    if (!open("TSL_DISPLAY_8"))
        GTEST_SKIP() << "TSL_DISPLAY_8 not set";
    std::vector<Rgb> base = query_all(display, cmap());
    Colormap own = tslCreate8bppColormap(display);
    ASSERT_NE(own, 0UL);
    std::vector<Rgb> map = query_all(display, own);
    for (int p = 0; p < 40; p++)
        EXPECT_TRUE(map[p].r == base[p].r && map[p].g == base[p].g && map[p].b == base[p].b) << p;
    EXPECT_EQ(map[40].r + map[40].g + map[40].b, 0);
    EXPECT_EQ(map[41].b, 51);
    EXPECT_EQ(map[40 + 36 * 2 + 6 * 3 + 4].r, 102);
    EXPECT_EQ(map[40 + 36 * 2 + 6 * 3 + 4].g, 153);
    EXPECT_EQ(map[40 + 36 * 2 + 6 * 3 + 4].b, 204);
    EXPECT_TRUE(map[255].r == 255 && map[255].g == 255 && map[255].b == 255);

    Colormap copy = tslCopyColormap(display, cmap());
    ASSERT_NE(copy, 0UL);
    // Every colour of the first quarter is present in the copy.
    for (int p = 0; p < 64; p++) {
        XColor c{};
        c.red = (unsigned short)(base[p].r << 8);
        c.green = (unsigned short)(base[p].g << 8);
        c.blue = (unsigned short)(base[p].b << 8);
        c.flags = DoRed | DoGreen | DoBlue;
        ASSERT_TRUE(XAllocColor(display, copy, &c));
        XColor back{};
        back.pixel = c.pixel;
        XQueryColor(display, copy, &back);
        EXPECT_EQ(back.red >> 8, base[p].r) << p;
    }
    XFreeColormap(display, copy);
    XFreeColormap(display, own);
}

TEST_F(ColorServer, Depth8DumpListsEveryPixel)
{
    if (!open("TSL_DISPLAY_8"))
        GTEST_SKIP() << "TSL_DISPLAY_8 not set";
    unsigned long white = g_tessel.colors[1];
    testing::internal::CaptureStdout();
    EXPECT_EQ(tslDumpColormap(display, cmap()), 1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 256);
    EXPECT_EQ(out.rfind("Pixel:000000 - RGB:", 0), 0u);
    char line[64];
    snprintf(line, sizeof line, "Pixel:%06lu - RGB:255,255,255\n", white);
    EXPECT_NE(out.find(line), std::string::npos);
    EXPECT_NE(out.find("Pixel:000255 - RGB:"), std::string::npos);
}
