/* Tessel: a small Xlib widget toolkit.  The one public header: shared records,
 * codes and every tsl function of the toolkit. */
#ifndef TESSEL_H
#define TESSEL_H

#include <stddef.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Rectangles and packed geometry ------------------------------------ */

typedef struct TslRect {
    short x;
    short y;
    unsigned short width;
    unsigned short height;
} TslRect;

/* A position word carries x in its low 16 bits and y in its high 16 bits;
 * a size word carries width low and height high. */
static inline unsigned int tslPos(int x, int y)
{
    return (unsigned int)(unsigned short)x | ((unsigned int)(unsigned short)y << 16);
}
static inline unsigned int tslSize(int width, int height)
{
    return (unsigned int)(unsigned short)width | ((unsigned int)(unsigned short)height << 16);
}
static inline unsigned int tslRectPos(TslRect r) { return tslPos(r.x, r.y); }
static inline unsigned int tslRectSize(TslRect r) { return tslSize(r.width, r.height); }
static inline int tslPosX(unsigned int pos) { return (short)(pos & 0xFFFF); }
static inline int tslPosY(unsigned int pos) { return (short)(pos >> 16); }
static inline int tslSizeW(unsigned int size) { return (int)(size & 0xFFFF); }
static inline int tslSizeH(unsigned int size) { return (int)(size >> 16); }
static inline TslRect tslUnpackRect(unsigned int pos, unsigned int size)
{
    TslRect r;
    r.x = (short)(pos & 0xFFFF);
    r.y = (short)(pos >> 16);
    r.width = (unsigned short)(size & 0xFFFF);
    r.height = (unsigned short)(size >> 16);
    return r;
}

/* ---- Codes -------------------------------------------------------------- */

/* toolkit messages */
#define TSLM_UPDATE 100
#define TSLM_PAINT 101
#define TSLM_TIMER 102
#define TSLM_RESERVED 103
#define TSLM_DESTROY 104
/* a scroll bar's auto-repeat step, sent to itself */
#define TSLM_REPEAT 5011

/* return statuses */
#define TSLR_NONE 0
#define TSLR_OK 1
#define TSLR_CLOSE 130
#define TSLR_DESTROYED 140

/* window kinds */
#define TSLK_TEXTWND 10
#define TSLK_TEXTBOX 20
#define TSLK_SCROLLBAR 30
#define TSLK_BUTTON 40
#define TSLK_MENU 50
#define TSLK_MENUBAR 60
#define TSLK_TOOLBAR 70
#define TSLK_LISTBOX 80
#define TSLK_LISTWND 90
#define TSLK_MSGDLG 100
#define TSLK_INPUTWND 110
#define TSLK_SELECTBTN 140
#define TSLK_WINDOW 1000

/* image formats */
#define TSL_IMAGE_NONE 0
#define TSL_IMAGE_BMP1 1
#define TSL_IMAGE_BMP4 2
#define TSL_IMAGE_BMP8 3
#define TSL_IMAGE_BMP24 4
#define TSL_IMAGE_BMPX 5
#define TSL_IMAGE_XPM 6
#define TSL_IMAGE_JPEG 7
#define TSL_IMAGE_PNG 8
#define TSL_IMAGE_GIF 9

/* character codes */
#define TSL_CODE_NOTEXT 0
#define TSL_CODE_ASCII 1
#define TSL_CODE_JIS 2
#define TSL_CODE_SJIS 3
#define TSL_CODE_EUC 4

/* byte kinds of tslCheckChar */
#define TSL_CHAR_NONE 0
#define TSL_CHAR_SINGLE 1
#define TSL_CHAR_LEAD 2
#define TSL_CHAR_TRAIL 18

/* colour alteration modes */
#define TSL_ALTER_NEAR 0
#define TSL_ALTER_LIGHT 1
#define TSL_ALTER_SHADOW 2
#define TSL_ALTER_CONTRAST 3

/* input mask every toolkit window selects */
#define TSL_EVENT_MASK 0xfa807fL

/* sizes of the global tables */
#define TSL_CURSOR_COUNT 3
#define TSL_IMAGE_COUNT 21
#define TSL_COLOR_COUNT 16

/* the resource store's value buffers hold this many bytes, terminator included */
#define TSL_RC_VALUE_SIZE 256

/* the file dialog's result buffer: the caller passes this many bytes */
#define TSL_FILE_NAME_SIZE 4096

/* file dialog modes */
#define TSL_FILEDLG_OPEN 500
#define TSL_FILEDLG_SAVE 501

/* control notification codes, passed to event callbacks and returned by
 * control procedures */
