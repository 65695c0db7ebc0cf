// Opening files named from outside (pictures, the resource file) for
// reading, only when they are regular files: a directory, device or FIFO
// is refused at once instead of read or waited on.
#ifndef TSL_SUPPORT_REGULAR_FILE_H
#define TSL_SUPPORT_REGULAR_FILE_H

#include <cstdio>

// The file opened "rb", or null with errno set: EISDIR for a directory,
// ENODEV for any other kind that is not a regular file.  Never blocks.
FILE* regular_file_open(const char* path);

#endif
