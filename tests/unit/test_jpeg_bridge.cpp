// JPEG bridge and streaming decoder: pixels against djpeg's output, failure
// paths (messages, no leaked descriptors) and the buffer reshaping helpers.
#include <gtest/gtest.h>

#include <cstring>

#include "image/jpeg.h"
#include "image/jpeg_decode.h"
#include "testutil.h"

namespace {

const std::string kData = TSL_TEST_DATA "/image/";

std::vector<unsigned char> bytes_of(const std::string& path)
{
    std::string s = tu::read_file(path);
    return std::vector<unsigned char>(s.begin(), s.end());
}

// Offset of the first marker FF code, 0 when absent.
size_t marker(const std::vector<unsigned char>& jpg, unsigned char code)
{
    for (size_t i = 0; i + 9 < jpg.size(); i++)
        if (jpg[i] == 0xFF && jpg[i + 1] == code)
            return i;
    return 0;
}

// A CMYK JPEG of one uniform 8x8 block, with or without the Adobe marker.
void write_cmyk(const std::string& path, const unsigned char cmyk[4], bool adobe)
{
    FILE* f = fopen(path.c_str(), "wb");
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = c.image_height = 8;
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    jpeg_set_colorspace(&c, JCS_CMYK);
    c.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_start_compress(&c, TRUE);
    unsigned char row[8 * 4];
    for (int x = 0; x < 8; x++)
        memcpy(row + x * 4, cmyk, 4);
    JSAMPROW r = row;
    for (int y = 0; y < 8; y++)
        jpeg_write_scanlines(&c, &r, 1);
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    fclose(f);
}

}  // namespace

class JpegDecode : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(JpegDecode, BridgeAndStreamMatchDjpeg)
{
    const std::string jpg = kData + GetParam().first;
    std::vector<unsigned char> want = tu::read_pnm_rgb(kData + GetParam().second);
    ASSERT_EQ(want.size(), 37u * 23u * 3u);

    unsigned short w = 1, h = 1;
    unsigned char* rgb = JpegFileToRGB(jpg.c_str(), &w, &h);
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(w * 1000 + h, 37023);
    EXPECT_EQ(0, memcmp(rgb, want.data(), want.size()));
    free(rgb);

    int sw = 0, sh = 0;
    JpegStream* s = jpeg_stream_open_file(jpg.c_str(), false, &sw, &sh);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(sw * 1000 + sh, 37023);
    std::vector<unsigned char> streamed, band(5 * 37 * 3);
    int n;
    while ((n = jpeg_stream_read_rgb(s, band.data(), 5)) > 0)
        streamed.insert(streamed.end(), band.begin(), band.begin() + n * 37 * 3);
    EXPECT_EQ(n, 0);
    jpeg_stream_close(s);
    EXPECT_EQ(streamed, want);

    // 32-bit rows for colour files; other layouts keep RGB rows.
    s = jpeg_stream_open_file(jpg.c_str(), true, &sw, &sh);
    ASSERT_NE(s, nullptr);
    std::string name = GetParam().first;
    bool colour = name == "color.jpg" || name == "progressive.jpg";
    ASSERT_EQ(jpeg_stream_is_native32(s), colour ? 1 : 0);
    std::vector<uint32_t> row(37);
    for (int y = 0; colour && y < 23; y++) {
        ASSERT_EQ(jpeg_stream_read_row32(s, row.data()), 1);
        for (int x = 0; x < 37; x++) {
            const unsigned char* p = &want[(size_t)(y * 37 + x) * 3];
            ASSERT_EQ(row[x] & 0xFFFFFF, (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2]) << x << "," << y;
        }
    }
    if (colour) {
        EXPECT_EQ(jpeg_stream_read_row32(s, row.data()), 0);
    }
    jpeg_stream_close(s);
}

INSTANTIATE_TEST_SUITE_P(Files, JpegDecode,
                         ::testing::Values(std::make_pair("color.jpg", "color.ppm"),
                                           std::make_pair("gray.jpg", "gray.pgm"),
                                           std::make_pair("progressive.jpg", "progressive.ppm"),
                                           std::make_pair("cmyk.jpg", "cmyk.ppm")));