#define TSLN_BUTTON_DOWN 110  /* push button clicked; toggle button went down; OK */
#define TSLN_BUTTON_UP 120    /* toggle button went up; Cancel */
#define TSLN_SELECT 150       /* select button chosen; list item clicked */
#define TSLN_DOUBLE_CLICK 160 /* list item double-clicked */
#define TSLN_SCROLL 170       /* scroll bar moved by the user */
#define TSLN_MENU 180         /* menu item chosen */
#define TSLN_SCROLL_CONFIGURE 22 /* scroll bar handled its own ConfigureNotify */
#define TSLN_SCROLL_SET 1     /* tslSetPos_ScrollBar moved the bar */

/* ---- Records ------------------------------------------------------------ */

typedef struct TslImage {
    Pixmap pixmap;
    Pixmap mask;
    GC gc;
    int width;
    int height;
    int format;
} TslImage;

struct TslWindow;

typedef int (*TslWndProc)(Display* display, struct TslWindow* window, XEvent* event);
typedef int (*TslEventCallback)(struct TslWindow* control, int code, int arg1, int arg2);
typedef int (*TslKeyEventCallback)(struct TslWindow* target, XEvent* event, KeySym key);
typedef int (*TslIdlingCallback)(struct TslWindow* window);
typedef int (*TslUpdateWindowCallback)(struct TslWindow* window);
typedef void (*TslDestructCallback)(void);
typedef void (*TslDebugCallback)(Display* display, struct TslWindow* window, XEvent* event);

typedef struct TslGlobal {
    char version[32];
    Display* display;
    XIM im;
    GC gc;
    int screenWidth;
    int screenHeight;
    int depth;
    Colormap colormap;
    Cursor cursors[TSL_CURSOR_COUNT];
    TslImage* images[TSL_IMAGE_COUNT];
    unsigned long colors[TSL_COLOR_COUNT];
    unsigned long* colormapTable;
    int cursorCount;
    int imageCount;
    int colorCount;
    TslDebugCallback debugCallback;
    char** selectedFiles;
    int interval;
    int doubleClickTime;
    int mouseButton;
    int mouseRightHand;
    int tenKey;
    int charCode;
    int useIM;
    unsigned long backPixel;
    unsigned long borderPixel;
    unsigned long fontPixel;
    unsigned long fontContrastPixel;
    unsigned long paperPixel;
    unsigned long backLightPixel;
    unsigned long backShadowPixel;
    unsigned long actionPixel;
    unsigned long backNearPixel;
    char colorNames[9][50];
    TslImage* wallImage;
    XFontStruct* font;
    XFontStruct* fontKanji;
    XFontSet fontSet;
    char programName[80];
    char displayName[32];
    char geometry[80];
    GC backGC;
    GC fontGC;
    GC kanjiGC;
} TslGlobal;

extern TslGlobal g_tessel;

typedef struct TslWindow {
    Window xwin;
    Window xparent;
    Atom wmDeleteAtom;
    Pixmap redrawPixmap;
    TslRect rect;
    TslRect bufferRect;
    TslRect autoRedrawArea;
    unsigned long borderPixel;
    unsigned long backPixel;
    unsigned long foreFontPixel;
    unsigned long backFontPixel;
    TslImage* wallPaper;
    Pixmap wallPaperMask;
    GC gc;
    Time keyPressTime;
    Time buttonPressTime;
    Time motionTime;
    unsigned int drawStampShown;
    unsigned int drawStamp;
    int kind;
    int status;
    int shown;
    int timerEvent;
    int custom;
    int redrawBuffer;
    int allEvent;
    int defaultWndProcEvent;
    int resized;
    int autoRedraw;
    int minMaxSize[4];
    Cursor cursor;
    XIC ic;
    XIMStyle imStyle;
    char* caption;
    TslWndProc wndProc;
    TslEventCallback eventCallback;
    TslKeyEventCallback keyEventCallback;
    TslIdlingCallback idlingCallback;
    TslUpdateWindowCallback updateWindowCallback;
    struct TslWindow* parent;
    struct TslWindow** children;
    struct TslWindow* contextMenu;
    void* linkWindow;
    void* option;
    TslDestructCallback destructCallback;
} TslWindow;

/* built-in cursor picture */
typedef struct TslCursorData {
    int width;
    int height;
    int hotX;
    int hotY;
    const unsigned char* bits;
    const unsigned char* maskBits;
} TslCursorData;

/* growable, owning, null-terminated array of heap items */
typedef void** ObjArray;

/* ---- Start-up and shutdown ---------------------------------------------- */

Display* tslOpenDisplay(int argc, char** argv);
int tslCloseDisplay(Display* display);

/* ---- Windows and registry ----------------------------------------------- */

TslWindow* tslCreateWindowEx(Display* display, TslWindow* parent, unsigned int position,
                             unsigned int size, int borderWidth, const char* caption,
                             TslWndProc wndProc, int map);
