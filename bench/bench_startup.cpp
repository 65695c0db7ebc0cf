// Start-up benchmark: times tslOpenDisplay under a temporary HOME, on the
// first start (no ~/.tslrc yet) and on later starts (the file exists), and
// counts the round trips it makes to the server.  Each start runs in its own
// forked child; the figures are medians.  Runs on DISPLAY and, when set, on
// TSL_DISPLAY_16 and TSL_DISPLAY_8.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "bench_support.h"
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
    double cpuMs;  // the program's own processor time
    long roundTrips;
};

static double now_ms(clockid_t clock)
{
    timespec ts;
    clock_gettime(clock, &ts);
    return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec * 1e-6;
}

// One start: on display, in locale (null: the environment's), with or
// without the toolkit.
struct Start {
    bool toolkit;
    const char* display;
    const char* locale;
};

static Sample start_once(const Start& how)
{
    // Start-up messages (a missing font, the file being created) are not
    // what is measured.
    if (!freopen("/dev/null", "w", stderr))
        _exit(1);
    if (how.locale)
        setenv("LC_ALL", how.locale, 1);
    char a0[] = "bench_startup", a1[] = "-d";
    std::string name = how.display;
    char* argv[] = {a0, a1, &name[0], nullptr};
    replies = 0;
    double t0 = now_ms(CLOCK_MONOTONIC), c0 = now_ms(CLOCK_PROCESS_CPUTIME_ID);
    Display* d = how.toolkit ? tslOpenDisplay(3, argv) : XOpenDisplay(how.display);
    Sample r = {now_ms(CLOCK_MONOTONIC) - t0, now_ms(CLOCK_PROCESS_CPUTIME_ID) - c0, replies};
    if (how.toolkit)
        tslCloseDisplay(d);
    else if (d)
        XCloseDisplay(d);
    return r;
}

// Medians of RUNS starts; fresh removes ~/.tslrc before each.
static bool measure(const Start& how, const std::string& rc, bool fresh, Sample* out)
{
    std::vector<double> ms, cpu;
    std::vector<long> trips;
    for (int i = 0; i < RUNS; i++) {
        if (fresh)
            unlink(rc.c_str());
        Sample s;
        if (!run_forked([&] { return start_once(how); }, &s))
            return false;
        ms.push_back(s.ms);
        cpu.push_back(s.cpuMs);
        trips.push_back(s.roundTrips);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::sort(trips.begin(), trips.end());
    *out = Sample{ms[RUNS / 2], cpu[RUNS / 2], trips[RUNS / 2]};
    return true;
}

static void print(const char* what, const Sample& s, bool target)
{
    printf("  %-31s: %6.2f ms (%5.2f ms processor) %4ld round trips", what, s.ms, s.cpuMs, s.roundTrips);
    if (target)
        printf("  target < %.0f ms: %s", TARGET_MS, s.ms < TARGET_MS ? "ok" : "MISSED");
    printf("\n");
}

static bool report(const char* env, const std::string& rc)
{
    const char* display = getenv(env);
    if (!display || !*display)
        return true;
    Sample bare, first, later;
    if (!measure({false, display, nullptr}, rc, false, &bare) ||
        !measure({true, display, nullptr}, rc, true, &first) || !measure({true, display, nullptr}, rc, false, &later))
        return false;
    printf("%s (%s)\n", env, display);
    print("XOpenDisplay alone", bare, false);
    print("tslOpenDisplay, first start", first, false);
    print("tslOpenDisplay, with ~/.tslrc", later, true);
    return true;
}

// The input method and the font set cost what the locale asks of libX11:
// later starts on DISPLAY in other locales, where this system has them.
static bool report_locales(const std::string& rc)
{
    const char* display = getenv("DISPLAY");
    if (!display || !*display)
        return true;
    for (const char* locale : {"ja_JP.eucJP", "C"}) {
        if (!setlocale(LC_ALL, locale))
            continue;
        Sample s;
        if (!measure({true, display, locale}, rc, false, &s))
            return false;
        std::string what = std::string("LC_ALL=") + locale;
        print(what.c_str(), s, true);
    }
    setlocale(LC_ALL, "C");
    return true;
}

int main()
{
    TempHome home;
    if (!home.ok) {
        fprintf(stderr, "bench_startup: can't make a temporary HOME\n");
        return 1;
    }
    const char* locale = setlocale(LC_ALL, "");
    printf("median of %d starts each, locale %s\n", RUNS, locale ? locale : "?");
    setlocale(LC_ALL, "C");
    bool ok = true;
    for (const char* env : {"DISPLAY", "TSL_DISPLAY_16", "TSL_DISPLAY_8"})
        ok = report(env, home.rc()) && ok;
    printf("DISPLAY in other locales\n");
    ok = report_locales(home.rc()) && ok;
    if (!ok) {
        fprintf(stderr, "bench_startup: a start failed (is DISPLAY set?)\n");
        return 1;
    }
    return 0;
}
