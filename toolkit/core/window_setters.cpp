// Setters of the window record: attributes that the X server also holds
// (caption, colours, wallpaper, cursor, size hints) and the toolkit's own flags.
#include <cstdlib>
#include <cstring>

#include "core/window_private.h"
#include "core/wm_manners.h"

static int repaint(TslWindow* w)
{
    tslSendEvent(w, TSLM_PAINT);
    return 1;
}

int tslSetCaption(TslWindow* w, const char* text)
{
    if (!w)
        return 0;
    wm_store_name(g_tessel.display, w, text);
    free(w->caption);
    w->caption = text ? strdup(text) : nullptr;
    return repaint(w);
}

// Makes the window's X background follow the wallpaper; the redraw buffer is
// tiled separately by the Clear family.
static void apply_wallpaper(Display* display, TslWindow* w, TslImage* image)
{
    if (w->wallPaperMask) {
        XFreePixmap(display, w->wallPaperMask);
        w->wallPaperMask = 0;
    }
    w->wallPaper = image;
    if (!image) {
        XSetWindowBackgroundPixmap(display, w->xwin, None);
        XSetWindowBackground(display, w->xwin, w->backPixel);
    } else if (image->mask) {
        Pixmap flat = tslCreateMaskImage(display, image);
        XSetWindowBackgroundPixmap(display, w->xwin, flat ? flat : None);
        w->wallPaperMask = flat;
    } else {
        XSetWindowBackgroundPixmap(display, w->xwin, image->pixmap);
    }
}

int tslSetBackColor(Display* display, TslWindow* w, unsigned long pixel)
{
    if (!w)
        return 0;
    w->backPixel = pixel;
    XSetForeground(display, w->gc, pixel);
    XSetWindowBackground(display, w->xwin, pixel);
    if (w->wallPaper)
        apply_wallpaper(display, w, w->wallPaper);
    return repaint(w);
}

int tslSetWallPaper(Display* display, TslWindow* w, TslImage* image)
{
    if (!w)
        return 0;
    apply_wallpaper(display, w, image);
    return repaint(w);
}

int tslSetBorderColor(Display* display, TslWindow* w, unsigned long pixel)
{
    if (!w)
        return 0;
    w->borderPixel = pixel;
    XSetWindowBorder(display, w->xwin, pixel);
    return repaint(w);
}

int tslSetForeFontColor(Display*, TslWindow* w, unsigned long pixel)
{
    if (!w)
        return 0;
    w->foreFontPixel = pixel;
    return repaint(w);
}

int tslSetBackFontColor(Display*, TslWindow* w, unsigned long pixel)
{
    if (!w)
        return 0;
    w->backFontPixel = pixel;
    return repaint(w);
}

int tslSetWindowKind(TslWindow* w, int kind)
{
    if (!w)
        return 0;
    w->kind = kind;
    return 1;
}

int tslSetOption(TslWindow* w, void* data)
{
    if (!w)
        return 0;
    w->option = data;
    return 1;
}

int tslSetTimerEvent(TslWindow* w, int on)
{
    if (!w)
        return 0;
    w->timerEvent = on ? 1 : 0;
    return 1;
}

int tslSetDefaultCursor(TslWindow* w, Cursor cursor)
{
    if (!w)
        return 0;
    w->cursor = cursor;
    if (cursor)
        XDefineCursor(g_tessel.display, w->xwin, cursor);
    else
        XUndefineCursor(g_tessel.display, w->xwin);
    return 1;
}

int tslSetMinMaxSize(TslWindow* w, int minWidth, int minHeight, int maxWidth, int maxHeight)
{
    if (!w)
        return 0;
    w->minMaxSize[0] = minWidth;
    w->minMaxSize[1] = minHeight;
    w->minMaxSize[2] = maxWidth;
    w->minMaxSize[3] = maxHeight;
    XSizeHints hints;
    memset(&hints, 0, sizeof hints);
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = minWidth;
    hints.min_height = minHeight;
    hints.max_width = maxWidth;
    hints.max_height = maxHeight;
    XSetWMNormalHints(g_tessel.display, w->xwin, &hints);
    return 1;
}

