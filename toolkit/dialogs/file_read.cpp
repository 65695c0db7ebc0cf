// Directory reading for the file dialog: scandir sorts, stat classifies.
#include "dialogs/file_read.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

static const char kCantScan[] = "Error: Can't scan directory.\n";

bool file_read_dir(const char* dir, std::vector<FileEntry>* out, FileReadHook hook, void* arg)
{
    out->clear();
    dirent** list = nullptr;
    int count = scandir(dir, &list, nullptr, alphasort);
    if (count < 0) {
        fputs(kCantScan, stderr);
        return false;
    }
    bool ok = true;
    try {
        std::string path = std::string(dir) + "/";
        size_t base = path.size();
        out->reserve((size_t)count);
        for (int i = 0; i < count; i++) {
            if (hook)
                hook(arg);
            path.resize(base);
            path += list[i]->d_name;
            struct stat st;
            bool directory = stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            out->push_back(FileEntry{list[i]->d_name, directory, std::string()});
        }
    } catch (const std::bad_alloc&) {
        out->clear();
        ok = false;
        fputs(kCantScan, stderr);
    }
    for (int i = 0; i < count; i++)
        free(list[i]);
    free(list);
    return ok;
}
