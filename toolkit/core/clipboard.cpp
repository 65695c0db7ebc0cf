// The CLIPBOARD selection: ownership through a hidden window, answers in
// UTF8_STRING, COMPOUND_TEXT and STRING, and transfers from other owners,
// incremental (INCR) ones included.
#include "core/clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>

#include "core/xerror.h"
#include "support/textconv.h"
#include "tessel.h"

// Xlib's hook for the end of a connection lives with the internals of
// extensions; their min and max macros would spoil any C++ header after.
#include <X11/Xlibint.h>
#undef min
#undef max

// How long a paste waits for each answer of the owner.
static const int kWaitMs = 3000;
// Text from another program beyond this is dropped: the controls that paste
// hold far less.
static const size_t kPasteLimit = 64 * 1024;

enum { A_CLIPBOARD, A_TARGETS, A_TIMESTAMP, A_UTF8, A_COMPOUND, A_INCR, A_PROPERTY, A_COUNT };
static const char* const kAtomNames[A_COUNT] = {"CLIPBOARD", "TARGETS", "TIMESTAMP", "UTF8_STRING",
                                                "COMPOUND_TEXT", "INCR", "_TSL_CLIPBOARD"};

struct Clipboard {
    Display* display;
    Window window;  // owner of the selection, and requestor of transfers
    Atom atoms[A_COUNT];
    bool owned;
    Time time;         // when the selection became ours
    std::string text;  // in the toolkit's code
};
static Clipboard s_cb;

// The server destroys the window with the connection; only the record is
// left to forget.
static int forget(Display* display, XExtCodes*)
{
    if (display == s_cb.display)
        s_cb = Clipboard();
    return 0;
}

static bool ready(Display* display)
{
    if (s_cb.display == display && s_cb.window)
        return true;
    XExtCodes* codes = XAddExtension(display);
    if (!codes)
        return false;
    XESetCloseDisplay(display, codes->extension, forget);
    s_cb = Clipboard();
    if (!XInternAtoms(display, const_cast<char**>(kAtomNames), A_COUNT, False, s_cb.atoms))
        return false;
    s_cb.window = XCreateSimpleWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(display, s_cb.window, PropertyChangeMask);
    s_cb.display = display;
    return true;
}

int clipboard_copy(Display* display, const char* text, Time time)
{
    if (!display || !text || !ready(display))
        return 0;
    Atom clipboard = s_cb.atoms[A_CLIPBOARD];
    XSetSelectionOwner(display, clipboard, s_cb.window, time);
    if (XGetSelectionOwner(display, clipboard) != s_cb.window)
        return 0;
    s_cb.owned = true;
    s_cb.time = time;
    s_cb.text = text;
    return 1;
}

// The text in the form a target asks for; false for a target not offered.
static bool text_as(Atom target, std::string* data)
{
    if (target == s_cb.atoms[A_UTF8]) {
        *data = textconv_to_utf8(s_cb.text.c_str());
    } else if (target == XA_STRING) {
        *data = textconv_convert(textconv_code_name(g_tessel.charCode), "ISO-8859-1", s_cb.text.data(),
                                 s_cb.text.size());
    } else if (target == s_cb.atoms[A_COMPOUND]) {
        std::string utf8 = textconv_to_utf8(s_cb.text.c_str());
        char* list[] = {&utf8[0]};
        XTextProperty prop;
        if (Xutf8TextListToTextProperty(s_cb.display, list, 1, XCompoundTextStyle, &prop) < 0)
            return false;
        data->assign((const char*)prop.value, prop.nitems);
        XFree(prop.value);
    } else {
        return false;
    }
    return true;
}

// Puts the answer to target on the requestor's property; false when there
// is none.  The text is far below the request size, so it goes in one piece.
static bool put_answer(Display* display, Window requestor, Atom property, Atom target)
{
    if (target == s_cb.atoms[A_TARGETS]) {
        const Atom list[] = {s_cb.atoms[A_TARGETS], s_cb.atoms[A_TIMESTAMP], s_cb.atoms[A_UTF8],
                             s_cb.atoms[A_COMPOUND], XA_STRING};
        XChangeProperty(display, requestor, property, XA_ATOM, 32, PropModeReplace,
                        (const unsigned char*)list, (int)(sizeof list / sizeof list[0]));
        return true;
    }
    if (target == s_cb.atoms[A_TIMESTAMP]) {
        const long time = (long)s_cb.time;
        XChangeProperty(display, requestor, property, XA_INTEGER, 32, PropModeReplace,
                        (const unsigned char*)&time, 1);
        return true;
    }
    std::string data;
    if (!text_as(target, &data) || data.size() > (size_t)XMaxRequestSize(display) * 4 - 64)
        return false;
    XChangeProperty(display, requestor, property, target, 8, PropModeReplace,
                    (const unsigned char*)data.data(), (int)data.size());
    return true;
}