TEST(JpegBridge, NotAJpegFailsWithFatalMessageAndClosesFile)
{
    tu::TempDir dir;
    std::string path = tu::write_file(dir / "not.jpg", std::string("hello\n"));
    int before = tu::open_fds();
    unsigned short w = 9, h = 9;
    unsigned char* rgb = nullptr;
    std::string err = tu::stderr_of([&] { rgb = JpegFileToRGB(path.c_str(), &w, &h); });
    EXPECT_EQ(rgb, nullptr);
    EXPECT_EQ(w + h, 0);
    EXPECT_TRUE(tu::starts_with(err, "Error: JPEG - Fatal (")) << err;
    EXPECT_EQ(err.substr(err.size() - 2), ")\n");
    EXPECT_EQ(tu::open_fds(), before);

    int sw, sh;
    err = tu::stderr_of([&] {
        EXPECT_EQ(GetJPGDimensions(path.c_str(), &w, &h), 0);
        EXPECT_EQ(jpeg_stream_open_file(path.c_str(), true, &sw, &sh), nullptr);
    });
    EXPECT_TRUE(tu::starts_with(err, "Error: JPEG - Fatal (")) << err;
    EXPECT_EQ(tu::open_fds(), before);
}

TEST(JpegBridge, MissingFileMessages)
{
    unsigned short w, h;
    unsigned char px[3] = {1, 2, 3};
    EXPECT_EQ(tu::stderr_of([&] { EXPECT_EQ(JpegFileToRGB("/nonexistent/a.jpg", &w, &h), nullptr); }),
              "Error : JPEG - Can't open /nonexistent/a.jpg\n");
    EXPECT_EQ(tu::stderr_of([&] { EXPECT_EQ(GetJPGDimensions("/nonexistent/a.jpg", &w, &h), 0); }),
              "Error: JPEG - Can't open /nonexistent/a.jpg\n");
    EXPECT_EQ(tu::stderr_of([&] { EXPECT_EQ(RGBToJpegFile("/nonexistent/b.jpg", px, 1, 1, 1, 90), 0); }),
              "Error: JPEG - Can't open /nonexistent/b.jpg\n");
    ASSERT_EQ(GetJPGDimensions((kData + "progressive.jpg").c_str(), &w, &h), 1);
    EXPECT_EQ(w * 1000 + h, 37023);
}

TEST(JpegBridge, EncodeColourAndGreyAndCmyk)
{
    tu::TempDir dir;
    std::string path = dir / "out.jpg";
    // Uniform 8x8 blocks survive quality 100 exactly.
    std::vector<unsigned char> rgb(16 * 8 * 3);
    for (size_t i = 0; i < rgb.size(); i++)
        rgb[i] = i % 3 == 2 ? 254 : 255;
    ASSERT_EQ(RGBToJpegFile(path.c_str(), rgb.data(), 16, 8, 0, 100), 1);
    unsigned short w, h;
    unsigned char* out = JpegFileToRGB(path.c_str(), &w, &h);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(w, 16);
    EXPECT_EQ(out[0], 254);
    EXPECT_EQ(out[1], 254);
    EXPECT_EQ(out[(16 * 8 - 1) * 3 + 2], 254);
    free(out);

    std::vector<unsigned char> src = tu::read_pnm_rgb(kData + "src.ppm");
    ASSERT_EQ(RGBToJpegFile(path.c_str(), src.data(), 37, 23, 1, 95), 1);
    out = JpegFileToRGB(path.c_str(), &w, &h);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(w * 1000 + h, 37023);
    long diff = 0;
    for (size_t i = 0; i < src.size(); i++)
        diff += abs((int)out[i] - (int)src[i]);
    EXPECT_LT(diff / (long)src.size(), 6);
    free(out);
    EXPECT_EQ(RGBToJpegFile(path.c_str(), nullptr, 4, 4, 1, 90), 0);
    EXPECT_EQ(RGBToJpegFile(path.c_str(), rgb.data(), 0, 4, 1, 90), 0);

    // CMYK is inverted only when the Adobe marker says so.
    const unsigned char cmyk[4] = {200, 100, 30, 220};
    for (bool adobe : {true, false}) {
        write_cmyk(path, cmyk, adobe);
        out = JpegFileToRGB(path.c_str(), &w, &h);
        ASSERT_NE(out, nullptr);
        for (int c = 0; c < 3; c++) {
            int want = adobe ? (cmyk[c] * cmyk[3] + 127) / 255 : ((255 - cmyk[c]) * (255 - cmyk[3]) + 127) / 255;
            EXPECT_NEAR(out[c], want, 1) << "adobe " << adobe << " channel " << c;
        }
        free(out);
    }
}

