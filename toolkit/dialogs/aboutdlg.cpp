// The about dialog: the caller's icon, text (on an optional wallpaper, in a
// chosen colour) and one " O K " button, run modally by the toolkit's event
// loop until the user closes it.
#include <X11/keysym.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "dialogs/dialog_layout.h"
#include "dialogs/dialog_window.h"
#include "tessel.h"

// The pictures belong to the caller.
struct AboutDlgData {
    TslImage* icon;
    TslImage* wallPaper;
};

static const char kOkCaption[] = " O K ";
static const char kTextName[] = "_tslText_About";
static const char kNoDialog[] = "Error: Can't create the about dialog.\n";

static const int kStartX = 50;
static const int kStartY = 50;
static const int kWidth = 365;
static const int kHeight = 140;

static int WndProc_AboutDlg(Display* display, TslWindow* dialog, XEvent* event);
static void Draw(Display* display, TslWindow* dialog);

static TslWindow* CreateWindow_AboutDlg(Display* display, TslWindow* parent, TslRect rect,
                                        const char* title, TslImage* icon, TslImage* wallPaper)
{
    TslWindow* dialog = dialog_create(display, parent, rect, title, WndProc_AboutDlg, sizeof(AboutDlgData));
    if (!dialog)
        return nullptr;
    AboutDlgData* data = static_cast<AboutDlgData*>(dialog->option);
    data->icon = icon;
    data->wallPaper = wallPaper;
    return dialog;
}

static AboutDlgLayout layout_of(TslWindow* dialog)
{
    const TslImage* icon = static_cast<AboutDlgData*>(dialog->option)->icon;
    return aboutdlg_layout(dialog->rect.width, dialog->rect.height, icon != nullptr,
                           icon ? icon->width : 0, icon ? icon->height : 0);
}

static void relayout(Display* display, TslWindow* dialog)
{
    AboutDlgLayout l = layout_of(dialog);
    const DialogSlot slots[2] = {{TSLK_TEXTWND, nullptr, l.text}, {TSLK_BUTTON, kOkCaption, l.ok}};
    dialog_move_children(display, dialog, slots, 2);
}

// Runs after the core's default processing: the dialog is not in raw mode.
static int WndProc_AboutDlg(Display* display, TslWindow* dialog, XEvent* event)
{
    return dialog_procedure(display, dialog, event, dialog->status, relayout, Draw);
}

static void Draw(Display* display, TslWindow* dialog)
{
    AboutDlgLayout l = layout_of(dialog);
    dialog_paint(display, dialog, static_cast<AboutDlgData*>(dialog->option)->icon, l.iconX, l.iconY);
}

static int OnKeyEvent(TslWindow*, XEvent*, KeySym key)
{
    return (key == XK_space || key == XK_Return) ? TSLR_CLOSE : TSLR_OK;
}

static int OnOKButton(TslWindow*, int code, int, int)
{
    return code == TSLN_BUTTON_DOWN ? TSLR_CLOSE : TSLR_OK;
}

int tslAboutDialog(Display* display, TslWindow* parent, const char* title, const char* text,
                   TslImage* icon, TslImage* wallPaper, unsigned long textPixel)
{
    TslWindow* dialog = CreateWindow_AboutDlg(display, nullptr,
                                              tslSetRect(kStartX, kStartY, kWidth, kHeight), title,
                                              icon, wallPaper);
    if (!dialog) {
        fputs(kNoDialog, stderr);
        return TSLN_BUTTON_DOWN;
    }
    tslSetMinMaxSize(dialog, kWidth, kHeight, g_tessel.screenWidth, g_tessel.screenHeight);
    tslSetKeyEventCallback(dialog, OnKeyEvent);
    AboutDlgLayout l = layout_of(dialog);
    if (!text)
        text = "";
    size_t length = strlen(text);
    TslWindow* textWnd = tslCreateWindow_TextWnd(display, dialog, l.text, kTextName, text,
                                                 length > INT_MAX ? INT_MAX : (int)length);
    if (textWnd) {
        if (wallPaper)
            tslSetWallPaper(display, textWnd, wallPaper);
        tslSetForeFontColor(display, textWnd, textPixel);
        tslSetOutLine_TextWnd(textWnd, 1);
    }
    tslCreateWindow_Button(display, dialog, l.ok, kOkCaption, nullptr, OnOKButton);
    dialog_show(display, dialog, parent);
    tslMainLoop(display, dialog);
    tslDestroyWindow(display, dialog);
    return TSLN_BUTTON_DOWN;
}
