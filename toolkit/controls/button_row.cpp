// Rows of push buttons kept 5 pixels apart along their axis, shared by the
// tool bar and the select button.
#include <cstring>

#include "controls/button_row.h"
#include "controls/control_layout.h"

static int extent(const TslWindow* button, bool horizontal)
{
    return horizontal ? button->rect.width : button->rect.height;
}

static int start_of(const TslWindow* button, bool horizontal)
{
    return horizontal ? button->rect.x : button->rect.y;
}

// Moves and sizes a button and records what was asked at once: a change
// made before the configure notices arrive must build on it.
static void place(TslWindow* button, int x, int y, int width, int height)
{
    XMoveResizeWindow(g_tessel.display, button->xwin, x, y, (unsigned)width, (unsigned)height);
    button->rect = tslSetRect(x, y, width, height);
}

static void move_along(TslWindow* button, bool horizontal, int along)
{
    TslRect r = button->rect;
    place(button, horizontal ? along : r.x, horizontal ? r.y : along, r.width, r.height);
}

TslWindow* row_button(TslWindow* owner, int index)
{
    int k = row_pick(index, tslGetTotalChildWindows(owner));
    return k < 0 ? nullptr : owner->children[k];
}

int row_index_of(TslWindow* owner, Window xwin)
{
    for (int i = 0; owner && owner->children && owner->children[i]; i++)
        if (owner->children[i]->xwin == xwin)
            return i;
    return -1;
}

int row_pass(Display* display, TslWindow* owner, TslWindow* button, XEvent* event)
{
    button->status = owner->status;
    return tslCallWndProc(display, button, event, 0);
}

TslWindow* row_add(Display* display, TslWindow* owner, const RowAxis& axis, const char* caption,
                   TslImage* icon, TslEventCallback callback, int width, int index)
{
    int n = tslGetTotalChildWindows(owner);
    int k = row_slot(index, n);
    int along = axis.origin;
    for (int j = 0; j < k; j++)
        along += extent(owner->children[j], axis.horizontal) + ROW_GAP;
    TslRect r = axis.horizontal ? tslSetRect(along, axis.across, width, axis.height)
                                : tslSetRect(axis.across, along, width, axis.height);
    TslWindow* button = tslCreateWindow_Button(display, owner, r, caption ? caption : "", icon, callback);
    if (!button)
        return nullptr;
    if (tslGetTotalChildWindows(owner) != n + 1 || owner->children[n] != button) {
        tslDestroyWindow(display, button);
        return nullptr;
    }
    along += extent(button, axis.horizontal) + ROW_GAP;
    for (int j = k; j < n; j++) {
        move_along(owner->children[j], axis.horizontal, along);
        along += extent(owner->children[j], axis.horizontal) + ROW_GAP;
    }
    // The new button was appended to the children; its place is k.
    for (int j = n; j > k; j--)
        owner->children[j] = owner->children[j - 1];
    owner->children[k] = button;
    return button;
}

void row_delete(TslWindow* owner, bool horizontal, int index)
{
    int n = tslGetTotalChildWindows(owner);
    int k = row_pick(index < 0 ? -1 : index, n);
    if (k < 0)
        return;
    TslWindow* gone = owner->children[k];
    int back = extent(gone, horizontal) + ROW_GAP;
    for (int j = k + 1; j < n; j++) {
        TslWindow* button = owner->children[j];
        move_along(button, horizontal, start_of(button, horizontal) - back);
    }
    tslDestroyWindow(g_tessel.display, gone);
}

void row_change(TslWindow* owner, bool horizontal, const char* caption, TslImage* icon, int index)
{
    int n = tslGetTotalChildWindows(owner);
    int k = row_pick(index, n);
    if (k < 0)
        return;
    TslWindow* button = owner->children[k];
    if (!caption)
        caption = "";
    const char* old = tslGetCaption_Button(button);
    bool hadIcon = tslGetIcon_Button(button) != nullptr;
    tslSetIcon_Button(button, icon);
    if (old && strcmp(old, caption) == 0 && hadIcon == (icon != nullptr))
        return;
    tslSetCaption_Button(button, caption);
    TslRect r = button->rect;
    int width = row_changed_width(tslTextWidth(caption), icon != nullptr);
    place(button, r.x, r.y, width, r.height);
    if (!horizontal)
        return;
    for (int j = k + 1; j < n; j++) {
        TslWindow* later = owner->children[j];
        move_along(later, true, later->rect.x + width - r.width);
    }
}
