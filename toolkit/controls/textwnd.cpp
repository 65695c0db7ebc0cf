// The text window: a read-only, multi-line text display.  It keeps its own
// copy of a (possibly Japanese) text, wraps it to its width and paints the
// lines from a scroll position down; with hiDraw on it scrolls by moving what
// is already painted and drawing only the lines that come into view.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "controls/text_wrap.h"
#include "core/window_private.h"
#include "tessel.h"

struct TextLine {
    char* text;  // points right behind the record, in the same block
    int length;
    int width;
};

struct TextWndData {
    char* text;
    ObjArray lines;  // TextLine*, each one block, so the array frees them whole
    int pos;
    int drawnPos;
    int lineCount;
    int length;
    int outline;
    int hiDraw;
    int frame;
};

static const char kNoMemory[] = "Error: Can't allocate memory.\n";

// The first line's top-left corner; the wrap limit leaves kRightMargin
// pixels for the gap and the frame at the right.
static const int kTextLeft = 4;
static const int kTextTop = 2;
static const int kRightMargin = 5;
static const int kBottomMargin = 3;
static const int kSunkenFrame = 3;
static const unsigned long kNoBackground = ~0UL;
static const int kToBottom = INT_MAX;

enum SplitMode { SPLIT_PLAIN = 0, SPLIT_BUSY = 1 };

// What one paint needs: where to draw, the clip, the line height and the
// halo colour when the outline is on.
struct Painter {
    Display* display;
    TslWindow* w;
    TextWndData* data;
    Pixmap d;
    TslRect clip;
    int h;
    unsigned long halo;
};

static void Draw(Display* display, TslWindow* w);
static int DrawUpdate(Display* display, TslWindow* w);
static int GetTextList(Display* display, TslWindow* w, int mode);

static TextWndData* data_of(TslWindow* w)
{
    return (w && w->kind == TSLK_TEXTWND) ? static_cast<TextWndData*>(w->option) : nullptr;
}

static int line_height()
{
    int h = tslGetCharHeight(nullptr);
    return h > 0 ? h : 1;
}

TslWindow* tslCreateWindow_TextWnd(Display* display, TslWindow* parent, TslRect rect,
                                   const char* name, const char* text, int length)
{
    if (length < 0 || (!text && length > 0))
        return nullptr;
    TslWindow* w = tslCreateWindow(display, parent, tslRectPos(rect), tslRectSize(rect), 0, name,
                                   WndProc_TextWnd);
    if (!w)
        return nullptr;
    w->kind = TSLK_TEXTWND;
    TextWndData* data = static_cast<TextWndData*>(tslAlloc(sizeof(TextWndData)));
    if (data) {
        memset(data, 0, sizeof *data);
        data->frame = kSunkenFrame;
        tslSetOption(w, data);
        data->text = static_cast<char*>(tslAlloc((size_t)length + 1));
    }
    int count = -1;
    if (data && data->text) {
        if (length > 0)
            memcpy(data->text, text, (size_t)length);
        data->text[length] = '\0';
        data->length = length;
        count = GetTextList(display, w, SPLIT_PLAIN);
    }
    if (count < 0) {
        tslDestroyWindow(display, w);
        return nullptr;
    }
    data->lineCount = count;
    tslSetCustom(w, 1);
    // Painting goes to the buffer, so exposures are answered from it.
    tslSetRedrawBuffer(w, 1);
    tslSetBackColor(display, w, g_tessel.paperPixel);
    return w;
}