TslWindow* tslCreateWindow(Display* display, TslWindow* parent, unsigned int position,
                           unsigned int size, int borderWidth, const char* caption,
                           TslWndProc wndProc);
int tslDestroyWindow(Display* display, TslWindow* window);

TslWindow* tslGetWindow(const char* name);
TslWindow* tslGetWindowFromXWindow(Window xwin);
TslWindow* tslGetWindowFromIndex(int index);
int tslGetTotalWindows(void);
TslWindow* tslGetChildWindow(TslWindow* window, const char* name);
TslWindow* tslGetChildWindowFromXWindow(TslWindow* window, Window xwin);
TslWindow* tslGetChildWindowFromIndex(TslWindow* window, int index);
int tslGetTotalChildWindows(TslWindow* window);
TslWindow* tslGetTopWindow(TslWindow* window);
TslWindow* tslGetParentWindow(TslWindow* window);
Window tslGetXWindow(TslWindow* window);
Window tslGetWin(TslWindow* window);
int tslCheckShowWindow(TslWindow* window);
int tslIsWindowResized(TslWindow* window);

int tslSetCaption(TslWindow* window, const char* text);
int tslSetBackColor(Display* display, TslWindow* window, unsigned long pixel);
int tslSetWallPaper(Display* display, TslWindow* window, TslImage* image);
int tslSetBorderColor(Display* display, TslWindow* window, unsigned long pixel);
int tslSetForeFontColor(Display* display, TslWindow* window, unsigned long pixel);
int tslSetBackFontColor(Display* display, TslWindow* window, unsigned long pixel);
int tslSetWindowKind(TslWindow* window, int kind);
int tslSetOption(TslWindow* window, void* data);
int tslSetTimerEvent(TslWindow* window, int on);
int tslSetDefaultCursor(TslWindow* window, Cursor cursor);
int tslSetMinMaxSize(TslWindow* window, int minWidth, int minHeight, int maxWidth, int maxHeight);
int tslSetDestructCallBack(TslWindow* window, TslDestructCallback fn);
int tslSetWindowColormap(TslWindow* window, Colormap colormap);
int tslShowWindow(TslWindow* window, int show);
int tslSetWndProc(TslWindow* window, TslWndProc proc);
int tslSetEventCallback(TslWindow* window, TslEventCallback fn);
int tslCallEventCallback(TslWindow* window, int code, int arg1, int arg2);
int tslSetKeyEventCallback(TslWindow* window, TslKeyEventCallback fn);
int tslSetIdolingCallback(TslWindow* window, TslIdlingCallback fn);
int tslSetUpdateWindowCallback(TslWindow* window, TslUpdateWindowCallback fn);
int tslSetCustom(TslWindow* window, int on);
int tslSetRedrawBuffer(TslWindow* window, int on);
int tslSetAllEvent(TslWindow* window, int on);
int tslSetDefaultWndProcEvent(TslWindow* window, int on);
int tslMoveResizeWindow(TslWindow* window, unsigned int position, unsigned int size);
int tslRaiseWindow(TslWindow* window);
int tslSetContextMenu(TslWindow* window, TslWindow* menu);
int tslSetLinkWindow(TslWindow* window, void* link);
int tslSetKeyPressTime(TslWindow* window, Time t);
int tslSetButtonPressTime(TslWindow* window, Time t);
int tslSetMotionTime(TslWindow* window, Time t);

/* ---- Dispatch ------------------------------------------------------------ */

int tslCallWndProc(Display* display, TslWindow* window, XEvent* event, int withChildren);
int tslWndProc_Default(Display* display, TslWindow* window, XEvent* event);
int tslSendEvent(TslWindow* window, int code);

/* ---- Event loop ---------------------------------------------------------- */

int tslMainLoop(Display* display, TslWindow* window);
int tslCheckEvent(Display* display, TslWindow* modal);
int tslHookEvent(Display* display, TslWindow* modal);
int tslTimerEvent(void);
int tslFlush(Display* display);
int tslSetDebugCallback(TslDebugCallback fn);
KeySym tslGetKey(TslWindow* window, XEvent* event);
char* tslGetString(TslWindow* window, XEvent* event, int* length);
int tslFixWindow(Display* display, TslWindow* window, int fix);
int tslCenteringWnd(Display* display, TslWindow* reference, TslWindow* window);
TslRect tslGetScreenCoordinate(TslWindow* window, TslRect rect);

/* ---- Redraw buffer ------------------------------------------------------- */

