// Fuzz target for XPM loading through the toolkit: a file read by
// tslLoadImage (first byte odd) or in-memory data given to
// tslLoadImageFromData (first byte even), on the X server named by DISPLAY.
// Without a display every input is skipped.  A load that succeeds must have
// raised no X error, and data must give the size its values line announced.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/xerror.h"
#include "tessel.h"

// In-memory data is not checked by the loader (it is compiled in): libXpm
// allocates width x height before it reads a row, so keep its pixmaps small.
static const unsigned MAX_SIDE = 1024;
static const uint64_t MAX_PIXELS = 1u << 16;
static const unsigned MAX_COLORS = 1024;
static const unsigned MAX_CPP = 8;

static void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

static Display* display()
{
    static Display* d = [] {
        // Xlib's own handler stays: an X error outside a load's trap ends the run.
        Display* opened = XOpenDisplay(nullptr);
        if (!opened)
            fprintf(stderr, "fuzz_xpm: no display, every input is skipped\n");
        return opened;
    }();
    return d;
}

struct Values {
    unsigned width, height, colors, cpp;
};

// The values line "width height colours chars-per-pixel" of data, read
// only when it is plain enough that libXpm reads the same numbers.
static bool parse_values(const char* s, const char* end, Values* v)
{
    unsigned* fields[] = {&v->width, &v->height, &v->colors, &v->cpp};
    for (unsigned* field : fields) {
        while (s < end && (*s == ' ' || *s == '\t'))
            s++;
        int digits = 0;
        *field = 0;
        while (s < end && *s >= '0' && *s <= '9' && digits < 6) {
            *field = *field * 10 + (unsigned)(*s++ - '0');
            digits++;
        }
        if (digits == 0 || (s < end && (*s == '\0' || !strchr(" \t\"\n", *s))))
            return false;
    }
    return true;
}

static bool small_enough(const Values& v)
{
    return v.width <= MAX_SIDE && v.height <= MAX_SIDE && (uint64_t)v.width * v.height <= MAX_PIXELS &&
           v.colors <= MAX_COLORS && v.cpp <= MAX_CPP;
}

static void check_result(TslImage* img, int error, const Values* v)
{
    if (!img)
        return;
    check(error == 0);
    if (v)
        check(img->width == (int)v->width && img->height == (int)v->height);
    tslFreeImage(display(), img);
}

// A file: the loader itself refuses files too short for the sizes they
// announce, so any file is fair.
static void load_file(const char* text, size_t size)
{
    static std::string path = [] {
        std::string dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return dir + "/tsl-fuzz-xpm." + std::to_string(getpid()) + ".xpm";
    }();
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        abort();
    fwrite(text, 1, size, f);
    fclose(f);
    xerr_trap_begin(display());
    TslImage* img = tslLoadImage(display(), path.c_str(), DefaultColormap(display(), 0), TSL_IMAGE_XPM);
    int error = xerr_trap_end(display());
    unlink(path.c_str());
    check_result(img, error, nullptr);
}

// In-memory data is compiled into programs, so its shape is trusted:
// libXpm reads as many strings as the values line announces, and some
// past a short string's end.  The harness gives it that many strings, each
// followed by enough NULs, and ends the array with extension terminators.
static void load_data(const char* text, size_t size)
{
    std::vector<std::string> lines;
    const char* end = text + size;
    for (const char* p = text; p <= end;) {
        const char* nl = static_cast<const char*>(memchr(p, '\n', (size_t)(end - p)));
        const char* stop = nl ? nl : end;
        lines.emplace_back(p, stop);
        p = stop + 1;
    }
    Values v;
    if (!parse_values(lines[0].data(), lines[0].data() + lines[0].size(), &v) || !small_enough(v))
        return;
    size_t needed = 1 + (size_t)v.colors + v.height;
    if (lines.size() < needed)
        lines.resize(needed);
    lines.insert(lines.end(), 2, "XPMENDEXT");
    size_t pad = ((size_t)v.width + 2) * v.cpp + 64;
    std::vector<std::string> padded;
    std::vector<char*> array;
    for (std::string& line : lines)
        padded.push_back(line + std::string(pad, '\0'));
    for (std::string& line : padded)
        array.push_back(&line[0]);
    xerr_trap_begin(display());
    TslImage* img = tslLoadImageFromData(display(), array.data());
    int error = xerr_trap_end(display());
    check_result(img, error, &v);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || !display())
        return 0;
    const char* text = reinterpret_cast<const char*>(data + 1);
    if (data[0] & 1)
        load_file(text, size - 1);
    else
        load_data(text, size - 1);
    return 0;
}
