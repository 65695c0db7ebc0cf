// Colour arithmetic and colour-database parsing, without a display.
#include <array>
#include <memory>

#include "testutil.h"
#include "support/color_private.h"

namespace {

using Rgb = std::array<int, 3>;
const Rgb kNone{-1, -1, -1};

// The colour the database gives for a name, kNone when none; (-2, -2, -2)
// when a failed lookup still wrote to the caller's values.
Rgb named(const char* name)
{
    Rgb c = kNone;
    int found = GetNamedColorRGB(name, &c[0], &c[1], &c[2]);
    return found || c == kNone ? c : Rgb{-2, -2, -2};
}

}  // namespace

TEST(Color, AlterNearestCubeLinesAndDatabase)
{
    const struct { int mode; Rgb in, out; } cases[] = {
        // near brightens dark and darkens bright
        {TSL_ALTER_NEAR, {128, 129, 0}, {149, 108, 0}}, {TSL_ALTER_NEAR, {255, 6, 5}, {213, 7, 5}},
        // light turns white when any component saturates:
        // 143 + 71 + 40 = 254 stays; 144 + 72 + 40 = 256 reaches white
        {TSL_ALTER_LIGHT, {100, 50, 20}, {190, 115, 70}}, {TSL_ALTER_LIGHT, {0, 0, 255}, {255, 255, 255}},
        {TSL_ALTER_LIGHT, {143, 0, 0}, {254, 40, 40}}, {TSL_ALTER_LIGHT, {0, 144, 0}, {255, 255, 255}},
        {TSL_ALTER_SHADOW, {255, 105, 1}, {127, 52, 0}},
        // contrast keeps mid tones apart
        {TSL_ALTER_CONTRAST, {64, 63, 191}, {192, 192, 63}}, {TSL_ALTER_CONTRAST, {192, 0, 255}, {63, 255, 0}},
        {TSL_ALTER_CONTRAST, {127, 128, 190}, {255, 0, 62}},
        // components are clamped first; unknown modes change nothing else
        {TSL_ALTER_SHADOW, {-40, 300, 100000}, {0, 127, 127}}, {7, {-1, 256, 99}, {0, 255, 99}},
        {-1, {10, 20, 30}, {10, 20, 30}},
    };
    for (const auto& c : cases) {
        Rgb got = c.in;
        color_alter(c.mode, &got[0], &got[1], &got[2]);
        EXPECT_EQ(got, c.out) << "mode " << c.mode << " on " << testing::PrintToString(c.in);
    }

    // Nearest colours: ties go to the lower index.
    std::vector<XColor> cols(4);
    const int rgb[4][3] = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}, {100, 0, 0}};
    for (int i = 0; i < 4; i++)
        cols[i] = XColor{(unsigned long)i, (unsigned short)(rgb[i][0] << 8), (unsigned short)(rgb[i][1] << 8),
                         (unsigned short)(rgb[i][2] << 8), 0, 0};
    // r, g, b, stop at an exact match -> index
    const int nearest[][5] = {{100, 100, 0, 0, 1}, {50, 0, 0, 0, 0}, {100, 0, 0, 0, 1},
                              {100, 0, 0, 1, 1},   {0, 90, 0, 0, 2}, {255, 255, 255, 0, 1}};
    for (const auto& c : nearest)
        EXPECT_EQ(color_nearest_index(cols.data(), 4, c[0], c[1], c[2], c[3]), c[4]) << c[0] << "," << c[1] << "," << c[2];
    EXPECT_EQ(color_nearest_index(cols.data(), 0, 1, 2, 3, 0), -1);

    // the side of the smallest cube that covers the cells
    const int sides[][2] = {{0, 0}, {1, 1}, {8, 2}, {9, 3}, {216, 6}, {217, 7}, {254, 7}};
    for (const auto& s : sides)
        EXPECT_EQ(color_cube_side(s[0]), s[1]) << s[0];

    // Database lines: the name is a prefix match after column eleven.
    const struct { const char *line, *name; Rgb want; } lines[] = {
        {"  0   0 128\t\tnavy blue\n", "navy", {0, 0, 128}}, {"255 250 250 \t \tsnow", "snow", {255, 250, 250}},
        {"255 250 250snow", "snow", {255, 250, 250}}, {"255 250 250\t\tsnow", "Snow", kNone},
        {"255 250 250\t\tsnow", "snowy", kNone},
        // comments and short lines never match
        {"! 1   2   3\t\tgrey", "grey", kNone}, {"", "grey", kNone}, {" 12", "grey", kNone},
        {"255 250 250", "grey", kNone}, {"255 250 250\tgre", "grey", kNone},
    };
    for (const auto& c : lines) {
        // The line alone in a heap block of its length: a read past it shows
        // under the address sanitizer.
        std::string line = c.line;
        std::unique_ptr<char[]> exact(new char[line.size() + !line.size()]);
        memcpy(exact.get(), line.data(), line.size());
        Rgb got = kNone;
        EXPECT_EQ(color_match_line(exact.get(), line.size(), c.name, strlen(c.name), &got[0], &got[1], &got[2]),
                  c.want != kNone) << c.line;
        EXPECT_EQ(got, c.want) << c.line;
    }
    // The tail of an overlong line, past the kept bytes, is no line of its own.
    std::string text = std::string(COLOR_LINE_MAX, 'x') + "  1   2   3\t\tghost\n  4   5   6\t\tghostly\n";
    Rgb c{};
    EXPECT_EQ(color_find_in_text(text.data(), text.size(), "ghost", &c[0], &c[1], &c[2]), 1);
    EXPECT_EQ(c, (Rgb{4, 5, 6}));

    // The first prefix match wins; a missing file is reported.
    color_override_database(TSL_TEST_DATA "/color/rgb_sample.txt");
    EXPECT_EQ(named("grey"), (Rgb{190, 190, 190}));
    EXPECT_EQ(named(" \tgrey1 \t"), (Rgb{10, 20, 30}));
    EXPECT_EQ(named("Navy"), (Rgb{0, 0, 128}));
    EXPECT_EQ(named("last line"), (Rgb{7, 8, 9}));
    std::string overlong = "snow" + std::string(5000, 'x');
    for (const char* missing : {"commented", "", " \t ", "#0000FF", overlong.c_str(), (const char*)nullptr})
        EXPECT_EQ(named(missing), kNone) << (missing ? missing : "null");

    color_override_database("/nonexistent/rgb.txt");
    EXPECT_EQ(tu::stderr_of([] { EXPECT_TRUE(named("grey") == kNone && named("snow") == kNone); }),
              "Error: Can't open rgb file (/nonexistent/rgb.txt).\n"
              "Error: Can't open rgb file (/nonexistent/rgb.txt).\n");
    color_override_database(nullptr);
    // The system's database, where there is one, knows the default colours.
    Rgb dim = kNone;
    std::string err = tu::stderr_of([&] { dim = named("DimGrey"); });
    EXPECT_TRUE(dim == (Rgb{105, 105, 105}) || (dim == kNone && !err.empty())) << testing::PrintToString(dim);
}
