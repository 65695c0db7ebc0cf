// The text dialog: a long text in a text box with an " O K " button below,
// in a resizable top-level window that runs its own modal loop, scrolls a
// line at a time from the keyboard and opens next time where it was closed.
#include <X11/keysym.h>

#include <cstdint>
#include <cstdio>

#include "dialogs/dialog_layout.h"
#include "dialogs/dialog_window.h"
#include "tessel.h"

// The key rhythm: a held key steps no faster than the loop's interval.
struct TextDlgData {
    uint32_t keyTime;  // server time of the last key acted on
    int keySeen;
};

static const char kOkCaption[] = " O K ";
static const char kTextName[] = "_tslText_TextDlg";
static const char kNoDialog[] = "Error: Can't create the text dialog.\n";

static const int kWidth = 600;
static const int kHeight = 400;
static const int kMinWidth = 160;
static const int kMinHeight = 120;

// Where and how large the dialog was when last closed.
static TslRect rectBack = {DIALOG_NOT_SHOWN, DIALOG_NOT_SHOWN, kWidth, kHeight};

static int WndProc_TextDlg(Display* display, TslWindow* dialog, XEvent* event);
static void Draw(Display* display, TslWindow* dialog);

static TslWindow* CreateWindow_TextDlg(Display* display, TslWindow* parent, TslRect rect,
                                       const char* title)
{
    TslWindow* dialog = dialog_create(display, parent, rect, title, WndProc_TextDlg, sizeof(TextDlgData));
    if (!dialog)
        return nullptr;
    tslSetCustom(dialog, 1);
    tslSetMinMaxSize(dialog, kMinWidth, kMinHeight, 2 * g_tessel.screenWidth, 2 * g_tessel.screenHeight);
    return dialog;
}

static void relayout(Display* display, TslWindow* dialog)
{
    TextDlgLayout l = textdlg_layout(dialog->rect.width, dialog->rect.height);
    const DialogSlot slots[2] = {{TSLK_TEXTBOX, nullptr, l.text}, {TSLK_BUTTON, nullptr, l.ok}};
    dialog_move_children(display, dialog, slots, 2);
}

static int WndProc_TextDlg(Display* display, TslWindow* dialog, XEvent* event)
{
    return dialog_raw_procedure(display, dialog, event, relayout, Draw);
}

// The children leave only margins uncovered.
static void Draw(Display* display, TslWindow* dialog)
{
    dialog_paint(display, dialog, nullptr, 0, 0);
}

// One line down, as long as the last line is not yet in view; one line up
// down to the first.
static void scroll_line(TslWindow* box, int down)
{
    int pos = tslGetPos_TextBox(box);
    if (!down) {
        if (pos > 0)
            tslSetPos_TextBox(box, pos - 1);
        return;
    }
    int h = tslGetCharHeight(nullptr);
    int visible = h > 0 ? (box->rect.height - 1) / h : 0;
    if (pos < tslGetLines_TextBox(box) - visible)
        tslSetPos_TextBox(box, pos + 1);
}

// A key the dialog acts on; 1 when it ends the dialog.
static int OnKey(TslWindow* dialog, TslWindow* box, XKeyEvent* event)
{
    TextDlgData* data = static_cast<TextDlgData*>(dialog->option);
    uint32_t time = (uint32_t)event->time;
    if (data->keySeen && time - data->keyTime < (uint32_t)g_tessel.interval)
        return 0;
    data->keySeen = 1;
    data->keyTime = time;
    switch (XLookupKeysym(event, 0)) {
    case XK_space:
    case XK_Return:
        return 1;
    case XK_f:
    case XK_j:
    case XK_Down:
        if (box)
            scroll_line(box, 1);
        break;
    case XK_d:
    case XK_k:
    case XK_Up:
        if (box)
            scroll_line(box, 0);
        break;
    default:
        break;
    }
    return 0;
}

// The dialog's windows in the order an event is offered to them.
struct TextDlgParts {
    TslWindow* dialog;
    TslWindow* ok;
    TslWindow* box;
};

// Offers one event to the dialog's windows; 1 when it ends the dialog.
static int answer(Display* display, XEvent* event, void* context)
{
    const TextDlgParts* p = static_cast<const TextDlgParts*>(context);
    TslWindow *dialog = p->dialog, *ok = p->ok, *box = p->box;
    if (tslCallWndProc(display, dialog, event, 0) == TSLR_CLOSE)
        return 1;
    if (ok && tslCallWndProc(display, ok, event, 0) == TSLN_BUTTON_DOWN)
        return 1;
    if (box)
        tslCallWndProc(display, box, event, 0);
    return event->type == KeyPress && OnKey(dialog, box, &event->xkey);
}

int tslTextDialog(Display* display, TslWindow* parent, const char* title, const char* text)
{
    TslWindow* dialog = CreateWindow_TextDlg(display, nullptr, tslSetRect(0, 0, kWidth, kHeight), title);
    if (!dialog) {
        fputs(kNoDialog, stderr);
        return TSLN_BUTTON_DOWN;
    }
    TextDlgLayout l = textdlg_layout(kWidth, kHeight);
    TextDlgParts parts = {dialog, nullptr, nullptr};
    parts.box = tslCreateWindow_TextBox(display, dialog, l.text, kTextName, text ? text : "");
    parts.ok = tslCreateWindow_Button(display, dialog, l.ok, kOkCaption, nullptr, nullptr);
    dialog_place(display, dialog, parent, rectBack);
    dialog_loop(display, dialog, answer, &parts);
    rectBack = dialog->rect;
    tslDestroyWindow(display, dialog);
    return TSLN_BUTTON_DOWN;
}
