// Where the stock dialogs put their parts, for a dialog of a given size:
// pure arithmetic, shared by creation and by the relayout after a resize.
// A part whose size comes out negative is empty and stays where it was.
#ifndef TSL_DIALOGS_DIALOG_LAYOUT_H
#define TSL_DIALOGS_DIALOG_LAYOUT_H

#include "tessel.h"

// Message dialog style bits.
enum {
    MSGDLG_OK = 1,
    MSGDLG_CANCEL = 2,
    MSGDLG_BUTTONS = 15,
    MSGDLG_PICTURE = 240,
};

struct MsgDlgLayout {
    TslRect text;
    TslRect ok;
    TslRect cancel;
    int pictureX;
    int pictureY;
};

struct AboutDlgLayout {
    TslRect text;
    TslRect ok;
    int iconX;
    int iconY;
};

struct TextDlgLayout {
    TslRect text;
    TslRect ok;
};

struct FileDlgLayout {
    TslRect name;
    TslRect list;
    TslRect ok;
    TslRect cancel;
    TslRect expansion;
};

MsgDlgLayout msgdlg_layout(int width, int height, int style);
// Without an icon pass hasIcon 0; the icon's size is then ignored.
AboutDlgLayout aboutdlg_layout(int width, int height, int hasIcon, int iconWidth, int iconHeight);

TextDlgLayout textdlg_layout(int width, int height);
// rowHeight is the selector's height: a text line and 10 pixels.
FileDlgLayout filedlg_layout(int width, int height, int rowHeight);

// Index into g_tessel.images of the picture a message style names, or -1.
int msgdlg_picture(int style);

#endif
