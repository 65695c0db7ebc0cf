// The built-in pictures and cursors: XPM data well-formed with the sizes and
// colour counts the toolkit relies on, and cursor bitmaps that show as drawn.
#include <set>

#include "testutil.h"
#include "resources/cursors.h"
#include "resources/images.h"

using namespace tsl_res;

namespace {

struct Expected {
    const char* name;
    char** data;
    int width, height, colors;
};

const Expected kImages[TSL_IMAGE_COUNT] = {
    {"arrowUp", res_arrowUp, 16, 16, 4},       {"arrowDw", res_arrowDw, 16, 16, 4},
    {"arrowLt", res_arrowLt, 16, 16, 4},       {"arrowRt", res_arrowRt, 16, 16, 4},
    {"upfolder", res_upfolder, 16, 16, 16},    {"folder", res_folder, 16, 16, 16},
    {"save", res_save, 16, 16, 8},             {"saveas", res_saveas, 16, 16, 10},
    {"file", res_file, 16, 16, 16},            {"quit", res_quit, 16, 16, 6},
    {"check", res_check, 16, 16, 3},           {"link", res_link, 16, 16, 3},
    {"question", res_question, 100, 25, 5},    {"attention", res_attention, 100, 25, 5},
    {"error", res_error, 100, 25, 4},          {"warning", res_warning, 100, 25, 4},
    {"info", res_info, 100, 25, 5},            {"tessel", res_tessel, 32, 32, 8},
    {"logo", res_logo, 89, 13, 4},             {"logomono", res_logomono, 89, 13, 6},
    {"glancer", res_glancer, 32, 32, 7},
};

bool bit_at(const unsigned char* bits, int width, int x, int y)
{
    int rowBytes = (width + 7) / 8;
    return (bits[y * rowBytes + x / 8] >> (x % 8)) & 1;
}

bool in_mask(const TslCursorData& c, int x, int y)
{
    return x >= 0 && y >= 0 && x < c.width && y < c.height && bit_at(c.maskBits, c.width, x, y);
}

bool shows(const TslCursorData& c, int x, int y, bool white)
{
    return in_mask(c, x, y) && bit_at(c.bits, c.width, x, y) == white;
}

}  // namespace

TEST(BuiltinImages, OrderHeadersColoursAndRowsAreConsistent)
{
    for (int i = 0; i < TSL_IMAGE_COUNT; i++) {
        const Expected& e = kImages[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(tsl_builtin_images[i], e.data) << "the table follows the image order";
        int w = 0, h = 0, n = 0, cpp = 0;
        ASSERT_EQ(sscanf(e.data[0], "%d %d %d %d", &w, &h, &n, &cpp), 4);
        EXPECT_EQ(w, e.width);
        EXPECT_EQ(h, e.height);
        EXPECT_EQ(n, e.colors);
        ASSERT_GE(cpp, 1);
        std::set<std::string> keys;
        for (int i = 1; i <= n; i++) {
            std::string line = e.data[i];
            ASSERT_GT(line.size(), (size_t)cpp + 3) << line;
            std::string key = line.substr(0, (size_t)cpp);
            EXPECT_TRUE(keys.insert(key).second) << "key defined twice: " << line;
            std::string definition = line.substr((size_t)cpp);
            EXPECT_NE(definition.find(" c "), std::string::npos) << line;
            if (e.data == res_logomono && definition.find("None") == std::string::npos) {
                EXPECT_NE(definition.find(" g "), std::string::npos) << line;
            }
        }
        std::set<std::string> used;
        for (int y = 0; y < h; y++) {
            std::string row = e.data[1 + n + y];
            ASSERT_EQ(row.size(), (size_t)(w * cpp)) << "row " << y;
            for (size_t x = 0; x < row.size(); x += (size_t)cpp) {
                std::string key = row.substr(x, (size_t)cpp);
                EXPECT_TRUE(keys.count(key)) << "undefined key '" << key << "' in row " << y;
                used.insert(key);
            }
        }
        EXPECT_EQ(used, keys) << "every colour is used";
    }
}

TEST(BuiltinCursors, SizesAndHotSpots)
{
    const TslCursorData* all[3] = {&res_curFinger, &res_curWait, &res_curIbeam};
    const int hot[3][2] = {{5, 0}, {8, 8}, {7, 8}};
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(all[i]->width, 16);
        EXPECT_EQ(all[i]->height, 16);
        EXPECT_EQ(all[i]->hotX, hot[i][0]);
        EXPECT_EQ(all[i]->hotY, hot[i][1]);
        EXPECT_TRUE(in_mask(*all[i], all[i]->hotX, all[i]->hotY)) << "hot spot is visible";
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++)
                if (bit_at(all[i]->bits, 16, x, y)) {
                    EXPECT_TRUE(in_mask(*all[i], x, y)) << "source outside mask at " << x << "," << y;
                }
    }
}

// The finger is white inside a black outline: no white pixel touches a
// transparent one.  The I-beam is the reverse.
TEST(BuiltinCursors, OutlinesSurroundTheFill)
{
    struct Case {
        const TslCursorData* cursor;
        bool fillWhite;
    } cases[] = {{&res_curFinger, true}, {&res_curIbeam, false}, {&res_curWait, true}};
    for (const Case& c : cases) {
        int fill = 0;
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++) {
                if (!shows(*c.cursor, x, y, c.fillWhite))
                    continue;
                fill++;
                const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
                for (const auto& o : d)
                    EXPECT_TRUE(in_mask(*c.cursor, x + o[0], y + o[1]))
                        << "fill meets transparency at " << x << "," << y;
            }
        EXPECT_GT(fill, 8);
    }
    EXPECT_TRUE(shows(res_curIbeam, 7, 8, false) && shows(res_curIbeam, 8, 8, false));
    EXPECT_FALSE(in_mask(res_curIbeam, 5, 8)) << "the stem is 2 pixels wide";
}