TEST(JpegStreamLimits, OversizedHeaderIsRefusedBeforeDecoding)
{
    std::vector<unsigned char> jpg = bytes_of(kData + "color.jpg");
    size_t sof = marker(jpg, 0xC0);
    ASSERT_NE(sof, 0u);
    int w, h;
    // 32767 wide is the limit; one more is refused.
    jpg[sof + 7] = 0x7F, jpg[sof + 8] = 0xFF;
    JpegStream* s = jpeg_stream_open_memory(jpg.data(), jpg.size(), 1u << 30, "mem", &w, &h);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(w, 32767);
    jpeg_stream_close(s);
    jpg[sof + 7] = 0x80, jpg[sof + 8] = 0x00;
    EXPECT_EQ(tu::stderr_of([&] {
                  EXPECT_EQ(jpeg_stream_open_memory(jpg.data(), jpg.size(), 1u << 30, "mem", &w, &h), nullptr);
              }),
              "Error: JPEG - Picture of 32768x23 pixels is not supported (mem).\n");
    tu::stderr_of([&] { EXPECT_EQ(jpeg_stream_open_memory(jpg.data(), jpg.size(), 100, "mem", &w, &h), nullptr); });
}

TEST(JpegStreamLimits, TruncatedFileStillYieldsEveryRow)
{
    std::vector<unsigned char> jpg = bytes_of(kData + "color.jpg");
    size_t sos = marker(jpg, 0xDA);
    ASSERT_NE(sos, 0u);
    jpg.resize(sos + (jpg.size() - sos) / 2);
    int w, h;
    JpegStream* s = jpeg_stream_open_memory(jpg.data(), jpg.size(), 1u << 20, "half", &w, &h);
    ASSERT_NE(s, nullptr);
    std::vector<unsigned char> band((size_t)w * 3 * h);
    tu::stderr_of([&] { EXPECT_EQ(jpeg_stream_read_rgb(s, band.data(), h), h); });
    jpeg_stream_close(s);
}

TEST(JpegBuffers, AlignFlipSwapGrey)
{
    std::vector<unsigned char> rgb(5 * 3 * 3);
    for (size_t i = 0; i < rgb.size(); i++)
        rgb[i] = (unsigned char)i;
    unsigned short rowBytes = 0;
    unsigned char* a = MakeDwordAlignedBuf(rgb.data(), 5, 3, &rowBytes);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(rowBytes, 16);
    EXPECT_EQ(a[16], 15);
    EXPECT_EQ(a[32 + 14], 44);
    unsigned char* back = RGBFromDWORDAligned(a, 5, rowBytes, 3);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(0, memcmp(back, rgb.data(), rgb.size()));
    free(back);

    ASSERT_EQ(VertFlipBuf(a, rowBytes, 3), 1);
    EXPECT_EQ(a[0], 30);
    EXPECT_EQ(a[16], 15);  // the middle row of an odd height stays
    EXPECT_EQ(a[32], 0);
    ASSERT_EQ(BGRFromRGB(a, 5, rowBytes, 3), 1);
    EXPECT_EQ(a[0], 32);
    EXPECT_EQ(a[2], 30);
    free(a);

    unsigned short rb4 = 0;
    free(MakeDwordAlignedBuf(rgb.data(), 4, 1, &rb4));
    EXPECT_EQ(rb4, 12);

    unsigned char px[6] = {255, 255, 254, 1, 1, 0};
    ASSERT_EQ(MakeGrayScale(px, 2, 1), 1);
    EXPECT_EQ(px[0], 254);
    EXPECT_EQ(px[5], 0);

    EXPECT_EQ(MakeDwordAlignedBuf(nullptr, 1, 1, &rowBytes), nullptr);
    EXPECT_EQ(VertFlipBuf(nullptr, 4, 1), 0);
    EXPECT_EQ(BGRFromRGB(nullptr, 1, 4, 1), 0);
    EXPECT_EQ(MakeGrayScale(nullptr, 1, 1), 0);
    // A row length that does not fit the 16-bit interface is refused, not wrapped.
    tu::stderr_of([&] { EXPECT_EQ(MakeDwordAlignedBuf(rgb.data(), 30000, 1, &rowBytes), nullptr); });
    EXPECT_EQ(BGRFromRGB(rgb.data(), 5, 12, 1), 0);
}
