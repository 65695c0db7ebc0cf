// Benchmark support: the clock, measurements in forked children, so that
// each starts from a fresh process, and a temporary HOME for the programs
// measured.
#ifndef TSL_BENCH_SUPPORT_H
#define TSL_BENCH_SUPPORT_H

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>

// The monotonic clock in milliseconds.
inline double now_ms()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec * 1e-6;
}

// Runs measure() (returning a plain struct T) in a child; false when the
// child could not be made or gave no result.
template <typename T, typename Measure>
bool run_forked(Measure measure, T* out)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        T r = measure();
        _exit(write(fds[1], &r, sizeof r) == (ssize_t)sizeof r ? 0 : 1);
    }
    close(fds[1]);
    bool ok = pid > 0 && read(fds[0], out, sizeof *out) == (ssize_t)sizeof *out;
    close(fds[0]);
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    return ok;
}

// A fresh HOME for as long as it lives, removed with the ~/.tslrc the
// toolkit writes there.
struct TempHome {
    char dir[32] = "/tmp/bench_home.XXXXXX";
    bool ok = false;

    TempHome()
    {
        ok = mkdtemp(dir) != nullptr;
        if (ok)
            setenv("HOME", dir, 1);
    }
    ~TempHome()
    {
        if (!ok)
            return;
        unlink(rc().c_str());
        rmdir(dir);
    }
    std::string rc() const { return std::string(dir) + "/.tslrc"; }
};

#endif
