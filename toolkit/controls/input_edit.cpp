// Editing rules of the single-line input window: every move and edit works
// on whole characters as the byte kinds of the configured code define them.
#include "controls/input_edit.h"

#include <X11/keysym.h>

#include <cstdlib>
#include <cstring>

#include "support/charcode_private.h"
#include "tessel.h"

static int length(const InputLine* line)
{
    return (int)strlen(line->text);
}

static int is_trail(const char* text, int index, int code)
{
    return charcode_byte_kind(text, index, code) == TSL_CHAR_TRAIL;
}

// Bytes of the character that starts at index (two for a lead byte that
// has its trail byte).
static int char_bytes(const char* text, int index, int code)
{
    return is_trail(text, index + 1, code) ? 2 : 1;
}

// The longest prefix of str[0..len) that ends on a character boundary: a
// lead byte whose trail was cut off is not a character, and inserted before
// other text it would swallow the next byte as its trail.
static int whole_chars(const char* str, int len, int code)
{
    int pos = 0;
    while (pos < len) {
        int step = charcode_is_lead((unsigned char)str[pos], code) ? 2 : 1;
        if (pos + step > len)
            break;
        pos += step;
    }
    return pos;
}

static void insert_at_caret(InputLine* line, const char* str, int len)
{
    int n = length(line);
    memmove(line->text + line->caret + len, line->text + line->caret, (size_t)(n - line->caret + 1));
    memcpy(line->text + line->caret, str, (size_t)len);
    line->caret += len;
}

static void remove_bytes(InputLine* line, int from, int count)
{
    int n = length(line);
    memmove(line->text + from, line->text + from + count, (size_t)(n - from - count + 1));
}

void input_reset(InputLine* line, const char* text)
{
    size_t n = text ? strlen(text) : 0;
    if (n >= INPUT_TEXT_MAX)
        n = 0;
    memcpy(line->text, text ? text : "", n);
    line->text[n] = '\0';
    line->caret = line->selLen = line->drawPos = 0;
    input_refresh_selection(line);
}

void input_refresh_selection(InputLine* line)
{
    int start = line->selLen < 0 ? line->caret + line->selLen : line->caret;
    int count = abs(line->selLen);
    memcpy(line->selText, line->text + start, (size_t)count);
    line->selText[count] = '\0';
}

void input_delete_selection(InputLine* line)
{
    if (line->selLen < 0)
        line->caret += line->selLen;
    remove_bytes(line, line->caret, abs(line->selLen));
    line->selLen = 0;
    input_refresh_selection(line);
}

// Control bytes are no text: Ctrl with a letter types them, and a NUL
// would cut the line short.
static int is_typed_text(const char* str, int len)
{
    for (int i = 0; i < len; i++) {
        unsigned char c = (unsigned char)str[i];
        if (c < 0x20 || c == 0x7F)
            return 0;
    }
    return 1;
}

void input_one_line(char* text)
{
    size_t n = strlen(text);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r'))
        text[--n] = '\0';
    for (size_t i = 0; i < n; i++)
        if ((unsigned char)text[i] < 0x20 || text[i] == 0x7F)
            text[i] = ' ';
}

static InputOutcome type_text(InputLine* line, int code, const char* str, int len)
{
    if (length(line) + len >= INPUT_TEXT_MAX)
        return INPUT_REFUSED;
    if (line->selLen)
        input_delete_selection(line);
    insert_at_caret(line, str, whole_chars(str, len, code));
    line->selLen = 0;
    return INPUT_SCROLL;
}

static InputOutcome key_left(InputLine* line, int code, int shift)
{
    if (shift) {
        if (line->caret + line->selLen < 1)
            return INPUT_REFUSED;
        line->selLen--;
        if (is_trail(line->text, line->caret + line->selLen, code))
            line->selLen--;
        return INPUT_SCROLL;
    }
    if (line->caret == 0)
        return INPUT_REFUSED;
    if (line->selLen < 0) {
        line->caret += line->selLen;
    } else {
        line->caret--;
        if (is_trail(line->text, line->caret, code))
            line->caret--;
    }
    line->selLen = 0;
    return INPUT_SCROLL;
}

static InputOutcome key_right(InputLine* line, int code, int shift)
{
    int n = length(line);
    if (shift) {
        if (line->caret + line->selLen >= n)
            return INPUT_REFUSED;
        line->selLen++;
        if (is_trail(line->text, line->caret + line->selLen, code))
            line->selLen++;
        return INPUT_SCROLL;
    }
    if (line->caret == n)
        return INPUT_REFUSED;
    if (line->selLen > 0) {
        line->caret += line->selLen;
    } else {
        line->caret++;
        if (is_trail(line->text, line->caret, code))
            line->caret++;
    }
    line->selLen = 0;
    return INPUT_SCROLL;
}

static InputOutcome key_backspace(InputLine* line, int code)
{
    if (line->selLen) {
        input_delete_selection(line);
        return INPUT_SCROLL;
    }
    if (line->caret == 0)
        return INPUT_REFUSED;
    int count = is_trail(line->text, line->caret - 1, code) ? 2 : 1;
    line->caret -= count;
    remove_bytes(line, line->caret, count);
    return INPUT_SCROLL;
}

// Deleting at the caret leaves the shown start where it is.
static InputOutcome key_delete(InputLine* line, int code)
{
    if (line->selLen) {
        input_delete_selection(line);
        return INPUT_SCROLL;
    }
    if (line->caret == length(line))
        return INPUT_REFUSED;
    remove_bytes(line, line->caret, char_bytes(line->text, line->caret, code));
    return INPUT_PAINT;
}

