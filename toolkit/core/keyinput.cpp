// Key input: the key symbol of a key event, thinned to one per loop interval,
// and the text a key event types, through the input method when attached.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/textconv.h"
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

// After an overflow the input context still holds the text: fetch it into a
// buffer of the size it asked for.
static std::string lookup_after_overflow(XIC ic, XKeyEvent* key, int needed)
{
    if (needed <= 0 || (size_t)needed > kRetryLimit)
        return std::string();
    std::vector<char> big((size_t)needed + 1);
    KeySym keysym;
    Status status;
    int got = XmbLookupString(ic, key, big.data(), needed, &keysym, &status);
    if (got <= 0 || got > needed || (status != XLookupChars && status != XLookupBoth))
        return std::string();
    return std::string(big.data(), (size_t)got);
}

// The bytes a key event types, in the codeset of the locale.
static std::string lookup(TslWindow* window, XKeyEvent* key)
{
    char buf[kTextLimit + 1];
    KeySym keysym;
    int len;
    if (window->ic) {
        Status status;
        len = XmbLookupString(window->ic, key, buf, kTextLimit, &keysym, &status);
        if (status == XBufferOverflow)
            return lookup_after_overflow(window->ic, key, len);
        if (status != XLookupChars && status != XLookupBoth)
            return std::string();
    } else {
        len = XLookupString(key, buf, kTextLimit, &keysym, nullptr);
    }
    return std::string(buf, (size_t)(len < 0 ? 0 : len > kTextLimit ? kTextLimit : len));
}

char* tslGetString(TslWindow* window, XEvent* event, int* length)
{
    s_text[0] = '\0';
    if (length)
        *length = 0;
    if (!window || !is_key_event(event))
        return nullptr;
    std::string text = lookup(window, &event->xkey);
    const char* from = textconv_key_codeset();
    const char* to = textconv_code_name(g_tessel.charCode);
    // An EUC-JP locale types the toolkit's own code: its bytes are only
    // recoded between the two-byte codes.  Any other is converted first.
    bool euc = textconv_is_euc(from);
    if (!euc)
        text = textconv_convert(from, to, text.data(), text.size());
    size_t len = textconv_whole_chars(euc ? from : to, text.data(), text.size(), kTextLimit);
    if (len < text.size())
        fprintf(stderr, "Error: Get String - Buffer Overflow. Too long string(limit 5000 words)");
    memcpy(s_text, text.data(), len);
    s_text[len] = '\0';
    if (euc)
        tslToConvCharCode(s_text, (int)len, tslCheckCharCode(s_text, (int)len), g_tessel.charCode);
    if (length)
        *length = (int)len;
    return s_text;
}
