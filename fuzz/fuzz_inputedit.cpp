// Fuzz target for input line editing: a byte script of keys, typed text,
// insertions, selections and clicks, as the input window would apply them,
// with the line's promises checked after every step.
#include <X11/keysym.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "controls/input_edit.h"
#include "support/charcode_private.h"
#include "tessel.h"

namespace {

struct Script {
    const uint8_t* p;
    size_t n;
    uint8_t byte()
    {
        if (!n)
            return 0;
        n--;
        return *p++;
    }
    int word() { return (int16_t)(byte() | byte() << 8); }
};

// 5 to 8 pixels a byte, so that widths differ from character to character.
int width(const char* text, int len)
{
    int w = 0;
    for (int i = 0; i < len; i++)
        w += 5 + ((unsigned char)text[i] & 3);
    return w;
}

const unsigned long kKeys[] = {XK_Left,      XK_Right,  XK_Home,   XK_End, XK_Prior, XK_Next,
                               XK_BackSpace, XK_Delete, XK_Return, 'a',    0};

// A string of len bytes repeating a few bytes of the script (no NUL, which
// would end it early).
void pattern(Script& s, char* out, int len)
{
    uint8_t seed[4];
    int k = 1 + s.byte() % 4;
    for (int i = 0; i < k; i++) {
        uint8_t b = s.byte();
        seed[i] = b ? b : 1;
    }
    for (int i = 0; i < len; i++)
        out[i] = (char)seed[i % k];
    out[len] = '\0';
}

bool on_boundary(const char* text, int index, int code)
{
    return charcode_byte_kind(text, index, code) != TSL_CHAR_TRAIL;
}

void check(const InputLine& l, int code)
{
    int n = (int)strlen(l.text);
    int end = l.caret + l.selLen;
    int start = l.selLen < 0 ? end : l.caret;
    bool ok = n <= INPUT_TEXT_MAX && l.caret >= 0 && l.caret <= n && end >= 0 && end <= n &&
              l.drawPos >= 0 && l.drawPos <= n && on_boundary(l.text, l.caret, code) &&
              on_boundary(l.text, end, code) && on_boundary(l.text, l.drawPos, code) &&
              strlen(l.selText) == (size_t)abs(l.selLen) &&
              memcmp(l.selText, l.text + start, (size_t)abs(l.selLen)) == 0;
    if (!ok)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int codes[] = {TSL_CODE_EUC, TSL_CODE_SJIS, TSL_CODE_ASCII};
    Script s{data, size};
    int code = codes[s.byte() % 3];
    int winWidth = 1 + s.byte() * 2;
    static InputLine line;
    static char str[4 * INPUT_TEXT_MAX];
    input_reset(&line, "");
    while (s.n) {
        uint8_t op = s.byte();
        bool scroll = true;
        switch (op % 8) {
        case 0: {
            unsigned long key = kKeys[s.byte() % (sizeof kKeys / sizeof kKeys[0])];
            scroll = input_key(&line, code, key, s.byte() & 1, nullptr, 0) != INPUT_PAINT;
            break;
        }
        case 1: {
            int len = s.byte() % 8;
            for (int i = 0; i < len; i++)
                str[i] = (char)s.byte();
            input_key(&line, code, op & 8 ? 'a' : 0, 0, str, len);
            break;
        }
        case 2: {
            pattern(s, str, s.byte() * 12);
            int bell;
            input_add(&line, code, str, &bell);
            break;
        }
        case 3: {
            int start = s.word();
            input_select(&line, code, start, s.word());
            break;
        }
        case 4:
            input_set_caret(&line, code, s.word());
            break;
        case 5:
            input_select_word(&line, code);
            break;
        case 6: {
            // A click, or a drag when the high bit says a button is held.
            int at = input_hit(&line, code, width, s.word());
            if (op & 0x80)
                line.selLen = at - line.caret;
            else
                line.caret = at, line.selLen = 0;
            input_refresh_selection(&line);
            scroll = (op & 0x80) != 0;
            break;
        }
        case 7:
            if (op & 0x80) {
                pattern(s, str, s.byte() % 64 * 16);
                input_reset(&line, str);
            } else if (line.selLen) {
                input_delete_selection(&line);
            }
            break;
        }
        if (scroll)
            line.drawPos = input_draw_pos(&line, code, width, winWidth);
        check(line, code);
    }
    return 0;
}
