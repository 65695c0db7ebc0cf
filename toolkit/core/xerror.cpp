// The toolkit's X error handler.  Outside a trap an error is reported on
// standard error and the program goes on; inside one it is only recorded.
#include "core/xerror.h"

#include <cstdio>

static int trap_depth;
static int trapped_code;

static int on_x_error(Display* display, XErrorEvent* event)
{
    if (trap_depth > 0) {
        if (trapped_code == 0)
            trapped_code = event->error_code ? event->error_code : -1;
        return 0;
    }
    char text[256];
    XGetErrorText(display, event->error_code, text, sizeof text);
    fprintf(stderr, "Error: X request %d failed (%s).\n", event->request_code, text);
    return 0;
}

void xerr_install(void)
{
    XSetErrorHandler(on_x_error);
}

void xerr_trap_begin(Display* display)
{
    xerr_install();
    if (trap_depth == 0) {
        XSync(display, False);  // earlier errors belong to no trap
        trapped_code = 0;
    }
    trap_depth++;
}

int xerr_trap_end(Display* display)
{
    XSync(display, False);
    int code = trapped_code;
    if (trap_depth > 0)
        trap_depth--;
    if (trap_depth == 0)
        trapped_code = 0;
    return code;
}
