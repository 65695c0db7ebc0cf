// Text conversion through iconv, with unconvertible characters shown as '?'.
#include "support/textconv.h"

#include <iconv.h>
#include <langinfo.h>
#include <strings.h>

#include <cerrno>
#include <cstring>

#include "tessel.h"

const char* textconv_code_name(int code)
{
    switch (code) {
    case TSL_CODE_EUC:
        return "EUC-JP";
    case TSL_CODE_SJIS:
        return "SHIFT_JIS";
    default:
        return "ASCII";
    }
}

const char* textconv_locale_codeset(void)
{
    const char* cs = nl_langinfo(CODESET);
    return (cs && *cs) ? cs : "ASCII";
}

const char* textconv_key_codeset(void)
{
    const char* cs = textconv_locale_codeset();
    if (strcasecmp(cs, "ANSI_X3.4-1968") == 0 || strcasecmp(cs, "ASCII") == 0)
        return "ISO-8859-1";
    return cs;
}

static bool is_utf8(const char* name)
{
    return strcasecmp(name, "UTF-8") == 0 || strcasecmp(name, "UTF8") == 0;
}

bool textconv_is_euc(const char* name)
{
    return strcasecmp(name, "EUC-JP") == 0 || strcasecmp(name, "EUCJP") == 0;
}

static bool is_sjis(const char* name)
{
    return strcasecmp(name, "SHIFT_JIS") == 0 || strcasecmp(name, "SJIS") == 0 ||
           strcasecmp(name, "CP932") == 0;
}

// Bytes of the character that starts at p in the source codeset, so that a
// character the target cannot hold is replaced by one '?' and not by one per
// byte.  Falls back to 1 for anything malformed: a lead byte whose next byte
// is no trail byte stands alone, and that next byte is read again.
static size_t char_length(const char* code, const unsigned char* p, size_t left)
{
    size_t n = 1;
    unsigned char c = p[0];
    bool (*trail)(unsigned char) = nullptr;
    if (is_utf8(code)) {
        n = (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3 : (c >= 0xF0 && c <= 0xF4) ? 4 : 1;
        trail = [](unsigned char b) { return (b & 0xC0) == 0x80; };
    } else if (textconv_is_euc(code)) {
        n = c == 0x8F ? 3 : (c == 0x8E || c >= 0xA1) ? 2 : 1;
        trail = [](unsigned char b) { return b >= 0xA1 && b <= 0xFE; };
    } else if (is_sjis(code)) {
        n = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 2 : 1;
        trail = [](unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; };
    }
    if (n > left)
        return 1;
    for (size_t i = 1; i < n; i++)
        if (!trail(p[i]))
            return 1;
    return n;
}

size_t textconv_whole_chars(const char* code, const char* s, size_t len, size_t limit)
{
    size_t keep = 0;
    while (keep < len) {
        size_t n = char_length(code, (const unsigned char*)s + keep, len - keep);
        if (keep + n > limit)
            break;
        keep += n;
    }
    return keep;
}

// The toolkit draws EUC-JP as ASCII and two-byte JIS X 0208 only: half-width
// katakana (0x8E) and JIS X 0212 (0x8F) would read as other characters.
static std::string only_two_byte_euc(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = (unsigned char)s[i];
        size_t n = char_length("EUC-JP", (const unsigned char*)s.data() + i, s.size() - i);
        if (c < 0x80 || (c >= 0xA1 && n == 2))
            out.append(s, i, n);
        else
            out += '?';
        i += n;
    }
    return out;
}

std::string textconv_convert(const char* from, const char* to, const char* in, size_t len)
{
    std::string out;
    if (!in || len == 0)
        return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) {
        // An unknown codeset: keep the plain ASCII bytes, mark the rest.
        for (size_t i = 0; i < len && in[i]; i++)
            out += ((unsigned char)in[i] < 0x80) ? in[i] : '?';
        return out;
    }
    const char* src = in;
    size_t left = strnlen(in, len);
    char buf[256];
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t r = iconv(cd, const_cast<char**>(&src), &left, &dst, &room);
        out.append(buf, (size_t)(dst - buf));
        if (r != (size_t)-1)
            continue;
        if (errno == E2BIG)
            continue;
        if (errno == EINVAL) {  // a character cut short by the end
            out += '?';
            break;
        }
        // Invalid, or no form in the target: one '?' for the whole
        // character, then go on after it.
        size_t skip = char_length(from, (const unsigned char*)src, left);
        src += skip;
        left -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        out += '?';
    }
    char* dst = buf;
    size_t room = sizeof buf;
    iconv(cd, nullptr, nullptr, &dst, &room);  // a stateful target's closing shift
    out.append(buf, (size_t)(dst - buf));
    iconv_close(cd);
    return textconv_is_euc(to) ? only_two_byte_euc(out) : out;
}

std::string textconv_to_utf8(const char* text)
{
    if (!text)
        return std::string();
    return textconv_convert(textconv_code_name(g_tessel.charCode), "UTF-8", text, strlen(text));
}

std::string textconv_from_utf8(const char* text, size_t len)
{
    return textconv_convert("UTF-8", textconv_code_name(g_tessel.charCode), text, len);
}

// Copies s into out (size bytes with the terminator), cut at a whole
// character of the given codeset.
static char* copy_whole_chars(const std::string& s, const char* code, char* out, size_t size)
{
    if (!out || size == 0)
        return out;
    size_t keep = textconv_whole_chars(code, s.data(), s.size(), size - 1);
    memcpy(out, s.data(), keep);
    out[keep] = '\0';
    return out;
}

char* tslLocaleToText(const char* in, char* out, size_t size)
{
    const char* code = textconv_code_name(g_tessel.charCode);
    std::string s = textconv_convert(textconv_locale_codeset(), code, in ? in : "", in ? strlen(in) : 0);
    return copy_whole_chars(s, code, out, size);
}

char* tslTextToLocale(const char* in, char* out, size_t size)
{
    const char* code = textconv_locale_codeset();
    std::string s = textconv_convert(textconv_code_name(g_tessel.charCode), code, in ? in : "", in ? strlen(in) : 0);
    return copy_whole_chars(s, code, out, size);
}
