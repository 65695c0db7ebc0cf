// The list window's arithmetic: selection rules, rows under the pointer,
// indexes following insertions and deletions, and repaint widths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "controls/list_model.h"

namespace {

// Items whose flags are spelt as a string of '0' and '1'.
struct Items {
    std::vector<ListItem*> v;
    explicit Items(const std::string& flags)
    {
        for (char c : flags) {
            v.push_back(list_item_new("x", nullptr));
            v.back()->selected = c == '1';
        }
    }
    ~Items()
    {
        for (ListItem* it : v)
            free(it);
    }
    std::string flags() const
    {
        std::string s;
        for (ListItem* it : v)
            s += it->selected ? '1' : '0';
        return s;
    }
};

}  // namespace

TEST(ListModel, SelectionRules)
{
    struct Case {
        const char* before;
        int i, code, shift, ctrl, single, selCount;
        const char* after;
        int count;
    } cases[] = {
        {"0100", 2, 150, 0, 0, 0, 1, "0010", 1},
        {"0010", 2, 150, 0, 0, 0, 1, "0000", 0},  // second click on the only one clears
        {"0010", 2, 150, 0, 0, 1, 1, "0010", 1},  // not in single mode
        {"0010", 2, 160, 0, 0, 0, 1, "0010", 1},  // nor on a double click
        {"0100", 3, 150, 1, 0, 0, 1, "0111", 3},  // Shift below: down to the click
        {"00101", 0, 150, 1, 0, 0, 2, "11111", 5},  // above the first: up to the last
        {"01001", 2, 150, 1, 0, 0, 2, "01100", 2},  // from the first, the rest cleared
        {"0000", 2, 150, 1, 0, 0, 0, "0010", 1},
        {"0100", 3, 150, 1, 0, 1, 1, "0001", 1},  // single mode ignores Shift
        {"0100", 3, 150, 0, 1, 0, 1, "0101", 2},
        {"0101", 1, 150, 0, 1, 0, 2, "0001", 1},
        {"0101", 1, 160, 0, 1, 0, 2, "0101", 2},  // Ctrl double click: counted once
        {"0100", 3, 150, 0, 1, 1, 1, "0001", 1},  // single mode ignores Ctrl
    };
    for (const Case& c : cases) {
        Items items(c.before);
        int n = list_select(items.v.data(), (int)items.v.size(), c.i, c.code, c.shift, c.ctrl,
                            c.single, c.selCount);
        EXPECT_EQ(items.flags(), c.after) << c.before << " click " << c.i;
        EXPECT_EQ(n, c.count) << c.before << " click " << c.i;
    }
    struct Set {
        const char* before;
        int i, on, single;
        const char* after;
    } sets[] = {{"0100", 3, 1, 0, "0101"}, {"0101", 1, 0, 0, "0001"},
                {"0100", 3, 1, 1, "0001"}, {"0101", 3, 0, 1, "0000"}};
    for (const Set& c : sets) {
        Items items(c.before);
        list_set_select(items.v.data(), (int)items.v.size(), c.i, c.on, c.single);
        EXPECT_EQ(items.flags(), c.after) << c.before << " set " << c.i;
    }
}

TEST(ListModel, ClicksAndModifiers)
{
    int shift, ctrl;
    list_modifiers(LockMask, &shift, &ctrl);
    EXPECT_EQ(shift + ctrl, 0);  // Caps Lock is no Shift
    list_modifiers(ShiftMask | LockMask | ControlMask, &shift, &ctrl);
    EXPECT_EQ(shift + ctrl, 2);
    EXPECT_TRUE(list_is_double_click(1299, 1000, 300));
    EXPECT_FALSE(list_is_double_click(1300, 1000, 300));
    EXPECT_TRUE(list_is_double_click(5, 0xFFFFFF00UL, 300));  // the server clock wrapped: 261 ms
    EXPECT_FALSE(list_is_double_click(1000, 999, -1));
    EXPECT_TRUE(list_motion_too_soon(124, 100));
    EXPECT_FALSE(list_motion_too_soon(125, 100));
}

TEST(ListModel, RowsUnderThePointer)
{
    // 100 pixels high, 16 per row: (100 - 2) / 16 = 6 whole rows from y = 1.
    EXPECT_EQ(list_whole_rows(100, 16), 6);
    const int at[][5] = {
        // pos, y, count, item
        {10, 1, 100, 10}, {10, 0, 100, -1}, {10, 16, 100, 10}, {10, 17, 100, 11},
        {98, 50, 100, -1},  // 98 + 49 / 16 = 101
    };
    for (const auto& c : at)
        EXPECT_EQ(list_item_at(c[0], c[1], 16, c[2]), c[3]) << c[0] << "," << c[1];
    EXPECT_EQ(list_last_row(0, 3, 6), 2);
    EXPECT_EQ(list_last_row(0, 100, 6), 6);  // the partly visible row is drawn
    EXPECT_EQ(list_last_row(5, 5, 6), -1);
    EXPECT_EQ(list_last_row(-1, 5, 6), -1);
    // Wheel: the last item may rise to the bottom row (100 - 6 = 94), no further.
    const int wheel[][3] = {{0, 3, 3}, {93, 3, 94}, {95, 3, 95}, {1, -3, 0}};
    for (const auto& c : wheel)
        EXPECT_EQ(list_wheel_pos(c[0], 100, 6, c[1]), c[2]) << c[0] << " by " << c[1];
    EXPECT_EQ(list_wheel_pos(0, 3, 6, 3), 0);
}

