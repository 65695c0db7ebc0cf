// Finds an XPM file's values (width, height, colours, characters per pixel)
// the way libXpm reads them, and checks them against the file's length:
// every colour line holds its characters and every row width x characters
// bytes, so a real file is never shorter than what it announces.
#include "image/xpm_check.h"

#include <cstdint>
#include <cstring>

namespace {

struct XpmValues {
    uint64_t width, height, colors, cpp;
};

}  // namespace

static bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

static const char* skip_spaces(const char* p, const char* end)
{
    while (p < end && is_space(*p))
        p++;
    return p;
}

static bool starts_with(const char* p, const char* end, const char* text)
{
    size_t n = strlen(text);
    return (size_t)(end - p) >= n && memcmp(p, text, n) == 0;
}

// One word (up to a blank or stop) of decimal digits; larger values than a
// file can hold saturate.  False when the word is empty or not a number.
static bool read_number(const char** p, const char* end, char stop, uint64_t* value)
{
    const char* s = skip_spaces(*p, end);
    const char* start = s;
    *value = 0;
    for (; s < end && !is_space(*s) && *s != stop; s++) {
        if (*s < '0' || *s > '9')
            return false;
        *value = *value > UINT32_MAX ? *value : *value * 10 + (uint64_t)(*s - '0');
    }
    *p = s;
    return s > start;
}

static bool read_values(const char* p, const char* end, char stop, XpmValues* v)
{
    return read_number(&p, end, stop, &v->width) && read_number(&p, end, stop, &v->height) &&
           read_number(&p, end, stop, &v->colors) && read_number(&p, end, stop, &v->cpp);
}

// XPM 3 (and XPM 2 in C syntax): the first string outside a comment.
static bool values_in_strings(const char* p, const char* end, XpmValues* v)
{
    while (p < end) {
        if (starts_with(p, end, "/*")) {
            const char* close = static_cast<const char*>(memmem(p + 2, (size_t)(end - p - 2), "*/", 2));
            if (!close)
                return false;
            p = close + 2;
        } else if (*p == '"') {
            return read_values(p + 1, end, '"', v);
        } else {
            p++;
        }
    }
    return false;
}

// XPM 1: the four "#define name_suffix value" lines after the format line.
static bool values_in_defines(const char* p, const char* end, XpmValues* v)
{
    static const char* const suffixes[] = {"_width", "_height", "_ncolors", "_chars_per_pixel"};
    uint64_t* fields[] = {&v->width, &v->height, &v->colors, &v->cpp};
    *v = XpmValues{};
    for (int i = 0; i < 5; i++) {
        p = skip_spaces(p, end);
        if (!starts_with(p, end, "#define"))
            return false;
        const char* name = skip_spaces(p + 7, end);
        const char* nameEnd = name;
        while (nameEnd < end && !is_space(*nameEnd))
            nameEnd++;
        p = nameEnd;
        uint64_t value;
        if (!read_number(&p, end, '\0', &value))
            return false;
        for (int f = 0; f < 4 && i > 0; f++) {
            size_t n = strlen(suffixes[f]);
            if ((size_t)(nameEnd - name) >= n && memcmp(nameEnd - n, suffixes[f], n) == 0)
                *fields[f] = value;
        }
    }
    return true;
}

static bool find_values(const char* text, size_t size, XpmValues* v)
{
    const char* end = text + size;
    const char* p = skip_spaces(text, end);
    if (starts_with(p, end, "#define"))
        return values_in_defines(p, end, v);
    if (starts_with(p, end, "!")) {
        const char* line = static_cast<const char*>(memchr(p, '\n', (size_t)(end - p)));
        if (!line)
            return false;
        p = skip_spaces(line + 1, end);
        if (p < end && *p != '"' && *p != '/')
            return read_values(p, end, '\0', v);
    }
    return values_in_strings(p, end, v);
}

static uint64_t times(uint64_t a, uint64_t b)
{
    uint64_t r;
    return __builtin_mul_overflow(a, b, &r) ? UINT64_MAX : r;
}

bool xpm_sizes_fit(const char* text, size_t size)
{
    XpmValues v;
    if (!text || !find_values(text, size, &v))
        return true;
    uint64_t cpp = v.cpp > 0 ? v.cpp : 1;
    return v.colors <= size && cpp <= size && times(times(v.width, v.height), cpp) <= size;
}
