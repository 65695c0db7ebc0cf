// Colours on real servers: TrueColor at depths 24 and 16, PseudoColor at
// depth 8 with a full colormap, names, variants and the colour-cube tables.
#include <algorithm>

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

#define OPEN_OR_SKIP(env)                          \
    do {                                           \
        if (!open_display(env))                    \
            GTEST_SKIP() << (env) << " not set";   \
    } while (0)

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
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    int sum() const { return r + g + b; }
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

TEST_F(ColorServer, Depth24PixelsNamesAndVariants)
{
    OPEN_OR_SKIP("DISPLAY");
    ASSERT_EQ(g_tessel.depth, 24);
    EXPECT_EQ(tslGetColor(d, cmap(), -5, 300, 128), 0x00FF80UL) << "components are clamped";
    int r = -1, g = -1, b = -1;
    EXPECT_EQ(tslGetRGB(d, cmap(), 0xC5A010UL, &r, &g, &b), 1);
    EXPECT_TRUE(r == 0xC5 && g == 0xA0 && b == 0x10) << r << "," << g << "," << b;
    // The pixel draws as that colour.
    Pixmap pm = XCreatePixmap(d, RootWindow(d, 0), 4, 4, 24);
    xenv_fill(d, pm, tslGetColor(d, cmap(), 10, 200, 30), 0, 0, 4, 4);
    EXPECT_EQ(xenv_pixel(d, pm, 2, 2), 0x0AC81EUL);
    XFreePixmap(d, pm);

    const struct {
        const char* name;
        int mode;
        unsigned long want;
    } cases[] = {
        {"midnight", -1, 0x191970},  // unknown to the server, found by prefix in the database
        {"no such colour at all", -1, 0},
        {nullptr, -1, 0},
        {"DimGrey", TSL_ALTER_LIGHT, 0xC5C5C5},
        {"  DimGrey\t", TSL_ALTER_SHADOW, 0x343434},
        {"grey", TSL_ALTER_CONTRAST, 0x3E3E3E},
        // "#RRGGBB" is not in the database: fixed colours by mode
        {"#0000FF", TSL_ALTER_SHADOW, 0x000000},
        {"#0000FF", TSL_ALTER_NEAR, 0x7F7F7F},
        {"#0000FF", TSL_ALTER_LIGHT, 0xFFFFFF},
        {"#0000FF", TSL_ALTER_CONTRAST, 0xFFFFFF},
        {"", 9, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(named(c.name, c.mode), c.want) << (c.name ? c.name : "null") << " mode " << c.mode;
    EXPECT_EQ(tslGetAlterColor(d, cmap(), 100, 50, 20, TSL_ALTER_LIGHT), 0xBE7346UL);
    // no cube table on a true-colour screen
    EXPECT_EQ(tslConvertColormap(d, cmap()), nullptr);
    EXPECT_EQ(tslCreate8bppColormap(d), 0UL);
}

TEST_F(ColorServer, Depth16PacksFiveSixFive)
{
    OPEN_OR_SKIP("TSL_DISPLAY_16");
    ASSERT_EQ(g_tessel.depth, 16);
    EXPECT_EQ(named("#FF00FF"), 0xF81FUL);
    EXPECT_EQ(named("DimGrey", TSL_ALTER_SHADOW), pack565(52, 52, 52));
    EXPECT_EQ(tslConvertColormap(d, cmap()), nullptr);
}

TEST_F(ColorServer, Depth8FullColormapTakesTheNearestLowestPixel)
{
    OPEN_OR_SKIP("TSL_DISPLAY_8");
    ASSERT_EQ(g_tessel.depth, 8);
    std::vector<unsigned long> cells = fill_colormap(d, cmap());
    ASSERT_GE(cells.size(), 4u);
    unsigned long low = cells[1], high = cells.back();
    store(d, cmap(), high, 80, 30, 160);
    store(d, cmap(), low, 100, 30, 160);
    // (90, 30, 160) is 10 away from both: the lower pixel wins.
    EXPECT_EQ(tslGetColor(d, cmap(), 90, 30, 160), low);
    store(d, cmap(), cells[2], 25, 25, 112);
    EXPECT_EQ(tslGetColor(d, cmap(), 26, 24, 113), cells[2]);
    // Names the server cannot allocate any more fall back to the database and the search.
    EXPECT_EQ(named("midnight blue"), cells[2]);
    EXPECT_EQ(named("midnight"), cells[2]);
    EXPECT_EQ(tslGetAlterColor(d, cmap(), 50, 50, 224, TSL_ALTER_SHADOW), cells[2]);
}

TEST_F(ColorServer, Depth8CubeTableHoldsTheNearestPixels)
{
    OPEN_OR_SKIP("TSL_DISPLAY_8");
    unsigned long* table = tslConvertColormap(d, cmap());
    ASSERT_NE(table, nullptr);
    std::vector<Rgb> map = query_all(d, cmap());
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
    EXPECT_EQ(map[table[40]].sum(), 0);
    EXPECT_EQ(map[table[255]].sum(), 3 * 255);
    EXPECT_GT(exact, 0);
    free(table);
}

TEST_F(ColorServer, Depth8PrivateColormaps)
{
    OPEN_OR_SKIP("TSL_DISPLAY_8");
    std::vector<Rgb> base = query_all(d, cmap());
    Colormap own = tslCreate8bppColormap(d);
    ASSERT_NE(own, 0UL);
    std::vector<Rgb> map = query_all(d, own);
    for (int p = 0; p < 40; p++)
        EXPECT_TRUE(map[p] == base[p]) << p;
    EXPECT_TRUE(map[40] == (Rgb{0, 0, 0}));
    EXPECT_TRUE(map[41] == (Rgb{0, 0, 51}));
    EXPECT_TRUE(map[40 + 36 * 2 + 6 * 3 + 4] == (Rgb{102, 153, 204}));
    EXPECT_TRUE(map[255] == (Rgb{255, 255, 255}));

    Colormap copy = tslCopyColormap(d, cmap());
    ASSERT_NE(copy, 0UL);
    // Every colour of the first quarter is present in the copy.
    for (int p = 0; p < 64; p++) {
        XColor c{};
        c.red = (unsigned short)(base[p].r << 8);
        c.green = (unsigned short)(base[p].g << 8);
        c.blue = (unsigned short)(base[p].b << 8);
        c.flags = DoRed | DoGreen | DoBlue;
        ASSERT_TRUE(XAllocColor(d, copy, &c));
        EXPECT_TRUE((Rgb{c.red >> 8, c.green >> 8, c.blue >> 8}) == base[p]) << p;
    }
    XFreeColormap(d, copy);
    XFreeColormap(d, own);
}

TEST_F(ColorServer, Depth8DumpListsEveryPixel)
{
    OPEN_OR_SKIP("TSL_DISPLAY_8");
    unsigned long white = g_tessel.colors[1];
    testing::internal::CaptureStdout();
    EXPECT_EQ(tslDumpColormap(d, cmap()), 1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 256);
    EXPECT_EQ(out.rfind("Pixel:000000 - RGB:", 0), 0u);
    char line[64];
    snprintf(line, sizeof line, "Pixel:%06lu - RGB:255,255,255\n", white);
    EXPECT_NE(out.find(line), std::string::npos);
    EXPECT_NE(out.find("Pixel:000255 - RGB:"), std::string::npos);
}

// On a TrueColor screen the client works pixels out itself; they must be the
// server's: every level of each channel, names, and libXpm's colours.
using ClientPixels = XDepthTest;
TEST_P(ClientPixels, AreTheServersAllocation)
{
    Colormap cm = g_tessel.colormap;
    for (int v = 0; v < 256; v++) {
        XColor c{};
        c.red = (unsigned short)(v << 8), c.green = (unsigned short)((255 - v) << 8), c.blue = (unsigned short)(v * 7 % 256 << 8);
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
    XFreePixmap(d, own);
}
INSTANTIATE_TEST_SUITE_P(Depths24And16, ClientPixels, ::testing::Values(nullptr, "TSL_DISPLAY_16"));
