// The pictures of a directory in the order a walk through them takes:
// which names are pictures, their natural order ("img2" before "img10"),
// where a move from a name leads, and the names as the directory holds them.
#ifndef PICTEL_DIRWALK_H
#define PICTEL_DIRWALK_H

#include <string>
#include <vector>

enum WalkMove { WALK_NEXT, WALK_PREVIOUS, WALK_FIRST, WALK_LAST };

// The extensions pictel reads, each case listed, null-terminated: the file
// dialog's picture filter.
const char** dirwalk_filters(void);

// Natural order: runs of digits compare by their value and everything else
// byte by byte with ASCII letters in one case; names equal so compare by
// their bytes, so that only equal names are equal.  Below, at or above 0.
int dirwalk_compare(const std::string& a, const std::string& b);

// Whether a name is a picture's: not hidden, and its extension (from the
// last dot after the first byte) in the filter.
bool dirwalk_is_picture(const std::string& name);

// The index in a list in natural order a move from current leads to, or -1 when
// nothing is there: next and previous are current's neighbours in natural
// order, whether or not current is in the list; first and last are -1 when
// current already is that one.
int dirwalk_target(const std::vector<std::string>& list, const std::string& current, WalkMove move);

// A path cut at its last '/': the directory ("" for none, "/" for the
// root) and the name.
void dirwalk_split(const std::string& path, std::string* dir, std::string* name);

// The names of the regular files (or links to them) in dir that are
// pictures, in natural order; false when the directory cannot be read.
bool dirwalk_read(const std::string& dir, std::vector<std::string>* out);

#endif
