// The public records keep the layout other code relies on.
#include <gtest/gtest.h>

#include "tessel.h"

TEST(Records, PackedGeometryRoundTrips)
{
    unsigned int pos = tslPos(-10, 20);
    EXPECT_EQ(tslPosX(pos), -10);
    EXPECT_EQ(tslPosY(pos), 20);
    unsigned int size = tslSize(65535, 65535);
    EXPECT_EQ(tslSizeW(size), 65535);
    EXPECT_EQ(tslSizeH(size), 65535);
    TslRect r = tslUnpackRect(pos, size);
    EXPECT_EQ(r.x, -10);
    EXPECT_EQ(r.y, 20);
    EXPECT_EQ(tslRectPos(r), pos);
    EXPECT_EQ(tslRectSize(r), size);
    EXPECT_EQ(sizeof(TslRect), 8u);
}
