// Image loading on Xvfb at depths 24, 16 and 8: pixmap contents read back
// with XGetImage against the colour rules, XPM masks, format choice and
// every refused file with its message.
#include <dirent.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/image_upload.h"
#include "xenv.h"

namespace {

using Rgb = std::array<uint8_t, 3>;

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    b[at] = (uint8_t)v;
    b[at + 1] = (uint8_t)(v >> 8);
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (uint8_t)(v >> (8 * i));
}

// Bitmap bytes; value(x, y) gives a palette index or 0xRRGGBB for the
// picture's row y counted from the top.
std::vector<uint8_t> make_bmp(int w, int h, int bits, const std::vector<Rgb>& palette,
                              const std::function<uint32_t(int, int)>& value)
{
    size_t dataOff = 54 + 4 * palette.size();
    size_t rb = ((size_t)w * bits + 31) / 32 * 4;
    std::vector<uint8_t> b(dataOff + rb * h, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, (uint32_t)b.size());
    put32(b, 10, (uint32_t)dataOff);
    put32(b, 14, 40);
    put32(b, 18, (uint32_t)w);
    put32(b, 22, (uint32_t)h);
    put16(b, 26, 1);
    put16(b, 28, (uint32_t)bits);
    put32(b, 46, (uint32_t)palette.size());
    for (size_t i = 0; i < palette.size(); i++) {
        b[54 + 4 * i] = palette[i][2];
        b[54 + 4 * i + 1] = palette[i][1];
        b[54 + 4 * i + 2] = palette[i][0];
    }
    for (int y = 0; y < h; y++) {
        uint8_t* row = &b[dataOff + rb * (size_t)(h - 1 - y)];
        for (int x = 0; x < w; x++) {
            uint32_t v = value(x, y);
            if (bits == 1)
                row[x / 8] |= (uint8_t)((v & 1) << (7 - x % 8));
            else if (bits == 4)
                row[x / 2] |= (uint8_t)((v & 15) << (x % 2 ? 0 : 4));
            else if (bits == 8)
                row[x] = (uint8_t)v;
            else
                row[3 * x] = (uint8_t)v, row[3 * x + 1] = (uint8_t)(v >> 8), row[3 * x + 2] = (uint8_t)(v >> 16);
        }
    }
    return b;
}

std::string write_file(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::string path = dir + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        if (!bytes.empty())
            fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    return path;
}

std::vector<uint8_t> read_file(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    int c;
    while (f && (c = fgetc(f)) != EOF)
        bytes.push_back((uint8_t)c);
    if (f)
        fclose(f);
    return bytes;
}

int open_fds()
{
    int n = 0;
    DIR* d = opendir("/proc/self/fd");
    while (d && readdir(d))
        n++;
    if (d)
        closedir(d);
    return n;
}

const char* kXpm =
    "/* XPM */\n"
    "static char* t[] = {\n"
    "\"4 3 3 1\",\n"
    "\"  c None\",\n"
    "\"r c #FF0000\",\n"
    "\"b c #0000FF\",\n"
    "\"r  b\",\n"
    "\" rb \",\n"
    "\"bbbb\"};\n";

}  // namespace

