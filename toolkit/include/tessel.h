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
TslImage* tslLoadImage(Display* display, const char* path, Colormap cmap, int format);
TslImage* tslLoadImageFromData(Display* display, char** xpmData);
void tslFreeImage(Display* display, TslImage* img);

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

#ifdef __cplusplus
}
#endif

#endif