int tslRedrawWindowEx(Display* display, TslWindow* w, GC gc, unsigned int position, unsigned int size);
int tslRedrawWindow(Display* display, TslWindow* w);
int tslRedrawWindowRg(Display* display, TslWindow* w, Region region);
int tslRedrawWindowRRg(Display* display, TslWindow* w, unsigned int clipPosition, unsigned int clipSize);
int tslRedrawRectWindow(Display* display, TslWindow* w, unsigned int position, unsigned int size);
int tslRedrawRectWindowRg(Display* display, TslWindow* w, Region region, unsigned int position,
                          unsigned int size);
int tslRedrawRectWindowRRg(Display* display, TslWindow* w, unsigned int clipPosition,
                           unsigned int clipSize, unsigned int position, unsigned int size);

int tslClearWindowEx(Display* display, TslWindow* w, GC gc, Region region, unsigned int position,
                     unsigned int size, int toBuffer);
int tslClearWindow(Display* display, TslWindow* w, int toBuffer);
int tslClearWindowRg(Display* display, TslWindow* w, Region region, int toBuffer);
int tslClearWindowRRg(Display* display, TslWindow* w, unsigned int clipPosition, unsigned int clipSize,
                      int toBuffer);
int tslClearRectWindow(Display* display, TslWindow* w, unsigned int position, unsigned int size,
                       int toBuffer);
int tslClearRectWindowRg(Display* display, TslWindow* w, Region region, unsigned int position,
                         unsigned int size, int toBuffer);
int tslClearRectWindowRRg(Display* display, TslWindow* w, unsigned int clipPosition,
                          unsigned int clipSize, unsigned int position, unsigned int size,
                          int toBuffer);

int tslCopyWindowEx(Display* display, TslWindow* w, GC gc, unsigned int sourcePosition,
                    unsigned int size, int destX, int destY, int inBuffer);
int tslCopyWindow(Display* display, TslWindow* w, unsigned int sourcePosition, unsigned int size,
                  int destX, int destY, int inBuffer);
int tslCopyWindowRg(Display* display, TslWindow* w, Region region, unsigned int sourcePosition,
                    unsigned int size, int destX, int destY, int inBuffer);
int tslCopyWindowRRg(Display* display, TslWindow* w, unsigned int clipPosition, unsigned int clipSize,
                     unsigned int sourcePosition, unsigned int size, int destX, int destY,
                     int inBuffer);

Pixmap tslGetDraw(TslWindow* w);
int tslSetAutoRedraw(TslWindow* w, int on);
int tslSetAutoRedrawArea(TslWindow* w, unsigned int position, unsigned int size);

/* ---- Input method -------------------------------------------------------- */

int tslLocale_XIM(const char* locale);
XIM tslOpenIM_XIM(Display* display);
int tslCloseIM_XIM(XIM im);
XIMStyle tslSelectStyle_XIM(XIM im, const XIMStyle* styles);
XIC tslCreateIC_XIM(TslWindow* w, XIM im, XIMStyle style, XFontSet fontSet,
                    unsigned long foreground, unsigned long background);
void tslDestroyIC_XIM(XIC ic);
int tslAttachIM(TslWindow* w, XIC ic);
int tslDetachIM(TslWindow* w, int destroy);
int tslSetFocusIC_XIM(TslWindow* w);
int tslUnsetFocusIC_XIM(TslWindow* w);
int tslMovePreedit_XIM(TslWindow* w, int x, int y);
int tslSetStatusArea_XIM(TslWindow* w, unsigned int position, unsigned int size);
XIM tslGetIM_XIM(void);
int tslIsOpenIM_XIM(void);

/* ---- Cursors -------------------------------------------------------------- */

Cursor tslLoadCursor(Display* display, const TslCursorData* data);
int tslSetNormalCursor(Display* display, TslWindow* w);
int tslSetWaitCursor(Display* display, TslWindow* w);

/* ---- Resource file store ------------------------------------------------- */

/* value must point to TSL_RC_VALUE_SIZE bytes holding a NUL-terminated string */
int tslGetRCFileValue(const char* path, const char* group, const char* key, char* value);
int tslSetRCFileValue(const char* path, const char* group, const char* key, const char* value);
int tslSpaceCut(char* str);

/* ---- Colours ------------------------------------------------------------- */

int tslGetRGB(Display* display, Colormap cmap, unsigned long pixel, int* r, int* g, int* b);
unsigned long tslGetColor(Display* display, Colormap cmap, int r, int g, int b);
unsigned long tslGetNamedColor(Display* display, Colormap cmap, const char* name);
unsigned long tslGetAlterColor(Display* display, Colormap cmap, int r, int g, int b, int mode);
unsigned long tslGetAlterNamedColor(Display* display, Colormap cmap, const char* name, int mode);
unsigned long* tslConvertColormap(Display* display, Colormap cmap);
Colormap tslCopyColormap(Display* display, Colormap cmap);
Colormap tslCreate8bppColormap(Display* display);
int tslDumpColormap(Display* display, Colormap cmap);

