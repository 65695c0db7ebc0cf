// Line breaking and scroll arithmetic of the text window, apart from X:
// character widths come through callbacks, so tests and fuzzers run it
// without a display.
#ifndef TSL_CONTROLS_TEXT_WRAP_H
#define TSL_CONTROLS_TEXT_WRAP_H

#include <vector>

struct TextWrapFonts {
    void* context;
    // Width of a one-byte character.
    int (*single)(void* context, unsigned char c);
    // Width of a two-byte character, given as its JIS X 0208 row and cell.
    int (*pair)(void* context, unsigned char row, unsigned char cell);
    // Called before each character; may be null.
    void (*tick)(void* context);
};

struct TextWrapLine {
    int start;   // offset of the first byte in the text
    int length;  // bytes, a closing line feed included
    int width;   // pixels to repaint: the limit for a wrapped line, else the measured width
};

// Splits length bytes of text into lines narrower than limit pixels.  A line
// ends after a line feed, or before the character that makes it reach the
// limit; a two-byte character moves whole.  A text with control bytes
// (TSL_CODE_NOTEXT) has them overwritten with '?' first and is then read in
// the code of what remains.  Returns false when memory runs out.
bool text_wrap(char* text, int length, int limit, const TextWrapFonts& fonts,
               std::vector<TextWrapLine>* lines);

// Whole lines of height lineHeight that fit in a window of the given height.
int text_wrap_visible(int windowHeight, int lineHeight);

// The scroll position after a resize: no further down than needed to show
// the last line at the bottom, 0 when everything fits.
int text_wrap_clamp_pos(int pos, int lineCount, int lineHeight, int windowHeight);

#endif
