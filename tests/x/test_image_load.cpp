// Image loading on Xvfb at depths 24, 16 and 8: pixmap contents read back
// with XGetImage against the colour rules, XPM masks, format choice and
// every refused file with its message.
#include <algorithm>
#include <cstring>

#include "testutil.h"
#include "image_fixture.h"
#include "image/image_upload.h"

using tu::put16;
using tu::put32;
using tu::Rgb;

namespace {

const char* kXpm =
    "/* XPM */\nstatic char* t[] = {\n\"4 3 3 1\",\n\"  c None\",\n\"r c #FF0000\",\n\"b c #0000FF\",\n"
    "\"r  b\",\n\" rb \",\n\"bbbb\"};\n";

class ImageLoad : public ImageDepthTest {
protected:
    using ImageDepthTest::direct;
    unsigned long direct(uint32_t v) const { return direct((int)(v >> 16), (int)(v >> 8) & 255, (int)v & 255); }
    unsigned long palette_pixel(const Rgb& c) const { return tslGetColor(d, g_tessel.colormap, c.r, c.g, c.b); }

    TslImage* load(const std::string& path)
    {
        return tslLoadImage(d, path.c_str(), g_tessel.colormap, tslCheckImageFormat(path.c_str()));
    }
    // Loads and counts pixels that differ from want(x, y).
    int mismatches(const std::string& path, int w, int h, const std::function<unsigned long(int, int)>& want)
    {
        TslImage* img = load(path);
        EXPECT_NE(img, nullptr) << path;
        if (!img)
            return -1;
        EXPECT_EQ(img->width * 100000 + img->height, w * 100000 + h) << path;
        auto got = xenv_pixels(d, img->pixmap, 0, 0, w, h);
        int bad = 0;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                bad += got[(size_t)y * w + x] != want(x, y);
        tslFreeImage(d, img);
        return bad;
    }

    tu::TempDir dir;
};

}  // namespace

TEST_P(ImageLoad, BitmapsOfEveryBitCountAndPaddingWidth)
{
    std::vector<Rgb> palette;
    for (int i = 0; i < 16; i++)
        palette.push_back({(uint8_t)(i * 17), (uint8_t)(255 - i * 13), (uint8_t)(i * 7 % 256)});
    for (int bits : {1, 4, 8, 24})
        for (int w = 1; w <= 9; w++) {
            std::vector<Rgb> pal(palette.begin(), palette.begin() + (bits == 1 ? 2 : bits == 24 ? 0 : 16));
            auto value = [&](int x, int y) -> uint32_t {
                if (bits == 24)
                    return (uint32_t)((x * 29 + y * 60) & 255) << 16 | (uint32_t)(x * 13) << 8 | (uint32_t)(250 - y * 40);
                return (uint32_t)(x + 2 * y) % (uint32_t)pal.size();
            };
            std::string path = tu::write_file(dir / ("p" + std::to_string(bits) + "_" + std::to_string(w) + ".bmp"),
                                              tu::make_bmp(w, 3, bits, pal, value));
            EXPECT_EQ(tslCheckImageFormat(path.c_str()), bits == 1 ? 1 : bits == 4 ? 2 : bits == 8 ? 3 : 4);
            EXPECT_EQ(mismatches(path, w, 3, [&](int x, int y) {
                          return bits == 24 ? direct(value(x, y)) : palette_pixel(pal[value(x, y)]);
                      }), 0) << bits << " bits, width " << w;
        }
    // 16-bit packing and the 8-bit cube, by value.
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
    // A palette index beyond the table takes entry 0.
    std::vector<Rgb> pal = {Rgb{10, 200, 30}, Rgb{250, 20, 90}};
    auto bmp = tu::make_bmp(3, 1, 8, pal, [](int x, int) { return x == 0 ? 1u : x == 1 ? 200u : 2u; });
    EXPECT_EQ(mismatches(tu::write_file(dir / "index.bmp", bmp), 3, 1,
                         [&](int x, int) { return palette_pixel(pal[x == 0]); }), 0);
}

TEST_P(ImageLoad, TallPictureCrossesBandsIntact)
{
    auto value = [](int x, int y) { return (uint32_t)((y * 7) & 255) << 16 | (uint32_t)(x & 255) << 8 | (uint32_t)(y >> 5); };
    std::string path = tu::write_file(dir / "tall.bmp", tu::make_bmp(257, 5000, 24, {}, value));
    EXPECT_EQ(mismatches(path, 257, 5000, [&](int x, int y) { return direct(value(x, y)); }), 0);
}

TEST_P(ImageLoad, JpegFilesMatchDjpeg)
{
    for (std::string name : {"color", "gray", "progressive", "cmyk"}) {
        std::string jpg = std::string(TSL_TEST_DATA) + "/image/" + name + ".jpg";
        auto rgb = tu::read_pnm_rgb(std::string(TSL_TEST_DATA) + "/image/" + name + (name == "gray" ? ".pgm" : ".ppm"));
        ASSERT_EQ(rgb.size(), 37u * 23u * 3);
        ASSERT_EQ(tslCheckImageFormat(jpg.c_str()), TSL_IMAGE_JPEG);
        EXPECT_EQ(mismatches(jpg, 37, 23, [&](int x, int y) {
                      const uint8_t* p = &rgb[(size_t)(y * 37 + x) * 3];
                      return direct(p[0], p[1], p[2]);
                  }), 0) << name;
    }
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

// Every refused file gives one line, a null picture and no open descriptor.
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
        std::string err = tu::stderr_of([&] { img = tslLoadImage(d, path.c_str(), g_tessel.colormap, c.format); });
        std::string want = c.message;
        bool oneLine = std::count(err.begin(), err.end(), '\n') == 1;
        if (want.find("%s") != std::string::npos)
            want.replace(want.find("%s"), 2, path);
        if (want.back() == '*')  // the rest is libjpeg's
            err = err.substr(0, want.size() - 1) + "*";
        EXPECT_TRUE(!img && oneLine && err == want && tu::open_fds() == fds) << c.name << ": " << err;
    }
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
