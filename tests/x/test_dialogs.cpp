// The message and about dialogs driven by a user through XTEST while their
// modal loops run: layout as shown, every way to answer and what the caller
// receives, throttled keys, the parent while a dialog runs, and the answer
// when no dialog window can be made.
#include <array>
#include <functional>
#include <string>

#include "testutil.h"
#include "xfixture.h"
#include "xrobot.h"

#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using Box = std::array<int, 4>;

enum Action { KEY_RETURN, KEY_SPACE, CLICK_OK, CLICK_CANCEL, WM_CLOSE, DESTROY };

class Dialogs : public XTest {
protected:
    TslImage* pictures[TSL_IMAGE_COUNT] = {};

    void SetUp() override
    {
        XTest::SetUp();
        if (!d)
            return;
        // The message pictures 12..16, each one colour.
        for (int i = 12; i <= 16; i++)
            g_tessel.images[i] = pictures[i] = xenv_solid_image(d, 100, 25, g_tessel.colors[i - 10]);
    }
    void TearDown() override
    {
        if (d) {
            xenv_destroy_all(d);
            for (int i = 12; i <= 16; i++) {
                xenv_free_image(d, pictures[i]);
                g_tessel.images[i] = nullptr;
            }
        }
        XTest::TearDown();
    }
};

// A window's place inside another, as the user's connection sees them.
Box box_in(Robot& r, Window w, Window outer)
{
    int x = 0, y = 0, ox = 0, oy = 0, width = 0, height = 0;
    r.geometry(outer, &ox, &oy);
    r.geometry(w, &x, &y, &width, &height);
    return {x - ox, y - oy, width, height};
}

unsigned long pixel(Robot& r, Window w, int x, int y)
{
    return xenv_pixel(r.dpy, w, x, y);
}

void act(Robot& r, Window dialog, Action action)
{
    switch (action) {
    case KEY_RETURN:
    case KEY_SPACE:
        r.focus(dialog);
        r.key(action == KEY_RETURN ? XK_Return : XK_space);
        break;
    case CLICK_OK:
        r.click(r.find(" O K "), 30, 12);
        break;
    case CLICK_CANCEL:
        r.click(r.find("Cancel"), 30, 12);
        break;
    case WM_CLOSE:
        r.close(dialog);
        break;
    case DESTROY:
        XDestroyWindow(r.dpy, dialog);
        r.sync();
        break;
    }
}

// Runs the user's script against the dialog titled title while show() runs
// the dialog on this thread; a dialog the script left open is destroyed.
int run(const char* title, std::function<void(Robot&, Window)> script, std::function<int()> show)
{
    RobotThread user([&](Robot& r) {
        Window dialog = r.find(title);
        if (!dialog) {
            ADD_FAILURE() << "no dialog " << title;
            return;
        }
        r.pause(150);
        script(r, dialog);
        if (!r.wait_gone(dialog, 3000)) {
            ADD_FAILURE() << "dialog " << title << " still open";
            XDestroyWindow(r.dpy, dialog);
        }
    });
    int result = show();
    user.join();
    return result;
}

}  // namespace

