// Drawing primitives: frames, lines, buttons and two-font text, drawn into a
// pixmap and read back pixel by pixel.
#include "xfixture.h"

namespace {

const int W = 64;
const int H = 40;

class Draw : public XDepthTest {
protected:
    Pixmap pm = 0;
    unsigned long paper = 0, fg = 0, bg = 0;

    void SetUp() override
    {
        XDepthTest::SetUp();
        if (!d)
            return;
        paper = g_tessel.colors[2];
        fg = g_tessel.colors[1];
        bg = g_tessel.colors[0];
        pm = fresh();
    }
    void TearDown() override
    {
        for (Pixmap p : made)
            XFreePixmap(d, p);
        XDepthTest::TearDown();
    }
    Pixmap fresh()
    {
        Pixmap p = XCreatePixmap(d, RootWindow(d, 0), W, H, (unsigned)g_tessel.depth);
        made.push_back(p);
        xenv_fill(d, p, paper, 0, 0, W, H);
        return p;
    }
    void clear() { xenv_fill(d, pm, paper, 0, 0, W, H); }
    std::vector<unsigned long> all(Pixmap p) { return xenv_pixels(d, p, 0, 0, W, H); }
    unsigned long at(int x, int y) { return xenv_pixel(d, pm, x, y); }
    int line_height() { return std::max(g_tessel.font->ascent + g_tessel.font->descent,
                                        g_tessel.fontKanji->ascent + g_tessel.fontKanji->descent); }
    int kanji_width()
    {
        XChar2b k = {0x34, 0x41};
        return XTextWidth16(g_tessel.fontKanji, &k, 1);
    }
    // A frame over 0..9 with light top-left and shadow bottom-right edges.
    void expect_3d(unsigned long light, unsigned long shadow)
    {
        std::vector<unsigned long> px = xenv_pixels(d, pm, 0, 0, 12, 12);
        auto p = [&](int x, int y) { return px[(size_t)(y * 12 + x)]; };
        for (int i = 0; i <= 9; i++) {
            ASSERT_TRUE(i == 9 || (p(i, 0) == light && p(0, i) == light)) << "top/left " << i;
            ASSERT_TRUE(p(i, 9) == shadow && p(9, i) == shadow) << "bottom/right " << i;
            ASSERT_TRUE(p(10, i) == paper && p(i, 10) == paper) << "outside " << i;
        }
        EXPECT_TRUE(p(5, 5) == paper && p(1, 1) == paper);
    }
    std::vector<Pixmap> made;
};

using DrawAll = Draw;  // frames, buttons and text at every depth

}  // namespace

TEST_P(DrawAll, FramesRaisedSunkenPlainAndNone)
{
    EXPECT_EQ(tslDraw3DRectangle(d, pm, tslSetRect(0, 0, 9, 9), 1), 1);
    expect_3d(g_tessel.backLightPixel, g_tessel.backShadowPixel);
    tslDraw3DRectangle(d, pm, tslSetRect(0, 0, 9, 9), 7);
    expect_3d(g_tessel.backShadowPixel, g_tessel.backLightPixel);
    tslDrawFrame(d, pm, tslSetRect(0, 0, 9, 9), 2);
    expect_3d(g_tessel.backLightPixel, g_tessel.backShadowPixel);
    tslDrawFrame(d, pm, tslSetRect(0, 0, 9, 9), 3);
    expect_3d(g_tessel.backShadowPixel, g_tessel.backLightPixel);
    clear();
    EXPECT_EQ(tslDrawFrame(d, pm, tslSetRect(2, 2, 20, 20), 0) + tslDrawFrame(d, pm, tslSetRect(2, 2, 20, 20), 4), 2);
    EXPECT_EQ(all(pm), std::vector<unsigned long>(W * H, paper));
    tslDrawFrame(d, pm, tslSetRect(2, 3, 10, 5), 1);
    EXPECT_TRUE(at(2, 3) == g_tessel.borderPixel && at(12, 8) == g_tessel.borderPixel && at(12, 3) == g_tessel.borderPixel);
    EXPECT_TRUE(at(13, 8) == paper && at(5, 5) == paper);
}