int WndProc_TextWnd(Display* display, TslWindow* w, XEvent* event)
{
    if (event->xany.window != w->xwin)
        return w->status;
    int status = tslWndProc_Default(display, w, event);
    TextWndData* data = data_of(w);
    if (!data)
        return status;
    switch (event->type) {
    case ConfigureNotify:
        // The wrap follows the width; a move alone changes nothing.
        if (event->xconfigure.window == w->xwin && w->resized) {
            int count = GetTextList(display, w, SPLIT_PLAIN);
            if (count != -1)
                data->lineCount = count;
            data->pos = text_wrap_clamp_pos(data->pos, data->lineCount, line_height(), w->rect.height);
            Draw(display, w);
        }
        break;
    case TSLM_UPDATE:
        DrawUpdate(display, w);
        break;
    case TSLM_PAINT:
        Draw(display, w);
        break;
    case TSLM_DESTROY:
        free(data->text);
        data->text = nullptr;
        tslFree_ObjArray(data->lines);
        data->lines = nullptr;
        data->lineCount = 0;
        break;
    default:
        break;
    }
    return status;
}

static TextLine* line_at(const TextWndData* data, int index)
{
    if (!data->lines || index < 0 || index >= data->lineCount)
        return nullptr;
    return static_cast<TextLine*>(data->lines[index]);
}

static Painter painter(Display* display, TslWindow* w, TextWndData* data)
{
    Painter p{display, w, data, tslGetDraw(w), TslRect{}, line_height(), 0};
    int width = w->rect.width - kRightMargin;
    int height = w->rect.height - kBottomMargin;
    p.clip = tslSetRect(kTextLeft, kTextTop, width > 0 ? width : 0, height > 0 ? height : 0);
    if (data->outline) {
        int r = 0, g = 0, b = 0;
        tslGetRGB(display, g_tessel.colormap, w->foreFontPixel, &r, &g, &b);
        p.halo = tslGetAlterColor(display, g_tessel.colormap, r, g, b, TSL_ALTER_CONTRAST);
    }
    return p;
}

// A closing line feed belongs to the line but is not drawn: today's fonts
// have a visible glyph for it.
static int drawn_length(const TextLine* line)
{
    int n = line->length;
    return (n > 0 && line->text[n - 1] == '\n') ? n - 1 : n;
}

// The line drawn eight times around its place in the contrasting colour.
static void DrawOutLineText(const Painter& p, const TextLine* line, int x, int y)
{
    static const int offsets[8][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1},
                                      {-1, 0},  {1, 0},  {0, -1}, {0, 1}};
    for (const auto& o : offsets)
        tslDrawNTextRRg(p.display, p.d, p.clip, nullptr, nullptr, p.halo, kNoBackground, x + o[0],
                        y + o[1], line->text, drawn_length(line));
}

// Clears the rows [first, last) inside the text rectangle and draws the
// lines that belong there, down to the window's bottom edge.
static void paint_rows(const Painter& p, int first, int last)
{
    int height = p.w->rect.height;
    long top = kTextTop + (long)first * p.h;
    long bottom = last == kToBottom ? height : kTextTop + (long)last * p.h;
    if (bottom > height)
        bottom = height;
    if (top >= bottom)
        return;
    TslRect band = tslGetInRect(tslSetRect(kTextLeft, (int)top, p.w->rect.width, (int)(bottom - top)), p.clip);
    tslClearRectWindow(p.display, p.w, tslRectPos(band), tslRectSize(band), 1);
    for (int row = first; row < last; row++) {
        long y = kTextTop + (long)row * p.h;
        const TextLine* line = line_at(p.data, p.data->pos + row);
        if (y >= height || !line)
            break;
        if (p.data->outline)
            DrawOutLineText(p, line, kTextLeft, (int)y);
        tslDrawNTextRRg(p.display, p.d, p.clip, nullptr, nullptr, p.w->foreFontPixel, kNoBackground,
                        kTextLeft, (int)y, line->text, drawn_length(line));
    }
}

static void Draw(Display* display, TslWindow* w)
{
    TextWndData* data = data_of(w);
    Painter p = painter(display, w, data);
    tslClearWindow(display, w, 1);
    paint_rows(p, 0, kToBottom);
    tslDrawFrame(display, p.d, tslSetRect(0, 0, w->rect.width - 1, w->rect.height - 1), data->frame);
    tslRedrawWindow(display, w);
    data->drawnPos = data->pos;
}

