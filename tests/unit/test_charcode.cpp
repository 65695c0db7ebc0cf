// Character codes: detection rules, in-place conversion of every JIS X 0208
// code pair through EUC-JP, Shift-JIS and JIS, byte kinds and the EUC-JP
// character classes.
#include <set>

#include "testutil.h"
#include "tessel.h"

namespace {

std::string convert(std::string s, int src, int dst, int expect = 1)
{
    EXPECT_EQ(tslToConvCharCode(&s[0], (int)s.size(), src, dst), expect);
    return s;
}

bool valid_sjis_pair(unsigned char s1, unsigned char s2)
{
    bool lead = (s1 >= 0x81 && s1 <= 0x9F) || (s1 >= 0xE0 && s1 <= 0xEF);
    return lead && s2 >= 0x40 && s2 <= 0xFC && s2 != 0x7F;
}

}  // namespace

TEST(CharCode, DetectionKnownPairsLimitsByteKindsAndWideClasses)
{
    const std::string a1024(1024, 'a');
    const struct { std::string text; int code; } texts[] = {
        {"plain text\t\r\n\v\f", TSL_CODE_ASCII}, {"", TSL_CODE_ASCII}, {std::string("a\0b", 3), TSL_CODE_NOTEXT},
        {"esc \x1b[0m", TSL_CODE_NOTEXT}, {"\xa4\xa2\xa4\xa4", TSL_CODE_EUC}, {"\x82\xa0", TSL_CODE_SJIS},
        {"\xa4\xa2 then \x85", TSL_CODE_SJIS}, {"\x80\xa0", TSL_CODE_ASCII}, {"\xe0\x9f", TSL_CODE_SJIS},  // 0x9F wins
        // a control byte ends the scan before a later Shift-JIS byte
        {"\x01\x82\xa0", TSL_CODE_NOTEXT},
        // only the first 1025 bytes are examined
        {a1024 + "\x82", TSL_CODE_SJIS}, {a1024 + "a\x82", TSL_CODE_ASCII},
        {a1024 + "a" + std::string(1, '\0'), TSL_CODE_ASCII},
    };
    for (const auto& c : texts)
        EXPECT_EQ(tslCheckCharCode(c.text.data(), (int)c.text.size()), c.code) << c.text.substr(0, 20);
    EXPECT_EQ(tslCheckCharCode("ab\x82", 2), TSL_CODE_ASCII);  // only len bytes count
    EXPECT_EQ(tslCheckCharCode(nullptr, 4), TSL_CODE_NOTEXT);

    const struct { const char *from, *to; int src, dst; } cases[] = {
        {"\xb0\xa1", "\x88\x9f", TSL_CODE_EUC, TSL_CODE_SJIS},  // first kanji
        {"\xf4\xa6", "\xea\xa4", TSL_CODE_EUC, TSL_CODE_SJIS},  // last kanji
        {"\xa1\xa1", "\x81\x40", TSL_CODE_EUC, TSL_CODE_SJIS},  // ideographic space
        {"\xa5\xdf", "\x83\x7e", TSL_CODE_EUC, TSL_CODE_SJIS}, {"\xa5\xe0", "\x83\x80", TSL_CODE_EUC, TSL_CODE_SJIS},
        // single bytes around pairs stay
        {"a\xb1" "b\x82\xa0 ", "a\xb1" "b\xa4\xa2 ", TSL_CODE_SJIS, TSL_CODE_EUC},
        {"x \xa4\xa2\n\x8e", "x \x82\xa0\n\x8e", TSL_CODE_EUC, TSL_CODE_SJIS},
        {" \x24\x22!", " \xa4\xa2!", TSL_CODE_JIS, TSL_CODE_EUC},
        {"a\xa4", "a\xa4", TSL_CODE_EUC, TSL_CODE_SJIS},  // lone lead at the end
        {"\xa4\xa2", "\xa4\xa2", TSL_CODE_ASCII, TSL_CODE_SJIS},
        {"\xa4\xa2", "\xa4\xa2", TSL_CODE_EUC, TSL_CODE_NOTEXT},
    };
    for (const auto& c : cases)
        EXPECT_EQ(convert(c.from, c.src, c.dst), c.to) << c.from;

    // only len bytes are touched: the pair straddles the end of the range
    char buf[] = "\xa4\xa2\xa4\xa2";
    EXPECT_EQ(tslToConvCharCode(buf, 3, TSL_CODE_EUC, TSL_CODE_SJIS), 1);
    EXPECT_EQ(tslToConvCharCode(buf, -5, TSL_CODE_EUC, TSL_CODE_SJIS), 1);
    EXPECT_EQ(std::string(buf), "\x82\xa0\xa4\xa2");
    EXPECT_EQ(tu::stderr_of([] {
                  EXPECT_EQ(convert("\xa4\xa2", TSL_CODE_EUC, 5, 0), "\xa4\xa2");
                  EXPECT_EQ(convert("\xa4\xa2", 5, TSL_CODE_EUC, 0), "\xa4\xa2");
              }),
              "Error: tslToConvCharCode - Not support yet(dest code:5).\n"
              "Error: tslToConvCharCode - Not support yet(src code:5).\n");

    const int saved = g_tessel.charCode;
    const char* euc = "a\xb4\xc1" "b\x8e\xb1\xa2";
    const char* sjis = "\xb1\x82\xa0\x88";
    // Kinds by index: S single, L lead, T trail, - none; 0x8E is an ordinary
    // EUC byte, and a lone Shift-JIS lead at the end is still a lead.
    const struct { int code; const char *text, *kinds; } kindsOf[] = {
        {TSL_CODE_EUC, euc, "SLTSSLT-"}, {TSL_CODE_SJIS, sjis, "SLTL-"}, {TSL_CODE_ASCII, euc, "--"}};
    for (const auto& c : kindsOf) {
        g_tessel.charCode = c.code;
        std::string kinds;
        for (int i = 0; i < (int)strlen(c.kinds); i++) {
            int k = tslCheckChar(c.text, i);
            kinds += k == TSL_CHAR_SINGLE ? 'S' : k == TSL_CHAR_LEAD ? 'L' : k == TSL_CHAR_TRAIL ? 'T' : '-';
        }
        EXPECT_EQ(kinds, c.kinds) << c.code;
        EXPECT_EQ(tslCheckChar(c.text, -1) + tslCheckChar(nullptr, 0), TSL_CHAR_NONE) << c.code;
    }
    g_tessel.charCode = saved;

    // row, cell (JIS) -> class: the first and last cell of each class and the
    // cells just outside it.
    const int classes[][3] = {
        {0x21, 0x21, 0}, {0x21, 0x7E, 0}, {0x21, 0x7F, -1}, {0x21, 0x20, -1}, {0x22, 0x21, 1}, {0x22, 0x7E, 1},
        {0x23, 0x30, 2}, {0x23, 0x39, 2}, {0x23, 0x2F, -1}, {0x23, 0x3A, -1}, {0x23, 0x41, 2}, {0x23, 0x5A, 2},
        {0x23, 0x5B, -1}, {0x23, 0x61, 2}, {0x23, 0x7A, 2}, {0x23, 0x7B, -1}, {0x24, 0x21, 3}, {0x24, 0x73, 3},
        {0x24, 0x74, -1}, {0x25, 0x76, 4}, {0x25, 0x77, -1}, {0x26, 0x38, 5}, {0x26, 0x39, -1}, {0x26, 0x41, 5},
        {0x26, 0x58, 5}, {0x26, 0x59, -1}, {0x27, 0x41, 6}, {0x27, 0x42, -1}, {0x27, 0x51, 6}, {0x27, 0x71, 6},
        {0x27, 0x72, -1}, {0x28, 0x40, 7}, {0x28, 0x41, -1}, {0x29, 0x21, -1}, {0x2F, 0x7E, -1}, {0x30, 0x21, 8},
        {0x4F, 0x53, 8}, {0x4F, 0x54, -1}, {0x50, 0x21, 9}, {0x74, 0x24, 9}, {0x74, 0x25, -1}, {0x75, 0x21, -1}
    };
    for (const auto& c : classes)
        EXPECT_EQ(tslIsWideCharCode((unsigned char)(c[0] + 0x80), (unsigned char)(c[1] + 0x80)), c[2])
            << std::hex << c[0] << " " << c[1];
    EXPECT_EQ(tslIsWideCharCode(0xA4, 0x22) + tslIsWideCharCode(0x24, 0xA2), -2);  // trail, lead below 0x80
}

