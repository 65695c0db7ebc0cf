// pictel, the image viewer: its entry, command line and usage, and the main
// window with its menu bar, tool bar, picture pane and scroll bars.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "pictel.h"
#include "view.h"

// "Welcome to glancer!!!(いらっしゃーい)" in EUC-JP.
static const char* const kWelcome =
    "Welcome to glancer!!!(\xa4\xa4\xa4\xe9\xa4\xc3\xa4\xb7\xa4\xe3\xa1\xbc\xa4\xa4)";
static const char* const kHelpOptions[] = {"-help", "--help", "--h", "--?", "-?", "-h"};

// The picture named on the command line, kept whole whatever its length:
// loading needs the real name, only what is shown of it is cut.
static std::string g_cFileName;

static void usage(int full)
{
    fprintf(stderr, ">>> Tessel Image Viewer for X <<<\n"
                    "- Ver01.10 since 1999.01 -\n"
                    "\n"
                    " X Window Pixmap(*.xpm) and MS-Windows bitmap(*.bmp)\n"
                    " and Jpeg(*.jpg) Image file Viewer for Tessel ...  \n"
                    "\n");
    if (!full)
        return;
    fprintf(stderr, " Usage: %s ImageFile\n\n", g_tessel.programName);
    fprintf(stderr, " ImageFile ... Bitmap file name(*.xpm, *.bmp, *.jpg)\n\n");
}

static bool is_help_option(const char* word)
{
    for (const char* option : kHelpOptions)
        if (strcmp(word, option) == 0)
            return true;
    return false;
}

// The toolkit has taken its own options already; they are skipped with the
// word after them, and the first other word is the picture or a help option.
static void arginit(int argc, char** argv)
{
    for (int i = 1; i < argc && argv[i]; i++) {
        const char* word = argv[i];
        if (!strcmp(word, "-display") || !strcmp(word, "-d") || !strcmp(word, "-geometry") ||
            !strcmp(word, "-g")) {
            i++;
            continue;
        }
        if (is_help_option(word)) {
            usage(1);
            tslCloseDisplay(g_tessel.display);
            exit(0);
        }
        g_cFileName = word;
        return;
    }
}

// An X error outside the toolkit's traps is reported and the session goes
// on: no slip in painting a window should end a viewing session.
static int on_x_error(Display* display, XErrorEvent* event)
{
    char text[128];
    XGetErrorText(display, event->error_code, text, sizeof text);
    fprintf(stderr, "Error: X request %d.%d failed: %s (resource 0x%lx)\n", event->request_code,
            event->minor_code, text, event->resourceid);
    return 0;
}

struct MainLayout {
    TslRect pane, vbar, hbar;
};

// A 16-bit length, never below one pixel: a window forced below its
// minimum size must not give its children wrapped-around sizes.
static unsigned short length16(int n)
{
    return (unsigned short)(n < 1 ? 1 : n > 0xFFFF ? 0xFFFF : n);
}

// Pane and bars in a main window of w x h below bars m + t high, with bars
// s thick: margins of 5, a gap of 2 between the pane and each bar.
static MainLayout main_layout(int w, int h, int m, int t, int s)
{
    int top = m + t + 5;
    MainLayout l;
    l.pane = TslRect{5, (short)top, length16(w - s - 12), length16(h - m - t - s - 12)};
    l.vbar = TslRect{(short)(w - s - 5), (short)top, (unsigned short)s, length16(h - m - t - s - 10)};
    l.hbar = TslRect{5, (short)(h - s - 5), length16(w - s - 10), (unsigned short)s};
    return l;
}

static void move_resize(Display* display, const char* name, TslRect r)
{
    TslWindow* w = tslGetWindow(name);
    if (w)
        XMoveResizeWindow(display, w->xwin, r.x, r.y, r.width, r.height);
}

int Draw_Main(Display*, TslWindow*)
{
    return 1;
}

int WndProc_Main(Display* display, TslWindow* main, XEvent* event)
{
    switch (event->type) {
    case Expose:
        if (event->xexpose.window == main->xwin && event->xexpose.count == 0)
            Draw_Main(display, main);
        break;
    case MapNotify:
        if (event->xmap.window == main->xwin)
            Draw_Main(display, main);
        break;
    case TSLM_PAINT:
        Draw_Main(display, main);
        break;
    case ConfigureNotify:
        if (event->xconfigure.window == main->xwin) {
            MainLayout l = main_layout(main->rect.width, main->rect.height, tslGetHeight_MenuBar(),
                                       tslGetHeight_ToolBar(), tslGetHeight_ScrollBar());
            move_resize(display, PICTEL_VIEW, l.pane);
            move_resize(display, PICTEL_VSCROLL, l.vbar);
            move_resize(display, PICTEL_HSCROLL, l.hbar);
            Draw_Main(display, main);
        }
        break;
    default:
        break;
    }
    return main->status;
}

