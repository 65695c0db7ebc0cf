// The list window's arithmetic: selection rules, rows under the pointer,
// indexes following insertions and deletions, and repaint widths.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/list_model.h"

// Runs f on items whose selection flags are spelt '0' and '1'; returns the flags after it.
static std::string on_items(const std::string& flags, const std::function<void(ListItem**, int)>& f)
{
    std::vector<ListItem> store(flags.size());
    std::vector<ListItem*> items;
    for (ListItem& it : store) {
        it.selected = flags[items.size()] == '1';
        items.push_back(&it);
    }
    f(items.data(), (int)items.size());
    std::string after;
    for (const ListItem& it : store)
        after += it.selected ? '1' : '0';
    return after;
}

TEST(ListModel, SelectionClicksRowsWheelIndexesAndRepaintWidths)
{
    // before, item, code, shift, ctrl, single, count kept so far, after
    const struct { const char* before; int i, code, shift, ctrl, single, selCount; const char* after; } cases[] = {
        {"0010", 2, 160, 0, 0, 0, 1, "0010"}, {"0010", 2, 150, 0, 0, 1, 1, "0010"}, {"0000", 2, 150, 1, 0, 0, 0, "0010"},
        {"00101", 0, 150, 1, 0, 0, 2, "11111"}, {"01001", 2, 150, 1, 0, 0, 2, "01100"},
        {"0100", 3, 150, 1, 0, 1, 1, "0001"}, {"0100", 3, 150, 0, 1, 1, 1, "0001"},  // single mode: no modifiers
        {"0101", 1, 160, 0, 1, 0, 2, "0101"},  // a Ctrl double click counts the item once
    };
    for (const auto& c : cases) {
        std::string after = on_items(c.before, [&](ListItem** items, int n) {
            int kept = list_select(items, n, c.i, c.code, c.shift, c.ctrl, c.single, c.selCount);
            EXPECT_EQ(kept, list_count_selected(items, n)) << c.before << " click " << c.i;
        });
        EXPECT_EQ(after, c.after) << c.before << " click " << c.i;
    }
    // Set in multiple mode: only that item changes; in single mode no other stays.
    EXPECT_EQ(on_items("0101", [](ListItem** it, int n) { list_set_select(it, n, 1, 0, 0); }), "0001");
    EXPECT_EQ(on_items("0101", [](ListItem** it, int n) { list_set_select(it, n, 2, 1, 1); }), "0010");
    int shift, ctrl;
    list_modifiers(LockMask | ControlMask, &shift, &ctrl);
    EXPECT_EQ(shift * 10 + ctrl, 1);  // Caps Lock is no Shift
    // now, last, setting, double: 299 ms is, 300 is not; 261 ms across the clock's wrap.
    const unsigned long clicks[][4] = {{1299, 1000, 300, 1}, {1300, 1000, 300, 0}, {5, 0xFFFFFF00UL, 300, 1}, {1000, 999, ~0UL, 0}};
    for (const auto& c : clicks)
        EXPECT_EQ(list_is_double_click(c[0], c[1], (int)c[2]), (int)c[3]) << c[0] << "-" << c[1];
    EXPECT_TRUE(list_motion_too_soon(124, 100) && !list_motion_too_soon(125, 100));  // 25 ms apart
    // 16-pixel rows from y = 1 in a window 100 high: (100 - 2) / 16 = 6 whole rows.
    const int at[][3] = {{10, 0, -1}, {10, 16, 10}, {10, 17, 11}, {98, 50, -1}};  // pos, y, item
    for (const auto& c : at)
        EXPECT_EQ(list_item_at(c[0], c[1], 16, 100), c[2]) << c[0] << "," << c[1];
    EXPECT_EQ(list_last_row(0, 3, 6) * 10 + list_last_row(0, 100, 6), 26);  // partial row drawn
    // The wheel lets the last item rise to the bottom row (100 - 6 = 94), no further.
    const int wheel[][3] = {{0, 3, 3}, {93, 3, 94}, {95, 3, 95}, {1, -3, 0}};
    for (const auto& c : wheel)
        EXPECT_EQ(list_wheel_pos(c[0], 100, 6, c[1]), c[2]) << c[0] << " by " << c[1];

    // The array honours an index only from two items on; others append.
    const int slots[][3] = {{1, 0, 1}, {3, 0, 0}, {3, 3, 3}, {3, -2, 3}};
    for (const auto& c : slots)
        EXPECT_EQ(list_insert_slot(c[0], c[1]), c[2]) << c[0] << "," << c[1];
    // current, hover, pos; then insert (>= 0) or delete (< 0: ~index); then the result.
    // 19 items are left after a delete: (19 - 15) * 16 < 100 pulls pos 15 down.
    const int moves[][7] = {{2, 2, 0, 2, 3, -1, 0}, {2, 2, 0, 3, 2, 2, 0}, {0, 0, 0, 1, 0, 0, 0}, {2, 2, 0, ~2, -1, -1, 0},
                            {2, 3, 0, ~1, 1, -1, 0}, {2, 3, 0, ~4, 2, 3, 0}, {-1, -1, 15, ~0, -1, -1, 14}, {-1, -1, 10, ~0, -1, -1, 10}};
    for (const auto& c : moves) {
        ListIndexes ix = {c[0], c[1], c[2]};
        c[3] >= 0 ? list_after_insert(&ix, c[3]) : list_after_delete(&ix, ~c[3], 19, 16, 100);
        EXPECT_EQ(std::vector<int>({ix.current, ix.hover, ix.pos}), std::vector<int>({c[4], c[5], c[6]})) << c[3];
    }
    // Rows show items 10.. now and 9.. before; widest text 80; window 200.
    // hover, drawnHover, changed, icons, painted, row, item width, former width, result
    const int widths[][9] = {
        {-1, -1, -1, 0, 0, 0, 30, 50, 50}, {-1, -1, 3, 1, 0, 0, 30, 50, 98}, {-1, -1, -1, 1, 70, 0, 30, 50, 70},
        {10, -1, -1, 0, 0, 1, 30, 50, 200}, {-1, 9, -1, 0, 0, 0, 30, 50, 200}, {10, -1, -1, 0, 0, 2, 30, 50, 50},
    };
    for (const auto& c : widths) {
        ListPaintState s = {10, 9, c[0], c[1], c[2], 80, c[3], 200, c[4]};
        EXPECT_EQ(list_row_width(s, c[5], c[6], c[7]), c[8]) << c[0] << c[1] << c[2] << c[3] << c[4] << c[5];
    }
}