// Moves the rows still shown by the scroll distance and paints the rows
// that come into view; the frame stays as it is.
static void scroll_by_copy(const Painter& p, int delta, int visible)
{
    TslWindow* w = p.w;
    int rows = delta > 0 ? delta : -delta;
    int shift = rows * p.h;
    unsigned int clipPos = tslRectPos(p.clip);
    unsigned int clipSize = tslRectSize(p.clip);
    if (delta > 0) {
        tslCopyWindowRRg(p.display, w, clipPos, clipSize, tslPos(kTextLeft, kTextTop + shift),
                         tslSize(w->rect.width, w->rect.height), kTextLeft, kTextTop, 1);
        paint_rows(p, visible - rows, kToBottom);
    } else {
        tslCopyWindowRRg(p.display, w, clipPos, clipSize, tslPos(kTextLeft, kTextTop),
                         tslSize(w->rect.width, w->rect.height - shift), kTextLeft, kTextTop + shift, 1);
        paint_rows(p, 0, rows);
    }
}

static int DrawUpdate(Display* display, TslWindow* w)
{
    TextWndData* data = data_of(w);
    if (data->pos == data->drawnPos || !data->lines || data->pos < 0 || data->pos >= data->lineCount)
        return 0;
    Painter p = painter(display, w, data);
    int delta = data->pos - data->drawnPos;
    int visible = text_wrap_visible(w->rect.height, p.h);
    // A copied wallpaper would no longer line up with the window.
    if (data->hiDraw && !w->wallPaper && (delta > 0 ? delta : -delta) < visible)
        scroll_by_copy(p, delta, visible);
    else
        paint_rows(p, 0, kToBottom);
    tslRedrawWindow(display, w);
    data->drawnPos = data->pos;
    return 1;
}

static int single_width(void*, unsigned char c)
{
    char ch = (char)c;
    return XTextWidth(g_tessel.font, &ch, 1);
}

static int pair_width(void*, unsigned char row, unsigned char cell)
{
    XChar2b ch{row, cell};
    return XTextWidth16(g_tessel.fontKanji ? g_tessel.fontKanji : g_tessel.font, &ch, 1);
}

static void let_events_through(void* display)
{
    tslHookEvent(static_cast<Display*>(display), nullptr);
}

static ObjArray make_lines(const char* text, const std::vector<TextWrapLine>& wrapped)
{
    ObjArray lines = static_cast<ObjArray>(tslAlloc((wrapped.size() + 1) * sizeof(void*)));
    if (!lines)
        return nullptr;
    lines[0] = nullptr;
    for (size_t i = 0; i < wrapped.size(); i++) {
        const TextWrapLine& src = wrapped[i];
        TextLine* line = static_cast<TextLine*>(tslAlloc(sizeof(TextLine) + (size_t)src.length + 1));
        if (!line) {
            tslFree_ObjArray(lines);
            return nullptr;
        }
        line->text = reinterpret_cast<char*>(line + 1);
        memcpy(line->text, text + src.start, (size_t)src.length);
        line->text[src.length] = '\0';
        line->length = src.length;
        line->width = src.width;
        lines[i] = line;
        lines[i + 1] = nullptr;
    }
    return lines;
}

