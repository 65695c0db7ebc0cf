// The walk's order and moves: natural order with numbers of any length,
// folded case and a total order, picture names by exact extension, and
// where each move goes from names in the list and between them.
#include <gtest/gtest.h>

#include "dirwalk.h"

TEST(DirWalk, NaturalOrderPicturesAndMoves)
{
    // '-' sorts before the digits and '_' after them; equal numbers and
    // letters in another case fall back on the bytes ('0' < '1', 'B' < 'b').
    const struct { const char *a, *b; int sign; } order[] = {
        {"img2", "img10", -1}, {"IMG2.bmp", "img10.bmp", -1}, {"a2b", "a02c", -1}, {"a01", "a1", -1},
        {"a1", "a01", 1}, {"b", "B", 1}, {"a", "a0", -1}, {"a-1", "a1", -1}, {"a_1", "a1", 1},
        {"x99999999999999999999", "x100000000000000000000", -1}, {"same", "same", 0}};
    for (const auto& o : order)
        EXPECT_EQ(dirwalk_compare(o.a, o.b), o.sign) << o.a << " " << o.b;
    for (const char* yes : {"x.bmp", "x.JPEG", "a.b.gif", "1.png"})
        EXPECT_TRUE(dirwalk_is_picture(yes)) << yes;
    for (const char* no : {"x.Jpg", ".bmp", ".hidden.png", "bmp", "x.bmp.txt", ""})
        EXPECT_FALSE(dirwalk_is_picture(no)) << no;
    // From a name in the list, and from one between (a5) or before all (a0).
    const std::vector<std::string> list = {"a1", "a2", "a10"};
    const struct { const char* from; WalkMove move; int to; } moves[] = {
        {"a2", WALK_NEXT, 2}, {"a10", WALK_NEXT, -1}, {"a1", WALK_PREVIOUS, -1}, {"a5", WALK_NEXT, 2},
        {"a5", WALK_PREVIOUS, 1}, {"a0", WALK_NEXT, 0}, {"a1", WALK_FIRST, -1}, {"a2", WALK_FIRST, 0},
        {"a10", WALK_LAST, -1}, {"a5", WALK_LAST, 2}};
    for (const auto& m : moves)
        EXPECT_EQ(dirwalk_target(list, m.from, m.move), m.to) << m.from << " " << m.move;
    EXPECT_EQ(dirwalk_target({}, "a", WALK_LAST), -1);
}
