// The message and about dialogs driven by a user through XTEST while their
// modal loops run: layout, every way to answer and what the caller receives,
// presses and keys that must not answer, the parent meanwhile, and the
// answer when no dialog window can be made.
#include <algorithm>
#include <clocale>
#include <array>
#include <functional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "testutil.h"
#include "xfixture.h"
#include "xrobot.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using Dialogs = XTest;
using Box = std::array<int, 4>;
enum Action { RETURN, SPACE, OK, CANCEL, CLOSE, DESTROY, NONE };

// Where the window titled title lies inside outer, as the user sees it;
// all zero when there is none.
static Box box_in(Robot& r, const char* title, Window outer)
{
    int x = 0, y = 0, ox = 0, oy = 0, w = 0, h = 0;
    if (!r.geometry(outer, &ox, &oy) || !r.geometry(r.find(title, 0), &x, &y, &w, &h))
        return {};
    return {x - ox, y - oy, w, h};
}

// Shows a dialog on this thread while the user looks at it (script) and
// answers it (action); a dialog that outlives the answer is destroyed.
static int run(const std::string& title, std::function<int()> show, Action action,
               std::function<void(Robot&, Window)> script)
{
    RobotThread user([&](Robot& r) {
        Window dialog = r.find(title.c_str());
        r.pause(150);
        script(r, dialog);
        if (action <= SPACE) {
            r.focus(dialog);
            r.key(action == RETURN ? XK_Return : XK_space);
        } else if (action <= CANCEL) {
            r.click(r.find(action == OK ? " O K " : "Cancel"), 30, 12);
        } else if (action == CLOSE) {
            r.close(dialog);
        }
        if (action == DESTROY || !r.wait_gone(dialog, 3000)) {
            EXPECT_EQ(action, DESTROY) << title << " still open";
            XDestroyWindow(r.dpy, dialog);
        }
    });
    int result = show();
    user.join();
    return result;
}

TEST_F(Dialogs, MessageLayoutAnswersAndParent)
{
    for (int i = 12; i <= 16; i++)  // the message pictures, one colour each
        g_tessel.images[i] = xenv_solid_image(d, 100, 25, g_tessel.colors[i - 10]);
    TslWindow* parent = tslCreateWindow(d, nullptr, tslPos(300, 300), tslSize(400, 300), 0, "Parent", nullptr);
    xenv_fill(d, parent->redrawPixmap, g_tessel.colors[3], 0, 0, 400, 300);
    // The first title is EUC-JP for the Japanese "confirm".
    const struct { const char* title; int style; Action action; int result, okX, picture; } cases[] = {
        {"\xb3\xce\xc7\xa7", 19, RETURN, 110, 140, 12}, {"81", 81, RETURN, 110, 210, 14},
        {"65", 65, CLOSE, 110, 210, 15}, {"19", 19, CLOSE, 120, 140, 12}, {"19s", 19, SPACE, 110, 140, 12},
        {"19c", 19, CANCEL, 120, 140, 12}, {"3", 3, OK, 110, 140, -1}, {"2", 2, DESTROY, 120, 0, -1}};
    for (const auto& c : cases) {
        auto look = [&](Robot& r, Window dialog) {
            EXPECT_EQ(box_in(r, "_tslText_MsgDlg", dialog), (Box{10, 5, 260, 70}));
            EXPECT_EQ(box_in(r, "Cancel", dialog), (c.style & 2 ? Box{210, 80, 60, 25} : Box{}));
            EXPECT_EQ(box_in(r, " O K ", dialog), (c.style & 1 ? Box{c.okX, 80, 60, 25} : Box{}));
            // The picture from (10, 80) to (109, 104).
            unsigned long colour = c.picture < 0 ? g_tessel.backPixel : g_tessel.colors[c.picture - 10];
            EXPECT_TRUE(xenv_pixel(r.dpy, dialog, 10, 80) == colour && xenv_pixel(r.dpy, dialog, 109, 104) == colour)
                << c.title;
            if (c.action == CANCEL) {
                // A press on OK released outside, and Return hard on a key's heels.
                r.move(r.find(" O K "), 30, 12);
                r.press();
                r.move(dialog, 100, 30);
                r.release();
                r.focus(dialog);
                for (KeySym k : {XK_a, XK_Return})
                    for (Bool down : {True, False})
                        XTestFakeKeyEvent(r.dpy, XKeysymToKeycode(r.dpy, k), down, CurrentTime);
                r.pause(300);
                EXPECT_NE(r.find(c.title, 0), 0u);
            }
            if (&c == cases) {
                // Its title in UTF-8 for the window manager, its owner the parent.
                XTextProperty name{};
                XGetTextProperty(r.dpy, dialog, &name, XInternAtom(r.dpy, "_NET_WM_NAME", False));
                EXPECT_STREQ((const char*)name.value, "\xe7\xa2\xba\xe8\xaa\x8d");
                XFree(name.value);
                Window owner = 0;
                EXPECT_TRUE(XGetTransientForHint(r.dpy, dialog, &owner) && owner == parent->xwin);
                // Sent below the parent, it uncovers it, which repaints; a click
                // on the parent brings the dialog back.
                XLowerWindow(r.dpy, dialog);
                r.pause(200);
                EXPECT_EQ(xenv_pixel(r.dpy, parent->xwin, 200, 150), g_tessel.colors[3]);
                r.click(parent->xwin, 20, 20);
                r.pause(200);
                EXPECT_GT(xenv_stack_pos(r.dpy, dialog), xenv_stack_pos(r.dpy, parent->xwin));
            }
        };
        auto show = [&] { return tslMessageDialog(d, parent, c.title, "Something to say.", c.style); };
        EXPECT_EQ(run(c.title, show, c.action, look), c.result) << c.title;
    }
    for (int i = 12; i <= 16; i++)
        xenv_free_image(d, g_tessel.images[i]), g_tessel.images[i] = nullptr;
}

