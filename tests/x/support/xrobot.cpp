// The XTEST user: a second connection that moves the pointer and types.
#include <gtest/gtest.h>

#include "xrobot.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <set>

#include "support/textconv.h"

// The robot thread and the test's own thread each use their own
// connection; Xlib's shared state still needs its locks.
static const Status s_threads = XInitThreads();

// The error handler is one for the whole process.  Windows the robot looks
// at may vanish under it, so errors on a robot's connection are ignored;
// all others go to the handler that was there before.
static std::mutex s_robots_lock;
static std::set<Display*> s_robots;
static XErrorHandler s_previous;

static int robot_aware_handler(Display* d, XErrorEvent* e)
{
    {
        std::lock_guard<std::mutex> hold(s_robots_lock);
        if (s_robots.count(d))
            return 0;
    }
    return s_previous ? s_previous(d, e) : 0;
}

static const bool s_handler = [] {
    s_previous = XSetErrorHandler(robot_aware_handler);
    return true;
}();

Robot::Robot(const char* display_name)
{
    (void)s_threads;
    (void)s_handler;
    dpy = XOpenDisplay(display_name);
    std::lock_guard<std::mutex> hold(s_robots_lock);
    if (dpy)
        s_robots.insert(dpy);
}

Robot::~Robot()
{
    if (!dpy)
        return;
    XCloseDisplay(dpy);
    std::lock_guard<std::mutex> hold(s_robots_lock);
    s_robots.erase(dpy);
}

void Robot::pause(int ms)
{
    sync();
    usleep((useconds_t)ms * 1000);
}

void Robot::sync()
{
    if (dpy)
        XSync(dpy, False);
}

// The title is in the toolkit's code; WM_NAME holds it as Latin-1 or
// compound text.
static bool name_is(Display* d, Window w, const char* title)
{
    XTextProperty prop{};
    char** list = nullptr;
    int count = 0;
    bool same = XGetWMName(d, w, &prop) && Xutf8TextPropertyToTextList(d, &prop, &list, &count) >= 0 &&
                count > 0 && textconv_to_utf8(title) == list[0];
    XFreeStringList(list);
    XFree(prop.value);
    return same;
}

static bool viewable(Display* d, Window w)
{
    XWindowAttributes a;
    return XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
}

// The topmost viewable window of that name at or below w.
static Window search(Display* d, Window w, const char* title)
{
    if (name_is(d, w, title) && viewable(d, w))
        return w;
    Window root, parent, *kids = nullptr, found = 0;
    unsigned n = 0;
    if (!XQueryTree(d, w, &root, &parent, &kids, &n))
        return 0;
    for (unsigned i = n; i-- > 0 && !found;)
        found = search(d, kids[i], title);
    if (kids)
        XFree(kids);
    return found;
}

Window Robot::find(const char* title, int timeout_ms)
{
    for (int waited = 0; dpy && waited <= timeout_ms; waited += 10, usleep(10000))
        if (Window w = search(dpy, DefaultRootWindow(dpy), title))
            return w;
    return 0;
}

bool Robot::wait_gone(Window w, int timeout_ms)
{
    for (int waited = 0; waited <= timeout_ms; waited += 10, usleep(10000))
        if (!viewable(dpy, w))
            return true;
    return false;
}

bool Robot::geometry(Window w, int* x, int* y, int* width, int* height)
{
    XWindowAttributes a;
    Window child;
    if (!XGetWindowAttributes(dpy, w, &a) || !XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), 0, 0, x, y, &child))
        return false;
    if (width)
        *width = a.width;
    if (height)
        *height = a.height;
    return true;
}

void Robot::move(Window w, int x, int y)
{
    int ox = 0, oy = 0;
    geometry(w, &ox, &oy);
    XTestFakeMotionEvent(dpy, 0, ox + x, oy + y, CurrentTime);
    pause(20);
}

void Robot::press(int button)
{
    XTestFakeButtonEvent(dpy, (unsigned)button, True, CurrentTime);
    pause(20);
}

void Robot::release(int button)
{
    XTestFakeButtonEvent(dpy, (unsigned)button, False, CurrentTime);
    pause(20);
}

void Robot::click(Window w, int x, int y, int button)
{
    move(w, x, y);
    press(button);
    release(button);
}

void Robot::key_down(unsigned long keysym)
{
    KeyCode code = XKeysymToKeycode(dpy, keysym);
    if (!code)
        ADD_FAILURE() << "no key for keysym " << keysym;
    else
        XTestFakeKeyEvent(dpy, code, True, CurrentTime), pause(10);
}

void Robot::key_up(unsigned long keysym)
{
    if (KeyCode code = XKeysymToKeycode(dpy, keysym))
        XTestFakeKeyEvent(dpy, code, False, CurrentTime), pause(10);
}

void Robot::key(unsigned long keysym, unsigned modifiers)
{
    // A symbol on the shifted level of its key needs Shift as well.
    KeyCode code = XKeysymToKeycode(dpy, keysym);
    if (code && XkbKeycodeToKeysym(dpy, code, 0, 0) != keysym && XkbKeycodeToKeysym(dpy, code, 0, 1) == keysym)
        modifiers |= ShiftMask;
    // Modifier presses are keys too: the toolkit drops keys that follow
    // another within one loop interval, so leave a human's gap.
    if (modifiers & ControlMask)
        key_down(XK_Control_L), pause(50);
    if (modifiers & ShiftMask)
        key_down(XK_Shift_L), pause(50);
    key_down(keysym);
    key_up(keysym);
    if (modifiers & ShiftMask)
        key_up(XK_Shift_L);
    if (modifiers & ControlMask)
        key_up(XK_Control_L);
}

void Robot::type(const std::string& text, int gap_ms)
{
    for (char c : text)
        key((unsigned long)(unsigned char)c), pause(gap_ms);
}

void Robot::focus(Window w)
{
    XSetInputFocus(dpy, w, RevertToPointerRoot, CurrentTime);
    pause(20);
}

void Robot::close(Window w)
{
    XEvent ev{};
    ev.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, w, False, NoEventMask, &ev);
    pause(20);
}

RobotThread::RobotThread(std::function<void(Robot&)> script, const char* display_name)
    : thread_([script, display_name] {
          Robot robot(display_name);
          if (!robot.dpy) {
              ADD_FAILURE() << "robot: cannot open display";
              return;
          }
          script(robot);
          robot.sync();
      })
{
}

RobotThread::~RobotThread()
{
    join();
}

void RobotThread::join()
{
    if (thread_.joinable())
        thread_.join();
}
