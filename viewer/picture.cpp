// Loading the picture pictel shows: the reader chosen by the name and then
// by the first bytes, the status line, the scroll bars' ranges, and the
// messages for files that are missing or no picture.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "pictel.h"
#include "view.h"

// "このファイルは開けません" (this file cannot be opened) in EUC-JP.
#define CANNOT_OPEN "\xa4\xb3\xa4\xce\xa5\xd5\xa5\xa1\xa5\xa4\xa5\xeb\xa4\xcf\xb3\xab\xa4\xb1\xa4\xde\xa4\xbb\xa4\xf3"
static const char* const kNotExist = "This file(%s) is not exist.\n" CANNOT_OPEN;
static const char* const kNotImage = "This file(%s) is not image file.\n" CANNOT_OPEN;
static const char* const kErrorTitle = "Error";
static const char* const kCut = "...";
static const int kErrorStyle = 81;

// Kind names by the image's format code.
static const char* const kKinds[] = {"?",            "Bitmap 1bpp", "Bitmap 4bpp", "Bitmap 8bpp",
                                     "Bitmap 24bpp", "Bitmap ?bpp", "Xpm",         "Jpeg",
                                     "Png",          "Gif"};
static const int kKindCount = (int)(sizeof kKinds / sizeof kKinds[0]);

// Bytes of a file name shown in the status line and the messages; longer
// names are cut there (and marked) but loaded by their whole name.
enum { SHOWN_MAX = 200, TEXT_SIZE = 512 };

static TslImage* g_img = nullptr;
// The status text of the picture shown, without its zoom.
static char g_status[TEXT_SIZE];
// Set once the picture being read has been shown before it was whole.
static bool g_previewed = false;

// The name as the toolkit draws it: from the locale's codeset into the
// toolkit's code, cut at a whole character after SHOWN_MAX bytes.
struct ShownName {
    char text[SHOWN_MAX + sizeof "..."];
};

static ShownName shown_name(const char* name)
{
    ShownName shown;
    tslLocaleToText(name, shown.text, SHOWN_MAX + 1);
    // A few bytes more room tells whether the name was cut.
    char wider[SHOWN_MAX + 8];
    tslLocaleToText(name, wider, sizeof wider);
    if (strlen(wider) > strlen(shown.text))
        strcat(shown.text, kCut);
    return shown;
}

static void report(const char* format, const char* name)
{
    char text[TEXT_SIZE];
    snprintf(text, sizeof text, format, shown_name(name).text);
    tslMessageDialog(g_tessel.display, tslGetWindow(PICTEL_MAIN), kErrorTitle, text, kErrorStyle);
}

// A picture taller than the pane shows its top as soon as the rows there
// are in; one that fits shows once, when it is whole.
static void show_top(TslImage* partial, int rows)
{
    TslWindow* pane = tslGetWindow(PICTEL_VIEW);
    if (pane && rows < partial->height && rows >= pane->rect.height) {
        g_previewed = true;
        Preview_View(pane, partial);
    }
}

// One reader; the pane lets go of the loader's record before that goes, and
// shows the previous picture again after a read that failed half-way.
static TslImage* read_with(Display* display, const char* name, int format)
{
    g_previewed = false;
    tslSetLoadingCallback(show_top);
    TslImage* img = tslLoadImage(display, name, g_tessel.colormap, format);
    tslSetLoadingCallback(nullptr);
    TslWindow* pane = tslGetWindow(PICTEL_VIEW);
    Preview_View(pane, nullptr);
    if (!img && g_previewed)
        tslSendEvent(pane, TSLM_PAINT);
    return img;
}

// The reader the name points to, and when that refuses the file, the one
// its first bytes point to.
static TslImage* load(Display* display, const char* name)
{
    int byName = tslCheckImageFormat(name);
    TslImage* img = read_with(display, name, byName);
    if (img)
        return img;
    int byBytes = tslSniffImageFormat(name);
    if (byBytes == TSL_IMAGE_NONE || byBytes == byName)
        return nullptr;
    return read_with(display, name, byBytes);
}

void picture_show_status(void)
{
    char zoom[32];
    zoom_status(zoom, sizeof zoom);
    char status[TEXT_SIZE + sizeof zoom];
    snprintf(status, sizeof status, "%s%s", g_status, zoom);
    tslSetStatus_MenuBar(tslGetWindow(PICTEL_MENUBAR), status);
}

static void show(Display* display, TslImage* img, const char* name)
{
    int kind = img->format >= 0 && img->format < kKindCount ? img->format : 0;
    snprintf(g_status, sizeof g_status, "%d x %d %s [%s]", img->width, img->height, kKinds[kind],
             shown_name(name).text);
    // The pane's offsets go back to 0 unpainted (no pane named): the scroll
    // bars' callbacks then find nothing to do, and only the new picture is
    // painted, at the size the zoom gives it.
    SetHPos_View(nullptr, 0);
    SetVPos_View(nullptr, 0);
    tslSetPos_ScrollBar(tslGetWindow(PICTEL_VSCROLL), 0);
    tslSetPos_ScrollBar(tslGetWindow(PICTEL_HSCROLL), 0);
    zoom_new_picture(img);
    SetImage_View(tslGetWindow(PICTEL_VIEW), img);
    if (g_img)
        tslFreeImage(display, g_img);
    g_img = img;
    picture_show_status();
}

// Whether the file can be opened for reading, found out without waiting on
// a FIFO and without opening anything but a regular file: the loaders
// refuse every other kind as no picture.
static bool can_open(const char* name)
{
    struct stat st;
    if (stat(name, &st) != 0)
        return false;
    if (!S_ISREG(st.st_mode))
        return true;
    int fd = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

int TakeInPicture(const char* name)
{
    if (!name || !name[0])
        return 0;
    walk_opened(name);
    if (!can_open(name)) {
        report(kNotExist, name);
        return 0;
    }
    Display* display = g_tessel.display;
    TslWindow* main = tslGetWindow(PICTEL_MAIN);
    tslSetWaitCursor(display, main);
    TslImage* img = load(display, name);
    if (img)
        show(display, img, name);
    else
        report(kNotImage, name);
    tslSetNormalCursor(display, main);
    return 1;
}

const TslImage* picture_current(void)
{
    return g_img;
}

void picture_free(Display* display)
{
    // The pane lets go first, without a repaint: nothing may draw a freed picture.
    SetImage_View(nullptr, nullptr);
    tslFreeImage(display, g_img);
    g_img = nullptr;
}
