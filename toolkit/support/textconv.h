// Conversion of text between the toolkit's character code and the codesets
// of the world around it (UTF-8 for window managers and the clipboard, the
// locale's codeset for typed text and file names), through iconv.
#ifndef TSL_SUPPORT_TEXTCONV_H
#define TSL_SUPPORT_TEXTCONV_H

#include <cstddef>
#include <string>

// iconv names of the toolkit's character codes (TSL_CODE_*): "EUC-JP",
// "SHIFT_JIS", and "ASCII" for the rest.
const char* textconv_code_name(int code);

// The locale's codeset (nl_langinfo(CODESET)), "ASCII" when unknown.
const char* textconv_locale_codeset(void);

// The codeset of the text X gives for key events: the locale's, or Latin-1
// where the locale's is plain ASCII (XLookupString's own code there).
const char* textconv_key_codeset(void);

// True when a codeset name stands for EUC-JP.
bool textconv_is_euc(const char* codeset);

// Converts len bytes from one codeset to another.  A character that is not
// valid in the source, or has no form in the target, becomes one '?'; the
// result never holds a NUL taken from the input.  EUC-JP comes out as the
// toolkit draws it: ASCII and two-byte characters only.
std::string textconv_convert(const char* from, const char* to, const char* in, size_t len);

// Length of the longest prefix of s (len bytes in codeset code) that is at
// most limit bytes and ends on a whole character.
size_t textconv_whole_chars(const char* code, const char* s, size_t len, size_t limit);

// The toolkit's text (in g_tessel.charCode) as UTF-8, and back.
std::string textconv_to_utf8(const char* text);
std::string textconv_from_utf8(const char* text, size_t len);

#endif
