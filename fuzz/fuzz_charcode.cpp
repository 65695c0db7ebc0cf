// Fuzz target for the character codes: detection, in-place conversion of
// any bytes between any codes, round trips EUC <-> Shift-JIS <-> JIS of
// well-formed text, byte kinds, and width walking with fonts built in
// memory (XTextWidth reads only the font record, so no display is needed).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tessel.h"

// tslCheckChar walks from the start for every index: keep that quadratic walk short.
static const size_t KIND_LIMIT = 512;

static void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// A single-byte font for 0x20..0x7E (others fall back to '?') and a Kanji
// font for the JIS X 0208 rows and cells 0x21..0x7E; widths vary by character.
struct FakeFonts {
    std::vector<XCharStruct> singleChars, kanjiChars;
    XFontStruct single, kanji;
    int widest;
};

static void fill_bounds(XFontStruct* font, const std::vector<XCharStruct>& chars)
{
    font->min_bounds = chars[0];
    font->max_bounds = chars[0];
    for (const XCharStruct& c : chars) {
        if (c.width < font->min_bounds.width)
            font->min_bounds.width = c.width;
        if (c.width > font->max_bounds.width)
            font->max_bounds.width = c.width;
    }
    font->ascent = 10;
    font->descent = 3;
}

static FakeFonts* fake_fonts()
{
    static FakeFonts* fonts = [] {
        FakeFonts* f = new FakeFonts();
        for (int c = 0x20; c <= 0x7E; c++) {
            XCharStruct cs = {};
            cs.width = (short)(1 + (c & 7));
            cs.ascent = 8;
            f->singleChars.push_back(cs);
        }
        f->single.min_char_or_byte2 = 0x20;
        f->single.max_char_or_byte2 = 0x7E;
        f->single.default_char = '?';
        f->single.per_char = f->singleChars.data();
        fill_bounds(&f->single, f->singleChars);
        for (int row = 0x21; row <= 0x7E; row++) {
            for (int cell = 0x21; cell <= 0x7E; cell++) {
                XCharStruct cs = {};
                cs.width = (short)(12 + ((row ^ cell) & 3));
                cs.ascent = 10;
                f->kanjiChars.push_back(cs);
            }
        }
        f->kanji.min_byte1 = 0x21;
        f->kanji.max_byte1 = 0x7E;
        f->kanji.min_char_or_byte2 = 0x21;
        f->kanji.max_char_or_byte2 = 0x7E;
        f->kanji.default_char = 0x2121;
        f->kanji.per_char = f->kanjiChars.data();
        fill_bounds(&f->kanji, f->kanjiChars);
        f->widest = f->kanji.max_bounds.width;
        return f;
    }();
    return fonts;
}

static int width_of(const char* s, size_t len)
{
    FakeFonts* f = fake_fonts();
    return tslFontNWidth(&f->single, &f->kanji, s, (int)len);
}

// Any bytes, any pair of codes (5 is no code), in a buffer of exactly the
// range's size so that a step outside it is caught.
static void convert_any(const uint8_t* data, size_t size)
{
    if (size < 2)
        return;
    int src = data[0] % 6, dst = (data[0] / 6) % 6;
    std::vector<char> buf(data + 1, data + size);
    tslToConvCharCode(buf.data(), (int)buf.size(), src, dst);
}

// Well-formed text from the input: a byte with the top bit set starts a
// JIS X 0208 pair (with the next byte), any other byte is one character.
// In jisSafe text single characters are blanks, since JIS text reads
// every byte above 0x20 as the start of a pair.
static std::string make_euc(const uint8_t* data, size_t size, bool jisSafe)
{
    static const char blanks[] = " \t\n";
    std::string out;
    for (size_t i = 0; i < size; i++) {
        if ((data[i] & 0x80) && i + 1 < size) {
            out += (char)(0xA1 + (data[i] & 0x7F) % 94);
            out += (char)(0xA1 + data[++i] % 94);
        } else if (jisSafe) {
            out += blanks[data[i] % 3];
        } else {
            out += (char)(0x20 + data[i] % 95);
        }
    }
    return out;
}

