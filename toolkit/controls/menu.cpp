// The popup menu: a hidden column of items shown at a point of its parent,
// opened from the menu bar, as a window's context menu by the secondary
// button, or beside an item as a submenu.  It runs in raw mode, so it sees
// the events of the bar or owner window that holds the pointer grab and
// follows the pointer through them.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "controls/menu_geom.h"
#include "controls/menu_private.h"
#include "controls/scroll_geom.h"
#include "core/window_private.h"

static const char* kNoMemory = "Error: Can't allocate memory.\n";
static const char* kNoLabel = "Error: can't allocate memory.\n";

// Pictures of g_tessel.images the menu shows.
enum { CHECK_IMAGE = 10, LINK_IMAGE = 11 };

// Where an event reached the menu from: its own window, the menu bar that
// opened it, or the window it is (or hangs under) the context menu of.
enum { FROM_NONE, FROM_MENU, FROM_BAR, FROM_OWNER };

// The label lives in the item's own block, so that freeing an item (also
// the object array's freeing of everything on a failed resize) frees it.
struct MenuItem {
    char* label;
    TslEventCallback callback;
    TslWindow* subMenu;
    TslImage* icon;
    int checked;
};

struct MenuData {
    int selected;
    int count;
    Time motionTime;
    ObjArray items;
    // What the menu was last asked to be: events read before the configure
    // notice of a move must be placed against the new geometry.
    TslRect requested;
    // Set while a walk of the submenus is inside this menu: cyclic links
    // must not recurse for ever.
    int visiting;
};

static MenuData* menu_data(TslWindow* w)
{
    return w && w->kind == TSLK_MENU ? (MenuData*)w->option : nullptr;
}

static MenuItem* item_at(MenuData* md, int index)
{
    return (MenuItem*)tslGetItem_ObjArray(md->items, index);
}

static int row_height(void)
{
    return menu_item_height(tslGetCharHeight(0));
}

static MenuSize requested_size(const MenuData* md)
{
    return MenuSize{md->requested.width, md->requested.height};
}

static bool any_icon(MenuData* md)
{
    for (int i = 0; i < md->count; i++)
        if (item_at(md, i)->icon)
            return true;
    return false;
}

// A new item block holding a copy of label (null counts as a separator).
static MenuItem* new_item(const char* label, TslEventCallback callback, TslImage* icon,
                          TslWindow* subMenu)
{
    if (!label)
        label = "";
    size_t len = strlen(label);
    MenuItem* item = (MenuItem*)malloc(sizeof(MenuItem) + len + 1);
    if (!item)
        return nullptr;
    item->label = (char*)(item + 1);
    memcpy(item->label, label, len + 1);
    item->callback = callback;
    item->subMenu = subMenu;
    item->icon = icon;
    item->checked = 0;
    return item;
}

static int Draw(Display* display, TslWindow* menu, int sel, int force);
static int ResizeMenu(TslWindow* menu);
static int IsRunMenu(TslWindow* menu, TslWindow* target);
static int DetachAllMenu(Display* display);
static int UnlinkMenuWindow(TslWindow* menu);
static unsigned int GetContextPoint(TslWindow* menu, TslWindow* owner, int x, int y);
static TslWindow* GetMenuBar(Window xwindow);
static TslWindow* GetAttachContextMenu(Window xwindow);
static TslWindow* GetMenuWindow(Window xwindow);
static int secondary_button(void);

TslWindow* tslCreateWindow_Menu(Display* display, TslWindow* parent, const char* name)
{
    TslWindow* menu =
        tslCreateWindowEx(display, parent, tslPos(0, 0), tslSize(1, 1), 1, name, WndProc_Menu, 0);
    if (!menu)
        return nullptr;
    menu->kind = TSLK_MENU;
    MenuData* md = (MenuData*)tslAlloc(sizeof(MenuData));
    if (!md) {
        tslDestroyWindow(display, menu);
        return nullptr;
    }
    *md = MenuData{-1, 0, 0, nullptr, TslRect{0, 0, 1, 1}, 0};
    menu->option = md;
    md->items = tslNew_ObjArray();
    if (!md->items) {
        tslDestroyWindow(display, menu);
        return nullptr;
    }
    tslSetCustom(menu, 1);
    tslSetRedrawBuffer(menu, 1);
    return menu;
}