class ImageLoad : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        display = xenv_open(GetParam());
        if (!display)
            GTEST_SKIP() << "no display for " << (GetParam() ? GetParam() : "DISPLAY");
        if (g_tessel.depth == 8)
            g_tessel.colormapTable = tslConvertColormap(display, g_tessel.colormap);
        dir = xenv_tempdir();
    }
    void TearDown() override
    {
        if (!display)
            return;
        free(g_tessel.colormapTable);
        g_tessel.colormapTable = nullptr;
        xenv_rmdir(dir);
        xenv_close();
    }

    // The pixel a direct colour must become at this depth.
    unsigned long direct(int r, int g, int b) const
    {
        switch (g_tessel.depth) {
        case 8: {
            int index = 40 + (r / 51) * 36 + (g / 51) * 6 + b / 51;
            return g_tessel.colormapTable ? g_tessel.colormapTable[index] : (unsigned long)index;
        }
        case 16:
            return (unsigned long)((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
        default:
            return (unsigned long)(r << 16 | g << 8 | b);
        }
    }

    unsigned long palette_pixel(const Rgb& c) const
    {
        return tslGetColor(display, g_tessel.colormap, c[0], c[1], c[2]);
    }

    TslImage* load(const std::string& path)
    {
        return tslLoadImage(display, path.c_str(), g_tessel.colormap, tslCheckImageFormat(path.c_str()));
    }

    void expect_refused(const std::string& name, const std::vector<uint8_t>& bytes, const std::string& message)
    {
        std::string path = write_file(dir, name, bytes);
        int fds = open_fds();
        testing::internal::CaptureStderr();
        TslImage* img = tslLoadImage(display, path.c_str(), g_tessel.colormap, TSL_IMAGE_BMP24);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(img, nullptr) << name;
        tslFreeImage(display, img);
        std::string want = message;
        size_t at = want.find("%s");
        if (at != std::string::npos)
            want.replace(at, 2, path);
        EXPECT_EQ(err, want) << name;
        EXPECT_EQ(open_fds(), fds) << name;
    }

    Display* display = nullptr;
    std::string dir;
};

TEST_P(ImageLoad, BitmapsOfEveryBitCountAndPaddingWidth)
{
    std::vector<Rgb> palette;
    for (int i = 0; i < 16; i++)
        palette.push_back({(uint8_t)(i * 17), (uint8_t)(255 - i * 13), (uint8_t)(i * 7 % 256)});
    for (int bits : {1, 4, 8, 24}) {
        std::vector<Rgb> pal(palette.begin(), palette.begin() + (bits == 1 ? 2 : bits == 24 ? 0 : 16));
        for (int w = 1; w <= 9; w++) {
            const int h = 3;
            auto value = [&](int x, int y) -> uint32_t {
                if (bits == 24)
                    return (uint32_t)((x * 29 + y * 60) & 255) << 16 | (uint32_t)(x * 13) << 8 | (uint32_t)(250 - y * 40);
                return (uint32_t)(x + 2 * y) % (uint32_t)pal.size();
            };
            std::string path = write_file(dir, "p" + std::to_string(bits) + "_" + std::to_string(w) + ".bmp",
                                          make_bmp(w, h, bits, pal, value));
            int format = tslCheckImageFormat(path.c_str());
            EXPECT_EQ(format, bits == 1 ? 1 : bits == 4 ? 2 : bits == 8 ? 3 : 4);
            TslImage* img = load(path);
            ASSERT_NE(img, nullptr) << path;
            EXPECT_EQ(img->width, w);
            EXPECT_EQ(img->height, h);
            EXPECT_EQ(img->format, format);
            EXPECT_EQ(img->mask, 0u);
            auto got = xenv_pixels(display, img->pixmap, 0, 0, w, h);
            ASSERT_EQ(got.size(), (size_t)w * h);
            for (int y = 0; y < h; y++)
                for (int x = 0; x < w; x++) {
                    uint32_t v = value(x, y);
                    unsigned long want = bits == 24 ? direct((int)(v >> 16), (int)(v >> 8) & 255, (int)v & 255)
                                                    : palette_pixel(pal[v]);
                    EXPECT_EQ(got[(size_t)y * w + x], want) << bits << " bits, w " << w << " at " << x << "," << y;
                }
            tslFreeImage(display, img);
        }
    }
}

TEST_P(ImageLoad, DirectColoursFollowTheDepthRules)
{
    auto bmp = make_bmp(3, 1, 24, {}, [](int x, int) {
        const uint32_t c[3] = {0xFFFFFF, 0x080408, 0xFF0000};
        return c[x];
    });
    TslImage* img = load(write_file(dir, "rules.bmp", bmp));
    ASSERT_NE(img, nullptr);
    auto got = xenv_pixels(display, img->pixmap, 0, 0, 3, 1);
    if (g_tessel.depth == 16) {
        EXPECT_EQ(got[0], 0xFFFFu);
        EXPECT_EQ(got[1], 0x821u);
    } else if (g_tessel.depth == 8) {
        ASSERT_NE(g_tessel.colormapTable, nullptr);
        EXPECT_EQ(got[2], g_tessel.colormapTable[220]);
    } else {
        EXPECT_EQ(got[0], 0xFFFFFFu);
        EXPECT_EQ(got[1], 0x080408u);
    }
    tslFreeImage(display, img);
}

TEST_P(ImageLoad, PaletteIndexBeyondTheTableTakesEntryZero)
{
    std::vector<Rgb> pal = {Rgb{10, 200, 30}, Rgb{250, 20, 90}};
    auto bmp = make_bmp(3, 1, 8, pal, [](int x, int) { return x == 0 ? 1u : x == 1 ? 200u : 2u; });
    TslImage* img = load(write_file(dir, "index.bmp", bmp));
    ASSERT_NE(img, nullptr);
    auto got = xenv_pixels(display, img->pixmap, 0, 0, 3, 1);
    EXPECT_EQ(got[0], palette_pixel(pal[1]));
    EXPECT_EQ(got[1], palette_pixel(pal[0]));
    EXPECT_EQ(got[2], palette_pixel(pal[0]));
    tslFreeImage(display, img);
}

TEST_P(ImageLoad, TallPictureCrossesBandsIntact)
{
    const int w = 257, h = 5000;
    auto value = [](int x, int y) { return (uint32_t)((y * 7) & 255) << 16 | (uint32_t)(x & 255) << 8 | (uint32_t)(y >> 5); };
    TslImage* img = load(write_file(dir, "tall.bmp", make_bmp(w, h, 24, {}, value)));
    ASSERT_NE(img, nullptr);
    auto got = xenv_pixels(display, img->pixmap, 0, 0, w, h);
    ASSERT_EQ(got.size(), (size_t)w * h);
    int bad = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            uint32_t v = value(x, y);
            bad += got[(size_t)y * w + x] != direct((int)(v >> 16), (int)(v >> 8) & 255, (int)v & 255);
        }
    EXPECT_EQ(bad, 0);
    tslFreeImage(display, img);
}

