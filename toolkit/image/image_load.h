// Image loading internals: one reader per file kind behind tslLoadImage.
#ifndef TSL_IMAGE_IMAGE_LOAD_H
#define TSL_IMAGE_IMAGE_LOAD_H

#include <cstddef>
#include <cstdint>

#include "tessel.h"

// A zeroed image record; prints the allocation error and returns null when
// memory is short.
TslImage* image_new_record();

// Name of a libXpm status code.
const char* XpmStatusToString(int status);

TslImage* ReadFileToXpmImage(Display* display, const char* path);
TslImage* ReadDataToXpmImage(Display* display, char** xpmData);
TslImage* ReadFileToBmpImage(Display* display, const char* path, Colormap cmap);
TslImage* ReadFileToJpgImage(Display* display, const char* path, Colormap cmap);
TslImage* ReadFileToPngImage(Display* display, const char* path, Colormap cmap);
TslImage* ReadFileToGifImage(Display* display, const char* path, Colormap cmap);

// Reads up to size leading bytes of a file; returns how many (0 when it
// cannot be opened).
size_t image_read_head(const char* path, uint8_t* head, size_t size);

// The format code the first bytes of a file point to (as tslSniffImageFormat).
int image_format_of_bytes(const uint8_t* data, size_t size);

#endif
