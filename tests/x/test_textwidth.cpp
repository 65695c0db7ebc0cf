// Text widths of mixed one- and two-byte text measured with the real
// fonts, compared with XTextWidth / XTextWidth16 of the same characters;
// line heights.  The Kanji side uses a JIS X 0208 font so that one- and
// two-byte characters really differ in width.
#include <gtest/gtest.h>

#include <string>

#include "tessel.h"
#include "xenv.h"

namespace {

class TextWidth : public ::testing::Test {
protected:
    Display* d = nullptr;
    void SetUp() override
    {
        d = xenv_open();
        ASSERT_NE(d, nullptr);
        ASSERT_NE(g_tessel.font, nullptr);
        saved_kanji = g_tessel.fontKanji;
        jis0208 = XLoadQueryFont(d, "-misc-fixed-medium-r-normal--14-*-*-*-*-*-jisx0208.1983-0");
        ASSERT_NE(jis0208, nullptr);
        g_tessel.fontKanji = jis0208;
    }
    void TearDown() override
    {
        if (d) {
            g_tessel.fontKanji = saved_kanji;
            if (jis0208) XFreeFont(d, jis0208);
        }
        xenv_close();
    }
    XFontStruct* saved_kanji = nullptr;
    XFontStruct* jis0208 = nullptr;

    int single(const std::string& s)
    {
        return XTextWidth(g_tessel.font, s.data(), (int)s.size());
    }
    // Width of JIS pairs given as a byte string of row, cell, row, cell...
    int kanji(const std::string& jis)
    {
        int w = 0;
        for (size_t i = 0; i + 1 < jis.size(); i += 2) {
            XChar2b ch = {(unsigned char)jis[i], (unsigned char)jis[i + 1]};
            w += XTextWidth16(g_tessel.fontKanji, &ch, 1);
        }
        return w;
    }
    int measure(const std::string& s)
    {
        return tslFontNWidth(nullptr, nullptr, s.data(), (int)s.size());
    }
};

}  // namespace

TEST_F(TextWidth, FontsDifferSoTheTestMeansSomething)
{
    EXPECT_GT(single("a"), 0);
    EXPECT_GT(kanji("\x24\x22"), single("a"));
}

TEST_F(TextWidth, MixedEucText)
{
    std::string text = "ab\xa4\xa2" "c \xb4\xc1\xbb\xfa.";
    int expect = single("abc .") + kanji("\x24\x22\x34\x41\x3b\x7a");
    EXPECT_EQ(measure(text), expect);
    EXPECT_EQ(tslTextNWidth(text.data(), (int)text.size()), expect);
    EXPECT_EQ(tslTextWidth(text.c_str()), expect);
    EXPECT_EQ(tslFontNWidth(g_tessel.font, g_tessel.fontKanji, text.data(), (int)text.size()),
              expect);
    // a prefix that stops inside a pair measures up to the pair's lead only
    EXPECT_EQ(measure(text.substr(0, 3)), single("ab"));
    EXPECT_EQ(measure("ab\xa4"), single("ab"));
}

TEST_F(TextWidth, ExplicitFontsAreUsed)
{
    XFontStruct* wide = XLoadQueryFont(d, "-misc-fixed-medium-r-normal--20-*-*-*-*-*-iso8859-1");
    ASSERT_NE(wide, nullptr);
    std::string text = "ab\xa4\xa2";
    XChar2b ch = {0x24, 0x22};
    EXPECT_EQ(tslFontNWidth(wide, wide, text.data(), 4),
              XTextWidth(wide, "ab", 2) + XTextWidth16(wide, &ch, 1));
    EXPECT_EQ(tslFontNWidth(wide, nullptr, text.data(), 4),
              XTextWidth(wide, "ab", 2) + kanji("\x24\x22"));
    EXPECT_NE(tslFontNWidth(wide, nullptr, "ab", 2), single("ab"));
    XFreeFont(d, wide);
}

TEST_F(TextWidth, ShiftJisTextMatchesItsEucTwin)
{
    std::string euc = "x\xa4\xa2y\xb4\xc1";
    std::string sjis = euc;
    ASSERT_EQ(tslToConvCharCode(&sjis[0], (int)sjis.size(), TSL_CODE_EUC, TSL_CODE_SJIS), 1);
    ASSERT_EQ(tslCheckCharCode(sjis.data(), (int)sjis.size()), TSL_CODE_SJIS);
    EXPECT_EQ(measure(sjis), single("xy") + kanji("\x24\x22\x34\x41"));
    EXPECT_EQ(measure(sjis), measure(euc));
    // half-width katakana are single bytes of the single-byte font
    EXPECT_EQ(measure("\x82\xa0\xb1"), kanji("\x24\x22") + single("\xb1"));
}

TEST_F(TextWidth, ControlBytesMeasureAsQuestionMarks)
{
    EXPECT_EQ(measure(std::string("a\x1b" "b", 3)), single("a?b"));
    EXPECT_EQ(measure(std::string("a\0b", 3)), single("a?b"));
    // tab stays itself
    EXPECT_EQ(measure(std::string("a\t\x1b", 3)), single("a\t?"));
}

TEST_F(TextWidth, BadArguments)
{
    EXPECT_EQ(tslFontNWidth(nullptr, nullptr, nullptr, 4), 0);
    EXPECT_EQ(tslFontNWidth(nullptr, nullptr, "abc", 0), 0);
    EXPECT_EQ(tslFontNWidth(nullptr, nullptr, "abc", -1), 0);
    EXPECT_EQ(tslTextWidth(nullptr), 0);
    EXPECT_EQ(tslTextWidth(""), 0);
    XFontStruct* saved = g_tessel.font;
    g_tessel.font = nullptr;
    EXPECT_EQ(tslFontNWidth(nullptr, nullptr, "abc", 3), 0);
    g_tessel.font = saved;
}

TEST_F(TextWidth, LineHeight)
{
    int single_h = g_tessel.font->ascent + g_tessel.font->descent;
    int kanji_h = g_tessel.fontKanji->ascent + g_tessel.fontKanji->descent;
    EXPECT_EQ(tslGetCharHeight(g_tessel.font), single_h);
    EXPECT_EQ(tslGetCharHeight(g_tessel.fontKanji), kanji_h);
    EXPECT_EQ(tslGetCharHeight(nullptr), std::max(single_h, kanji_h));
    XFontStruct* saved = g_tessel.fontKanji;
    g_tessel.fontKanji = nullptr;
    EXPECT_EQ(tslGetCharHeight(nullptr), single_h);
    g_tessel.fontKanji = saved;
}
