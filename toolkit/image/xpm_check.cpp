// Finds an XPM file's values (width, height, colours, characters per pixel)
// the way libXpm reads them, and checks them against the file's length:
// every colour line holds its characters and every row width x characters
// bytes, so a real file is never shorter than what it announces.  Only the
// head of a long file is looked at: values that lie or run past it are not
// given the benefit of the doubt.
#include "image/xpm_check.h"

#include <cstdint>
#include <cstring>

#include "image/image_limits.h"

namespace {

struct XpmValues {
    uint64_t width, height, colors, cpp;
};

// The head of a file of fileSize bytes; whole when it is all of the file.
struct Head {
    const char* end;
    uint64_t fileSize;
    bool whole;
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

// Larger than any file: what a number cut off by the end of a head counts as.
static const uint64_t UNKNOWN = UINT64_MAX;

// One word (up to a blank or stop) of decimal digits; larger values than a
// file can hold saturate.  False when the word is empty or not a number.
static bool read_number(const char** p, const Head& h, char stop, uint64_t* value)
{
    const char* s = skip_spaces(*p, h.end);
    const char* start = s;
    *value = 0;
    for (; s < h.end && !is_space(*s) && *s != stop; s++) {
        if (*s < '0' || *s > '9')
            return false;
        *value = *value > UINT32_MAX ? *value : *value * 10 + (uint64_t)(*s - '0');
    }
    if (s == h.end && !h.whole)
        *value = UNKNOWN;
    *p = s;
    return s > start || !h.whole;
}

static bool read_values(const char* p, const Head& h, char stop, XpmValues* v)
{
    return read_number(&p, h, stop, &v->width) && read_number(&p, h, stop, &v->height) &&
           read_number(&p, h, stop, &v->colors) && read_number(&p, h, stop, &v->cpp);
}

static bool too_big(const XpmValues& v, uint64_t size)
{
    uint64_t cpp = v.cpp > 0 ? v.cpp : 1;
    uint64_t pixels, bytes;
    if (__builtin_mul_overflow(v.width, v.height, &pixels) || __builtin_mul_overflow(pixels, cpp, &bytes))
        return true;
    return v.colors > size || cpp > size || bytes > size || pixels > IMAGE_MAX_PIXELS;
}

// Values past the end of a head, unseen: too big to take on trust.
static bool unseen(const Head& h)
{
    return !h.whole;
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
static bool strings_too_big(const char* p, const Head& h)
{
    static const char* const comments[][2] = {{"", ""}, {"/*", "*/"}, {";", "\n"}};
    for (const auto& comment : comments) {
        const char* values = first_string(p, h.end, comment[0], comment[1]);
        XpmValues v;
        if (values ? read_values(values, h, '"', &v) && too_big(v, h.fileSize) : unseen(h))
            return true;
    }
    return false;
}

// Natural XPM 2: the first line after the header that is not a "!" note.
static bool lines_too_big(const char* p, const Head& h)
{
    do {
        p = static_cast<const char*>(memchr(p, '\n', (size_t)(h.end - p)));
        if (!p)
            return unseen(h);
        p++;
    } while (p < h.end && *p == '!');
    XpmValues v;
    return read_values(p, h, '\n', &v) && too_big(v, h.fileSize);
}

// XPM 1: the four "#define name_suffix value" lines after the format line.
static bool defines_too_big(const char* p, const Head& h)
{
    const char* end = h.end;
    static const char* const suffixes[] = {"_width", "_height", "_ncolors", "_chars_per_pixel"};
    XpmValues v = {};
    uint64_t* fields[] = {&v.width, &v.height, &v.colors, &v.cpp};
    p = static_cast<const char*>(memchr(p, '\n', (size_t)(end - p)));
    for (int i = 0; i < 4; i++) {
        if (!p)
            return unseen(h) || too_big(v, h.fileSize);
        p = skip_spaces(p, end);
        // Any other line makes libXpm refuse the file, unless it was cut off.
        if (!starts_with(p, end, "#define"))
            return unseen(h) && (size_t)(end - p) < strlen("#define");
        const char* name = skip_spaces(p + 7, end);
        const char* nameEnd = name;
        while (nameEnd < end && !is_space(*nameEnd))
            nameEnd++;
        p = nameEnd;
        uint64_t value;
        if (!read_number(&p, h, '\0', &value))
            return false;
        for (int f = 0; f < 4; f++) {
            size_t n = strlen(suffixes[f]);
            if ((size_t)(nameEnd - name) >= n && memcmp(nameEnd - n, suffixes[f], n) == 0)
                *fields[f] = value;
        }
        p = static_cast<const char*>(memchr(p, '\n', (size_t)(end - p)));
    }
    return too_big(v, h.fileSize);
}

bool xpm_sizes_fit(const char* text, size_t size, uint64_t fileSize)
{
    if (!text)
        return true;
    Head h = {text + size, fileSize > size ? fileSize : size, fileSize <= size};
    // The header as libXpm reads it: "#define" starts XPM 1; otherwise the
    // second word is "XPM" (C syntax) or "XPM2" and a syntax name.
    const char* end = text + size;
    const char* p = text;
    size_t len;
    const char* word = header_word(&p, end, &len);
    if (is_word(word, len, "#define"))
        return !defines_too_big(p, h);
    word = header_word(&p, end, &len);
    if (is_word(word, len, "XPM"))
        return !strings_too_big(p, h);
    if (!is_word(word, len, "XPM2"))
        return true;
    word = header_word(&p, end, &len);
    if (len == 0)
        return !lines_too_big(p, h);
    return !strings_too_big(p, h);
}