TEST(CharCodeConvert, EveryJisPairRoundTrips)
{
    std::set<std::pair<int, int>> sjisSeen;
    for (int j1 = 0x21; j1 <= 0x7E; j1++) {
        for (int j2 = 0x21; j2 <= 0x7E; j2++) {
            std::string jis = {(char)j1, (char)j2};
            std::string euc = {(char)(j1 + 0x80), (char)(j2 + 0x80)};
            std::string sjis = convert(euc, TSL_CODE_EUC, TSL_CODE_SJIS);
            unsigned char s1 = (unsigned char)sjis[0], s2 = (unsigned char)sjis[1];
            ASSERT_TRUE(valid_sjis_pair(s1, s2)) << std::hex << j1 << " " << j2;
            ASSERT_TRUE(sjisSeen.insert({s1, s2}).second) << std::hex << j1 << " " << j2;
            ASSERT_EQ(convert(jis, TSL_CODE_JIS, TSL_CODE_SJIS), sjis);
            ASSERT_EQ(convert(sjis, TSL_CODE_SJIS, TSL_CODE_JIS), jis);
            ASSERT_EQ(convert(sjis, TSL_CODE_SJIS, TSL_CODE_EUC), euc);
            ASSERT_EQ(convert(euc, TSL_CODE_EUC, TSL_CODE_JIS), jis);
            ASSERT_EQ(convert(jis, TSL_CODE_JIS, TSL_CODE_EUC), euc);
        }
    }
}