/* ---- Character codes and text measurement -------------------------------- */

int tslCheckCharCode(const char* str, int len);
int tslToConvCharCode(char* str, int len, int src, int dst);
int tslCheckChar(const char* str, int index);
int tslIsWideCharCode(unsigned char lead, unsigned char trail);
int tslFontNWidth(XFontStruct* font, XFontStruct* kanjiFont, const char* str, int len);
int tslTextNWidth(const char* str, int len);
int tslTextWidth(const char* str);
int tslGetCharHeight(XFontStruct* font);

/* Text from the locale's codeset (file names, text from other programs) in
 * the toolkit's character code, and back; a character that does not convert
 * becomes '?'.  At most size bytes are written, terminator included, cut at
 * a whole character; both return out. */
char* tslLocaleToText(const char* in, char* out, size_t size);
char* tslTextToLocale(const char* in, char* out, size_t size);

/* ---- Utilities and object array ------------------------------------------ */

int tslSetRectangle(TslRect* r, int x, int y, int width, int height);
TslRect tslSetRect(int x, int y, int width, int height);
TslRect tslSetOffsetRect(TslRect r, int dx, int dy);
int tslIsEmptyRect(TslRect r);
int tslPointInRect(int px, int py, TslRect r);
TslRect tslGetInRect(TslRect a, TslRect b);

ObjArray tslNew_ObjArray(void);
int tslGetTotal_ObjArray(ObjArray arr);
ObjArray tslAddItem_ObjArray(ObjArray arr, void* item, int index);
ObjArray tslAddItemEx_ObjArray(ObjArray arr, int total, void* item, int index);
ObjArray tslDelItem_ObjArray(ObjArray arr, int index);
void* tslGetItem_ObjArray(ObjArray arr, int index);
int tslFree_ObjArray(ObjArray arr);
void* tslAlloc(size_t size);

int tslGetShiftState(XKeyEvent* event);
int tslGetShiftKey(XKeyEvent* event);
int tslGetCtrlState(XKeyEvent* event);
int tslGetAltState(XKeyEvent* event);
KeySym tslConvertTenKeyCode(XKeyEvent* event);

int tslSleep(unsigned int microseconds);
int tslBell(void);
int tslResetGC(GC gc);
int tslSetGeometry(TslWindow* w, const char* geometry);
char* tslConvFullPath(char* path, unsigned int size);

/* ---- Drawing primitives -------------------------------------------------- */

int tslDraw3DRectangle(Display* display, Drawable d, TslRect r, int mode);
int tslDrawFrame(Display* display, Drawable d, TslRect r, int style);
int tslDrawLine(Display* display, Drawable d, unsigned long pixel, TslRect line);
int tslDrawLineRg(Display* display, Drawable d, Region rg, unsigned long pixel, TslRect line);
int tslDrawLineRRg(Display* display, Drawable d, TslRect clip, unsigned long pixel, TslRect line);
int tslDrawLineEx(Display* display, Drawable d, GC gc, TslRect line);
int tslDrawButton(Display* display, Drawable d, TslRect r, const char* caption, TslImage* icon,
                  int pressed);
int tslDrawIconButton(Display* display, Drawable d, TslRect r, TslImage* icon, int pressed);
int tslPrint(Drawable d, int x, int y, const char* text);
int tslDrawText(Display* display, Drawable d, XFontStruct* font, XFontStruct* fontKanji,
                unsigned long fg, unsigned long bg, int x, int y, const char* text);
int tslDrawTextRg(Display* display, Drawable d, Region rg, XFontStruct* font,
                  XFontStruct* fontKanji, unsigned long fg, unsigned long bg, int x, int y,
                  const char* text);
int tslDrawTextRRg(Display* display, Drawable d, TslRect clip, XFontStruct* font,
                   XFontStruct* fontKanji, unsigned long fg, unsigned long bg, int x, int y,
                   const char* text);
int tslDrawNText(Display* display, Drawable d, XFontStruct* font, XFontStruct* fontKanji,
                 unsigned long fg, unsigned long bg, int x, int y, const char* text, int len);
int tslDrawNTextRg(Display* display, Drawable d, Region rg, XFontStruct* font,
                   XFontStruct* fontKanji, unsigned long fg, unsigned long bg, int x, int y,
                   const char* text, int len);
int tslDrawNTextRRg(Display* display, Drawable d, TslRect clip, XFontStruct* font,
                    XFontStruct* fontKanji, unsigned long fg, unsigned long bg, int x, int y,
                    const char* text, int len);
int tslDrawTextEx(Display* display, Drawable d, GC gc, XFontStruct* font, XFontStruct* fontKanji,
                  short x, int y, const char* text, int len);

