// Text drawing with two fonts: single-byte characters with the base font and
// two-byte (Kanji) characters as JIS X 0208 pairs with the Kanji font, one
// character per request so that both fonts can share one line.
#include <cstring>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tessel.h"
#include "support/charcode_private.h"
#include "support/xhelpers.h"

static const unsigned long kNoBackground = ~0UL;

struct Pen {
    Display* display;
    Drawable d;
    XFontStruct* font;
    XFontStruct* fontKanji;
    int opaque;
    short x;
    int top;
    int lineHeight;
    int baseline;
};

static void draw_single(Pen& pen, char c)
{
    int w = XTextWidth(pen.font, &c, 1);
    if (pen.opaque)
        XFillRectangle(pen.display, pen.d, g_tessel.backGC, pen.x, pen.top, (unsigned)(w > 0 ? w : 0),
                       (unsigned)pen.lineHeight);
    XDrawString(pen.display, pen.d, g_tessel.fontGC, pen.x, pen.baseline, &c, 1);
    pen.x = (short)(pen.x + w);
}

static void draw_double(Pen& pen, unsigned char row, unsigned char cell)
{
    XChar2b ch;
    ch.byte1 = row;
    ch.byte2 = cell;
    int w = XTextWidth16(pen.fontKanji, &ch, 1);
    if (pen.opaque)
        XFillRectangle(pen.display, pen.d, g_tessel.backGC, pen.x, pen.top, (unsigned)(w > 0 ? w : 0),
                       (unsigned)pen.lineHeight);
    XDrawString16(pen.display, pen.d, g_tessel.kanjiGC, pen.x, pen.baseline, &ch, 1);
    pen.x = (short)(pen.x + w);
}

static void walk_text(Pen& pen, const unsigned char* s, int len)
{
    int code = tslCheckCharCode((const char*)s, len);
    for (int i = 0; i < len; i++) {
        unsigned char c = s[i];
        switch (code) {
        case TSL_CODE_NOTEXT:
            draw_single(pen, (c < 0x20 && (c < 9 || c > 13)) ? '?' : (char)c);
            break;
        case TSL_CODE_SJIS:
            if (c == '\r')
                break;
            if (charcode_is_sjis_lead(c)) {
                if (i + 1 < len) {
                    unsigned char j1, j2;
                    charcode_sjis_to_jis(c, s[i + 1], &j1, &j2);
                    draw_double(pen, j1, j2);
                }
                i++;
            } else {
                draw_single(pen, (char)c);
            }
            break;
        case TSL_CODE_EUC:
            if (charcode_is_euc_lead(c)) {
                if (i + 1 < len)
                    draw_double(pen, (unsigned char)(c - 0x80), (unsigned char)(s[i + 1] - 0x80));
                i++;
            } else {
                draw_single(pen, (char)c);
            }
            break;
        default:
            if (c != '\r')
                draw_single(pen, (char)c);
            break;
        }
    }
}

// Common set-up of the wrappers: backGC carries the clip and colours into
// the text engine.
static int draw_with_backgc(Display* display, Drawable d, Region rg, XFontStruct* font,
                     XFontStruct* fontKanji, unsigned long fg, unsigned long bg, int x, int y,
                     const char* text, int len)
{
    GC gc = g_tessel.backGC;
    tslResetGC(gc);
    if (rg)
        XSetRegion(display, gc, rg);
    XSetForeground(display, gc, fg);
    if (bg != kNoBackground) {
        XSetGraphicsExposures(display, gc, False);
        XSetBackground(display, gc, bg);
    } else {
        XSetGraphicsExposures(display, gc, True);
    }
    int result = tslDrawTextEx(display, d, gc, font, fontKanji, (short)x, y, text, len);
    if (rg)
        XSetClipMask(display, gc, None);
    return result;
}

static int text_length(const char* text)
{
    if (!text)
        return 0;
    size_t n = strlen(text);
    return n > 0x7FFFFFFF ? 0x7FFFFFFF : (int)n;
}

