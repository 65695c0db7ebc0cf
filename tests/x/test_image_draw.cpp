// Drawing images through their masks and clips, and flattening masked images.
#include "xfixture.h"

namespace {

unsigned long red() { return g_tessel.colors[2]; }
unsigned long blue() { return g_tessel.colors[4]; }
unsigned long white() { return g_tessel.colors[1]; }

// A 20 x 10 image: left half red, right half blue; its mask, when it has
// one, hides columns 5..14.  Drawn on a white 80 x 60 pixmap.
class ImageDrawTest : public XDepthTest {
protected:
    Pixmap target = 0;
    TslImage* img = nullptr;

    void SetUp() override
    {
        XDepthTest::SetUp();
        if (!d)
            return;
        target = XCreatePixmap(d, RootWindow(d, 0), 80, 60, (unsigned)g_tessel.depth);
        img = xenv_solid_image(d, 20, 10, red());
        xenv_fill(d, img->pixmap, blue(), 10, 0, 10, 10);
    }
    void TearDown() override
    {
        if (d) {
            xenv_free_image(d, img);
            XFreePixmap(d, target);
        }
        XDepthTest::TearDown();
    }
    void add_mask()
    {
        img->mask = XCreatePixmap(d, RootWindow(d, 0), 20, 10, 1);
        xenv_fill(d, img->mask, 1, 0, 0, 20, 10);
        xenv_fill(d, img->mask, 0, 5, 0, 10, 10);
    }
};

}  // namespace

TEST_P(ImageDrawTest, PartsMasksClipsAndRegions)
{
    Region band = XCreateRegion();
    XRectangle r{12, 0, 4, 60};
    XUnionRectWithRegion(&r, band, band);
    GC own = XCreateGC(d, target, 0, nullptr);
    const struct {
        bool masked;
        std::function<void()> draw;
        std::vector<std::tuple<int, int, unsigned long>> probes;
    } cases[] = {
        // a part of a plain image: columns 8..13
        {false, [&] { tslDrawImage(d, target, 30, 20, img, 8, 0, 6, 5); },
         {{30, 20, red()}, {31, 24, red()}, {32, 20, blue()}, {35, 24, blue()}, {36, 20, white()}, {30, 25, white()}, {29, 20, white()}}},
        {true, [&] { tslDrawIcon(d, target, 10, 10, img); },
         {{10, 10, red()}, {14, 19, red()}, {15, 10, white()}, {24, 15, white()}, {25, 10, blue()}, {29, 19, blue()}}},
        // a part keeps the mask aligned with the source
        {true, [&] { tslDrawImage(d, target, 40, 40, img, 4, 0, 12, 10); },
         {{40, 40, red()}, {41, 40, white()}, {50, 40, white()}, {51, 40, blue()}}},
        // a clip that misses, and one over the right part: the source moves with it
        {true, [&] { tslDrawImageRRg(d, target, tslSetRect(60, 0, 10, 10), 10, 30, img, 0, 0, 20, 10); }, {{10, 30, white()}, {29, 39, white()}}},
        {true, [&] { tslDrawImageRRg(d, target, tslSetRect(22, 0, 40, 60), 10, 30, img, 0, 0, 20, 10); },
         {{21, 30, white()}, {22, 30, white()}, {25, 35, blue()}, {29, 39, blue()}, {30, 30, white()}}},
        // a region replaces the mask
        {true, [&] { tslDrawImageRg(d, target, band, 10, 10, img, 0, 0, 20, 10); },
         {{11, 12, white()}, {12, 12, red()}, {15, 12, red()}, {16, 12, white()}}},
        // a GC of the caller's ignores the mask, none uses it
        {true, [&] { tslDrawImageEx(d, target, own, 0, 0, img, 0, 0, 20, 10); }, {{7, 5, red()}}},
        {true, [&] { tslDrawImageEx(d, target, nullptr, 0, 20, img, 0, 0, 20, 10); }, {{7, 25, white()}}},
        // no image, or an empty part: nothing
        {false, [&] {
             tslDrawImage(d, target, 0, 0, nullptr, 0, 0, 10, 10);
             tslDrawIcon(d, target, 0, 0, nullptr);
             tslDrawImageRg(d, target, nullptr, 0, 0, nullptr, 0, 0, 10, 10);
             tslDrawImageRRg(d, target, tslSetRect(0, 0, 80, 60), 0, 0, nullptr, 0, 0, 10, 10);
             tslDrawImageEx(d, target, nullptr, 0, 0, nullptr, 0, 0, 10, 10);
             tslDrawImage(d, target, 0, 0, img, 0, 0, -5, 10);
             tslDrawImage(d, target, 0, 0, img, 0, 0, 10, 0);
         }, {{0, 0, white()}, {9, 9, white()}}},
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        xenv_fill(d, target, white(), 0, 0, 80, 60);
        if (cases[i].masked && !img->mask)
            add_mask();
        if (!cases[i].masked && img->mask)
            XFreePixmap(d, img->mask), img->mask = 0;
        cases[i].draw();
        for (auto& p : cases[i].probes)
            EXPECT_EQ(xenv_pixel(d, target, std::get<0>(p), std::get<1>(p)), std::get<2>(p))
                << "case " << i << " at " << std::get<0>(p) << "," << std::get<1>(p);
    }
    XFreeGC(d, own);
    XDestroyRegion(band);
}

TEST_P(ImageDrawTest, MaskImageFlattensOverBackground)
{
    EXPECT_EQ(tslCreateMaskImage(d, img) + tslCreateMaskImage(d, nullptr), 0u);
    add_mask();
    Pixmap flat = tslCreateMaskImage(d, img);
    ASSERT_NE(flat, 0u);
    std::vector<unsigned long> row(9, g_tessel.backPixel);  // columns 6..14 masked, then blue
    row.resize(14, blue());
    EXPECT_EQ(xenv_pixels(d, flat, 6, 9, 14, 1), row);
    EXPECT_EQ(xenv_pixel(d, flat, 0, 0), red());
    XFreePixmap(d, flat);
}

INSTANTIATE_TEST_SUITE_P(Depths, ImageDrawTest, TSL_ALL_DEPTHS);
