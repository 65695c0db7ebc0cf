// Character codes of toolkit text: detecting EUC-JP, Shift-JIS or plain
// text, converting two-byte characters in place between EUC-JP, Shift-JIS
// and bare JIS pairs, and classifying bytes and EUC-JP characters.
#include <cstdio>
#include <cstring>

#include "tessel.h"
#include "support/charcode_private.h"

// Detection looks at no more than this many leading bytes.
static const int DETECT_LIMIT = 1025;

void charcode_jis_to_sjis(unsigned char j1, unsigned char j2, unsigned char* s1, unsigned char* s2)
{
    if (j1 < 0x5F)
        *s1 = (unsigned char)((j1 - 0x21) / 2 + 0x81);
    else
        *s1 = (unsigned char)((j1 - 0x5F) / 2 + 0xE0);
    if ((j1 & 1) == 0)
        *s2 = (unsigned char)(j2 + 0x7E);
    else
        *s2 = (unsigned char)(j2 < 0x60 ? j2 + 0x1F : j2 + 0x20);
}

void charcode_sjis_to_jis(unsigned char s1, unsigned char s2, unsigned char* j1, unsigned char* j2)
{
    int row = s1 <= 0xDF ? 2 * s1 - 0xE1 : 2 * s1 - 0x161;
    if (s2 > 0x9E) row++;
    *j1 = (unsigned char)row;
    if (s2 < 0x80)
        *j2 = (unsigned char)(s2 - 0x1F);
    else if (s2 <= 0x9E)
        *j2 = (unsigned char)(s2 - 0x20);
    else
        *j2 = (unsigned char)(s2 - 0x7E);
}

int tslCheckCharCode(const char* str, int len)
{
    if (!str) return TSL_CODE_NOTEXT;
    int code = TSL_CODE_ASCII;
    int n = len < DETECT_LIMIT ? len : DETECT_LIMIT;
    for (int i = 0; i < n; i++) {
        unsigned char c = (unsigned char)str[i];
        if (c < 0x20 && !(c >= 9 && c <= 13)) return TSL_CODE_NOTEXT;
        if (c >= 0x81 && c <= 0x9F) return TSL_CODE_SJIS;
        if (c >= 0xA1) code = TSL_CODE_EUC;
    }
    return code;
}

static int is_convertible(int code)
{
    return code == TSL_CODE_JIS || code == TSL_CODE_SJIS || code == TSL_CODE_EUC;
}

// Converts one pair given as JIS into the destination code.
static void put_jis_pair(unsigned char* p, unsigned char j1, unsigned char j2, int dst)
{
    if (dst == TSL_CODE_EUC) {
        p[0] = (unsigned char)(j1 + 0x80);
        p[1] = (unsigned char)(j2 + 0x80);
    } else if (dst == TSL_CODE_SJIS) {
        charcode_jis_to_sjis(j1, j2, &p[0], &p[1]);
    } else {
        p[0] = j1;
        p[1] = j2;
    }
}

static int is_lead(unsigned char c, int src)
{
    if (src == TSL_CODE_JIS) return c > 0x20;
    if (src == TSL_CODE_SJIS) return charcode_is_sjis_lead(c);
    return charcode_is_euc_lead(c);
}

int tslToConvCharCode(char* str, int len, int src, int dst)
{
    if (src == dst || len <= 0 || !str) return 1;
    if (src == TSL_CODE_NOTEXT || src == TSL_CODE_ASCII) return 1;
    if (dst == TSL_CODE_NOTEXT || dst == TSL_CODE_ASCII) return 1;
    if (!is_convertible(dst)) {
        fprintf(stderr, "Error: tslToConvCharCode - Not support yet(dest code:%d).\n", dst);
        return 0;
    }
    if (!is_convertible(src)) {
        fprintf(stderr, "Error: tslToConvCharCode - Not support yet(src code:%d).\n", src);
        return 0;
    }
    unsigned char* p = reinterpret_cast<unsigned char*>(str);
    int i = 0;
    while (i < len) {
        // A lead byte without its partner inside the range stays as it is.
        if (!is_lead(p[i], src) || i + 1 >= len) {
            i++;
            continue;
        }
        unsigned char j1, j2;
        if (src == TSL_CODE_SJIS) {
            charcode_sjis_to_jis(p[i], p[i + 1], &j1, &j2);
        } else if (src == TSL_CODE_EUC) {
            j1 = (unsigned char)(p[i] - 0x80);
            j2 = (unsigned char)(p[i + 1] - 0x80);
        } else {
            j1 = p[i];
            j2 = p[i + 1];
        }
        put_jis_pair(p + i, j1, j2, dst);
        i += 2;
    }
    return 1;
}

int charcode_byte_kind(const char* str, int index, int code)
{
    if (!str || index < 0) return TSL_CHAR_NONE;
    if (code != TSL_CODE_EUC && code != TSL_CODE_SJIS) return TSL_CHAR_NONE;
    size_t len = strlen(str);
    if ((size_t)index >= len) return TSL_CHAR_NONE;
    int pos = 0;
    while (pos < index) pos += is_lead((unsigned char)str[pos], code) ? 2 : 1;
    if (pos > index) return TSL_CHAR_TRAIL;
    return is_lead((unsigned char)str[pos], code) ? TSL_CHAR_LEAD : TSL_CHAR_SINGLE;
}

int tslCheckChar(const char* str, int index)
{
    return charcode_byte_kind(str, index, g_tessel.charCode);
}

static int in(int v, int lo, int hi)
{
    return v >= lo && v <= hi;
}

int tslIsWideCharCode(unsigned char lead, unsigned char trail)
{
    int r = (int)lead - 0x80;
    int c = (int)trail - 0x80;
    if (r == 0x21 && in(c, 0x21, 0x7E)) return 0;
    if (r == 0x22 && in(c, 0x21, 0x7E)) return 1;
    if (r == 0x23 && (in(c, 0x30, 0x39) || in(c, 0x41, 0x5A) || in(c, 0x61, 0x7A))) return 2;
    if (r == 0x24 && in(c, 0x21, 0x73)) return 3;
    if (r == 0x25 && in(c, 0x21, 0x76)) return 4;
    if (r == 0x26 && (in(c, 0x21, 0x38) || in(c, 0x41, 0x58))) return 5;
    if (r == 0x27 && (in(c, 0x21, 0x41) || in(c, 0x51, 0x71))) return 6;
    if (r == 0x28 && in(c, 0x21, 0x40)) return 7;
    if ((in(r, 0x30, 0x4E) && in(c, 0x21, 0x7E)) || (r == 0x4F && in(c, 0x21, 0x53))) return 8;
    if ((in(r, 0x50, 0x73) && in(c, 0x21, 0x7E)) || (r == 0x74 && in(c, 0x21, 0x24))) return 9;
    return -1;
}
