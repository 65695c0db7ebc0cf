// Lead-byte tests and pair arithmetic of the Japanese character codes,
// shared by code conversion and text measurement inside the library.
#ifndef TSL_SUPPORT_CHARCODE_PRIVATE_H
#define TSL_SUPPORT_CHARCODE_PRIVATE_H

#include "tessel.h"

// EUC-JP: 0xA1 and above starts a two-byte character (a leading 0x8E is an ordinary byte).
static inline int charcode_is_euc_lead(unsigned char c)
{
    return c > 0xA0;
}

// Shift-JIS: 0x80 and above except half-width katakana 0xA0..0xDF.
static inline int charcode_is_sjis_lead(unsigned char c)
{
    return c >= 0x80 && !(c >= 0xA0 && c <= 0xDF);
}

// Lead byte under a two-byte code; no byte leads under any other code.
static inline int charcode_is_lead(unsigned char c, int code)
{
    if (code == TSL_CODE_EUC) return charcode_is_euc_lead(c);
    if (code == TSL_CODE_SJIS) return charcode_is_sjis_lead(c);
    return 0;
}

// JIS X 0208 code pair to Shift-JIS and back; results are taken modulo 256.
void charcode_jis_to_sjis(unsigned char j1, unsigned char j2, unsigned char* s1, unsigned char* s2);
void charcode_sjis_to_jis(unsigned char s1, unsigned char s2, unsigned char* j1, unsigned char* j2);

// Byte kind (TSL_CHAR_*) at index of a NUL-terminated string under the
// given code; tslCheckChar with the configured code.
int charcode_byte_kind(const char* str, int index, int code);

#endif
