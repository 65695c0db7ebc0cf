// Layout arithmetic of the menu bar, the tool bar, the select button,
// button rows and the text box.
#include "controls/control_layout.h"

MenuBarLayout menubar_layout(int charHeight, int titleWidth0, int titleWidth1, int parentWidth)
{
    MenuBarLayout bar;
    bar.height = charHeight + 8;
    bar.titles[0] = Box{0, 0, titleWidth0 + 20, bar.height};
    bar.titles[1] = Box{titleWidth0 + 20, 0, titleWidth1 + 20, bar.height};
    bar.status = Box{titleWidth0 + titleWidth1 + 42, 2, 0, charHeight + 5};
    bar.status.width = menubar_status_width(bar, parentWidth);
    bar.textY = (bar.height - charHeight) / 2;
    return bar;
}

int menubar_status_width(const MenuBarLayout& bar, int parentWidth)
{
    int end = bar.titles[1].x + bar.titles[1].width + 4;
    return 2 * end < parentWidth ? parentWidth - end : end;
}

int toolbar_height(int charHeight)
{
    return (charHeight > 16 ? charHeight : 16) + 12;
}

GroupLayout group_layout(bool horizontal, int charHeight, int captionWidth, int groupHeight)
{
    GroupLayout g;
    g.captionX = 5;
    if (horizontal) {
        g.captionY = (groupHeight - charHeight) / 2;
        g.firstX = captionWidth + 5 + (captionWidth > 0 ? 5 : 0);
        g.firstY = 2;
        g.buttonHeight = groupHeight - 4;
        return g;
    }
    g.captionY = charHeight >= 20 ? 5 : (20 - charHeight) / 2 + 5;
    g.buttonHeight = charHeight > 20 ? charHeight : 20;
    g.firstX = 5;
    g.firstY = g.buttonHeight + 10;
    return g;
}

int row_button_width(int textWidth, bool icon, int iconColumn)
{
    int width = (textWidth > 0 ? textWidth + 10 : 0) + (icon ? iconColumn : 0);
    // The server makes no window narrower than a pixel.
    return width > 0 ? width : 1;
}

int row_changed_width(int textWidth, bool icon)
{
    return textWidth + 10 + (icon ? 20 : 0);
}

int row_slot(int index, int count)
{
    return index < 0 || index > count ? count : index;
}

int row_pick(int index, int count)
{
    if (count <= 0 || index >= count)
        return -1;
    if (index == -1)
        return count - 1;
    return index < 0 ? 0 : index;
}

TextBoxLayout textbox_layout(int width, int height, int barWidth)
{
    enum { GAP = 5 };
    int h = height > 0 ? height : 1;
    int textWidth = width - barWidth - GAP;
    int barX = width - barWidth;
    TextBoxLayout l;
    l.text = Box{0, 0, textWidth > 0 ? textWidth : 1, h};
    l.bar = Box{barX > 0 ? barX : 0, 0, barWidth > 0 ? barWidth : 1, h};
    return l;
}