TEST_F(Dialogs, MessageStylesLayOutAndAnswer)
{
    const struct {
        int style;
        Action action;
        int result;
        Box ok, cancel;
        int picture;
    } cases[] = {
        {81, KEY_RETURN, 110, {210, 80, 60, 25}, {}, 14},
        {65, WM_CLOSE, 110, {210, 80, 60, 25}, {}, 15},
        {19, WM_CLOSE, 120, {140, 80, 60, 25}, {210, 80, 60, 25}, 12},
        {19, KEY_SPACE, 110, {140, 80, 60, 25}, {210, 80, 60, 25}, 12},
        {19, CLICK_CANCEL, 120, {140, 80, 60, 25}, {210, 80, 60, 25}, 12},
        {3, CLICK_OK, 110, {140, 80, 60, 25}, {210, 80, 60, 25}, -1},
        {2, DESTROY, 120, {}, {210, 80, 60, 25}, -1},
    };
    for (const auto& c : cases) {
        std::string title = "Message " + std::to_string(c.style) + " " + std::to_string(c.action);
        int result = run(
            title.c_str(),
            [&](Robot& r, Window dialog) {
                EXPECT_EQ(box_in(r, dialog, dialog), (Box{0, 0, 280, 110}));
                EXPECT_EQ(box_in(r, r.find("_tslText_MsgDlg"), dialog), (Box{10, 5, 260, 70}));
                if (c.style & 1) {
                    EXPECT_EQ(box_in(r, r.find(" O K "), dialog), c.ok) << title;
                }
                if (c.style & 2) {
                    EXPECT_EQ(box_in(r, r.find("Cancel"), dialog), c.cancel) << title;
                }
                // The picture's corners at (10, 80) and (109, 104), nothing beside it.
                unsigned long colour = c.picture < 0 ? g_tessel.backPixel : g_tessel.colors[c.picture - 10];
                EXPECT_EQ(pixel(r, dialog, 10, 80), colour) << title;
                EXPECT_EQ(pixel(r, dialog, 109, 104), colour) << title;
                EXPECT_EQ(pixel(r, dialog, 9, 80), g_tessel.backPixel) << title;
                act(r, dialog, c.action);
            },
            [&] { return tslMessageDialog(d, nullptr, title.c_str(), "Something to say.", c.style); });
        EXPECT_EQ(result, c.result) << title;
    }
}

TEST_F(Dialogs, MessageIgnoresReleasesOutsideAndKeysFasterThanTheInterval)
{
    int result = run(
        "Throttle",
        [&](Robot& r, Window dialog) {
            r.move(r.find(" O K "), 30, 12);
            r.press();
            r.move(dialog, 100, 30);
            r.release();
            r.focus(dialog);
            // A key and Return at once: the Return comes within the interval.
            KeyCode a = XKeysymToKeycode(r.dpy, XK_a), ret = XKeysymToKeycode(r.dpy, XK_Return);
            XTestFakeKeyEvent(r.dpy, a, True, CurrentTime);
            XTestFakeKeyEvent(r.dpy, a, False, CurrentTime);
            XTestFakeKeyEvent(r.dpy, ret, True, CurrentTime);
            XTestFakeKeyEvent(r.dpy, ret, False, CurrentTime);
            r.pause(300);
            EXPECT_NE(r.find("Throttle", 0), 0u);
            act(r, dialog, CLICK_CANCEL);
        },
        [&] { return tslMessageDialog(d, nullptr, "Throttle", "Keys", 19); });
    EXPECT_EQ(result, 120);
}

TEST_F(Dialogs, MessageOverItsParentWhichStillRepaints)
{
    TslWindow* parent = tslCreateWindow(d, nullptr, tslPos(300, 300), tslSize(400, 300), 0, "Parent", nullptr);
    xenv_wait_mapped(d, parent->xwin);
    xenv_fill(d, parent->redrawPixmap, g_tessel.colors[3], 0, 0, 400, 300);
    tslRedrawWindow(d, parent);
    const char* title = "\xb3\xce\xc7\xa7";  // EUC-JP for the Japanese "confirm"
    int result = run(
        title,
        [&](Robot& r, Window dialog) {
            Atom type;
            int format;
            unsigned long n, after;
            unsigned char* name = nullptr;
            XGetWindowProperty(r.dpy, dialog, XInternAtom(r.dpy, "_NET_WM_NAME", False), 0, 64, False,
                               AnyPropertyType, &type, &format, &n, &after, &name);
            EXPECT_EQ(std::string(name ? (char*)name : ""), "\xe7\xa2\xba\xe8\xaa\x8d");
            if (name)
                XFree(name);
            Window owner = 0;
            XGetTransientForHint(r.dpy, dialog, &owner);
            EXPECT_EQ(owner, parent->xwin);
            Atom* protocols = nullptr;
            int count = 0;
            XGetWMProtocols(r.dpy, dialog, &protocols, &count);
            EXPECT_TRUE(count == 1 && protocols[0] == XInternAtom(r.dpy, "WM_DELETE_WINDOW", False));
            if (protocols)
                XFree(protocols);

            // Sent below the parent, the dialog uncovers it: it repaints.
            XLowerWindow(r.dpy, dialog);
            r.pause(200);
            EXPECT_EQ(pixel(r, parent->xwin, 200, 150), g_tessel.colors[3]);
            EXPECT_LT(xenv_stack_pos(r.dpy, dialog), xenv_stack_pos(r.dpy, parent->xwin));
            // A click on the parent brings the dialog back to the front.
            r.click(parent->xwin, 20, 20);
            r.pause(200);
            EXPECT_GT(xenv_stack_pos(r.dpy, dialog), xenv_stack_pos(r.dpy, parent->xwin));
            act(r, dialog, KEY_RETURN);
        },
        [&] { return tslMessageDialog(d, parent, title, "Parent", 19); });
    EXPECT_EQ(result, 110);
}