// The point of an event in the menu's own coordinates.  The bar stands at
// the origin of the menu's parent, so its coordinates are the parent's.
static void to_menu(TslWindow* menu, int source, TslWindow* owner, int* x, int* y)
{
    MenuData* md = menu_data(menu);
    if (source == FROM_OWNER) {
        unsigned int p = GetContextPoint(menu, owner, *x, *y);
        *x = tslPosX(p);
        *y = tslPosY(p);
    }
    if (source != FROM_MENU) {
        *x -= md->requested.x;
        *y -= md->requested.y;
    }
}

// Decides whether an event for another window concerns this menu: a press
// elsewhere closes it, and the events of the window holding the grab while
// it is open are taken as its own.
static int source_of(Display* display, TslWindow* menu, XEvent* e, TslWindow** owner)
{
    Window target = e->xany.window;
    if (target == menu->xwin)
        return FROM_MENU;
    bool press = e->type == ButtonPress;
    if (TslWindow* bar = GetMenuBar(target)) {
        if (IsRunMenu(tslGetMenuItem_MenuBar(bar, 0), menu) ||
            IsRunMenu(tslGetMenuItem_MenuBar(bar, 1), menu))
            return FROM_BAR;
    } else if (TslWindow* w = GetAttachContextMenu(target)) {
        if (w->contextMenu == menu || IsRunMenu(w->contextMenu, menu)) {
            *owner = w;
            return FROM_OWNER;
        }
    } else if (GetMenuWindow(target)) {
        return FROM_NONE;
    }
    if (press)
        tslDetach_Menu(display, menu);
    return FROM_NONE;
}

static void OnContextPress(Display* display, TslWindow* menu, TslWindow* owner,
                           const XButtonEvent& ev)
{
    if (menu->shown) {
        tslDetach_Menu(display, menu);
    } else if ((int)ev.button == secondary_button()) {
        unsigned int p = GetContextPoint(menu, owner, ev.x, ev.y);
        tslAttach_Menu(display, menu, tslPosX(p), tslPosY(p));
    }
}

// A release on an item chooses it: every menu closes unless the item is a
// separator or opens a submenu, then its callback runs.
static int OnRelease(Display* display, TslWindow* menu, int source, TslWindow* owner,
                     const XButtonEvent& ev, int status)
{
    int x = ev.x, y = ev.y;
    to_menu(menu, source, owner, &x, &y);
    MenuData* md = menu_data(menu);
    int row = menu_row_at(x, y, requested_size(md), row_height());
    MenuItem* item = row >= 0 && row < md->count ? item_at(md, row) : nullptr;
    if (!item)
        return status;
    TslEventCallback callback = item->callback;
    if (item->label[0] && !item->subMenu)
        DetachAllMenu(display);
    if (callback)
        status = callback(menu, TSLN_MENU, row, 0);
    return status;
}

// The pointer resting on an item highlights it and opens its submenu level
// with it at the right edge; other items' submenus close.
static int OnMotion(Display* display, TslWindow* menu, int source, TslWindow* owner,
                    const XMotionEvent& ev, int sel)
{
    MenuData* md = menu_data(menu);
    // Server times are 32-bit and wrap.
    if ((unsigned int)(ev.time - md->motionTime) < (unsigned int)g_tessel.interval)
        return sel;
    md->motionTime = ev.time;
    int x = ev.x, y = ev.y;
    to_menu(menu, source, owner, &x, &y);
    int h = row_height();
    sel = menu_row_at(x, y, requested_size(md), h);
    if (sel >= 0) {
        for (int i = 0; i < md->count; i++)
            if (i != sel)
                tslDetach_Menu(display, item_at(md, i)->subMenu);
        MenuItem* item = sel < md->count ? item_at(md, sel) : nullptr;
        if (item && item->subMenu)
            tslAttach_Menu(display, item->subMenu, md->requested.x + md->requested.width,
                           md->requested.y + sel * h);
    }
    Draw(display, menu, sel, 0);
    return sel;
}

