// What the arithmetic fuzz targets share: numbers taken from the input in
// turn, and a check that stops the run where an invariant fails.
#ifndef TSL_FUZZ_INPUT_H
#define TSL_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstring>

// The next 32-bit number of the input, 0 past its end.
inline int take(const uint8_t*& data, size_t& size)
{
    int32_t v = 0;
    size_t n = size < sizeof v ? size : sizeof v;
    if (n > 0)  // an empty input's data may be null
        memcpy(&v, data, n);
    data += n;
    size -= n;
    return v;
}

inline void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

#endif