TEST_P(DrawAll, LinesRunRightAndDownAndClip)
{
    unsigned long green = g_tessel.colors[3], blue = g_tessel.colors[4];
    tslDrawLine(d, pm, green, tslSetRect(3, 4, 10, 0));
    tslDrawLineRg(d, pm, nullptr, green, tslSetRect(40, 1, 0, 6));
    for (int x = 2; x <= 14; x++)
        EXPECT_EQ(at(x, 4), x >= 3 && x <= 13 ? green : paper) << x;
    for (int y = 0; y <= 8; y++)
        EXPECT_EQ(at(40, y), y >= 1 && y <= 7 ? green : paper) << y;

    Region rg = XCreateRegion();
    XRectangle xr = {10, 0, 5, 20};
    XUnionRectWithRegion(&xr, rg, rg);
    tslDrawLineRg(d, pm, rg, blue, tslSetRect(0, 6, 30, 0));
    XDestroyRegion(rg);
    tslDrawLineRRg(d, pm, tslSetRect(5, 0, 5, 20), blue, tslSetRect(0, 5, 19, 0));
    for (int x = 0; x < 32; x++) {
        EXPECT_EQ(at(x, 6), (x >= 10 && x < 15) ? blue : paper) << x;
        EXPECT_EQ(at(x, 5), (x >= 5 && x < 10) ? blue : paper) << x;
    }
    // A horizontal line on row 0 collapses to the all-zero rectangle: one point.
    clear();
    tslDrawLineRRg(d, pm, tslSetRect(0, 0, 20, 20), blue, tslSetRect(0, 0, 10, 0));
    EXPECT_EQ(xenv_pixels(d, pm, 0, 0, 6, 1), (std::vector<unsigned long>{blue, paper, paper, paper, paper, paper}));

    // Without a GC the border colour is used and the shared GC is left as the reference.
    EXPECT_EQ(tslDrawLineEx(d, pm, nullptr, tslSetRect(0, 10, 20, 0)), 1);
    EXPECT_TRUE(at(5, 10) == g_tessel.borderPixel && at(5, 11) == paper);
    XGCValues ref, back;
    XGetGCValues(d, g_tessel.gc, GCForeground | GCLineWidth, &ref);
    XGetGCValues(d, g_tessel.backGC, GCForeground | GCLineWidth, &back);
    EXPECT_TRUE(back.foreground == ref.foreground && back.line_width == ref.line_width);

    // After clipped calls the shared GC holds no clip: a fill through it reaches every pixel.
    tslDrawLineRRg(d, pm, tslSetRect(5, 5, 2, 2), g_tessel.colors[4], tslSetRect(0, 6, 30, 0));
    tslDrawTextRRg(d, pm, tslSetRect(0, 0, 3, 3), nullptr, nullptr, fg, bg, 0, 0, "AB");
    unsigned long c = g_tessel.colors[5];
    XSetForeground(d, g_tessel.backGC, c);
    XFillRectangle(d, pm, g_tessel.backGC, 0, 0, W, H);
    tslResetGC(g_tessel.backGC);
    EXPECT_EQ(all(pm), std::vector<unsigned long>(W * H, c));
}

TEST_P(DrawAll, ButtonCentresIconAndCaptionAsOneBlock)
{
    unsigned long icon = g_tessel.colors[7];
    TslImage* img = xenv_solid_image(d, 8, 6, icon);
    tslDrawButton(d, pm, tslSetRect(0, 0, 60, 30), "Ab", img, 0);
    int tw = tslTextWidth("Ab");
    int left = (60 - (8 + 3 + tw)) / 2, top = (30 - 6) / 2;
    EXPECT_TRUE(at(left, top) == icon && at(left + 7, top + 5) == icon);
    EXPECT_TRUE(at(left - 1, top) == paper && at(left + 8, top) == paper && at(left, top - 1) == paper);
    EXPECT_TRUE(at(0, 0) == g_tessel.backLightPixel && at(60, 30) == g_tessel.backShadowPixel);
    // The caption is exactly what tslDrawText draws three pixels right of the icon.
    Pixmap ref = fresh();
    tslDrawText(d, ref, nullptr, nullptr, g_tessel.fontPixel, ~0UL, left + 11, (30 - tslGetCharHeight(nullptr)) / 2,
                "Ab");
    EXPECT_EQ(xenv_pixels(d, pm, left + 9, 1, tw + 4, 28), xenv_pixels(d, ref, left + 9, 1, tw + 4, 28));
    xenv_free_image(d, img);
}

