// Layout of the message and about dialogs at their sizes of creation and
// below the width and height where their parts stop following the edges.
#include <array>

#include "testutil.h"
#include "dialogs/dialog_layout.h"

namespace {

using Box = std::array<int, 4>;

Box box(TslRect r)
{
    return {r.x, r.y, r.width, r.height};
}

}  // namespace

TEST(DialogLayout, MessageDialog)
{
    const struct {
        int width, height, style;
        Box text, ok, cancel;
        int pictureY;
    } cases[] = {
        {280, 110, 81, {10, 5, 260, 70}, {210, 80, 60, 25}, {210, 80, 60, 25}, 80},
        {280, 110, 19, {10, 5, 260, 70}, {140, 80, 60, 25}, {210, 80, 60, 25}, 80},
        {400, 200, 2, {10, 5, 380, 160}, {330, 170, 60, 25}, {330, 170, 60, 25}, 170},
        // narrow and low: fixed columns, text 240 x 35, buttons and picture at 45
        {250, 70, 19, {10, 5, 240, 35}, {120, 45, 60, 25}, {190, 45, 60, 25}, 45},
        {250, 110, 65, {10, 5, 240, 70}, {190, 80, 60, 25}, {190, 80, 60, 25}, 80},
    };
    for (const auto& c : cases) {
        MsgDlgLayout l = msgdlg_layout(c.width, c.height, c.style);
        EXPECT_EQ(box(l.text), c.text) << c.width << "x" << c.height << " style " << c.style;
        EXPECT_EQ(box(l.ok), c.ok) << c.style;
        EXPECT_EQ(box(l.cancel), c.cancel) << c.style;
        EXPECT_EQ(l.pictureX, 10);
        EXPECT_EQ(l.pictureY, c.pictureY) << c.height;
    }
    const int pictures[][2] = {{81, 14}, {65, 15}, {19, 12}, {35, 16}, {51, 13}, {3, -1}, {97, -1}, {0x151, 14}};
    for (const auto& p : pictures)
        EXPECT_EQ(msgdlg_picture(p[0]), p[1]) << p[0];
}

TEST(DialogLayout, AboutDialog)
{
    // 365 x 140 with a 32 x 32 icon: the icon at (10, (140 - 62) / 2)
    AboutDlgLayout l = aboutdlg_layout(365, 140, 1, 32, 32);
    EXPECT_EQ(box(l.text), (Box{52, 5, 303, 100}));
    EXPECT_EQ(box(l.ok), (Box{152, 110, 60, 25}));
    EXPECT_EQ(l.iconX, 10);
    EXPECT_EQ(l.iconY, 39);
    EXPECT_EQ(box(aboutdlg_layout(365, 140, 0, 32, 32).text), (Box{10, 5, 345, 100}));
    l = aboutdlg_layout(250, 70, 1, 32, 32);
    EXPECT_EQ(box(l.text), (Box{52, 5, 208, 35}));
    EXPECT_EQ(box(l.ok), (Box{100, 45, 60, 25}));
    // An icon wider than the dialog leaves no room for text rather than a wrapped width.
    EXPECT_EQ(aboutdlg_layout(365, 140, 1, 400, 32).text.width, 0);
}
