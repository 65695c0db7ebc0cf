// Input method support: the locale, the one input method of the program and
// the input contexts that text windows attach for Japanese entry.
#include <X11/Xatom.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/startup_private.h"
#include "core/xerror.h"
#include "core/xim_private.h"
#include "tessel.h"

XIM g_im = nullptr;
int g_bXIMtoRegister = 0;

static char imDummy[] = "tessel im callback dummy";

// The display whose input method is still to be opened, or null, and the
// base names of the font set to make first.
static Display* openPending = nullptr;
static char pendingFontSet[2 * TSL_RC_VALUE_SIZE];

// Styles tried by tslAttachIM: pre-edit at a spot, then pre-edit in the
// server's own window; neither uses a status area.
static const XIMStyle kPreferredStyles[] = {XIMPreeditPosition | XIMStatusNothing,
                                            XIMPreeditNothing | XIMStatusNothing, 0};

int xim_set_locale(const char* locale)
{
    if (!setlocale(LC_ALL, locale)) {
        fprintf(stderr, "Error: IM - can't set locale\n");
        return 0;
    }
    return 1;
}

// Empty modifiers: the input method named by XMODIFIERS.  The first call
// makes Xlib read its locale database.
static int set_modifiers()
{
    if (!XSetLocaleModifiers("")) {
        fprintf(stderr, "Error: IM - can't set locale modifiers\n");
        return 0;
    }
    return 1;
}

int tslLocale_XIM(const char* locale)
{
    return xim_set_locale(locale) && set_modifiers();
}

void OnIMInstantiate(Display* display, XPointer clientData, XPointer callData)
{
    (void)clientData;
    (void)callData;
    // A server that starts after the program is not taken up; the callback
    // only keeps Xlib from calling again.
    XUnregisterIMInstantiateCallback(display, nullptr, nullptr, nullptr, OnIMInstantiate, imDummy);
}

void OnIMServerDestroy(XIM im, XPointer clientData, XPointer callData)
{
    (void)clientData;
    (void)callData;
    if (im == g_tessel.im) {
        g_tessel.im = nullptr;
        g_bXIMtoRegister = 1;
    }
    // Xlib closes this input method and frees its contexts once the callback
    // returns; windows must not keep them for a later XDestroyIC.
    int count = tslGetTotalWindows();
    for (int i = 0; i < count; i++) {
        TslWindow* w = tslGetWindowFromIndex(i);
        if (w && w->ic && XIMOfIC(w->ic) == im) {
            w->ic = nullptr;
            w->imStyle = 0;
        }
    }
    if (im == g_im)
        g_im = nullptr;
}

XIM tslOpenIM_XIM(Display* display)
{
    if (g_im)
        return g_im;
    if (!display)
        return nullptr;
    XIM im = XOpenIM(display, nullptr, nullptr, nullptr);
    if (im) {
        XIMCallback destroy;
        destroy.client_data = imDummy;
        destroy.callback = OnIMServerDestroy;
        char* failed = XSetIMValues(im, XNDestroyCallback, &destroy, nullptr);
        if (failed)
            fprintf(stderr, "Warning: Open XIM - XSetIMValues failed: '%s'\n", failed);
        g_im = im;
        g_tessel.im = im;
        return im;
    }
    fprintf(stderr, "Warning: Open XIM - can't open IM.\n");
    XRegisterIMInstantiateCallback(display, nullptr, nullptr, nullptr, OnIMInstantiate, imDummy);
    g_bXIMtoRegister = 0;
    return nullptr;
}

void xim_open_on_demand(Display* display, const char* fontSetNames)
{
    openPending = display;
    snprintf(pendingFontSet, sizeof pendingFontSet, "%s", fontSetNames ? fontSetNames : "");
}

static XIM current_im();

