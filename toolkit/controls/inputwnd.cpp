// The input window: a single line of text with caret, selection, horizontal
// scrolling, input-method text, a private copy buffer and the desktop's
// clipboard.  Events become the edits of input_edit; this file paints and
// keeps the X side in step.
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "controls/input_edit.h"
#include "core/clipboard.h"
#include "tessel.h"

static const char kTooLongCreate[] = "Error: Input window - Too Long string. Less than %d word.\n";
static const char kTooLongSet[] = "Error: Too long string. Less than %d word.\n";

struct InputWndData {
    InputLine line;  // text, selText, drawPos, selLen, caret
    char* copyText;
    int dragging;
    int shift;
    int allKeys;
    Time clickTime;
    // The caret colour, made once for the background it contrasts with.
    unsigned long caretBack;
    unsigned long caretPixel;
    int caretReady;
};

static InputWndData* data_of(TslWindow* w);
static int Draw(Display* display, TslWindow* w);
static void scroll_to_caret(TslWindow* w, InputWndData* data);
static void move_preedit(TslWindow* w, InputWndData* data);
static int hit(InputWndData* data, int x);

TslWindow* tslCreateWindow_InputWnd(Display* display, TslWindow* parent, TslRect rect,
                                    const char* name, const char* text, int allKeys)
{
    TslWindow* w = tslCreateWindow(display, parent, tslRectPos(rect), tslRectSize(rect), 0, name,
                                   WndProc_InputWnd);
    if (!w)
        return nullptr;
    tslSetWindowKind(w, TSLK_INPUTWND);
    InputWndData* data = static_cast<InputWndData*>(tslAlloc(sizeof(InputWndData)));
    if (!data) {
        tslDestroyWindow(display, w);
        return nullptr;
    }
    memset(data, 0, sizeof *data);
    data->allKeys = allKeys;
    tslSetOption(w, data);
    if (text && strlen(text) >= INPUT_TEXT_MAX) {
        fprintf(stderr, kTooLongCreate, INPUT_TEXT_MAX);
        text = nullptr;
    }
    input_reset(&data->line, text);
    tslSetCustom(w, 1);
    tslSetRedrawBuffer(w, 1);
    tslAttachIM(w, nullptr);
    tslSetBackColor(display, w, g_tessel.paperPixel);
    tslSetDefaultCursor(w, g_tessel.cursors[2]);
    return w;
}

// Ctrl+C, Ctrl+X and Ctrl+V work with the desktop's clipboard, apart from
// the window's own copy buffer; 0 for any other key.
static int clipboard_key(Display* display, TslWindow* w, InputWndData* data, XKeyEvent* key)
{
    KeySym base = XLookupKeysym(key, 0);
    if (!(key->state & ControlMask) || (base != XK_c && base != XK_x && base != XK_v))
        return 0;
    if (base == XK_v) {
        std::string text;
        if (clipboard_paste(display, key->time, &text)) {
            input_one_line(&text[0]);
            tslAddText_InputWnd(w, text.c_str());
        }
    } else if (data->line.selLen && clipboard_copy(display, data->line.selText, key->time) && base == XK_x) {
        tslDelSelectText_InputWnd(w);
    }
    return 1;
}

static void on_key_press(Display* display, TslWindow* w, InputWndData* data, XEvent* event)
{
    if (clipboard_key(display, w, data, &event->xkey)) {
        move_preedit(w, data);
        return;
    }
    int len = 0;
    char* str = tslGetString(w, event, &len);
    KeySym keysym = XLookupKeysym(&event->xkey, tslGetShiftState(&event->xkey));
    data->shift = tslGetShiftKey(&event->xkey);
    if (g_tessel.tenKey == 1)
        keysym = tslConvertTenKeyCode(&event->xkey);
    switch (input_key(&data->line, g_tessel.charCode, keysym, data->shift, str, len)) {
    case INPUT_REFUSED:
        tslBell();
        break;
    case INPUT_SCROLL:
        scroll_to_caret(w, data);
        Draw(display, w);
        break;
    case INPUT_PAINT:
        Draw(display, w);
        break;
    case INPUT_IGNORED:
        break;
    }
    move_preedit(w, data);
}

