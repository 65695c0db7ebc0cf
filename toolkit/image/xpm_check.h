// A check of an XPM file's announced sizes against its length, made before
// libXpm sees the file: libXpm allocates and walks what the values line
// announces before it reads a colour or a row.  No display involved.
#ifndef TSL_IMAGE_XPM_CHECK_H
#define TSL_IMAGE_XPM_CHECK_H

#include <cstddef>

// False when the text (a whole XPM 1, 2 or 3 file) announces more colours,
// characters per pixel or pixels than its own length can hold.  Text whose
// values cannot be found is left for libXpm to judge (true).
bool xpm_sizes_fit(const char* text, size_t size);

#endif