InputOutcome input_key(InputLine* line, int code, unsigned long keysym, int shift, const char* str,
                       int len)
{
    int typed = (keysym >= 0x20 && keysym <= 0x7E) || keysym == 0;
    InputOutcome outcome = INPUT_IGNORED;
    if (str && len > 0 && typed && is_typed_text(str, len)) {
        outcome = type_text(line, code, str, len);
    } else {
        switch (keysym) {
        case XK_Left:
            outcome = key_left(line, code, shift);
            break;
        case XK_Right:
            outcome = key_right(line, code, shift);
            break;
        case XK_Home:
        case XK_Prior:
            line->caret = line->selLen = 0;
            outcome = INPUT_SCROLL;
            break;
        case XK_End:
        case XK_Next:
            line->caret = length(line);
            line->selLen = 0;
            outcome = INPUT_SCROLL;
            break;
        case XK_BackSpace:
            outcome = key_backspace(line, code);
            break;
        case XK_Delete:
            outcome = key_delete(line, code);
            break;
        default:
            break;
        }
    }
    if (outcome != INPUT_IGNORED && outcome != INPUT_REFUSED)
        input_refresh_selection(line);
    return outcome;
}

int input_add(InputLine* line, int code, const char* str, int* bell)
{
    *bell = 0;
    size_t n = strlen(line->text), add = strlen(str), sel = (size_t)abs(line->selLen);
    size_t end = (size_t)(line->caret + line->selLen);
    // A selection reaching the end may give way to a cut-off append; any
    // other stays when the result would not fit, and the insertion fails.
    if (line->selLen && (n + add - sel <= INPUT_TEXT_MAX || (size_t)line->caret == n || end == n)) {
        input_delete_selection(line);
        n = strlen(line->text);
    }
    size_t caret = (size_t)line->caret;
    if (add + caret > INPUT_TEXT_MAX) {
        if (caret != n) {
            *bell = 1;
            return -1;
        }
        insert_at_caret(line, str, whole_chars(str, INPUT_TEXT_MAX - (int)n, code));
        *bell = 1;
    } else if (n + add > INPUT_TEXT_MAX) {
        *bell = 1;
        return -1;
    } else {
        insert_at_caret(line, str, whole_chars(str, (int)add, code));
    }
    line->selLen = 0;
    input_refresh_selection(line);
    return length(line);
}

void input_set_caret(InputLine* line, int code, int pos)
{
    unsigned n = (unsigned)length(line);
    int caret = (int)((unsigned)pos > n ? n : (unsigned)pos);
    if (is_trail(line->text, caret, code))
        caret--;
    line->caret = caret;
    line->selLen = 0;
    input_refresh_selection(line);
}

int input_select(InputLine* line, int code, int start, int end)
{
    int n = length(line);
    if (end < 0 || end > n)
        end = n;
    if (start < 0 || end < start)
        return 0;
    // Whole characters: a start inside one moves to its first byte, an end
    // inside one to its last.
    if (is_trail(line->text, start, code))
        start--;
    if (is_trail(line->text, end, code))
        end++;
    line->caret = start;
    line->selLen = end - start;
    input_refresh_selection(line);
    return 1;
}

void input_select_word(InputLine* line, int code)
{
    const char* t = line->text;
    int n = length(line);
    int at = line->caret;
    // Words are separated by spaces only; on a space the run of spaces is taken.
    bool space = t[at] == ' ';
    int start = at, end = at;
    while (start > 0 && (t[start - 1] == ' ') == space)
        start--;
    while (end < n && (t[end] == ' ') == space)
        end++;
    // A space byte may be the second byte of a character: whole characters.
    input_select(line, code, start, end);
}

int input_margin(int drawPos)
{
    return drawPos > 0 ? 2 : 4;
}

int input_hit(const InputLine* line, int code, InputWidth width, int x)
{
    const char* shown = line->text + line->drawPos;
    int n = length(line);
    int m = input_margin(line->drawPos);
    if (x >= m + width(shown, n - line->drawPos))
        return n;
    for (int i = line->drawPos; i < n;) {
        int bytes = char_bytes(line->text, i, code);
        if (x <= m + width(shown, i - line->drawPos) + width(line->text + i, bytes) / 2)
            return i;
        i += bytes;
    }
    return n;
}

int input_draw_pos(const InputLine* line, int code, InputWidth width, int winWidth)
{
    const char* t = line->text;
    int e = line->caret + line->selLen;
    if (width(t, length(line)) + 4 < winWidth)
        return 0;
    if (e <= line->drawPos) {
        if (e < 1)
            return 0;
        return is_trail(t, e - 1, code) ? e - 2 : e - 1;
    }
    // Stops one character after the first start from which the text up to
    // the end point fits, and never past the end point in a narrow window.
    int p = line->drawPos;
    // Text changed before the old start may have left it inside a character.
    if (is_trail(t, p, code))
        p--;
    int w = width(t + p, e - p) + input_margin(p);
    while (w > winWidth - 4 && p < e) {
        w = width(t + p, e - p) + input_margin(p);
        p += char_bytes(t, p, code);
    }
    return p;
}

int input_caret_x(const InputLine* line, InputWidth width)
{
    return input_margin(line->drawPos) + width(line->text + line->drawPos, line->caret - line->drawPos);
}

int input_selection_x(const InputLine* line, InputWidth width)
{
    int start = line->selLen < 0 ? line->caret + line->selLen : line->caret;
    int m = input_margin(line->drawPos);
    if (start >= line->drawPos)
        return m + width(line->text + line->drawPos, start - line->drawPos);
    return m - width(line->text + start, line->drawPos - start);
}
