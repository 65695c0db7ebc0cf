// The pictures of a directory in natural order, and where a walk through
// them goes from a name; the directory itself is read here, without X.
#include "dirwalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

// Matching is exact, so each case of every extension is listed.
static const char* kFilters[] = {".bmp", ".BMP", ".xpm", ".XPM", ".jpg", ".JPG", ".jpeg", ".JPEG",
                                 ".png", ".PNG", ".gif", ".GIF", nullptr};

const char** dirwalk_filters(void)
{
    return kFilters;
}

static bool is_digit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

static unsigned char fold(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? (unsigned char)(c - 'A' + 'a') : c;
}

static size_t digits_end(const std::string& s, size_t i)
{
    while (i < s.size() && is_digit((unsigned char)s[i]))
        i++;
    return i;
}

// Two runs of digits by their value, of any length: without their leading
// zeros the longer run is the larger number, and runs of one length
// compare as their bytes do.  Moves both indexes past their runs.
static int compare_numbers(const std::string& a, size_t* i, const std::string& b, size_t* j)
{
    size_t ai = *i, bj = *j;
    size_t ae = digits_end(a, ai), be = digits_end(b, bj);
    while (ai < ae && a[ai] == '0')
        ai++;
    while (bj < be && b[bj] == '0')
        bj++;
    *i = ae;
    *j = be;
    if (ae - ai != be - bj)
        return ae - ai < be - bj ? -1 : 1;
    int r = a.compare(ai, ae - ai, b, bj, be - bj);
    return r < 0 ? -1 : r > 0;
}

// A number compared with another byte sorts where its digits would: the
// digits are one block of byte values, so the order stays total.
int dirwalk_compare(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        unsigned char x = (unsigned char)a[i], y = (unsigned char)b[j];
        if (is_digit(x) && is_digit(y)) {
            int r = compare_numbers(a, &i, b, &j);
            if (r)
                return r;
            continue;
        }
        if (fold(x) != fold(y))
            return fold(x) < fold(y) ? -1 : 1;
        i++;
        j++;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    int r = a.compare(b);
    return r < 0 ? -1 : r > 0;
}

static bool less(const std::string& a, const std::string& b)
{
    return dirwalk_compare(a, b) < 0;
}

bool dirwalk_is_picture(const std::string& name)
{
    if (name.empty() || name[0] == '.')
        return false;
    size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    for (const char** f = kFilters; *f; f++)
        if (name.compare(dot, std::string::npos, *f) == 0)
            return true;
    return false;
}

int dirwalk_target(const std::vector<std::string>& list, const std::string& current, WalkMove move)
{
    int count = (int)list.size();
    switch (move) {
    case WALK_NEXT: {
        auto it = std::upper_bound(list.begin(), list.end(), current, less);
        return it == list.end() ? -1 : (int)(it - list.begin());
    }
    case WALK_PREVIOUS: {
        auto it = std::lower_bound(list.begin(), list.end(), current, less);
        return it == list.begin() ? -1 : (int)(it - list.begin()) - 1;
    }
    case WALK_FIRST:
        return count > 0 && list[0] != current ? 0 : -1;
    case WALK_LAST:
        return count > 0 && list[count - 1] != current ? count - 1 : -1;
    }
    return -1;
}

void dirwalk_split(const std::string& path, std::string* dir, std::string* name)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        dir->clear();
        *name = path;
        return;
    }
    *dir = slash == 0 ? std::string("/") : path.substr(0, slash);
    *name = path.substr(slash + 1);
}

// Entries whose kind the listing does not tell are looked at; a link
// counts as what it points to.
static bool regular_file(DIR* d, const dirent* e)
{
    if (e->d_type == DT_REG)
        return true;
    if (e->d_type != DT_UNKNOWN && e->d_type != DT_LNK)
        return false;
    struct stat st;
    return fstatat(dirfd(d), e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
}

bool dirwalk_read(const std::string& dir, std::vector<std::string>* out)
{
    out->clear();
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return false;
    // Names first, so that only pictures are looked at more closely.
    while (const dirent* e = readdir(d))
        if (dirwalk_is_picture(e->d_name) && regular_file(d, e))
            out->push_back(e->d_name);
    closedir(d);
    std::sort(out->begin(), out->end(), less);
    return true;
}
