// Fuzz target for the file dialog's listing rules: the first line holds the
// mode and the filters (separated by spaces), every further line a name, a
// directory's with a closing "/".  The listing's promises are checked.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/file_list.h"

namespace {

std::string twice(const std::string& s)
{
    return s + s;
}

void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    for (size_t start = 0, end; start <= input.size(); start = end + 1) {
        end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        lines.push_back(input.substr(start, end - start));
    }
    int mode = lines[0].empty() ? 0 : (unsigned char)lines[0][0] % 4;
    std::vector<std::string> filterText;
    for (size_t start = 1, end; start <= lines[0].size(); start = end + 1) {
        end = lines[0].find(' ', start);
        if (end == std::string::npos)
            end = lines[0].size();
        filterText.push_back(lines[0].substr(start, end - start));
    }
    std::vector<const char*> filters;
    for (const std::string& f : filterText)
        filters.push_back(f.c_str());
    filters.push_back(nullptr);

    std::vector<FileEntry> entries;
    for (size_t i = 1; i < lines.size(); i++) {
        std::string n = lines[i];
        bool dir = !n.empty() && n.back() == '/';
        entries.push_back(FileEntry{dir ? n.substr(0, n.size() - 1) : n, dir, ""});
    }
    std::vector<FileEntry> shown = file_list_arrange(entries, mode, mode == 3 ? nullptr : filters.data());
    check(!shown.empty() && shown[0].name == ".." && shown[0].directory && shown.size() <= entries.size() + 1);
    // The rest keep their order, directories first, and pass their mode's filter.
    size_t from = 0;
    bool files = false;
    for (size_t k = 1; k < shown.size(); k++) {
        const FileEntry& e = shown[k];
        check(e.name != "." && e.name != ".." && (!files || !e.directory));
        check(mode == FILE_EXP_ALL || (!e.name.empty() && e.name[0] != '.'));
        check(mode != FILE_EXP_SELECT || e.directory || e.name.size() >= 5);
        if (k == 1 || e.directory != shown[k - 1].directory)
            from = 0;
        files = files || !e.directory;
        while (from < entries.size() && (entries[from].name != e.name || entries[from].directory != e.directory))
            from++;
        check(from++ < entries.size());
        std::string name = file_list_shown_name(e.name, twice);
        for (unsigned char c : name)
            check(c >= 0x20 && c != 0x7F);
        FileNamePick pick{name, e.name};
        check(file_list_real_name(name, pick, twice) == e.name || e.name.empty());
    }
    return 0;
}
