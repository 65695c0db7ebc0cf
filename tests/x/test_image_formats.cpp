// Every picture of scripts/make-test-images loaded on Xvfb at depths 24, 16
// and 8: the pixmap read back against its PAM twin (blended over the
// background where partly transparent), the mask against its fully
// transparent pixels; every lying file refused with one line naming it.
#include <cstring>

#include "testutil.h"
#include "image_fixture.h"

namespace {

class Formats : public ImageDepthTest {
protected:
    // Mismatched pixels and mask bits of one picture.
    int mismatches(const std::string& path)
    {
        int format = tslCheckImageFormat(path.c_str()), w = 0, h = 0;
        auto want = tu::read_pam_rgba(path.substr(0, path.rfind('.')) + ".pam", &w, &h);
        TslImage* img = tslLoadImage(d, path.c_str(), g_tessel.colormap, format);
        if (!img || img->format != format || img->width != w || img->height != h)
            return -1;
        XColor back;
        back.pixel = g_tessel.backPixel;
        XQueryColor(d, g_tessel.colormap, &back);
        const int bg[3] = {back.red >> 8, back.green >> 8, back.blue >> 8};
        bool palette = format == TSL_IMAGE_GIF || format <= TSL_IMAGE_BMP8;
        auto pixels = xenv_pixels(d, img->pixmap, 0, 0, w, h);
        auto mask = img->mask ? xenv_pixels(d, img->mask, 0, 0, w, h) : std::vector<unsigned long>();
        int bad = 0;
        for (size_t i = 0; i < pixels.size(); i++) {
            const uint8_t* p = &want[i * 4];
            int c[3];
            for (int k = 0; k < 3; k++)
                c[k] = (p[k] * p[3] + bg[k] * (255 - p[3]) + 127) / 255;
            unsigned long pixel = palette ? tslGetColor(d, g_tessel.colormap, c[0], c[1], c[2]) : direct(c[0], c[1], c[2]);
            bad += (mask.empty() ? 1ul : mask[i]) != (p[3] != 0);
            bad += p[3] != 0 && pixels[i] != pixel;
        }
        tslFreeImage(d, img);
        return bad;
    }
};

}  // namespace

TEST_P(Formats, PixelsAndMasksReadBack)
{
    int count = 0;
    for (const char* ext : {".png", ".gif", ".bmp", ".jpg"})
        for (auto& path : tu::format_samples("", ext)) {
            if (path.find("/bad_") != std::string::npos)
                continue;
            count++;
            EXPECT_EQ(mismatches(path), 0) << path;
        }
    EXPECT_GE(count, 50);
}

TEST_P(Formats, LyingFilesGiveOneLineNamingThem)
{
    for (auto& path : tu::format_samples("bad_", "")) {
        int format = tslCheckImageFormat(path.c_str());
        int fds = tu::open_fds();
        TslImage* img = (TslImage*)1;
        std::string err = tu::stderr_of([&] {
            img = tslLoadImage(d, path.c_str(), g_tessel.colormap, format ? format : TSL_IMAGE_BMPX);
        });
        EXPECT_EQ(img, nullptr) << path;
        EXPECT_TRUE(tu::starts_with(err, "Error: ") && err.find(path) != std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(tu::open_fds(), fds) << path;
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, Formats, TSL_ALL_DEPTHS, [](const ::testing::TestParamInfo<const char*>& info) {
    return std::string(info.param ? info.param + 12 : "24");
});
