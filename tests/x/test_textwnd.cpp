// The text window on a real server: the wrap limit with the toolkit's fonts,
// line feeds and control bytes as painted, the outline halo, and scrolling
// by copying that ends in the same pixels as a full repaint.
#include <algorithm>
#include <cstring>
#include <string>

#include "xfixture.h"

namespace {

class TextWnd : public XDepthTest {
protected:
    int h = 0;

    TslWindow* make(const std::string& text, int width, int height, int x, int y = 10)
    {
        TslWindow* top = tslGetWindow("TextTop");
        top = top ? top : tslCreateWindow(d, nullptr, tslPos(880, 40), tslSize(360, 300), 0, "TextTop", nullptr);
        h = tslGetCharHeight(nullptr);
        TslWindow* w = tslCreateWindow_TextWnd(d, top, tslSetRect(x, y, width, height), "tw", text.data(), (int)text.size());
        xenv_pump(d, 30);
        return w;
    }
    std::vector<unsigned long> shown(TslWindow* w) { return xenv_pixels(d, w->xwin, 0, 0, w->rect.width, w->rect.height); }
    // Pixels of one colour (the text's unless given) in a row from x0 to x1.
    int ink(TslWindow* w, int row, int x0 = 4, int x1 = 0, unsigned long pixel = 0)
    {
        auto px = xenv_pixels(d, w->xwin, x0, 2 + row * h, (x1 ? x1 : w->rect.width - 1) - x0, h);
        return (int)std::count(px.begin(), px.end(), pixel ? pixel : w->foreFontPixel);
    }
};

}  // namespace

TEST_P(TextWnd, WrapsBeforeTheLimitLineFeedsAndControlBytes)
{
    int cw = XTextWidth(g_tessel.font, "a", 1);
    // Ten letters fit the limit of width - 5: the tenth reaches it and goes on,
    // and so does a kanji after nine.
    TslWindow* w = make("aaaaaaaaaa", 10 * cw + 5, 60, 10);
    TslWindow* k = make("aaaaaaaaa\xb4\xc1\n\nb", 10 * cw + 5, 60, 120);
    ASSERT_TRUE(w && k);
    EXPECT_TRUE(tslGetLines_TextWnd(w) == 2 && ink(w, 1, 4, 4 + cw) > 0 && ink(w, 1, 4 + cw) == 0);
    EXPECT_TRUE(tslGetLines_TextWnd(k) == 4 && ink(k, 0, 4 + 9 * cw) == 0 && ink(k, 1) && !ink(k, 2) && ink(k, 3));
    // The wrap follows the width: four letters a line at five letters' width.
    tslMoveResizeWindow(w, tslPos(10, 10), tslSize(5 * cw + 5, 60));
    xenv_pump(d, 100);
    EXPECT_TRUE(tslGetLines_TextWnd(w) == 3 && ink(w, 2) > 0 && ink(w, 0, 4 + 4 * cw) == 0);
    // Control bytes show as '?', which the window's text keeps.
    TslWindow* c = make(std::string("a\x01\0b", 4), 100, 40, 230);
    TslWindow* q = make("a??b", 100, 40, 230, 60);
    EXPECT_TRUE(strcmp(tslGetText_TextWnd(c), "a??b") == 0 && shown(c) == shown(q));
}

TEST_P(TextWnd, HaloAndScrollingByCopyingEndInAFullRepaintsPixels)
{
    std::string text;
    for (int i = 0; i < 30; i++)
        text += "line " + std::to_string(i) + (i % 3 ? " \xa4\xa2\n" : "\n");
    TslWindow* w = make(text, 120, 3 + 11 * tslGetCharHeight(nullptr) / 2, 10);  // five and a half rows
    ASSERT_NE(w, nullptr);
    int r, g, b, before;
    tslGetRGB(d, g_tessel.colormap, w->foreFontPixel, &r, &g, &b);
    unsigned long halo = tslGetAlterColor(d, g_tessel.colormap, r, g, b, TSL_ALTER_CONTRAST);
    before = ink(w, 0, 4, 0, halo);
    tslSetOutLine_TextWnd(w, 1);
    EXPECT_TRUE(before == 0 && ink(w, 0, 4, 0, halo) > ink(w, 0));
    tslSetHiDraw_TextWnd(w, 1);  // takes the halo away
    EXPECT_EQ(ink(w, 0, 4, 0, halo), 0);

    // A mark right of the text in row 2 rides up with the rows copied.
    xenv_fill(d, w->redrawPixmap, g_tessel.colors[5], 110, 2 + 2 * h, 2, 2);
    tslSetPos_TextWnd(w, 2);
    EXPECT_EQ(xenv_pixel(d, w->xwin, 110, 2), g_tessel.colors[5]);
    // Forward and back by copying, a jump too far to copy, the last lines.
    for (int pos : {5, 9, 7, 4, 25, 29, 26, 0}) {
        tslSetPos_TextWnd(w, pos);
        std::vector<unsigned long> scrolled = shown(w);
        tslSendEvent(w, TSLM_PAINT);
        ASSERT_EQ(scrolled, shown(w)) << "at " << pos;
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, TextWnd, TSL_ALL_DEPTHS);
