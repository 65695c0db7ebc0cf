// Text measurement with the toolkit's two fonts: one-byte characters with
// the single-byte font, two-byte characters as JIS X 0208 pairs with the
// Kanji font.
#include <cstring>

#include "tessel.h"
#include "support/charcode_private.h"

static int single_width(XFontStruct* font, unsigned char c)
{
    char ch = (char)c;
    return XTextWidth(font, &ch, 1);
}

static int pair_width(XFontStruct* kanji, unsigned char j1, unsigned char j2)
{
    XChar2b ch;
    ch.byte1 = j1;
    ch.byte2 = j2;
    return XTextWidth16(kanji, &ch, 1);
}

int tslFontNWidth(XFontStruct* font, XFontStruct* kanjiFont, const char* str, int len)
{
    if (!font) font = g_tessel.font;
    if (!kanjiFont) kanjiFont = g_tessel.fontKanji;
    if (!font || !str || len < 1) return 0;
    // Without a Kanji font the single-byte font measures pairs too.
    if (!kanjiFont) kanjiFont = font;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(str);
    int code = tslCheckCharCode(str, len);
    int width = 0;
    int i = 0;
    while (i < len) {
        unsigned char c = s[i];
        bool lead = (code == TSL_CODE_SJIS && charcode_is_sjis_lead(c)) ||
                    (code == TSL_CODE_EUC && charcode_is_euc_lead(c));
        if (lead) {
            // A lead byte at the end has no partner and adds nothing.
            if (i + 1 >= len) break;
            unsigned char j1, j2;
            if (code == TSL_CODE_SJIS) {
                charcode_sjis_to_jis(c, s[i + 1], &j1, &j2);
            } else {
                j1 = (unsigned char)(c - 0x80);
                j2 = (unsigned char)(s[i + 1] - 0x80);
            }
            width += pair_width(kanjiFont, j1, j2);
            i += 2;
            continue;
        }
        if (code == TSL_CODE_NOTEXT && c < 0x20 && !(c >= 9 && c <= 13)) c = '?';
        width += single_width(font, c);
        i++;
    }
    return width;
}

int tslTextNWidth(const char* str, int len)
{
    return tslFontNWidth(g_tessel.font, g_tessel.fontKanji, str, len);
}

int tslTextWidth(const char* str)
{
    if (!str) return 0;
    size_t len = strlen(str);
    return tslTextNWidth(str, len > 0x7FFFFFFF ? 0x7FFFFFFF : (int)len);
}

static int line_height(const XFontStruct* font)
{
    return font->ascent + font->descent;
}

int tslGetCharHeight(XFontStruct* font)
{
    if (font) return line_height(font);
    XFontStruct* single = g_tessel.font;
    XFontStruct* kanji = g_tessel.fontKanji;
    if (!single && !kanji) return 0;
    if (!kanji) return line_height(single);
    if (!single) return line_height(kanji);
    int a = line_height(single), b = line_height(kanji);
    return b > a ? b : a;
}