static std::string converted(std::string s, int src, int dst)
{
    check(tslToConvCharCode(&s[0], (int)s.size(), src, dst) == 1);
    return s;
}

static void round_trips(const std::string& euc, bool jisSafe)
{
    if (euc.empty())
        return;
    std::string sjis = converted(euc, TSL_CODE_EUC, TSL_CODE_SJIS);
    check(converted(sjis, TSL_CODE_SJIS, TSL_CODE_EUC) == euc);
    if (jisSafe) {
        std::string jis = converted(euc, TSL_CODE_EUC, TSL_CODE_JIS);
        check(converted(jis, TSL_CODE_JIS, TSL_CODE_EUC) == euc);
        check(converted(jis, TSL_CODE_JIS, TSL_CODE_SJIS) == sjis);
        check(converted(sjis, TSL_CODE_SJIS, TSL_CODE_JIS) == jis);
    }
    // The same characters measure the same in either code, once detected as such.
    if (tslCheckCharCode(euc.data(), (int)euc.size()) == TSL_CODE_EUC &&
        tslCheckCharCode(sjis.data(), (int)sjis.size()) == TSL_CODE_SJIS)
        check(width_of(euc.data(), euc.size()) == width_of(sjis.data(), sjis.size()));
    for (size_t i = 0; i + 1 < euc.size(); i++) {
        if ((unsigned char)euc[i] > 0xA0) {
            int kind = tslIsWideCharCode((unsigned char)euc[i], (unsigned char)euc[i + 1]);
            check(kind >= -1 && kind <= 9);
            i++;
        }
    }
}

// Byte kinds form a chain: a trail byte follows exactly each lead byte.
static void byte_kinds(const uint8_t* data, size_t size)
{
    if (size < 1)
        return;
    static const int codes[] = {TSL_CODE_EUC, TSL_CODE_SJIS, TSL_CODE_ASCII};
    int saved = g_tessel.charCode;
    g_tessel.charCode = codes[data[0] % 3];
    std::string s(reinterpret_cast<const char*>(data + 1), size - 1 < KIND_LIMIT ? size - 1 : KIND_LIMIT);
    int len = (int)strlen(s.c_str());
    check(tslCheckChar(s.c_str(), -1) == TSL_CHAR_NONE);
    check(tslCheckChar(s.c_str(), len) == TSL_CHAR_NONE);
    int prev = TSL_CHAR_NONE;
    for (int i = 0; i < len; i++) {
        int kind = tslCheckChar(s.c_str(), i);
        if (g_tessel.charCode == TSL_CODE_ASCII)
            check(kind == TSL_CHAR_NONE);
        else
            check((kind == TSL_CHAR_TRAIL) == (prev == TSL_CHAR_LEAD) &&
                  (kind == TSL_CHAR_SINGLE || kind == TSL_CHAR_LEAD || kind == TSL_CHAR_TRAIL));
        prev = kind;
    }
    g_tessel.charCode = saved;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int code = tslCheckCharCode(reinterpret_cast<const char*>(data), (int)size);
    check(code == TSL_CODE_NOTEXT || code == TSL_CODE_ASCII || code == TSL_CODE_SJIS ||
          code == TSL_CODE_EUC);
    // Width of raw bytes: the walk stays inside the range, each character
    // adds at most the widest glyph.
    int width = width_of(reinterpret_cast<const char*>(data), size);
    check(width >= 0 && (int64_t)width <= (int64_t)size * fake_fonts()->widest);

    convert_any(data, size);
    round_trips(make_euc(data, size, false), false);
    round_trips(make_euc(data, size, true), true);
    byte_kinds(data, size);
    return 0;
}
