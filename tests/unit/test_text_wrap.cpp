// Line breaking of the text window: the wrap limit, two-byte characters at
// the wrap point, line feeds, control bytes, and the scroll arithmetic.
#include <vector>

#include "controls/text_wrap.h"
#include "testutil.h"

namespace {

// One-byte characters are 10 pixels wide, 'i' 5; two-byte characters 20.
struct Fake {
    std::vector<int> pairs;  // row << 8 | cell of every pair measured
};

int single(void*, unsigned char c)
{
    return c == 'i' ? 5 : 10;
}

int pair(void* context, unsigned char row, unsigned char cell)
{
    static_cast<Fake*>(context)->pairs.push_back(row << 8 | cell);
    return 20;
}

struct Case {
    const char* name;
    std::string text;
    int limit;
    std::vector<std::vector<int>> lines;  // start, length, width
};

}  // namespace

TEST(TextWrap, LinesFromTable)
{
    const Case cases[] = {
        {"fits", "abc", 100, {{0, 3, 30}}},
        {"empty", "", 100, {}},
        // 5 x 10 reaches the limit of 50: the fifth letter starts the next line
        {"reaches limit", "aaaaa", 50, {{0, 4, 50}, {4, 1, 10}}},
        {"one below limit", "aaaaa", 51, {{0, 5, 50}}},
        {"narrow letters", "iiiiiiiii", 50, {{0, 9, 45}}},
        // 30 + 20 reaches 45: the EUC pair moves whole
        {"euc pair at wrap", "aaa\xa4\xa2", 45, {{0, 3, 45}, {3, 2, 20}}},
        {"sjis pair at wrap", "aaa\x82\xa0", 45, {{0, 3, 45}, {3, 2, 20}}},
        {"line feed kept", "abc\n", 100, {{0, 4, 40}}},
        {"blank line", "abc\n\ndef", 100, {{0, 4, 40}, {4, 1, 10}, {5, 3, 30}}},
        // the line feed itself reaches 50 and goes on alone
        {"line feed overflows", "aaaa\n", 50, {{0, 4, 50}, {4, 1, 10}}},
        {"lone lead byte", "ab\xa4", 100, {{0, 3, 20}}},
        {"half-width katakana", "\xb1\x82\xa0", 100, {{0, 3, 30}}},
        {"wider than the limit", "ab", 5, {{0, 1, 5}, {1, 1, 5}}},
        // control bytes become '?' and the rest reads as EUC: pairs stay whole
        {"control byte", std::string("\x01\xa4\xa2\xa4\xa2", 5), 45, {{0, 3, 45}, {3, 2, 20}}},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        Fake fake;
        TextWrapFonts fonts{&fake, single, pair, nullptr};
        std::vector<TextWrapLine> got;
        ASSERT_TRUE(text_wrap(&text[0], (int)text.size(), c.limit, fonts, &got)) << c.name;
        std::vector<std::vector<int>> lines;
        for (const TextWrapLine& l : got)
            lines.push_back({l.start, l.length, l.width});
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

TEST(TextWrap, ControlBytesAndPairCodes)
{
    std::string text("a\0b\x1b\t\n", 6);
    Fake fake;
    TextWrapFonts fonts{&fake, single, pair, nullptr};
    std::vector<TextWrapLine> got;
    text_wrap(&text[0], (int)text.size(), 100, fonts, &got);
    EXPECT_EQ(text, "a?b?\t\n");
    EXPECT_EQ(got.size(), 1u);

    // EUC pairs lose 0x80 per byte; Shift-JIS pairs go through the JIS rule.
    std::string euc = "\xa4\xa2\xb0\xa1", sjis = "\x82\xa0\x88\x9f\xe0\x40";
    text_wrap(&euc[0], (int)euc.size(), 100, fonts, &got);
    text_wrap(&sjis[0], (int)sjis.size(), 100, fonts, &got);
    EXPECT_EQ(fake.pairs, (std::vector<int>{0x2422, 0x3021, 0x2422, 0x3021, 0x5f21}));
}

TEST(TextWrap, VisibleRowsAndClampedPosition)
{
    // (height - 3) / line height
    const int visible[][3] = {{100, 14, 6}, {17, 14, 1}, {16, 14, 0}, {3, 14, 0}, {100, 0, 0}};
    for (const auto& v : visible)
        EXPECT_EQ(text_wrap_visible(v[0], v[1]), v[2]) << v[0] << "/" << v[1];
    // pos, lines, line height, window height -> pos: 10 x 14 = 140 in 100
    // leaves 40 pixels, two whole lines, to scroll
    const int clamp[][5] = {{5, 10, 14, 100, 2}, {1, 10, 14, 100, 1},
                            {3, 5, 14, 100, 0},  {3, 5, 14, 70, 0}};
    for (const auto& c : clamp)
        EXPECT_EQ(text_wrap_clamp_pos(c[0], c[1], c[2], c[3]), c[4]) << c[0] << " of " << c[1];
}
