// List benchmark: fills a list box of file-dialog size with 10,000 items the
// way the file dialog does (silently, the last one repainting), scrolls it a
// row at a time through its bar, and empties it again from the front.  Runs
// against DISPLAY with the toolkit started under a temporary HOME.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "bench_support.h"
#include "tessel.h"

static const int ITEMS = 10000;
static const int STEPS = 200;
static const int REPAINTING_ADDS = 500;

// Items like a photo folder's, a third of them directories.
static void fill(Display* d, TslWindow* box, int count, int redrawEach)
{
    char name[64];
    for (int i = 0; i < count; i++) {
        snprintf(name, sizeof name, "IMG_%05d_holiday_photo.jpg", i);
        TslImage* icon = g_tessel.images[i % 3 == 0 ? 5 : 8];
        tslAddItem_ListBox(d, box, name, icon, -1, redrawEach || i == count - 1);
    }
    XSync(d, False);
}

int main()
{
    char home[] = "/tmp/tslbench.XXXXXX";
    if (!getenv("DISPLAY") || !mkdtemp(home)) {
        fprintf(stderr, "bench_list: needs DISPLAY and a temporary directory\n");
        return 1;
    }
    setenv("HOME", home, 1);
    char prog[] = "bench_list";
    char* argv[] = {prog, nullptr};
    Display* d = tslOpenDisplay(1, argv);
    TslWindow* top = tslCreateWindow(d, nullptr, tslPos(0, 0), tslSize(260, 320), 0, "bench", nullptr);
    TslWindow* box = tslCreateWindow_ListBox(d, top, tslSetRect(10, 10, 217, 300), "box");
    TslWindow* bar = tslGetChildWindowFromIndex(box, 1);
    XSync(d, False);

    double t0 = now_ms();
    fill(d, box, ITEMS, 0);
    double addMs = now_ms() - t0;

    t0 = now_ms();
    for (int i = 1; i <= STEPS; i++) {
        tslSetPos_ScrollBar(bar, i);
        XSync(d, False);
    }
    double stepMs = (now_ms() - t0) / STEPS;

    t0 = now_ms();
    while (tslGetSize_ListBox(box) > 1)
        tslDeleteItem_ListBox(box, 0, 0);
    tslDeleteItem_ListBox(box, 0, 1);
    XSync(d, False);
    double emptyMs = now_ms() - t0;

    t0 = now_ms();
    fill(d, box, REPAINTING_ADDS, 1);
    double addEachMs = (now_ms() - t0) / REPAINTING_ADDS;

    printf("add %d items, the last one repainting: %8.2f ms\n", ITEMS, addMs);
    printf("one step of the bar, bar and list repainted (mean of %d): %8.3f ms\n", STEPS, stepMs);
    printf("delete them from the front:            %8.2f ms\n", emptyMs);
    printf("one item added with a repaint (mean of %d): %8.3f ms\n", REPAINTING_ADDS, addEachMs);

    tslDestroyWindow(d, top);
    tslCloseDisplay(d);
    std::string rc = std::string(home) + "/.tslrc";
    unlink(rc.c_str());
    rmdir(home);
    return 0;
}
