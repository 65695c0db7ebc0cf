// Line breaking of the text window: the wrap limit, two-byte characters at
// the wrap point, line feeds, control bytes, and the scroll position kept
// after a resize.
#include <string>

#include "controls/text_wrap.h"
#include "testutil.h"

TEST(TextWrap, LinesFromTable)
{
    // One-byte characters are 10 pixels wide, two-byte characters 20.
    const TextWrapFonts fonts{nullptr, [](void*, unsigned char) { return 10; },
                              [](void*, unsigned char, unsigned char) { return 20; }, nullptr};
    // Each line as start+length:width.
    const struct { std::string text; int limit; const char* lines; } cases[] = {
        {"abc", 100, "0+3:30 "},
        {"", 100, ""},
        {"aaaaa", 50, "0+4:50 4+1:10 "},  // the fifth letter reaches the limit
        {"aaaaa", 51, "0+5:50 "},
        {"aaa\xa4\xa2", 45, "0+3:45 3+2:20 "},  // 30 + 20: the EUC pair moves whole
        {"aaa\x82\xa0", 45, "0+3:45 3+2:20 "},  // and the Shift-JIS pair
        {"\xb1\x82\xa0", 100, "0+3:30 "},       // half-width katakana is one byte
        {"abc\n\ndef", 100, "0+4:40 4+1:10 5+3:30 "},
        {"aaaa\n", 50, "0+4:50 4+1:10 "},  // the line feed itself reaches the limit
        {"ab\xa4", 100, "0+3:20 "},        // a lead byte without its partner
        {"ab", 5, "0+1:5 1+1:5 "},         // a character wider than the limit stays
        // control bytes become '?', then the text reads as EUC
        {std::string("\x01\xa4\xa2\0\xa4\xa2", 6), 45, "0+4:45 4+2:20 "},
    };
    for (const auto& c : cases) {
        std::string text = c.text, got;
        std::vector<TextWrapLine> lines;
        ASSERT_TRUE(text_wrap(&text[0], (int)text.size(), c.limit, fonts, &lines));
        for (const TextWrapLine& l : lines)
            got += std::to_string(l.start) + "+" + std::to_string(l.length) + ":" + std::to_string(l.width) + " ";
        EXPECT_EQ(got, c.lines) << c.text;
    }
    // 140 pixels of lines in 100: two to scroll; 70 in 70: none
    EXPECT_TRUE(text_wrap_clamp_pos(5, 10, 14, 100) == 2 && text_wrap_clamp_pos(1, 10, 14, 100) == 1 &&
                text_wrap_clamp_pos(3, 5, 14, 70) == 0);
}
