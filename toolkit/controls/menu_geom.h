// Popup-menu arithmetic without a display: the height of an item row, the
// menu's size, the item under a point and where an item's parts are drawn.
#ifndef TSL_CONTROLS_MENU_GEOM_H
#define TSL_CONTROLS_MENU_GEOM_H

enum {
    MENU_MARGIN = 5,  // above the first item, below the last, left of icons and labels
    MENU_ICON = 16,  // icons, check marks and the submenu marker are drawn 16 x 16
    MENU_COLUMN = 21  // an icon column or a submenu-marker column
};

struct MenuSize {
    int width;
    int height;
};

// One row: the text line, but never lower than an icon.
int menu_item_height(int charHeight);

// The size of a menu whose widest label measures widest pixels.
MenuSize menu_size(int widest, bool anySubMenu, bool anyIcon, int count, int itemHeight);

// The row under (x, y) of a menu of the given size, or -1 when the point is
// beside or above or below the rows.  The row may be one past the last item.
int menu_row_at(int x, int y, MenuSize size, int itemHeight);

// Top of row i.
int menu_row_top(int row, int itemHeight);

// Top of a picture of the given height centred in row i.
int menu_picture_top(int row, int itemHeight, int pictureHeight);

// Left edge of the labels: right of the icon column when there is one.
int menu_label_left(bool anyIcon);

#endif