TEST(ListModel, IndexesFollowInsertAndDelete)
{
    // The array honours an index only from two items on; others append.
    const int slots[][3] = {{1, 0, 1}, {3, 0, 0}, {3, 3, 3}, {3, -1, 3}, {3, -2, 3}};
    for (const auto& c : slots)
        EXPECT_EQ(list_insert_slot(c[0], c[1]), c[2]) << c[0] << "," << c[1];
    struct Case {
        ListIndexes before;
        int insertAt, deleteAt;  // one of the two is -1
        ListIndexes after;
    } cases[] = {
        {{2, 2, 0}, 2, -1, {3, -1, 0}},  {{2, 2, 0}, 3, -1, {2, 2, 0}},
        {{0, 0, 0}, 1, -1, {0, 0, 0}},   {{2, 3, 0}, -1, 2, {-1, -1, 0}},
        {{2, 3, 0}, -1, 1, {1, -1, 0}},  {{2, 3, 0}, -1, 4, {2, 3, 0}},
        {{-1, -1, 15}, -1, 0, {-1, -1, 14}},  // 19 left: (19 - 15) * 16 < 100
        {{-1, -1, 10}, -1, 0, {-1, -1, 10}},
    };
    for (const Case& c : cases) {
        ListIndexes ix = c.before;
        if (c.insertAt >= 0)
            list_after_insert(&ix, c.insertAt);
        else
            list_after_delete(&ix, c.deleteAt, 19, 16, 100);
        EXPECT_EQ(ix.current, c.after.current) << c.insertAt << "/" << c.deleteAt;
        EXPECT_EQ(ix.hover, c.after.hover) << c.insertAt << "/" << c.deleteAt;
        EXPECT_EQ(ix.pos, c.after.pos) << c.insertAt << "/" << c.deleteAt;
    }
}

TEST(ListModel, RepaintWidths)
{
    const ListPaintState base = {10, 9, -1, -1, -1, 80, 0, 200, 0};
    struct Case {
        int hover, drawnHover, changed, icons, painted, k, item, former, width;
    } cases[] = {
        {-1, -1, -1, 0, 0, 0, 30, 50, 50},  {-1, -1, -1, 1, 0, 0, 30, 50, 68},
        {-1, -1, -1, 0, 70, 0, 30, 50, 70},  // never narrower than the rows showed
        {-1, -1, 3, 0, 0, 0, 30, 50, 80},   {-1, -1, 3, 1, 0, 0, 30, 50, 98},
        {10, -1, -1, 0, 0, 0, 30, 50, 200},  // the row the mark comes to
        {-1, 9, -1, 0, 0, 0, 30, 50, 200},   // the row it leaves
        {10, -1, -1, 0, 0, 1, 30, 50, 200},  // the row that showed item 10
        {10, -1, -1, 0, 0, 2, 30, 50, 50},
    };
    for (const Case& c : cases) {
        ListPaintState s = base;
        s.hover = c.hover;
        s.drawnHover = c.drawnHover;
        s.changedItem = c.changed;
        s.hasIcons = c.icons;
        s.paintedWidth = c.painted;
        EXPECT_EQ(list_row_width(s, c.k, c.item, c.former), c.width) << "row " << c.k;
    }
    EXPECT_EQ(list_content_width(30, 16, 1), 48);
    EXPECT_EQ(list_content_width(0, 16, 0), 16);

    Items items("000");
    const int widths[] = {30, 50, 50};
    int maxWidth = 0, widest = 0;
    for (int i = 0; i < 3; i++) {
        items.v[i]->width = widths[i];
        list_widths_add(widths[i], &maxWidth, &widest);
    }
    EXPECT_EQ(maxWidth * 10 + widest, 502);
    list_widths_after_delete(items.v.data(), 2, 50, &maxWidth, &widest);  // one 50 left
    EXPECT_EQ(maxWidth * 10 + widest, 501);
    list_widths_after_delete(items.v.data(), 1, 50, &maxWidth, &widest);  // rescan: 30
    EXPECT_EQ(maxWidth * 10 + widest, 301);
}
