// The message dialog: a message, an optional picture and " O K " / "Cancel"
// buttons in a small top-level window that runs its own modal loop until the
// user answers, then goes away.
#include <X11/keysym.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "dialogs/dialog_layout.h"
#include "dialogs/dialog_window.h"
#include "tessel.h"

// The private record: the style word alone.
struct MsgDlgData {
    int style;
};

static const char kOkCaption[] = " O K ";
static const char kCancelCaption[] = "Cancel";
static const char kTextName[] = "_tslText_MsgDlg";
static const char kNoDialog[] = "Error: Can't create the message dialog.\n";

static const int kStartX = 50;
static const int kStartY = 50;
static const int kWidth = 280;
static const int kHeight = 110;

// The dialog's windows in the order an event is offered to them.
enum { PART_DIALOG, PART_TEXT, PART_OK, PART_CANCEL, PART_COUNT };

// What the loop needs: the parts, and the time of the last key looked at.
struct MsgDlgRun {
    TslWindow* parts[PART_COUNT];
    Time lastKey;
};

static int WndProc_MsgDlg(Display* display, TslWindow* dialog, XEvent* event);
static void Draw(Display* display, TslWindow* dialog);

static int style_of(TslWindow* dialog)
{
    return static_cast<MsgDlgData*>(dialog->option)->style;
}

static TslWindow* CreateWindow_MsgDlg(Display* display, TslWindow* parent, TslRect rect,
                                      const char* title, int style)
{
    TslWindow* dialog = dialog_create(display, parent, rect, title, WndProc_MsgDlg, sizeof(MsgDlgData));
    if (!dialog)
        return nullptr;
    dialog->kind = TSLK_MSGDLG;
    static_cast<MsgDlgData*>(dialog->option)->style = style;
    tslSetCustom(dialog, 1);
    return dialog;
}

static void relayout(Display* display, TslWindow* dialog)
{
    int style = style_of(dialog);
    MsgDlgLayout l = msgdlg_layout(dialog->rect.width, dialog->rect.height, style);
    DialogSlot slots[3] = {{TSLK_TEXTWND, nullptr, l.text}};
    int count = 1;
    if (style & MSGDLG_OK)
        slots[count++] = DialogSlot{TSLK_BUTTON, kOkCaption, l.ok};
    if (style & MSGDLG_CANCEL)
        slots[count++] = DialogSlot{TSLK_BUTTON, kCancelCaption, l.cancel};
    dialog_move_children(display, dialog, slots, count);
}

static int WndProc_MsgDlg(Display* display, TslWindow* dialog, XEvent* event)
{
    return dialog_raw_procedure(display, dialog, event, relayout, Draw);
}

static void Draw(Display* display, TslWindow* dialog)
{
    int style = style_of(dialog);
    MsgDlgLayout l = msgdlg_layout(dialog->rect.width, dialog->rect.height, style);
    int index = msgdlg_picture(style);
    dialog_paint(display, dialog, index >= 0 ? g_tessel.images[index] : nullptr, l.pictureX, l.pictureY);
}

// Offers one event to the dialog's windows; the answer when it ends the
// dialog, else 0.
static int answer(Display* display, XEvent* event, void* context)
{
    MsgDlgRun* run = static_cast<MsgDlgRun*>(context);
    TslWindow* const* parts = run->parts;
    int closed = parts[PART_CANCEL] ? TSLN_BUTTON_UP : TSLN_BUTTON_DOWN;
    if (tslCallWndProc(display, parts[PART_DIALOG], event, 0) == TSLR_CLOSE)
        return closed;
    if (parts[PART_TEXT])
        tslCallWndProc(display, parts[PART_TEXT], event, 0);
    if (parts[PART_OK] && tslCallWndProc(display, parts[PART_OK], event, 0) == TSLN_BUTTON_DOWN)
        return TSLN_BUTTON_DOWN;
    if (parts[PART_CANCEL] && tslCallWndProc(display, parts[PART_CANCEL], event, 0) == TSLN_BUTTON_DOWN)
        return TSLN_BUTTON_UP;
    // Auto-repeat faster than the loop's interval is not looked at.
    if (event->type == KeyPress && event->xkey.time - run->lastKey >= (Time)g_tessel.interval) {
        run->lastKey = event->xkey.time;
        KeySym key = XLookupKeysym(&event->xkey, 0);
        if (key == XK_space || key == XK_Return)
            return TSLN_BUTTON_DOWN;
    }
    return 0;
}

int tslMessageDialog(Display* display, TslWindow* parent, const char* title, const char* text,
                     int style)
{
    TslWindow* dialog = CreateWindow_MsgDlg(display, nullptr,
                                            tslSetRect(kStartX, kStartY, kWidth, kHeight), title, style);
    if (!dialog) {
        fputs(kNoDialog, stderr);
        return (style & MSGDLG_CANCEL) ? TSLN_BUTTON_UP : TSLN_BUTTON_DOWN;
    }
    tslSetMinMaxSize(dialog, kWidth, kHeight, g_tessel.screenWidth, g_tessel.screenHeight);
    MsgDlgLayout l = msgdlg_layout(kWidth, kHeight, style);
    if (!text)
        text = "";
    size_t length = strlen(text);
    MsgDlgRun run = {{dialog, nullptr, nullptr, nullptr}, 0};
    TslWindow** parts = run.parts;
    parts[PART_TEXT] = tslCreateWindow_TextWnd(display, dialog, l.text, kTextName, text,
                                               length > INT_MAX ? INT_MAX : (int)length);
    if (style & MSGDLG_OK)
        parts[PART_OK] = tslCreateWindow_Button(display, dialog, l.ok, kOkCaption, nullptr, nullptr);
    if (style & MSGDLG_CANCEL)
        parts[PART_CANCEL] = tslCreateWindow_Button(display, dialog, l.cancel, kCancelCaption, nullptr, nullptr);
    dialog_show(display, dialog, parent);

    int result = dialog_loop(display, dialog, answer, &run);
    tslDestroyWindow(display, dialog);
    return result;
}
