// pictel end to end, browsing: walking a directory, zooming and fitting,
// the wheel and dragging, judged by the pane's and the bars' pixels.
#include <sys/stat.h>

#include "pictel_run.h"

namespace {

const unsigned long kBack = 0x696969;  // the pane's DimGrey

class Browse : public Pictel {
protected:
    void solid(const char* name, uint32_t rgb) { tu::write_file(dir / name, tu::make_bmp(8, 8, 24, {}, [=](int, int) { return rgb; })); }
    long bells() { std::string e = tu::read_file(dir / "stderr"); return std::count(e.begin(), e.end(), '\a'); }
    std::vector<unsigned long> shot(const char* name) { return xenv_pixels(r.dpy, r.find(name), 0, 0, place(name)[2], place(name)[3]); }
    // A wheel or button press on the pane, a key held meanwhile.
    void wheel(int button, KeySym held = 0)
    {
        held ? r.key_down(held) : void();
        r.click(r.find("ViewWnd"), 100, 200, button);
        held ? r.key_up(held) : void();
        r.pause(100);
    }
};

}  // namespace

TEST_F(Browse, WalksTheDirectoryInNaturalOrderPastABrokenFileAndRingsAtTheEnds)
{
    solid("img1.bmp", 0x110000), solid("img2.bmp", 0x220000), solid("img10.bmp", 0x330000);
    tu::write_file(dir / "broken.gif", "not a picture");
    mkdir((dir / "dir.png").c_str(), 0700);
    start({"img1.bmp"});
    // broken.gif img1 img2 [img3, made meanwhile] img10 s...s.bmp tall.jpg
    EXPECT_EQ((key(XK_n), pane(160, 120)), 0x220000u);
    solid("img3.bmp", 0x440000);
    EXPECT_EQ((key(XK_n), pane(160, 120)), 0x440000u);
    EXPECT_EQ((key(XK_space), pane(160, 120)), 0x330000u);
    EXPECT_EQ((key(XK_Next), pane(160, 120)), code(50, 25));
    for (long rung : {0, 1})
        EXPECT_EQ((key(XK_n), std::make_pair(pane(160, 120), bells())), std::make_pair(120ul, rung));
    for (KeySym k : {XK_Home, XK_b}) {
        key(k);
        EXPECT_TRUE(r.wait_gone(key(XK_Return, "Error")));
        EXPECT_EQ(pane(160, 120), k == XK_Home ? 120u : 0x110000u);
        EXPECT_EQ((key(XK_n), pane(160, 120)), 0x110000u) << "on past the broken file";
    }
    EXPECT_EQ((key(XK_Prior), key(XK_Return, "Error"), key(XK_BackSpace), bells()), 2);
}

TEST_F(Browse, ZoomsAndFitsKeepingTheFitThroughResizes)
{
    const uint32_t red = 0xFF0000, blue = 0x0000FF, green = 0x00FF00, yellow = 0xFFFF00;
    tu::write_file(dir / "checker.bmp", tu::make_bmp(2, 2, 24, {}, [=](int x, int y) { return (x + y) % 2 ? blue : red; }));
    tu::write_file(dir / "wide.bmp", tu::make_bmp(1000, 500, 24, {}, [=](int x, int) { return x < 500 ? green : yellow; }));
    start({"checker.bmp"});
    // At 2x the 2x2 checker is a 4x4 one at 158, 118, filtered: the outer
    // corner of each quadrant is the picture's own pixel.
    auto status = (r.pause(300), shot("MenuBar"));
    key(XK_plus);
    EXPECT_NE(shot("MenuBar"), status) << "(200%)";
    EXPECT_EQ((std::vector<unsigned long>{pane(157, 118), pane(158, 118), pane(161, 118), pane(158, 121), pane(161, 121), pane(162, 121)}),
              (std::vector<unsigned long>{kBack, red, blue, blue, red, kBack}));
    EXPECT_EQ((key(XK_minus), std::vector<unsigned long>{pane(158, 119), pane(159, 119), pane(160, 119)}),
              (std::vector<unsigned long>{kBack, red, blue}));
    EXPECT_EQ(shot("MenuBar"), status) << "nothing at 100 %";
    // 1000x500 fitted into 320x240 is 320x160 at rows 40 to 199.
    key(XK_End), key(XK_z);
    EXPECT_EQ((std::vector<unsigned long>{pane(0, 39), pane(0, 40), pane(319, 199), pane(319, 200)}),
              (std::vector<unsigned long>{kBack, green, yellow, kBack}));
    XResizeWindow(r.dpy, main, 620, 460);
    r.pause(300);
    int w = place("ViewWnd")[2], h = place("ViewWnd")[3];
    EXPECT_EQ((std::vector<unsigned long>{pane(0, 0), pane(0, h / 2), pane(w - 1, h / 2)}),
              (std::vector<unsigned long>{kBack, green, yellow}));
    EXPECT_EQ((key(XK_slash), pane(0, 0)), green) << "100 % again";
}

TEST_F(Browse, WheelAndDragMoveThePaneAndTheBarsTogether)
{
    start({"tall.jpg"});
    auto top = [&] { return pane(0, 0); };  // rows tell their number
    auto vbar = shot("VScroll"), hbar = shot("HScroll");
    EXPECT_EQ((wheel(5), top()), 32u);
    auto wheeled = shot("VScroll");
    EXPECT_NE(wheeled, vbar);
    EXPECT_EQ((key(XK_k), key(XK_j), shot("VScroll")), wheeled) << "a wheel step is a key step";
    wheel(5, XK_Shift_L);
    EXPECT_EQ(top(), 32u);
    EXPECT_NE(shot("HScroll"), hbar);
    // Dragged 60 pixels up from 32: at 92, the bar at step 2 as "k" leaves it.
    Window view = r.find("ViewWnd");
    r.move(view, 100, 150), r.press(1), r.move(view, 100, 120), r.move(view, 100, 90), r.release(1), r.pause(100);
    EXPECT_EQ(top(), 92u);
    auto dragged = shot("VScroll");
    EXPECT_EQ((key(XK_k), top()), 64u);
    EXPECT_EQ(shot("VScroll"), dragged);
    // Ctrl+wheel zooms in about the pointer: row 200 + 64 stays under it.
    wheel(4, XK_Control_L);
    EXPECT_NEAR((double)pane(100, 200), 264, 1);
    // A step down at 2x: from 329 to 352, the pane moved and the strip
    // below drawn; rows 200 and 239 show 552 / 2 and 591 / 2.
    key(XK_j);
    EXPECT_NEAR((double)pane(100, 200), 276, 1);
    EXPECT_NEAR((double)pane(100, 239), 295, 1);
}