// Whether an input-method server is there to be used: named by the user in
// XMODIFIERS, or announced on the root window.  Without one, Xlib's own
// compose-only method is all that an opening would find.
static bool server_announced(Display* display)
{
    const char* modifiers = getenv("XMODIFIERS");
    const char* name = modifiers ? strstr(modifiers, "@im=") : nullptr;
    if (name && strncmp(name + 4, "none", 4) != 0 && strncmp(name + 4, "local", 5) != 0 && name[4])
        return true;
    Atom servers = XInternAtom(display, "XIM_SERVERS", True);
    if (servers == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    xerr_trap_begin(display);
    int status = XGetWindowProperty(display, RootWindow(display, 0), servers, 0, 64, False, XA_ATOM,
                                    &type, &format, &count, &after, &data);
    int failed = xerr_trap_end(display);
    bool running = false;
    // A server that died leaves its name behind: only one that still owns
    // its selection counts.
    if (status == Success && !failed && type == XA_ATOM && format == 32 && data)
        for (unsigned long i = 0; i < count && !running; i++)
            running = XGetSelectionOwner(display, ((Atom*)data)[i]) != None;
    if (data)
        XFree(data);
    return running;
}

void xim_open_at_start(Display* display, const char* fontSetNames)
{
    xim_open_on_demand(display, fontSetNames);
    if (server_announced(display))
        current_im();
}

// The program's input method, opened now (after Xlib's locale modifiers
// and the font set) when the start-up left it to be opened on demand.  Opened once: a server that
// goes away is not sought again.
static XIM current_im()
{
    if (openPending && !g_tessel.im) {
        Display* display = openPending;
        openPending = nullptr;
        set_modifiers();
        if (!g_tessel.fontSet && pendingFontSet[0])
            g_tessel.fontSet = CreateFontSet(display, pendingFontSet);
        tslOpenIM_XIM(display);
    }
    return g_tessel.im;
}

int tslCloseIM_XIM(XIM im)
{
    openPending = nullptr;
    if (!im || (im != g_im && im != g_tessel.im))
        return 0;
    XCloseIM(im);
    g_tessel.im = nullptr;
    g_im = nullptr;
    return 1;
}

XIMStyle tslSelectStyle_XIM(XIM im, const XIMStyle* styles)
{
    if (!im)
        return 0;
    XIMStyles* supported = nullptr;
    char* failed = XGetIMValues(im, XNQueryInputStyle, &supported, nullptr);
    if (failed) {
        fprintf(stderr, "Error: XIM Style - XGetIMValues() failed: '%s'\n", failed);
        return 0;
    }
    XIMStyle found = 0;
    if (supported && styles) {
        for (const XIMStyle* want = styles; *want && !found; want++) {
            for (unsigned short i = 0; i < supported->count_styles; i++) {
                if (supported->supported_styles[i] == *want) {
                    found = *want;
                    break;
                }
            }
        }
    }
    if (supported)
        XFree(supported);
    return found;
}

XIC tslCreateIC_XIM(TslWindow* w, XIM im, XIMStyle style, XFontSet fontSet,
                    unsigned long foreground, unsigned long background)
{
    if (!im || !style) {
        fprintf(stderr, "Error: XIM - IM is invalid.\n");
        return nullptr;
    }
    if (!w)
        return nullptr;
    XPoint spot;
    spot.x = 0;
    spot.y = 0;
    // A missing font set is left out of the lists rather than passed as null.
    XVaNestedList preedit;
    XVaNestedList status;
    if (fontSet) {
        preedit = XVaCreateNestedList(0, XNSpotLocation, &spot, XNForeground, foreground,
                                      XNBackground, background, XNFontSet, fontSet, nullptr);
        status = XVaCreateNestedList(0, XNForeground, foreground, XNBackground, background,
                                     XNFontSet, fontSet, nullptr);
    } else {
        preedit = XVaCreateNestedList(0, XNSpotLocation, &spot, XNForeground, foreground,
                                      XNBackground, background, nullptr);
        status = XVaCreateNestedList(0, XNForeground, foreground, XNBackground, background, nullptr);
    }
    XIC ic = nullptr;
    if (preedit && status)
        ic = XCreateIC(im, XNInputStyle, style, XNClientWindow, w->xwin, XNPreeditAttributes,
                       preedit, XNStatusAttributes, status, nullptr);
    if (preedit)
        XFree(preedit);
    if (status)
        XFree(status);
    return ic;
}

// A context's release touches its windows, which may already be gone.
void tslDestroyIC_XIM(XIC ic)
{
    if (!ic)
        return;
    Display* display = XDisplayOfIM(XIMOfIC(ic));
    xerr_trap_begin(display);
    XDestroyIC(ic);
    xerr_trap_end(display);
}

// Input selection on a window that may already be gone is no reason to end
// the program.
static void select_input(Window xwin, long mask)
{
    Display* display = g_tessel.display;
    if (!display || !xwin)
        return;
    xerr_trap_begin(display);
    XSelectInput(display, xwin, mask);
    xerr_trap_end(display);
}

int tslAttachIM(TslWindow* w, XIC ic)
{
    if (!w || !current_im())
        return 0;
    XIMStyle style = 0;
    int created = 0;
    if (!ic) {
        style = tslSelectStyle_XIM(g_tessel.im, kPreferredStyles);
        if (style) {
            ic = tslCreateIC_XIM(w, g_tessel.im, style, g_tessel.fontSet, w->foreFontPixel,
                                 w->backFontPixel);
            created = ic != nullptr;
        }
    } else if (XGetICValues(ic, XNInputStyle, &style, nullptr)) {
        // The context keeps its own style; record 0 when it will not say.
        style = 0;
    }
    if (!ic) {
        fprintf(stderr, "Error: Attach IC - can't create IC.\n");
        return 0;
    }
    long filterEvents = 0;
    char* failed = XGetICValues(ic, XNFilterEvents, &filterEvents, nullptr);
    if (failed) {
        fprintf(stderr, "Error: Attach IC - XGetICValues() failed: '%s'\n", failed);
        if (created)
            tslDestroyIC_XIM(ic);
        return 0;
    }
    // A context attached earlier would otherwise be lost with its server state.
    if (w->ic && w->ic != ic)
        tslDestroyIC_XIM(w->ic);
    select_input(w->xwin, TSL_EVENT_MASK | filterEvents);
    w->ic = ic;
    w->imStyle = style;
    return 1;
}

int tslDetachIM(TslWindow* w, int destroy)
{
    if (!w)
        return 0;
    select_input(w->xwin, TSL_EVENT_MASK);
    if (destroy == 1 && w->ic)
        tslDestroyIC_XIM(w->ic);
    w->ic = nullptr;
    w->imStyle = 0;
    return 1;
}

int tslSetFocusIC_XIM(TslWindow* w)
{
    if (!w || !w->ic)
        return 0;
    XSetICValues(w->ic, XNFocusWindow, w->xwin, nullptr);
    XSetICFocus(w->ic);
    return 1;
}

int tslUnsetFocusIC_XIM(TslWindow* w)
{
    if (!w || !w->ic)
        return 0;
    XUnsetICFocus(w->ic);
    return 1;
}

int tslMovePreedit_XIM(TslWindow* w, int x, int y)
{
    if (!w || !w->ic || !(w->imStyle & XIMPreeditPosition))
        return 0;
    XPoint spot;
    spot.x = (short)x;
    spot.y = (short)y;
    XVaNestedList list = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
    if (list) {
        XSetICValues(w->ic, XNPreeditAttributes, list, nullptr);
        XFree(list);
    }
    return 1;
}

int tslSetStatusArea_XIM(TslWindow* w, unsigned int position, unsigned int size)
{
    if (!w || !w->ic || !(w->imStyle & XIMStatusArea))
        return 0;
    XRectangle need;
    need.x = 0;
    need.y = 0;
    need.width = (unsigned short)tslSizeW(size);
    need.height = (unsigned short)tslSizeH(size);
    XVaNestedList list = XVaCreateNestedList(0, XNAreaNeeded, &need, nullptr);
    if (list) {
        XSetICValues(w->ic, XNStatusAttributes, list, nullptr);
        XFree(list);
    }
    XRectangle* given = nullptr;
    list = XVaCreateNestedList(0, XNAreaNeeded, &given, nullptr);
    if (list) {
        char* failed = XGetICValues(w->ic, XNStatusAttributes, list, nullptr);
        if (failed)
            fprintf(stderr, "Error: XIM - status attribute error '%s'\n", failed);
        XFree(list);
    }
    XRectangle area;
    area.x = (short)tslPosX(position);
    area.y = (short)tslPosY(position);
    area.width = given ? given->width : need.width;
    area.height = given ? given->height : need.height;
    if (given)
        XFree(given);
    list = XVaCreateNestedList(0, XNArea, &area, nullptr);
    if (list) {
        XSetICValues(w->ic, XNStatusAttributes, list, nullptr);
        XFree(list);
    }
    return 1;
}

XIM tslGetIM_XIM(void)
{
    return current_im();
}

int tslIsOpenIM_XIM(void)
{
    return current_im() ? 1 : 0;
}
