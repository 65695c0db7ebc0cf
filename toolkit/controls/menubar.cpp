// The menu bar: two titles, "Menu" and "?", across the top of a parent,
// each opening a popup menu below it, and a status line to their right.
// It runs in raw mode: it hands its status window's events on itself and
// drops its title highlight once the pointer has left the titles.
#include <cstring>

#include "controls/control_layout.h"
#include "controls/menu_private.h"
#include "tessel.h"

static const char* kTitles[2] = {"Menu", "?"};
static const char* kStatusName = "_tslStatus_MenuBar";

struct MenuBarData {
    int hot;
    TslWindow* menus[2];
    TslWindow* statusWnd;
    TslRect titleRects[2];
};

static MenuBarData* bar_data(TslWindow* w)
{
    return w && w->kind == TSLK_MENUBAR ? (MenuBarData*)w->option : nullptr;
}

static MenuBarLayout layout_for(int parentWidth)
{
    return menubar_layout(tslGetCharHeight(0), tslTextWidth(kTitles[0]), tslTextWidth(kTitles[1]),
                          parentWidth);
}

static TslRect to_rect(const Box& b)
{
    return tslSetRect(b.x, b.y, b.width, b.height);
}

static int Draw(Display* display, TslWindow* bar, int hot, int force);
static int CheckContextMenu(TslWindow* menu, int x, int y);
static TslWindow* GetMenuBar(TslWindow* parent);

TslWindow* tslCreateWindow_MenuBar(Display* display, TslWindow* parent, const char* name,
                                   TslWindow* menu0, TslWindow* menu1, const char* statusText)
{
    if (!parent || GetMenuBar(parent))
        return nullptr;
    MenuBarLayout lay = layout_for(parent->rect.width);
    TslWindow* bar = tslCreateWindow(display, parent, tslPos(0, 0),
                                     tslSize(parent->rect.width, lay.height), 1, name,
                                     WndProc_MenuBar);
    if (!bar)
        return nullptr;
    bar->shown = 1;
    bar->kind = TSLK_MENUBAR;
    MenuBarData* md = (MenuBarData*)tslAlloc(sizeof(MenuBarData));
    if (!md) {
        tslDestroyWindow(display, bar);
        return nullptr;
    }
    *md = MenuBarData{-1, {menu0, menu1}, nullptr, {to_rect(lay.titles[0]), to_rect(lay.titles[1])}};
    bar->option = md;
    if (!statusText)
        statusText = "";
    md->statusWnd = tslCreateWindow_TextWnd(display, bar, to_rect(lay.status), kStatusName,
                                            statusText, (int)strlen(statusText));
    if (!md->statusWnd) {
        tslDestroyWindow(display, bar);
        return nullptr;
    }
    tslSetBackColor(display, md->statusWnd, g_tessel.backPixel);
    tslSetCustom(bar, 1);
    tslSetRedrawBuffer(bar, 1);
    tslSetUpdateWindowCallback(bar, tslUpdateWindow_MenuBar);
    return bar;
}

// Opens a title's menu under it; a second press on the title closes it, and
// a menu open elsewhere as a context menu moves under the title.
static void open_menu(Display* display, TslWindow* menu, int x, int y)
{
    if (!menu)
        return;
    if (!menu->shown) {
        tslAttach_Menu(display, menu, x, y);
    } else if (CheckContextMenu(menu, x, y)) {
        tslDetach_Menu(display, menu);
        tslAttach_Menu(display, menu, x, y);
    } else {
        tslDetach_Menu(display, menu);
    }
}

static int title_at(MenuBarData* md, int x, int y)
{
    for (int i = 0; i < 2; i++)
        if (tslPointInRect(x, y, md->titleRects[i]))
            return i;
    return -1;
}

static int OnPress(Display* display, TslWindow* bar, const XButtonEvent& ev)
{
    MenuBarData* md = bar_data(bar);
    int hot = title_at(md, ev.x, ev.y);
    if (hot < 0) {
        tslDetach_Menu(display, md->menus[0]);
        tslDetach_Menu(display, md->menus[1]);
        return hot;
    }
    tslDetach_Menu(display, md->menus[1 - hot]);
    open_menu(display, md->menus[hot], md->titleRects[hot].x, bar->rect.height);
    return hot;
}

// The highlight goes once the pointer is off the titles, whatever window
// the event was for.
static void follow_pointer(Display* display, TslWindow* bar)
{
    MenuBarData* md = bar_data(bar);
    if (md->hot == -1)
        return;
    Window root, child;
    int rx, ry, x, y;
    unsigned int mask;
    if (!XQueryPointer(display, bar->xwin, &root, &child, &rx, &ry, &x, &y, &mask))
        return;
    TslRect titles = md->titleRects[0];
    titles.width = (unsigned short)(titles.width + md->titleRects[1].width);
    if (!tslPointInRect(x, y, titles)) {
        Draw(display, bar, -1, 1);
        md->hot = -1;
    }
}