// The requestor may be gone by now: its errors must not end the program.
static void answer(Display* display, const XSelectionRequestEvent& req)
{
    XSelectionEvent reply = {};
    reply.type = SelectionNotify;
    reply.display = display;
    reply.requestor = req.requestor;
    reply.selection = req.selection;
    reply.target = req.target;
    reply.time = req.time;
    // Clients of old name no property: the target serves as one.
    Atom property = req.property != None ? req.property : req.target;
    xerr_trap_begin(display);
    if (s_cb.owned && req.selection == s_cb.atoms[A_CLIPBOARD] &&
        put_answer(display, req.requestor, property, req.target))
        reply.property = property;
    XSendEvent(display, req.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    xerr_trap_end(display);
}

int clipboard_event(Display* display, const XEvent* event)
{
    if (!s_cb.window || display != s_cb.display || event->xany.window != s_cb.window)
        return 0;
    if (event->type == SelectionRequest) {
        answer(display, event->xselectionrequest);
    } else if (event->type == SelectionClear && event->xselectionclear.selection == s_cb.atoms[A_CLIPBOARD]) {
        s_cb.owned = false;
        s_cb.text.clear();
    }
    return 1;
}

// Waits for an event of type on the module's window, leaving all others in
// the queue; a property notice counts only for a new value of the transfer
// property.  False after kWaitMs.
static bool wait_for(Display* display, int type, XEvent* event)
{
    auto start = std::chrono::steady_clock::now();
    for (;;) {
        while (XCheckTypedWindowEvent(display, s_cb.window, type, event))
            if (type != PropertyNotify || (event->xproperty.atom == s_cb.atoms[A_PROPERTY] &&
                                           event->xproperty.state == PropertyNewValue))
                return true;
        auto spent = std::chrono::steady_clock::now() - start;
        long left = kWaitMs - (long)std::chrono::duration_cast<std::chrono::milliseconds>(spent).count();
        if (left <= 0)
            return false;
        pollfd fd = {ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, (int)left);
    }
}

// Appends what the owner put on the transfer property (up to the paste
// limit) and deletes it, which also asks an INCR owner for its next part.
// Returns the property's whole size in bytes, or -1 when it is not 8-bit
// text; *type is None when there is no property.
static long take_property(Display* display, Atom* type, std::string* out)
{
    Window window = s_cb.window;
    Atom property = s_cb.atoms[A_PROPERTY];
    size_t room = out->size() < kPasteLimit ? kPasteLimit - out->size() : 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    *type = None;
    int rc = XGetWindowProperty(display, window, property, 0, (long)(room / 4), False, AnyPropertyType, type,
                                &format, &count, &after, &data);
    XDeleteProperty(display, window, property);
    long size = -1;
    if (rc == Success && *type != None && format == 8) {
        out->append((const char*)data, count < room ? count : room);
        size = (long)(count + after);
    }
    if (data)
        XFree(data);
    return size;
}

// One conversion of the CLIPBOARD to target into *out; false when the owner
// refused, broke off or did not answer in time.
static bool fetch(Display* display, Atom target, Time time, std::string* out)
{
    XEvent event;
    // Notices left from an earlier transfer would be taken for this one's.
    while (XCheckTypedWindowEvent(display, s_cb.window, SelectionNotify, &event) ||
           XCheckTypedWindowEvent(display, s_cb.window, PropertyNotify, &event)) {
    }
    out->clear();
    XConvertSelection(display, s_cb.atoms[A_CLIPBOARD], target, s_cb.atoms[A_PROPERTY], s_cb.window, time);
    if (!wait_for(display, SelectionNotify, &event) || event.xselection.property == None)
        return false;
    Atom type;
    long size = take_property(display, &type, out);
    if (type != s_cb.atoms[A_INCR])
        return size >= 0;
    // INCR: the parts come as new values of the property; an empty one ends.
    // A notice of the value already taken finds no property.
    for (;;) {
        if (!wait_for(display, PropertyNotify, &event))
            return false;
        size = take_property(display, &type, out);
        if (type == None)
            continue;
        if (size <= 0)
            return size == 0;
    }
}

int clipboard_paste(Display* display, Time time, std::string* text)
{
    if (!display || !text || !ready(display))
        return 0;
    Window owner = XGetSelectionOwner(display, s_cb.atoms[A_CLIPBOARD]);
    if (owner == s_cb.window && s_cb.owned) {
        *text = s_cb.text;
        return 1;
    }
    if (owner == None || owner == s_cb.window)
        return 0;
    std::string raw;
    if (fetch(display, s_cb.atoms[A_UTF8], time, &raw)) {
        *text = textconv_from_utf8(raw.data(), raw.size());
        return 1;
    }
    if (fetch(display, XA_STRING, time, &raw)) {
        *text = textconv_convert("ISO-8859-1", textconv_code_name(g_tessel.charCode), raw.data(), raw.size());
        return 1;
    }
    return 0;
}
