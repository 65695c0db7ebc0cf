// Image loading on Xvfb at depths 24, 16 and 8, read back with XGetImage:
// every picture of scripts/make-test-images against its PAM twin (blended
// over the background where partly transparent) and its mask against the
// fully transparent pixels, bitmaps against the colour rules, XPM masks,
// format choice, and every refused file with its message.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "testutil.h"
#include "xfixture.h"
#include "image/image_upload.h"

using tu::put16;
using tu::put32;
using tu::Rgb;

namespace {

const char* kXpm =
    "/* XPM */\nstatic char* t[] = {\n\"4 3 3 1\",\n\"  c None\",\n\"r c #FF0000\",\n\"b c #0000FF\",\n"
    "\"r  b\",\n\" rb \",\n\"bbbb\"};\n";

// With the colour cube table the start-up makes at depth 8.
class ImageLoad : public XDepthTest {
protected:
    tu::TempDir dir;

    void SetUp() override
    {
        XDepthTest::SetUp();
        if (d && g_tessel.depth == 8)
            g_tessel.colormapTable = tslConvertColormap(d, g_tessel.colormap);
    }
    void TearDown() override
    {
        if (d)
            free(g_tessel.colormapTable), g_tessel.colormapTable = nullptr;
        XDepthTest::TearDown();
    }
    // The pixel a direct colour must become at this depth.
    unsigned long direct(int r, int g, int b) const
    {
        if (g_tessel.depth == 8)
            return g_tessel.colormapTable[40 + (r / 51) * 36 + (g / 51) * 6 + b / 51];
        if (g_tessel.depth == 16)
            return (unsigned long)((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
        return (unsigned long)(r << 16 | g << 8 | b);
    }
    TslImage* load(const std::string& path, int format = -1)
    {
        return tslLoadImage(d, path.c_str(), g_tessel.colormap, format < 0 ? tslCheckImageFormat(path.c_str()) : format);
    }
    // Pixels that differ from want(x, y) and, with want's alpha, mask bits
    // that differ from its opaque pixels; -1 when the picture does not load.
    int mismatches(const std::string& path, int w, int h, const std::function<unsigned long(int, int, bool*)>& want)
    {
        TslImage* img = load(path);
        if (!img || img->width != w || img->height != h)
            return -1;
        auto got = xenv_pixels(d, img->pixmap, 0, 0, w, h);
        auto mask = img->mask ? xenv_pixels(d, img->mask, 0, 0, w, h) : std::vector<unsigned long>();
        int bad = 0;
        for (int i = 0; i < w * h; i++) {
            bool opaque = true;
            unsigned long pixel = want(i % w, i / w, &opaque);
            bad += (mask.empty() || mask[(size_t)i]) != opaque || (opaque && got[(size_t)i] != pixel);
        }
        tslFreeImage(d, img);
        return bad;
    }
    unsigned long palette_pixel(int r, int g, int b) const { return tslGetColor(d, g_tessel.colormap, r, g, b); }
};

}  // namespace

TEST_P(ImageLoad, SamplesAndTheirMasksReadBack)
{
    XColor back;
    back.pixel = g_tessel.backPixel;
    XQueryColor(d, g_tessel.colormap, &back);
    const int bg[3] = {back.red >> 8, back.green >> 8, back.blue >> 8};
    int count = 0;
    for (auto& path : tu::format_samples(false)) {
        int w = 0, h = 0, format = tslCheckImageFormat(path.c_str());
        auto rgba = tu::read_pam_rgba(path.substr(0, path.rfind('.')) + ".pam", &w, &h);
        bool palette = format == TSL_IMAGE_GIF || format <= TSL_IMAGE_BMP8;
        count++;
        EXPECT_EQ(mismatches(path, w, h, [&](int x, int y, bool* opaque) {
                      const uint8_t* p = &rgba[(size_t)(y * w + x) * 4];
                      int c[3];
                      for (int k = 0; k < 3; k++)
                          c[k] = (p[k] * p[3] + bg[k] * (255 - p[3]) + 127) / 255;
                      *opaque = p[3] != 0;
                      return palette ? palette_pixel(c[0], c[1], c[2]) : direct(c[0], c[1], c[2]);
                  }), 0) << path;
    }
    EXPECT_GE(count, 50);
}

// 16-bit packing and the 8-bit cube by value, a palette index beyond the
// table (entry 0), and a tall picture that crosses many bands.
TEST_P(ImageLoad, BitmapRulesPaletteAndBands)
{
    std::string rules = tu::write_file(dir / "rules.bmp", tu::make_bmp(3, 1, 24, {}, [](int x, int) {
        return std::vector<uint32_t>{0xFFFFFF, 0x080408, 0xFF0000}[x];
    }));
    TslImage* img = load(rules);
    ASSERT_NE(img, nullptr);
    auto got = xenv_pixels(d, img->pixmap, 0, 0, 3, 1);
    if (g_tessel.depth == 16)
        EXPECT_EQ(got, (std::vector<unsigned long>{0xFFFF, 0x821, 0xF800}));
    else if (g_tessel.depth == 8)
        EXPECT_EQ(got[2], g_tessel.colormapTable[220]);
    else
        EXPECT_EQ(got, (std::vector<unsigned long>{0xFFFFFF, 0x080408, 0xFF0000}));
    tslFreeImage(d, img);

    auto bmp = tu::make_bmp(3, 1, 8, {Rgb{10, 200, 30}, Rgb{250, 20, 90}}, [](int x, int) { return x == 0 ? 1u : x == 1 ? 200u : 2u; });
    EXPECT_EQ(mismatches(tu::write_file(dir / "index.bmp", bmp), 3, 1, [&](int x, int, bool*) {
                  return x ? palette_pixel(10, 200, 30) : palette_pixel(250, 20, 90);
              }), 0);
    auto value = [](int x, int y) { return (uint32_t)((y * 7) & 255) << 16 | (uint32_t)(x & 255) << 8 | (uint32_t)(y >> 5); };
    std::string tall = tu::write_file(dir / "tall.bmp", tu::make_bmp(257, 5000, 24, {}, value));
    EXPECT_EQ(mismatches(tall, 257, 5000, [&](int x, int y, bool*) {
                  return direct((int)(value(x, y) >> 16), (int)(value(x, y) >> 8) & 255, (int)value(x, y) & 255);
              }), 0);
}

TEST_P(ImageLoad, XpmTransparentColourBecomesTheMask)
{
    std::string path = tu::write_file(dir / "t.xpm", std::string(kXpm));
    EXPECT_EQ(tslCheckImageFormat(path.c_str()), TSL_IMAGE_XPM);
    TslImage* img = load(path);
    ASSERT_TRUE(img && img->mask && img->gc);
    EXPECT_TRUE(img->width == 4 && img->height == 3 && img->format == TSL_IMAGE_XPM);
    EXPECT_EQ(xenv_pixels(d, img->mask, 0, 0, 4, 3), (std::vector<unsigned long>{1, 0, 0, 1, 0, 1, 1, 0, 1, 1, 1, 1}));
    EXPECT_TRUE(g_tessel.depth == 8 || (xenv_pixel(d, img->pixmap, 0, 0) == direct(255, 0, 0) &&
                                        xenv_pixel(d, img->pixmap, 3, 0) == direct(0, 0, 255)));
    tslFreeImage(d, img);

    char line0[] = "2 1 2 1", c0[] = "a c None", c1[] = "b c #00FF00", row[] = "ab";
    char* data[] = {line0, c0, c1, row};
    img = tslLoadImageFromData(d, data);
    ASSERT_TRUE(img && img->mask);
    EXPECT_EQ(xenv_pixels(d, img->mask, 0, 0, 2, 1), (std::vector<unsigned long>{0, 1}));
    tslFreeImage(d, img);
}

// Every refused file gives one line (naming it where it can), a null picture
// and no open descriptor.
TEST_P(ImageLoad, RefusedFilesGiveOneLineAndNull)
{
    auto good = [] { return tu::make_bmp(4, 2, 8, {Rgb{1, 2, 3}, Rgb{4, 5, 6}}, [](int, int) { return 1u; }); };
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> spoil;
        std::string message;  // %s stands for the path; a trailing "*" matches any rest
        int format = TSL_IMAGE_BMP24;
    };
    const Case cases[] = {
        {"sig.bmp", [](auto& b) { b[0] = 'X'; }, "Error: This file is not Bitmap format (%s).\n"},
        {"jpegbmp.bmp", [](auto& b) { put32(b, 30, 4); }, "Error: Compression file is no support (%s).\n"},
        {"head.bmp", [](auto& b) { b.resize(40); }, "Error: Bitmap header is truncated (%s).\n"},
        {"os2.bmp", [](auto& b) { put32(b, 14, 20); }, "Error: Bitmap info header of 20 bytes is not supported (%s).\n"},
        {"topdown.bmp", [](auto& b) { put32(b, 22, (uint32_t)-40000); },
         "Error: Bitmap size 4x-40000 is not supported (%s).\n"},
        {"zero.bmp", [](auto& b) { put32(b, 18, 0); }, "Error: Bitmap size 0x2 is not supported (%s).\n"},
        {"wide.bmp", [](auto& b) { put32(b, 18, 40000); }, "Error: Bitmap size 40000x2 is not supported (%s).\n"},
        {"b12.bmp", [](auto& b) { put16(b, 28, 12); }, "Error: Can't allocate memory (rgbquad color).\n"},
        {"b2.bmp", [](auto& b) { put16(b, 28, 2); }, "Error: Bitmap bit count 2 is not supported (%s).\n"},
        {"pal.bmp", [](auto& b) { put32(b, 46, 100); }, "Error: Bitmap colour table is truncated (%s).\n"},
        {"off.bmp", [](auto& b) { put32(b, 10, 5000); },
         "Error: Bitmap pixel data offset 5000 is past the end of the file (%s).\n"},
        {"short.bmp", [](auto& b) { b.pop_back(); }, "Error: Bitmap pixel data is truncated (%s).\n"},
        {"empty.bmp", [](auto& b) { b.clear(); }, "Error: This file is not Bitmap format (%s).\n"},
        {"/nonexistent/a.bmp", nullptr, "Error: Can't open Bitmap file (%s).\n"},
        {"fake.jpg", [](auto& b) { b = {'G', 'I', 'F', '8', '9', 'a', 0, 0}; }, "Error: JPEG - Fatal (*",
         TSL_IMAGE_JPEG},
        {"fake.gif", [](auto& b) { b = {'G', 'I', 'F'}; }, "Error: This Image format is not support. sorry...\n", 0},
        {"bad.xpm", [](auto& b) { b = {'n', 'o', 'p', 'e', '\n'}; }, "Error: Can't read file (%s) [XpmFileInvalid].\n",
         TSL_IMAGE_XPM},
        {"/nonexistent/x.xpm", nullptr, "Error: Can't read file (%s) [XpmOpenFailed].\n", TSL_IMAGE_XPM},
    };
    for (const Case& c : cases) {
        std::string path = c.name;
        if (c.spoil) {
            auto b = good();
            c.spoil(b);
            path = tu::write_file(dir / c.name, b);
        }
        int fds = tu::open_fds();
        TslImage* img = (TslImage*)1;
        std::string err = tu::stderr_of([&] { img = load(path, c.format); });
        std::string want = c.message;
        bool oneLine = std::count(err.begin(), err.end(), '\n') == 1;
        if (want.find("%s") != std::string::npos)
            want.replace(want.find("%s"), 2, path);
        if (want.back() == '*')  // the rest is libjpeg's
            err = err.substr(0, want.size() - 1) + "*";
        EXPECT_TRUE(!img && oneLine && err == want && tu::open_fds() == fds) << c.name << ": " << err;
    }
    for (auto& path : tu::format_samples(true)) {
        int format = tslCheckImageFormat(path.c_str()), fds = tu::open_fds();
        TslImage* img = (TslImage*)1;
        std::string err = tu::stderr_of([&] { img = load(path, format ? format : TSL_IMAGE_BMPX); });
        EXPECT_TRUE(!img && tu::starts_with(err, "Error: ") && err.find(path) != std::string::npos &&
                    std::count(err.begin(), err.end(), '\n') == 1 && tu::open_fds() == fds) << path << ": " << err;
    }
    // A directory, and a FIFO without a writer, whose open would wait for
    // one: every reader refuses both at once (the alarm ends a wait).
    ASSERT_EQ(mkdir((dir / "dir.bmp").c_str(), 0700) | mkfifo((dir / "fifo.bmp").c_str(), 0600), 0);
    alarm(30);
    for (const std::string& path : {dir / "dir.bmp", dir / "fifo.bmp"}) {
        EXPECT_EQ(tslCheckImageFormat(path.c_str()) | tslSniffImageFormat(path.c_str()), TSL_IMAGE_NONE);
        for (int format : {TSL_IMAGE_XPM, TSL_IMAGE_JPEG, TSL_IMAGE_PNG, TSL_IMAGE_GIF, TSL_IMAGE_BMP8}) {
            TslImage* img = (TslImage*)1;
            std::string err = tu::stderr_of([&] { img = tslLoadImage(d, path.c_str(), g_tessel.colormap, format); });
            EXPECT_TRUE(!img && tu::starts_with(err, "Error") && std::count(err.begin(), err.end(), '\n') == 1)
                << path << " " << format << " " << err;
        }
    }
    alarm(0);
    char line0[] = "2 1 9 1", row[] = "ab";
    char* data[] = {line0, row};
    std::string err = tu::stderr_of([&] { EXPECT_EQ(tslLoadImageFromData(d, data), nullptr); });
    EXPECT_TRUE(tu::starts_with(err, "Error: Can't read data (2 1 9 1) [")) << err;

