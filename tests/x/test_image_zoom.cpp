// Scaled image drawing at every depth: the server's filter on true-colour
// screens, the client's nearest pixel on the 8-bit one, through the mask.
#include "xfixture.h"

using ImageZoom = XDepthTest;

TEST_P(ImageZoom, PartsOfAScaledPictureKeepTheirPixelsAndTheMaskItsHole)
{
    const unsigned long white = g_tessel.colors[1], red = g_tessel.colors[2], blue = g_tessel.colors[4];
    // 2x2: red on one diagonal, blue on the other; the bottom-right red is masked out.
    TslImage* img = xenv_solid_image(d, 2, 2, red);
    xenv_fill(d, img->pixmap, blue, 1, 0, 1, 1);
    xenv_fill(d, img->pixmap, blue, 0, 1, 1, 1);
    img->mask = XCreatePixmap(d, RootWindow(d, 0), 2, 2, 1);
    xenv_fill(d, img->mask, 1, 0, 0, 2, 2);
    xenv_fill(d, img->mask, 0, 1, 1, 1, 1);
    Pixmap target = XCreatePixmap(d, RootWindow(d, 0), 30, 10, (unsigned)g_tessel.depth);
    xenv_fill(d, target, white, 0, 0, 30, 10);
    // Shown 8x8: whole at 0, 0, and its right half from (20, 0), asked
    // wider and taller than there is.  Pixels near a quadrant's outer
    // corner are the picture's own whatever the filter.
    tslDrawImageScaled(d, target, 0, 0, img, 8, 8, 0, 0, 8, 8);
    tslDrawImageScaled(d, target, 20, 0, img, 8, 8, 4, 0, 20, 20);
    const std::vector<std::pair<int, int>> at = {{1, 1}, {6, 1}, {1, 6}, {6, 6}, {23, 1}, {23, 6}, {24, 1}, {1, 9}};
    const std::vector<unsigned long> want = {red, blue, blue, white, blue, white, white, white};
    for (size_t i = 0; i < at.size(); i++)
        EXPECT_EQ(xenv_pixel(d, target, at[i].first, at[i].second), want[i]) << at[i].first << "," << at[i].second;
    XFreePixmap(d, target);
    xenv_free_image(d, img);
}

INSTANTIATE_TEST_SUITE_P(Depths, ImageZoom, TSL_ALL_DEPTHS);
