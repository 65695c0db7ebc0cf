// Layout of the stock dialogs.  Below a certain width or height (smaller
// than their minimum sizes, so only without a window manager that keeps to
// the hints) the message, about and file dialogs keep their parts at fixed
// places.
#include "dialogs/dialog_layout.h"

static const int kNarrow = 260;
static const int kLow = 75;
static const int kButtonWidth = 60;
static const int kButtonHeight = 25;
static const int kMargin = 10;
static const int kTop = 5;
static const int kTextBelow = 40;   // room under the text for the button row
static const int kButtonsUp = 30;   // the button row's top above the bottom edge
static const int kNarrowText = 240;
// Button columns of a narrow dialog: the right one, the one left of it, and
// the about dialog's single button.
static const int kNarrowRight = 190;
static const int kNarrowLeft = 120;
static const int kNarrowMiddle = 100;
static const int kLowText = 35;
static const int kLowButtonY = 45;
// The message dialog's picture moves up at one pixel more than its buttons.
static const int kLowPicture = 76;

// Sizes that came out negative are empty.
static TslRect box(int x, int y, int width, int height)
{
    return tslSetRect(x, y, width > 0 ? width : 0, height > 0 ? height : 0);
}

MsgDlgLayout msgdlg_layout(int width, int height, int style)
{
    bool both = (style & MSGDLG_BUTTONS) == (MSGDLG_OK | MSGDLG_CANCEL);
    int textWidth = width - 2 * kMargin;
    int textHeight = height - kTextBelow;
    int right = width - kButtonWidth - kMargin;
    int left = right - kButtonWidth - kMargin;
    int buttonY = height - kButtonsUp;
    if (width < kNarrow) {
        textWidth = kNarrowText;
        right = kNarrowRight;
        left = kNarrowLeft;
    }
    if (height < kLow) {
        textHeight = kLowText;
        buttonY = kLowButtonY;
    }
    MsgDlgLayout l;
    l.text = box(kMargin, kTop, textWidth, textHeight);
    l.ok = box(both ? left : right, buttonY, kButtonWidth, kButtonHeight);
    l.cancel = box(right, buttonY, kButtonWidth, kButtonHeight);
    l.pictureX = kMargin;
    l.pictureY = height < kLowPicture ? kLowButtonY : height - kButtonsUp;
    return l;
}

AboutDlgLayout aboutdlg_layout(int width, int height, int hasIcon, int iconWidth, int iconHeight)
{
    int iw = hasIcon ? iconWidth : 0;
    int textX = hasIcon ? iw + 2 * kMargin : kMargin;
    int textWidth = width - (textX + kMargin);
    int textHeight = height - kTextBelow;
    int buttonX = (width - kButtonWidth) / 2;
    int buttonY = height - kButtonsUp;
    if (width < kNarrow) {
        textWidth = kNarrowText - iw;
        buttonX = kNarrowMiddle;
    }
    if (height < kLow) {
        textHeight = kLowText;
        buttonY = kLowButtonY;
    }
    AboutDlgLayout l;
    l.text = box(textX, kTop, textWidth, textHeight);
    l.ok = box(buttonX, buttonY, kButtonWidth, kButtonHeight);
    l.iconX = kMargin;
    l.iconY = hasIcon ? (height - (iconHeight + kButtonsUp)) / 2 : 0;
    return l;
}

TextDlgLayout textdlg_layout(int width, int height)
{
    TextDlgLayout l;
    l.text = box(5, 5, width - 10, height - 35);
    l.ok = box(width / 2 - 16, height - 25, 32, 20);
    return l;
}

FileDlgLayout filedlg_layout(int width, int height, int rowHeight)
{
    const int narrow = 250, low = 120;
    FileDlgLayout l;
    l.name = box(10, 5, width - 80, 20);
    l.list = box(10, 30, width - 82, height - (rowHeight + 40));
    l.ok = box(width - 60, 5, 50, 20);
    l.cancel = box(width - 60, 30, 50, 20);
    l.expansion = box(10, height - rowHeight - 5, width - 20, rowHeight);
    if (width < narrow) {
        l.name.width = l.expansion.width = 170;
        l.list.width = 168;
        l.ok.x = l.cancel.x = 190;
    }
    if (height < low) {
        l.list = box(l.list.x, l.list.y, l.list.width, 80 - rowHeight);
        l.expansion.y = (short)(115 - rowHeight);
    }
    return l;
}

int msgdlg_picture(int style)
{
    switch (style & MSGDLG_PICTURE) {
    case 16: return 12;  // res_question
    case 32: return 16;  // res_info
    case 48: return 13;  // res_attention
    case 64: return 15;  // res_warning
    case 80: return 14;  // res_error
    default: return -1;
    }
}
