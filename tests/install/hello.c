/* A program built against the installed toolkit: measures and converts a
 * Japanese text without a display. */
#include <stdio.h>
#include <string.h>

#include <tessel.h>

int main(void)
{
    char text[] = "\xA4\xA2";
    if (tslCheckCharCode(text, 2) != TSL_CODE_EUC || !tslToConvCharCode(text, 2, TSL_CODE_EUC, TSL_CODE_SJIS))
        return 1;
    TslRect r = tslSetRect(0, 0, 10, 10);
    if (memcmp(text, "\x82\xA0", 2) != 0 || !tslPointInRect(5, 5, r))
        return 1;
    puts("tessel ok");
    return 0;
}
