// The real pictel for end-to-end tests: started with arguments in a fresh
// working directory that is also its HOME, standard error to a file, and
// its window found; killed at the end when it is still running.
#ifndef TSL_TEST_PICTEL_RUN_H
#define TSL_TEST_PICTEL_RUN_H

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>

#include <X11/keysym.h>

#include "testutil.h"
#include "xenv.h"
#include "xrobot.h"

// Every pixel of the small picture tells its column and row.  Its name is
// longer than the 254 bytes the status line and messages show.
static auto code = [](int x, int y) { return (uint32_t)(x * 2) << 16 | (uint32_t)(y * 4) << 8 | 0x80; };
static const std::string kSmall = std::string(251, 's') + ".bmp";

class Pictel : public ::testing::Test {
protected:
    tu::TempDir dir;  // the program's working directory and HOME
    Robot r;          // a window gone makes a test fail, not end
    pid_t pid = -1;
    Window main = 0;

    void TearDown() override
    {
        if (pid > 0 && !kill(pid, SIGKILL))
            waitpid(pid, nullptr, 0), r.wait_gone(main);
    }
    // Runs pictel with the arguments, stderr to a file, and waits for its window.
    void start(std::vector<const char*> args, bool window = true)
    {
        tu::write_file(dir / kSmall, tu::make_bmp(100, 50, 24, {}, code));
        // Each row has its number for colour; named for the wrong reader.
        tu::write_file(dir / "tall.jpg", tu::make_bmp(640, 480, 24, {}, [](int, int y) { return y; }));
        args.insert(args.begin(), PICTEL_PATH);
        args.push_back(nullptr);
        if ((pid = fork()) == 0) {
            int err = open((dir / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (!setenv("HOME", dir.path.c_str(), 1) && !chdir(dir.path.c_str()) && dup2(err, 2) == 2)
                execv(PICTEL_PATH, const_cast<char**>(args.data()));
            _exit(127);
        }
        main = r.find("Pictel", window ? 5000 : 300);
        ASSERT_EQ(main != 0, window);
    }
    // Exit status, or -1 while the program still runs after ms.
    int ended(int ms = 5000)
    {
        for (int waited = 0, status; waited < ms; waited += 10, usleep(10000))
            if (waitpid(pid, &status, WNOHANG) == pid)
                return pid = -1, WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        return -1;
    }
    bool said(const char* text) { return tu::read_file(dir / "stderr").find(text) != std::string::npos; }
    // Presses k in the window titled to; returns that window.
    Window key(KeySym k, const std::string& to = "Pictel")
    {
        Window w = r.find(to.c_str());
        return r.focus(w), r.key(k), r.pause(80), w;
    }
    unsigned long pane(int x, int y) { return xenv_pixel(r.dpy, r.find("ViewWnd"), x, y); }
    std::vector<int> place(const char* name)
    {
        XWindowAttributes a{};
        XGetWindowAttributes(r.dpy, r.find(name), &a);
        return {a.x, a.y, a.width, a.height};
    }
};

#endif
