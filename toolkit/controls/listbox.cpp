// The list box: a list window with a vertical scroll bar along its right
// edge.  The two children talk through their event callbacks, so the bar's
// position is always the list's top item; the box forwards the item
// functions to the list and keeps the bar's length in step with the items.
#include <X11/Xlib.h>

#include "tessel.h"

namespace {

struct ListBoxData {
    int rowHeight;
};

}  // namespace

static const char LIST_NAME[] = "_tslList_ListBox";
static const char SCROLL_NAME[] = "_tslScroll_ListBox";
static const int MIN_SIDE = 16;

static int OnVScroll(TslWindow* bar, int code, int value, int arg2);
static int OnListWnd(TslWindow* list, int code, int value, int arg2);

// The list takes what the bar leaves, but never less than a pixel.
static int list_width(int boxWidth)
{
    int width = boxWidth - tslGetHeight_ScrollBar();
    return width > 0 ? width : 1;
}

TslWindow* tslCreateWindow_ListBox(Display* display, TslWindow* parent, TslRect rect,
                                   const char* name)
{
    TslWindow* box = tslCreateWindow(display, parent, tslRectPos(rect), tslRectSize(rect), 0, name,
                                     WndProc_ListBox);
    if (!box)
        return nullptr;
    tslSetWindowKind(box, TSLK_LISTBOX);
    ListBoxData* lb = static_cast<ListBoxData*>(tslAlloc(sizeof(ListBoxData)));
    if (!lb) {
        tslDestroyWindow(display, box);
        return nullptr;
    }
    tslSetOption(box, lb);
    tslSetRedrawBuffer(box, 1);
    int width = list_width(rect.width);
    TslWindow* list =
        tslCreateWindow_ListWnd(display, box, tslSetRect(0, 0, width, rect.height), LIST_NAME);
    if (!list) {
        tslDestroyWindow(display, box);
        return nullptr;
    }
    tslSetEventCallback_ListWnd(list, OnListWnd);
    lb->rowHeight = tslGetRowHeight_ListWnd(list);
    TslRect barRect = tslSetRect(width, 0, tslGetHeight_ScrollBar(), rect.height);
    TslWindow* bar = tslCreateWindow_VScrollBar(display, box, barRect, SCROLL_NAME, 0, 0,
                                                lb->rowHeight, nullptr);
    if (!bar) {
        tslDestroyWindow(display, box);
        return nullptr;
    }
    tslSetEventCallback_ScrollBar(bar, OnVScroll);
    return box;
}

static ListBoxData* data_of(TslWindow* box)
{
    if (!box || box->kind != TSLK_LISTBOX)
        return nullptr;
    return static_cast<ListBoxData*>(box->option);
}

static TslWindow* list_of(TslWindow* box)
{
    return data_of(box) ? tslGetChildWindowFromIndex(box, 0) : nullptr;
}

static TslWindow* bar_of(TslWindow* box)
{
    return data_of(box) ? tslGetChildWindowFromIndex(box, 1) : nullptr;
}

int WndProc_ListBox(Display* display, TslWindow* box, XEvent* event)
{
    // The children cover the box: nothing to paint, only to lay out.
    if (event->type != ConfigureNotify || event->xconfigure.window != box->xwin)
        return box->status;
    int w = event->xconfigure.width, h = event->xconfigure.height;
    TslWindow* list = list_of(box);
    TslWindow* bar = bar_of(box);
    if (w < MIN_SIDE || h < MIN_SIDE || !list || !bar)
        return box->status;
    int width = list_width(w);
    XMoveResizeWindow(display, list->xwin, 0, 0, (unsigned)width, (unsigned)h);
    XMoveResizeWindow(display, bar->xwin, width, 0, (unsigned)tslGetHeight_ScrollBar(),
                      (unsigned)h);
    return box->status;
}

static int OnVScroll(TslWindow* bar, int, int value, int)
{
    tslSetPos_ListWnd(tslGetChildWindowFromIndex(tslGetParentWindow(bar), 0), value);
    return TSLR_OK;
}

// Clicks go on to the box's owner as if the box had them; a wheel step
// moves the bar, which moves the list in turn.
static int OnListWnd(TslWindow* list, int code, int value, int)
{
    TslWindow* box = tslGetParentWindow(list);
    if (code == TSLN_SCROLL) {
        tslSetPos_ScrollBar(bar_of(box), value);
        return TSLR_OK;
    }
    return tslCallEventCallback(box, code, value, 0) == TSLR_CLOSE ? TSLR_CLOSE : TSLR_OK;
}

// The bar's length follows the items.  The list may have pulled its top row
// down further than the bar's limit asks (it fills the partly visible last
// row too), so the bar then takes the list's position.
static void fit_bar(TslWindow* box)
{
    TslWindow* list = list_of(box);
    TslWindow* bar = bar_of(box);
    tslSetMax_ScrollBar(bar, tslGetSize_ListWnd(list) * data_of(box)->rowHeight);
    tslSetPos_ScrollBar(bar, tslGetPos_ListWnd(list));
}

int tslGetPos_ListBox(TslWindow* box)
{
    return tslGetPos_ListWnd(list_of(box));
}

int tslSetPos_ListBox(TslWindow* box, int pos)
{
    int result = tslSetPos_ListWnd(list_of(box), pos);
    if (result > 0)
        tslSetPos_ScrollBar(bar_of(box), pos);
    return result;
}

int tslAddItem_ListBox(Display* display, TslWindow* box, const char* name, TslImage* icon,
                       int index, int redraw)
{
    int result = tslAddItem_ListWnd(display, list_of(box), name, icon, index, redraw);
    if (result && redraw == 1)
        fit_bar(box);
    return result;
}

int tslDeleteItem_ListBox(TslWindow* box, int index, int redraw)
{
    int result = tslDeleteItem_ListWnd(list_of(box), index, redraw);
    if (result && redraw == 1)
        fit_bar(box);
    return result;
}

int tslChangeItem_ListBox(Display* display, TslWindow* box, const char* name, TslImage* icon,
                          int index)
{
    return tslChangeItem_ListWnd(display, list_of(box), name, icon, index);
}

int tslRedraw_ListBox(TslWindow* box)
{
    return tslRedraw_ListWnd(list_of(box));
}

int tslIsSelect_ListBox(TslWindow* box, int index)
{
    return tslIsSelect_ListWnd(list_of(box), index);
}

int tslGetSelect_ListBox(TslWindow* box)
{
    TslWindow* list = list_of(box);
    return list ? tslGetSelect_ListWnd(list) : 0;
}

int tslSetSelect_ListBox(TslWindow* box, int index, int on)
{
    return tslSetSelect_ListWnd(list_of(box), index, on);
}

int tslGetSelectCount_ListBox(TslWindow* box)
{
    return tslGetSelectCount_ListWnd(list_of(box));
}

char* tslGetName_ListBox(TslWindow* box, int index)
{
    return tslGetName_ListWnd(list_of(box), index);
}

int tslGetSize_ListBox(TslWindow* box)
{
    return tslGetSize_ListWnd(list_of(box));
}

int tslSetSingle_ListBox(TslWindow* box, int on)
{
    return tslSetSingle_ListWnd(list_of(box), on);
}

int tslSetEventCallback_ListBox(TslWindow* box, TslEventCallback callback)
{
    if (!data_of(box))
        return 0;
    return tslSetEventCallback(box, callback);
}

TslWindow* tslGetAttachListWnd_ListBox(TslWindow* box)
{
    return list_of(box);
}