TEST_P(ImageLoad, JpegFilesMatchDjpeg)
{
    for (const char* name : {"color", "gray", "progressive", "cmyk"}) {
        std::string jpg = std::string(TSL_TEST_DATA) + "/image/" + name + ".jpg";
        std::string ref = std::string(TSL_TEST_DATA) + "/image/" + name + (strcmp(name, "gray") ? ".ppm" : ".pgm");
        std::vector<uint8_t> pnm = read_file(ref);
        int channels = strcmp(name, "gray") ? 3 : 1;
        ASSERT_GE(pnm.size(), 37u * 23u * channels);
        const uint8_t* px = pnm.data() + pnm.size() - 37 * 23 * channels;
        ASSERT_EQ(tslCheckImageFormat(jpg.c_str()), TSL_IMAGE_JPEG);
        TslImage* img = load(jpg);
        ASSERT_NE(img, nullptr) << name;
        EXPECT_EQ(img->width, 37);
        EXPECT_EQ(img->height, 23);
        EXPECT_EQ(img->format, TSL_IMAGE_JPEG);
        auto got = xenv_pixels(display, img->pixmap, 0, 0, 37, 23);
        int bad = 0;
        for (int i = 0; i < 37 * 23; i++) {
            const uint8_t* p = px + i * channels;
            unsigned long want = channels == 3 ? direct(p[0], p[1], p[2]) : direct(p[0], p[0], p[0]);
            bad += got[(size_t)i] != want;
        }
        EXPECT_EQ(bad, 0) << name;
        tslFreeImage(display, img);
    }
}

