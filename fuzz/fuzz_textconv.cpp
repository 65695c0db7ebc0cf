// Fuzz target for text conversion: bytes from another program or a file
// name, converted between the toolkit's code, UTF-8, Latin-1 and Shift-JIS,
// with the promises of the result checked: no NUL, EUC-JP only in the form
// the toolkit draws, cuts at whole characters within their limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/textconv.h"

namespace {

const char* const kCodes[] = {"EUC-JP", "UTF-8", "ISO-8859-1", "SHIFT_JIS"};

void check_euc(const std::string& s)
{
    for (size_t i = 0; i < s.size(); i++) {
        unsigned char c = (unsigned char)s[i];
        if (c >= 0x80 && (c < 0xA1 || ++i >= s.size() || (unsigned char)s[i] < 0xA1))
            abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const char* from = kCodes[data[0] % 4];
    const char* to = kCodes[(data[0] >> 2) % 4];
    size_t limit = data[1];
    const char* text = (const char*)data + 2;
    size_t len = size - 2;
    std::string out = textconv_convert(from, to, text, len);
    if (out.find('\0') != std::string::npos)
        abort();
    if (std::string(to) == "EUC-JP")
        check_euc(out);
    size_t keep = textconv_whole_chars(to, out.data(), out.size(), limit);
    if (keep > limit || keep > out.size())
        abort();
    return 0;
}