int WndProc_MenuBar(Display* display, TslWindow* bar, XEvent* e)
{
    MenuBarData* md = bar_data(bar);
    if (!md)
        return bar ? bar->status : 0;
    if (e->xany.window != bar->xwin) {
        TslWindow* status = md->statusWnd;
        if (status && e->xany.window == status->xwin) {
            status->status = bar->status;
            tslCallWndProc(display, status, e, 0);
        }
        follow_pointer(display, bar);
        return TSLR_OK;
    }
    int status = tslWndProc_Default(display, bar, e);
    int hot = md->hot;
    switch (e->type) {
    case MapNotify:
    case ConfigureNotify:
    case TSLM_PAINT:
        Draw(display, bar, hot, 1);
        break;
    case MotionNotify:
        hot = title_at(md, e->xmotion.x, e->xmotion.y);
        Draw(display, bar, hot, 0);
        break;
    case LeaveNotify:
        hot = -1;
        Draw(display, bar, hot, 0);
        break;
    case ButtonPress:
        hot = OnPress(display, bar, e->xbutton);
        Draw(display, bar, hot, 0);
        break;
    default:
        break;
    }
    md->hot = hot;
    return status;
}

static int Draw(Display* display, TslWindow* bar, int hot, int force)
{
    MenuBarData* md = bar_data(bar);
    if (!md || (!force && hot == md->hot))
        return 1;
    tslClearWindow(display, bar, 1);
    Drawable d = tslGetDraw(bar);
    if (hot == 0) {
        TslRect r = md->titleRects[0];
        tslDraw3DRectangle(display, d, tslSetRect(r.x + 3, r.y + 3, r.width - 3, r.height - 5), 1);
    } else if (hot == 1) {
        TslRect r = md->titleRects[1];
        tslDraw3DRectangle(display, d, tslSetRect(r.x, r.y + 3, r.width - 1, r.height - 5), 1);
    }
    int textY = layout_for(bar->rect.width).textY;
    for (int i = 0; i < 2; i++)
        tslDrawText(display, d, g_tessel.font, g_tessel.fontKanji, bar->foreFontPixel,
                    (unsigned long)-1, md->titleRects[i].x + 10, textY, kTitles[i]);
    tslDraw3DRectangle(display, d, tslSetRect(0, 0, bar->rect.width, bar->rect.height), 1);
    tslRedrawWindow(display, bar);
    return 1;
}

TslWindow* tslGetMenuItem_MenuBar(TslWindow* bar, int index)
{
    MenuBarData* md = bar_data(bar);
    return md ? md->menus[index ? 1 : 0] : nullptr;
}

int tslSetMenuItem_MenuBar(TslWindow* bar, TslWindow* menu, int index)
{
    MenuBarData* md = bar_data(bar);
    if (!md)
        return 0;
    md->menus[index ? 1 : 0] = menu;
    return 1;
}

int tslSetStatus_MenuBar(TslWindow* bar, const char* text)
{
    MenuBarData* md = bar_data(bar);
    if (!md || !text)
        return 0;
    const char* shown = tslGetText_TextWnd(md->statusWnd);
    if (shown && strcmp(shown, text) == 0)
        return 1;
    return tslSetText_TextWnd(md->statusWnd, text, (int)strlen(text)) >= 0 ? 1 : 0;
}

int tslGetHeight_MenuBar(void)
{
    return layout_for(0).height;
}

int tslUpdateWindow_MenuBar(TslWindow* bar)
{
    MenuBarData* md = bar_data(bar);
    if (!md || !bar->parent)
        return 0;
    Display* display = g_tessel.display;
    int width = bar->parent->rect.width;
    XMoveResizeWindow(display, bar->xwin, bar->rect.x, bar->rect.y, (unsigned)width,
                      bar->rect.height);
    TslWindow* status = md->statusWnd;
    XResizeWindow(display, status->xwin,
                  (unsigned)menubar_status_width(layout_for(width), width), status->rect.height);
    return 1;
}

// 1 when the menu is some window's context menu and stands open elsewhere
// than at (x, y).
static int CheckContextMenu(TslWindow* menu, int x, int y)
{
    if (!menu || !menu->shown)
        return 0;
    TslRect at = menu_requested_rect(menu);
    if (at.x == x || at.y == y)
        return 0;
    int n = tslGetTotalWindows();
    for (int i = 0; i < n; i++) {
        TslWindow* w = tslGetWindowFromIndex(i);
        if (w && w->contextMenu == menu)
            return 1;
    }
    return 0;
}

// The menu bar already standing on parent, if any.
static TslWindow* GetMenuBar(TslWindow* parent)
{
    int n = tslGetTotalWindows();
    for (int i = 0; i < n; i++) {
        TslWindow* w = tslGetWindowFromIndex(i);
        if (w && w->kind == TSLK_MENUBAR && w->parent == parent)
            return w;
    }
    return nullptr;
}
