// The text window on a real server: the wrap limit with the toolkit's fonts,
// line feeds and control bytes as painted, the outline halo, and scrolling
// by copying that ends in the same pixels as a full repaint.
#include <string>

#include "xfixture.h"

namespace {

class TextWnd : public XDepthTest {
protected:
    TslWindow* top = nullptr;
    int cw = 0, kw = 0, h = 0;

    void SetUp() override
    {
        XDepthTest::SetUp();
        if (!d)
            return;
        top = tslCreateWindow(d, nullptr, tslPos(880, 40), tslSize(360, 300), 0, "TextTop", nullptr);
        cw = XTextWidth(g_tessel.font, "a", 1);
        XChar2b k = {0x34, 0x41};
        kw = XTextWidth16(g_tessel.fontKanji, &k, 1);
        h = tslGetCharHeight(nullptr);
    }
    TslWindow* make(const std::string& text, int width, int height, int x = 10)
    {
        TslWindow* w = tslCreateWindow_TextWnd(d, top, tslSetRect(x, 10, width, height), "tw", text.data(),
                                               (int)text.size());
        if (w) {
            xenv_wait_mapped(d, w->xwin);
            xenv_pump(d, 30);
        }
        return w;
    }
    std::vector<unsigned long> screen(TslWindow* w)
    {
        XSync(d, False);
        return xenv_pixels(d, w->xwin, 0, 0, w->rect.width, w->rect.height);
    }
    // Pixels of one colour in a rectangle of the window as shown.
    int count(TslWindow* w, unsigned long pixel, int x, int y, int width, int height)
    {
        XSync(d, False);
        int n = 0;
        for (unsigned long p : xenv_pixels(d, w->xwin, x, y, width, height))
            n += p == pixel;
        return n;
    }
    int ink(TslWindow* w, int row, int x0 = 4, int x1 = -1)
    {
        if (x1 < 0)
            x1 = w->rect.width - 1;
        return count(w, w->foreFontPixel, x0, 2 + row * h, x1 - x0, h);
    }
};

}  // namespace

TEST_P(TextWnd, WrapsBeforeTheLimitAndKeepsPairsWhole)
{
    // The limit is ten letters: the tenth reaches it and goes on.
    TslWindow* w = make("aaaaaaaaaa", 10 * cw + 5, 60);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(tslGetLines_TextWnd(w), 2);
    EXPECT_GT(ink(w, 1, 4, 4 + cw), 0);
    EXPECT_EQ(ink(w, 1, 4 + cw), 0);
    // Nine letters and a kanji pass the limit: the kanji moves whole.
    TslWindow* k = make("aaaaaaaaa\xb4\xc1", 10 * cw + 5, 60, 120);
    EXPECT_EQ(tslGetLines_TextWnd(k), 2);
    EXPECT_EQ(ink(k, 0, 4 + 9 * cw), 0);
    EXPECT_GT(ink(k, 1, 4, 4 + kw), 0);
    // The wrap follows the width: four letters a line at five letters' width.
    tslMoveResizeWindow(w, tslPos(10, 10), tslSize(5 * cw + 5, 60));
    xenv_pump(d, 100);
    EXPECT_EQ(tslGetLines_TextWnd(w), 3);
    EXPECT_GT(ink(w, 2), 0);
    EXPECT_EQ(ink(w, 0, 4 + 4 * cw), 0);
    // Narrower than two kanji and the margin: no window.
    EXPECT_EQ(make("a", 2 * h + 4, 40), nullptr);
}

TEST_P(TextWnd, LineFeedsAndControlBytes)
{
    TslWindow* w = make("ab\n\ncd", 100, 60);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(tslGetLines_TextWnd(w), 3);
    EXPECT_GT(ink(w, 0), 0);
    EXPECT_EQ(ink(w, 1), 0);
    EXPECT_GT(ink(w, 2), 0);
    // A control byte shows as '?', and the window's text keeps the '?'.
    TslWindow* c = make(std::string("a\x01\0b", 4), 100, 40, 120);
    TslWindow* q = make("a??b", 100, 40, 230);
    EXPECT_EQ(std::string(tslGetText_TextWnd(c)), "a??b");
    EXPECT_EQ(screen(c), screen(q));
}

TEST_P(TextWnd, OutlineHaloAndFastScrollExcludeEachOther)
{
    TslWindow* w = make("Halo", 100, 40);
    ASSERT_NE(w, nullptr);
    int r, g, b;
    tslGetRGB(d, g_tessel.colormap, w->foreFontPixel, &r, &g, &b);
    unsigned long halo = tslGetAlterColor(d, g_tessel.colormap, r, g, b, TSL_ALTER_CONTRAST);
    ASSERT_NE(halo, g_tessel.paperPixel);
    EXPECT_EQ(count(w, halo, 0, 0, 100, 40), 0);
    EXPECT_EQ(tslSetOutLine_TextWnd(w, 1), 1);
    int ringed = count(w, halo, 0, 0, 100, 40);
    EXPECT_GT(ringed, ink(w, 0));
    EXPECT_GT(ink(w, 0), 0);
    tslSetHiDraw_TextWnd(w, 1);
    EXPECT_EQ(count(w, halo, 0, 0, 100, 40), 0);
    tslSetOutLine_TextWnd(w, 1);
    EXPECT_EQ(count(w, halo, 0, 0, 100, 40), ringed);
}

TEST_P(TextWnd, ScrollingEndsInTheFullRepaintsPixels)
{
    std::string text;
    for (int i = 0; i < 30; i++)
        text += "line " + std::to_string(i) + (i % 3 ? " \xa4\xa2\n" : "\n");
    // Five whole rows and part of a sixth.
    TslWindow* w = make(text, 120, 3 + 5 * h + h / 2);
    ASSERT_NE(w, nullptr);
    tslSetHiDraw_TextWnd(w, 1);
    // A mark right of the text in row 2 rides up with the rows copied.
    xenv_fill(d, w->redrawPixmap, g_tessel.colors[5], 110, 2 + 2 * h, 2, 2);
    EXPECT_EQ(tslSetPos_TextWnd(w, 2), 1);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 110, 2), g_tessel.colors[5]);
    tslSendEvent(w, TSLM_PAINT);

    // Forward and back by copying, a jump too far to copy, the last lines.
    for (int pos : {5, 9, 7, 4, 25, 29, 26, 0}) {
        EXPECT_EQ(tslSetPos_TextWnd(w, pos), 1);
        std::vector<unsigned long> scrolled = screen(w);
        tslSendEvent(w, TSLM_PAINT);
        ASSERT_EQ(scrolled, screen(w)) << "at " << pos;
    }
    tslSetPos_TextWnd(w, 4);
    EXPECT_EQ(tslSetPos_TextWnd(w, 30), 0);
    // The same text again neither repaints nor scrolls back.
    xenv_fill(d, w->redrawPixmap, g_tessel.colors[5], 0, 0, 120, 10);
    EXPECT_EQ(tslSetText_TextWnd(w, text.data(), (int)text.size()), 30);
    EXPECT_EQ(tslSetPos_TextWnd(w, 4), 1);
    EXPECT_EQ(tslGetPos_TextWnd(w), 4);
    EXPECT_EQ(xenv_pixel(d, w->redrawPixmap, 60, 5), g_tessel.colors[5]);
    EXPECT_EQ(tslSetText_TextWnd(w, "x\ny", 3), 2);
    EXPECT_EQ(tslGetPos_TextWnd(w), 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, TextWnd, TSL_ALL_DEPTHS);
