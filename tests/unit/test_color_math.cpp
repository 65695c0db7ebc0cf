// Colour arithmetic and colour-database parsing, without a display.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/color_private.h"

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& os, const Rgb& c)
{
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb alter(int mode, int r, int g, int b)
{
    color_alter(mode, &r, &g, &b);
    return {r, g, b};
}

const std::string kSample = std::string(TSL_TEST_DATA) + "/color/rgb_sample.txt";

class DatabaseFile : public ::testing::Test {
protected:
    void TearDown() override { color_override_database(nullptr); }
};

// Matches a line held in a heap block of exactly its length, so that any read
// past the line is caught by the address sanitizer.
int match_exact(const std::string& line, const char* name, Rgb* out)
{
    std::unique_ptr<char[]> buf(new char[line.size() ? line.size() : 1]);
    memcpy(buf.get(), line.data(), line.size());
    return color_match_line(buf.get(), line.size(), name, strlen(name), &out->r, &out->g, &out->b);
}

}  // namespace

TEST(ColorAlter, NearBrightensDarkAndDarkensBright)
{
    EXPECT_EQ(alter(TSL_ALTER_NEAR, 128, 129, 0), (Rgb{149, 108, 0}));
    EXPECT_EQ(alter(TSL_ALTER_NEAR, 255, 6, 5), (Rgb{213, 7, 5}));
}