TEST_P(ImageLoad, XpmTransparentColourBecomesTheMask)
{
    std::string path = write_file(dir, "t.xpm", std::vector<uint8_t>(kXpm, kXpm + strlen(kXpm)));
    EXPECT_EQ(tslCheckImageFormat(path.c_str()), TSL_IMAGE_XPM);
    TslImage* img = load(path);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->width, 4);
    EXPECT_EQ(img->height, 3);
    EXPECT_EQ(img->format, TSL_IMAGE_XPM);
    ASSERT_NE(img->mask, 0u);
    ASSERT_NE(img->gc, nullptr);
    auto mask = xenv_pixels(display, img->mask, 0, 0, 4, 3);
    const unsigned long want[12] = {1, 0, 0, 1, 0, 1, 1, 0, 1, 1, 1, 1};
    for (int i = 0; i < 12; i++)
        EXPECT_EQ(mask[i], want[i]) << i;
    if (g_tessel.depth > 8) {
        EXPECT_EQ(xenv_pixel(display, img->pixmap, 0, 0), direct(255, 0, 0));
        EXPECT_EQ(xenv_pixel(display, img->pixmap, 3, 0), direct(0, 0, 255));
    }
    tslFreeImage(display, img);

    char line0[] = "2 1 2 1", c0[] = "a c None", c1[] = "b c #00FF00", row[] = "ab";
    char* data[] = {line0, c0, c1, row};
    img = tslLoadImageFromData(display, data);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->width, 2);
    ASSERT_NE(img->mask, 0u);
    EXPECT_EQ(xenv_pixel(display, img->mask, 0, 0), 0u);
    EXPECT_EQ(xenv_pixel(display, img->mask, 1, 0), 1u);
    tslFreeImage(display, img);
}

TEST_P(ImageLoad, XpmFailuresNameTheStatus)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(tslLoadImage(display, "/nonexistent/x.xpm", g_tessel.colormap, TSL_IMAGE_XPM), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Can't read file (/nonexistent/x.xpm) [XpmOpenFailed].\n");
    std::string bad = write_file(dir, "bad.xpm", {'n', 'o', 'p', 'e', '\n'});
    testing::internal::CaptureStderr();
    EXPECT_EQ(load(bad), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Can't read file (" + bad + ") [XpmFileInvalid].\n");
    char line0[] = "2 1 9 1", row[] = "ab";
    char* data[] = {line0, row};
    testing::internal::CaptureStderr();
    EXPECT_EQ(tslLoadImageFromData(display, data), nullptr);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("Error: Can't read data (2 1 9 1) [", 0), 0u) << err;
}

