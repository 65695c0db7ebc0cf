// Popup-menu arithmetic: rows of one height between 5-pixel margins, a
// width made of the widest label and the optional icon and marker columns.
#include "controls/menu_geom.h"

int menu_item_height(int charHeight)
{
    return charHeight > MENU_ICON ? charHeight : MENU_ICON;
}

MenuSize menu_size(int widest, bool anySubMenu, bool anyIcon, int count, int itemHeight)
{
    // The width starts from 1, so a menu without labels is 11 wide.
    int width = widest > 1 ? widest : 1;
    if (anySubMenu)
        width += MENU_COLUMN;
    if (anyIcon)
        width += MENU_COLUMN;
    return MenuSize{width + 2 * MENU_MARGIN, itemHeight * count + 2 * MENU_MARGIN};
}

int menu_row_at(int x, int y, MenuSize size, int itemHeight)
{
    if (x <= 0 || x >= size.width || y < MENU_MARGIN || y > size.height - MENU_MARGIN ||
        itemHeight <= 0)
        return -1;
    return (y - MENU_MARGIN) / itemHeight;
}

int menu_row_top(int row, int itemHeight)
{
    return MENU_MARGIN + row * itemHeight;
}

int menu_picture_top(int row, int itemHeight, int pictureHeight)
{
    return menu_row_top(row, itemHeight) + (itemHeight - pictureHeight) / 2;
}

int menu_label_left(bool anyIcon)
{
    return anyIcon ? MENU_MARGIN + MENU_COLUMN : MENU_MARGIN;
}
