// File dialog benchmark: a directory of 10,000 entries (a tenth of them
// directories, every twentieth name not valid text) read, filtered and
// named as the dialog does it, and the dialog opened on it and closed by
// the window manager's close once its listing is up.  Runs against DISPLAY
// with the toolkit started under a temporary HOME.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "dialogs/file_list.h"
#include "dialogs/file_read.h"
#include "support/textconv.h"
#include "tessel.h"

static const int ENTRIES = 10000;
static const int RUNS = 5;

static void make_entries(const std::string& dir)
{
    char name[64];
    for (int i = 0; i < ENTRIES; i++) {
        if (i % 10 == 0) {
            snprintf(name, sizeof name, "%s/folder_%05d", dir.c_str(), i);
            mkdir(name, 0755);
            continue;
        }
        snprintf(name, sizeof name, i % 20 == 1 ? "%s/IMG_%05d_\xff.jpg" : "%s/IMG_%05d_holiday.jpg", dir.c_str(), i);
        int fd = open(name, O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            close(fd);
    }
}

static std::string to_text(const std::string& s)
{
    return textconv_convert(textconv_locale_codeset(), "EUC-JP", s.data(), s.size());
}

static void hook(void* display)
{
    tslHookEvent(static_cast<Display*>(display), nullptr);
}

// The dialog's reading of a listing, without its windows.
static size_t read_listing(Display* d, const char* const* filters)
{
    std::vector<FileEntry> entries;
    if (!file_read_dir(".", &entries, hook, d))
        return 0;
    std::vector<FileEntry> shown = file_list_arrange(entries, FILE_EXP_SELECT, filters);
    for (FileEntry& e : shown)
        e.shown = file_list_shown_name(e.name, to_text);
    return shown.size();
}

// A second client that waits for the dialog titled title and closes it.
static void close_when_shown(const std::string& title)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return;
    Atom protocols = XInternAtom(d, "WM_PROTOCOLS", False);
    Atom del = XInternAtom(d, "WM_DELETE_WINDOW", False);
    for (bool sent = false; !sent; usleep(1000)) {
        Window root, parent, *children = nullptr;
        unsigned int n = 0;
        XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n);
        for (unsigned int i = 0; i < n && !sent; i++) {
            char* name = nullptr;
            if (XFetchName(d, children[i], &name) && name && title == name) {
                XEvent ev{};
                ev.xclient.type = ClientMessage;
                ev.xclient.window = children[i];
                ev.xclient.message_type = protocols;
                ev.xclient.format = 32;
                ev.xclient.data.l[0] = (long)del;
                XSendEvent(d, children[i], False, NoEventMask, &ev);
                XFlush(d);
                sent = true;
            }
            XFree(name);
        }
        if (children)
            XFree(children);
    }
    XCloseDisplay(d);
}

int main()
{
    TempHome home;
    char tmpl[] = "/tmp/bench_filedlg.XXXXXX";
    if (!getenv("DISPLAY") || !home.ok || !mkdtemp(tmpl)) {
        fprintf(stderr, "bench_filedlg: needs DISPLAY and a temporary directory\n");
        return 1;
    }
    std::string dir = tmpl;
    make_entries(dir);
    if (chdir(dir.c_str()) != 0)
        return 1;
    char prog[] = "bench_filedlg";
    char* argv[] = {prog, nullptr};
    Display* d = tslOpenDisplay(1, argv);
    if (!d)
        return 1;
    const char* filters[] = {".jpg", ".JPG", nullptr};

    double best = 1e9;
    size_t count = 0;
    for (int r = 0; r < RUNS; r++) {
        double t0 = now_ms();
        count = read_listing(d, filters);
        best = std::min(best, now_ms() - t0);
    }
    printf("read, filter and name %d entries (%zu shown), best of %d: %8.2f ms\n", ENTRIES, count, RUNS, best);

    best = 1e9;
    char name[TSL_FILE_NAME_SIZE];
    for (int r = 0; r < RUNS; r++) {
        name[0] = '\0';
        std::thread closer(close_when_shown, "Open Dialog - " + dir);
        double t0 = now_ms();
        tslFileDialog(d, nullptr, name, filters, TSL_FILEDLG_OPEN);
        best = std::min(best, now_ms() - t0);
        closer.join();
    }
    printf("file dialog opened on them and closed, best of %d:      %8.2f ms\n", RUNS, best);

    tslCloseDisplay(d);
    std::string cleanup = "rm -rf '" + dir + "'";
    return system(cleanup.c_str()) == 0 ? 0 : 1;
}
