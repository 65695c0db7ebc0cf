// Input line editing in both two-byte codes.  Lines are written with the
// caret as '|', the selection's moving end as '^', a two-byte character as
// 'K' and a lone lead byte as 'L'.
#include <X11/keysym.h>

#include "testutil.h"
#include "controls/input_edit.h"
#include "tessel.h"

namespace {

struct Code {
    int code;
    std::string kanji, lead;
};
const Code kCodes[] = {{TSL_CODE_EUC, "\xa4\xa2", "\xa4"}, {TSL_CODE_SJIS, "\x82\xa0", "\x82"}};

std::string expand(const std::string& s, const Code& c)
{
    std::string out;
    for (char ch : s)
        out += ch == 'K' ? c.kanji : ch == 'L' ? c.lead : std::string(1, ch);
    return out;
}

InputLine parse(const std::string& notation, const Code& c)
{
    std::string s = expand(notation, c), text;
    int caret = 0, end = -1;
    for (char ch : s)
        ch == '|' ? caret = (int)text.size() : ch == '^' ? end = (int)text.size() : (text += ch, 0);
    InputLine line;
    input_reset(&line, text.c_str());
    line.caret = caret;
    line.selLen = end < 0 ? 0 : end - caret;
    input_refresh_selection(&line);
    return line;
}

std::string render(const InputLine& l, const Code& c)
{
    std::string out, t = l.text;
    for (size_t i = 0; i <= t.size();) {
        out += (int)i == l.caret ? "|" : l.selLen && (int)i == l.caret + l.selLen ? "^" : "";
        bool k = t.compare(i, 2, c.kanji) == 0;
        out += i == t.size() ? "" : k ? "K" : t.substr(i, 1);
        i += k ? 2 : 1;
    }
    return out;
}

int width10(const char*, int len)
{
    return len > 0 ? 10 * len : 0;  // 10 pixels a byte: 20 for a two-byte character
}

}  // namespace

TEST(InputEdit, KeysMoveAndEditWholeCharacters)
{
    const int S = 1, R = INPUT_REFUSED, I = INPUT_IGNORED, P = INPUT_PAINT, M = INPUT_SCROLL;
    const struct {
        const char* before;
        unsigned long key;
        int shift;
        const char* typed;
        const char* after;
        int outcome;
    } cases[] = {
        {"aK|", XK_BackSpace, 0, "", "a|", M},     {"|aK", XK_BackSpace, 0, "", "|aK", R},
        {"a|b^c", XK_BackSpace, 0, "", "a|c", M},  {"aK|b", XK_Left, 0, "", "a|Kb", M},
        {"|aK", XK_Left, 0, "", "|aK", R},         {"a^Kb|", XK_Left, 0, "", "a|Kb", M},
        {"a|Kb", XK_Right, 0, "", "aK|b", M},      {"a|K^b", XK_Right, 0, "", "aK|b", M},
        {"aKb|", XK_Right, 0, "", "aKb|", R},      {"|Kb", XK_Right, S, "", "|K^b", M},
        {"aK|", XK_Left, S, "", "a^K|", M},        {"a|K^b", XK_Left, S, "", "a|Kb", M},
        {"|aK", XK_Left, S, "", "|aK", R},         {"aK|", XK_Right, S, "", "aK|", R},
        {"a|bK", XK_Delete, 0, "", "a|K", P},      {"a|Kb", XK_Delete, 0, "", "a|b", P},
        {"aKL|", XK_BackSpace, 0, "", "aK|", M},   {"aK|L", XK_Delete, 0, "", "aK|", P},
        {"aK|", XK_Delete, 0, "", "aK|", R},       {"a|b^c", XK_Delete, 0, "", "a|c", M},
        {"aK|b", XK_Home, 0, "", "|aKb", M},       {"a|Kb^", XK_Next, S, "", "aKb|", M},
        {"a|bc^d", 'X', 0, "X", "aX|d", M},        {"a|K", 0, 0, "KK", "aKK|K", M},
        {"a|b", 0, 0, "ZL", "aZ|b", M},            {"ab|", 'a', 0, "\x01", "ab|", I},
        {"ab|", ' ', 0, "", "ab|", I},  // Ctrl+Space types a NUL
        {"ab|", XK_Return, 0, "\r", "ab|", I},
    };
    for (const Code& c : kCodes) {
        for (const auto& k : cases) {
            InputLine line = parse(k.before, c);
            std::string typed = expand(k.typed, c);
            int len = k.key == ' ' ? 1 : (int)typed.size();
            EXPECT_EQ(input_key(&line, c.code, k.key, k.shift, typed.c_str(), len), k.outcome) << k.before;
            EXPECT_EQ(render(line, c), k.after) << k.before << " key " << k.key;
            EXPECT_EQ(std::string(line.selText), parse(k.after, c).selText) << k.before;
        }
    }
}

