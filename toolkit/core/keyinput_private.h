// Key input internals shared with the tests: fitting typed text into the
// fixed text buffer without splitting a character.
#ifndef TSL_CORE_KEYINPUT_PRIVATE_H
#define TSL_CORE_KEYINPUT_PRIVATE_H

#include <cstddef>

// Length of the longest prefix of text (length bytes) that is at most limit
// bytes and ends on a character boundary of the current locale.
int keyinput_whole_chars(const char* text, size_t length, size_t limit);

#endif
