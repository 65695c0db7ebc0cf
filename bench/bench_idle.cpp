// Idle benchmark: a program with one window sits in tslMainLoop for a few
// seconds while nothing happens; prints the processor time it used (user and
// system, from getrusage) as a share of the time it sat there.  The span is
// measured between two client messages, so start-up and the window's first
// painting are not in it.  The same with a window whose timer is on, which
// keeps the loop's rhythm.  Each run is its own forked program under a
// temporary HOME.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "bench_support.h"
#include "tessel.h"

static const int IDLE_SECONDS = 4;
static const char* const MARK = "BENCH_IDLE_START";

struct Result {
    double cpuSeconds;
    double wallSeconds;
    int ok;
};

static double cpu_seconds()
{
    rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    return (double)(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
           (double)(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) * 1e-6;
}

static double wall_seconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec * 1e-9;
}

static Result measured;
static double cpuStart, wallStart;

// Sees every event the loop dispatched: the mark starts the span, the
// window manager's close ends it.
static void on_event(Display* d, TslWindow*, XEvent* ev)
{
    if (ev->type != ClientMessage)
        return;
    if (ev->xclient.message_type == XInternAtom(d, MARK, False)) {
        cpuStart = cpu_seconds();
        wallStart = wall_seconds();
    } else {
        measured = Result{cpu_seconds() - cpuStart, wall_seconds() - wallStart, 1};
    }
}

// The program under test: one window, then the main loop until the window
// manager's close arrives.  Tells the parent its window, then its figures.
static void idle_program(int toParent, bool timer)
{
    if (!freopen("/dev/null", "w", stderr))
        _exit(1);
    char a0[] = "bench_idle";
    char* argv[] = {a0, nullptr};
    Display* d = tslOpenDisplay(1, argv);
    TslWindow* w = tslCreateWindow(d, nullptr, tslPos(10, 10), tslSize(200, 150), 0, "idle", nullptr);
    if (!w)
        _exit(1);
    if (timer)
        tslSetTimerEvent(w, 1);
    Window xwin = w->xwin;
    if (write(toParent, &xwin, sizeof xwin) != (ssize_t)sizeof xwin)
        _exit(1);
    tslSetDebugCallback(on_event);
    tslMainLoop(d, nullptr);
    tslCloseDisplay(d);
    _exit(write(toParent, &measured, sizeof measured) == (ssize_t)sizeof measured ? 0 : 1);
}

static void send_message(Display* d, Window w, const char* type, const char* value)
{
    XEvent ev;
    memset(&ev, 0, sizeof ev);
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(d, type, False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)XInternAtom(d, value, False);
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &ev);
    XFlush(d);
}

static Result run(bool timer)
{
    Result r = {0, 0, 0};
    int fds[2];
    if (pipe(fds) != 0)
        return r;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        idle_program(fds[1], timer);
    }
    close(fds[1]);
    Window w = 0;
    Display* d = XOpenDisplay(nullptr);
    if (pid > 0 && d && read(fds[0], &w, sizeof w) == (ssize_t)sizeof w) {
        usleep(500000);
        send_message(d, w, MARK, MARK);
        sleep(IDLE_SECONDS);
        send_message(d, w, "WM_PROTOCOLS", "WM_DELETE_WINDOW");
        if (read(fds[0], &r, sizeof r) != (ssize_t)sizeof r)
            r.ok = 0;
    }
    if (d)
        XCloseDisplay(d);
    close(fds[0]);
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    return r;
}

static bool report(const char* what, bool timer)
{
    Result r = run(timer);
    if (!r.ok)
        return false;
    printf("%-28s: %6.1f ms processor time in %.1f s, %.2f %%\n", what, r.cpuSeconds * 1e3,
           r.wallSeconds, 100.0 * r.cpuSeconds / r.wallSeconds);
    return true;
}

int main()
{
    TempHome home;
    if (!home.ok) {
        fprintf(stderr, "bench_idle: can't make a temporary HOME\n");
        return 1;
    }
    if (!report("idle window (target 0.00 %)", false) || !report("window with its timer on", true)) {
        fprintf(stderr, "bench_idle: a run failed (is DISPLAY set?)\n");
        return 1;
    }
    return 0;
}