TEST_F(Dialogs, AboutLayoutAndFourWaysToClose)
{
    TslImage* icon = xenv_solid_image(d, 32, 32, g_tessel.colors[5]);
    TslImage* paper = xenv_solid_image(d, 89, 13, g_tessel.colors[7]);
    for (Action action : {RETURN, SPACE, OK, CLOSE}) {
        std::string title = "About " + std::to_string(action);
        bool withIcon = action == RETURN || action == OK;
        auto look = [&](Robot& r, Window dialog) {
            EXPECT_EQ(box_in(r, "_tslText_About", dialog), (withIcon ? Box{52, 5, 303, 100} : Box{10, 5, 345, 100}));
            EXPECT_EQ(box_in(r, " O K ", dialog), (Box{152, 110, 60, 25}));
            // The icon from (10, 39) to (41, 70); the wallpaper behind the text.
            EXPECT_TRUE(!withIcon || (xenv_pixel(r.dpy, dialog, 10, 39) == g_tessel.colors[5] &&
                                      xenv_pixel(r.dpy, dialog, 41, 70) == g_tessel.colors[5] &&
                                      xenv_pixel(r.dpy, dialog, 10, 38) == g_tessel.backPixel));
            EXPECT_EQ(xenv_pixel(r.dpy, r.find("_tslText_About"), 2, 50), g_tessel.colors[7]);
        };
        auto show = [&] { return tslAboutDialog(d, nullptr, title.c_str(), "Tessel", withIcon ? icon : nullptr, paper, 0); };
        EXPECT_EQ(run(title, show, action, look), 110) << title;
    }
    xenv_free_image(d, icon);
    xenv_free_image(d, paper);
}

TEST_F(Dialogs, WithoutAWindowTheAnswerCallersCanLiveWith)
{
    // The server refuses a redraw buffer of depth 3, so no window can be made.
    int depth = g_tessel.depth;
    g_tessel.depth = 3;
    std::string err = tu::stderr_of([&] {
        EXPECT_EQ(tslMessageDialog(d, nullptr, "No", "window", 19), 120);
        EXPECT_EQ(tslMessageDialog(d, nullptr, "No", "window", 65), 110);
        EXPECT_EQ(tslAboutDialog(d, nullptr, "No", "window", nullptr, nullptr, 0), 110);
    });
    g_tessel.depth = depth;
    EXPECT_EQ(err.substr(err.size() - 38), "Error: Can't create the about dialog.\n");
    EXPECT_NE(err.find("Error: Can't create the message dialog.\n"), std::string::npos);
}