/* ---- Images -------------------------------------------------------------- */

int tslCheckImageFormat(const char* path);
int tslSniffImageFormat(const char* path);
TslImage* tslLoadImage(Display* display, const char* path, Colormap cmap, int format);
TslImage* tslLoadImageFromData(Display* display, char** xpmData);
void tslFreeImage(Display* display, TslImage* img);

/* Called while a picture loads, after each band of rows reaches the server,
 * with the picture so far: rows 0 to rows - 1 from its top are in place.
 * The record is the loader's, good only until the load returns, and its
 * format is not known yet (0).  Lets a program show the top of a large
 * picture while the rest is still loading; null turns it off. */
typedef void (*TslLoadingCallback)(TslImage* partial, int rows);
int tslSetLoadingCallback(TslLoadingCallback fn);

Pixmap tslCreateMaskImage(Display* display, TslImage* img);
void tslDrawImage(Display* display, Drawable d, int x, int y, TslImage* img, int srcX, int srcY,
                  int w, int h);
void tslDrawIcon(Display* display, Drawable d, int x, int y, TslImage* img);
void tslDrawImageRg(Display* display, Drawable d, Region rg, int x, int y, TslImage* img, int srcX,
                    int srcY, int w, int h);
void tslDrawImageRRg(Display* display, Drawable d, TslRect clip, short x, short y, TslImage* img,
                     int srcX, int srcY, unsigned short w, unsigned short h);
void tslDrawImageEx(Display* display, Drawable d, GC gc, int x, int y, TslImage* img, int srcX,
                    int srcY, int w, int h);
/* The part (zx, zy, w, h) of the image as shown scaled to zoomW x zoomH
 * pixels, drawn at (x, y) of d through its mask: filtered by the server
 * (RENDER, bilinear) on true-colour screens, nearest pixel in the client
 * on the others. */
void tslDrawImageScaled(Display* display, Drawable d, int x, int y, TslImage* img, int zoomW,
                        int zoomH, int zx, int zy, int w, int h);

/* ---- Covered-area query -------------------------------------------------- */

ObjArray tslGetStackWindowRect(TslWindow* w);

/* ---- Push button ---------------------------------------------------------- */

TslWindow* tslCreateWindow_Button(Display* display, TslWindow* parent, TslRect rect,
                                  const char* caption, TslImage* icon, TslEventCallback callback);
int WndProc_Button(Display* display, TslWindow* window, XEvent* event);
int tslGetButton_Button(TslWindow* window);
int tslSetButton_Button(TslWindow* window, int state);
int tslSetToggle_Button(TslWindow* window, int flag);
char* tslGetCaption_Button(TslWindow* window);
int tslSetCaption_Button(TslWindow* window, const char* text);
TslImage* tslGetIcon_Button(TslWindow* window);
int tslSetIcon_Button(TslWindow* window, TslImage* icon);
int tslSetEventCallback_Button(TslWindow* window, TslEventCallback callback);

/* ---- Select button -------------------------------------------------------- */

TslWindow* tslCreateWindow_SelectButton(Display* display, TslWindow* parent, TslRect rect,
                                        const char* caption, int horizontal,
                                        TslEventCallback callback);
int WndProc_SelectButton(Display* display, TslWindow* group, XEvent* event);
int tslAddButton_SelectButton(Display* display, TslWindow* group, const char* label,
                              TslImage* icon, int index);
int tslDeleteButton_SelectButton(TslWindow* group, int index);
int tslChangeButton_SelectButton(Display* display, TslWindow* group, const char* label,
                                 TslImage* icon, int index);
int tslSelect_SelectButton(TslWindow* group, int index);
int tslGetSelectIndex_SelectButton(TslWindow* group);
TslWindow* tslGetAttachButtonWnd_SelectButton(TslWindow* group, int index);
int tslSetEventCallback_SelectButton(TslWindow* group, TslEventCallback callback);

/* ---- Scroll bars ---------------------------------------------------------- */

TslWindow* tslCreateWindow_VScrollBar(Display* display, TslWindow* parent, TslRect rect,
                                      const char* name, int pos, int max, int min,
                                      TslEventCallback callback);
TslWindow* tslCreateWindow_HScrollBar(Display* display, TslWindow* parent, TslRect rect,
                                      const char* name, int pos, int max, int min,
                                      TslEventCallback callback);
