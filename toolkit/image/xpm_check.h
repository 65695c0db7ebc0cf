// A check of an XPM file's announced sizes against its length, made before
// libXpm sees the file: libXpm allocates and walks what the values line
// announces before it reads a colour or a row.  No display involved.
#ifndef TSL_IMAGE_XPM_CHECK_H
#define TSL_IMAGE_XPM_CHECK_H

#include <cstddef>
#include <cstdint>

// False when the text, the first size bytes of an XPM 1, 2 or 3 file of
// fileSize bytes, announces more colours, characters per pixel or pixels
// than the file's length can hold, or more pixels than any reader takes.  Text whose values cannot be found is
// left for libXpm to judge (true), unless the values may lie past a head
// shorter than the file (false).
bool xpm_sizes_fit(const char* text, size_t size, uint64_t fileSize);

#endif
