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
    std::vector<Pixmap> made;
};

using DrawAll = Draw;  // frames, buttons and text at every depth

}  // namespace

// Frames, lines and buttons, each drawn on fresh paper and probed.  A frame
// over 0..9 shows light edges top and left, shadow edges (which own the
// corners they share) bottom and right.  Lines run right and down to their
// end point inclusive, clipped by a region or a rectangle; a horizontal line
// on row 0 collapses to the all-zero rectangle, one point.  Pressed 1 fills
// a button and shifts its icon by one; pressed 2 is sunken without either;
// an icon button puts its icon at the corner.
TEST_P(DrawAll, FramesLinesAndButtons)
{
    const unsigned long light = g_tessel.backLightPixel, shadow = g_tessel.backShadowPixel, near = g_tessel.backNearPixel;
    const unsigned long green = g_tessel.colors[3], blue = g_tessel.colors[4], icon = g_tessel.colors[7];
    const unsigned long border = g_tessel.borderPixel;
    const std::vector<std::tuple<int, int, unsigned long>> raised = {
        {0, 0, light}, {8, 0, light}, {0, 8, light}, {9, 0, shadow}, {0, 9, shadow}, {9, 5, shadow}, {5, 9, shadow},
        {9, 9, shadow}, {1, 1, paper}, {5, 5, paper}, {10, 5, paper}, {5, 10, paper}};
    auto sunken = raised;
    for (auto& p : sunken)
        std::get<2>(p) = std::get<2>(p) == light ? shadow : std::get<2>(p) == shadow ? light : paper;
    TslImage* ten = xenv_solid_image(d, 10, 10, icon);
    TslImage* six = xenv_solid_image(d, 6, 6, icon);
    Region rg = XCreateRegion();
    XRectangle xr = {10, 0, 5, 20};
    XUnionRectWithRegion(&xr, rg, rg);
    const struct {
        std::function<void()> draw;
        std::vector<std::tuple<int, int, unsigned long>> probes;
    } cases[] = {
        {[&] { tslDraw3DRectangle(d, pm, tslSetRect(0, 0, 9, 9), 1); }, raised},
        {[&] { tslDraw3DRectangle(d, pm, tslSetRect(0, 0, 9, 9), 7); }, sunken},
        {[&] { tslDrawFrame(d, pm, tslSetRect(0, 0, 9, 9), 2); }, raised},
        {[&] { tslDrawFrame(d, pm, tslSetRect(0, 0, 9, 9), 3); }, sunken},
        {[&] { tslDrawFrame(d, pm, tslSetRect(2, 2, 20, 20), 0), tslDrawFrame(d, pm, tslSetRect(2, 2, 20, 20), 4); },
         {{2, 2, paper}, {22, 22, paper}}},
        {[&] { tslDrawFrame(d, pm, tslSetRect(2, 3, 10, 5), 1); },
         {{2, 3, border}, {12, 8, border}, {12, 3, border}, {13, 8, paper}, {5, 5, paper}}},
        {[&] { tslDrawLine(d, pm, green, tslSetRect(3, 4, 10, 0)); }, {{2, 4, paper}, {3, 4, green}, {13, 4, green}, {14, 4, paper}}},
        {[&] { tslDrawLineRg(d, pm, nullptr, green, tslSetRect(40, 1, 0, 6)); },
         {{40, 0, paper}, {40, 1, green}, {40, 7, green}, {40, 8, paper}}},
        {[&] { tslDrawLineRg(d, pm, rg, blue, tslSetRect(0, 6, 30, 0)); }, {{9, 6, paper}, {10, 6, blue}, {14, 6, blue}, {15, 6, paper}}},
        {[&] { tslDrawLineRRg(d, pm, tslSetRect(5, 0, 5, 20), blue, tslSetRect(0, 5, 19, 0)); },
         {{4, 5, paper}, {5, 5, blue}, {9, 5, blue}, {10, 5, paper}}},
        {[&] { tslDrawLineRRg(d, pm, tslSetRect(0, 0, 20, 20), blue, tslSetRect(0, 0, 10, 0)); }, {{0, 0, blue}, {1, 0, paper}}},
        {[&] { tslDrawLineEx(d, pm, nullptr, tslSetRect(0, 10, 20, 0)); }, {{5, 10, border}, {5, 11, paper}}},
        {[&] { tslDrawButton(d, pm, tslSetRect(0, 0, 30, 20), nullptr, ten, 1); },
         {{11, 6, icon}, {10, 5, near}, {20, 15, icon}, {21, 16, near}, {0, 0, shadow}, {30, 20, light}, {31, 21, paper}}},
        {[&] { tslDrawButton(d, pm, tslSetRect(0, 0, 30, 20), nullptr, ten, 2); },
         {{10, 5, icon}, {9, 5, paper}, {20, 15, paper}, {0, 0, shadow}, {30, 20, light}}},
        {[&] { tslDrawIconButton(d, pm, tslSetRect(0, 0, 30, 20), six, 0); }, {{0, 0, light}, {1, 1, icon}, {5, 5, icon}, {6, 6, paper}}},
        {[&] { tslDrawIconButton(d, pm, tslSetRect(0, 0, 30, 20), six, 1); }, {{1, 1, icon}, {6, 6, icon}, {7, 7, near}, {0, 0, shadow}}},
        {[&] { tslDrawIconButton(d, pm, tslSetRect(0, 0, 30, 20), nullptr, 0); }, {{0, 0, light}}},
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        clear();
        cases[i].draw();
        for (auto& p : cases[i].probes)
            EXPECT_EQ(at(std::get<0>(p), std::get<1>(p)), std::get<2>(p))
                << "case " << i << " at " << std::get<0>(p) << "," << std::get<1>(p);
    }
    XDestroyRegion(rg);
    xenv_free_image(d, ten);
    xenv_free_image(d, six);

    // Drawing without a GC leaves the shared one as the reference, and after
    // clipped calls it holds no clip: a fill through it reaches every pixel.
    XGCValues ref, back;
    XGetGCValues(d, g_tessel.gc, GCForeground | GCLineWidth, &ref);
    XGetGCValues(d, g_tessel.backGC, GCForeground | GCLineWidth, &back);
    EXPECT_TRUE(back.foreground == ref.foreground && back.line_width == ref.line_width);
    tslDrawTextRRg(d, pm, tslSetRect(0, 0, 3, 3), nullptr, nullptr, fg, bg, 0, 0, "AB");
    XSetForeground(d, g_tessel.backGC, g_tessel.colors[5]);
    XFillRectangle(d, pm, g_tessel.backGC, 0, 0, W, H);
    tslResetGC(g_tessel.backGC);
    EXPECT_EQ(all(pm), std::vector<unsigned long>(W * H, g_tessel.colors[5]));
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
