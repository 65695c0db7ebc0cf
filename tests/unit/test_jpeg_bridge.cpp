// JPEG bridge and streaming decoder: pixels against djpeg's output, failure
// paths (messages, no leaked descriptors) and the buffer reshaping helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "image/jpeg.h"
#include "image/jpeg_decode.h"
#include "testutil.h"

namespace {

const std::string kData = TSL_TEST_DATA "/image/";

// Offset of the first marker FF code, 0 when absent.
size_t marker(const std::vector<unsigned char>& jpg, unsigned char code)
{
    for (size_t i = 0; i + 9 < jpg.size(); i++)
        if (jpg[i] == 0xFF && jpg[i + 1] == code)
            return i;
    return 0;
}

}  // namespace

// Each file of 37 x 23 pixels through the bridge, the stream in bands of
// five rows, and the stream's 32-bit rows where it gives them (colour files).
TEST(JpegDecode, BridgeAndStreamMatchDjpeg)
{
    const struct {
        const char *jpg, *pnm;
        bool colour;
    } files[] = {{"color.jpg", "color.ppm", true}, {"gray.jpg", "gray.pgm", false},
                 {"progressive.jpg", "progressive.ppm", true}, {"cmyk.jpg", "cmyk.ppm", false}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.jpg);
        const std::string jpg = kData + f.jpg;
        std::vector<unsigned char> want = tu::read_pnm_rgb(kData + f.pnm);
        ASSERT_EQ(want.size(), 37u * 23u * 3u);
        unsigned short w = 1, h = 1;
        unsigned char* rgb = JpegFileToRGB(jpg.c_str(), &w, &h);
        ASSERT_TRUE(rgb && w * 1000 + h == 37023);
        EXPECT_EQ(std::vector<unsigned char>(rgb, rgb + want.size()), want);
        free(rgb);

        int sw = 0, sh = 0, n;
        JpegStream* s = jpeg_stream_open_file(jpg.c_str(), false, &sw, &sh);
        ASSERT_TRUE(s && sw * 1000 + sh == 37023);
        std::vector<unsigned char> streamed, band(5 * 37 * 3);
        while ((n = jpeg_stream_read_rgb(s, band.data(), 5)) > 0)
            streamed.insert(streamed.end(), band.begin(), band.begin() + n * 37 * 3);
        EXPECT_EQ(n, 0);
        jpeg_stream_close(s);
        EXPECT_EQ(streamed, want);

        s = jpeg_stream_open_file(jpg.c_str(), true, &sw, &sh);
        ASSERT_TRUE(s && jpeg_stream_is_native32(s) == f.colour);
        std::vector<uint32_t> row(37);
        for (int y = 0; f.colour && y <= 23; y++) {
            ASSERT_EQ(jpeg_stream_read_row32(s, row.data()), y < 23 ? 1 : 0);
            for (int x = 0; y < 23 && x < 37; x++) {
                const unsigned char* p = &want[(size_t)(y * 37 + x) * 3];
                ASSERT_EQ(row[x] & 0xFFFFFF, (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2]) << x << "," << y;
            }
        }
        jpeg_stream_close(s);
    }
    // Adobe files store CMYK inverted (the one above does); others do not:
    // 200 x 220 / 255 = 172.5 and (255 - 200) x (255 - 220) / 255 = 7.5, rounded.
    const unsigned char cmyk[4] = {200, 100, 30, 220};
    unsigned char rgb[6];
    jpeg_bridge_cmyk_to_rgb(cmyk, 1, 1, rgb);
    jpeg_bridge_cmyk_to_rgb(cmyk, 1, 0, rgb + 3);
    EXPECT_EQ(std::vector<int>(rgb, rgb + 6), (std::vector<int>{173, 86, 26, 8, 21, 31}));
}

TEST(JpegBridge, FailuresReportAndCloseTheirFiles)
{
    tu::TempDir dir;
    std::string path = tu::write_file(dir / "not.jpg", std::string("hello\n"));
    int before = tu::open_fds();
    unsigned short w = 9, h = 9;
    int sw, sh;
    std::string err = tu::stderr_of([&] {
        EXPECT_EQ(JpegFileToRGB(path.c_str(), &w, &h), nullptr);
        EXPECT_EQ(w + h, 0);
        EXPECT_EQ(GetJPGDimensions(path.c_str(), &w, &h), 0);
        EXPECT_EQ(jpeg_stream_open_file(path.c_str(), true, &sw, &sh), nullptr);
    });
    EXPECT_TRUE(std::count(err.begin(), err.end(), '\n') == 3 && err.substr(err.size() - 2) == ")\n") << err;
    for (size_t at = 0; at < err.size(); at = err.find('\n', at) + 1)
        EXPECT_EQ(err.compare(at, 21, "Error: JPEG - Fatal ("), 0) << err.substr(at);
    EXPECT_EQ(tu::open_fds(), before);

    unsigned char px[3] = {1, 2, 3};
    EXPECT_EQ(tu::stderr_of([&] {
                  EXPECT_EQ(JpegFileToRGB("/nonexistent/a.jpg", &w, &h), nullptr);
                  EXPECT_EQ(GetJPGDimensions("/nonexistent/a.jpg", &w, &h), 0);
                  EXPECT_EQ(RGBToJpegFile("/nonexistent/b.jpg", px, 1, 1, 1, 90), 0);
              }),
              "Error : JPEG - Can't open /nonexistent/a.jpg\n"
              "Error: JPEG - Can't open /nonexistent/a.jpg\n"
              "Error: JPEG - Can't open /nonexistent/b.jpg\n");
    EXPECT_TRUE(GetJPGDimensions((kData + "progressive.jpg").c_str(), &w, &h) && w * 1000 + h == 37023);
}

