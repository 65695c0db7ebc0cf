// Image loading internals: one reader per file kind behind tslLoadImage.
#ifndef TSL_IMAGE_IMAGE_LOAD_H
#define TSL_IMAGE_IMAGE_LOAD_H

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

#endif
