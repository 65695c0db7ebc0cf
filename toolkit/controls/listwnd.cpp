// The list window: a column of texts with optional icons, selected with the
// mouse (single or multiple, Shift ranges, Ctrl toggles), the row under the
// pointer marked, clicks and double clicks reported to the owner.  Painting
// touches only the rows in view, so long lists stay quick.
#include <cstdlib>

#include "controls/list_model.h"

namespace {

struct ListWndData {
    int pos;
    int drawnPos;
    int hover;
    int drawnHover;
    int current;
    int count;
    int hasIcons;
    int rowHeight;
    Time clickTime;
    Time motionTime;
    ObjArray items;
    short marginX, marginY;
    int shift, ctrl;  // as the last click carried them
    int single;
    int selCount;
    int changedItem;
    int maxWidth;
    // What the rules above need without rescanning the list.
    int iconCount;
    int widestCount;
    int paintedWidth;
};

}  // namespace

static const unsigned long NO_BACKGROUND = ~0UL;
static const int WHEEL_ROWS = 3;

static ListWndData* data_of(TslWindow* w)
{
    if (!w || w->kind != TSLK_LISTWND)
        return nullptr;
    return static_cast<ListWndData*>(w->option);
}

static ListItem** item_array(ListWndData* lw)
{
    return reinterpret_cast<ListItem**>(lw->items);
}

// The item count is 0 whenever the array is missing (lost or destroyed).
static ListItem* item_at(ListWndData* lw, int i)
{
    return i >= 0 && i < lw->count ? item_array(lw)[i] : nullptr;
}

static ListItem* item_of(TslWindow* w, int i)
{
    ListWndData* lw = data_of(w);
    return lw ? item_at(lw, i) : nullptr;
}

TslWindow* tslCreateWindow_ListWnd(Display* display, TslWindow* parent, TslRect rect,
                                   const char* name)
{
    TslWindow* w = tslCreateWindow(display, parent, tslRectPos(rect), tslRectSize(rect), 0, name,
                                   WndProc_ListWnd);
    if (!w)
        return nullptr;
    tslSetWindowKind(w, TSLK_LISTWND);
    ListWndData* lw = static_cast<ListWndData*>(tslAlloc(sizeof(ListWndData)));
    if (!lw) {
        tslDestroyWindow(display, w);
        return nullptr;
    }
    *lw = ListWndData{};
    lw->hover = lw->drawnHover = lw->current = lw->changedItem = -1;
    int height = tslGetCharHeight(nullptr);
    lw->rowHeight = height > LIST_MIN_ROW_HEIGHT ? height : LIST_MIN_ROW_HEIGHT;
    lw->marginX = 2;
    lw->marginY = 1;
    tslSetOption(w, lw);
    lw->items = tslNew_ObjArray();
    if (!lw->items) {
        tslDestroyWindow(display, w);
        return nullptr;
    }
    tslSetRedrawBuffer(w, 1);
    tslSetDefaultCursor(w, g_tessel.cursors[0]);
    return w;
}

static int Draw(Display* display, TslWindow* w, int partial);
static int OnButtonPress(Display* display, TslWindow* w, ListWndData* lw, XButtonEvent* e);
static void set_hover(Display* display, TslWindow* w, ListWndData* lw, int hover);

int WndProc_ListWnd(Display* display, TslWindow* w, XEvent* event)
{
    ListWndData* lw = static_cast<ListWndData*>(w->option);
    int status = w->status;
    if (!lw)
        return status;
    switch (event->type) {
    case ButtonPress:
        return OnButtonPress(display, w, lw, &event->xbutton);
    case MotionNotify:
        if (list_motion_too_soon(event->xmotion.time, lw->motionTime))
            break;
        lw->motionTime = event->xmotion.time;
        set_hover(display, w, lw,
                  list_item_at(lw->pos, event->xmotion.y, lw->rowHeight, lw->count));
        break;
    case LeaveNotify:
        set_hover(display, w, lw, -1);
        break;
    case MapNotify:
        if (event->xmap.window == w->xwin)
            Draw(display, w, 0);
        break;
    case ConfigureNotify:
        if (event->xconfigure.window == w->xwin)
            Draw(display, w, 0);
        break;
    case TSLM_PAINT:
        Draw(display, w, 0);
        break;
    case TSLM_UPDATE:
        Draw(display, w, 1);
        break;
    case TSLM_DESTROY:
        // Records and texts are one block each; icons belong to the caller.
        tslFree_ObjArray(lw->items);
        lw->items = nullptr;
        lw->count = 0;
        return TSLR_OK;
    default:
        break;
    }
    return status;
}