int tslDrawTextEx(Display* display, Drawable d, GC gc, XFontStruct* font, XFontStruct* fontKanji,
                  short x, int y, const char* text, int len)
{
    if (!font)
        font = g_tessel.font;
    if (!fontKanji)
        fontKanji = g_tessel.fontKanji;
    if (!fontKanji)
        fontKanji = font;
    if (!font || !text || len < 1 || d == 0)
        return 0;

    Pen pen{display, d, font, fontKanji, 0, x, y, 0, 0};
    if (gc) {
        XGCValues v;
        XGetGCValues(display, gc, GCForeground | GCBackground | GCGraphicsExposures, &v);
        if (gc != g_tessel.backGC)
            XCopyGC(display, gc, XHELP_GC_ALL_BUT_ARC_MODE, g_tessel.backGC);
        XCopyGC(display, gc, XHELP_GC_ALL_BUT_ARC_MODE, g_tessel.fontGC);
        XCopyGC(display, gc, XHELP_GC_ALL_BUT_ARC_MODE, g_tessel.kanjiGC);
        if (!v.graphics_exposures) {
            pen.opaque = 1;
            XSetGraphicsExposures(display, g_tessel.backGC, False);
            XSetForeground(display, g_tessel.backGC, v.background);
        } else {
            XSetGraphicsExposures(display, g_tessel.backGC, True);
        }
        XSetBackground(display, g_tessel.backGC, v.foreground);
    } else {
        XSetClipMask(display, g_tessel.fontGC, None);
        XSetClipMask(display, g_tessel.kanjiGC, None);
        XSetForeground(display, g_tessel.fontGC, g_tessel.fontPixel);
        XSetForeground(display, g_tessel.kanjiGC, g_tessel.fontPixel);
        XSetGraphicsExposures(display, g_tessel.fontGC, True);
        XSetGraphicsExposures(display, g_tessel.kanjiGC, True);
    }
    XSetFont(display, g_tessel.fontGC, font->fid);
    XSetFont(display, g_tessel.kanjiGC, fontKanji->fid);

    int hBase = font->ascent + font->descent;
    int hKanji = fontKanji->ascent + fontKanji->descent;
    pen.lineHeight = hKanji > hBase ? hKanji : hBase;
    pen.baseline = y + (fontKanji->ascent > font->ascent ? fontKanji->ascent : font->ascent);

    walk_text(pen, (const unsigned char*)text, len);

    tslResetGC(g_tessel.backGC);
    tslResetGC(g_tessel.fontGC);
    tslResetGC(g_tessel.kanjiGC);
    return 1;
}

int tslDrawNTextRg(Display* display, Drawable d, Region rg, XFontStruct* font,
                   XFontStruct* fontKanji, unsigned long fg, unsigned long bg, int x, int y,
                   const char* text, int len)
{
    return draw_with_backgc(display, d, rg, font, fontKanji, fg, bg, x, y, text, len);
}

int tslDrawNText(Display* display, Drawable d, XFontStruct* font, XFontStruct* fontKanji,
                 unsigned long fg, unsigned long bg, int x, int y, const char* text, int len)
{
    return draw_with_backgc(display, d, NULL, font, fontKanji, fg, bg, x, y, text, len);
}

int tslDrawNTextRRg(Display* display, Drawable d, TslRect clip, XFontStruct* font,
                    XFontStruct* fontKanji, unsigned long fg, unsigned long bg, int x, int y,
                    const char* text, int len)
{
    Region rg = xhelp_rect_region(clip);
    if (!rg)
        return 0;
    int result = draw_with_backgc(display, d, rg, font, fontKanji, fg, bg, x, y, text, len);
    XDestroyRegion(rg);
    return result;
}

int tslDrawText(Display* display, Drawable d, XFontStruct* font, XFontStruct* fontKanji,
                unsigned long fg, unsigned long bg, int x, int y, const char* text)
{
    return tslDrawNText(display, d, font, fontKanji, fg, bg, x, y, text, text_length(text));
}

int tslDrawTextRg(Display* display, Drawable d, Region rg, XFontStruct* font,
                  XFontStruct* fontKanji, unsigned long fg, unsigned long bg, int x, int y,
                  const char* text)
{
    return tslDrawNTextRg(display, d, rg, font, fontKanji, fg, bg, x, y, text, text_length(text));
}

int tslDrawTextRRg(Display* display, Drawable d, TslRect clip, XFontStruct* font,
                   XFontStruct* fontKanji, unsigned long fg, unsigned long bg, int x, int y,
                   const char* text)
{
    return tslDrawNTextRRg(display, d, clip, font, fontKanji, fg, bg, x, y, text,
                           text_length(text));
}

int tslPrint(Drawable d, int x, int y, const char* text)
{
    Display* display = g_tessel.display;
    if (!display)
        return 0;
    tslResetGC(g_tessel.backGC);
    XSetForeground(display, g_tessel.backGC, g_tessel.fontPixel);
    XSetGraphicsExposures(display, g_tessel.backGC, True);
    return tslDrawTextEx(display, d, g_tessel.backGC, NULL, NULL, (short)x, y, text,
                         text_length(text));
}