// Line i of the text is i + 1 letters: the top line's index shows in how far
// the first row reaches.  The text box shows (365 - 1) / h whole lines.
TEST_F(Dialogs, TextDialogScrollsByKeysAndOpensWhereItWasClosed)
{
    std::string text;
    for (int i = 0; i < 30; i++)
        text += std::string(i + 1, 'M') + "\n";
    int h = tslGetCharHeight(nullptr), cw = XTextWidth(g_tessel.font, "M", 1), last = 30 - 364 / h;
    Box closed{}, at{};
    for (Action action : {SPACE, RETURN, OK, CLOSE}) {
        std::string title = "Text " + std::to_string(action), tops;
        auto look = [&](Robot& r, Window dialog) {
            r.geometry(dialog, &at[0], &at[1], &at[2], &at[3]);
            EXPECT_TRUE(action == SPACE || at == closed);
            auto top = [&] {
                auto px = xenv_pixels(r.dpy, r.find("_tslText_TextBox"), 0, 2 + h / 2, 300, 1);
                return (int)(std::find(px.rbegin(), px.rend(), g_tessel.fontPixel).base() - px.begin()) / cw - 1;
            };
            r.focus(dialog);
            for (KeySym k : {XK_k, XK_Up, XK_j, XK_f, XK_Down, XK_d, XK_k, XK_Up, XK_d})
                r.key(k), r.pause(50), tops += std::to_string(top());
            for (int i = 0; action == SPACE && i < last + 2; i++)
                r.key(XK_Down), r.pause(40);
            tops += " " + std::to_string(top());
            if (action != SPACE)
                return;
            XMoveWindow(r.dpy, dialog, 40, 60), r.pause(100);
            XResizeWindow(r.dpy, dialog, 400, 300), r.pause(200);
            EXPECT_TRUE(box_in(r, "_tslText_TextDlg", dialog) == (Box{5, 5, 390, 265}) &&
                        box_in(r, " O K ", dialog) == (Box{184, 275, 32, 20}));
            r.geometry(dialog, &closed[0], &closed[1], &closed[2], &closed[3]);
        };
        auto show = [&] { return tslTextDialog(d, nullptr, title.c_str(), text.c_str()); };
        EXPECT_EQ(run(title, show, action, look), 110) << title;
        EXPECT_EQ(tops, "001232100 " + std::to_string(action == SPACE ? last : 0)) << title;
    }
}

// What the file dialog's list showed: each new listing once, after its top row.
static std::vector<std::string> listings;
static void record_listing(Display*, TslWindow*, XEvent*)
{
    TslWindow* box = tslGetWindow("_tslListBox_tslFileDlg");
    std::string s = std::to_string(tslGetPos_ListBox(box)) + ":";
    for (int i = 0; i < tslGetSize_ListBox(box); i++)
        s += std::string(" ") + tslGetName_ListBox(box, i);
    if (box && (listings.empty() || listings.back() != s))
        listings.push_back(s);
}

