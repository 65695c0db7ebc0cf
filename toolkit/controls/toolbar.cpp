// The tool bar: a row of push buttons across the full width of its parent,
// below the parent's menu bar and earlier tool bars.  It runs in raw mode
// and hands its buttons their events itself; it paints nothing of its own,
// its background is all it shows.
#include "controls/button_row.h"
#include "controls/control_layout.h"

// An icon adds its width and a gap to a button on the bar.
enum { TOOL_ICON_COLUMN = 21, TOOL_BUTTON_TOP = 4 };

static bool is_toolbar(const TslWindow* w)
{
    return w && w->kind == TSLK_TOOLBAR;
}

static int GetPos(TslWindow* self, TslWindow* parent);

TslWindow* tslCreateWindow_ToolBar(Display* display, TslWindow* parent, const char* name)
{
    if (!parent)
        return nullptr;
    // Not registered yet, the new bar counts every shown bar of the parent.
    TslWindow* toolbar =
        tslCreateWindow(display, parent, tslPos(0, GetPos(nullptr, parent)),
                        tslSize(parent->rect.width, tslGetHeight_ToolBar()), 1, name, WndProc_ToolBar);
    if (!toolbar)
        return nullptr;
    toolbar->shown = 1;
    toolbar->kind = TSLK_TOOLBAR;
    tslSetCustom(toolbar, 1);
    tslSetRedrawBuffer(toolbar, 1);
    tslSetUpdateWindowCallback(toolbar, tslUpdateWindow_ToolBar);
    return toolbar;
}

int WndProc_ToolBar(Display* display, TslWindow* toolbar, XEvent* e)
{
    if (!is_toolbar(toolbar))
        return toolbar ? toolbar->status : 0;
    int k = row_index_of(toolbar, e->xany.window);
    if (k >= 0)
        return row_pass(display, toolbar, toolbar->children[k], e);
    if (e->xany.window != toolbar->xwin)
        return toolbar->status;
    return tslWndProc_Default(display, toolbar, e);
}

int tslAddButton_ToolBar(Display* display, TslWindow* toolbar, const char* caption,
                         TslEventCallback callback, TslImage* icon, int index)
{
    if (!is_toolbar(toolbar))
        return 0;
    RowAxis axis{true, 0, TOOL_BUTTON_TOP, tslGetHeight_ToolBar() - 2 * TOOL_BUTTON_TOP};
    int width = row_button_width(tslTextWidth(caption), icon != nullptr, TOOL_ICON_COLUMN);
    return row_add(display, toolbar, axis, caption, icon, callback, width, index) ? 1 : 0;
}

int tslDeleteButton_ToolBar(TslWindow* toolbar, int index)
{
    if (!is_toolbar(toolbar))
        return 0;
    row_delete(toolbar, true, index);
    return 1;
}

int tslChangeButton_ToolBar(Display* display, TslWindow* toolbar, const char* caption,
                            TslEventCallback callback, TslImage* icon, int index)
{
    (void)display;
    if (!is_toolbar(toolbar))
        return 0;
    tslSetEventCallback_Button(row_button(toolbar, index), callback);
    row_change(toolbar, true, caption, icon, index);
    return 1;
}

static TslWindow* button_of(TslWindow* toolbar, int index)
{
    return is_toolbar(toolbar) ? row_button(toolbar, index) : nullptr;
}

int tslGetButton_ToolBar(TslWindow* toolbar, int index)
{
    TslWindow* button = button_of(toolbar, index);
    return button ? tslGetButton_Button(button) : 0;
}

int tslSetButton_ToolBar(TslWindow* toolbar, int index, int state)
{
    TslWindow* button = button_of(toolbar, index);
    return button ? tslSetButton_Button(button, state) : 0;
}

int tslSetToggle_ToolBar(TslWindow* toolbar, int index, int flag)
{
    if (!is_toolbar(toolbar))
        return 0;
    tslSetToggle_Button(row_button(toolbar, index), flag);
    return 1;
}

TslWindow* tslGetAttachButtonWnd_ToolBar(TslWindow* toolbar, int index)
{
    return button_of(toolbar, index);
}

int tslGetHeight_ToolBar(void)
{
    return toolbar_height(tslGetCharHeight(0));
}

int tslUpdateWindow_ToolBar(TslWindow* toolbar)
{
    if (!is_toolbar(toolbar) || !toolbar->parent)
        return 0;
    TslWindow* parent = toolbar->parent;
    XMoveResizeWindow(g_tessel.display, toolbar->xwin, toolbar->rect.x, GetPos(toolbar, parent),
                      parent->rect.width, toolbar->rect.height);
    return 1;
}

// How far down the parent the bar stands: below the parent's shown menu
// bars and the shown tool bars made before it.
static int GetPos(TslWindow* self, TslWindow* parent)
{
    int y = 0;
    bool before = true;
    int n = tslGetTotalWindows();
    for (int i = 0; i < n; i++) {
        TslWindow* w = tslGetWindowFromIndex(i);
        if (!w)
            continue;
        if (w == self)
            before = false;
        if (w->parent != parent || w->shown != 1)
            continue;
        if (w->kind == TSLK_MENUBAR)
            y += tslGetHeight_MenuBar();
        else if (w->kind == TSLK_TOOLBAR && before)
            y += tslGetHeight_ToolBar();
    }
    return y;
}
