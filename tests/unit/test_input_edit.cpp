// Input line editing in both two-byte codes.  A line is written with the
// caret as '|', the selection's moving end as '^', a two-byte character as
// 'K' and a lone lead byte as 'L'.
#include <X11/keysym.h>

#include "testutil.h"
#include "controls/input_edit.h"
#include "tessel.h"

namespace {

struct Code { int code; std::string kanji, lead; };
const Code kCodes[] = {{TSL_CODE_EUC, "\xa4\xa2", "\xa4"}, {TSL_CODE_SJIS, "\x82\xa0", "\x82"}};

InputLine parse(const std::string& notation, const Code& c)
{
    InputLine line{};  // up to 1024 bytes, more than input_reset takes
    int n = 0, end = -1;
    for (char ch : notation) {
        std::string bytes = ch == 'K' ? c.kanji : ch == 'L' ? c.lead : std::string(1, ch);
        ch == '|' ? line.caret = n : ch == '^' ? end = n : n += snprintf(line.text + n, 1025 - n, "%s", bytes.c_str());
    }
    line.selLen = end < 0 ? 0 : end - line.caret;
    input_refresh_selection(&line);
    return line;
}

// Operations besides keys (keysyms are 0, for input-method text, or 0x20
// and above); HIT and VIEW leave the line as it was.
enum { ADD = 1, SELECT, CARET, WORD, HIT, VIEW };

}  // namespace

TEST(InputEdit, EditsMovesAndGeometryInBothCodes)
{
    const std::string a1022(1022, 'a'), a1023(1023, 'a'), a1000 = a1022.substr(22);
    const int S = 1, R = INPUT_REFUSED, I = INPUT_IGNORED, P = INPUT_PAINT, M = INPUT_SCROLL;
    const unsigned long BS = XK_BackSpace, LEFT = XK_Left, RIGHT = XK_Right, DEL = XK_Delete;
    auto width10 = [](const char*, int len) { return len > 0 ? 10 * len : 0; };  // 20 for a two-byte character
    const struct {
        std::string before, after;  // after: empty when as before
        unsigned long op;
        int result, a = 0, b = 0;  // a: Shift for keys, the bell for ADD, else the first argument
        std::string str = "";
    } cases[] = {
        {"aK|", "a|", BS, M}, {"a^b|c", "a|c", BS, M}, {"aK|b", "a|Kb", LEFT, M}, {"|aK", "", LEFT, R},
        {"a^Kb|", "a|Kb", LEFT, M}, {"a|Kb", "aK|b", RIGHT, M}, {"a|K^b", "aK|b", RIGHT, M}, {"aKb|", "", RIGHT, R},
        {"|Kb", "|K^b", RIGHT, M, S}, {"aK|", "a^K|", LEFT, M, S}, {"a|K^b", "a|Kb", LEFT, M, S}, {"|aK", "", LEFT, R, S},
        {"a|Kb", "a|b", DEL, P}, {"aK|L", "aK|", DEL, P}, {"aK|", "", DEL, R}, {"ab|", "", 'a', I, 0, 0, "\x01"},
        {"a|bc^d", "aX|d", 'X', M, 0, 0, "X"}, {"a|K", "aKK|K", 0, M, 0, 0, "KK"}, {"a|b", "aZ|b", 0, M, 0, 0, "ZL"},
        {a1023 + "|", "", 'b', R, 0, 0, "b"}, {a1023 + "|", "", ADD, 1023, 1, 0, "K"},  // byte 1024 would split it
        {a1023 + "|", a1023 + "b|", ADD, 1024, 1, 0, "bc"}, {a1022 + "|", a1022 + "K|", ADD, 1024, 0, 0, "K"},
        {"a|" + a1022, "", ADD, -1, 1, 0, std::string(1024, 'b')}, {"|a^" + a1022, "", ADD, -1, 1, 0, "xyz"},
        {a1000 + "|" + a1022.substr(999) + "^", a1000 + a1022.substr(998) + "|", ADD, 1024, 1, 0, a1000},
        {"a|bc^d", "aX|d", ADD, 3, 0, 0, "XL"}, {"aKb", "a|K^b", SELECT, 1, 2, 3}, {"a|bc", "", SELECT, 0, 2, 1},
        {"aKb", "a|Kb", CARET, 0, 2}, {"ab c|d ef", "ab |cd^ ef", WORD, 0}, {"ab|  cd", "ab|  ^cd", WORD, 0},
        {"|aL cd", "|aL ^cd", WORD, 0},  // the space is the second byte of a character
        // "aKb" from x 4: the edges of a, K and b at 4, 14, 34, 44; mid-points 9, 24, 39.
        {"|aKb", "", HIT, 0, 9}, {"|aKb", "", HIT, 1, 24}, {"|aKb", "", HIT, 3, 25}, {"|aKb", "", HIT, 4, 40},
        // Nine bytes are 90 pixels and need a window of 95; ten bytes in 50
        // fit from byte 6 on, and the view starts one character after.
        {"abcdefghi|", "", VIEW, 0, 95}, {"abcdefghi|", "", VIEW, 2, 94}, {"abcdefghij|", "", VIEW, 7, 50},
        {"aK|bcdefgh", "", VIEW, 1, 50, 3}, {"aK|bcdefgh", "", VIEW, 1, 50, 2}, {"abcdefgKh|", "", VIEW, 9, 40}, {"abc|", "", VIEW, 3, 5},
    };
    for (const Code& c : kCodes) {
        for (const auto& k : cases) {
            InputLine line = parse(k.before, c);
            std::string str = parse(k.str, c).text, at = k.before.substr(0, 12) + " op " + std::to_string(k.op);
            int bell = 0, result = k.op == ADD    ? input_add(&line, c.code, str.c_str(), &bell)
                                   : k.op == SELECT ? input_select(&line, c.code, k.a, k.b)
                                   : k.op == CARET  ? (input_set_caret(&line, c.code, k.a), 0)
                                   : k.op == WORD   ? (input_select_word(&line, c.code), 0)
                                   : k.op == HIT    ? input_hit(&line, c.code, width10, k.a)
                                   : k.op == VIEW   ? (line.drawPos = k.b, input_draw_pos(&line, c.code, width10, k.a))
                                                    : input_key(&line, c.code, k.op, k.a, str.c_str(), (int)str.size());
            InputLine want = parse(k.after.empty() ? k.before : k.after, c);
            EXPECT_EQ(std::make_pair(result, bell), std::make_pair(k.result, k.op == ADD ? k.a : 0)) << at;
            EXPECT_STREQ(line.text, want.text) << at;
            EXPECT_EQ(std::make_pair(line.caret, line.selLen), std::make_pair(want.caret, want.selLen)) << at;
        }
    }
}
