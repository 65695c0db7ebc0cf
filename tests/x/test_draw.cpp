// Drawing primitives: frames, lines, buttons and two-font text, drawn into a
// pixmap and read back pixel by pixel.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tessel.h"
#include "xenv.h"

namespace {

const int W = 64;
const int H = 40;

class Draw : public ::testing::Test {
protected:
    Display* dpy = nullptr;
    Pixmap pm = 0;
    unsigned long paper = 0;

    void open(const char* env)
    {
        dpy = xenv_open(env);
        if (!dpy)
            return;
        pm = XCreatePixmap(dpy, RootWindow(dpy, 0), W, H, (unsigned)g_tessel.depth);
        paper = g_tessel.colors[2];
        clear(pm, paper);
    }
    void SetUp() override { open(nullptr); }
    void TearDown() override
    {
        if (!dpy)
            return;
        if (pm)
            XFreePixmap(dpy, pm);
        xenv_close();
    }
    void clear(Pixmap p, unsigned long pixel)
    {
        GC gc = XCreateGC(dpy, p, 0, nullptr);
        XSetForeground(dpy, gc, pixel);
        XFillRectangle(dpy, p, gc, 0, 0, W, H);
        XFreeGC(dpy, gc);
    }
    Pixmap fresh()
    {
        Pixmap p = XCreatePixmap(dpy, RootWindow(dpy, 0), W, H, (unsigned)g_tessel.depth);
        clear(p, paper);
        return p;
    }
    std::vector<unsigned long> all(Pixmap p) { return xenv_pixels(dpy, p, 0, 0, W, H); }
    unsigned long at(int x, int y) { return xenv_pixel(dpy, pm, x, y); }

