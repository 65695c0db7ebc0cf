// Starts the toolkit, opens a small window tree and stops again; run under
// valgrind to show that a start and stop loses no memory.
#include "tessel.h"

int main(int argc, char** argv)
{
    Display* display = tslOpenDisplay(argc, argv);
    TslWindow* top = tslCreateWindow(display, nullptr, tslPos(0, 0), tslSize(120, 80), 0, "leak",
                                     nullptr);
    if (top)
        tslCreateWindow(display, top, tslPos(4, 4), tslSize(40, 20), 1, "child", nullptr);
    tslFlush(display);
    tslCloseDisplay(display);
    return 0;
}
