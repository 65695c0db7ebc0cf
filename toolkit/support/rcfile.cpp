// Resource file store: reads one value from, or writes one value into, a
// text file of [group] headers and key=value lines.  Each call loads the
// whole file, works on that copy and, for a write, replaces the file whole.
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/rcfile_private.h"
#include "support/regular_file.h"

// The working copy of one call; never a string, may hold any byte.
static char* g_pRCFileData = nullptr;
static size_t g_nSize = 0;
static size_t g_nPos = 0;

// Lines are compared through a buffer of this size; longer lines are cut.
static const size_t LINE_SIZE = 1024;
// Group, key and written-line texts are built in buffers of this size.
static const size_t TEXT_SIZE = 256;

static const char MSG_NO_MEMORY_LOAD[] = "Error: Can't allocate memory (rc file i/o libray).\n";
static const char MSG_NO_MEMORY_EDIT[] = "Error: Can't allocate memory (rc file i/o libray).";
static const char MSG_CANT_OPEN[] = "Error: Can't open rc file (%s)\n";
static const char MSG_CREATE_IT[] = "Warring: Can't open rc file (%s). Create it.\n";

static void ResetRC()
{
    free(g_pRCFileData);
    g_pRCFileData = nullptr;
    g_nSize = 0;
    g_nPos = 0;
}