    ImageUpload up;
    EXPECT_EQ(tu::stderr_of([&] { EXPECT_EQ(image_upload_begin(&up, d, 0, 5), 0); }),
              "Error: Load Image - Can't create pixmap.\n");
    tslFreeImage(d, nullptr);
}

TEST_P(ImageLoad, FormatFromName)
{
    const std::pair<const char*, int> names[] = {
        {"a.jpeg", TSL_IMAGE_JPEG}, {"a.JPEG", TSL_IMAGE_JPEG}, {"a.JPG", TSL_IMAGE_JPEG}, {".jpg", TSL_IMAGE_JPEG},
        {"a.Jpg", TSL_IMAGE_XPM},   {"abc", TSL_IMAGE_XPM},     {"a.Png", TSL_IMAGE_XPM},  {"a.gIf", TSL_IMAGE_XPM},
        {"a.png", TSL_IMAGE_PNG},   {"a.PNG", TSL_IMAGE_PNG},   {"a.gif", TSL_IMAGE_GIF},  {"b.GIF", TSL_IMAGE_GIF},
        {"/nonexistent/a.bmp", TSL_IMAGE_NONE}};
    for (const auto& n : names)
        EXPECT_EQ(tslCheckImageFormat(n.first), n.second) << n.first;
    auto rle = tu::make_bmp(2, 2, 8, {Rgb{0, 0, 0}}, [](int, int) { return 0u; });
    put32(rle, 30, 5);  // PNG inside
    EXPECT_EQ(tslCheckImageFormat(tu::write_file(dir / "png.BMP", rle).c_str()), TSL_IMAGE_NONE);
    auto b12 = tu::make_bmp(2, 2, 24, {}, [](int, int) { return 0u; });
    put16(b12, 28, 12);
    EXPECT_EQ(tslCheckImageFormat(tu::write_file(dir / "b12.bmp", b12).c_str()), TSL_IMAGE_NONE);
}

INSTANTIATE_TEST_SUITE_P(Depths, ImageLoad, TSL_ALL_DEPTHS, [](const ::testing::TestParamInfo<const char*>& info) {
    return std::string(info.param ? info.param + 12 : "24");
});