int WndProc_Menu(Display* display, TslWindow* menu, XEvent* e)
{
    if (!menu || menu->kind != TSLK_MENU)
        return 0;
    MenuData* md = (MenuData*)menu->option;
    if (!md || !md->items)
        return menu->status;
    if (e->type == KeyPress)
        tslDetach_Menu(display, menu);
    TslWindow* owner = nullptr;
    int source = source_of(display, menu, e, &owner);
    if (source == FROM_NONE)
        return menu->status;

    int status = tslWndProc_Default(display, menu, e);
    int sel = md->selected;
    switch (e->type) {
    case LeaveNotify:
        sel = -1;
        Draw(display, menu, sel, 0);
        break;
    case MapNotify:
    case TSLM_PAINT:
        Draw(display, menu, sel, 1);
        break;
    case ConfigureNotify:
        // The buffer has just grown to the new size: paint what it lacks.
        if (source == FROM_MENU && menu->resized)
            Draw(display, menu, sel, 1);
        break;
    case TSLM_DESTROY:
        UnlinkMenuWindow(menu);
        tslFree_ObjArray(md->items);
        md->items = nullptr;
        md->count = 0;
        return 1;
    case ButtonPress:
        if (source == FROM_OWNER)
            OnContextPress(display, menu, owner, e->xbutton);
        break;
    case ButtonRelease:
        if (!menu->shown)
            break;
        status = OnRelease(display, menu, source, owner, e->xbutton, status);
        // The callback may have destroyed the menu or lost its items.
        if (!CheckTslPointer(menu) || !(md = menu_data(menu)) || !md->items)
            return status;
        sel = -1;
        Draw(display, menu, sel, 0);
        break;
    case MotionNotify:
        if (menu->shown)
            sel = OnMotion(display, menu, source, owner, e->xmotion, sel);
        break;
    default:
        break;
    }
    md->selected = sel;
    return status;
}

static void draw_picture(Display* display, Drawable d, int x, int row, int h, TslImage* img)
{
    if (img)
        tslDrawImage(display, d, x, menu_picture_top(row, h, img->height), img, 0, 0, MENU_ICON,
                     MENU_ICON);
}

static int Draw(Display* display, TslWindow* menu, int sel, int force)
{
    MenuData* md = menu_data(menu);
    if (!md || !md->items)
        return 0;
    if (!force && sel == md->selected)
        return 1;
    tslClearWindow(display, menu, 1);
    Drawable d = tslGetDraw(menu);
    int h = row_height();
    int width = md->requested.width;
    int labelLeft = menu_label_left(any_icon(md));
    for (int i = 0; i < md->count; i++) {
        MenuItem* item = item_at(md, i);
        int top = menu_row_top(i, h);
        if (!item->label[0]) {
            int len = width - 2 * MENU_MARGIN;
            tslDraw3DRectangle(display, d, tslSetRect(MENU_MARGIN, top + h / 2, len > 0 ? len : 0, 1),
                               0);
            continue;
        }
        draw_picture(display, d, MENU_MARGIN, i, h, item->icon);
        bool hot = i == sel;
        tslDrawText(display, d, g_tessel.font, g_tessel.fontKanji,
                    hot ? menu->backFontPixel : menu->foreFontPixel,
                    hot ? menu->foreFontPixel : (unsigned long)-1, labelLeft, top, item->label);
        if (item->subMenu)
            draw_picture(display, d, width - MENU_COLUMN, i, h, g_tessel.images[LINK_IMAGE]);
    }
    tslRedrawWindow(display, menu);
    return 1;
}