// Pressed 1 fills and shifts by one; pressed 2 is sunken without either;
// the icon button puts its icon at the corner.
TEST_P(DrawAll, PressedButtonsAndIconButtons)
{
    unsigned long icon = g_tessel.colors[7], near = g_tessel.backNearPixel;
    unsigned long light = g_tessel.backLightPixel, shadow = g_tessel.backShadowPixel;
    TslImage* ten = xenv_solid_image(d, 10, 10, icon);
    TslImage* six = xenv_solid_image(d, 6, 6, icon);
    struct Case {
        std::function<void()> draw;
        std::vector<std::tuple<int, int, unsigned long>> probes;
    };
    const Case cases[] = {
        {[&] { tslDrawButton(d, pm, tslSetRect(0, 0, 30, 20), nullptr, ten, 1); },
         {{11, 6, icon}, {10, 5, near}, {20, 15, icon}, {21, 16, near}, {0, 0, shadow}, {30, 20, light}, {31, 21, paper}}},
        {[&] { tslDrawButton(d, pm, tslSetRect(0, 0, 30, 20), nullptr, ten, 2); },
         {{10, 5, icon}, {9, 5, paper}, {20, 15, paper}, {0, 0, shadow}, {30, 20, light}}},
        {[&] { tslDrawIconButton(d, pm, tslSetRect(0, 0, 30, 20), six, 0); },
         {{0, 0, light}, {1, 1, icon}, {5, 5, icon}, {6, 6, paper}}},
        {[&] { tslDrawIconButton(d, pm, tslSetRect(0, 0, 30, 20), six, 1); },
         {{1, 1, icon}, {6, 6, icon}, {7, 7, near}, {0, 0, shadow}}},
        {[&] { tslDrawIconButton(d, pm, tslSetRect(0, 0, 30, 20), nullptr, 0); }, {{0, 0, light}}},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; i++) {
        clear();
        cases[i].draw();
        for (auto& p : cases[i].probes)
            EXPECT_EQ(at(std::get<0>(p), std::get<1>(p)), std::get<2>(p)) << "case " << i << " at " << std::get<0>(p)
                                                                           << "," << std::get<1>(p);
    }
    xenv_free_image(d, ten);
    xenv_free_image(d, six);
}

TEST_P(DrawAll, OpaqueAndTransparentText)
{
    EXPECT_EQ(tslDrawText(d, pm, nullptr, nullptr, fg, bg, 2, 3, "A.B"), 1);
    int w = XTextWidth(g_tessel.font, "A.B", 3), h = line_height();
    int fgCount = 0;
    for (unsigned long p : xenv_pixels(d, pm, 2, 3, w, h)) {
        ASSERT_TRUE(p == bg || p == fg);
        fgCount += p == fg;
    }
    EXPECT_GT(fgCount, 0);
    EXPECT_TRUE(at(1, 3) == paper && at(2 + w, 3) == paper && at(2, 2) == paper && at(2, 3 + h) == paper);

    // Transparent text touches only glyph pixels; tslPrint is the same in the text colour.
    clear();
    tslDrawText(d, pm, nullptr, nullptr, fg, ~0UL, 2, 3, "A.B");
    Pixmap p2 = fresh();
    EXPECT_EQ(tslPrint(p2, 2, 3, "A.B"), 1);
    std::vector<unsigned long> a = all(pm), b = all(p2);
    int glyph = 0;
    for (size_t i = 0; i < a.size(); i++) {
        ASSERT_TRUE(a[i] == paper || a[i] == fg);
        ASSERT_EQ(a[i] == fg, b[i] == g_tessel.fontPixel) << i;
        glyph += a[i] == fg;
    }
    EXPECT_TRUE(glyph > 0 && glyph < W * H / 2);
}