// Loads the whole file.  The size from stat is only a hint: the copy holds
// what could actually be read.
static int LoadRC(FILE* fp)
{
    struct stat st;
    size_t hint = 0;
    if (fstat(fileno(fp), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        hint = (size_t)st.st_size;
    g_pRCFileData = static_cast<char*>(malloc(hint + 1));
    if (!g_pRCFileData) {
        fputs(MSG_NO_MEMORY_LOAD, stderr);
        return 0;
    }
    g_nSize = fread(g_pRCFileData, 1, hint, fp);
    g_nPos = 0;
    return 1;
}

// Grows or shrinks the working copy, keeping one spare byte like the load.
static int ChangeSize(size_t size)
{
    char* p = static_cast<char*>(realloc(g_pRCFileData, size + 1));
    if (!p) return 0;
    g_pRCFileData = p;
    return 1;
}

// Replaces the bytes [at, at + removed) of the working copy by n new bytes.
static int ReplaceBytes(size_t at, size_t removed, const char* bytes, size_t n)
{
    size_t tail = g_nSize - at - removed;
    size_t size = g_nSize - removed + n;
    if (size > g_nSize && !ChangeSize(size)) {
        fputs(MSG_NO_MEMORY_EDIT, stderr);
        return 0;
    }
    memmove(g_pRCFileData + at + n, g_pRCFileData + at + removed, tail);
    memcpy(g_pRCFileData + at, bytes, n);
    if (size < g_nSize) ChangeSize(size);
    g_nSize = size;
    return 1;
}

// Reads the next line into line (at most LINE_SIZE - 1 bytes, the rest of a
// longer line is skipped).  A last line without a line feed counts too.
// start and end receive the line's bytes in the copy, line feed excluded.
static int GetRCLineChar(char* line, size_t* start, size_t* end)
{
    if (g_nPos >= g_nSize) return 0;
    *start = g_nPos;
    size_t n = 0;
    while (g_nPos < g_nSize && g_pRCFileData[g_nPos] != '\n') {
        if (n < LINE_SIZE - 1) line[n++] = g_pRCFileData[g_nPos];
        g_nPos++;
    }
    *end = g_nPos;
    line[n] = '\0';
    if (g_nPos < g_nSize) g_nPos++;
    return 1;
}

static int starts_with(const char* line, const char* text)
{
    return strncmp(line, text, strlen(text)) == 0;
}

// Builds a text into a TEXT_SIZE buffer; 0 when it would not fit.
static int build_text(char* out, const char* format, const char* a, const char* b = "")
{
    int n = snprintf(out, TEXT_SIZE, format, a, b);
    return n >= 0 && (size_t)n < TEXT_SIZE;
}

static int SeekRCGroup(const char* group)
{
    char header[TEXT_SIZE];
    if (!build_text(header, "[%s]", group)) return 0;
    char line[LINE_SIZE];
    size_t start, end;
    while (GetRCLineChar(line, &start, &end)) {
        if (starts_with(line, header)) return 1;
    }
    return 0;
}

// Copies the value into the caller's TSL_RC_VALUE_SIZE buffer, trimmed
// first and then cut to fit.
static void store_value(char* value, std::string text)
{
    tslSpaceCut(&text[0]);
    size_t len = strnlen(text.c_str(), TSL_RC_VALUE_SIZE - 1);
    memcpy(value, text.c_str(), len);
    value[len] = '\0';
    tslSpaceCut(value);
}

static int GetRCKeyValue(const char* key, char* value)
{
    char keyText[TEXT_SIZE];
    if (!build_text(keyText, "%s=", key)) return 0;
    size_t keyLen = strlen(keyText);
    char line[LINE_SIZE];
    size_t start, end;
    while (GetRCLineChar(line, &start, &end)) {
        if (starts_with(line, keyText)) {
            // The value runs to the line feed, also past the compared part.
            store_value(value, std::string(g_pRCFileData + start + keyLen, end - start - keyLen));
            return 1;
        }
        if (line[0] == '[') return 0;
    }
    return 0;
}

// The insertion point for a new key: just after the last line before start
// holding '=' or ']' (the group's last key line, or its header).
static size_t BackSearchString(size_t start)
{
    size_t pos = start;
    while (g_pRCFileData[pos] != '=' && g_pRCFileData[pos] != ']') {
        if (pos == 0) return 0;
        pos--;
    }
    while (pos < g_nSize && g_pRCFileData[pos] != '\n') pos++;
    return pos < g_nSize ? pos + 1 : g_nSize;
}

static int insert_key_line(size_t at, const char* keyLine)
{
    std::string text;
    // A last line without a line feed gets one before the new line.
    if (at == g_nSize && g_nSize > 0 && g_pRCFileData[g_nSize - 1] != '\n') text = "\n";
    text += keyLine;
    return ReplaceBytes(at, 0, text.data(), text.size());
}

static int SetRCKeyValue(const char* key, const char* value)
{
    char keyText[TEXT_SIZE];
    char keyLine[TEXT_SIZE];
    if (!build_text(keyText, "%s=", key) || !build_text(keyLine, "%s=%s\n", key, value))
        return 0;
    size_t keyLen = strlen(keyText);
    char line[LINE_SIZE];
    size_t start, end;
    while (GetRCLineChar(line, &start, &end)) {
        if (starts_with(line, keyText)) {
            std::string text = std::string(value) + "\n";
            size_t removed = end - start - keyLen;
            if (end < g_nSize) removed++;
            return ReplaceBytes(start + keyLen, removed, text.data(), text.size());
        }
        if (line[0] == '[') return insert_key_line(BackSearchString(start), keyLine);
    }
    if (g_nSize == 0) return insert_key_line(0, keyLine);
    return insert_key_line(BackSearchString(g_nSize - 1), keyLine);
}

static int SetRCGroupKeyValue(const char* group, const char* key, const char* value)
{
    char header[TEXT_SIZE];
    char keyLine[TEXT_SIZE];
    if (!build_text(header, "[%s]\n", group) || !build_text(keyLine, "%s=%s\n", key, value))
        return 0;
    std::string text;
    if (g_nSize > 0 && g_pRCFileData[g_nSize - 1] != '\n') text = "\n";
    text += header;
    text += keyLine;
    return ReplaceBytes(g_nSize, 0, text.data(), text.size());
}

// Writes the copy to a new file beside the old one and renames it over, so
// that a failed write (disk full, no permission) leaves the old file whole.
static int WriteRC(const char* path)
{
    char resolved[PATH_MAX];
    std::string target = realpath(path, resolved) ? resolved : path;
    // A file the user cannot write stays as it is, as with writing in place.
    if (access(target.c_str(), F_OK) == 0 && access(target.c_str(), W_OK) != 0) {
        fprintf(stderr, MSG_CANT_OPEN, path);
        return 0;
    }
    std::string temp = target + ".XXXXXX";
    int fd = mkstemp(&temp[0]);
    if (fd < 0) {
        fprintf(stderr, MSG_CANT_OPEN, path);
        return 0;
    }
    struct stat st;
    mode_t mode;
    if (stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);
    FILE* fp = fdopen(fd, "wb");
    if (!fp) {
        close(fd);
        unlink(temp.c_str());
        fprintf(stderr, MSG_CANT_OPEN, path);
        return 0;
    }
    bool ok = fwrite(g_pRCFileData, 1, g_nSize, fp) == g_nSize;
    ok = fflush(fp) == 0 && ok;
    ok = fsync(fileno(fp)) == 0 && ok;
    ok = fclose(fp) == 0 && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        fprintf(stderr, MSG_CANT_OPEN, path);
        return 0;
    }
    return 1;
}

// Loads the whole file into the working copy, with the messages of a read.
static int ReadRC(const char* path)
{
    FILE* fp = regular_file_open(path);
    if (!fp) {
        fprintf(stderr, MSG_CANT_OPEN, path);
        return 0;
    }
    int loaded = LoadRC(fp);
    fclose(fp);
    if (!loaded) ResetRC();
    return loaded;
}

// Looks the key up in the working copy.
static int FindRCValue(const char* group, const char* key, char* value)
{
    int found = SeekRCGroup(group) && GetRCKeyValue(key, value);
    if (!found) {
        // The caller's default is trimmed too; it must end inside its buffer.
        if (!memchr(value, '\0', TSL_RC_VALUE_SIZE)) value[TSL_RC_VALUE_SIZE - 1] = '\0';
        tslSpaceCut(value);
    }
    return found;
}

int tslGetRCFileValue(const char* path, const char* group, const char* key, char* value)
{
    if (!path || !group || !key || !value) return 0;
    if (!ReadRC(path)) return 0;
    int found = FindRCValue(group, key, value);
    ResetRC();
    return found;
}

int rc_read_file(const char* path, std::string* data)
{
    if (!path || !data || !ReadRC(path)) return 0;
    data->assign(g_pRCFileData, g_nSize);
    ResetRC();
    return 1;
}

int rc_find_value(const std::string& data, const char* group, const char* key, char* value)
{
    if (!group || !key || !value) return 0;
    // Lookups only read the working copy, so it may stand on the caller's text.
    g_pRCFileData = const_cast<char*>(data.data());
    g_nSize = data.size();
    g_nPos = 0;
    int found = FindRCValue(group, key, value);
    g_pRCFileData = nullptr;
    g_nSize = 0;
    g_nPos = 0;
    return found;
}

int tslSetRCFileValue(const char* path, const char* group, const char* key, const char* value)
{
    if (!path || !group || !key || !value) return 0;
    // A line feed inside a name or value would split the line and corrupt
    // the file's structure.
    if (strchr(group, '\n') || strchr(key, '\n') || strchr(value, '\n')) return 0;
    FILE* fp = regular_file_open(path);
    if (fp) {
        int loaded = LoadRC(fp);
        fclose(fp);
        if (!loaded) {
            ResetRC();
            return 0;
        }
    } else if (errno == ENOENT) {
        fprintf(stderr, MSG_CREATE_IT, path);
    } else {
        // The file exists but cannot be read: replacing it would lose it.
        fprintf(stderr, MSG_CANT_OPEN, path);
        return 0;
    }
    int done = SeekRCGroup(group) ? SetRCKeyValue(key, value)
                                  : SetRCGroupKeyValue(group, key, value);
    if (done) done = WriteRC(path);
    ResetRC();
    return done;
}

// Blanks are space and tab only.
int tslSpaceCut(char* str)
{
    if (!str) return 1;
    size_t first = 0;
    while (str[first] == ' ' || str[first] == '\t') first++;
    size_t len = strlen(str + first);
    memmove(str, str + first, len + 1);
    while (len > 0 && (str[len - 1] == ' ' || str[len - 1] == '\t')) str[--len] = '\0';
    return 1;
}