TEST(JpegBridge, EncodeColourAndGreyThenAlignFlipSwapGrey)
{
    tu::TempDir dir;
    std::string path = dir / "out.jpg";
    // Uniform 8x8 blocks survive quality 100 exactly; grey is the mean.
    std::vector<unsigned char> rgb(16 * 8 * 3);
    for (size_t i = 0; i < rgb.size(); i++)
        rgb[i] = i % 3 == 2 ? 254 : 255;
    ASSERT_EQ(RGBToJpegFile(path.c_str(), rgb.data(), 16, 8, 0, 100), 1);
    unsigned short w, h;
    unsigned char* out = JpegFileToRGB(path.c_str(), &w, &h);
    EXPECT_TRUE(out && w == 16 && out[0] == 254 && out[1] == 254 && out[(16 * 8 - 1) * 3 + 2] == 254);
    free(out);
    std::vector<unsigned char> src = tu::read_pnm_rgb(kData + "src.ppm");
    ASSERT_EQ(RGBToJpegFile(path.c_str(), src.data(), 37, 23, 1, 95), 1);
    out = JpegFileToRGB(path.c_str(), &w, &h);
    ASSERT_TRUE(out && w * 1000 + h == 37023);
    long diff = 0;
    for (size_t i = 0; i < src.size(); i++)
        diff += abs((int)out[i] - (int)src[i]);
    EXPECT_LT(diff / (long)src.size(), 6);
    free(out);
    EXPECT_EQ(RGBToJpegFile(path.c_str(), nullptr, 4, 4, 1, 90) + RGBToJpegFile(path.c_str(), rgb.data(), 0, 4, 1, 90), 0);

    // Five pixels a row are 15 bytes, padded to 16; the middle row of an odd
    // height stays in place when flipped.
    rgb.assign(5 * 3 * 3, 0);
    for (size_t i = 0; i < rgb.size(); i++)
        rgb[i] = (unsigned char)i;
    unsigned short rowBytes = 0, rb4 = 0;
    unsigned char* a = MakeDwordAlignedBuf(rgb.data(), 5, 3, &rowBytes);
    unsigned char* back = RGBFromDWORDAligned(a, 5, rowBytes, 3);
    ASSERT_TRUE(a && back);
    EXPECT_TRUE(rowBytes == 16 && a[16] == 15 && a[32 + 14] == 44 && std::equal(rgb.begin(), rgb.end(), back));
    free(back);
    EXPECT_TRUE(VertFlipBuf(a, rowBytes, 3) && a[0] == 30 && a[16] == 15 && a[32] == 0);
    EXPECT_TRUE(BGRFromRGB(a, 5, rowBytes, 3) && a[0] == 32 && a[2] == 30);
    free(a);
    free(MakeDwordAlignedBuf(rgb.data(), 4, 1, &rb4));
    unsigned char px[6] = {255, 255, 254, 1, 1, 0};
    EXPECT_TRUE(rb4 == 12 && MakeGrayScale(px, 2, 1) && px[0] == 254 && px[5] == 0);
    EXPECT_EQ(MakeDwordAlignedBuf(nullptr, 1, 1, &rowBytes), nullptr);
    EXPECT_EQ(VertFlipBuf(nullptr, 4, 1) + BGRFromRGB(nullptr, 1, 4, 1) + MakeGrayScale(nullptr, 1, 1), 0);
    // A row length that does not fit the 16-bit interface is refused, not wrapped.
    tu::stderr_of([&] { EXPECT_EQ(MakeDwordAlignedBuf(rgb.data(), 30000, 1, &rowBytes), nullptr); });
    EXPECT_EQ(BGRFromRGB(rgb.data(), 5, 12, 1), 0);
}

TEST(JpegStreamLimits, OversizedHeaderRefusedAndTruncatedFileYieldsEveryRow)
{
    const std::string file = tu::read_file(kData + "color.jpg");
    std::vector<unsigned char> jpg(file.begin(), file.end());
    size_t sof = marker(jpg, 0xC0), sos = marker(jpg, 0xDA);
    ASSERT_TRUE(sof && sos);
    int w, h;
    // 32767 wide is the limit; one more is refused.
    jpg[sof + 7] = 0x7F, jpg[sof + 8] = 0xFF;
    JpegStream* s = jpeg_stream_open_memory(jpg.data(), jpg.size(), 1u << 30, "mem", &w, &h);
    EXPECT_TRUE(s && w == 32767);
    jpeg_stream_close(s);
    jpg[sof + 7] = 0x80, jpg[sof + 8] = 0x00;
    std::string err = tu::stderr_of([&] {
        EXPECT_EQ(jpeg_stream_open_memory(jpg.data(), jpg.size(), 1u << 30, "mem", &w, &h), nullptr);
        jpg[sof + 7] = 0, jpg[sof + 8] = 37;  // 851 pixels, more than 100
        EXPECT_EQ(jpeg_stream_open_memory(jpg.data(), jpg.size(), 100, "mem", &w, &h), nullptr);
    });
    EXPECT_TRUE(tu::starts_with(err, "Error: JPEG - Picture of 32768x23 pixels is not supported (mem).\nError: ")) << err;

    jpg.resize(sos + (jpg.size() - sos) / 2);
    s = jpeg_stream_open_memory(jpg.data(), jpg.size(), 1u << 20, "half", &w, &h);
    ASSERT_TRUE(s);
    std::vector<unsigned char> band((size_t)w * 3 * h);
    tu::stderr_of([&] { EXPECT_EQ(jpeg_stream_read_rgb(s, band.data(), h), h); });
    jpeg_stream_close(s);
}
