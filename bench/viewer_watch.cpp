// Watches a picture viewer from a second X client.  Used by
// bench/viewer_race.sh and scripts/run:
//   viewer_watch picture W H OUT.ppm      writes the race picture
//   viewer_watch race -- PROGRAM ARGS...  starts PROGRAM and prints the
//       milliseconds until a window of it shows the race picture, and the
//       program's peak memory; the program is then ended
//   viewer_watch time -- PROGRAM ARGS...  the same for a program that only
//       runs to its end (a decoder)
//   viewer_watch shot OUT.png -- PROGRAM ARGS...  starts PROGRAM, waits
//       until its "ViewWnd" pane shows a picture (at most 10 s) and writes
//       a PNG of its window; the program is then ended
// The race picture is a landscape-like pattern with no magenta in it except
// a 64x64 magenta block at the top left of every 256x256 tile, so that any
// 320x320 part of a window showing it holds a whole block.  Both viewers
// show a picture only once it is decoded whole, so the block showing means
// the picture is finished.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <set>
#include <vector>

static const int TILE = 256;
static const int BLOCK = 64;
static const int LOOK = 320;
static const int SHOT_TIMEOUT_MS = 10000;
static const int RACE_TIMEOUT_MS = 30000;

static double now_ms()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec * 1e-6;
}

static int write_picture(int w, int h, const char* path)
{
    FILE* f = fopen(path, "wb");
    if (!f)
        return 1;
    fprintf(f, "P6\n%d %d\n255\n", w, h);
    std::vector<unsigned char> row((size_t)w * 3);
    unsigned seed = 12345;
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            unsigned char* p = &row[(size_t)x * 3];
            if (x % TILE < BLOCK && y % TILE < BLOCK) {
                p[0] = 255, p[1] = 0, p[2] = 255;
                continue;
            }
            seed = seed * 1103515245u + 12345u;
            int noise = (int)(seed >> 16 & 15) - 8;
            double hill = 0.6 * h + 0.1 * h * sin(x * 0.004) + 0.05 * h * sin(x * 0.021 + 1.0);
            bool sky = y < hill;
            int r = sky ? 90 + y * 60 / h : 40 + (int)(30 * sin(x * 0.05) * sin(y * 0.03));
            int g = sky ? 150 + y * 60 / h : 110 + (int)(40 * sin(x * 0.013 + y * 0.02));
            int b = sky ? 230 : 50 + (y & 31);
            p[0] = (unsigned char)(r + noise < 0 ? 0 : r + noise > 180 ? 180 : r + noise);
            p[1] = (unsigned char)(g + noise < 0 ? 0 : g + noise > 255 ? 255 : g + noise);
            p[2] = (unsigned char)(b + noise < 0 ? 0 : b + noise > 255 ? 255 : b + noise);
        }
        fwrite(row.data(), 1, row.size(), f);
    }
    return fclose(f) == 0 ? 0 : 1;
}

static pid_t start(char** argv)
{
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        perror(argv[0]);
        _exit(127);
    }
    return pid;
}

// Ends the program if it still runs and returns its peak memory in KiB.
static long finish(pid_t pid, bool end)
{
    if (end)
        kill(pid, SIGTERM);
    int status;
    rusage ru;
    if (wait4(pid, &status, 0, &ru) != pid)
        return -1;
    return ru.ru_maxrss;
}

static std::set<Window> top_windows(Display* d)
{
    std::set<Window> all;
    Window root, parent, *kids = nullptr;
    unsigned n = 0;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &kids, &n)) {
        all.insert(kids, kids + n);
        XFree(kids);
    }
    return all;
}

static bool viewable(Display* d, Window w, int* width, int* height)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable)
        return false;
    *width = a.width;
    *height = a.height;
    return true;
}

// RGB of every pixel of an image; TrueColor through the masks, other
// visuals by asking the server for each distinct pixel.
static std::vector<unsigned char> rgb_of(Display* d, XImage* img)
{
    std::vector<unsigned char> out((size_t)img->width * img->height * 3);
    std::map<unsigned long, XColor> cache;
    bool trueColor = img->red_mask && img->green_mask && img->blue_mask;
    auto channel = [](unsigned long p, unsigned long mask) {
        int shift = 0;
        while (!(mask >> shift & 1))
            shift++;
        unsigned long v = (p & mask) >> shift, max = mask >> shift;
        return (unsigned char)(v * 255 / max);
    };
    size_t i = 0;
    for (int y = 0; y < img->height; y++)
        for (int x = 0; x < img->width; x++, i += 3) {
            unsigned long p = XGetPixel(img, x, y);
            if (trueColor) {
                out[i] = channel(p, img->red_mask);
                out[i + 1] = channel(p, img->green_mask);
                out[i + 2] = channel(p, img->blue_mask);
                continue;
            }
            auto it = cache.find(p);
            if (it == cache.end()) {
                XColor c;
                c.pixel = p;
                XQueryColor(d, DefaultColormap(d, DefaultScreen(d)), &c);
                it = cache.emplace(p, c).first;
            }
            out[i] = (unsigned char)(it->second.red >> 8);
            out[i + 1] = (unsigned char)(it->second.green >> 8);
            out[i + 2] = (unsigned char)(it->second.blue >> 8);
        }
    return out;
}