static void on_button_press(Display* display, TslWindow* w, InputWndData* data, XButtonEvent* ev)
{
    data->dragging = 1;
    XKeyEvent modifiers{};
    modifiers.state = ev->state;
    data->shift = tslGetShiftState(&modifiers);
    InputLine* line = &data->line;
    // Server time is a 32-bit millisecond counter that wraps.
    unsigned int since = (unsigned int)(ev->time - data->clickTime);
    data->clickTime = ev->time;
    if (since < (unsigned int)g_tessel.doubleClickTime) {
        input_select_word(line, g_tessel.charCode);
        scroll_to_caret(w, data);
    } else {
        int index = hit(data, ev->x);
        if (data->shift) {
            line->selLen = index - line->caret;
        } else {
            line->caret = index;
            line->selLen = 0;
        }
        input_refresh_selection(line);
    }
    Draw(display, w);
    move_preedit(w, data);
}

static void on_drag(Display* display, TslWindow* w, InputWndData* data, XMotionEvent* ev)
{
    InputLine* line = &data->line;
    line->selLen = hit(data, ev->x) - line->caret;
    input_refresh_selection(line);
    scroll_to_caret(w, data);
    Draw(display, w);
    move_preedit(w, data);
}

int WndProc_InputWnd(Display* display, TslWindow* w, XEvent* event)
{
    int status = w->status;
    InputWndData* data = data_of(w);
    if (!data)
        return status;
    int mine = event->xany.window == w->xwin;
    int key = event->type == KeyPress || event->type == KeyRelease;
    if (!mine && !(key && data->allKeys))
        return status;
    status = tslWndProc_Default(display, w, event);
    switch (event->type) {
    case KeyPress:
        on_key_press(display, w, data, event);
        break;
    case KeyRelease:
        data->shift = tslGetShiftKey(&event->xkey);
        break;
    case ButtonPress:
        on_button_press(display, w, data, &event->xbutton);
        break;
    case ButtonRelease:
        data->dragging = 0;
        break;
    case MotionNotify:
        if (data->dragging)
            on_drag(display, w, data, &event->xmotion);
        break;
    case EnterNotify:
    case FocusIn:
        tslSetFocusIC_XIM(w);
        move_preedit(w, data);
        break;
    case FocusOut:
        tslUnsetFocusIC_XIM(w);
        break;
    case ConfigureNotify:
        if (event->xconfigure.window != w->xwin)
            break;
        scroll_to_caret(w, data);
        Draw(display, w);
        move_preedit(w, data);
        break;
    case MapNotify:
    case TSLM_UPDATE:
    case TSLM_PAINT:
        Draw(display, w);
        move_preedit(w, data);
        break;
    case TSLM_DESTROY:
        free(data->copyText);
        data->copyText = nullptr;
        tslDetachIM(w, 1);
        break;
    default:
        break;
    }
    return status;
}

static unsigned long caret_pixel(Display* display, TslWindow* w, InputWndData* data)
{
    if (!data->caretReady || data->caretBack != w->backPixel) {
        int r = 0, g = 0, b = 0;
        tslGetRGB(display, g_tessel.colormap, w->backPixel, &r, &g, &b);
        data->caretPixel = tslGetAlterColor(display, g_tessel.colormap, r, g, b, TSL_ALTER_CONTRAST);
        data->caretBack = w->backPixel;
        data->caretReady = 1;
    }
    return data->caretPixel;
}

static int Draw(Display* display, TslWindow* w)
{
    InputWndData* data = data_of(w);
    if (!data)
        return 0;
    const InputLine* line = &data->line;
    tslClearWindow(display, w, 1);
    Pixmap buffer = tslGetDraw(w);
    int h = tslGetCharHeight(nullptr);
    int y = (w->rect.height - h) / 2;
    tslDrawText(display, buffer, nullptr, nullptr, w->foreFontPixel, ~0UL,
                input_margin(line->drawPos), y, line->text + line->drawPos);
    if (line->selLen) {
        tslDrawText(display, buffer, nullptr, nullptr, w->backFontPixel, w->foreFontPixel,
                    input_selection_x(line, tslTextNWidth), y, line->selText);
    } else {
        int x = input_caret_x(line, tslTextNWidth);
        unsigned long pixel = caret_pixel(display, w, data);
        tslDrawLine(display, buffer, pixel, tslSetRect(x, y, 0, h - 1));
        tslDrawLine(display, buffer, pixel, tslSetRect(x + 1, y, 0, h - 1));
    }
    tslDraw3DRectangle(display, buffer, tslSetRect(0, 0, w->rect.width - 1, w->rect.height - 1), 0);
    tslRedrawWindow(display, w);
    return 1;
}