int tslAddItem_Menu(TslWindow* menu, const char* label, TslEventCallback callback, TslImage* icon,
                    TslWindow* subMenu, int index)
{
    MenuData* md = menu_data(menu);
    if (!md || !md->items)
        return 0;
    MenuItem* item = new_item(label, callback, icon, subMenu);
    if (!item) {
        fputs(kNoMemory, stderr);
        return 0;
    }
    md->items = tslAddItemEx_ObjArray(md->items, md->count, item, index);
    md->count = tslGetTotal_ObjArray(md->items);
    md->selected = -1;
    if (!md->items)
        return 0;
    ResizeMenu(menu);
    return 1;
}

int tslDeleteItem_Menu(TslWindow* menu, int index)
{
    MenuData* md = menu_data(menu);
    if (!md || !md->items || md->count == 0)
        return 0;
    md->items = tslDelItem_ObjArray(md->items, index);
    md->count = tslGetTotal_ObjArray(md->items);
    md->selected = -1;
    ResizeMenu(menu);
    return 1;
}

int tslChangeItem_Menu(TslWindow* menu, const char* label, TslEventCallback callback,
                       TslImage* icon, TslWindow* subMenu, int index)
{
    MenuData* md = menu_data(menu);
    if (!md || !md->items || md->count == 0)
        return 0;
    MenuItem* old = item_at(md, index);
    if (!old)
        return 1;
    MenuItem* item = new_item(label, callback, icon, subMenu);
    if (item) {
        item->checked = old->checked;
        md->items[index < 0 ? md->count - 1 : index] = item;
        free(old);
    } else {
        // The item keeps its old label and takes the rest.
        fputs(kNoLabel, stderr);
        old->callback = callback;
        old->icon = icon;
        old->subMenu = subMenu;
    }
    ResizeMenu(menu);
    tslSendEvent(menu, TSLM_PAINT);
    return 1;
}

int tslSetCheck_Menu(TslWindow* menu, int index, int flag)
{
    MenuData* md = menu_data(menu);
    if (!md || !md->items || md->count == 0)
        return 0;
    MenuItem* item = item_at(md, index);
    if (!item)
        return 0;
    int checked = flag != 0;
    if (item->checked == checked)
        return 1;
    item->checked = checked;
    item->icon = checked ? g_tessel.images[CHECK_IMAGE] : nullptr;
    ResizeMenu(menu);
    tslSendEvent(menu, TSLM_PAINT);
    return 1;
}

int tslAttach_Menu(Display* display, TslWindow* menu, int x, int y)
{
    MenuData* md = menu_data(menu);
    if (!md)
        return 0;
    md->requested.x = (short)x;
    md->requested.y = (short)y;
    XMoveResizeWindow(display, menu->xwin, x, y, md->requested.width, md->requested.height);
    XMapWindow(display, menu->xwin);
    XRaiseWindow(display, menu->xwin);
    menu->shown = 1;
    return 1;
}

int tslDetach_Menu(Display* display, TslWindow* menu)
{
    MenuData* md = menu_data(menu);
    if (!md || !md->items)
        return 0;
    if (md->visiting)
        return 1;
    if (menu->shown) {
        XUnmapWindow(display, menu->xwin);
        menu->shown = 0;
    }
    md->visiting = 1;
    for (int i = 0; i < md->count; i++)
        tslDetach_Menu(display, item_at(md, i)->subMenu);
    md->visiting = 0;
    return 1;
}

TslRect menu_requested_rect(TslWindow* menu)
{
    MenuData* md = menu_data(menu);
    return md ? md->requested : TslRect{0, 0, 0, 0};
}

