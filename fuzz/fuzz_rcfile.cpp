// Fuzz target for the resource file store: gets and sets on a hostile file.
// Input: two bytes (little-endian) giving the length of the file's bytes,
// those bytes, then NUL-separated group, key and value fields, three per
// operation.  After every set that succeeds the file must still read back
// the value just set, and the values set before it must stay; a lookup in
// a copy read once must answer as a lookup in the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/rcfile_private.h"
#include "tessel.h"

static const size_t MAX_OPERATIONS = 8;

static void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// One private folder per process, on a memory file system when there is one:
// every set writes and renames a file.
static std::string g_dir;

static void remove_dir()
{
    rmdir(g_dir.c_str());
}

static const std::string& rc_path()
{
    static std::string path = [] {
        g_dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        g_dir += "/tsl-fuzz-rc.XXXXXX";
        if (!mkdtemp(&g_dir[0]))
            abort();
        atexit(remove_dir);
        return g_dir + "/rc";
    }();
    return path;
}

static void write_file(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);
}

static std::string trimmed(std::string s)
{
    tslSpaceCut(&s[0]);
    return s.c_str();
}

static bool read_value(const std::string& path, const std::string& group, const std::string& key,
                       std::string* out)
{
    char value[TSL_RC_VALUE_SIZE] = "  default ";
    int found = tslGetRCFileValue(path.c_str(), group.c_str(), key.c_str(), value);
    check(memchr(value, '\0', sizeof value) != nullptr);
    // The start-up reads the file once and looks its keys up in that copy:
    // the same answers.
    std::string data;
    char again[TSL_RC_VALUE_SIZE] = "  default ";
    if (rc_read_file(path.c_str(), &data))
        check(rc_find_value(data, group.c_str(), key.c_str(), again) == found && strcmp(again, value) == 0);
    *out = value;
    return found == 1;
}

struct Entry {
    std::string group, key, value;
};

// Names holding '[', ']' or '=' may legitimately shadow other entries (a
// key line "[G]=v" is a header, the key "a" matches the line "a=b=v"), so
// earlier values are only checked while every name is free of them.
static bool plain_name(const std::string& s)
{
    return s.find_first_of("[]=") == std::string::npos;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    size_t fileSize = data[0] | (size_t)data[1] << 8;
    if (fileSize > size - 2)
        fileSize = size - 2;
    const std::string& path = rc_path();
    write_file(path, data + 2, fileSize);

    std::vector<std::string> fields;
    const char* p = reinterpret_cast<const char*>(data + 2 + fileSize);
    const char* end = reinterpret_cast<const char*>(data + size);
    while (p < end) {
        const char* nul = static_cast<const char*>(memchr(p, '\0', (size_t)(end - p)));
        const char* stop = nul ? nul : end;
        fields.emplace_back(p, stop);
        p = stop + 1;
    }

    std::vector<Entry> set;
    bool plain = true;
    for (size_t i = 0; i + 2 < fields.size() && i / 3 < MAX_OPERATIONS; i += 3) {
        Entry e = {fields[i], fields[i + 1], fields[i + 2]};
        std::string before;
        read_value(path, e.group, e.key, &before);
        if (tslSetRCFileValue(path.c_str(), e.group.c_str(), e.key.c_str(), e.value.c_str()) != 1)
            continue;
        std::string after;
        check(read_value(path, e.group, e.key, &after) && after == trimmed(e.value));
        plain = plain && plain_name(e.group) && plain_name(e.key);
        if (plain) {
            for (const Entry& old : set) {
                if (old.group != e.group || old.key != e.key)
                    check(read_value(path, old.group, old.key, &after) && after == trimmed(old.value));
            }
        }
        bool known = false;
        for (Entry& old : set) {
            if (old.group == e.group && old.key == e.key) {
                old.value = e.value;
                known = true;
            }
        }
        if (!known)
            set.push_back(e);
    }
    unlink(path.c_str());
    return 0;
}
