// Band upload at depths 24, 16 and 8: the shared-memory path and the socket
// path leave the same pixels, across several bands in both fill orders, and
// leave no segment and no completion notice behind.
#include "xfixture.h"
#include "image/image_upload.h"

namespace {

// Segments this process created that still exist.
int live_segments()
{
    FILE* f = fopen("/proc/sysvipc/shm", "r");
    if (!f)
        return 0;
    char line[512];
    int count = 0;
    long key, id, perms, size, cpid;
    while (fgets(line, sizeof line, f))
        if (sscanf(line, "%ld %ld %lo %ld %ld", &key, &id, &perms, &size, &cpid) == 5 && cpid == getpid())
            count++;
    fclose(f);
    return count;
}

class Upload : public XDepthTest {
protected:
    void TearDown() override
    {
        image_upload_force_socket(false);
        XDepthTest::TearDown();
    }
    uint32_t value(int x, int y) const
    {
        int depth = g_tessel.depth;
        return (uint32_t)(x * 2654435761u ^ y * 40503u) & (depth >= 32 ? 0xFFFFFFFFu : (1u << depth) - 1);
    }

    // Fills the first rows of an upload with the pattern, in the upload's
    // order, and finishes it.
    int fill(ImageUpload* up, int rows)
    {
        for (int i = 0; i < rows; i++) {
            int y = up->bottomUp ? up->height - 1 - i : i;
            uint32_t* row = image_upload_row(up);
            for (int x = 0; x < up->width; x++)
                row[x] = value(x, y);
            image_upload_commit(up);
        }
        return image_upload_finish(up);
    }
    int mismatches(Pixmap p, int w, int h)
    {
        std::vector<unsigned long> px = xenv_pixels(d, p, 0, 0, w, h);
        int bad = px.size() == (size_t)w * h ? 0 : -1;
        for (size_t i = 0; bad >= 0 && i < px.size(); i++)
            bad += px[i] != value((int)(i % w), (int)(i / w));
        return bad;
    }
};

// A shared-memory upload leaves no completion notice for the event loop.
TEST_P(Upload, SharedAndSocketPathsGiveTheSamePixelsOverManyBands)
{
    const int w = 301, h = 8000;
    for (bool bottomUp : {false, true}) {
        for (bool socket : {false, true}) {
            image_upload_force_socket(socket);
            ImageUpload up;
            ASSERT_EQ(image_upload_begin(&up, d, w, h), 1);
            up.bottomUp = bottomUp;
            EXPECT_EQ(fill(&up, h), 1);
            EXPECT_TRUE(socket ? !up.shm : up.shm || !XShmQueryExtension(d)) << "a local server with MIT-SHM takes the shared path";
            EXPECT_LT(up.bandRows * 2, h) << "the picture must span more than two bands";
            EXPECT_EQ(mismatches(up.pixmap, w, h), 0) << (socket ? "socket" : "shared") << (bottomUp ? " bottom-up" : "");
            XFreePixmap(d, up.pixmap);
            XFreeGC(d, up.gc);
            image_upload_end(&up, true);
            EXPECT_EQ(live_segments(), 0);
        }
    }
    XEvent event;
    XSync(d, False);
    EXPECT_FALSE(XCheckTypedEvent(d, XShmGetEventBase(d) + ShmCompletion, &event));

    // An upload abandoned after some rows frees its segments and its pixmap.
    ImageUpload up;
    ASSERT_EQ(image_upload_begin(&up, d, 500, 4000), 1);
    EXPECT_EQ(live_segments(), up.shm ? 2 : 0);
    EXPECT_EQ(fill(&up, 1500), 0);
    image_upload_end(&up, false);
    EXPECT_TRUE(up.pixmap == 0 && live_segments() == 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, Upload, TSL_ALL_DEPTHS,
                         [](const auto& info) { return std::string(info.param ? info.param + 12 : "24"); });

}  // namespace