// A directory holding a locked one (enterable, not readable: the user is no
// root meanwhile) and sub/, whose bad\xff.bmp is not text in any codeset;
// in a UTF-8 locale the UTF-8 name \xe6\x97\xa5.bmp lists in EUC-JP.
TEST_F(Dialogs, FileDialogListsWalksAcceptsAndRemembers)
{
    ASSERT_TRUE(setlocale(LC_ALL, "C.UTF-8"));
    tu::TempDir top;
    char start[4096], here[4096], name[TSL_FILE_NAME_SIZE];
    ASSERT_TRUE(getcwd(start, sizeof start) && chdir(top.path.c_str()) == 0);
    mkdir(".hid", 0755), mkdir("locked", 0111), mkdir("sub", 0755);
    for (int i = 0; i < 36; i++)
        tu::write_file(i < 30 ? "sub/p" + std::to_string(100 + i).substr(1) + ".bmp"
                              : std::vector<std::string>{".h.bmp", "ab.c", "photo.JPG", "photo.jpg", "sub/bad\xff.bmp",
                                                         "\xe6\x97\xa5.bmp"}[i - 30], "");
    ASSERT_EQ(symlink("nowhere", "gone.bmp"), 0);  // stat fails: a file
    chmod(top.path.c_str(), 0755);
    tslSetDebugCallback(record_listing);
    const char* filters[] = {".bmp", ".JPG", ".c", nullptr};
    int rh = std::max(tslGetCharHeight(nullptr), 16);
    auto row = [&](Robot& r, int k, int button = 1) { r.click(r.find("_tslList_ListBox"), 60, 1 + k * rh + rh / 2, button); };
    auto answer = [&](Robot& r, const char* title, bool yes) {
        Window m = r.find(title);
        EXPECT_NE(m, 0u) << title;
        yes ? (r.focus(m), r.key(XK_Return)) : r.close(m);
        r.wait_gone(m);
    };
    Box closed{}, at{};
    const std::string subList = " ../ bad?.bmp p00.bmp p01.bmp p02.bmp";
    const struct { int mode; Action action; std::function<void(Robot&, Window)> script; int result; const char* name;
                   std::vector<std::string> seen; } sessions[] = {
        // Select mode first, then all, then normal; the user cancels.
        {TSL_FILEDLG_OPEN, CANCEL, [&](Robot& r, Window) { r.click(r.find("all"), 5, 5); r.click(r.find("normal"), 5, 5); },
         120, "", {"0: ../ locked/ sub/ gone.bmp photo.JPG \xc6\xfc.bmp",
                   "0: ../ .hid/ locked/ sub/ .h.bmp ab.c gone.bmp photo.JPG photo.jpg \xc6\xfc.bmp",
                   "0: ../ locked/ sub/ ab.c gone.bmp photo.JPG photo.jpg \xc6\xfc.bmp"}},
        // Normal again; locked/ is refused with a word, sub/ entered at once,
        // and a double click accepts a name by its real bytes.
        {TSL_FILEDLG_OPEN, NONE, [&](Robot& r, Window) { row(r, 1); answer(r, "File Dialog", true); row(r, 2); row(r, 1); row(r, 1); },
         110, "bad\xff.bmp", {"0: ../ locked/ sub/ ab.c gone.bmp photo.JPG photo.jpg \xc6\xfc.bmp", "0:" + subList}},
        // Saving over p02.bmp, scrolled to by the wheel, is asked about: no, then yes.
        {TSL_FILEDLG_SAVE, NONE, [&](Robot& r, Window dialog) {
             row(r, 0, 5);
             XMoveWindow(r.dpy, dialog, 30, 40), r.pause(100);
             XResizeWindow(r.dpy, dialog, 320, 400), r.pause(200);
             r.geometry(dialog, &closed[0], &closed[1], &closed[2], &closed[3]);
             row(r, 1);
             for (bool yes : {false, true})
                 r.click(r.find(" O K "), 30, 10), answer(r, "File Save Dialog", yes);
         }, 110, "p02.bmp", {"0:" + subList, "3:" + subList}},
        // Reopened as it was closed; a new name typed is accepted unasked.
        {TSL_FILEDLG_SAVE, RETURN, [&](Robot& r, Window dialog) {
             EXPECT_TRUE(r.geometry(dialog, &at[0], &at[1], &at[2], &at[3]) && at == closed);
             r.focus(dialog);
             r.move(r.find("_tslPath_tslFileDlg"), 20, 10);
             r.type("new.bmp");
         }, 110, "new.bmp", {"3:" + subList}},
        {TSL_FILEDLG_SAVE, CLOSE, [](Robot&, Window) {}, 120, "", {"3:" + subList}},
    };
    for (const auto& s : sessions) {
        std::string title = std::string(s.mode == TSL_FILEDLG_OPEN ? "Open" : "Save") + " Dialog - " + getcwd(here, sizeof here);
        listings.clear();
        // The last one's buffer holds no terminator: the name in it is not taken.
        memset(name, s.action == CLOSE ? 'a' : 0, sizeof name);
        std::string err = tu::stderr_of([&] {
            auto show = [&] {
                EXPECT_EQ(seteuid(geteuid() == 0 ? 65534 : geteuid()), 0);
                int result = tslFileDialog(d, nullptr, name, filters, s.mode);
                return seteuid(getuid()) == 0 ? result : -1;
            };
            EXPECT_EQ(run(title, show, s.action, s.script), s.result);
        });
        EXPECT_STREQ(name, s.name);
        EXPECT_EQ(tslGetSelectFileCount_FileDialog(), s.action == NONE ? 1 : 0);
        EXPECT_STREQ(tslGetSelectFileName_FileDialog(0), s.action == NONE ? s.name : nullptr);
        EXPECT_EQ(err.find("Error: Can't scan directroy.\n") != std::string::npos, &s == &sessions[1]) << err;
        for (size_t i = 0; i < s.seen.size(); i++)
            EXPECT_EQ(listings.at(i).substr(0, s.seen[i].size()), s.seen[i]) << title;
    }
    tslSetDebugCallback(nullptr);
    setlocale(LC_ALL, "C");
    EXPECT_EQ(chdir(start), 0);
}