int WndProc_VScroll(Display* display, TslWindow* window, XEvent* event);
int WndProc_HScroll(Display* display, TslWindow* window, XEvent* event);
int Draw_VScroll(Display* display, TslWindow* window, int part, int force);
int Draw_HScroll(Display* display, TslWindow* window, int part, int force);
int tslGetPos_ScrollBar(TslWindow* window);
int tslGetMax_ScrollBar(TslWindow* window);
int tslGetMin_ScrollBar(TslWindow* window);
int tslSetPos_ScrollBar(TslWindow* window, int pos);
int tslSetMax_ScrollBar(TslWindow* window, int max);
int tslSetMin_ScrollBar(TslWindow* window, int min);
int tslGetHeight_ScrollBar(void);
int tslSetEventCallback_ScrollBar(TslWindow* window, TslEventCallback callback);

/* ---- Popup menu ----------------------------------------------------------- */

TslWindow* tslCreateWindow_Menu(Display* display, TslWindow* parent, const char* name);
int WndProc_Menu(Display* display, TslWindow* menu, XEvent* event);
int tslAddItem_Menu(TslWindow* menu, const char* label, TslEventCallback callback, TslImage* icon,
                    TslWindow* subMenu, int index);
int tslDeleteItem_Menu(TslWindow* menu, int index);
int tslChangeItem_Menu(TslWindow* menu, const char* label, TslEventCallback callback,
                       TslImage* icon, TslWindow* subMenu, int index);
int tslSetCheck_Menu(TslWindow* menu, int index, int flag);
int tslAttach_Menu(Display* display, TslWindow* menu, int x, int y);
int tslDetach_Menu(Display* display, TslWindow* menu);

/* ---- Menu bar ------------------------------------------------------------- */

TslWindow* tslCreateWindow_MenuBar(Display* display, TslWindow* parent, const char* name,
                                   TslWindow* menu0, TslWindow* menu1, const char* statusText);
int WndProc_MenuBar(Display* display, TslWindow* bar, XEvent* event);
TslWindow* tslGetMenuItem_MenuBar(TslWindow* bar, int index);
int tslSetMenuItem_MenuBar(TslWindow* bar, TslWindow* menu, int index);
int tslSetStatus_MenuBar(TslWindow* bar, const char* text);
int tslGetHeight_MenuBar(void);
int tslUpdateWindow_MenuBar(TslWindow* bar);

/* ---- Tool bar ------------------------------------------------------------- */

TslWindow* tslCreateWindow_ToolBar(Display* display, TslWindow* parent, const char* name);
int WndProc_ToolBar(Display* display, TslWindow* toolbar, XEvent* event);
int tslAddButton_ToolBar(Display* display, TslWindow* toolbar, const char* caption,
                         TslEventCallback callback, TslImage* icon, int index);
int tslDeleteButton_ToolBar(TslWindow* toolbar, int index);
int tslChangeButton_ToolBar(Display* display, TslWindow* toolbar, const char* caption,
                            TslEventCallback callback, TslImage* icon, int index);
int tslGetButton_ToolBar(TslWindow* toolbar, int index);
int tslSetButton_ToolBar(TslWindow* toolbar, int index, int state);
int tslSetToggle_ToolBar(TslWindow* toolbar, int index, int flag);
TslWindow* tslGetAttachButtonWnd_ToolBar(TslWindow* toolbar, int index);
int tslGetHeight_ToolBar(void);
int tslUpdateWindow_ToolBar(TslWindow* toolbar);

/* ---- Text window ---------------------------------------------------------- */

TslWindow* tslCreateWindow_TextWnd(Display* display, TslWindow* parent, TslRect rect,
                                   const char* name, const char* text, int length);
int WndProc_TextWnd(Display* display, TslWindow* window, XEvent* event);
char* tslGetText_TextWnd(TslWindow* window);
int tslSetText_TextWnd(TslWindow* window, const char* text, int length);
int tslGetLines_TextWnd(TslWindow* window);
int tslGetPos_TextWnd(TslWindow* window);
int tslSetPos_TextWnd(TslWindow* window, int pos);
int tslSetOutLine_TextWnd(TslWindow* window, int on);
int tslSetHiDraw_TextWnd(TslWindow* window, int on);
int tslSetFrame_TextWnd(TslWindow* window, int style);

/* ---- Text box ------------------------------------------------------------- */

TslWindow* tslCreateWindow_TextBox(Display* display, TslWindow* parent, TslRect rect,
                                   const char* name, const char* text);
int WndProc_TextBox(Display* display, TslWindow* box, XEvent* event);
int tslGetPos_TextBox(TslWindow* box);
int tslSetPos_TextBox(TslWindow* box, int pos);
char* tslGetText_TextBox(TslWindow* box);
int tslSetText_TextBox(TslWindow* box, const char* text);
int tslGetLines_TextBox(TslWindow* box);
int tslSetOutLine_TextBox(TslWindow* box, int on);
int tslSetHiDraw_TextBox(TslWindow* box, int on);
int tslSetFrame_TextBox(TslWindow* box, int style);
TslWindow* tslGetAttachTextWnd_TextBox(TslWindow* box);

