// pictel end to end: the real program on Xvfb, driven only through the
// server (XTEST keys, the window manager's close) and judged by what its
// windows show, what it prints and how it exits.
#include "pictel_run.h"

TEST_F(Pictel, OptionsThenAnEmptyWindowPlacedResizedWithDialogsAndAnXErrorLivedThrough)
{
    start({"-d", ":4999", "x.bmp"}, false);
    EXPECT_EQ(ended(), 1);
    EXPECT_TRUE(said("Error: [:4999] can't open display.\n"));
    start({"-help"}, false);
    EXPECT_EQ(ended(), 0);
    EXPECT_TRUE(said("*** Multi Media Tessel(Ver01.02) Standard command ***") && said(" Usage: pictel ImageFile\n"));
    start({"-geometry", "500x400+10+20"});
    EXPECT_EQ(place("Pictel"), (std::vector<int>{10, 20, 500, 400}));
    for (KeySym k : {XK_j, XK_l, XK_Down})
        key(k);
    // Nothing but the default background, DimGrey.
    EXPECT_EQ(xenv_pixels(r.dpy, r.find("ViewWnd"), 0, 0, 320, 240), std::vector<unsigned long>(320 * 240, 0x696969));
    // 2 pixels between the pane and each bar, the bars 2 pixels longer; in
    // a window below its minimum the pane keeps one pixel, the bars 51.
    int top = place("ViewWnd")[1], bars = top - 5;
    for (auto [w, h] : {std::pair{500, 400}, {600, 500}, {20, 20}}) {
        XResizeWindow(r.dpy, main, w, h);
        r.pause(200);
        EXPECT_EQ(place("ViewWnd"), (std::vector<int>{5, top, std::max(w - 29, 1), std::max(h - bars - 29, 1)})) << w;
        EXPECT_EQ(place("VScroll"), (std::vector<int>{w - 22, top, 17, std::max(h - bars - 27, 51)}));
        EXPECT_EQ(place("HScroll"), (std::vector<int>{5, h - 22, std::max(w - 27, 51), 17}));
    }
    for (auto [k, title] : {std::pair{XK_e, "Pictel Help"}, {XK_i, "Pictel Help"}, {XK_a, "Pictel About"}, {XK_semicolon, "Pictel About"}}) {
        Window dialog = (key(k), key(XK_Return, title));
        EXPECT_TRUE(dialog && r.wait_gone(dialog)) << title;
    }
    XDestroyWindow(r.dpy, r.find("ViewWnd"));  // so that its next move fails
    XResizeWindow(r.dpy, main, 600, 500);
    r.close(main);
    EXPECT_EQ(ended(), 0);
    EXPECT_TRUE(said(">>> Tessel Image Viewer for X <<<\n- Ver01.10 since 1999.01 -\n") && said("Error: X request 12.0 failed"));
}

TEST_F(Pictel, PicturesOpenedCentredOrScrolledAndFilesRefused)
{
    start({kSmall.c_str()});
    // Centred on DimGrey: columns 110 to 209, rows 95 to 144, once painted.
    const std::vector<unsigned long> shown{0x696969, code(0, 0), code(99, 49), 0x696969};
    auto small = [&] { return std::vector<unsigned long>{pane(109, 95), pane(110, 95), pane(209, 144), pane(210, 144)}; };
    for (int i = 0; i < 50 && small() != shown; i++)
        r.pause(20);
    tu::write_file(dir / "notes.jpg", "not a picture");
    for (const char* name : {"missing.bmp", "notes.jpg", "tall.jpg"}) {
        key(XK_o);
        r.focus(r.find(("Open Dialog - " + dir.path).c_str())), r.move(r.find("_tslPath_tslFileDlg"), 20, 10);
        r.type(name), r.key(XK_Return);
        EXPECT_TRUE(name[0] == 't' || (r.wait_gone(key(XK_Return, "Error")) && small() == shown)) << name;
    }
    // Steps of 32 while step x 32 <= 480 - 240 + 31, so 7 steps show row 224;
    // of two steps more the second is refused, and one back is at 224 again.
    for (auto keys : {std::vector<KeySym>{XK_j, XK_f, XK_Down, XK_j, XK_f, XK_Down, XK_j}, {XK_j, XK_j, XK_k}}) {
        for (KeySym k : keys)
            key(k);
        EXPECT_EQ(pane(0, 0), 224u);
    }
    key(XK_P);
    EXPECT_EQ(ended(300), -1) << "P is not p";
    key(XK_p);
    EXPECT_EQ(ended(), 0);
}
