// What a client holds on the server, by resource type, read through the
// X-Resource extension from a second connection.
#ifndef TSL_TEST_XRES_COUNTS_H
#define TSL_TEST_XRES_COUNTS_H

#include <X11/Xlib.h>

#include <map>
#include <string>

// Counts by type name ("WINDOW", "PIXMAP", "GC", ...) of the client that
// owns anyId; types it holds none of are left out.  Empty when the server
// has no such client or no X-Resource extension.
std::map<std::string, int> xres_counts(Display* spy, XID anyId);

#endif