/* ---- List window ---------------------------------------------------------- */

TslWindow* tslCreateWindow_ListWnd(Display* display, TslWindow* parent, TslRect rect,
                                   const char* name);
int WndProc_ListWnd(Display* display, TslWindow* window, XEvent* event);
int tslAddItem_ListWnd(Display* display, TslWindow* window, const char* name, TslImage* icon,
                       int index, int redraw);
int tslDeleteItem_ListWnd(TslWindow* window, int index, int redraw);
int tslChangeItem_ListWnd(Display* display, TslWindow* window, const char* name, TslImage* icon,
                          int index);
int tslRedraw_ListWnd(TslWindow* window);
int tslGetPos_ListWnd(TslWindow* window);
int tslSetPos_ListWnd(TslWindow* window, int pos);
int tslIsSelect_ListWnd(TslWindow* window, int index);
int tslGetSelect_ListWnd(TslWindow* window);
int tslSetSelect_ListWnd(TslWindow* window, int index, int on);
int tslGetSelectCount_ListWnd(TslWindow* window);
char* tslGetName_ListWnd(TslWindow* window, int index);
int tslGetSize_ListWnd(TslWindow* window);
int tslGetRowHeight_ListWnd(TslWindow* window);
int tslSetSingle_ListWnd(TslWindow* window, int on);
int tslSetEventCallback_ListWnd(TslWindow* window, TslEventCallback callback);

/* ---- List box ------------------------------------------------------------- */

TslWindow* tslCreateWindow_ListBox(Display* display, TslWindow* parent, TslRect rect,
                                   const char* name);
int WndProc_ListBox(Display* display, TslWindow* box, XEvent* event);
int tslGetPos_ListBox(TslWindow* box);
int tslSetPos_ListBox(TslWindow* box, int pos);
int tslAddItem_ListBox(Display* display, TslWindow* box, const char* name, TslImage* icon,
                       int index, int redraw);
int tslDeleteItem_ListBox(TslWindow* box, int index, int redraw);
int tslChangeItem_ListBox(Display* display, TslWindow* box, const char* name, TslImage* icon,
                          int index);
int tslRedraw_ListBox(TslWindow* box);
int tslIsSelect_ListBox(TslWindow* box, int index);
int tslGetSelect_ListBox(TslWindow* box);
int tslSetSelect_ListBox(TslWindow* box, int index, int on);
int tslGetSelectCount_ListBox(TslWindow* box);
char* tslGetName_ListBox(TslWindow* box, int index);
int tslGetSize_ListBox(TslWindow* box);
int tslSetSingle_ListBox(TslWindow* box, int on);
int tslSetEventCallback_ListBox(TslWindow* box, TslEventCallback callback);
TslWindow* tslGetAttachListWnd_ListBox(TslWindow* box);

/* ---- Input window --------------------------------------------------------- */

TslWindow* tslCreateWindow_InputWnd(Display* display, TslWindow* parent, TslRect rect,
                                    const char* name, const char* text, int allKeys);
int WndProc_InputWnd(Display* display, TslWindow* window, XEvent* event);
char* tslGetText_InputWnd(TslWindow* window);
int tslSetText_InputWnd(TslWindow* window, const char* text);
int tslGetCaretPos_InputWnd(TslWindow* window);
int tslSetCaretPos_InputWnd(TslWindow* window, int pos);
char* tslGetSelectText_InputWnd(TslWindow* window);
int tslSetSelectText_InputWnd(TslWindow* window, int start, int end);
int tslAddText_InputWnd(TslWindow* window, const char* text);
int tslDelSelectText_InputWnd(TslWindow* window);
int tslCopyText_InputWnd(TslWindow* window);
int tslCutText_InputWnd(TslWindow* window);
int tslPasteText_InputWnd(TslWindow* window, const char* text);
char* tslGetCopyText_InputWnd(TslWindow* window);

/* ---- Dialogs -------------------------------------------------------------- */

/* fileName points to TSL_FILE_NAME_SIZE bytes; filters is a null-terminated
 * list of extensions such as ".bmp", or null */
int tslFileDialog(Display* display, TslWindow* parent, char* fileName, const char** filters,
                  int mode);
int tslGetSelectFileCount_FileDialog(void);
char* tslGetSelectFileName_FileDialog(int index);
int tslMessageDialog(Display* display, TslWindow* parent, const char* title, const char* text,
                     int style);
int tslAboutDialog(Display* display, TslWindow* parent, const char* title, const char* text,
                   TslImage* icon, TslImage* wallPaper, unsigned long textPixel);
int tslTextDialog(Display* display, TslWindow* parent, const char* title, const char* text);

#ifdef __cplusplus
}
#endif

#endif
