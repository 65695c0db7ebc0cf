// A viewing session of the real pictel: fifty pictures of every kind opened
// through the file dialog and the "n" key, every other dialog opened and closed on the way,
// then quit.  What the program holds on the server may not grow between the
// tenth picture and the fiftieth; run under valgrind (PICTEL_VALGRIND names
// it, PICTEL_VALGRIND_SUPP its suppressions) it may lose no memory either.
#include "pictel_run.h"
#include "xres_counts.h"

// Bitmaps of every header and layout, GIF, PNG of every colour type, JPEG
// of every colour space and orientation, and XPM with a mask.
static const char* const kPictures[] = {
    "formats/bmp_bitfields101010.bmp", "formats/bmp_bitfields565.bmp", "formats/bmp_os2_1.bmp", "formats/bmp_os2_24.bmp",
    "formats/bmp_os2_8.bmp", "formats/bmp_rgb32.bmp", "formats/bmp_rgb555.bmp", "formats/bmp_rle4.bmp",
    "formats/bmp_rle8.bmp", "formats/bmp_topdown24.bmp", "formats/bmp_topdown4.bmp", "formats/bmp_v4_rgb24.bmp",
    "formats/bmp_v5_bitfields444.bmp", "formats/bmp_v5_rgb32.bmp", "formats/gif_frames.gif", "formats/gif_interlaced.gif",
    "formats/gif_local.gif", "formats/gif_offset_trans.gif", "formats/gif_wide_codes.gif", "formats/gray1_adam7.png",
    "formats/gray16.png", "formats/gray_trns.png", "formats/graya8.png", "formats/pal4_adam7.png", "formats/pal_trns.png",
    "formats/rgb16.png", "formats/rgb_trns.png", "formats/rgba16_adam7.png", "formats/rgba8.png", "color.jpg", "gray.jpg",
    "progressive.jpg", "cmyk.jpg", "formats/jpeg_orient6.jpg", "formats/jpeg_orient8.jpg", "a.xpm", "1.bmp", "4.bmp", "8.bmp", "24.bmp"};


// The bytes of a picture named in kPictures: a data file, an XPM with a
// transparent pixel, or a bitmap of the bit count its name starts with.
static std::string picture(const std::string& src)
{
    int bits = atoi(src.c_str());
    if (src == "a.xpm")
        return "/* XPM */\n{\"2 2 2 1\",\"  c None\",\"r c red\",\"r \",\" r\"};\n";
    if (!bits)
        return tu::read_file(TSL_TEST_DATA "/image/" + src);
    auto b = tu::make_bmp(5, 3, bits, std::vector<tu::Rgb>(bits < 24 ? 2 : 0), [](int x, int) { return x & 1u; });
    return std::string(b.begin(), b.end());
}

TEST_F(Pictel, SessionOfFiftyPicturesAndEveryDialogKeepsNothing)
{
    // p10 and p50 are the small picture whose pixels tell their place.
    const size_t kinds = sizeof kPictures / sizeof *kPictures;
    std::vector<std::string> names;
    for (size_t i = 1, next = 0; i <= 50; i++) {
        std::string src = i % 40 == 10 ? "" : kPictures[next++ % kinds];
        names.push_back((i < 10 ? "p0" : "p") + std::to_string(i) + (src.empty() ? ".bmp" : src.substr(src.rfind('.'))));
        if (src.empty())
            tu::write_file(dir / names.back(), tu::make_bmp(100, 50, 24, {}, code));
        else
            tu::write_file(dir / names.back(), picture(src));
    }
    std::vector<std::string> words;
    if (const char* valgrind = getenv("PICTEL_VALGRIND"))
        words = {valgrind, "--leak-check=full", "--errors-for-leak-kinds=definite,indirect", "--error-exitcode=99",
                 "--log-file=" + dir / "valgrind.log", std::string("--suppressions=") + getenv("PICTEL_VALGRIND_SUPP")};
    std::vector<const char*> wrapper;
    for (const std::string& w : words)
        wrapper.push_back(w.c_str());
    start({}, true, wrapper);
    auto closed = [&](KeySym k, const char* title) { return key(k), r.wait_gone(key(XK_Return, title)); };
    std::map<std::string, int> at10;
    for (size_t i = 1; i <= 50; i++) {
        if (i % 2 || i % 10 == 8)
            open_by_dialog(names[i - 1]);
        else
            key(XK_n);  // the next in the directory, in natural order
        if (i == 10 || i == 50) {
            for (int tries = 0; tries < 100 && pane(110, 95) != code(0, 0); tries++)
                r.pause(50);
            auto counts = xres_counts(r.dpy, main);
            at10 = i == 10 ? counts : at10;
            EXPECT_EQ(counts, at10) << "what pictel holds on the server, by type, at the 10th and the 50th";
        }
        EXPECT_TRUE(i % 10 != 3 || closed(XK_e, "Pictel Help"));
        EXPECT_TRUE(i % 10 != 5 || closed(XK_a, "Pictel About"));
        EXPECT_TRUE(i % 10 != 7 || (open_by_dialog("notes.txt"), r.wait_gone(key(XK_Return, "Error"))));
        if (i % 10 == 8) {
            Window dialog = (key(XK_o), r.find(("Open Dialog - " + dir.path).c_str()));
            EXPECT_TRUE(dialog && (r.close(dialog), r.wait_gone(dialog)));
        }
    }
    key(XK_q);
    EXPECT_EQ(ended(60000), 0) << tu::read_file(dir / "valgrind.log");
    EXPECT_FALSE(said("Error: X request")) << err();
}
