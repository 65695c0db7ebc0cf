// Resource file internals for a caller that looks up many keys of one file:
// the file read once, then each key found in that copy by the rules of
// tslGetRCFileValue.
#ifndef TSL_SUPPORT_RCFILE_PRIVATE_H
#define TSL_SUPPORT_RCFILE_PRIVATE_H

#include <string>

#include "tessel.h"

// Reads the whole file into data; 0 (with the message tslGetRCFileValue
// prints) when it cannot be read.
int rc_read_file(const char* path, std::string* data);

// tslGetRCFileValue on text read by rc_read_file.
int rc_find_value(const std::string& data, const char* group, const char* key, char* value);

#endif
