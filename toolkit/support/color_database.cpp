// The X colour database file (rgb.txt), read once and kept in memory: the
// toolkit's own lookup by name prefix, and the exact lookup the X server
// makes for a colour name.
#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "support/color_private.h"

static const char* const DATABASE_FILES[] = {
    "/usr/X11R6/lib/X11/rgb.txt",
    "/usr/share/X11/rgb.txt",
    "/etc/X11/rgb.txt",
};
static const char* database_override;

// The whole file once it has been read; a file that could not be read is
// tried again at the next lookup.
static std::string database;
static bool database_loaded;

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

static int field_value(const char* line, size_t at)
{
    char text[4];
    memcpy(text, line + at, 3);
    text[3] = '\0';
    return atoi(text);
}

// The name column starts at byte 11, after the three 3-digit fields, and
// past the blanks that follow them.
static const size_t NAME_COLUMN = 11;

static size_t name_start(const char* line, size_t len)
{
    size_t p = NAME_COLUMN;
    while (p < len && (line[p] == ' ' || line[p] == '\t'))
        p++;
    return p;
}

int color_match_line(const char* line, size_t len, const char* name, size_t nameLen, int* r,
                     int* g, int* b)
{
    if (len == 0 || line[0] == '!' || len <= NAME_COLUMN || nameLen == 0)
        return 0;
    size_t p = name_start(line, len);
    if (len - p < nameLen || memcmp(line + p, name, nameLen) != 0)
        return 0;
    *r = field_value(line, 0);
    *g = field_value(line, 4);
    *b = field_value(line, 8);
    return 1;
}

// Calls match for each line of text (the line feed included, a line cut to
// COLOR_LINE_MAX bytes) until it returns 1; returns 1 when one did.
template <typename Match>
static int for_each_line(const char* text, size_t size, Match match)
{
    size_t pos = 0;
    while (pos < size) {
        const char* feed = static_cast<const char*>(memchr(text + pos, '\n', size - pos));
        size_t end = feed ? (size_t)(feed - text) + 1 : size;
        size_t len = end - pos < COLOR_LINE_MAX ? end - pos : COLOR_LINE_MAX;
        if (match(text + pos, len))
            return 1;
        pos = end;
    }
    return 0;
}

int color_find_in_text(const char* text, size_t size, const char* name, int* r, int* g, int* b)
{
    if (!text || !name)
        return 0;
    size_t nameLen = strlen(name);
    return for_each_line(text, size, [&](const char* line, size_t len) {
        return color_match_line(line, len, name, nameLen, r, g, b);
    });
}

int color_find_exact(const char* text, size_t size, const char* name, int* r, int* g, int* b)
{
    if (!text || !name || !*name)
        return 0;
    size_t nameLen = strlen(name);
    return for_each_line(text, size, [&](const char* line, size_t len) {
        while (len > 0 && isspace((unsigned char)line[len - 1]))
            len--;
        if (len <= NAME_COLUMN || line[0] == '!')
            return 0;
        size_t p = name_start(line, len);
        if (len - p != nameLen || strncasecmp(line + p, name, nameLen) != 0)
            return 0;
        *r = field_value(line, 0);
        *g = field_value(line, 4);
        *b = field_value(line, 8);
        return 1;
    });
}

void color_override_database(const char* path)
{
    database_override = path;
    database.clear();
    database_loaded = false;
}

static FilePtr open_database()
{
    if (database_override)
        return FilePtr(fopen(database_override, "r"));
    for (const char* path : DATABASE_FILES) {
        FilePtr f(fopen(path, "r"));
        if (f)
            return f;
    }
    return nullptr;
}

const std::string* color_database()
{
    if (database_loaded)
        return &database;
    FilePtr file = open_database();
    if (!file)
        return nullptr;
    std::string text;
    char chunk[8192];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file.get())) > 0)
        text.append(chunk, n);
    database.swap(text);
    database_loaded = true;
    return &database;
}

int GetNamedColorRGB(const char* name, int* r, int* g, int* b)
{
    if (!name || !*name)
        return 0;
    char wanted[256];
    snprintf(wanted, sizeof wanted, "%s", name);
    tslSpaceCut(wanted);
    if (!*wanted)
        return 0;
    const std::string* text = color_database();
    if (!text) {
        fprintf(stderr, "Error: Can't open rgb file (%s).\n",
                database_override ? database_override : DATABASE_FILES[0]);
        return 0;
    }
    int rr = 0, gg = 0, bb = 0;
    if (!color_find_in_text(text->data(), text->size(), wanted, &rr, &gg, &bb))
        return 0;
    *r = rr;
    *g = gg;
    *b = bb;
    return 1;
}