TEST_P(DrawAll, TextSameAsItsTwin)
{
    // Pairs that must give the same pixels: carriage return skipped in ASCII,
    // Shift-JIS and EUC, control byte as '?', a lone lead byte drawing nothing.
    struct Case {
        const char* text;
        int len;
        const char* twin;
        unsigned long back;
    } cases[] = {{"A\rB", 3, "AB", 0}, {"x\x82\xA0y", 4, "x\xA4\xA2y", ~0UL}, {"a\x1b", 2, "a?", 0},
                 {"a\xB4\xC1", 2, "a", 0}};
    for (const Case& c : cases) {
        clear();
        Pixmap ref = fresh();
        unsigned long back = c.back ? c.back : bg;
        tslDrawNText(d, pm, nullptr, nullptr, fg, back, 0, 0, c.text, c.len);
        tslDrawText(d, ref, nullptr, nullptr, fg, back, 0, 0, c.twin);
        EXPECT_EQ(all(pm), all(ref)) << c.twin;
    }
    // In EUC text the carriage return is a glyph cell of its own width.
    clear();
    tslDrawText(d, pm, nullptr, nullptr, fg, bg, 0, 0, "A\r\xB4\xC1");
    int total = XTextWidth(g_tessel.font, "A\r", 2) + kanji_width();
    EXPECT_TRUE(at(total - 1, 0) != paper && at(total, 0) == paper);
    // A kanji after Latin text is one Kanji-font cell on the shared baseline:
    // the same pixels as the kanji alone at that pen position.
    clear();
    tslDrawText(d, pm, nullptr, nullptr, fg, bg, 0, 0, "Ab\xB4\xC1");
    int latin = XTextWidth(g_tessel.font, "Ab", 2), kw = kanji_width(), h = line_height();
    EXPECT_TRUE(at(latin + kw - 1, h - 1) != paper && at(latin + kw, 0) == paper);
    Pixmap ref = fresh();
    tslDrawText(d, ref, nullptr, nullptr, fg, bg, latin, 0, "\xB4\xC1");
    EXPECT_EQ(xenv_pixels(d, pm, latin, 0, kw, h), xenv_pixels(d, ref, latin, 0, kw, h));
}

TEST_P(DrawAll, TextClippedAndBadArgumentsRefused)
{
    tslDrawTextRRg(d, pm, tslSetRect(0, 0, 4, 40), nullptr, nullptr, fg, bg, 0, 0, "WWWW");
    for (int y = 0; y < line_height(); y++)
        EXPECT_TRUE(at(3, y) != paper && at(4, y) == paper) << y;
    Region rg = XCreateRegion();
    XRectangle xr = {0, 0, 64, 2};
    XUnionRectWithRegion(&xr, rg, rg);
    clear();
    tslDrawTextRg(d, pm, rg, nullptr, nullptr, fg, bg, 0, 0, "WWWW");
    EXPECT_TRUE(at(0, 1) != paper && at(0, 2) == paper);
    XDestroyRegion(rg);

    clear();
    XFontStruct* saved = g_tessel.font;
    int drawn = tslDrawTextEx(d, pm, g_tessel.backGC, nullptr, nullptr, 0, 0, nullptr, 3) +
                tslDrawTextEx(d, pm, g_tessel.backGC, nullptr, nullptr, 0, 0, "abc", 0) +
                tslDrawTextEx(d, 0, g_tessel.backGC, nullptr, nullptr, 0, 0, "abc", 3) +
                tslDrawText(d, pm, nullptr, nullptr, 1, 0, 0, 0, nullptr) + tslDrawText(d, pm, nullptr, nullptr, 1, 0, 0, 0, "");
    g_tessel.font = nullptr;
    drawn += tslDrawTextEx(d, pm, nullptr, nullptr, nullptr, 0, 0, "abc", 3);
    g_tessel.font = saved;
    EXPECT_EQ(drawn, 0);
    EXPECT_EQ(all(pm), std::vector<unsigned long>(W * H, paper));
}

INSTANTIATE_TEST_SUITE_P(Depths, DrawAll, TSL_ALL_DEPTHS);
