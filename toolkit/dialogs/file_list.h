// The file dialog's listing rules, without a display or a file system:
// which directory entries each expansion mode shows, in what order, and
// under what names, and which real name lies behind the name field.
#ifndef TSL_DIALOGS_FILE_LIST_H
#define TSL_DIALOGS_FILE_LIST_H

#include <string>
#include <vector>

// Expansion modes: everything but "." / no hidden entries / as "normal",
// with only the files whose extension is in the filter list.
enum { FILE_EXP_ALL = 0, FILE_EXP_NORMAL = 1, FILE_EXP_SELECT = 2 };

// One entry of a directory: its name as the file system holds it (in the
// locale's codeset, or in none at all), whether stat found a directory
// there (an entry stat cannot look at counts as a file), and its name as
// the list shows it, in the toolkit's character code.
struct FileEntry {
    std::string name;
    bool directory;
    std::string shown;
};

// Converts a name from the locale's codeset to the toolkit's code, or back.
typedef std::string (*FileNameConvert)(const std::string& text);

// Whether an entry shows in an expansion mode.  filters is a null-terminated
// list of extensions with their dot, matched exactly; null matches nothing.
bool file_list_shows(const FileEntry& e, int expansion, const char* const* filters);

// The entries that show, from the entries in the reader's sorted order: ".."
// first (there is always one, even when the directory did not list it),
// then the other directories, then the files, each group in its own order.
std::vector<FileEntry> file_list_arrange(const std::vector<FileEntry>& entries, int expansion,
                                         const char* const* filters);

// A name as the list shows it: converted by toText when it is not plain
// ASCII, and every byte that draws nothing (a control byte) shown as '?'.
std::string file_list_shown_name(const std::string& name, FileNameConvert toText);

// An entry's item in the list: its shown name, with "/" after a directory.
std::string file_list_label(const FileEntry& e);

// What the name field was last given by the dialog: a shown name and the
// real name behind it.
struct FileNamePick {
    std::string shown;
    std::string real;
};

// The real name meant by the name field's text: the pick's real name while
// the field still holds its shown name unchanged, else the typed text
// converted back by toLocale.
std::string file_list_real_name(const std::string& field, const FileNamePick& pick,
                                FileNameConvert toLocale);

#endif