char* tslGetText_InputWnd(TslWindow* w)
{
    InputWndData* data = data_of(w);
    return data ? data->line.text : nullptr;
}

int tslSetText_InputWnd(TslWindow* w, const char* text)
{
    InputWndData* data = data_of(w);
    if (!data)
        return -1;
    if (text && strlen(text) >= INPUT_TEXT_MAX) {
        fprintf(stderr, kTooLongSet, INPUT_TEXT_MAX);
        return -1;
    }
    input_reset(&data->line, text);
    tslSendEvent(w, TSLM_PAINT);
    return (int)strlen(data->line.text);
}

int tslGetCaretPos_InputWnd(TslWindow* w)
{
    InputWndData* data = data_of(w);
    return data ? data->line.caret : 0;
}

int tslSetCaretPos_InputWnd(TslWindow* w, int pos)
{
    InputWndData* data = data_of(w);
    if (!data)
        return 0;
    input_set_caret(&data->line, g_tessel.charCode, pos);
    scroll_to_caret(w, data);
    tslSendEvent(w, TSLM_UPDATE);
    return 1;
}

char* tslGetSelectText_InputWnd(TslWindow* w)
{
    InputWndData* data = data_of(w);
    return data ? data->line.selText : nullptr;
}

int tslSetSelectText_InputWnd(TslWindow* w, int start, int end)
{
    InputWndData* data = data_of(w);
    if (!data || !input_select(&data->line, g_tessel.charCode, start, end))
        return 0;
    scroll_to_caret(w, data);
    tslSendEvent(w, TSLM_PAINT);
    return 1;
}

int tslAddText_InputWnd(TslWindow* w, const char* text)
{
    InputWndData* data = data_of(w);
    if (!data || !text)
        return -1;
    int bell = 0;
    int result = input_add(&data->line, g_tessel.charCode, text, &bell);
    if (bell)
        tslBell();
    if (result < 0)
        return -1;
    scroll_to_caret(w, data);
    tslSendEvent(w, TSLM_PAINT);
    return result;
}

int tslDelSelectText_InputWnd(TslWindow* w)
{
    InputWndData* data = data_of(w);
    if (!data)
        return 0;
    if (data->line.selLen) {
        input_delete_selection(&data->line);
        scroll_to_caret(w, data);
    }
    tslSendEvent(w, TSLM_PAINT);
    return 1;
}

int tslCopyText_InputWnd(TslWindow* w)
{
    InputWndData* data = data_of(w);
    if (!data)
        return 0;
    free(data->copyText);
    data->copyText = nullptr;
    if (!data->line.selLen)
        return 1;
    data->copyText = strdup(data->line.selText);
    return data->copyText ? 1 : 0;
}

int tslCutText_InputWnd(TslWindow* w)
{
    InputWndData* data = data_of(w);
    if (!data)
        return 0;
    if (!data->line.selLen)
        return 1;
    int copied = tslCopyText_InputWnd(w);
    tslDelSelectText_InputWnd(w);
    return copied;
}

int tslPasteText_InputWnd(TslWindow* w, const char* text)
{
    InputWndData* data = data_of(w);
    if (!data)
        return 0;
    if (!text)
        text = data->copyText;
    if (text)
        tslAddText_InputWnd(w, text);
    return 1;
}

char* tslGetCopyText_InputWnd(TslWindow* w)
{
    InputWndData* data = data_of(w);
    return data ? data->copyText : nullptr;
}

static InputWndData* data_of(TslWindow* w)
{
    if (!w || w->kind != TSLK_INPUTWND)
        return nullptr;
    return static_cast<InputWndData*>(w->option);
}

static void scroll_to_caret(TslWindow* w, InputWndData* data)
{
    data->line.drawPos = input_draw_pos(&data->line, g_tessel.charCode, tslTextNWidth, w->rect.width);
}

static void move_preedit(TslWindow* w, InputWndData* data)
{
    int h = tslGetCharHeight(nullptr);
    tslMovePreedit_XIM(w, input_caret_x(&data->line, tslTextNWidth), (w->rect.height - h) / 2 + h);
}

static int hit(InputWndData* data, int x)
{
    return input_hit(&data->line, g_tessel.charCode, tslTextNWidth, x);
}