    TslImage* solid_image(int w, int h, unsigned long pixel)
    {
        TslImage* img = new TslImage();
        img->pixmap = XCreatePixmap(dpy, RootWindow(dpy, 0), (unsigned)w, (unsigned)h,
                                    (unsigned)g_tessel.depth);
        img->gc = XCreateGC(dpy, RootWindow(dpy, 0), 0, nullptr);
        XSetForeground(dpy, img->gc, pixel);
        XFillRectangle(dpy, img->pixmap, img->gc, 0, 0, (unsigned)w, (unsigned)h);
        img->width = w;
        img->height = h;
        img->format = TSL_IMAGE_XPM;
        return img;
    }
    void free_image(TslImage* img)
    {
        XFreePixmap(dpy, img->pixmap);
        XFreeGC(dpy, img->gc);
        delete img;
    }
};

#define NEED_DISPLAY()                       \
    do {                                     \
        if (!dpy)                            \
            GTEST_SKIP() << "no X display";  \
    } while (0)

void expect_3d(Display* dpy, Pixmap pm, unsigned long light, unsigned long shadow,
               unsigned long paper)
{
    std::vector<unsigned long> px = xenv_pixels(dpy, pm, 0, 0, 12, 12);
    auto p = [&](int x, int y) { return px[(size_t)(y * 12 + x)]; };
    for (int i = 0; i < 9; i++) {
        EXPECT_EQ(p(i, 0), light) << "top " << i;
        EXPECT_EQ(p(0, i), light) << "left " << i;
    }
    for (int i = 0; i <= 9; i++) {
        EXPECT_EQ(p(i, 9), shadow) << "bottom " << i;
        EXPECT_EQ(p(9, i), shadow) << "right " << i;
        EXPECT_EQ(p(10, i), paper) << "outside right " << i;
        EXPECT_EQ(p(i, 10), paper) << "outside bottom " << i;
    }
    EXPECT_EQ(p(5, 5), paper);
    EXPECT_EQ(p(1, 1), paper);
}

TEST_F(Draw, Raised3DRectangleCoversZeroToNineWithLightTopLeft)
{
    NEED_DISPLAY();
    EXPECT_EQ(tslDraw3DRectangle(dpy, pm, tslSetRect(0, 0, 9, 9), 1), 1);
    expect_3d(dpy, pm, g_tessel.backLightPixel, g_tessel.backShadowPixel, paper);
}

TEST_F(Draw, Sunken3DRectangleSwapsColours)
{
    NEED_DISPLAY();
    tslDraw3DRectangle(dpy, pm, tslSetRect(0, 0, 9, 9), 7);
    expect_3d(dpy, pm, g_tessel.backShadowPixel, g_tessel.backLightPixel, paper);
    clear(pm, paper);
    tslDrawFrame(dpy, pm, tslSetRect(0, 0, 9, 9), 3);
    expect_3d(dpy, pm, g_tessel.backShadowPixel, g_tessel.backLightPixel, paper);
}

TEST_F(Draw, FrameStylesPlainAndNone)
{
    NEED_DISPLAY();
    std::vector<unsigned long> before = all(pm);
    EXPECT_EQ(tslDrawFrame(dpy, pm, tslSetRect(2, 2, 20, 20), 0), 1);
    EXPECT_EQ(tslDrawFrame(dpy, pm, tslSetRect(2, 2, 20, 20), 4), 1);
    EXPECT_EQ(all(pm), before);

    tslDrawFrame(dpy, pm, tslSetRect(2, 3, 10, 5), 1);
    EXPECT_EQ(at(2, 3), g_tessel.borderPixel);
    EXPECT_EQ(at(12, 8), g_tessel.borderPixel);
    EXPECT_EQ(at(12, 3), g_tessel.borderPixel);
    EXPECT_EQ(at(13, 8), paper);
    EXPECT_EQ(at(5, 5), paper);

    clear(pm, paper);
    tslDrawFrame(dpy, pm, tslSetRect(0, 0, 9, 9), 2);
    expect_3d(dpy, pm, g_tessel.backLightPixel, g_tessel.backShadowPixel, paper);
}

TEST_F(Draw, LinesRunRightAndDownInTheirColour)
{
    NEED_DISPLAY();
    unsigned long green = g_tessel.colors[3];
    tslDrawLine(dpy, pm, green, tslSetRect(3, 4, 10, 0));
    for (int x = 3; x <= 13; x++)
        EXPECT_EQ(at(x, 4), green) << x;
    EXPECT_EQ(at(2, 4), paper);
    EXPECT_EQ(at(14, 4), paper);

    tslDrawLineRg(dpy, pm, nullptr, green, tslSetRect(20, 1, 0, 6));
    EXPECT_EQ(at(20, 1), green);
    EXPECT_EQ(at(20, 7), green);
    EXPECT_EQ(at(20, 8), paper);
}

TEST_F(Draw, LineClippedToRegion)
{
    NEED_DISPLAY();
    Region rg = XCreateRegion();
    XRectangle xr = {10, 0, 5, 20};
    XUnionRectWithRegion(&xr, rg, rg);
    unsigned long blue = g_tessel.colors[4];
    tslDrawLineRg(dpy, pm, rg, blue, tslSetRect(0, 6, 30, 0));
    for (int x = 0; x < 32; x++)
        EXPECT_EQ(at(x, 6), (x >= 10 && x < 15) ? blue : paper) << x;
    XDestroyRegion(rg);
}

TEST_F(Draw, LineRRgIntersectsThenClips)
{
    NEED_DISPLAY();
    unsigned long blue = g_tessel.colors[4];
    tslDrawLineRRg(dpy, pm, tslSetRect(5, 0, 5, 20), blue, tslSetRect(0, 5, 19, 0));
    for (int x = 0; x < 20; x++)
        EXPECT_EQ(at(x, 5), (x >= 5 && x < 10) ? blue : paper) << x;

    // A horizontal line on row 0 collapses to the all-zero rectangle: one point.
    clear(pm, paper);
    tslDrawLineRRg(dpy, pm, tslSetRect(0, 0, 20, 20), blue, tslSetRect(0, 0, 10, 0));
    EXPECT_EQ(at(0, 0), blue);
    EXPECT_EQ(at(1, 0), paper);
    EXPECT_EQ(at(5, 0), paper);
}

TEST_F(Draw, LineExWithoutGcUsesBorderColourAndLeavesBackGcReset)
{
    NEED_DISPLAY();
    EXPECT_EQ(tslDrawLineEx(dpy, pm, nullptr, tslSetRect(0, 10, 20, 0)), 1);
    EXPECT_EQ(at(5, 10), g_tessel.borderPixel);
    EXPECT_EQ(at(5, 11), paper);
    XGCValues ref, back;
    XGetGCValues(dpy, g_tessel.gc, GCForeground | GCLineWidth, &ref);
    XGetGCValues(dpy, g_tessel.backGC, GCForeground | GCLineWidth, &back);
    EXPECT_EQ(back.foreground, ref.foreground);
    EXPECT_EQ(back.line_width, ref.line_width);
}

// After a clipped call the shared GC must hold no clip: a fill through it
// reaches every pixel.
TEST_F(Draw, ClippedCallsLeaveNoClipBehind)
{
    NEED_DISPLAY();
    tslDrawLineRRg(dpy, pm, tslSetRect(5, 5, 2, 2), g_tessel.colors[4], tslSetRect(0, 6, 30, 0));
    tslDrawTextRRg(dpy, pm, tslSetRect(0, 0, 3, 3), nullptr, nullptr, g_tessel.colors[1],
                   g_tessel.colors[0], 0, 0, "AB");
    unsigned long c = g_tessel.colors[5];
    XSetForeground(dpy, g_tessel.backGC, c);
    XFillRectangle(dpy, pm, g_tessel.backGC, 0, 0, W, H);
    tslResetGC(g_tessel.backGC);
    for (unsigned long p : all(pm))
        ASSERT_EQ(p, c);
}

TEST_F(Draw, ButtonCentresIconAndCaptionAsOneBlock)
{
    NEED_DISPLAY();
    unsigned long iconPixel = g_tessel.colors[7];
    TslImage* icon = solid_image(8, 6, iconPixel);
    const char* caption = "Ab";
    TslRect r = tslSetRect(0, 0, 60, 30);
    tslDrawButton(dpy, pm, r, caption, icon, 0);

    int tw = tslTextWidth(caption);
    int th = tslGetCharHeight(nullptr);
    int left = (60 - (8 + 3 + tw)) / 2;
    int iconTop = (30 - 6) / 2;
    EXPECT_EQ(at(left, iconTop), iconPixel);
    EXPECT_EQ(at(left + 7, iconTop + 5), iconPixel);
    EXPECT_EQ(at(left - 1, iconTop), paper);
    EXPECT_EQ(at(left + 8, iconTop), paper);
    EXPECT_EQ(at(left, iconTop - 1), paper);

    // The caption is exactly what tslDrawText draws three pixels right of the icon.
    Pixmap ref = fresh();
    tslDrawText(dpy, ref, nullptr, nullptr, g_tessel.fontPixel, ~0UL, left + 11, (30 - th) / 2,
                caption);
    EXPECT_EQ(xenv_pixels(dpy, pm, left + 9, 1, tw + 4, 28),
              xenv_pixels(dpy, ref, left + 9, 1, tw + 4, 28));
    XFreePixmap(dpy, ref);
    EXPECT_EQ(at(0, 0), g_tessel.backLightPixel);
    EXPECT_EQ(at(60, 30), g_tessel.backShadowPixel);
    free_image(icon);
}

TEST_F(Draw, ButtonPressedOneFillsAndShifts)
{
    NEED_DISPLAY();
    unsigned long iconPixel = g_tessel.colors[7];
    TslImage* icon = solid_image(10, 10, iconPixel);
    tslDrawButton(dpy, pm, tslSetRect(0, 0, 30, 20), nullptr, icon, 1);
    EXPECT_EQ(at(11, 6), iconPixel);
    EXPECT_EQ(at(10, 5), g_tessel.backNearPixel);
    EXPECT_EQ(at(20, 15), iconPixel);
    EXPECT_EQ(at(21, 16), g_tessel.backNearPixel);
    EXPECT_EQ(at(0, 0), g_tessel.backShadowPixel);
    EXPECT_EQ(at(30, 20), g_tessel.backLightPixel);
    EXPECT_EQ(at(31, 21), paper);
    free_image(icon);
}

TEST_F(Draw, ButtonPressedTwoIsSunkenWithoutFillOrShift)
{
    NEED_DISPLAY();
    unsigned long iconPixel = g_tessel.colors[7];
    TslImage* icon = solid_image(10, 10, iconPixel);
    tslDrawButton(dpy, pm, tslSetRect(0, 0, 30, 20), nullptr, icon, 2);
    EXPECT_EQ(at(10, 5), iconPixel);
    EXPECT_EQ(at(9, 5), paper);
    EXPECT_EQ(at(20, 15), paper);
    EXPECT_EQ(at(0, 0), g_tessel.backShadowPixel);
    EXPECT_EQ(at(30, 20), g_tessel.backLightPixel);
    free_image(icon);
}

TEST_F(Draw, IconButtonPutsIconAtCornerNotCentred)
{
    NEED_DISPLAY();
    unsigned long iconPixel = g_tessel.colors[7];
    TslImage* icon = solid_image(6, 6, iconPixel);
    tslDrawIconButton(dpy, pm, tslSetRect(0, 0, 30, 20), icon, 0);
    EXPECT_EQ(at(0, 0), g_tessel.backLightPixel);
    EXPECT_EQ(at(1, 1), iconPixel);
    EXPECT_EQ(at(5, 5), iconPixel);
    EXPECT_EQ(at(6, 6), paper);
    clear(pm, paper);
    tslDrawIconButton(dpy, pm, tslSetRect(0, 0, 30, 20), icon, 1);
    EXPECT_EQ(at(1, 1), iconPixel);
    EXPECT_EQ(at(6, 6), iconPixel);
    EXPECT_EQ(at(7, 7), g_tessel.backNearPixel);
    EXPECT_EQ(at(0, 0), g_tessel.backShadowPixel);
    tslDrawIconButton(dpy, pm, tslSetRect(0, 0, 30, 20), nullptr, 0);
    EXPECT_EQ(at(0, 0), g_tessel.backLightPixel);
    free_image(icon);
}

int line_height()
{
    int a = g_tessel.font->ascent + g_tessel.font->descent;
    int b = g_tessel.fontKanji->ascent + g_tessel.fontKanji->descent;
    return a > b ? a : b;
}

int width_of(const char* s, int n)
{
    return XTextWidth(g_tessel.font, s, n);
}

TEST_F(Draw, OpaqueTextFillsEveryCellAtFullLineHeight)
{
    NEED_DISPLAY();
    unsigned long bg = g_tessel.colors[0];
    unsigned long fg = g_tessel.colors[1];
    EXPECT_EQ(tslDrawText(dpy, pm, nullptr, nullptr, fg, bg, 2, 3, "A.B"), 1);
    int w = width_of("A.B", 3);
    int h = line_height();
    std::vector<unsigned long> cells = xenv_pixels(dpy, pm, 2, 3, w, h);
    int fgCount = 0;
    for (unsigned long p : cells) {
        ASSERT_TRUE(p == bg || p == fg);
        fgCount += p == fg;
    }
    EXPECT_GT(fgCount, 0);
    EXPECT_EQ(at(1, 3), paper);
    EXPECT_EQ(at(2 + w, 3), paper);
    EXPECT_EQ(at(2, 2), paper);
    EXPECT_EQ(at(2, 3 + h), paper);
}

TEST_F(Draw, TransparentTextTouchesOnlyGlyphPixels)
{
    NEED_DISPLAY();
    unsigned long fg = g_tessel.colors[1];
    tslDrawText(dpy, pm, nullptr, nullptr, fg, ~0UL, 2, 3, "A.B");
    int fgCount = 0, paperCount = 0;
    for (unsigned long p : all(pm)) {
        ASSERT_TRUE(p == paper || p == fg);
        fgCount += p == fg;
        paperCount += p == paper;
    }
    EXPECT_GT(fgCount, 0);
    EXPECT_GT(paperCount, fgCount);

    // tslPrint is the same in the toolkit's text colour.
    Pixmap p2 = fresh();
    EXPECT_EQ(tslPrint(p2, 2, 3, "A.B"), 1);
    std::vector<unsigned long> a = all(pm), b = all(p2);
    for (size_t i = 0; i < a.size(); i++)
        ASSERT_EQ(a[i] == fg, b[i] == g_tessel.fontPixel) << i;
    XFreePixmap(dpy, p2);
}

TEST_F(Draw, CarriageReturnSkippedInAsciiDrawnInEuc)
{
    NEED_DISPLAY();
    unsigned long bg = g_tessel.colors[0];
    unsigned long fg = g_tessel.colors[1];
    Pixmap a = fresh();
    tslDrawText(dpy, pm, nullptr, nullptr, fg, bg, 0, 0, "A\rB");
    tslDrawText(dpy, a, nullptr, nullptr, fg, bg, 0, 0, "AB");
    EXPECT_EQ(all(pm), all(a));
    XFreePixmap(dpy, a);

    // In EUC text the carriage return is a glyph cell of its own width.
    clear(pm, paper);
    const char* euc = "A\r\xB4\xC1";
    tslDrawText(dpy, pm, nullptr, nullptr, fg, bg, 0, 0, euc);
    XChar2b k = {0x34, 0x41};
    int total = width_of("A\r", 2) + XTextWidth16(g_tessel.fontKanji, &k, 1);
    EXPECT_NE(at(total - 1, 0), paper);
    EXPECT_EQ(at(total, 0), paper);
}

TEST_F(Draw, KanjiCellUsesKanjiWidthAndSharesBaseline)
{
    NEED_DISPLAY();
    unsigned long bg = g_tessel.colors[0];
    unsigned long fg = g_tessel.colors[1];
    tslDrawText(dpy, pm, nullptr, nullptr, fg, bg, 0, 0, "Ab\xB4\xC1");
    int latin = width_of("Ab", 2);
    XChar2b k = {0x34, 0x41};
    int kw = XTextWidth16(g_tessel.fontKanji, &k, 1);
    int h = line_height();
    EXPECT_NE(at(latin + kw - 1, h - 1), paper);
    EXPECT_EQ(at(latin + kw, 0), paper);

    // The kanji alone at the same pen position gives the same pixels.
    Pixmap ref = fresh();
    tslDrawText(dpy, ref, nullptr, nullptr, fg, bg, latin, 0, "\xB4\xC1");
    EXPECT_EQ(xenv_pixels(dpy, pm, latin, 0, kw, h), xenv_pixels(dpy, ref, latin, 0, kw, h));
    XFreePixmap(dpy, ref);
}

TEST_F(Draw, ShiftJisAndEucDrawTheSameGlyph)
{
    NEED_DISPLAY();
    unsigned long fg = g_tessel.colors[1];
    Pixmap ref = fresh();
    tslDrawText(dpy, pm, nullptr, nullptr, fg, ~0UL, 1, 1, "x\x82\xA0y");
    tslDrawText(dpy, ref, nullptr, nullptr, fg, ~0UL, 1, 1, "x\xA4\xA2y");
    EXPECT_EQ(all(pm), all(ref));
    XFreePixmap(dpy, ref);
}

TEST_F(Draw, ControlBytesDrawAsQuestionMarkAndLoneLeadDrawsNothing)
{
    NEED_DISPLAY();
    unsigned long fg = g_tessel.colors[1];
    unsigned long bg = g_tessel.colors[0];
    Pixmap ref = fresh();
    tslDrawText(dpy, pm, nullptr, nullptr, fg, bg, 0, 0, "a\x1b");
    tslDrawText(dpy, ref, nullptr, nullptr, fg, bg, 0, 0, "a?");
    EXPECT_EQ(all(pm), all(ref));

    clear(pm, paper);
    clear(ref, paper);
    tslDrawNText(dpy, pm, nullptr, nullptr, fg, bg, 0, 0, "a\xB4\xC1", 2);
    tslDrawText(dpy, ref, nullptr, nullptr, fg, bg, 0, 0, "a");
    EXPECT_EQ(all(pm), all(ref));
    XFreePixmap(dpy, ref);
}

TEST_F(Draw, TextClippedToRegionAndRect)
{
    NEED_DISPLAY();
    unsigned long fg = g_tessel.colors[1];
    unsigned long bg = g_tessel.colors[0];
    tslDrawTextRRg(dpy, pm, tslSetRect(0, 0, 4, 40), nullptr, nullptr, fg, bg, 0, 0, "WWWW");
    for (int y = 0; y < line_height(); y++) {
        EXPECT_NE(at(3, y), paper);
        EXPECT_EQ(at(4, y), paper);
    }
    Region rg = XCreateRegion();
    XRectangle xr = {0, 0, 64, 2};
    XUnionRectWithRegion(&xr, rg, rg);
    clear(pm, paper);
    tslDrawTextRg(dpy, pm, rg, nullptr, nullptr, fg, bg, 0, 0, "WWWW");
    EXPECT_NE(at(0, 1), paper);
    EXPECT_EQ(at(0, 2), paper);
    XDestroyRegion(rg);
}

TEST_F(Draw, TextEngineRefusesBadArguments)
{
    NEED_DISPLAY();
    EXPECT_EQ(tslDrawTextEx(dpy, pm, g_tessel.backGC, nullptr, nullptr, 0, 0, nullptr, 3), 0);
    EXPECT_EQ(tslDrawTextEx(dpy, pm, g_tessel.backGC, nullptr, nullptr, 0, 0, "abc", 0), 0);
    EXPECT_EQ(tslDrawTextEx(dpy, 0, g_tessel.backGC, nullptr, nullptr, 0, 0, "abc", 3), 0);
    EXPECT_EQ(tslDrawText(dpy, pm, nullptr, nullptr, 1, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(tslDrawText(dpy, pm, nullptr, nullptr, 1, 0, 0, 0, ""), 0);
    XFontStruct* saved = g_tessel.font;
    g_tessel.font = nullptr;
    EXPECT_EQ(tslDrawTextEx(dpy, pm, nullptr, nullptr, nullptr, 0, 0, "abc", 3), 0);
    g_tessel.font = saved;
    for (unsigned long p : all(pm))
        ASSERT_EQ(p, paper);
}

class DrawDepth : public Draw, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {}
};

TEST_P(DrawDepth, FramesAndTextAtOtherDepths)
{
    const char* env = GetParam();
    if (!getenv(env))
        GTEST_SKIP() << env << " not set";
    open(env);
    ASSERT_NE(dpy, nullptr);
    tslDraw3DRectangle(dpy, pm, tslSetRect(0, 0, 9, 9), 1);
    expect_3d(dpy, pm, g_tessel.backLightPixel, g_tessel.backShadowPixel, paper);
    unsigned long bg = g_tessel.colors[0];
    unsigned long fg = g_tessel.colors[1];
    clear(pm, paper);
    tslDrawText(dpy, pm, nullptr, nullptr, fg, bg, 0, 0, "A\xB4\xC1");
    EXPECT_NE(at(0, 0), paper);
}

INSTANTIATE_TEST_SUITE_P(Depths, DrawDepth, ::testing::Values("TSL_DISPLAY_16", "TSL_DISPLAY_8"));

}  // namespace