static TslRect list_area(TslWindow* w, ListWndData* lw)
{
    return tslSetRect(lw->marginX, lw->marginY, w->rect.width - 5, w->rect.height - 2);
}

// Icon, text (inverted when selected) and, on the row under the pointer, a
// sunken mark; returns the width of what the row now shows.
static int draw_item(Display* display, TslWindow* w, ListWndData* lw, Pixmap buffer, TslRect clip,
                     int k)
{
    ListItem* item = item_array(lw)[lw->pos + k];
    int h = lw->rowHeight;
    int top = lw->marginY + k * h;
    TslImage* icon = item->icon;
    if (icon)
        tslDrawImageRRg(display, buffer, clip, lw->marginX, (short)(top + (h - icon->height) / 2),
                        icon, 0, 0, (unsigned short)icon->width, (unsigned short)icon->height);
    unsigned long fg = item->selected ? w->backFontPixel : w->foreFontPixel;
    unsigned long bg = item->selected ? w->foreFontPixel : NO_BACKGROUND;
    int textX = lw->marginX + (lw->hasIcons ? LIST_ICON_SPACE : 0);
    tslDrawTextRRg(display, buffer, clip, g_tessel.font, g_tessel.fontKanji, fg, bg, textX, top,
                   item->name);
    if (lw->pos + k == lw->hover)
        tslDraw3DRectangle(display, buffer,
                           tslSetRect(lw->marginX, top, w->rect.width - 6, h - 1), 0);
    return list_content_width(item->width, icon ? icon->width : 0, lw->hasIcons);
}

static void draw_frame(Display* display, TslWindow* w, Pixmap buffer)
{
    tslDraw3DRectangle(display, buffer, tslSetRect(0, 0, w->rect.width - 1, w->rect.height - 1), 1);
}

static void paint_all(Display* display, TslWindow* w, ListWndData* lw, int lastRow)
{
    tslClearWindow(display, w, 1);
    Pixmap buffer = tslGetDraw(w);
    TslRect clip = list_area(w, lw);
    int painted = 0;
    for (int k = 0; k <= lastRow; k++) {
        int width = draw_item(display, w, lw, buffer, clip, k);
        painted = width > painted ? width : painted;
    }
    lw->paintedWidth = painted;
    draw_frame(display, w, buffer);
    tslRedrawWindow(display, w);
}

// Clears, redraws and shows row by row, each only as wide as old and new
// contents need; then the strip below the last item.
static void paint_rows(Display* display, TslWindow* w, ListWndData* lw, int lastRow)
{
    Pixmap buffer = tslGetDraw(w);
    TslRect clip = list_area(w, lw);
    unsigned int clipPos = tslRectPos(clip), clipSize = tslRectSize(clip);
    ListPaintState s = {lw->pos,         lw->drawnPos, lw->hover,   lw->drawnHover,
                        lw->changedItem, lw->maxWidth, lw->hasIcons, (int)w->rect.width,
                        lw->paintedWidth};
    int h = lw->rowHeight;
    int painted = 0;
    for (int k = 0; k <= lastRow; k++) {
        ListItem* former = item_at(lw, lw->drawnPos + k);
        int itemWidth = item_array(lw)[lw->pos + k]->width;
        int width = list_row_width(s, k, itemWidth, former ? former->width : 0);
        unsigned int rowPos = tslPos(lw->marginX, lw->marginY + k * h);
        unsigned int rowSize = tslSize(width, h);
        tslClearRectWindowRRg(display, w, clipPos, clipSize, rowPos, rowSize, 1);
        int shown = draw_item(display, w, lw, buffer, clip, k);
        painted = shown > painted ? shown : painted;
        tslRedrawRectWindowRRg(display, w, clipPos, clipSize, rowPos, rowSize);
    }
    lw->paintedWidth = painted;
    int top = lw->marginY + (lastRow + 1) * h;
    int bottom = clip.y + clip.height;
    if (top < bottom) {
        unsigned int stripPos = tslPos(lw->marginX, top);
        unsigned int stripSize = tslSize(clip.width, bottom - top);
        tslClearRectWindowRRg(display, w, clipPos, clipSize, stripPos, stripSize, 1);
        tslRedrawRectWindowRRg(display, w, clipPos, clipSize, stripPos, stripSize);
    }
    // A mark on the partly visible last row reaches over the frame's bottom
    // edge in the buffer; the screen was spared by the clip.
    draw_frame(display, w, buffer);
}