int tslSetDestructCallBack(TslWindow* w, TslDestructCallback fn)
{
    if (w)
        w->destructCallback = fn;
    return 1;
}

int tslSetWindowColormap(TslWindow* w, Colormap colormap)
{
    if (!w)
        return 0;
    XSetWindowColormap(g_tessel.display, w->xwin, colormap);
    return 1;
}

int tslShowWindow(TslWindow* w, int show)
{
    if (!w)
        return 0;
    if (show)
        XMapWindow(g_tessel.display, w->xwin);
    else
        XUnmapWindow(g_tessel.display, w->xwin);
    return 1;
}

int tslSetWndProc(TslWindow* w, TslWndProc proc)
{
    if (!w)
        return 0;
    w->wndProc = proc;
    w->redrawBuffer = proc ? 0 : 1;
    return 1;
}

int tslSetEventCallback(TslWindow* w, TslEventCallback fn)
{
    if (!w)
        return 0;
    w->eventCallback = fn;
    return 1;
}

int tslCallEventCallback(TslWindow* w, int code, int arg1, int arg2)
{
    if (!w)
        return 0;
    if (!w->eventCallback)
        return 1;
    return w->eventCallback(w, code, arg1, arg2);
}

int tslSetKeyEventCallback(TslWindow* w, TslKeyEventCallback fn)
{
    if (!w)
        return 0;
    if (!w->parent)
        w->keyEventCallback = fn;
    return 1;
}

int tslSetIdolingCallback(TslWindow* w, TslIdlingCallback fn)
{
    if (!w)
        return 0;
    if (!w->parent)
        w->idlingCallback = fn;
    return 1;
}

int tslSetUpdateWindowCallback(TslWindow* w, TslUpdateWindowCallback fn)
{
    if (!w)
        return 0;
    w->updateWindowCallback = fn;
    return 1;
}

int tslSetCustom(TslWindow* w, int on)
{
    if (!w)
        return 0;
    w->custom = on ? 1 : 0;
    return 1;
}

int tslSetRedrawBuffer(TslWindow* w, int on)
{
    if (!w)
        return 0;
    w->redrawBuffer = on ? 1 : 0;
    return 1;
}

int tslSetAllEvent(TslWindow* w, int on)
{
    if (!w)
        return 0;
    w->allEvent = on ? 1 : 0;
    return 1;
}

int tslSetDefaultWndProcEvent(TslWindow* w, int on)
{
    if (!w)
        return 0;
    w->defaultWndProcEvent = on ? 1 : 0;
    return 1;
}

int tslMoveResizeWindow(TslWindow* w, unsigned int position, unsigned int size)
{
    if (!w)
        return 0;
    TslRect r = tslUnpackRect(position, size);
    // The server refuses a zero width or height; other sizes it takes.
    if (r.width == 0 || r.height == 0)
        return 0;
    XMoveResizeWindow(g_tessel.display, w->xwin, r.x, r.y, r.width, r.height);
    return 1;
}

int tslRaiseWindow(TslWindow* w)
{
    if (!w)
        return 0;
    XRaiseWindow(g_tessel.display, w->xwin);
    return 1;
}

int tslSetContextMenu(TslWindow* w, TslWindow* menu)
{
    if (!w)
        return 0;
    if (menu && menu->kind != TSLK_MENU)
        return 0;
    w->contextMenu = menu;
    return 1;
}

int tslSetLinkWindow(TslWindow* w, void* link)
{
    if (!w)
        return 0;
    w->linkWindow = link;
    return 1;
}

int tslSetKeyPressTime(TslWindow* w, Time t)
{
    if (!w)
        return 0;
    w->keyPressTime = t;
    return 1;
}

int tslSetButtonPressTime(TslWindow* w, Time t)
{
    if (!w)
        return 0;
    w->buttonPressTime = t;
    return 1;
}

int tslSetMotionTime(TslWindow* w, Time t)
{
    if (!w)
        return 0;
    w->motionTime = t;
    return 1;
}
