// Start-up benchmark: times tslOpenDisplay under a temporary HOME, on the
// first start (no ~/.tslrc yet) and on later starts (the file exists), and
// counts the round trips it makes to the server.  Each start runs in its own
// forked child; the figures are medians.  Runs on DISPLAY and, when set, on
// TSL_DISPLAY_16 and TSL_DISPLAY_8.
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "tessel.h"

static const int RUNS = 15;
static const double TARGET_MS = 10.0;

// Every request that waits for the server's answer ends in _XReply; this
// definition takes the place of libX11's and counts the calls (the reply
// record is passed through untouched, so its type is left opaque here).
static long replies;

extern "C" Status _XReply(Display* d, void* rep, int extra, Bool discard)
{
    using Real = Status (*)(Display*, void*, int, Bool);
    static Real real = (Real)dlsym(RTLD_NEXT, "_XReply");
    replies++;
    return real(d, rep, extra, discard);
}

struct Sample {
    double ms;
    long roundTrips;
};

static double now_ms()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec * 1e-6;
}

enum Task { BARE_OPEN, TOOLKIT_OPEN };

static Sample run_once(Task task, const char* display)
{
    Sample s = {-1, 0};
    int fds[2];
    if (pipe(fds) != 0)
        return s;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        // Start-up messages (a missing font, the file being created) are not
        // what is measured.
        if (!freopen("/dev/null", "w", stderr))
            _exit(1);
        char a0[] = "bench_startup", a1[] = "-d";
        std::string name = display;
        char* argv[] = {a0, a1, &name[0], nullptr};
        Sample r = {0, 0};
        replies = 0;
        double t0 = now_ms();
        if (task == BARE_OPEN) {
            Display* d = XOpenDisplay(display);
            r.ms = now_ms() - t0;
            r.roundTrips = replies;
            if (d)
                XCloseDisplay(d);
        } else {
            Display* d = tslOpenDisplay(3, argv);
            r.ms = now_ms() - t0;
            r.roundTrips = replies;
            tslCloseDisplay(d);
        }
        ssize_t n = write(fds[1], &r, sizeof r);
        _exit(n == (ssize_t)sizeof r ? 0 : 1);
    }
    close(fds[1]);
    if (pid > 0 && read(fds[0], &s, sizeof s) != (ssize_t)sizeof s)
        s.ms = -1;
    close(fds[0]);
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    return s;
}

// Median time and round trips of RUNS starts; fresh removes ~/.tslrc before each.
static bool measure(Task task, const char* display, const std::string& rc, bool fresh, Sample* out)
{
    std::vector<double> ms;
    std::vector<long> trips;
    for (int i = 0; i < RUNS; i++) {
        if (fresh)
            unlink(rc.c_str());
        Sample s = run_once(task, display);
        if (s.ms < 0)
            return false;
        ms.push_back(s.ms);
        trips.push_back(s.roundTrips);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(trips.begin(), trips.end());
    out->ms = ms[RUNS / 2];
    out->roundTrips = trips[RUNS / 2];
    return true;
}

static bool report(const char* env, const std::string& rc)
{
    const char* display = getenv(env);
    if (!display || !*display)
        return true;
    Sample bare, first, later;
    if (!measure(BARE_OPEN, display, rc, false, &bare) || !measure(TOOLKIT_OPEN, display, rc, true, &first) ||
        !measure(TOOLKIT_OPEN, display, rc, false, &later))
        return false;
    printf("%s (%s)\n", env, display);
    printf("  XOpenDisplay alone            : %6.2f ms %4ld round trips\n", bare.ms, bare.roundTrips);
    printf("  tslOpenDisplay, first start   : %6.2f ms %4ld round trips\n", first.ms, first.roundTrips);
    printf("  tslOpenDisplay, with ~/.tslrc: %6.2f ms %4ld round trips (target < %.0f ms) %s\n", later.ms,
           later.roundTrips, TARGET_MS, later.ms < TARGET_MS ? "ok" : "MISSED");
    return true;
}

int main()
{
    char dir[] = "/tmp/bench_startup.XXXXXX";
    if (!mkdtemp(dir)) {
        fprintf(stderr, "bench_startup: can't make a temporary HOME\n");
        return 1;
    }
    setenv("HOME", dir, 1);
    std::string rc = std::string(dir) + "/.tslrc";
    printf("median of %d starts each\n", RUNS);
    bool ok = true;
    for (const char* env : {"DISPLAY", "TSL_DISPLAY_16", "TSL_DISPLAY_8"})
        ok = report(env, rc) && ok;
    unlink(rc.c_str());
    rmdir(dir);
    if (!ok) {
        fprintf(stderr, "bench_startup: a start failed (is DISPLAY set?)\n");
        return 1;
    }
    return 0;
}
