// A display per depth with the colour cube table the start-up makes at
// depth 8, and the pixel value a direct colour must become there, for the
// image loading tests.
#ifndef TSL_TEST_IMAGE_FIXTURE_H
#define TSL_TEST_IMAGE_FIXTURE_H

#include "xfixture.h"

class ImageDepthTest : public XDepthTest {
protected:
    void SetUp() override
    {
        XDepthTest::SetUp();
        if (d && g_tessel.depth == 8)
            g_tessel.colormapTable = tslConvertColormap(d, g_tessel.colormap);
    }
    void TearDown() override
    {
        if (d) {
            free(g_tessel.colormapTable);
            g_tessel.colormapTable = nullptr;
        }
        XDepthTest::TearDown();
    }

    // The pixel a direct colour must become at this depth.
    unsigned long direct(int r, int g, int b) const
    {
        if (g_tessel.depth == 8) {
            int index = 40 + (r / 51) * 36 + (g / 51) * 6 + b / 51;
            return g_tessel.colormapTable ? g_tessel.colormapTable[index] : (unsigned long)index;
        }
        if (g_tessel.depth == 16)
            return (unsigned long)((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
        return (unsigned long)(r << 16 | g << 8 | b);
    }
};

#endif
