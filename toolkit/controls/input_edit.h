// Editing rules of the single-line input window, apart from X: caret and
// selection moves, insertion and deletion over mixed one- and two-byte text,
// the hit test and the horizontal scroll, given a text-width function.
#ifndef TSL_CONTROLS_INPUT_EDIT_H
#define TSL_CONTROLS_INPUT_EDIT_H

// The text holds at most this many bytes; typing stops one byte short.
enum { INPUT_TEXT_MAX = 1024 };

// Positions are byte indexes into text; the selection runs from caret to
// caret + selLen (negative when it extends to the left).  Every edit keeps
// caret, caret + selLen and drawPos on character boundaries of the code
// (TSL_CODE_EUC or TSL_CODE_SJIS; any other code has one-byte characters).
struct InputLine {
    char text[INPUT_TEXT_MAX + 1];
    char selText[INPUT_TEXT_MAX + 1];  // copy of the selected bytes
    int drawPos;                       // first byte shown
    int selLen;
    int caret;
};

// Pixel width of the first len bytes of a text (tslTextNWidth).
typedef int (*InputWidth)(const char* text, int len);

// What a key did, and so what the window has to do.
enum InputOutcome {
    INPUT_IGNORED,  // not an editing key
    INPUT_REFUSED,  // ring the bell; nothing changed
    INPUT_PAINT,    // the line changed where it is shown: repaint
    INPUT_SCROLL,   // caret, selection or text moved: scroll to the caret and repaint
};

// Starts over with text (shorter than INPUT_TEXT_MAX; null is empty).
void input_reset(InputLine* line, const char* text);
// Copies the selected bytes into selText.
void input_refresh_selection(InputLine* line);
// Removes the selected bytes; the caret goes to where they started.
void input_delete_selection(InputLine* line);

// A key press: keysym, Shift held, and the text the key typed (len bytes).
InputOutcome input_key(InputLine* line, int code, unsigned long keysym, int shift, const char* str,
                       int len);

// Inserts str at the caret, replacing the selection; at the end of the text
// what does not fit is cut off.  Returns the new length, or -1 when refused.
// *bell is set when the bell is due (refused or cut).
int input_add(InputLine* line, int code, const char* str, int* bell);

// Pasted text made one line: line breaks at its end go, and every other
// control byte becomes a space.
void input_one_line(char* text);

// Caret to pos (a negative pos is the end), without selection.
void input_set_caret(InputLine* line, int code, int pos);
// Selects start..end (end < 0 or past the text: to the end); 0 when refused.
int input_select(InputLine* line, int code, int start, int end);
// Selects the word (or the run of spaces) at the caret, in whole characters.
void input_select_word(InputLine* line, int code);

// Left margin of the shown text: 4 pixels, 2 once it is scrolled.
int input_margin(int drawPos);
// Byte index a click at x selects: the nearer edge of the character under it.
int input_hit(const InputLine* line, int code, InputWidth width, int x);
// drawPos that keeps the selection's moving end in a window winWidth wide.
int input_draw_pos(const InputLine* line, int code, InputWidth width, int winWidth);
// x of the caret, and of the selection's left edge (negative when it starts
// left of the shown text).
int input_caret_x(const InputLine* line, InputWidth width);
int input_selection_x(const InputLine* line, InputWidth width);

#endif
