// The real pictel for end-to-end tests: started with arguments in a fresh
// working directory that is also its HOME, standard error to a file, and
// its window found; killed at the end when it is still running.  As root it
// runs without the capabilities that would let it read any file.
#ifndef TSL_TEST_PICTEL_RUN_H
#define TSL_TEST_PICTEL_RUN_H

#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <X11/keysym.h>

#include "testutil.h"
#include "xfixture.h"
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
    // Runs pictel with the arguments (behind a wrapper such as valgrind and
    // its options, when given), stderr to a file, and waits for its window.
    void start(std::vector<const char*> args, bool window = true, std::vector<const char*> wrapper = {})
    {
        tu::write_file(dir / kSmall, tu::make_bmp(100, 50, 24, {}, code));
        // Each row has its number for colour; named for the wrong reader.
        tu::write_file(dir / "tall.jpg", tu::make_bmp(640, 480, 24, {}, [](int, int y) { return y; }));
        args.insert(args.begin(), PICTEL_PATH);
        args.insert(args.begin(), wrapper.begin(), wrapper.end());
        args.push_back(nullptr);
        if ((pid = fork()) == 0) {
            prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0);
            prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0);
            int err = open((dir / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (!setenv("HOME", dir.path.c_str(), 1) && !chdir(dir.path.c_str()) && dup2(err, 2) == 2)
                execv(args[0], const_cast<char**>(args.data()));
            _exit(127);
        }
        main = r.find("Pictel", window ? (wrapper.empty() ? 5000 : 60000) : 300);
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
    std::string err() { return tu::read_file(dir / "stderr"); }
    bool said(const char* text) { return err().find(text) != std::string::npos; }
    // Presses k in the window titled to; returns that window.
    Window key(KeySym k, const std::string& to = "Pictel")
    {
        Window w = r.find(to.c_str());
        return r.focus(w), r.key(k), r.pause(80), w;
    }
    // Opens the file dialog with "o" and accepts the typed name.
    void open_by_dialog(const std::string& name)
    {
        r.focus(main), r.key(XK_o);
        r.focus(r.find(("Open Dialog - " + dir.path).c_str())), r.move(r.find("_tslPath_tslFileDlg"), 20, 10);
        r.type(name), r.key(XK_Return), r.pause(80);
    }
    // Resident memory in kB.
    long rss_kb()
    {
        std::string status = tu::read_file("/proc/" + std::to_string(pid) + "/status");
        return status.find("VmRSS:") == std::string::npos ? -1 : atol(&status[status.find("VmRSS:") + 6]);
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
