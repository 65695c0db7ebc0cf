// Fuzz target for the text window's line breaking.  The first byte picks
// the wrap limit, the second the character widths; the rest is the text.
// Checked: the lines cover the text exactly, none starts inside a two-byte
// character, a line feed only ever ends a line, and no line is wider than
// its recorded width, which never passes the limit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/text_wrap.h"
#include "support/charcode_private.h"
#include "tessel.h"

static int s_seed;

static int single(void*, unsigned char c)
{
    return (c * s_seed) % 23;
}

static int pair(void*, unsigned char row, unsigned char cell)
{
    return ((row + cell) * s_seed) % 41;
}

static void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2 || size > (1u << 20))
        return 0;
    int limit = 1 + data[0] * 4;
    s_seed = 1 + data[1];
    std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    int length = (int)text.size();
    TextWrapFonts fonts{nullptr, single, pair, nullptr};
    std::vector<TextWrapLine> lines;
    check(text_wrap(length ? &text[0] : nullptr, length, limit, fonts, &lines));

    // Character starts and widths, walked independently of the wrapper.
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data());
    int code = tslCheckCharCode(text.data(), length);
    check(code != TSL_CODE_NOTEXT || length == 0);
    std::vector<int> charBytes((size_t)length, 0), charWidth((size_t)length, 0);
    for (int i = 0; i < length;) {
        bool lead = (code == TSL_CODE_SJIS && charcode_is_sjis_lead(s[i])) ||
                    (code == TSL_CODE_EUC && charcode_is_euc_lead(s[i]));
        int n = lead && i + 1 < length ? 2 : 1;
        unsigned char row = (unsigned char)(s[i] - 0x80), cell = (unsigned char)(s[i + n - 1] - 0x80);
        if (n == 2 && code == TSL_CODE_SJIS)
            charcode_sjis_to_jis(s[i], s[i + 1], &row, &cell);
        charBytes[(size_t)i] = n;
        charWidth[(size_t)i] = n == 2 ? pair(nullptr, row, cell) : (lead ? 0 : single(nullptr, s[i]));
        i += n;
    }

    int next = 0;
    for (const TextWrapLine& line : lines) {
        check(line.start == next && line.length > 0 && line.start + line.length <= length);
        check(charBytes[(size_t)line.start] > 0);
        check(line.width <= limit);
        int measured = 0, chars = 0;
        for (int i = line.start; i < line.start + line.length; i += charBytes[(size_t)i]) {
            check(charBytes[(size_t)i] > 0);
            check(s[i] != '\n' || charBytes[(size_t)i] == 2 || i == line.start + line.length - 1);
            measured += charWidth[(size_t)i];
            chars++;
        }
        check(chars == 1 || measured <= line.width);
        next = line.start + line.length;
    }
    check(next == length);
    return 0;
}
