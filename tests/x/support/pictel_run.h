// The real pictel program for end-to-end tests: started in a fresh folder
// that is its working directory and HOME, with its standard error kept in
// a file, driven only through the server by a Robot.  The including test
// defines PICTEL_PATH.
#ifndef TSL_TEST_PICTEL_RUN_H
#define TSL_TEST_PICTEL_RUN_H

#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <X11/keysym.h>

#include <string>
#include <vector>

#include "testutil.h"
#include "xenv.h"
#include "xrobot.h"

class PictelRun : public ::testing::Test {
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
    // Runs pictel with the arguments, behind the words of wrapper (a
    // program such as valgrind and its options) when given, stderr to a
    // file, and waits up to window_ms for its window.
    void start(std::vector<const char*> args, bool window = true, std::vector<const char*> wrapper = {},
               int window_ms = 5000)
    {
        args.insert(args.begin(), PICTEL_PATH);
        args.insert(args.begin(), wrapper.begin(), wrapper.end());
        args.push_back(nullptr);
        if ((pid = fork()) == 0) {
            // As root it would read any file whatever its permissions.
            prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0);
            prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0);
            int err = open((dir / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (!setenv("HOME", dir.path.c_str(), 1) && !chdir(dir.path.c_str()) && dup2(err, 2) == 2)
                execv(args[0], const_cast<char**>(args.data()));
            _exit(127);
        }
        main = r.find("Pictel", window ? window_ms : 300);
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
    Window key(KeySym k, const std::string& to = "Pictel", int pause_ms = 80)
    {
        Window w = r.find(to.c_str());
        return r.focus(w), r.key(k), r.pause(pause_ms), w;
    }
    // Opens the file dialog with "o" and accepts the typed name.
    void open_by_dialog(const std::string& name)
    {
        key(XK_o, "Pictel", 0);
        r.focus(r.find(("Open Dialog - " + dir.path).c_str())), r.move(r.find("_tslPath_tslFileDlg"), 20, 10);
        r.type(name), r.key(XK_Return), r.pause(80);
    }
    unsigned long pane(int x, int y) { return xenv_pixel(r.dpy, r.find("ViewWnd"), x, y); }
    std::vector<int> place(const char* name)
    {
        XWindowAttributes a{};
        XGetWindowAttributes(r.dpy, r.find(name), &a);
        return {a.x, a.y, a.width, a.height};
    }
    // The program's resident memory in kB, from /proc.
    long rss_kb()
    {
        std::string status = tu::read_file("/proc/" + std::to_string(pid) + "/status");
        size_t at = status.find("VmRSS:");
        return at == std::string::npos ? -1 : atol(status.c_str() + at + 6);
    }
};

#endif