static int Draw(Display* display, TslWindow* w, int partial)
{
    ListWndData* lw = static_cast<ListWndData*>(w->option);
    int lastRow = list_last_row(lw->pos, lw->count, list_whole_rows(w->rect.height, lw->rowHeight));
    if (partial && lastRow >= 0)
        paint_rows(display, w, lw, lastRow);
    else
        paint_all(display, w, lw, lastRow);
    lw->drawnPos = lw->pos;
    lw->drawnHover = lw->hover;
    return 1;
}

static void set_hover(Display* display, TslWindow* w, ListWndData* lw, int hover)
{
    // Nothing to repaint while the mark already shows where it belongs.
    if (hover == lw->hover && hover == lw->drawnHover)
        return;
    lw->hover = hover;
    Draw(display, w, 1);
}

// The wheel scrolls; it never selects (two quick notches would make a double click).
static int OnWheel(Display* display, TslWindow* w, ListWndData* lw, int down)
{
    int rows = list_whole_rows(w->rect.height, lw->rowHeight);
    int pos = list_wheel_pos(lw->pos, lw->count, rows, down ? WHEEL_ROWS : -WHEEL_ROWS);
    if (pos == lw->pos)
        return w->status;
    lw->pos = pos;
    Draw(display, w, 1);
    return tslCallEventCallback(w, TSLN_SCROLL, pos, 0) == TSLR_CLOSE ? TSLR_CLOSE : TSLN_SCROLL;
}

static int OnButtonPress(Display* display, TslWindow* w, ListWndData* lw, XButtonEvent* e)
{
    if (e->button == Button4 || e->button == Button5)
        return OnWheel(display, w, lw, e->button == Button5);
    int i = list_item_at(lw->pos, e->y, lw->rowHeight, lw->count);
    if (i < 0) {
        lw->clickTime = e->time;
        return w->status;
    }
    list_modifiers(e->state, &lw->shift, &lw->ctrl);
    int code = TSLN_SELECT;
    if (lw->current == i &&
        list_is_double_click(e->time, lw->clickTime, g_tessel.doubleClickTime)) {
        code = TSLN_DOUBLE_CLICK;
        lw->clickTime = 0;
    } else {
        lw->clickTime = e->time;
    }
    lw->hover = lw->current = i;
    lw->selCount = list_select(item_array(lw), lw->count, i, code, lw->shift, lw->ctrl, lw->single,
                               lw->selCount);
    Draw(display, w, 1);
    return tslCallEventCallback(w, code, i, 0) == TSLR_CLOSE ? TSLR_CLOSE : code;
}

// Repaints the rows after an insertion or deletion at index.
static void show_change(TslWindow* w, ListWndData* lw, int index)
{
    lw->changedItem = index;
    tslSendEvent(w, TSLM_UPDATE);
    lw->changedItem = -1;
}

// The object array frees itself and its items when it cannot be resized.
static void lose_items(TslWindow* w, ListWndData* lw)
{
    lw->items = nullptr;
    lw->count = lw->pos = lw->selCount = 0;
    lw->current = lw->hover = -1;
    lw->maxWidth = lw->widestCount = lw->iconCount = lw->hasIcons = 0;
    tslSendEvent(w, TSLM_PAINT);
}

int tslAddItem_ListWnd(Display*, TslWindow* w, const char* name, TslImage* icon, int index,
                       int redraw)
{
    ListWndData* lw = data_of(w);
    if (!lw)
        return 0;
    if (!lw->items && !(lw->items = tslNew_ObjArray()))
        return 0;
    ListItem* item = list_item_new(name, icon);
    if (!item)
        return 0;
    item->width = tslTextWidth(item->name);
    int slot = list_insert_slot(lw->count, index);
    lw->items = tslAddItemEx_ObjArray(lw->items, lw->count, item, index);
    if (!lw->items) {
        lose_items(w, lw);
        return 0;
    }
    lw->count++;
    list_widths_add(item->width, &lw->maxWidth, &lw->widestCount);
    if (icon) {
        lw->iconCount++;
        lw->hasIcons = 1;
    }
    ListIndexes ix = {lw->current, lw->hover, lw->pos};
    list_after_insert(&ix, slot);
    lw->current = ix.current;
    lw->hover = ix.hover;
    if (redraw == 1)
        show_change(w, lw, slot);
    return 1;
}

