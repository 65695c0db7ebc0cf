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

static bool too_big(const XpmValues& v, size_t size)
{
    uint64_t cpp = v.cpp > 0 ? v.cpp : 1;
    uint64_t pixels;
    if (__builtin_mul_overflow(v.width, v.height, &pixels) || __builtin_mul_overflow(pixels, cpp, &pixels))
        return true;
    return v.colors > size || cpp > size || pixels > size;
}

// One word of the header line (words end at blanks; the line feed ends them all).
static const char* header_word(const char** p, const char* end, size_t* len)
{
    const char* s = *p;
    while (s < end && *s != '\n' && is_space(*s))
        s++;
    const char* word = s;
    while (s < end && !is_space(*s))
        s++;
    *len = (size_t)(s - word);
    *p = s;
    return word;
}

static bool is_word(const char* word, size_t len, const char* text)
{
    return len == strlen(text) && memcmp(word, text, len) == 0;
}

// The first string from p, passing over comments from open to close.
static const char* first_string(const char* p, const char* end, const char* open, const char* close)
{
    size_t openLen = strlen(open), closeLen = strlen(close);
    while (p < end && *p != '"') {
        if (openLen > 0 && starts_with(p, end, open)) {
            p += openLen;
            const char* stop = static_cast<const char*>(memmem(p, (size_t)(end - p), close, closeLen));
            p = stop ? stop + closeLen : end;
        } else {
            p++;
        }
    }
    return p < end ? p + 1 : nullptr;
}

// XPM 3 and XPM 2 in C or Lisp syntax: the values are the first string
// outside a comment.  The first string read without comments, or with
// either syntax's comments, is judged too, so that no comment read
// differently from libXpm can hide the values.
static bool strings_too_big(const char* p, const char* end, size_t size)
{
    static const char* const comments[][2] = {{"", ""}, {"/*", "*/"}, {";", "\n"}};
    for (const auto& comment : comments) {
        const char* values = first_string(p, end, comment[0], comment[1]);
        XpmValues v;
        if (values && read_values(values, end, '"', &v) && too_big(v, size))
            return true;
    }
    return false;
}

// Natural XPM 2: the first line after the header that is not a "!" note.
static bool lines_too_big(const char* p, const char* end, size_t size)
{
    do {
        p = static_cast<const char*>(memchr(p, '\n', (size_t)(end - p)));
        if (!p)
            return false;
        p++;
    } while (p < end && *p == '!');
    XpmValues v;
    return read_values(p, end, '\n', &v) && too_big(v, size);
}

// XPM 1: the four "#define name_suffix value" lines after the format line.
static bool defines_too_big(const char* p, const char* end, size_t size)
{
    static const char* const suffixes[] = {"_width", "_height", "_ncolors", "_chars_per_pixel"};
    XpmValues v = {};
    uint64_t* fields[] = {&v.width, &v.height, &v.colors, &v.cpp};
    p = static_cast<const char*>(memchr(p, '\n', (size_t)(end - p)));
    for (int i = 0; i < 4 && p; i++) {
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
        for (int f = 0; f < 4; f++) {
            size_t n = strlen(suffixes[f]);
            if ((size_t)(nameEnd - name) >= n && memcmp(nameEnd - n, suffixes[f], n) == 0)
                *fields[f] = value;
        }
        p = static_cast<const char*>(memchr(p, '\n', (size_t)(end - p)));
    }
    return too_big(v, size);
}

bool xpm_sizes_fit(const char* text, size_t size)
{
    if (!text)
        return true;
    // The header as libXpm reads it: "#define" starts XPM 1; otherwise the
    // second word is "XPM" (C syntax) or "XPM2" and a syntax name.
    const char* end = text + size;
    const char* p = text;
    size_t len;
    const char* word = header_word(&p, end, &len);
    if (is_word(word, len, "#define"))
        return !defines_too_big(p, end, size);
    word = header_word(&p, end, &len);
    if (is_word(word, len, "XPM"))
        return !strings_too_big(p, end, size);
    if (!is_word(word, len, "XPM2"))
        return true;
    word = header_word(&p, end, &len);
    if (len == 0)
        return !lines_too_big(p, end, size);
    return !strings_too_big(p, end, size);
}
