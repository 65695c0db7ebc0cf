// Layout arithmetic of the bars and button groups, without a display: the
// menu bar's titles and status line, the tool bar's height, the select
// button's caption and first button, rows of buttons kept 5 pixels apart,
// and the text box's two parts.  Numbers in, numbers out.
#ifndef TSL_CONTROLS_CONTROL_LAYOUT_H
#define TSL_CONTROLS_CONTROL_LAYOUT_H

enum { ROW_GAP = 5 };

struct Box {
    int x;
    int y;
    int width;
    int height;
};

struct MenuBarLayout {
    int height;  // of the bar, and where its menus open
    Box titles[2];  // hit and frame rectangles of "Menu" and "?"
    Box status;  // the status line at creation
    int textY;  // top of both title texts
};

// The bar for text lines charHeight high, titles measuring titleWidth0 and
// titleWidth1, in a parent parentWidth wide.
MenuBarLayout menubar_layout(int charHeight, int titleWidth0, int titleWidth1, int parentWidth);

// Width of the status line once the parent is parentWidth wide: the room
// right of the titles, or when the parent is narrower than twice what they
// take, exactly what they take.
int menubar_status_width(const MenuBarLayout& bar, int parentWidth);

// A tool bar's height: a text line or an icon, and 6 pixels above and below.
int toolbar_height(int charHeight);

struct GroupLayout {
    int captionX;
    int captionY;
    int firstX;  // the first button
    int firstY;
    int buttonHeight;
};

// A select-button group groupHeight high: buttons in a row right of the
// caption, or in a column below it.
GroupLayout group_layout(bool horizontal, int charHeight, int captionWidth, int groupHeight);

// Width of a button added to a row: its caption with 5 pixels each side
// (nothing for an empty caption), and an icon column when it has an icon;
// at least 1, the narrowest window there is.
int row_button_width(int textWidth, bool icon, int iconColumn);

// Width of a button whose caption or icon was changed: the caption with its
// sides even when empty, and a 20-pixel icon column.
int row_changed_width(int textWidth, bool icon);

// Where a button added at index lands among count buttons: any negative
// index, or one at or past the end, appends.
int row_slot(int index, int count);

// The button index names among count: -1 the last, other negatives the
// first; -1 when there is none.
int row_pick(int index, int count);

struct TextBoxLayout {
    Box text;
    Box bar;
};

// A text box width x height: the text window, a 5-pixel gap, and a bar
// barWidth wide at the right edge.  No part is ever narrower or lower than
// a pixel, which is the smallest window the server makes.
TextBoxLayout textbox_layout(int width, int height, int barWidth);

#endif
