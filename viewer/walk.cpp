// Walking through the pictures of the directory of the picture last asked
// for: next, previous, first and last in natural order, with the bell at
// either end.  The list is read at the first step after a picture was
// asked for in another directory, and again whenever the directory has
// changed since; a start with a picture given thus reads no directory.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <ctime>
#include <string>
#include <vector>

#include "dirwalk.h"
#include "pictel.h"

// The directory as an absolute path, as the file dialog moves the working
// directory; empty until a picture is asked for.
static std::string g_dir;
// The position: the name last asked for, which need not be in the list.
static std::string g_name;
static std::vector<std::string> g_list;
// The directory as it was when the list was read.
static struct stat g_stamp;
// Set when the list must be read whatever the directory's time says: it
// is another directory's, could not be read, or the directory changed so
// lately that a change within the same tick of the file system's clock
// would not show.
static bool g_bStale = true;

static std::string working_dir(void)
{
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

static bool same_stamp(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

static void refresh(void)
{
    struct stat st;
    if (stat(g_dir.c_str(), &st) != 0) {
        g_list.clear();
        return;
    }
    if (!g_bStale && same_stamp(st, g_stamp))
        return;
    g_stamp = st;
    bool read = dirwalk_read(g_dir, &g_list);
    g_bStale = !read || time(nullptr) - st.st_mtim.tv_sec < 2;
}

void walk_opened(const char* path)
{
    std::string dir, name;
    dirwalk_split(path, &dir, &name);
    if (dir.empty() || dir[0] != '/') {
        std::string cwd = working_dir();
        if (cwd.empty())
            return;
        dir = dir.empty() ? cwd : cwd + "/" + dir;
    }
    if (dir != g_dir)
        g_bStale = true;
    g_dir = dir;
    g_name = name;
}

// A name of the list as TakeInPicture is given it: bare while the
// directory is the working one, so that the status line shows it so.
static std::string path_of(const std::string& name)
{
    if (g_dir == working_dir())
        return name;
    return g_dir == "/" ? "/" + name : g_dir + "/" + name;
}

static void ring(void)
{
    tslBell();
    XBell(g_tessel.display, 0);
}

static int walk(WalkMove move)
{
    if (g_dir.empty()) {
        ring();
        return 0;
    }
    refresh();
    int i = dirwalk_target(g_list, g_name, move);
    if (i < 0) {
        ring();
        return 0;
    }
    TakeInPicture(path_of(g_list[(size_t)i]).c_str());
    return 1;
}

int OnMenuNext(void)
{
    return walk(WALK_NEXT);
}

int OnMenuPrevious(void)
{
    return walk(WALK_PREVIOUS);
}

int OnMenuFirst(void)
{
    return walk(WALK_FIRST);
}

int OnMenuLast(void)
{
    return walk(WALK_LAST);
}
