// A viewing session of the real pictel: fifty pictures of every kind opened
// through the file dialog, every other dialog opened and closed on the way,
// then quit.  What the program holds on the server may not grow between the
// tenth picture and the fiftieth; run under valgrind (PICTEL_VALGRIND names
// it, PICTEL_VALGRIND_SUPP its suppressions) it may lose no memory either.
#include "pictel_run.h"
#include "xres_counts.h"

namespace {

// Every pixel tells its column and row; shown as the 10th and the 50th picture.
uint32_t code(int x, int y)
{
    return (uint32_t)(x * 2) << 16 | (uint32_t)(y * 4) << 8 | 0x80;
}

const char* kXpm = "/* XPM */\nstatic char* t[] = {\n\"4 3 3 1\",\n\"  c None\",\n\"r c #FF0000\",\n"
                   "\"b c #0000FF\",\n\"r  b\",\n\" rb \",\n\"bbbb\"};\n";

// Files of the test data to show, by kind: bitmaps of every header and
// layout, GIF, PNG of every colour type, JPEG of every colour space and
// orientation.
const char* const kData[] = {
    "formats/bmp_bitfields101010.bmp", "formats/bmp_bitfields565.bmp", "formats/bmp_os2_1.bmp",
    "formats/bmp_os2_24.bmp", "formats/bmp_os2_8.bmp", "formats/bmp_rgb32.bmp", "formats/bmp_rgb555.bmp",
    "formats/bmp_rle4.bmp", "formats/bmp_rle8.bmp", "formats/bmp_topdown24.bmp", "formats/bmp_topdown4.bmp",
    "formats/bmp_v4_rgb24.bmp", "formats/bmp_v5_bitfields444.bmp", "formats/bmp_v5_rgb32.bmp",
    "formats/gif_frames.gif", "formats/gif_interlaced.gif", "formats/gif_local.gif", "formats/gif_offset_trans.gif",
    "formats/gif_transparent.gif", "formats/gif_wide_codes.gif", "formats/gray1_adam7.png", "formats/gray16.png",
    "formats/gray2.png", "formats/gray_trns.png", "formats/graya8.png", "formats/pal1.png", "formats/pal4_adam7.png",
    "formats/pal_trns.png", "formats/rgb16.png", "formats/rgb8.png", "formats/rgb_trns.png", "formats/rgba16_adam7.png",
    "formats/rgba8.png", "color.jpg", "gray.jpg", "progressive.jpg", "cmyk.jpg", "formats/jpeg_orient3.jpg",
    "formats/jpeg_orient6.jpg", "formats/jpeg_orient8.jpg",
};

class PictelSession : public PictelRun {
protected:
    std::vector<std::string> names;  // the 50 pictures in the order shown

    // Writes the pictures as p01.xxx ... p50.xxx, and a file that is none.
    void write_pictures()
    {
        std::vector<std::string> sources;
        for (int bits : {1, 4, 8, 24}) {
            std::vector<tu::Rgb> palette;
            for (int i = 0; bits < 24 && i < (1 << bits); i++)
                palette.push_back({(uint8_t)(i * 17), (uint8_t)(255 - i), (uint8_t)(i * 5)});
            sources.push_back(tu::write_file(dir / ("src" + std::to_string(bits) + ".bmp"),
                                             tu::make_bmp(37, 23, bits, palette, [bits](int x, int y) {
                                                 return bits == 24 ? code(x, y) : (uint32_t)(x + y) % (1u << bits);
                                             })));
        }
        sources.push_back(tu::write_file(dir / "src.xpm", kXpm));
        for (const char* name : kData)
            sources.push_back(std::string(TSL_TEST_DATA) + "/image/" + name);
        std::string coded = tu::write_file(dir / "coded.bmp", tu::make_bmp(100, 50, 24, {}, code));
        for (size_t i = 1, next = 0; i <= 50; i++) {
            const std::string& src = i % 40 == 10 ? coded : sources[next++ % sources.size()];
            char name[16];
            snprintf(name, sizeof name, "p%02zu%s", i, src.substr(src.rfind('.')).c_str());
            tu::write_file(dir / name, tu::read_file(src));
            names.push_back(name);
        }
        tu::write_file(dir / "notes.txt", "no picture");
    }
    bool coded_shown() { return pane(110, 95) == code(0, 0) && pane(209, 144) == code(99, 49); }
    // The counts once they have stayed the same for a while.
    std::map<std::string, int> settled_counts()
    {
        auto counts = xres_counts(r.dpy, main);
        for (int same = 0, tries = 0; same < 3 && tries < 100; tries++) {
            r.pause(100);
            auto again = xres_counts(r.dpy, main);
            same = again == counts ? same + 1 : 0;
            counts = again;
        }
        return counts;
    }
    void close_dialog(KeySym k, const char* title)
    {
        Window dialog = (key(k), key(XK_Return, title));
        EXPECT_TRUE(dialog && r.wait_gone(dialog)) << title;
    }
    // Every dialog but the file dialog's accepting, which each picture does.
    void other_dialogs(int i)
    {
        if (i % 10 == 3)
            close_dialog(XK_e, "Pictel Help");
        if (i % 10 == 5)
            close_dialog(XK_a, "Pictel About");
        if (i % 10 == 7) {
            open_by_dialog("notes.txt");
            Window message = key(XK_Return, "Error");
            EXPECT_TRUE(message && r.wait_gone(message));
        }
        if (i % 10 == 8) {
            Window dialog = (key(XK_o), r.find(("Open Dialog - " + dir.path).c_str()));
            r.close(dialog);
            EXPECT_TRUE(dialog && r.wait_gone(dialog)) << i;
        }
    }
};

std::string text(const std::map<std::string, int>& counts)
{
    std::string out;
    for (const auto& [kind, n] : counts)
        out += kind + "=" + std::to_string(n) + " ";
    return out;
}

}  // namespace

TEST_F(PictelSession, FiftyPicturesAndEveryDialogKeepNothing)
{
    write_pictures();
    const char* valgrind = getenv("PICTEL_VALGRIND");
    std::vector<std::string> words;
    if (valgrind && *valgrind)
        words = {valgrind, "--leak-check=full", "--show-leak-kinds=definite,indirect",
                 "--errors-for-leak-kinds=definite,indirect", "--error-exitcode=99", "--num-callers=30",
                 "--log-file=" + dir / "valgrind.log"};
    if (valgrind && *valgrind && getenv("PICTEL_VALGRIND_SUPP"))
        words.push_back(std::string("--suppressions=") + getenv("PICTEL_VALGRIND_SUPP"));
    std::vector<const char*> wrapper;
    for (const std::string& w : words)
        wrapper.push_back(w.c_str());
    start({}, true, wrapper, 60000);
    std::map<std::string, int> at10;
    for (int i = 1; i <= 50; i++) {
        open_by_dialog(names[(size_t)i - 1]);
        if (i == 10 || i == 50) {
            for (int tries = 0; tries < 100 && !coded_shown(); tries++)
                r.pause(50);
            ASSERT_TRUE(coded_shown()) << i;
            auto counts = settled_counts();
            if (i == 10)
                at10 = counts;
            for (const auto& [kind, n] : counts)
                EXPECT_LE(n, at10[kind]) << kind << " at 10: " << text(at10) << "at 50: " << text(counts);
        }
        other_dialogs(i);
    }
    key(XK_q);
    EXPECT_EQ(ended(60000), 0) << tu::read_file(dir / "valgrind.log");
    EXPECT_FALSE(said("Error: X request")) << err();
}
