// The largest picture any reader accepts.  A header may claim any size;
// what a file says is only taken up to where the server's copy of the
// picture stays within reason.
#ifndef TSL_IMAGE_IMAGE_LIMITS_H
#define TSL_IMAGE_IMAGE_LIMITS_H

#include <cstdint>

// 16384 x 16384: a gigabyte on the server at 32 bits a pixel, several
// times the largest photographs cameras take.
const uint64_t IMAGE_MAX_PIXELS = (uint64_t)1 << 28;

#endif