// Wraps the text for the current width; the old lines are replaced only
// when everything succeeded.  A busy split lets pending events through and
// keeps the top-level window's size fixed meanwhile.
static int GetTextList(Display* display, TslWindow* w, int mode)
{
    TextWndData* data = data_of(w);
    int h = line_height();
    // Narrower than two characters: a line could hold no character at all.
    if (!data || !g_tessel.font || w->rect.width < 2 * h + kRightMargin)
        return -1;
    bool busy = mode == SPLIT_BUSY;
    TslWindow* top = tslGetTopWindow(w);
    if (busy)
        tslFixWindow(display, top, 1);
    std::vector<TextWrapLine> wrapped;
    TextWrapFonts fonts{display, single_width, pair_width, busy ? let_events_through : nullptr};
    bool ok = text_wrap(data->text, data->length, w->rect.width - kRightMargin, fonts, &wrapped);
    if (busy) {
        // The events let through may have destroyed the windows.
        if (!CheckTslPointer(w))
            return -1;
        if (CheckTslPointer(top))
            tslFixWindow(display, top, 0);
    }
    ObjArray lines = ok ? make_lines(data->text, wrapped) : nullptr;
    if (!lines)
        return -1;
    tslFree_ObjArray(data->lines);
    data->lines = lines;
    return (int)wrapped.size();
}

char* tslGetText_TextWnd(TslWindow* w)
{
    TextWndData* data = data_of(w);
    return data ? data->text : nullptr;
}

int tslSetText_TextWnd(TslWindow* w, const char* text, int length)
{
    TextWndData* data = data_of(w);
    if (!data || length < 0 || (!text && length > 0))
        return -1;
    if (!text)
        text = "";
    if (data->text && length == data->length && memcmp(data->text, text, (size_t)length) == 0)
        return data->lineCount;
    free(data->text);
    data->text = static_cast<char*>(malloc((size_t)length + 1));
    if (!data->text) {
        fputs(kNoMemory, stderr);
        tslFree_ObjArray(data->lines);
        data->lines = nullptr;
        data->lineCount = data->pos = data->length = 0;
        return -1;
    }
    if (length > 0)
        memcpy(data->text, text, (size_t)length);
    data->text[length] = '\0';
    data->length = length;
    data->pos = 0;
    int count = GetTextList(g_tessel.display, w, SPLIT_BUSY);
    // The events let through while splitting may have taken the window.
    if (!CheckTslPointer(w))
        return -1;
    if (count != -1)
        data->lineCount = count;
    tslSendEvent(w, TSLM_PAINT);
    return data->lineCount;
}

int tslGetLines_TextWnd(TslWindow* w)
{
    TextWndData* data = data_of(w);
    return data ? data->lineCount : 0;
}

int tslGetPos_TextWnd(TslWindow* w)
{
    TextWndData* data = data_of(w);
    return data ? data->pos : 0;
}

int tslSetPos_TextWnd(TslWindow* w, int pos)
{
    TextWndData* data = data_of(w);
    if (!data || pos < 0 || pos >= data->lineCount)
        return 0;
    if (pos == data->pos)
        return 1;
    data->pos = pos;
    tslSendEvent(w, TSLM_UPDATE);
    return 1;
}

int tslSetOutLine_TextWnd(TslWindow* w, int on)
{
    TextWndData* data = data_of(w);
    if (!data)
        return 0;
    on = on ? 1 : 0;
    if (on == data->outline)
        return 1;
    data->outline = on;
    // The halo cannot be scrolled by copying.
    if (on)
        data->hiDraw = 0;
    tslSendEvent(w, TSLM_PAINT);
    return 1;
}

int tslSetHiDraw_TextWnd(TslWindow* w, int on)
{
    TextWndData* data = data_of(w);
    if (!data)
        return 0;
    on = on ? 1 : 0;
    if (on == data->hiDraw)
        return 1;
    data->hiDraw = on;
    if (on) {
        data->outline = 0;
        tslSetWallPaper(g_tessel.display, w, nullptr);
    }
    tslSendEvent(w, TSLM_PAINT);
    return 1;
}

int tslSetFrame_TextWnd(TslWindow* w, int style)
{
    TextWndData* data = data_of(w);
    if (!data)
        return 0;
    if (style != data->frame) {
        data->frame = style;
        tslSendEvent(w, TSLM_PAINT);
    }
    return 1;
}