// Rows of the window's top-left LOOK x LOOK part, a few pixels apart so
// that one crosses the inside of a block: small requests, so that watching
// does not keep the server from the viewer.
static bool shows_race_picture(Display* d, Window w, int width, int height)
{
    int gw = width < LOOK ? width : LOOK, gh = height < LOOK ? height : LOOK;
    for (int y = 0; y < gh; y += BLOCK / 2) {
        XImage* img = XGetImage(d, w, 0, y, (unsigned)gw, 1, AllPlanes, ZPixmap);
        if (!img)
            return false;
        std::vector<unsigned char> rgb = rgb_of(d, img);
        XDestroyImage(img);
        int magenta = 0;
        for (size_t i = 0; i < rgb.size(); i += 3)
            if (rgb[i] > 200 && rgb[i + 1] < 60 && rgb[i + 2] > 200)
                magenta++;
        if (magenta >= BLOCK * 3 / 4)
            return true;
    }
    return false;
}

// A program started under watch: the top-level windows there were before
// it, and when it started.
struct Watch {
    Display* d = nullptr;
    std::set<Window> before;
    double t0 = 0;
    pid_t pid = -1;
};

static bool watch_start(Watch* w, char** argv)
{
    w->d = XOpenDisplay(nullptr);
    if (!w->d)
        return false;
    w->before = top_windows(w->d);
    w->t0 = now_ms();
    w->pid = start(argv);
    return w->pid > 0;
}

// A viewable top-level window of the program (one that was not there
// before it), with its size; 0 when there is none yet.
static Window new_window(const Watch& w, int* width, int* height)
{
    for (Window t : top_windows(w.d))
        if (!w.before.count(t) && viewable(w.d, t, width, height))
            return t;
    return 0;
}

static int race(char** argv, bool windowed)
{
    Watch w;
    if (!watch_start(&w, argv))
        return 1;
    double shown = -1;
    while (windowed && shown < 0 && now_ms() - w.t0 < RACE_TIMEOUT_MS) {
        int width, height;
        Window t = new_window(w, &width, &height);
        if (t && shows_race_picture(w.d, t, width, height))
            shown = now_ms() - w.t0;
        else
            usleep(1000);
    }
    long kib = finish(w.pid, windowed);
    if (!windowed)
        shown = now_ms() - w.t0;
    XCloseDisplay(w.d);
    printf("%.1f %ld\n", shown, kib);
    return shown < 0;
}

static Window find_named(Display* d, Window w, const char* name)
{
    char* have = nullptr;
    bool same = XFetchName(d, w, &have) && have && !strcmp(have, name);
    if (have)
        XFree(have);
    if (same)
        return w;
    Window root, parent, *kids = nullptr, found = 0;
    unsigned n = 0;
    if (!XQueryTree(d, w, &root, &parent, &kids, &n))
        return 0;
    for (unsigned i = 0; i < n && !found; i++)
        found = find_named(d, kids[i], name);
    if (kids)
        XFree(kids);
    return found;
}

// A picture has been painted once the pane holds more than one colour.
static bool pane_painted(Display* d, Window pane)
{
    int width, height;
    if (!pane || !viewable(d, pane, &width, &height))
        return false;
    XImage* img = XGetImage(d, pane, 0, 0, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
    if (!img)
        return false;
    unsigned long first = XGetPixel(img, 0, 0);
    bool more = false;
    for (int y = 0; y < height && !more; y++)
        for (int x = 0; x < width && !more; x++)
            more = XGetPixel(img, x, y) != first;
    XDestroyImage(img);
    return more;
}

static bool write_png(const char* path, int w, int h, const std::vector<unsigned char>& rgb)
{
    FILE* f = fopen(path, "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && !setjmp(png_jmpbuf(png));
    if (ok) {
        png_init_io(png, f);
        png_set_IHDR(png, info, (png_uint_32)w, (png_uint_32)h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < h; y++)
            png_write_row(png, &rgb[(size_t)y * w * 3]);
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0 && ok;
}

static int shot(const char* out, char** argv)
{
    Watch w;
    if (!watch_start(&w, argv))
        return 1;
    Window main = 0;
    int width = 0, height = 0;
    bool painted = false;
    while (!painted && now_ms() - w.t0 < SHOT_TIMEOUT_MS) {
        usleep(20000);
        if (waitpid(w.pid, nullptr, WNOHANG) == w.pid) {
            fprintf(stderr, "viewer_watch: %s ended before showing a window\n", argv[0]);
            return 1;
        }
        if (!main)
            main = new_window(w, &width, &height);
        painted = main && pane_painted(w.d, find_named(w.d, main, "ViewWnd"));
    }
    bool ok = false;
    if (main && viewable(w.d, main, &width, &height)) {
        XImage* img = XGetImage(w.d, main, 0, 0, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
        if (img) {
            ok = write_png(out, width, height, rgb_of(w.d, img));
            XDestroyImage(img);
        }
    }
    finish(w.pid, true);
    XCloseDisplay(w.d);
    return ok ? 0 : 1;
}

// The windows watched belong to another program and may go at any time.
static int ignore_error(Display*, XErrorEvent*)
{
    return 0;
}

int main(int argc, char** argv)
{
    XSetErrorHandler(ignore_error);
    if (argc == 5 && !strcmp(argv[1], "picture"))
        return write_picture(atoi(argv[2]), atoi(argv[3]), argv[4]);
    if (argc >= 4 && !strcmp(argv[2], "--") && (!strcmp(argv[1], "race") || !strcmp(argv[1], "time")))
        return race(argv + 3, !strcmp(argv[1], "race"));
    if (argc >= 5 && !strcmp(argv[1], "shot") && !strcmp(argv[3], "--"))
        return shot(argv[2], argv + 4);
    fprintf(stderr, "usage: viewer_watch picture W H OUT.ppm | race -- PROG ARGS | time -- PROG ARGS |"
                    " shot OUT.png -- PROG ARGS\n");
    return 2;
}
