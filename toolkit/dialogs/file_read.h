// Reading a directory for the file dialog: the names in sorted order, each
// marked as a directory or a file.
#ifndef TSL_DIALOGS_FILE_READ_H
#define TSL_DIALOGS_FILE_READ_H

#include <vector>

#include "dialogs/file_list.h"

// Called between entries, so that a long listing lets events through.
typedef void (*FileReadHook)(void* arg);

// The entries of dir sorted by alphasort, shown names left empty; false,
// with "Error: Can't scan directory.\n" on standard error, when the
// directory cannot be read.
bool file_read_dir(const char* dir, std::vector<FileEntry>* out, FileReadHook hook, void* arg);

#endif
