// The list window's rules as plain arithmetic on its items and indexes:
// selection with Shift and Ctrl, rows under the pointer, index bookkeeping
// on insertion and deletion, and the widths a partial repaint clears.
#include "controls/list_model.h"

#include <cstdint>
#include <cstring>

#include <X11/X.h>

// The pointer must rest this long before the hover mark follows it again.
static const uint32_t MOTION_GAP_MS = 25;

ListItem* list_item_new(const char* text, TslImage* icon)
{
    if (!text)
        text = "";
    size_t length = strlen(text);
    if (length > 0x7FFFFFF0)
        return nullptr;
    ListItem* item = static_cast<ListItem*>(tslAlloc(sizeof(ListItem) + length + 1));
    if (!item)
        return nullptr;
    item->name = reinterpret_cast<char*>(item + 1);
    memcpy(item->name, text, length + 1);
    item->icon = icon;
    item->length = (int)length;
    item->width = 0;
    item->selected = 0;
    return item;
}

static void select_only(ListItem** items, int count, int keep)
{
    for (int j = 0; j < count; j++)
        items[j]->selected = j == keep;
}

int list_count_selected(ListItem** items, int count)
{
    int n = 0;
    for (int j = 0; j < count; j++)
        n += items[j]->selected != 0;
    return n;
}

// Shift: from the first selected item (or i, when it comes first) to i, or
// to the last selected item when i is the first; everything after is cleared.
static int select_range(ListItem** items, int count, int i)
{
    int first = 0;
    while (first < i && !items[first]->selected)
        first++;
    int last = i;
    if (first == i) {
        last = count - 1;
        while (last > i && !items[last]->selected)
            last--;
    }
    for (int j = 0; j < count; j++)
        items[j]->selected = j >= first && j <= last;
    return last - first + 1;
}

int list_select(ListItem** items, int count, int i, int code, int shift, int ctrl, int single,
                int selCount)
{
    if (!items || i < 0 || i >= count)
        return selCount;
    if (single)
        shift = ctrl = 0;
    if (shift)
        return select_range(items, count, i);
    if (ctrl) {
        int s = list_count_selected(items, count);
        if (items[i]->selected && code == TSLN_SELECT) {
            items[i]->selected = 0;
            return s - 1;
        }
        // A double click on an item already selected does not count it twice.
        int added = !items[i]->selected;
        items[i]->selected = 1;
        return s + added;
    }
    // A second single click on the only selected item clears the selection.
    int only = items[i]->selected && selCount == 1;
    select_only(items, count, i);
    if (only && !single && code == TSLN_SELECT) {
        items[i]->selected = 0;
        return 0;
    }
    return 1;
}

int list_set_select(ListItem** items, int count, int i, int on, int single)
{
    if (!items || i < 0 || i >= count)
        return list_count_selected(items, count);
    if (single && on)
        select_only(items, count, i);
    else if (single)
        select_only(items, count, -1);
    else
        items[i]->selected = on != 0;
    return list_count_selected(items, count);
}

void list_modifiers(unsigned int state, int* shift, int* ctrl)
{
    *shift = (state & ShiftMask) != 0;
    *ctrl = (state & ControlMask) != 0;
}

int list_is_double_click(unsigned long now, unsigned long last, int doubleClickTime)
{
    // A negative setting from the resource file must not make every click double.
    return doubleClickTime > 0 && (uint32_t)(now - last) < (uint32_t)doubleClickTime;
}

int list_motion_too_soon(unsigned long now, unsigned long last)
{
    return (uint32_t)(now - last) < MOTION_GAP_MS;
}

int list_whole_rows(int height, int rowHeight)
{
    if (rowHeight < 1 || height < 2)
        return 0;
    return (height - 2) / rowHeight;
}

int list_item_at(int pos, int y, int rowHeight, int count)
{
    if (y - 1 < 0 || rowHeight < 1)
        return -1;
    long i = (long)pos + (y - 1) / rowHeight;
    return i >= 0 && i < count ? (int)i : -1;
}

int list_last_row(int pos, int count, int wholeRows)
{
    if (pos < 0 || pos >= count)
        return -1;
    int last = count - 1 - pos;
    return last < wholeRows ? last : wholeRows;
}

int list_wheel_pos(int pos, int count, int wholeRows, int step)
{
    int limit = count - wholeRows;
    long p = (long)pos + step;
    if (step > 0 && p > limit)
        p = limit > pos ? limit : pos;
    return p < 0 ? 0 : (int)p;
}

int list_insert_slot(int count, int index)
{
    return count >= 2 && index >= 0 && index < count ? index : count;
}

void list_after_insert(ListIndexes* ix, int slot)
{
    if (ix->current >= 0 && slot <= ix->current)
        ix->current++;
    if (ix->hover >= 0 && slot <= ix->hover)
        ix->hover = -1;
}

void list_after_delete(ListIndexes* ix, int index, int count, int rowHeight, int height)
{
    if (ix->current == index)
        ix->current = -1;
    else if (ix->current > index)
        ix->current--;
    if (ix->hover >= index)
        ix->hover = -1;
    // Pull the list down one row when its end has risen into the window.
    if ((long)(count - ix->pos) * rowHeight < height && ix->pos > 0)
        ix->pos--;
}

int list_content_width(int textWidth, int iconWidth, int hasIcons)
{
    int text = textWidth + (hasIcons ? LIST_ICON_SPACE : 0);
    return iconWidth > text ? iconWidth : text;
}

int list_row_width(const ListPaintState& s, int k, int itemWidth, int formerWidth)
{
    int item = s.pos + k;
    int former = s.drawnPos + k;
    if (item == s.hover || item == s.drawnHover || former == s.hover || former == s.drawnHover)
        return s.windowWidth;
    int width;
    if (s.changedItem >= 0)
        width = s.maxWidth;
    else
        width = itemWidth > formerWidth ? itemWidth : formerWidth;
    width = list_content_width(width, 0, s.hasIcons);
    return width > s.paintedWidth ? width : s.paintedWidth;
}

void list_widths_add(int width, int* maxWidth, int* widestCount)
{
    if (width > *maxWidth) {
        *maxWidth = width;
        *widestCount = 1;
    } else if (width == *maxWidth) {
        (*widestCount)++;
    }
}

void list_widths_after_delete(ListItem** items, int count, int removedWidth, int* maxWidth,
                              int* widestCount)
{
    if (removedWidth == *maxWidth)
        (*widestCount)--;
    if (*widestCount > 0)
        return;
    *maxWidth = 0;
    *widestCount = 0;
    for (int j = 0; j < count; j++)
        list_widths_add(items[j]->width, maxWidth, widestCount);
}
