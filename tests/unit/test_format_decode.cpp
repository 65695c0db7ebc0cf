// Pure decoding of the pictures scripts/make-test-images writes (their
// pixels are checked on the server by test_image_formats): cut and lying
// files are refused, the EXIF walk stays inside its segment, and the first
// bytes name the format the file name does.
#include <gtest/gtest.h>

#include "image/bmp_decode.h"
#include "image/gif_decode.h"
#include "image/image_load.h"
#include "image/image_orient.h"
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

// Runs a file through its pure decoder to the last row; false when refused.
bool decodes(const Bytes& b)
{
    int w = 0, h = 0, n = 0;
    Bytes rows;
    switch (image_format_of_bytes(b.data(), b.size())) {
    case TSL_IMAGE_PNG: {
        PngStream* s = png_stream_open_memory(b.data(), b.size(), MAX_PIXELS, "t", &w, &h);
        rows.resize((size_t)w * h * 4);
        n = s && png_stream_set_layout(s, PNG_LAYOUT_RGBA) ? png_stream_read(s, rows.data(), h) : -1;
        png_stream_close(s);
        return n == h;
    }
    case TSL_IMAGE_GIF: {
        GifStream* s = gif_stream_open_memory(b.data(), b.size(), MAX_PIXELS, "t", &w, &h);
        rows.resize((size_t)w * h);
        n = s ? gif_stream_read(s, rows.data(), h) : -1;
        gif_stream_close(s);
        return n == h;
    }
    default: {
        BmpInfo info;
        if (GetBmpHeader(b.data(), b.size(), b.size(), &info) != BMP_OK)
            return false;
        rows.resize((size_t)info.width * 3);
        if (info.rowBytes)
            return bmp_row(&info, b.data(), b.size(), info.height - 1, rows.data()) == 1;
        return bmp_rle_rows(&info, b.data() + info.dataOffset, b.size() - info.dataOffset, [](const uint8_t*) {});
    }
    }
}

}  // namespace

TEST(Formats, CutAndLyingFilesRefusedExifWalkInsideItsSegmentFirstBytesAgreeWithTheName)
{
    testing::internal::CaptureStderr();
    for (auto& path : tu::format_samples(true))
        EXPECT_FALSE(decodes(bytes(path))) << path;
    for (auto& path : tu::format_samples(false)) {
        Bytes b = bytes(path);
        if (image_format_of_bytes(b.data(), b.size()) == TSL_IMAGE_JPEG)
            continue;  // libjpeg pads a cut file, as the loader has always shown it
        EXPECT_TRUE(decodes(b)) << path;
        for (size_t keep : {b.size() / 3, b.size() / 2, b.size() * 3 / 4})
            EXPECT_FALSE(decodes(Bytes(b.begin(), b.begin() + (long)keep))) << path << " cut to " << keep;
    }
    testing::internal::GetCapturedStderr();

    // The EXIF walk stays inside its segment however short it is cut.
    Bytes jpg = bytes(SAMPLES + "jpeg_orient6.jpg");  // its APP1 segment follows the SOI marker
    size_t length = (size_t)(jpg[4] << 8 | jpg[5]) - 2;
    for (size_t n = 0; n <= length; n++) {
        Bytes segment(jpg.begin() + 6, jpg.begin() + 6 + (long)n);
        int o = exif_orientation(segment.data(), n);
        EXPECT_TRUE(n < length ? o == 1 || o == 6 : o == 6) << n;
        EXPECT_TRUE(n >= 20 || o == 1) << n;
    }

    // The first bytes name the format the file name does.
    for (auto& path : tu::format_samples(false))
        EXPECT_TRUE(tslCheckImageFormat(path.c_str()) != TSL_IMAGE_NONE &&
                    tslSniffImageFormat(path.c_str()) == tslCheckImageFormat(path.c_str())) << path;
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
