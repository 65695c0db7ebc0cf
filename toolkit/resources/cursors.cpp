// The three built-in cursor pictures.  Each is drawn once as text and turned
// into X bitmap bytes at compile time: 'o' shows white (source and mask set),
// '#' shows black (mask only), '.' is transparent.
#include "resources/cursors.h"

namespace {

constexpr int SIDE = 16;
constexpr int ROW_BYTES = (SIDE + 7) / 8;

using CursorArt = char[SIDE][SIDE + 1];

struct CursorBits {
    unsigned char source[SIDE * ROW_BYTES];
    unsigned char mask[SIDE * ROW_BYTES];
};

constexpr bool art_is_valid(const CursorArt& art)
{
    for (int y = 0; y < SIDE; y++)
        for (int x = 0; x < SIDE; x++)
            if (art[y][x] != '.' && art[y][x] != '#' && art[y][x] != 'o')
                return false;
    return true;
}

// X bitmap layout: rows padded to whole bytes, least significant bit leftmost.
constexpr CursorBits make_bits(const CursorArt& art)
{
    CursorBits bits{};
    for (int y = 0; y < SIDE; y++)
        for (int x = 0; x < SIDE; x++) {
            int at = y * ROW_BYTES + x / 8;
            unsigned char bit = (unsigned char)(1u << (x % 8));
            if (art[y][x] == 'o')
                bits.source[at] = (unsigned char)(bits.source[at] | bit);
            if (art[y][x] != '.')
                bits.mask[at] = (unsigned char)(bits.mask[at] | bit);
        }
    return bits;
}

// Index finger pointing up; the tip is the hot spot (5, 0).
constexpr CursorArt FINGER_ART = {
    "....##..........",
    "...#oo#.........",
    "...#oo#.........",
    "...#oo#.........",
    "...#oo###.......",
    "...#oo#oo###....",
    "...#oo#oo#oo##..",
    ".###oo#oo#oo#o#.",
    "#oo#oooooooooo#.",
    "#ooooooooooooo#.",
    ".#oooooooooooo#.",
    "..#ooooooooooo#.",
    "..#oooooooooo#..",
    "...#ooooooooo#..",
    "....#ooooooo#...",
    "....#########...",
};

// Hour glass with sand running down; hot spot (8, 8) in its waist.
constexpr CursorArt WAIT_ART = {
    ".##############.",
    ".#oooooooooooo#.",
    "..#oooooooooo#..",
    "..#oooooooooo#..",
    "...#oo####oo#...",
    "....#oo##oo#....",
    ".....#o##o#.....",
    "......#oo#......",
    "......#oo#......",
    ".....#oooo#.....",
    "....#oo##oo#....",
    "...#o######o#...",
    "..#o########o#..",
    "..#oooooooooo#..",
    ".#oooooooooooo#.",
    ".##############.",
};

// Two pixels wide stem with serifs; hot spot (7, 8) on the stem.
constexpr CursorArt IBEAM_ART = {
    "...oooooooooo...",
    "...o########o...",
    "...oooo##oooo...",
    "......o##o......",
    "......o##o......",
    "......o##o......",
    "......o##o......",
    "......o##o......",
    "......o##o......",
    "......o##o......",
    "......o##o......",
    "......o##o......",
    "......o##o......",
    "...oooo##oooo...",
    "...o########o...",
    "...oooooooooo...",
};

static_assert(art_is_valid(FINGER_ART) && art_is_valid(WAIT_ART) && art_is_valid(IBEAM_ART),
              "cursor art rows must be 16 characters of '.', '#' and 'o'");

constexpr CursorBits FINGER = make_bits(FINGER_ART);
constexpr CursorBits WAIT = make_bits(WAIT_ART);
constexpr CursorBits IBEAM = make_bits(IBEAM_ART);

}  // namespace

const TslCursorData res_curFinger = {SIDE, SIDE, 5, 0, FINGER.source, FINGER.mask};
const TslCursorData res_curWait = {SIDE, SIDE, 8, 8, WAIT.source, WAIT.mask};
const TslCursorData res_curIbeam = {SIDE, SIDE, 7, 8, IBEAM.source, IBEAM.mask};
