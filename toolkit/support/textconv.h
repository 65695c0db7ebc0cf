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

// Converts len bytes from one codeset to another.  A character that is not
// valid in the source, or has no form in the target, becomes one '?'; the
// result never holds a NUL taken from the input.
std::string textconv_convert(const char* from, const char* to, const char* in, size_t len);

// The toolkit's text (in g_tessel.charCode) as UTF-8, and back.
std::string textconv_to_utf8(const char* text);
std::string textconv_from_utf8(const char* text, size_t len);

#endif
