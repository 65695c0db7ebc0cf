// The image pane: placement of small and large pictures, offsets clamped at
// the picture's far edges, and repaints only when something changed.
#include "xfixture.h"
#include "view.h"

namespace {

class View : public XDepthTest {
protected:
    TslWindow* pane = nullptr;
    std::vector<TslImage*> images;

    void SetUp() override
    {
        XDepthTest::SetUp();
        if (!d)
            return;
        // Away from the corner where other test programs on the same server draw.
        TslWindow* top = tslCreateWindow(d, nullptr, tslPos(860, 700), tslSize(400, 300), 0, "Main", nullptr);
        pane = CreateWindow_View(d, top, tslPos(5, 5), tslSize(320, 240), "ViewWnd");
        xenv_wait_mapped(d, pane->xwin);
        xenv_pump(d, 50);
        SetImage_View(pane, nullptr);
        SetHPos_View(pane, 0);
        SetVPos_View(pane, 0);
    }
    void TearDown() override
    {
        if (d) {
            SetImage_View(nullptr, nullptr);
            SetHPos_View(nullptr, 0);
            SetVPos_View(nullptr, 0);
            xenv_destroy_all(d);
            for (TslImage* img : images)
                xenv_free_image(d, img);
        }
        XDepthTest::TearDown();
    }

    // Each pixel of the picture tells its own column and row (24-bit screens only).
    static unsigned long code(int x, int y) { return (unsigned long)x | ((unsigned long)y << 12); }
    TslImage* patterned(int w, int h)
    {
        TslImage* img = solid(w, h, 0);
        XImage* xi = XGetImage(d, img->pixmap, 0, 0, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                XPutPixel(xi, x, y, code(x, y));
        XPutImage(d, img->pixmap, img->gc, xi, 0, 0, 0, 0, (unsigned)w, (unsigned)h);
        XDestroyImage(xi);
        return img;
    }
    TslImage* solid(int w, int h, unsigned long pixel)
    {
        images.push_back(xenv_solid_image(d, w, h, pixel));
        return images.back();
    }
    unsigned long buf(int x, int y) { return xenv_pixel(d, pane->redrawPixmap, x, y); }
    unsigned long screen(int x, int y)
    {
        XSync(d, False);
        return xenv_pixel(d, pane->xwin, x, y);
    }
    void mark() { xenv_fill(d, pane->redrawPixmap, g_tessel.colors[5], 0, 0, 320, 240); }
    bool marked() { return buf(0, 0) == g_tessel.colors[5] && buf(319, 239) == g_tessel.colors[5]; }
};

}  // namespace

TEST_P(View, SmallPictureIsCentredWithoutImageOnlyBackground)
{
    mark();
    EXPECT_EQ(Draw_View(d, pane), 1);
    for (unsigned long p : xenv_pixels(d, pane->redrawPixmap, 0, 0, 320, 240))
        ASSERT_EQ(p, g_tessel.backPixel);
    // The pattern where the screen holds it, else one colour.
    const bool pattern = g_tessel.depth == 24;
    auto at = [&](int x, int y) { return pattern ? code(x, y) : g_tessel.colors[4]; };
    const unsigned long back = g_tessel.backPixel;
    EXPECT_EQ(SetImage_View(pane, pattern ? patterned(100, 50) : solid(100, 50, at(0, 0))), 1);
    EXPECT_TRUE(buf(110, 95) == at(0, 0) && buf(209, 144) == at(99, 49));
    for (const auto& p : {std::make_pair(109, 95), {110, 94}, {210, 144}, {209, 145}})
        EXPECT_EQ(buf(p.first, p.second), back) << p.first << "," << p.second;
    // Offsets do not move a picture that fits; the buffer reaches the screen at once.
    SetHPos_View(pane, 30);
    SetVPos_View(pane, 30);
    EXPECT_TRUE(buf(110, 95) == at(0, 0) && screen(110, 95) == at(0, 0) && screen(109, 95) == back);
    // Exposure is answered from the buffer.
    XClearArea(d, pane->xwin, 0, 0, 0, 0, True);
    xenv_pump(d, 100);
    EXPECT_TRUE(screen(110, 95) == at(0, 0) && screen(209, 144) == at(99, 49));
    // A resized pane centres again.
    tslMoveResizeWindow(pane, tslPos(5, 5), tslSize(200, 100));
    xenv_pump(d, 100);
    EXPECT_TRUE(pane->rect.width == 200 && buf(50, 25) == at(0, 0) && buf(49, 25) == back && screen(50, 25) == at(0, 0));
}

// Offsets stop at the picture's far edges; refused and unchanged values
// send no repaint.
TEST_P(View, LargePictureScrollsAndStopsAtItsEdges)
{
    if (g_tessel.depth != 24)
        GTEST_SKIP() << "the pattern needs a 24-bit screen";
    TslImage* img = patterned(1000, 300);
    SetImage_View(pane, img);
    EXPECT_TRUE(buf(0, 0) == code(0, 0) && buf(319, 239) == code(319, 239));
    EXPECT_EQ(SetHPos_View(pane, 900), 1);
    EXPECT_EQ(GetHPos_View(), 900);
    EXPECT_TRUE(buf(0, 0) == code(680, 0) && buf(319, 0) == code(999, 0));
    EXPECT_EQ(SetVPos_View(pane, 20), 1);
    EXPECT_EQ(buf(0, 0), code(680, 20));
    SetVPos_View(pane, 5000);
    EXPECT_TRUE(buf(0, 239) == code(680, 299) && buf(0, 0) == code(680, 60) && screen(0, 0) == code(680, 60));
    SetHPos_View(pane, 40);
    SetVPos_View(pane, 10);
    EXPECT_EQ(buf(0, 0), code(40, 10));

    mark();
    EXPECT_EQ(SetVPos_View(pane, -1) + SetHPos_View(pane, -5), 0);
    EXPECT_TRUE(GetVPos_View() == 10 && GetHPos_View() == 40);
    EXPECT_EQ(SetImage_View(pane, img) + SetHPos_View(pane, 40) + SetVPos_View(pane, 10), 3);
    EXPECT_TRUE(marked());
    SetVPos_View(pane, 11);
    EXPECT_EQ(buf(0, 0), code(40, 11));
}

TEST_P(View, ReplacingAndClearingThePicture)
{
    SetImage_View(pane, solid(1000, 300, g_tessel.colors[3]));
    SetImage_View(pane, solid(10, 10, g_tessel.colors[2]));
    EXPECT_TRUE(buf(155, 115) == g_tessel.colors[2] && buf(0, 0) == g_tessel.backPixel);
    SetImage_View(pane, nullptr);
    EXPECT_TRUE(buf(155, 115) == g_tessel.backPixel && screen(155, 115) == g_tessel.backPixel);
}

INSTANTIATE_TEST_SUITE_P(Depths, View, TSL_ALL_DEPTHS);
