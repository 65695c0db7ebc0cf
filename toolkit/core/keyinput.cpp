// Key input: the key symbol of a key event, thinned to one per loop interval,
// and the text a key event types, through the input method when attached.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/keyinput_private.h"
#include "tessel.h"

// The text buffer holds at most this many bytes and a terminator.
static const int kTextLimit = 4999;
static char s_text[kTextLimit + 1];

// Longest committed text fetched again after an overflow; anything longer is
// treated as garbage from the server.
static const size_t kRetryLimit = 1 << 20;

static int is_key_event(const XEvent* event)
{
    return event && (event->type == KeyPress || event->type == KeyRelease);
}

KeySym tslGetKey(TslWindow* window, XEvent* event)
{
    if (!window || !is_key_event(event))
        return (KeySym)-1;
    // Server time is a 32-bit millisecond counter that wraps.
    unsigned int elapsed = (unsigned int)(event->xkey.time - window->keyPressTime);
    unsigned int interval = g_tessel.interval > 0 ? (unsigned int)g_tessel.interval : 0;
    if (elapsed < interval)
        return (KeySym)-1;
    window->keyPressTime = event->xkey.time;
    if (g_tessel.tenKey == 1)
        return tslConvertTenKeyCode(&event->xkey);
    return XLookupKeysym(&event->xkey, tslGetShiftState(&event->xkey));
}

int keyinput_whole_chars(const char* text, size_t length, size_t limit)
{
    size_t pos = 0;
    mblen(nullptr, 0);
    while (pos < length) {
        int n = mblen(text + pos, length - pos);
        if (n <= 0)
            n = 1;
        if (pos + (size_t)n > limit)
            break;
        pos += (size_t)n;
    }
    return (int)pos;
}

// After an overflow the input context still holds the text: fetch it into a
// buffer of the size it asked for and keep what fits in whole characters.
static int lookup_after_overflow(XIC ic, XKeyEvent* key, int needed)
{
    if (needed <= 0 || (size_t)needed > kRetryLimit)
        return 0;
    std::vector<char> big((size_t)needed + 1);
    KeySym keysym;
    Status status;
    int got = XmbLookupString(ic, key, big.data(), needed, &keysym, &status);
    if (got <= 0 || got > needed || (status != XLookupChars && status != XLookupBoth))
        return 0;
    int keep = keyinput_whole_chars(big.data(), (size_t)got, (size_t)kTextLimit);
    memcpy(s_text, big.data(), (size_t)keep);
    return keep;
}

char* tslGetString(TslWindow* window, XEvent* event, int* length)
{
    s_text[0] = '\0';
    if (length)
        *length = 0;
    if (!window || !is_key_event(event))
        return nullptr;
    KeySym keysym;
    int len;
    if (window->ic) {
        Status status;
        len = XmbLookupString(window->ic, &event->xkey, s_text, kTextLimit, &keysym, &status);
        if (status == XBufferOverflow) {
            fprintf(stderr, "Error: Get String - Buffer Overflow. Too long string(limit 5000 words)");
            len = lookup_after_overflow(window->ic, &event->xkey, len);
        } else if (status != XLookupChars && status != XLookupBoth) {
            len = 0;
        }
    } else {
        len = XLookupString(&event->xkey, s_text, kTextLimit, &keysym, nullptr);
    }
    if (len < 0)
        len = 0;
    if (len > kTextLimit)
        len = kTextLimit;
    s_text[len] = '\0';
    int code = tslCheckCharCode(s_text, len);
    tslToConvCharCode(s_text, len, code, g_tessel.charCode);
    if (length)
        *length = len;
    return s_text;
}
