// Text widths of mixed one- and two-byte text measured with the real
// fonts, compared with XTextWidth / XTextWidth16 of the same characters;
// line heights.  The Kanji side uses a JIS X 0208 font so that one- and
// two-byte characters really differ in width.
#include <algorithm>

#include "xfixture.h"

namespace {

class TextWidth : public XTest {
protected:
    static int single(const std::string& s, XFontStruct* font = nullptr)
    {
        return XTextWidth(font ? font : g_tessel.font, s.data(), (int)s.size());
    }
    // Width of JIS pairs given as a byte string of row, cell, row, cell...
    static int kanji(const std::string& jis, XFontStruct* font = nullptr)
    {
        int w = 0;
        for (size_t i = 0; i + 1 < jis.size(); i += 2) {
            XChar2b ch = {(unsigned char)jis[i], (unsigned char)jis[i + 1]};
            w += XTextWidth16(font ? font : g_tessel.fontKanji, &ch, 1);
        }
        return w;
    }
};

}  // namespace

TEST_F(TextWidth, MixedTextExplicitFontsAndBadArguments)
{
    ASSERT_GT(kanji("\x24\x22"), single("a")) << "the fonts must differ for the test to mean something";
    std::string euc = "ab\xa4\xa2" "c \xb4\xc1\xbb\xfa.";
    std::string sjis = "x\xa4\xa2y\xb4\xc1";
    ASSERT_EQ(tslToConvCharCode(&sjis[0], (int)sjis.size(), TSL_CODE_EUC, TSL_CODE_SJIS), 1);
    const struct {
        std::string text;
        int want;
    } cases[] = {
        {euc, single("abc .") + kanji("\x24\x22\x34\x41\x3b\x7a")},
        // a prefix that stops inside a pair measures up to the pair's lead only
        {euc.substr(0, 3), single("ab")}, {sjis, single("xy") + kanji("\x24\x22\x34\x41")},
        // half-width katakana are single bytes of the single-byte font
        {"\x82\xa0\xb1", kanji("\x24\x22") + single("\xb1")},
        // control bytes measure as question marks; tab stays itself
        {std::string("a\x1b" "b", 3), single("a?b")}, {std::string("a\0b", 3), single("a?b")},
        {std::string("a\t\x1b", 3), single("a\t?")}, {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tslFontNWidth(nullptr, nullptr, c.text.data(), (int)c.text.size()), c.want) << c.text;
    EXPECT_EQ(tslTextNWidth(euc.data(), (int)euc.size()), cases[0].want);
    EXPECT_EQ(tslTextWidth(euc.c_str()), cases[0].want);

    XFontStruct* wide = XLoadQueryFont(d, "-misc-fixed-medium-r-normal--20-*-*-*-*-*-iso8859-1");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(tslFontNWidth(wide, wide, "ab\xa4\xa2", 4), single("ab", wide) + kanji("\x24\x22", wide));
    EXPECT_EQ(tslFontNWidth(wide, nullptr, "ab\xa4\xa2", 4), single("ab", wide) + kanji("\x24\x22"));
    XFreeFont(d, wide);
    XFontStruct* saved = g_tessel.font;
    int none = tslFontNWidth(nullptr, nullptr, nullptr, 4) + tslFontNWidth(nullptr, nullptr, "abc", 0) +
               tslFontNWidth(nullptr, nullptr, "abc", -1) + tslTextWidth(nullptr);
    g_tessel.font = nullptr;
    EXPECT_EQ(none + tslFontNWidth(nullptr, nullptr, "abc", 3), 0);
    g_tessel.font = saved;
}

TEST_F(TextWidth, LineHeightIsTheTallerFonts)
{
    int single_h = g_tessel.font->ascent + g_tessel.font->descent;
    int kanji_h = g_tessel.fontKanji->ascent + g_tessel.fontKanji->descent;
    XFontStruct* tall = XLoadQueryFont(d, "-misc-fixed-medium-r-normal--20-*-*-*-*-*-iso8859-1");
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(tslGetCharHeight(g_tessel.font), single_h);
    EXPECT_EQ(tslGetCharHeight(nullptr), std::max(single_h, kanji_h));
    XFontStruct* kanji = g_tessel.fontKanji;
    for (XFontStruct* k : {tall, (XFontStruct*)nullptr}) {
        g_tessel.fontKanji = k;
        EXPECT_EQ(tslGetCharHeight(nullptr), k ? tall->ascent + tall->descent : single_h);
    }
    g_tessel.fontKanji = kanji;
    XFreeFont(d, tall);
}
