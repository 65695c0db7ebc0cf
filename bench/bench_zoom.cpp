// Zoom benchmark: a 4000x3000 picture in the viewer's pane, scrolled one
// step (32 pixels) at a time at each zoom, as the scroll keys and bars do
// it, and repainted whole; each is the pane's painting into its buffer,
// the copy to the window, and the server's work to the end (XSync).  A
// step now and then wraps round to the top, a whole repaint.  Runs against
// DISPLAY (true-colour screens scale in the server, others in the client)
// with the toolkit started under a temporary HOME.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "bench_support.h"
#include "tessel.h"
#include "view.h"
#include "zoom_geom.h"

static const int PICTURE_W = 4000;
static const int PICTURE_H = 3000;
static const int STEPS = 100;
static const int REPAINTS = 20;

// Diagonal bands of every pixel value the screen has, so that no filter
// or copy meets one colour only.
static TslImage* make_picture(Display* d)
{
    Window root = RootWindow(d, 0);
    unsigned depth = (unsigned)DefaultDepth(d, 0);
    XImage* xi = XCreateImage(d, DefaultVisual(d, 0), depth, ZPixmap, 0, nullptr, PICTURE_W,
                              PICTURE_H, 32, 0);
    xi->data = (char*)malloc((size_t)xi->bytes_per_line * PICTURE_H);
    unsigned long mask = depth >= 32 ? ~0UL : (1UL << depth) - 1;
    for (int y = 0; y < PICTURE_H; y++)
        for (int x = 0; x < PICTURE_W; x++)
            XPutPixel(xi, x, y, ((unsigned long)(x + y) * 2654435761UL) & mask);
    TslImage* img = (TslImage*)calloc(1, sizeof(TslImage));
    img->width = PICTURE_W;
    img->height = PICTURE_H;
    img->pixmap = XCreatePixmap(d, root, PICTURE_W, PICTURE_H, depth);
    img->gc = XCreateGC(d, root, 0, nullptr);
    XPutImage(d, img->pixmap, img->gc, xi, 0, 0, 0, 0, PICTURE_W, PICTURE_H);
    XDestroyImage(xi);
    XSync(d, False);
    return img;
}

// Mean and worst milliseconds of a step down at the shown size, and the
// mean of a whole repaint there.
static void measure(Display* d, TslWindow* pane, ZoomSize shown, const char* label)
{
    SetZoom_View(pane, shown.width, shown.height);
    SetVPos_View(pane, 0);
    XSync(d, False);
    int last = shown.height - pane->rect.height;
    double total = 0, worst = 0;
    for (int i = 1; i <= STEPS; i++) {
        int offset = last > 0 ? i * 32 % last : 0;
        double t0 = now_ms();
        SetVPos_View(pane, offset);
        XSync(d, False);
        double ms = now_ms() - t0;
        total += ms;
        worst = ms > worst ? ms : worst;
    }
    double t0 = now_ms();
    for (int i = 0; i < REPAINTS; i++) {
        tslSendEvent(pane, TSLM_PAINT);
        XSync(d, False);
    }
    double whole = (now_ms() - t0) / REPAINTS;
    printf("  %-6s %5d x %-5d  step: mean %6.2f ms, worst %6.2f ms   whole: %6.2f ms\n", label,
           shown.width, shown.height, total / STEPS, worst, whole);
}

int main()
{
    TempHome home;
    if (!getenv("DISPLAY") || !home.ok) {
        fprintf(stderr, "bench_zoom: needs DISPLAY and a temporary directory\n");
        return 1;
    }
    char prog[] = "bench_zoom";
    char* argv[] = {prog, nullptr};
    Display* d = tslOpenDisplay(1, argv);
    TslImage* img = make_picture(d);
    printf("%d x %d picture, depth %d, one scroll step of 32 pixels (%d steps):\n", PICTURE_W,
           PICTURE_H, DefaultDepth(d, 0), STEPS);
    const struct { int level; const char* label; } zooms[] = {
        {-3, "1/8"}, {-1, "1/2"}, {0, "100%"}, {1, "2x"}, {3, "8x"}};
    for (ZoomSize pane : {ZoomSize{640, 480}, ZoomSize{1200, 900}}) {
        unsigned size = tslSize(pane.width + 10, pane.height + 10);
        TslWindow* top = tslCreateWindow(d, nullptr, tslPos(0, 0), size, 0, "bench", nullptr);
        TslWindow* view = CreateWindow_View(d, top, tslPos(5, 5), tslSize(pane.width, pane.height),
                                            "ViewWnd");
        XWindowAttributes a{};
        while (XGetWindowAttributes(d, view->xwin, &a) && a.map_state != IsViewable)
            usleep(1000);
        SetImage_View(view, img);
        printf(" pane %d x %d\n", pane.width, pane.height);
        for (const auto& z : zooms)
            measure(d, view, zoom_level_size(PICTURE_W, PICTURE_H, z.level), z.label);
        measure(d, view, zoom_fit_size(PICTURE_W, PICTURE_H, pane.width, pane.height), "fit");
        SetImage_View(nullptr, nullptr);
        tslDestroyWindow(d, top);
    }
    tslFreeImage(d, img);
    tslCloseDisplay(d);
    return 0;
}
