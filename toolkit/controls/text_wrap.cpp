// Line breaking of the text window: walks the text character by character
// in its own character code and ends a line at a line feed or before the
// character that would reach the wrap limit.
#include "controls/text_wrap.h"

#include <new>

#include "support/charcode_private.h"
#include "tessel.h"

// Rows between the top of the window and its first text line, and below the
// last one for the frame.
static const int kRowMargin = 3;

static bool is_control(unsigned char c)
{
    return c < 0x20 && !(c >= 9 && c <= 13);
}

static int detect_code(char* text, int length)
{
    int code = tslCheckCharCode(text, length);
    if (code != TSL_CODE_NOTEXT)
        return code;
    for (int i = 0; i < length; i++)
        if (is_control((unsigned char)text[i]))
            text[i] = '?';
    return tslCheckCharCode(text, length);
}

// Bytes and pixel width of the character at i.  A lead byte without its
// partner is one byte that draws nothing.
static int measure(const unsigned char* s, int i, int length, int code, const TextWrapFonts& fonts,
                   int* width)
{
    unsigned char c = s[i];
    bool lead = (code == TSL_CODE_SJIS && charcode_is_sjis_lead(c)) ||
                (code == TSL_CODE_EUC && charcode_is_euc_lead(c));
    if (!lead) {
        *width = fonts.single(fonts.context, c);
        return 1;
    }
    if (i + 1 >= length) {
        *width = 0;
        return 1;
    }
    unsigned char row = (unsigned char)(c - 0x80);
    unsigned char cell = (unsigned char)(s[i + 1] - 0x80);
    if (code == TSL_CODE_SJIS)
        charcode_sjis_to_jis(c, s[i + 1], &row, &cell);
    *width = fonts.pair(fonts.context, row, cell);
    return 2;
}

bool text_wrap(char* text, int length, int limit, const TextWrapFonts& fonts,
               std::vector<TextWrapLine>* lines)
{
    lines->clear();
    if (!text || length <= 0)
        return true;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    int code = detect_code(text, length);
    try {
        int start = 0;
        int wd = 0;
        int i = 0;
        while (i < length) {
            if (fonts.tick)
                fonts.tick(fonts.context);
            int w;
            int n = measure(s, i, length, code, fonts, &w);
            if (w < 0)
                w = 0;
            bool feed = n == 1 && s[i] == '\n';
            bool fits = (long long)wd + w < limit;
            if (!feed && fits) {
                wd += w;
                i += n;
                continue;
            }
            if (!fits) {
                // The character begins the next line, unless it is alone:
                // a line never stays empty.
                if (i == start)
                    i += n;
                lines->push_back(TextWrapLine{start, i - start, limit});
            } else {
                i += n;
                lines->push_back(TextWrapLine{start, i - start, wd + w});
            }
            start = i;
            wd = 0;
        }
        if (i > start)
            lines->push_back(TextWrapLine{start, i - start, wd});
    } catch (const std::bad_alloc&) {
        lines->clear();
        return false;
    }
    return true;
}

int text_wrap_visible(int windowHeight, int lineHeight)
{
    if (lineHeight <= 0 || windowHeight <= kRowMargin)
        return 0;
    return (windowHeight - kRowMargin) / lineHeight;
}

int text_wrap_clamp_pos(int pos, int lineCount, int lineHeight, int windowHeight)
{
    long long over = (long long)lineCount * lineHeight - windowHeight;
    if (over <= 0 || lineHeight <= 0)
        return 0;
    long long last = over / lineHeight;
    return last < pos ? (int)last : pos;
}