TEST(InputEdit, LengthLimitsOfTypingAndAdding)
{
    const std::string a1022(1022, 'a'), a1023(1023, 'a');
    const struct {
        std::string before, add, after;
        int result, bell;
    } cases[] = {
        {a1023 + "|", "K", a1023 + "|", 1023, 1},  // byte 1024 would split the character
        {a1023 + "|", "bc", a1023 + "b|", 1024, 1},
        {a1022 + "|", "K", a1022 + "K|", 1024, 0},
        {"a|" + a1022, "bc", "a|" + a1022, -1, 1},
        {"a|" + a1022, std::string(1024, 'b'), "a|" + a1022, -1, 1},
        {"|a^" + a1022, "xyz", "|a^" + a1022, -1, 1},  // the selection stays
        {std::string(1000, 'a') + "|" + std::string(23, 'a') + "^", std::string(100, 'b'),
         std::string(1000, 'a') + std::string(24, 'b') + "|", 1024, 1},
        {"a|bc^d", "XL", "aX|d", 3, 0},
    };
    for (const Code& c : kCodes) {
        for (const auto& k : cases) {
            InputLine line = parse(k.before, c);
            int bell = -1;
            EXPECT_EQ(input_add(&line, c.code, expand(k.add, c).c_str(), &bell), k.result) << k.add.substr(0, 8);
            EXPECT_EQ(bell, k.bell) << k.add.substr(0, 8);
            EXPECT_EQ(render(line, c), k.after) << k.add.substr(0, 8);
        }
        InputLine full = parse(a1023 + "|", c);
        EXPECT_EQ(input_key(&full, c.code, 'b', 0, "b", 1), INPUT_REFUSED);
    }
}

TEST(InputEdit, SelectionsSnapToWholeCharactersAndWords)
{
    const Code& c = kCodes[0];
    const struct {
        const char* before;
        int start, end;  // -2: select the word at the caret; -3: caret to start
        const char* after;
    } cases[] = {
        {"aKb", 2, 3, "a|K^b"},   {"aKb", 0, 2, "|aK^b"},    {"a|bc", 2, 1, "a|bc"},
        {"abc", 1, -1, "a|bc^"},  {"aKb", 2, -3, "a|Kb"},    {"aKb", -1, -3, "aKb|"},
        {"ab c|d ef", 0, -2, "ab |cd^ ef"}, {"ab|  cd", 0, -2, "ab|  ^cd"},
        {"Kb c|", 0, -2, "Kb |c^"},         {"|", 0, -2, "|"},
    };
    for (const auto& k : cases) {
        InputLine line = parse(k.before, c);
        if (k.end == -2)
            input_select_word(&line);
        else if (k.end == -3)
            input_set_caret(&line, c.code, k.start);
        else
            EXPECT_EQ(input_select(&line, c.code, k.start, k.end), k.start <= k.end || k.end < 0);
        EXPECT_EQ(render(line, c), k.after) << k.before;
    }
}

TEST(InputEdit, HitTestAndScrolling)
{
    const Code& c = kCodes[0];
    // "aKb" from x 4: the edges of a, K and b at 4, 14, 34, 44; mid-points 9, 24, 39.
    const int hits[][2] = {{0, 0}, {9, 0}, {10, 1}, {24, 1}, {25, 3}, {39, 3}, {40, 4}, {99, 4}};
    InputLine line = parse("aKb", c);
    for (const auto& h : hits)
        EXPECT_EQ(input_hit(&line, c.code, width10, h[0]), h[1]) << h[0];
    // Nine bytes are 90 pixels and need a window of 95; ten bytes in 50 fit
    // from byte 6 on, and the view starts one character after.
    const struct {
        const char* line;
        int drawPos, winWidth, expect;
    } views[] = {
        {"abcdefghi|", 0, 95, 0}, {"abcdefghi|", 0, 94, 2}, {"abcdefghij|", 0, 50, 7}, {"abc|defghij", 5, 50, 2},
        {"aK|bcdefgh", 3, 50, 1},   {"abcdefgKh|", 0, 40, 9}, {"abc|", 0, 5, 3},
    };
    for (const auto& v : views) {
        InputLine l = parse(v.line, c);
        l.drawPos = v.drawPos;
        EXPECT_EQ(input_draw_pos(&l, c.code, width10, v.winWidth), v.expect) << v.line << " " << v.winWidth;
    }
}
