// The text box: a text window with a vertical scroll bar at its right edge,
// kept in step.  The bar scrolls the text; a re-wrap of the text (after a
// resize) gives the bar its new length and the text's clamped position.
#include <climits>
#include <cstring>

#include "controls/control_layout.h"
#include "tessel.h"

// The line height when the box was made: the bar's step, and its pixels
// per line of text.
struct TextBoxData {
    int rowHeight;
};

static const char kTextName[] = "_tslText_TextBox";
static const char kScrollName[] = "_tslScroll_TextBox";

static TextBoxData* data_of(TslWindow* box)
{
    return (box && box->kind == TSLK_TEXTBOX) ? static_cast<TextBoxData*>(box->option) : nullptr;
}

static TslWindow* text_of(TslWindow* box)
{
    return data_of(box) ? tslGetChildWindowFromIndex(box, 0) : nullptr;
}

static TslWindow* bar_of(TslWindow* box)
{
    return data_of(box) ? tslGetChildWindowFromIndex(box, 1) : nullptr;
}

static TslRect rect_of(const Box& b)
{
    return tslSetRect(b.x, b.y, b.width, b.height);
}

TslWindow* tslCreateWindow_TextBox(Display* display, TslWindow* parent, TslRect rect,
                                   const char* name, const char* text)
{
    TslWindow* box = tslCreateWindow(display, parent, tslRectPos(rect), tslRectSize(rect), 0, name,
                                     WndProc_TextBox);
    if (!box)
        return nullptr;
    box->kind = TSLK_TEXTBOX;
    TextBoxData* data = static_cast<TextBoxData*>(tslAlloc(sizeof(TextBoxData)));
    if (!data) {
        tslDestroyWindow(display, box);
        return nullptr;
    }
    data->rowHeight = tslGetCharHeight(nullptr);
    if (data->rowHeight < 1)
        data->rowHeight = 1;
    tslSetOption(box, data);
    tslSetCustom(box, 1);
    tslSetRedrawBuffer(box, 1);
    if (!text)
        text = "";
    size_t length = strlen(text);
    TextBoxLayout l = textbox_layout(rect.width, rect.height, tslGetHeight_ScrollBar());
    TslWindow* textWnd = tslCreateWindow_TextWnd(display, box, rect_of(l.text), kTextName, text,
                                                 length > INT_MAX ? INT_MAX : (int)length);
    if (!textWnd) {
        tslDestroyWindow(display, box);
        return nullptr;
    }
    tslSetHiDraw_TextWnd(textWnd, 1);
    long max = (long)tslGetLines_TextWnd(textWnd) * data->rowHeight;
    TslWindow* bar = tslCreateWindow_VScrollBar(display, box, rect_of(l.bar), kScrollName, 0,
                                                max > INT_MAX ? INT_MAX : (int)max, data->rowHeight,
                                                nullptr);
    if (!bar) {
        tslDestroyWindow(display, box);
        return nullptr;
    }
    return box;
}

static void fit_bar(TslWindow* box, TslWindow* textWnd, TslWindow* bar)
{
    long max = (long)tslGetLines_TextWnd(textWnd) * data_of(box)->rowHeight;
    tslSetMax_ScrollBar(bar, max > INT_MAX ? INT_MAX : (int)max);
}

// In raw mode the box hears every event of its two children and hands it
// on: first to the bar, whose position the text then takes, then to the
// text window.  The box itself paints nothing: its children cover it.
int WndProc_TextBox(Display* display, TslWindow* box, XEvent* event)
{
    int status = box->status;
    TslWindow* textWnd = text_of(box);
    TslWindow* bar = bar_of(box);
    if (textWnd && bar) {
        bar->status = box->status;
        status = tslCallWndProc(display, bar, event, 0);
        // The bar's answer to its own resize: its position may just have
        // been clamped to the old line count, which the text has not.
        if (status != TSLN_SCROLL_CONFIGURE)
            tslSetPos_TextWnd(textWnd, tslGetPos_ScrollBar(bar));
        textWnd->status = status;
        status = tslCallWndProc(display, textWnd, event, 0);
        if (event->type == ConfigureNotify && event->xconfigure.window == textWnd->xwin) {
            fit_bar(box, textWnd, bar);
            tslSetPos_ScrollBar(bar, tslGetPos_TextWnd(textWnd));
        }
    }
    if (event->xany.window != box->xwin)
        return status;
    status = tslWndProc_Default(display, box, event);
    if (event->type == ConfigureNotify && event->xconfigure.window == box->xwin && box->resized &&
        textWnd && bar) {
        TextBoxLayout l = textbox_layout(box->rect.width, box->rect.height, tslGetHeight_ScrollBar());
        XMoveResizeWindow(display, textWnd->xwin, l.text.x, l.text.y, (unsigned)l.text.width,
                          (unsigned)l.text.height);
        XMoveResizeWindow(display, bar->xwin, l.bar.x, l.bar.y, (unsigned)l.bar.width,
                          (unsigned)l.bar.height);
    }
    return status;
}

int tslGetPos_TextBox(TslWindow* box)
{
    return tslGetPos_TextWnd(text_of(box));
}

int tslSetPos_TextBox(TslWindow* box, int pos)
{
    int result = tslSetPos_TextWnd(text_of(box), pos);
    if (result > 0)
        tslSetPos_ScrollBar(bar_of(box), pos);
    return result;
}

char* tslGetText_TextBox(TslWindow* box)
{
    return tslGetText_TextWnd(text_of(box));
}

int tslSetText_TextBox(TslWindow* box, const char* text)
{
    TslWindow* textWnd = text_of(box);
    TslWindow* bar = bar_of(box);
    if (!textWnd || !bar)
        return 0;
    if (!text)
        text = "";
    size_t length = strlen(text);
    int result = tslSetText_TextWnd(textWnd, text, length > INT_MAX ? INT_MAX : (int)length);
    // Also -1 when events served during the wrap took the box (and with it
    // the text window) away.
    if (result == -1)
        return result;
    tslSetPos_ScrollBar(bar, 0);
    fit_bar(box, textWnd, bar);
    return result;
}

int tslGetLines_TextBox(TslWindow* box)
{
    return tslGetLines_TextWnd(text_of(box));
}

int tslSetOutLine_TextBox(TslWindow* box, int on)
{
    return tslSetOutLine_TextWnd(text_of(box), on);
}

int tslSetHiDraw_TextBox(TslWindow* box, int on)
{
    TslWindow* textWnd = text_of(box);
    int result = tslSetHiDraw_TextWnd(textWnd, on);
    if (result && !on)
        tslSetWallPaper(g_tessel.display, textWnd, g_tessel.wallImage);
    return result;
}

int tslSetFrame_TextBox(TslWindow* box, int style)
{
    return tslSetFrame_TextWnd(text_of(box), style);
}

TslWindow* tslGetAttachTextWnd_TextBox(TslWindow* box)
{
    return text_of(box);
}
