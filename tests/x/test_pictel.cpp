// pictel end to end: the real program on Xvfb, driven only through the
// server (XTEST keys, the window manager's close) and judged by what its
// windows show, what it prints and how it exits.
#include <sys/stat.h>

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
        open_by_dialog(name);
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

TEST_F(Pictel, HostileFilesRefusedAtOnceKeepingThePictureAndTheMemory)
{
    // A sparse gigabyte whose header claims 30000 x 30000 pixels of 8 bits:
    // the 900 MB of rows it promises are all there.
    auto big = tu::make_bmp(1, 1, 8, {{0, 0, 0}, {255, 255, 255}}, [](int, int) { return 1u; });
    tu::put32(big, 18, 30000), tu::put32(big, 22, 30000);
    ASSERT_EQ(truncate(tu::write_file(dir / "big.bmp", big).c_str(), 1 << 30), 0);
    tu::write_file(dir / "empty.jpg", "");
    std::string noise(4096, ' ');
    for (size_t i = 0; i < noise.size(); i++)
        noise[i] = (char)(i * i * 2654435761u >> 13);
    tu::write_file(dir / "noise.xpm", noise);
    ASSERT_EQ(mkdir((dir / "x.bmp").c_str(), 0700) | mkfifo((dir / "y.jpg").c_str(), 0600), 0);
    chmod(tu::write_file(dir / "locked.png", tu::read_file(TSL_TEST_DATA "/image/formats/rgb8.png")).c_str(), 0);
    start({kSmall.c_str()});
    auto shown = [&] { return pane(110, 95) == code(0, 0) && pane(209, 144) == code(99, 49); };
    for (int i = 0; i < 50 && !shown(); i++)
        r.pause(20);
    [[maybe_unused]] long rss = rss_kb();
    // All but the locked file reach a reader, which says why it refused.
    for (auto [name, lines] : {std::pair{"big.bmp", 1}, {"empty.jpg", 1}, {"noise.xpm", 1}, {"x.bmp", 1}, {"y.jpg", 1},
                               {"locked.png", 0}}) {
        size_t said = err().size();
        open_by_dialog(name);
        Window message = r.find("Error", 1000);
        std::string told = "\n" + err().substr(said);
        int errors = 0;
        for (size_t at = 0; (at = told.find("\nError", at)) != std::string::npos; at++)
            errors++;
        EXPECT_TRUE(message && errors == lines) << name << ": " << told;
        EXPECT_TRUE(r.wait_gone(key(XK_Return, "Error")) && shown()) << name;
#ifndef __SANITIZE_ADDRESS__  // ASan keeps what is freed resident for a while
        EXPECT_LT(rss_kb(), rss + 2048) << name;
#endif
    }
}
