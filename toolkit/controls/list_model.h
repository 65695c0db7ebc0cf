// The list window's arithmetic without a display: items and their selection
// rules, rows and the item under a point, how indexes follow insertions and
// deletions, and how wide a partial repaint must clear each row.
#ifndef TSL_CONTROLS_LIST_MODEL_H
#define TSL_CONTROLS_LIST_MODEL_H

#include "tessel.h"

// One entry of the list.  Record and text are one heap block (name points
// just past the record), so freeing the record frees its text as well.
struct ListItem {
    char* name;
    TslImage* icon;  // not owned
    int length;
    int width;
    int selected;
};

// Texts are shifted right by this much while any item has an icon.
enum { LIST_ICON_SPACE = 18, LIST_MIN_ROW_HEIGHT = 16 };

// A new unselected item holding a copy of text (null counts as empty), or
// null when memory is short.  The caller measures and stores the width.
ListItem* list_item_new(const char* text, TslImage* icon);

// Selection rule for a click on item i (code 150 click, 160 double click);
// returns the new count of selected items.  selCount is the count the rules
// have maintained so far.
int list_select(ListItem** items, int count, int i, int code, int shift, int ctrl, int single,
                int selCount);
// Sets item i's flag to on, leaving the others alone except in single mode,
// where no other item stays selected; returns the new count.
int list_set_select(ListItem** items, int count, int i, int on, int single);
int list_count_selected(ListItem** items, int count);

// Shift and Control as a click carries them in its state.  Caps Lock does
// not make a click a range selection.
void list_modifiers(unsigned int state, int* shift, int* ctrl);
// Whether a press at time now, after the last press at last, is the second
// of a double click (times are the server's 32-bit milliseconds).
int list_is_double_click(unsigned long now, unsigned long last, int doubleClickTime);
// Whether a motion event at now comes too soon after the last one acted on.
int list_motion_too_soon(unsigned long now, unsigned long last);

// Rows: the number of whole rows in a window height, the item under window
// coordinate y (-1 for none), and the last row holding an item (-1 for none,
// at most wholeRows: the partly visible row is drawn too).
int list_whole_rows(int height, int rowHeight);
int list_item_at(int pos, int y, int rowHeight, int count);
int list_last_row(int pos, int count, int wholeRows);
// The top row after a wheel step of step rows: not above the first item and,
// going down, not further than the last item's row at the bottom.
int list_wheel_pos(int pos, int count, int wholeRows, int step);

// Indexes that follow the items: current (last clicked), hover (under the
// pointer) and pos (top row).
struct ListIndexes {
    int current;
    int hover;
    int pos;
};
// Where an item inserted at index lands in an array of count items (the
// object array honours an index only from two items on).
int list_insert_slot(int count, int index);
void list_after_insert(ListIndexes* ix, int slot);
// count is the number of items left; height the window height.
void list_after_delete(ListIndexes* ix, int index, int count, int rowHeight, int height);

// What a partial paint must know to size the strip it repaints in a row.
struct ListPaintState {
    int pos, drawnPos;
    int hover, drawnHover;
    int changedItem;   // -1, or the item just inserted or deleted
    int maxWidth;      // widest text, not yet lowered after a deletion
    int hasIcons;
    int windowWidth;
    int paintedWidth;  // widest content any row showed after the last paint
};
// Width of row k's strip: itemWidth is the text width of the item now in the
// row, formerWidth that of the item the row showed (0 when there is none).
// Never narrower than what the rows last showed, so no old text survives.
int list_row_width(const ListPaintState& s, int k, int itemWidth, int formerWidth);
// Width of what a row shows: text after the icon column, or the icon itself.
int list_content_width(int textWidth, int iconWidth, int hasIcons);

// The widest text and how many items have that width, kept up to date
// without rescanning the list on every insertion and deletion.  A change
// may leave maxWidth above every item (widestCount 0); the next deletion
// then rescans.
void list_widths_add(int width, int* maxWidth, int* widestCount);
void list_widths_after_delete(ListItem** items, int count, int removedWidth, int* maxWidth,
                              int* widestCount);

#endif
