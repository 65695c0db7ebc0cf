// Text conversion between the locale's codeset and the toolkit's code: one
// '?' per character that cannot be carried, whole characters at the cut.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "support/textconv.h"
#include "tessel.h"

TEST(TextConv, UnconvertibleAndInvalidCharactersBecomeOneQuestionMarkAndCutsKeepWholeCharacters)
{
    const struct { const char *from, *to; std::string in, out; } cases[] = {
        {"UTF-8", "EUC-JP", "\xE3\x81\x82" "a", "\xA4\xA2" "a"},          // hiragana a
        {"UTF-8", "EUC-JP", "\xF0\x9F\x98\x80" "b", "?b"},                // emoji: no EUC-JP form
        {"UTF-8", "EUC-JP", "x\xFF" "y", "x?y"},                          // invalid byte
        {"UTF-8", "EUC-JP", "\xE3\x81", "?"},                             // cut short at the end
        {"UTF-8", "EUC-JP", "\xEF\xBD\xB1" "d\xE4\xB8\x82", "?d?"},       // half-width kana, JIS X 0212
        {"EUC-JP", "UTF-8", "\xA4\xA2\xB4\xC1", "\xE3\x81\x82\xE6\xBC\xA2"},
        {"EUC-JP", "UTF-8", "\xA4", "?"}, {"EUC-JP", "UTF-8", "x\xA4.bmp", "x?.bmp"},  // a lead byte without its trail
        {"SHIFT_JIS", "EUC-JP", "\x82\xA0" "c", "\xA4\xA2" "c"}, {"ASCII", "UTF-8", "ok\x80", "ok?"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textconv_convert(c.from, c.to, c.in.data(), c.in.size()), c.out) << c.from << " " << c.in;
    ASSERT_TRUE(setlocale(LC_ALL, "C.UTF-8"));
    g_tessel.charCode = TSL_CODE_EUC;
    char out[6], back[8];
    // Three kana are six EUC-JP bytes: only two fit beside the terminator.
    EXPECT_STREQ(tslLocaleToText("\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86", out, sizeof out), "\xA4\xA2\xA4\xA4");
    // Two kana are six UTF-8 bytes; a third would need nine.
    EXPECT_STREQ(tslTextToLocale("\xA4\xA2\xA4\xA4\xA4\xA6", back, sizeof back), "\xE3\x81\x82\xE3\x81\x84");
    setlocale(LC_ALL, "C");
}
