// Pure decoding of the pictures scripts/make-test-images writes: every PNG
// colour type and depth, GIF frames, the BMP variants and the JPEG
// orientations give the pixels of their PAM twins; cut and lying files are
// refused, and the first bytes name the format the file name does.
#include <gtest/gtest.h>

#include "image/bmp_decode.h"
#include "image/gif_decode.h"
#include "image/image_load.h"
#include "image/image_orient.h"
#include "image/jpeg_decode.h"
#include "image/png_decode.h"
#include "testutil.h"

namespace {

using Bytes = std::vector<uint8_t>;
const size_t MAX_PIXELS = 1u << 22;
const std::string SAMPLES = std::string(TSL_TEST_DATA) + "/image/formats/";

Bytes bytes(const std::string& path)
{
    std::string s = tu::read_file(path);
    return Bytes(s.begin(), s.end());
}

void push(Bytes* rgba, const uint8_t* rgb, uint8_t alpha)
{
    rgba->insert(rgba->end(), {rgb[0], rgb[1], rgb[2], alpha});
}

bool decode_png(const Bytes& b, int* w, int* h, Bytes* rgba)
{
    PngStream* s = png_stream_open_memory(b.data(), b.size(), MAX_PIXELS, "t", w, h);
    if (!s)
        return false;
    rgba->resize((size_t)*w * *h * 4);
    bool ok = png_stream_set_layout(s, PNG_LAYOUT_RGBA) == 4 && png_stream_read(s, rgba->data(), *h) == *h;
    png_stream_close(s);
    return ok;
}

bool decode_gif(const Bytes& b, int* w, int* h, Bytes* rgba)
{
    GifStream* s = gif_stream_open_memory(b.data(), b.size(), MAX_PIXELS, "t", w, h);
    if (!s)
        return false;
    uint8_t pal[768];
    int n = gif_stream_palette(s, pal), t = gif_stream_transparent(s);
    Bytes index((size_t)*w * *h);
    bool ok = gif_stream_read(s, index.data(), *h) == *h;
    gif_stream_close(s);
    for (uint8_t i : index)
        push(rgba, pal + 3 * (i < n ? i : 0), i == t ? 0 : 255);
    return ok;
}

bool decode_bmp(const Bytes& b, int* w, int* h, Bytes* rgba)
{
    BmpInfo info;
    if (GetBmpHeader(b.data(), b.size(), b.size(), &info) != BMP_OK)
        return false;
    *w = info.width, *h = info.height;
    uint8_t pal[768];
    int n = bmp_palette_rgb(&info, b.data(), b.size(), pal);
    std::vector<Bytes> rows;
    auto keep = [&](const uint8_t* row) { rows.emplace_back(row, row + (size_t)*w * 3); };
    if (info.rowBytes == 0) {
        if (!bmp_rle_rows(&info, b.data() + info.dataOffset, b.size() - info.dataOffset, keep))
            return false;
    } else {
        Bytes row((size_t)*w * 3);
        for (int y = 0; y < *h; y++)
            if (bmp_row(&info, b.data(), b.size(), y, row.data()))
                keep(row.data());
    }
    if (!info.topDown)
        std::reverse(rows.begin(), rows.end());
    for (auto& row : rows)
        for (int x = 0; x < *w; x++) {
            const uint8_t rgb[3] = {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
            push(rgba, bmp_is_direct(&info) ? rgb : pal + 3 * (row[x] < n ? row[x] : 0), 255);
        }
    return (int)rows.size() == *h;
}

bool decode_jpeg(const Bytes& b, int* w, int* h, Bytes* rgba)
{
    int sw, sh;
    JpegStream* s = jpeg_stream_open_memory(b.data(), b.size(), MAX_PIXELS, "t", &sw, &sh);
    if (!s)
        return false;
    Bytes rgb((size_t)sw * sh * 3), row((size_t)std::max(sw, sh) * 3);
    bool ok = jpeg_stream_read_rgb(s, rgb.data(), sh) == sh;
    int orientation = jpeg_stream_orientation(s);
    jpeg_stream_close(s);
    orient_size(orientation, sw, sh, w, h);
    for (int y = 0; y < *h; y++) {
        orient_row(rgb.data(), sw, sh, orientation, y, row.data());
        for (int x = 0; x < *w; x++)
            push(rgba, &row[3 * x], 255);
    }
    return ok;
}

bool decode(const Bytes& b, int* w, int* h, Bytes* rgba)
{
    rgba->clear();
    switch (image_format_of_bytes(b.data(), b.size())) {
    case TSL_IMAGE_PNG:
        return decode_png(b, w, h, rgba);
    case TSL_IMAGE_GIF:
        return decode_gif(b, w, h, rgba);
    case TSL_IMAGE_JPEG:
        return decode_jpeg(b, w, h, rgba);
    default:
        return decode_bmp(b, w, h, rgba);
    }
}

std::vector<std::string> good_samples()
{
    std::vector<std::string> all;
    for (const char* ext : {".png", ".gif", ".bmp", ".jpg"})
        for (auto& path : tu::format_samples("", ext))
            if (path.find("/bad_") == std::string::npos)
                all.push_back(path);
    return all;
}

}  // namespace

TEST(Formats, EveryVariantGivesItsPixels)
{
    auto files = good_samples();
    ASSERT_GE(files.size(), 50u);
    for (auto& path : files) {
        int w = 0, h = 0, pw = 0, ph = 0;
        Bytes got, want = tu::read_pam_rgba(path.substr(0, path.rfind('.')) + ".pam", &pw, &ph);
        ASSERT_TRUE(decode(bytes(path), &w, &h, &got)) << path;
        ASSERT_EQ(w * 1000 + h, pw * 1000 + ph) << path;
        ASSERT_EQ(got.size(), want.size()) << path;
        int bad = 0;
        for (size_t i = 0; i < got.size(); i += 4)  // colours under full transparency do not matter
            bad += want[i + 3] == 0 ? got[i + 3] != 0 : memcmp(&got[i], &want[i], 4) != 0;
        EXPECT_EQ(bad, 0) << path;
    }
}

TEST(Formats, CutAndLyingFilesAreRefused)
{
    Bytes rgba;
    int w, h;
    testing::internal::CaptureStderr();
    for (auto& path : tu::format_samples("bad_", ""))
        EXPECT_FALSE(decode(bytes(path), &w, &h, &rgba)) << path;
    for (auto& path : good_samples()) {
        Bytes b = bytes(path);
        if (image_format_of_bytes(b.data(), b.size()) == TSL_IMAGE_JPEG)
            continue;  // libjpeg pads a cut file, as the loader has always shown it
        for (size_t keep : {b.size() / 3, b.size() / 2, b.size() * 3 / 4}) {
            Bytes cut(b.begin(), b.begin() + (long)keep);
            EXPECT_FALSE(decode(cut, &w, &h, &rgba)) << path << " cut to " << keep;
        }
    }
    testing::internal::GetCapturedStderr();
}

TEST(Formats, ExifWalkStaysInsideTheSegment)
{
    Bytes jpg = bytes(SAMPLES + "jpeg_orient6.jpg");  // its APP1 segment follows the SOI marker
    size_t length = (size_t)(jpg[4] << 8 | jpg[5]) - 2;
    for (size_t n = 0; n <= length; n++) {
        Bytes segment(jpg.begin() + 6, jpg.begin() + 6 + (long)n);
        int o = exif_orientation(segment.data(), n);
        EXPECT_TRUE(n < length ? o == 1 || o == 6 : o == 6) << n;
        EXPECT_TRUE(n >= 20 || o == 1) << n;
    }
}

TEST(Formats, FirstBytesAgreeWithTheName)
{
    for (auto& path : good_samples()) {
        EXPECT_NE(tslCheckImageFormat(path.c_str()), TSL_IMAGE_NONE) << path;
        EXPECT_EQ(tslSniffImageFormat(path.c_str()), tslCheckImageFormat(path.c_str())) << path;
    }
    const std::pair<const char*, int> bmp[] = {{"rle8", 3}, {"rle4", 2}, {"rgb555", 5}, {"bitfields101010", 5},
                                               {"os2_1", 1}, {"os2_24", 4}, {"topdown4", 2}};
    for (auto& c : bmp)
        EXPECT_EQ(tslCheckImageFormat((SAMPLES + "bmp_" + c.first + ".bmp").c_str()), c.second) << c.first;
    const std::pair<std::string, int> heads[] = {
        {"/* XPM */\nstatic", TSL_IMAGE_XPM}, {"GIF8", 0}, {"\x89PNG\r\n\x1A", 0}, {"\xFF\xD8", 0}, {"", 0}};
    for (auto& c : heads)
        EXPECT_EQ(image_format_of_bytes((const uint8_t*)c.first.data(), c.first.size()), c.second) << c.first;
    EXPECT_EQ(tslSniffImageFormat("/nonexistent"), TSL_IMAGE_NONE);
}
