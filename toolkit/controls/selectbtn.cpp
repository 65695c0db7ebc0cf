// The select button: a framed group with a caption and mutually exclusive
// toggle buttons in a row right of the caption or a column below it.  It
// runs in raw mode and hands its buttons their events itself; the selected
// button cannot be clicked up.
#include "controls/button_row.h"
#include "controls/control_layout.h"

// An icon adds its width to a button of the group.
enum { GROUP_ICON_COLUMN = 20 };

struct SelectButtonData {
    int selectedIndex;
    int horizontal;
};

static SelectButtonData* group_data(TslWindow* w)
{
    return w && w->kind == TSLK_SELECTBTN ? (SelectButtonData*)w->option : nullptr;
}

static GroupLayout layout_of(TslWindow* group)
{
    return group_layout(group_data(group)->horizontal == 1, tslGetCharHeight(0),
                        tslTextWidth(group->caption), group->rect.height);
}

static int Draw(Display* display, TslWindow* group);

TslWindow* tslCreateWindow_SelectButton(Display* display, TslWindow* parent, TslRect rect,
                                        const char* caption, int horizontal,
                                        TslEventCallback callback)
{
    TslWindow* group = tslCreateWindow(display, parent, tslRectPos(rect), tslRectSize(rect), 0,
                                       caption, WndProc_SelectButton);
    if (!group)
        return nullptr;
    group->kind = TSLK_SELECTBTN;
    SelectButtonData* sd = (SelectButtonData*)tslAlloc(sizeof(SelectButtonData));
    if (!sd) {
        tslDestroyWindow(display, group);
        return nullptr;
    }
    *sd = SelectButtonData{-1, horizontal};
    group->option = sd;
    tslSetCustom(group, 1);
    tslSetRedrawBuffer(group, 1);
    tslSetEventCallback(group, callback);
    return group;
}

// A click that put an up button down selects it and raises the others.
static int OnSelect(TslWindow* group, int index)
{
    group_data(group)->selectedIndex = index;
    for (int i = 0; group->children && group->children[i]; i++)
        if (i != index)
            tslSetButton_Button(group->children[i], 0);
    int result = tslCallEventCallback(group, TSLN_SELECT, index, 0);
    return result == TSLR_CLOSE ? TSLR_CLOSE : TSLN_SELECT;
}

int WndProc_SelectButton(Display* display, TslWindow* group, XEvent* e)
{
    if (!group_data(group))
        return group ? group->status : 0;
    int k = row_index_of(group, e->xany.window);
    if (k >= 0) {
        TslWindow* button = group->children[k];
        bool click = e->type == ButtonPress || e->type == ButtonRelease;
        if (click && tslGetButton_Button(button))
            return group->status;
        int result = row_pass(display, group, button, e);
        return result == TSLN_BUTTON_DOWN ? OnSelect(group, k) : result;
    }
    if (e->xany.window != group->xwin)
        return group->status;
    int status = tslWndProc_Default(display, group, e);
    switch (e->type) {
    case MapNotify:
    case ConfigureNotify:
    case TSLM_PAINT:
        Draw(display, group);
        break;
    default:
        break;
    }
    return status;
}

static int Draw(Display* display, TslWindow* group)
{
    tslClearWindow(display, group, 1);
    Drawable d = tslGetDraw(group);
    GroupLayout g = layout_of(group);
    if (group->caption)
        tslDrawText(display, d, g_tessel.font, g_tessel.fontKanji, group->foreFontPixel,
                    (unsigned long)-1, g.captionX, g.captionY, group->caption);
    tslDraw3DRectangle(display, d, tslSetRect(0, 0, group->rect.width - 1, group->rect.height - 1), 0);
    tslRedrawWindow(display, group);
    return 1;
}

int tslAddButton_SelectButton(Display* display, TslWindow* group, const char* label,
                              TslImage* icon, int index)
{
    SelectButtonData* sd = group_data(group);
    if (!sd)
        return 0;
    GroupLayout g = layout_of(group);
    RowAxis axis = sd->horizontal == 1 ? RowAxis{true, g.firstX, g.firstY, g.buttonHeight}
                                       : RowAxis{false, g.firstY, g.firstX, g.buttonHeight};
    int width = row_button_width(tslTextWidth(label), icon != nullptr, GROUP_ICON_COLUMN);
    TslWindow* button = row_add(display, group, axis, label, icon, nullptr, width, index);
    if (!button)
        return 0;
    tslSetToggle_Button(button, 1);
    return 1;
}

int tslDeleteButton_SelectButton(TslWindow* group, int index)
{
    SelectButtonData* sd = group_data(group);
    if (!sd)
        return 0;
    row_delete(group, sd->horizontal == 1, index);
    return 1;
}

int tslChangeButton_SelectButton(Display* display, TslWindow* group, const char* label,
                                 TslImage* icon, int index)
{
    (void)display;
    SelectButtonData* sd = group_data(group);
    if (!sd)
        return 0;
    row_change(group, sd->horizontal == 1, label, icon, index);
    return 1;
}

int tslSelect_SelectButton(TslWindow* group, int index)
{
    SelectButtonData* sd = group_data(group);
    int k = sd ? row_pick(index, tslGetTotalChildWindows(group)) : -1;
    if (k < 0)
        return 0;
    sd->selectedIndex = k;
    tslSetButton_Button(group->children[k], 1);
    return 1;
}

int tslGetSelectIndex_SelectButton(TslWindow* group)
{
    SelectButtonData* sd = group_data(group);
    return sd ? sd->selectedIndex : -1;
}

TslWindow* tslGetAttachButtonWnd_SelectButton(TslWindow* group, int index)
{
    return group_data(group) ? row_button(group, index) : nullptr;
}

int tslSetEventCallback_SelectButton(TslWindow* group, TslEventCallback callback)
{
    if (!group_data(group))
        return 0;
    return tslSetEventCallback(group, callback);
}