TEST(ColorAlter, LightTurnsWhiteWhenAnyComponentSaturates)
{
    EXPECT_EQ(alter(TSL_ALTER_LIGHT, 200, 100, 50), (Rgb{255, 255, 255}));
    EXPECT_EQ(alter(TSL_ALTER_LIGHT, 100, 50, 20), (Rgb{190, 115, 70}));
    EXPECT_EQ(alter(TSL_ALTER_LIGHT, 0, 0, 255), (Rgb{255, 255, 255}));
    // 143 + 71 + 40 = 254 stays; 144 + 72 + 40 = 256 reaches white
    EXPECT_EQ(alter(TSL_ALTER_LIGHT, 143, 0, 0), (Rgb{254, 40, 40}));
    EXPECT_EQ(alter(TSL_ALTER_LIGHT, 0, 144, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(alter(TSL_ALTER_LIGHT, 105, 105, 105), (Rgb{197, 197, 197}));
}

TEST(ColorAlter, ShadowHalves)
{
    EXPECT_EQ(alter(TSL_ALTER_SHADOW, 255, 105, 1), (Rgb{127, 52, 0}));
}

TEST(ColorAlter, ContrastKeepsMidTonesApart)
{
    EXPECT_EQ(alter(TSL_ALTER_CONTRAST, 64, 63, 191), (Rgb{192, 192, 63}));
    EXPECT_EQ(alter(TSL_ALTER_CONTRAST, 192, 0, 255), (Rgb{63, 255, 0}));
    EXPECT_EQ(alter(TSL_ALTER_CONTRAST, 127, 128, 190), (Rgb{255, 0, 62}));
}

TEST(ColorAlter, ClampsFirstAndLeavesUnknownModesAlone)
{
    EXPECT_EQ(alter(TSL_ALTER_SHADOW, -40, 300, 100000), (Rgb{0, 127, 127}));
    EXPECT_EQ(alter(7, -1, 256, 99), (Rgb{0, 255, 99}));
    EXPECT_EQ(alter(-1, 10, 20, 30), (Rgb{10, 20, 30}));
}

TEST(ColorLine, NameIsAPrefixMatchAfterColumnEleven)
{
    Rgb c{};
    EXPECT_EQ(match_exact("  0   0 128\t\tnavy blue\n", "navy", &c), 1);
    EXPECT_EQ(c, (Rgb{0, 0, 128}));
    EXPECT_EQ(match_exact("255 250 250 \t \tsnow", "snow", &c), 1);
    EXPECT_EQ(c, (Rgb{255, 250, 250}));
    EXPECT_EQ(match_exact("255 250 250\t\tsnow", "Snow", &c), 0);
    EXPECT_EQ(match_exact("255 250 250\t\tsnow", "snowy", &c), 0);
    EXPECT_EQ(match_exact("255 250 250snow", "snow", &c), 1);
}

TEST(ColorLine, CommentsAndShortLinesNeverMatch)
{
    Rgb c{1, 2, 3};
    EXPECT_EQ(match_exact("! 1   2   3\t\tgrey", "grey", &c), 0);
    EXPECT_EQ(match_exact("", "grey", &c), 0);
    EXPECT_EQ(match_exact(" 12", "grey", &c), 0);
    EXPECT_EQ(match_exact("255 250 250", "grey", &c), 0);
    EXPECT_EQ(match_exact("255 250 250\t", "grey", &c), 0);
    EXPECT_EQ(match_exact("255 250 250\tgre", "grey", &c), 0);
    EXPECT_EQ(c, (Rgb{1, 2, 3}));
}

TEST_F(DatabaseFile, FirstPrefixMatchWinsAndBlanksAreTrimmed)
{
    color_override_database(kSample.c_str());
    int r = -1, g = -1, b = -1;
    ASSERT_EQ(GetNamedColorRGB("grey", &r, &g, &b), 1);
    EXPECT_EQ((Rgb{r, g, b}), (Rgb{190, 190, 190}));
    ASSERT_EQ(GetNamedColorRGB(" \tgrey1 \t", &r, &g, &b), 1);
    EXPECT_EQ((Rgb{r, g, b}), (Rgb{10, 20, 30}));
    ASSERT_EQ(GetNamedColorRGB("Navy", &r, &g, &b), 1);
    EXPECT_EQ((Rgb{r, g, b}), (Rgb{0, 0, 128}));
    ASSERT_EQ(GetNamedColorRGB("last line", &r, &g, &b), 1);
    EXPECT_EQ((Rgb{r, g, b}), (Rgb{7, 8, 9}));
}

TEST_F(DatabaseFile, UnknownEmptyAndHexNamesAreNotFound)
{
    color_override_database(kSample.c_str());
    int r = 5, g = 6, b = 7;
    EXPECT_EQ(GetNamedColorRGB("commented", &r, &g, &b), 0);
    EXPECT_EQ(GetNamedColorRGB("", &r, &g, &b), 0);
    EXPECT_EQ(GetNamedColorRGB(" \t ", &r, &g, &b), 0);
    EXPECT_EQ(GetNamedColorRGB(nullptr, &r, &g, &b), 0);
    EXPECT_EQ(GetNamedColorRGB("#0000FF", &r, &g, &b), 0);
    EXPECT_EQ((Rgb{r, g, b}), (Rgb{5, 6, 7}));
}

TEST_F(DatabaseFile, OverlongNameIsCutNotOverflowed)
{
    color_override_database(kSample.c_str());
    std::string name = "snow" + std::string(5000, 'x');
    int r = 0, g = 0, b = 0;
    EXPECT_EQ(GetNamedColorRGB(name.c_str(), &r, &g, &b), 0);
}

TEST_F(DatabaseFile, MissingFileIsReportedOnEveryLookup)
{
    color_override_database("/nonexistent/rgb.txt");
    int r = 0, g = 0, b = 0;
    testing::internal::CaptureStderr();
    EXPECT_EQ(GetNamedColorRGB("grey", &r, &g, &b), 0);
    EXPECT_EQ(GetNamedColorRGB("snow", &r, &g, &b), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Can't open rgb file (/nonexistent/rgb.txt).\n"
              "Error: Can't open rgb file (/nonexistent/rgb.txt).\n");
}

TEST_F(DatabaseFile, RestOfAnOverlongLineIsNotANewLine)
{
    FILE* f = tmpfile();
    ASSERT_NE(f, nullptr);
    // The tail of this line, past the kept bytes, would read as a colour line.
    std::string line(COLOR_LINE_MAX, 'x');
    line += "  1   2   3\t\tghost\n";
    line += "  4   5   6\t\tghostly\n";
    fputs(line.c_str(), f);
    rewind(f);
    int r = 0, g = 0, b = 0;
    EXPECT_EQ(color_find_in_file(f, "ghost", &r, &g, &b), 1);
    EXPECT_EQ((Rgb{r, g, b}), (Rgb{4, 5, 6}));
    fclose(f);
}

TEST_F(DatabaseFile, SystemDatabaseKnowsTheDefaultColours)
{
    int r = 0, g = 0, b = 0;
    testing::internal::CaptureStderr();
    int found = GetNamedColorRGB("DimGrey", &r, &g, &b);
    std::string err = testing::internal::GetCapturedStderr();
    if (!found && !err.empty())
        GTEST_SKIP() << "no colour database on this system";
    ASSERT_EQ(found, 1);
    EXPECT_EQ((Rgb{r, g, b}), (Rgb{105, 105, 105}));
}

TEST(ColorNearest, TiesGoToTheLowerIndex)
{
    std::vector<XColor> cols(4);
    const int rgb[4][3] = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}, {100, 0, 0}};
    for (int i = 0; i < 4; i++) {
        cols[i].pixel = (unsigned long)i;
        cols[i].red = (unsigned short)(rgb[i][0] << 8);
        cols[i].green = (unsigned short)(rgb[i][1] << 8);
        cols[i].blue = (unsigned short)(rgb[i][2] << 8);
    }
    EXPECT_EQ(color_nearest_index(cols.data(), 4, 100, 100, 0, 0), 1);
    EXPECT_EQ(color_nearest_index(cols.data(), 4, 50, 0, 0, 0), 0);
    EXPECT_EQ(color_nearest_index(cols.data(), 4, 100, 0, 0, 0), 1);
    EXPECT_EQ(color_nearest_index(cols.data(), 4, 100, 0, 0, 1), 1);
    EXPECT_EQ(color_nearest_index(cols.data(), 4, 0, 90, 0, 0), 2);
    EXPECT_EQ(color_nearest_index(cols.data(), 4, 255, 255, 255, 0), 1);
    EXPECT_EQ(color_nearest_index(cols.data(), 0, 1, 2, 3, 0), -1);
}

TEST(ColorNearest, CubeSideIsTheSmallestCoveringCube)
{
    EXPECT_EQ(color_cube_side(0), 0);
    EXPECT_EQ(color_cube_side(1), 1);
    EXPECT_EQ(color_cube_side(8), 2);
    EXPECT_EQ(color_cube_side(9), 3);
    EXPECT_EQ(color_cube_side(216), 6);
    EXPECT_EQ(color_cube_side(217), 7);
    EXPECT_EQ(color_cube_side(254), 7);
}
