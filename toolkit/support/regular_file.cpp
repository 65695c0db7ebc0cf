// Regular-file opening.  A FIFO without a writer blocks an ordinary open
// until one comes, and a device may do anything on open: the kind is looked
// at first, and the open itself cannot block, in case the name was
// replaced in between.
#include "support/regular_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Sets errno for a file of the given kind that is not a regular one.
static int refuse(mode_t mode)
{
    errno = S_ISDIR(mode) ? EISDIR : ENODEV;
    return 0;
}

// 1 when path names a regular file (following links), else 0.
static int is_regular(const char* path)
{
    struct stat st;
    if (!path || stat(path, &st) != 0)
        return 0;
    return S_ISREG(st.st_mode) ? 1 : refuse(st.st_mode);
}

FILE* regular_file_open(const char* path)
{
    if (!is_regular(path))
        return nullptr;
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = ENODEV;  // replaced by something else since it was looked at
        return nullptr;
    }
    FILE* file = fdopen(fd, "rb");
    if (!file) {
        int error = errno;
        close(fd);
        errno = error;
    }
    return file;
}
