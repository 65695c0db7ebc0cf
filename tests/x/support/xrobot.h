// The user, as a second X client: finds windows by title, moves the pointer,
// presses buttons and keys through XTEST, and closes windows the way a
// window manager does.  It has its own connection and may run in its own
// thread, so a test can drive a modal dialog while the toolkit's loop runs.
#ifndef TSL_TEST_XROBOT_H
#define TSL_TEST_XROBOT_H

#include <X11/Xlib.h>

#include <functional>
#include <string>
#include <thread>

class Robot {
public:
    // Connects to the named display (DISPLAY when null).
    explicit Robot(const char* display_name = nullptr);
    ~Robot();
    Robot(const Robot&) = delete;
    Robot& operator=(const Robot&) = delete;

    Display* dpy = nullptr;

    // A viewable window whose WM_NAME is title (searched through the whole
    // tree), waiting up to timeout_ms; 0 when none appears.
    Window find(const char* title, int timeout_ms = 5000);
    // Waits until w is gone or unmapped; false on timeout.
    bool wait_gone(Window w, int timeout_ms = 5000);
    // Position of w's top-left corner on the screen, and its size.
    bool geometry(Window w, int* x, int* y, int* width = nullptr, int* height = nullptr);

    // The pointer to (x, y) in w's coordinates.
    void move(Window w, int x, int y);
    void press(int button = 1);
    void release(int button = 1);
    void click(Window w, int x, int y, int button = 1);
    // A key press and release; modifiers are ShiftMask and ControlMask.
    void key(unsigned long keysym, unsigned modifiers = 0);
    void key_down(unsigned long keysym);
    void key_up(unsigned long keysym);
    // ASCII text, one key per character, each gap_ms after the last.
    void type(const std::string& text, int gap_ms = 60);
    // Keyboard focus to w.
    void focus(Window w);
    // The window manager's close (WM_DELETE_WINDOW).
    void close(Window w);
    // Lets the server and the client under test catch up.
    void pause(int ms);
    void sync();
};

// Runs a script with its own Robot in a thread; join() waits for it.  The
// script's failures are recorded as test failures.
class RobotThread {
public:
    explicit RobotThread(std::function<void(Robot&)> script, const char* display_name = nullptr);
    ~RobotThread();
    void join();

private:
    std::thread thread_;
};

#endif
