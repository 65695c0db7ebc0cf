// The toolkit's X error traps.  The toolkit's handler is installed by the
// outermost trap and the program's handler is put back when it ends, so a
// handler the program sets is never taken away.
#include "core/xerror.h"

// Deeper traps than this still work; they report what their outer level sees.
static const int MAX_DEPTH = 16;

struct Trap {
    unsigned long firstSerial;  // the first request of the trap
    int code;                   // first error caught, 0 when none
};

static Trap traps[MAX_DEPTH];
static int depth;
static Display* trapDisplay;
static XErrorHandler programHandler;

static int on_x_error(Display* display, XErrorEvent* event)
{
    if (depth == 0 || display != trapDisplay || event->serial < traps[0].firstSerial)
        return programHandler ? programHandler(display, event) : 0;
    int code = event->error_code ? event->error_code : -1;
    int levels = depth < MAX_DEPTH ? depth : MAX_DEPTH;
    for (int i = 0; i < levels; i++)
        if (traps[i].code == 0 && event->serial >= traps[i].firstSerial)
            traps[i].code = code;
    return 0;
}

void xerr_trap_begin(Display* display)
{
    if (depth == 0) {
        trapDisplay = display;
        programHandler = XSetErrorHandler(on_x_error);
    }
    if (depth < MAX_DEPTH)
        traps[depth] = Trap{NextRequest(display), 0};
    depth++;
}

int xerr_trap_end(Display* display)
{
    if (depth == 0)
        return 0;
    XSync(display, False);
    depth--;
    int code = traps[depth < MAX_DEPTH ? depth : MAX_DEPTH - 1].code;
    if (depth == 0) {
        XSetErrorHandler(programHandler);
        programHandler = nullptr;
        trapDisplay = nullptr;
    }
    return code;
}
