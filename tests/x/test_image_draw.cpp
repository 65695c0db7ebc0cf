// Drawing images through their masks and clips, and flattening masked images.
#include "xfixture.h"

namespace {

unsigned long red() { return g_tessel.colors[2]; }
unsigned long blue() { return g_tessel.colors[4]; }
unsigned long white() { return g_tessel.colors[1]; }

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
        fill(target, white(), 0, 0, 80, 60);
        // 20x10: left half red, right half blue; mask hides columns 5..14.
        img = xenv_solid_image(d, 20, 10, red());
        fill(img->pixmap, blue(), 10, 0, 10, 10);
    }
    void TearDown() override
    {
        if (d) {
            xenv_free_image(d, img);
            XFreePixmap(d, target);
        }
        XDepthTest::TearDown();
    }
    void fill(Drawable dr, unsigned long pixel, int x, int y, int w, int h) { xenv_fill(d, dr, pixel, x, y, w, h); }
    void add_mask()
    {
        img->mask = XCreatePixmap(d, RootWindow(d, 0), 20, 10, 1);
        xenv_fill(d, img->mask, 1, 0, 0, 20, 10);
        xenv_fill(d, img->mask, 0, 5, 0, 10, 10);
    }
    unsigned long at(int x, int y) { return xenv_pixel(d, target, x, y); }
};

TEST_P(ImageDrawTest, PlainImageCopiesItsPart)
{
    tslDrawImage(d, target, 30, 20, img, 8, 0, 6, 5);
    EXPECT_EQ(at(30, 20), red());
    EXPECT_EQ(at(31, 24), red());
    EXPECT_EQ(at(32, 20), blue());
    EXPECT_EQ(at(35, 24), blue());
    EXPECT_EQ(at(36, 20), white());
    EXPECT_EQ(at(30, 25), white());
    EXPECT_EQ(at(29, 20), white());
}

TEST_P(ImageDrawTest, MaskLeavesDestinationUnderTransparentPixels)
{
    add_mask();
    tslDrawIcon(d, target, 10, 10, img);
    EXPECT_EQ(at(10, 10), red());
    EXPECT_EQ(at(14, 19), red());
    EXPECT_EQ(at(15, 10), white());
    EXPECT_EQ(at(24, 15), white());
    EXPECT_EQ(at(25, 10), blue());
    EXPECT_EQ(at(29, 19), blue());

    // A part of the image keeps the mask aligned with the source.
    fill(target, white(), 0, 0, 80, 60);
    tslDrawImage(d, target, 40, 40, img, 4, 0, 12, 10);
    EXPECT_EQ(at(40, 40), red());
    EXPECT_EQ(at(41, 40), white());
    EXPECT_EQ(at(50, 40), white());
    EXPECT_EQ(at(51, 40), blue());
}

TEST_P(ImageDrawTest, ClipRectangleLimitsDrawing)
{
    add_mask();
    // Misses the destination entirely.
    tslDrawImageRRg(d, target, tslSetRect(60, 0, 10, 10), 10, 30, img, 0, 0, 20, 10);
    for (unsigned long p : xenv_pixels(d, target, 0, 0, 80, 60))
        ASSERT_EQ(p, white());

    // Overlaps the right part: source moves with the destination.
    tslDrawImageRRg(d, target, tslSetRect(22, 0, 40, 60), 10, 30, img, 0, 0, 20, 10);
    EXPECT_EQ(at(21, 30), white());
    EXPECT_EQ(at(22, 30), white());  // masked column 12
    EXPECT_EQ(at(25, 35), blue());
    EXPECT_EQ(at(29, 39), blue());
    EXPECT_EQ(at(30, 30), white());
}

TEST_P(ImageDrawTest, RegionReplacesMask)
{
    add_mask();
    Region rg = XCreateRegion();
    XRectangle r{12, 0, 4, 60};
    XUnionRectWithRegion(&r, rg, rg);
    tslDrawImageRg(d, target, rg, 10, 10, img, 0, 0, 20, 10);
    XDestroyRegion(rg);
    EXPECT_EQ(at(11, 12), white());
    EXPECT_EQ(at(12, 12), red());  // under the mask's hole, but the region rules
    EXPECT_EQ(at(15, 12), red());
    EXPECT_EQ(at(16, 12), white());
}

TEST_P(ImageDrawTest, ExplicitGCIgnoresMask)
{
    add_mask();
    GC gc = XCreateGC(d, target, 0, nullptr);
    tslDrawImageEx(d, target, gc, 0, 0, img, 0, 0, 20, 10);
    XFreeGC(d, gc);
    EXPECT_EQ(at(7, 5), red());
    tslDrawImageEx(d, target, nullptr, 0, 20, img, 0, 0, 20, 10);
    EXPECT_EQ(at(7, 25), white());
}

TEST_P(ImageDrawTest, MaskImageFlattensOverBackground)
{
    EXPECT_EQ(tslCreateMaskImage(d, img), 0u);
    EXPECT_EQ(tslCreateMaskImage(d, nullptr), 0u);
    add_mask();
    Pixmap flat = tslCreateMaskImage(d, img);
    ASSERT_NE(flat, 0u);
    EXPECT_EQ(xenv_pixel(d, flat, 0, 0), red());
    EXPECT_EQ(xenv_pixel(d, flat, 7, 9), g_tessel.backPixel);
    EXPECT_EQ(xenv_pixel(d, flat, 19, 9), blue());
    XFreePixmap(d, flat);
}

TEST_P(ImageDrawTest, NullImageOrEmptyPartDrawsNothing)
{
    tslDrawImage(d, target, 0, 0, nullptr, 0, 0, 10, 10);
    tslDrawIcon(d, target, 0, 0, nullptr);
    tslDrawImageRg(d, target, nullptr, 0, 0, nullptr, 0, 0, 10, 10);
    tslDrawImageRRg(d, target, tslSetRect(0, 0, 80, 60), 0, 0, nullptr, 0, 0, 10, 10);
    tslDrawImageEx(d, target, nullptr, 0, 0, nullptr, 0, 0, 10, 10);
    tslDrawImage(d, target, 0, 0, img, 0, 0, -5, 10);
    tslDrawImage(d, target, 0, 0, img, 0, 0, 10, 0);
    for (unsigned long p : xenv_pixels(d, target, 0, 0, 80, 60))
        ASSERT_EQ(p, white());
}

INSTANTIATE_TEST_SUITE_P(Depths, ImageDrawTest, TSL_ALL_DEPTHS);

}  // namespace