static int ResizeMenu(TslWindow* menu)
{
    MenuData* md = menu_data(menu);
    if (!md || !md->items)
        return 0;
    int widest = 0;
    bool anySub = false;
    for (int i = 0; i < md->count; i++) {
        MenuItem* item = item_at(md, i);
        int w = tslTextWidth(item->label);
        widest = w > widest ? w : widest;
        anySub = anySub || item->subMenu;
    }
    MenuSize size = menu_size(widest, anySub, any_icon(md), md->count, row_height());
    if (size.width == md->requested.width && size.height == md->requested.height)
        return 1;
    md->requested.width = (unsigned short)size.width;
    md->requested.height = (unsigned short)size.height;
    XMoveResizeWindow(g_tessel.display, menu->xwin, md->requested.x, md->requested.y,
                      md->requested.width, md->requested.height);
    return 1;
}

static int IsRunMenu(TslWindow* menu, TslWindow* target)
{
    MenuData* md = menu_data(menu);
    if (!md || !md->items || md->count == 0 || !menu->shown)
        return 0;
    if (menu == target)
        return 1;
    if (md->visiting)
        return 0;
    md->visiting = 1;
    int found = 0;
    for (int i = 0; i < md->count && !found; i++)
        found = IsRunMenu(item_at(md, i)->subMenu, target);
    md->visiting = 0;
    return found;
}

static int DetachAllMenu(Display* display)
{
    int n = tslGetTotalWindows();
    for (int i = 0; i < n; i++) {
        TslWindow* w = tslGetWindowFromIndex(i);
        if (!w)
            continue;
        if (w->kind == TSLK_MENUBAR) {
            tslDetach_Menu(display, tslGetMenuItem_MenuBar(w, 0));
            tslDetach_Menu(display, tslGetMenuItem_MenuBar(w, 1));
        }
        if (w->contextMenu)
            tslDetach_Menu(display, w->contextMenu);
    }
    return 0;
}

// Forgets the menu everywhere it is linked: submenu items, context menus,
// and the titles of menu bars, which would otherwise open a freed window.
static int UnlinkMenuWindow(TslWindow* menu)
{
    int n = tslGetTotalWindows();
    for (int i = 0; i < n; i++) {
        TslWindow* w = tslGetWindowFromIndex(i);
        if (!w)
            continue;
        MenuData* md = menu_data(w);
        for (int j = 0; md && md->items && j < md->count; j++) {
            MenuItem* item = item_at(md, j);
            if (item->subMenu == menu)
                item->subMenu = nullptr;
        }
        if (w->contextMenu == menu)
            w->contextMenu = nullptr;
        for (int title = 0; w->kind == TSLK_MENUBAR && title < 2; title++)
            if (tslGetMenuItem_MenuBar(w, title) == menu)
                tslSetMenuItem_MenuBar(w, nullptr, title);
    }
    return 1;
}

// A point of the owner's coordinates in those of the menu's parent, as a
// packed position word.
static unsigned int GetContextPoint(TslWindow* menu, TslWindow* owner, int x, int y)
{
    for (TslWindow* w = owner; w && w != menu->parent; w = w->parent) {
        x += w->rect.x;
        y += w->rect.y;
    }
    return tslPos(x, y);
}

static TslWindow* GetMenuBar(Window xwindow)
{
    TslWindow* w = tslGetWindowFromXWindow(xwindow);
    return w && w->kind == TSLK_MENUBAR ? w : nullptr;
}

static TslWindow* GetAttachContextMenu(Window xwindow)
{
    TslWindow* w = tslGetWindowFromXWindow(xwindow);
    return w && w->contextMenu ? w : nullptr;
}

static TslWindow* GetMenuWindow(Window xwindow)
{
    TslWindow* w = tslGetWindowFromXWindow(xwindow);
    return w && w->kind == TSLK_MENU ? w : nullptr;
}

// The button that opens context menus: the scroll bars' secondary button,
// or the one button of a one-button mouse.
static int secondary_button(void)
{
    int button = scroll_buttons(g_tessel.mouseRightHand, g_tessel.mouseButton).secondary;
    return button ? button : 1;
}