TEST_F(Dialogs, AboutLayoutAndFourWaysToClose)
{
    TslImage* icon = xenv_solid_image(d, 32, 32, g_tessel.colors[5]);
    TslImage* paper = xenv_solid_image(d, 89, 13, g_tessel.colors[7]);
    const struct {
        bool icon;
        Action action;
        Box text;
    } cases[] = {
        {true, KEY_RETURN, {52, 5, 303, 100}},
        {true, KEY_SPACE, {52, 5, 303, 100}},
        {false, CLICK_OK, {10, 5, 345, 100}},
        {false, WM_CLOSE, {10, 5, 345, 100}},
    };
    for (const auto& c : cases) {
        std::string title = "About " + std::to_string(c.action);
        int result = run(
            title.c_str(),
            [&](Robot& r, Window dialog) {
                EXPECT_EQ(box_in(r, dialog, dialog), (Box{0, 0, 365, 140}));
                Window text = r.find("_tslText_About");
                EXPECT_EQ(box_in(r, text, dialog), c.text) << title;
                EXPECT_EQ(box_in(r, r.find(" O K "), dialog), (Box{152, 110, 60, 25})) << title;
                // The icon from (10, 39) to (41, 70); the wallpaper behind the text.
                if (c.icon) {
                    EXPECT_EQ(pixel(r, dialog, 10, 39), g_tessel.colors[5]);
                    EXPECT_EQ(pixel(r, dialog, 41, 70), g_tessel.colors[5]);
                    EXPECT_EQ(pixel(r, dialog, 10, 38), g_tessel.backPixel);
                }
                EXPECT_EQ(pixel(r, text, 2, 50), g_tessel.colors[7]) << title;
                act(r, dialog, c.action);
            },
            [&] {
                return tslAboutDialog(d, nullptr, title.c_str(), "Tessel\nabout", c.icon ? icon : nullptr,
                                      paper, g_tessel.colors[1]);
            });
        EXPECT_EQ(result, 110) << title;
    }
    xenv_free_image(d, icon);
    xenv_free_image(d, paper);
}

TEST_F(Dialogs, WithoutAWindowTheAnswerCallersCanLiveWith)
{
    // The server refuses a redraw buffer of depth 3, so no window can be made.
    int depth = g_tessel.depth;
    g_tessel.depth = 3;
    int withCancel = 0, okOnly = 0, about = 0;
    std::string err = tu::stderr_of([&] {
        withCancel = tslMessageDialog(d, nullptr, "No", "window", 19);
        okOnly = tslMessageDialog(d, nullptr, "No", "window", 65);
        about = tslAboutDialog(d, nullptr, "No", "window", nullptr, nullptr, 0);
    });
    g_tessel.depth = depth;
    EXPECT_EQ(withCancel, 120);
    EXPECT_EQ(okOnly, 110);
    EXPECT_EQ(about, 110);
    EXPECT_NE(err.find("Error: Can't create the message dialog.\n"), std::string::npos);
    EXPECT_NE(err.find("Error: Can't create the about dialog.\n"), std::string::npos);
}
