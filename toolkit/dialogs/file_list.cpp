// The file dialog's listing rules: filters, order and shown names.
#include "dialogs/file_list.h"


static const char kParent[] = "..";
// Shorter file names never show in "select" mode, whatever they end in.
static const size_t kSelectMinLength = 5;

// The extension: from the last '.' after the first byte, the dot included;
// the whole name when there is none.
static std::string extension(const std::string& name)
{
    size_t dot = name.rfind('.');
    return (dot == std::string::npos || dot == 0) ? name : name.substr(dot);
}

static bool in_filters(const std::string& ext, const char* const* filters)
{
    for (const char* const* f = filters; f && *f; f++)
        if (ext == *f)
            return true;
    return false;
}

bool file_list_shows(const FileEntry& e, int expansion, const char* const* filters)
{
    if (e.name == kParent)
        return true;
    if (e.name.empty() || e.name == ".")
        return false;
    if (expansion == FILE_EXP_ALL)
        return true;
    if (e.name[0] == '.')
        return false;
    if (expansion != FILE_EXP_SELECT || e.directory)
        return true;
    return e.name.size() >= kSelectMinLength && in_filters(extension(e.name), filters);
}

std::vector<FileEntry> file_list_arrange(const std::vector<FileEntry>& entries, int expansion,
                                         const char* const* filters)
{
    std::vector<FileEntry> shown;
    shown.reserve(entries.size() + 1);
    shown.push_back(FileEntry{kParent, true, kParent});
    for (int pass = 0; pass < 2; pass++) {
        bool directories = pass == 0;
        for (const FileEntry& e : entries)
            if (e.directory == directories && e.name != kParent && file_list_shows(e, expansion, filters))
                shown.push_back(e);
    }
    return shown;
}

std::string file_list_shown_name(const std::string& name, FileNameConvert toText)
{
    bool ascii = true;
    for (unsigned char c : name)
        ascii = ascii && c < 0x80;
    std::string shown = (ascii || !toText) ? name : toText(name);
    // Control bytes are never part of a two-byte character in EUC-JP or
    // Shift-JIS, so they can be replaced one by one.
    for (char& c : shown)
        if ((unsigned char)c < 0x20 || c == 0x7F)
            c = '?';
    return shown;
}

std::string file_list_label(const FileEntry& e)
{
    return e.directory ? e.shown + "/" : e.shown;
}

std::string file_list_real_name(const std::string& field, const FileNamePick& pick,
                                FileNameConvert toLocale)
{
    if (!pick.real.empty() && field == pick.shown)
        return pick.real;
    return toLocale ? toLocale(field) : field;
}