int tslDeleteItem_ListWnd(TslWindow* w, int index, int redraw)
{
    ListWndData* lw = data_of(w);
    if (!lw || !lw->items)
        return 0;
    if (lw->count < 1 || index > lw->count - 1)
        return 1;
    if (index < 0)
        index = lw->count - 1;
    ListItem* item = item_array(lw)[index];
    int width = item->width;
    lw->iconCount -= item->icon != nullptr;
    lw->selCount -= item->selected != 0;
    lw->items = tslDelItem_ObjArray(lw->items, index);
    if (!lw->items) {
        lose_items(w, lw);
        return 1;
    }
    lw->count--;
    lw->hasIcons = lw->iconCount > 0;
    int maxWidth = lw->maxWidth, widestCount = lw->widestCount;
    list_widths_after_delete(item_array(lw), lw->count, width, &maxWidth, &widestCount);
    ListIndexes ix = {lw->current, lw->hover, lw->pos};
    list_after_delete(&ix, index, lw->count, lw->rowHeight, w->rect.height);
    lw->current = ix.current;
    lw->hover = ix.hover;
    lw->pos = ix.pos;
    // The repaint still clears as wide as the widest text that was shown.
    if (redraw == 1)
        show_change(w, lw, index);
    lw->maxWidth = maxWidth;
    lw->widestCount = widestCount;
    return 1;
}

int tslChangeItem_ListWnd(Display*, TslWindow* w, const char* name, TslImage* icon, int index)
{
    ListWndData* lw = data_of(w);
    if (!lw || !lw->items)
        return 0;
    ListItem* old = item_at(lw, index);
    if (!old)
        return 1;
    lw->iconCount += (icon != nullptr) - (old->icon != nullptr);
    lw->hasIcons = lw->iconCount > 0;
    ListItem* item = list_item_new(name, icon);
    if (item) {
        item->width = tslTextWidth(item->name);
        item->selected = old->selected;
        if (old->width == lw->maxWidth)
            lw->widestCount--;
        list_widths_add(item->width, &lw->maxWidth, &lw->widestCount);
        item_array(lw)[index] = item;
        free(old);
    } else {
        // Without memory for the new text the old one stays.
        old->icon = icon;
    }
    tslSendEvent(w, TSLM_PAINT);
    return 1;
}

int tslRedraw_ListWnd(TslWindow* w)
{
    if (!data_of(w))
        return 0;
    tslSendEvent(w, TSLM_PAINT);
    return 1;
}

int tslGetPos_ListWnd(TslWindow* w)
{
    ListWndData* lw = data_of(w);
    return lw ? lw->pos : 0;
}

int tslSetPos_ListWnd(TslWindow* w, int pos)
{
    ListWndData* lw = data_of(w);
    if (!lw)
        return 0;
    if (pos == lw->pos || pos < 0 || pos >= lw->count)
        return 1;
    lw->pos = pos;
    tslSendEvent(w, TSLM_UPDATE);
    return 1;
}

int tslIsSelect_ListWnd(TslWindow* w, int index)
{
    ListItem* item = item_of(w, index);
    return item ? item->selected : 0;
}

int tslGetSelect_ListWnd(TslWindow* w)
{
    ListWndData* lw = data_of(w);
    return lw ? lw->current : -1;
}

int tslSetSelect_ListWnd(TslWindow* w, int index, int on)
{
    ListWndData* lw = data_of(w);
    ListItem* item = item_of(w, index);
    if (!item)
        return 0;
    if (item->selected == (on != 0))
        return 1;
    lw->selCount = list_set_select(item_array(lw), lw->count, index, on, lw->single);
    tslSendEvent(w, TSLM_UPDATE);
    return 1;
}

int tslGetSelectCount_ListWnd(TslWindow* w)
{
    ListWndData* lw = data_of(w);
    return lw ? list_count_selected(item_array(lw), lw->count) : 0;
}

char* tslGetName_ListWnd(TslWindow* w, int index)
{
    ListItem* item = item_of(w, index);
    return item ? item->name : nullptr;
}

int tslGetSize_ListWnd(TslWindow* w)
{
    ListWndData* lw = data_of(w);
    return lw ? lw->count : 0;
}

int tslGetRowHeight_ListWnd(TslWindow* w)
{
    ListWndData* lw = data_of(w);
    return lw ? lw->rowHeight : 0;
}

int tslSetSingle_ListWnd(TslWindow* w, int on)
{
    ListWndData* lw = data_of(w);
    if (!lw)
        return 0;
    if (lw->single == (on != 0))
        return 1;
    lw->single = on != 0;
    for (int i = 0; i < lw->count; i++)
        item_array(lw)[i]->selected = 0;
    lw->selCount = 0;
    tslSendEvent(w, TSLM_PAINT);
    return 1;
}

int tslSetEventCallback_ListWnd(TslWindow* w, TslEventCallback callback)
{
    if (!data_of(w))
        return 0;
    return tslSetEventCallback(w, callback);
}