// The row of each wanted label in the file dialog's list, or -1 where no
// row shows near its left the pixels tslDrawText gives the label alone.
static const std::string wanted[] = {"\xc6\xfc\xcb\xdc.bmp", "x?.bmp"};
static std::vector<int> rowOf;
static void find_rows(Display* d, TslWindow*, XEvent*)
{
    TslWindow* list = tslGetWindow("_tslList_ListBox");
    int h = tslGetCharHeight(nullptr), rh = std::max(h, 16);
    for (size_t i = rowOf.size(); list && i < 2; i++) {
        int k = 0, x = 0, w = tslTextWidth(wanted[i].c_str());
        while (k < tslGetSize_ListWnd(list) && wanted[i] != tslGetName_ListWnd(list, k))
            k++;
        Pixmap alone = XCreatePixmap(d, list->xwin, w, h, g_tessel.depth);
        xenv_fill(d, alone, xenv_pixel(d, list->redrawPixmap, list->rect.width - 8, 1 + k * rh), 0, 0, w, h);
        tslDrawText(d, alone, nullptr, nullptr, list->foreFontPixel, ~0UL, 0, 0, wanted[i].c_str());
        while (x < 40 && xenv_pixels(d, alone, 0, 0, w, h) != xenv_pixels(d, list->redrawPixmap, x, 1 + k * rh, w, h))
            x++;
        XFreePixmap(d, alone);
        rowOf.push_back(x < 40 ? k : -1);
    }
}

// In an EUC-JP and a UTF-8 locale, a Japanese name in the locale's codeset
// lists as its EUC-JP text and one that is not text there with '?'; a double
// click on either opens the file by its real bytes.
TEST_F(Dialogs, FileDialogShowsNamesOfTheLocaleAndOpensThem)
{
    tu::TempDir top;
    char start[4096], name[TSL_FILE_NAME_SIZE];
    ASSERT_TRUE(getcwd(start, sizeof start));
    tslSetDebugCallback(find_rows);
    for (const std::vector<std::string>& names : {std::vector<std::string>{"ja_JP.EUC-JP", "\xc6\xfc\xcb\xdc.bmp", "x\xa4.bmp"},
                                                  {"ja_JP.UTF-8", "\xe6\x97\xa5\xe6\x9c\xac.bmp", "x\xff.bmp"}}) {
        ASSERT_TRUE(setlocale(LC_ALL, names[0].c_str()) && mkdir((top / names[0]).c_str(), 0755) == 0 &&
                    chdir((top / names[0]).c_str()) == 0);
        for (size_t i = 1; i < names.size(); i++) {
            tu::write_file(names[i], names[i].c_str());
            rowOf.clear();
            auto open = [&](Robot& r, Window) {
                for (int n = 0; n < 2; n++)
                    r.click(r.find("_tslList_ListBox"), 60, 9 + rowOf.at(i - 1) * std::max(tslGetCharHeight(nullptr), 16));
            };
            auto show = [&] { return tslFileDialog(d, nullptr, name, nullptr, TSL_FILEDLG_OPEN); };
            EXPECT_EQ(run("Open Dialog - " + top / names[0], show, NONE, open), 110);
            EXPECT_EQ(tu::read_file(name), names[i]) << names[0];
        }
    }
    tslSetDebugCallback(nullptr);
    setlocale(LC_ALL, "C");
    EXPECT_EQ(chdir(start), 0);
}