TEST_P(ImageLoad, MalformedBitmapsAreRefusedWithOneLine)
{
    auto good = [] { return make_bmp(4, 2, 8, {Rgb{1, 2, 3}, Rgb{4, 5, 6}}, [](int, int) { return 1u; }); };
    auto b = good();
    b[0] = 'X';
    expect_refused("sig.bmp", b, "Error: This file is not Bitmap format (%s).\n");
    b = good();
    put32(b, 30, 1);
    expect_refused("rle.bmp", b, "Error: Compression file is no support (%s).\n");
    b = good();
    b.resize(40);
    expect_refused("head.bmp", b, "Error: Bitmap header is truncated (%s).\n");
    b = good();
    put32(b, 14, 12);
    expect_refused("os2.bmp", b, "Error: Bitmap info header of 12 bytes is not supported (%s).\n");
    b = good();
    put32(b, 22, (uint32_t)-2);
    expect_refused("topdown.bmp", b, "Error: Bitmap size 4x-2 is not supported (%s).\n");
    b = good();
    put32(b, 18, 0);
    expect_refused("zero.bmp", b, "Error: Bitmap size 0x2 is not supported (%s).\n");
    b = good();
    put32(b, 18, 40000);
    expect_refused("wide.bmp", b, "Error: Bitmap size 40000x2 is not supported (%s).\n");
    b = good();
    put16(b, 28, 16);
    expect_refused("b16.bmp", b, "Error: Can't allocate memory (rgbquad color).\n");
    b = good();
    put16(b, 28, 32);
    expect_refused("b32.bmp", b, "Error: Bitmap bit count 32 is not supported (%s).\n");
    b = good();
    put32(b, 46, 100);
    expect_refused("pal.bmp", b, "Error: Bitmap colour table is truncated (%s).\n");
    b = good();
    put32(b, 10, 5000);
    expect_refused("off.bmp", b, "Error: Bitmap pixel data offset 5000 is past the end of the file (%s).\n");
    b = good();
    b.pop_back();
    expect_refused("short.bmp", b, "Error: Bitmap pixel data is truncated (%s).\n");
    expect_refused("empty.bmp", {}, "Error: This file is not Bitmap format (%s).\n");

    testing::internal::CaptureStderr();
    EXPECT_EQ(tslLoadImage(display, "/nonexistent/a.bmp", g_tessel.colormap, TSL_IMAGE_BMP8), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Can't open Bitmap file (/nonexistent/a.bmp).\n");
}

TEST_P(ImageLoad, BadJpegAndUnknownFormat)
{
    std::string path = write_file(dir, "fake.jpg", {'G', 'I', 'F', '8', '9', 'a', 0, 0});
    int fds = open_fds();
    testing::internal::CaptureStderr();
    EXPECT_EQ(load(path), nullptr);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("Error: JPEG - Fatal (", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(open_fds(), fds);

    testing::internal::CaptureStderr();
    EXPECT_EQ(tslLoadImage(display, path.c_str(), g_tessel.colormap, 0), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: This Image format is not support. sorry...\n");

    ImageUpload up;
    testing::internal::CaptureStderr();
    EXPECT_EQ(image_upload_begin(&up, display, 0, 5), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Load Image - Can't create pixmap.\n");
    tslFreeImage(display, nullptr);
}

TEST_P(ImageLoad, FormatFromName)
{
    EXPECT_EQ(tslCheckImageFormat("a.jpeg"), TSL_IMAGE_JPEG);
    EXPECT_EQ(tslCheckImageFormat("a.JPEG"), TSL_IMAGE_JPEG);
    EXPECT_EQ(tslCheckImageFormat("a.JPG"), TSL_IMAGE_JPEG);
    EXPECT_EQ(tslCheckImageFormat(".jpg"), TSL_IMAGE_JPEG);
    EXPECT_EQ(tslCheckImageFormat("a.Jpg"), TSL_IMAGE_XPM);
    EXPECT_EQ(tslCheckImageFormat("abc"), TSL_IMAGE_XPM);
    EXPECT_EQ(tslCheckImageFormat("a.png"), TSL_IMAGE_XPM);
    EXPECT_EQ(tslCheckImageFormat("/nonexistent/a.bmp"), TSL_IMAGE_NONE);
    auto rle = make_bmp(2, 2, 8, {Rgb{0, 0, 0}}, [](int, int) { return 0u; });
    put32(rle, 30, 1);
    EXPECT_EQ(tslCheckImageFormat(write_file(dir, "rle.BMP", rle).c_str()), TSL_IMAGE_NONE);
    auto b16 = make_bmp(2, 2, 24, {}, [](int, int) { return 0u; });
    put16(b16, 28, 16);
    EXPECT_EQ(tslCheckImageFormat(write_file(dir, "b16.bmp", b16).c_str()), TSL_IMAGE_NONE);
}

INSTANTIATE_TEST_SUITE_P(Depths, ImageLoad, ::testing::Values(nullptr, "TSL_DISPLAY_16", "TSL_DISPLAY_8"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param ? info.param + 12 : "24");
                         });