// Menus and tool-bar buttons call back with a control and a code the
// commands do not need.
template <int (*Command)(void)>
static int call(TslWindow*, int, int, int)
{
    return Command();
}

struct MenuEntry {
    const char* label;
    TslEventCallback callback;
    bool folder;
};

// The "Menu" popup; the empty label is a separator.
static const MenuEntry kMenu[] = {
    {"Open (o)", call<OnMenuOpen>, true},
    {"Quit (q)", call<OnMenuQuit>, false},
    {"", nullptr, false},
    {"Next (n)", call<OnMenuNext>, false},
    {"Previous (b)", call<OnMenuPrevious>, false},
    {"Zoom in (+)", call<OnMenuZoomIn>, false},
    {"Zoom out (-)", call<OnMenuZoomOut>, false},
    {"Actual size (1)", call<OnMenuActualSize>, false},
    {"Fit (z)", call<OnMenuFit>, false},
};
// "Fit (z)", the last, carries a check mark while fitting is on.
static const int kFitItem = (int)(sizeof kMenu / sizeof kMenu[0]) - 1;

void menu_check_fit(int on)
{
    tslSetCheck_Menu(tslGetWindow(PICTEL_MENU), kFitItem, on);
}

static void build_menus(Display* display, TslWindow* main, TslWindow* pane)
{
    TslImage* folder = g_tessel.images[5];
    TslWindow* file = tslCreateWindow_Menu(display, main, PICTEL_MENU);
    for (const MenuEntry& e : kMenu)
        tslAddItem_Menu(file, e.label, e.callback, e.folder ? folder : nullptr, nullptr, -1);
    TslWindow* help = tslCreateWindow_Menu(display, main, "MenuHelpWnd");
    tslAddItem_Menu(help, "Help (e)", call<OnMenuHelp>, nullptr, nullptr, -1);
    tslAddItem_Menu(help, "About (a)", call<OnMenuAbout>, nullptr, nullptr, -1);
    tslCreateWindow_MenuBar(display, main, PICTEL_MENUBAR, file, help, kWelcome);
    TslWindow* tools = tslCreateWindow_ToolBar(display, main, "ToolBar");
    tslAddButton_ToolBar(display, tools, "Open", call<OnMenuOpen>, folder, -1);
    tslAddButton_ToolBar(display, tools, "Exit", call<OnMenuQuit>, nullptr, -1);
    tslSetContextMenu(pane, file);
}

int MainLoop(Display* display)
{
    int m = tslGetHeight_MenuBar();
    int t = tslGetHeight_ToolBar();
    int s = tslGetHeight_ScrollBar();
    int top = m + t + 5;
    int width = s + 332;
    int height = m + t + s + 252;
    // Built unmapped and mapped once placed, so that a window manager sees
    // the final place and the user-given geometry before the window shows.
    TslWindow* main = tslCreateWindowEx(display, nullptr, tslPos(0, 0), tslSize(width, height), 1,
                                        PICTEL_MAIN, WndProc_Main, 0);
    if (!main)
        return 0;
    tslSetMinMaxSize(main, width, height, 2 * g_tessel.screenWidth, 2 * g_tessel.screenHeight);
    tslSetKeyEventCallback(main, OnKeyEvent);
    TslWindow* pane = CreateWindow_View(display, main, tslPos(5, top), tslSize(320, 240), PICTEL_VIEW);
    mouse_attach(pane);
    tslCreateWindow_VScrollBar(display, main, tslSetRect(325, top, s, 240), PICTEL_VSCROLL, 0, 0,
                               PICTEL_STEP, OnVScroll);
    tslCreateWindow_HScrollBar(display, main, tslSetRect(5, top + 240, 320, s), PICTEL_HSCROLL, 0, 0,
                               PICTEL_STEP, OnHScroll);
    build_menus(display, main, pane);
    tslCenteringWnd(display, nullptr, main);
    tslSetGeometry(main, g_tessel.geometry);
    wm_props_set(display, main);
    // The picture is read while the server maps the window.
    XMapWindow(display, main->xwin);
    TakeInPicture(g_cFileName.c_str());
    tslMainLoop(display, main);
    picture_free(display);
    tslDestroyWindow(display, main);
    return 1;
}

int main(int argc, char** argv)
{
    Display* display = tslOpenDisplay(argc, argv);
    XSetErrorHandler(on_x_error);
    arginit(argc, argv);
    usage(0);
    int built = MainLoop(display);
    tslCloseDisplay(display);
    return built ? 0 : 1;
}
