// The XPM size check made before libXpm reads a file: files announcing more
// than their length holds are refused in each of libXpm's three syntaxes.
#include <gtest/gtest.h>

#include <string>

#include "image/xpm_check.h"

TEST(XpmCheck, AnnouncedSizesAgainstFileLength)
{
    const std::string xpm3 = "/* XPM */\nstatic char *a[] = {\n";
    // "2 3 1 1" then a colour line and 3 rows of 2: the file holds 2 x 3 x 1 pixel bytes.
    const std::string rows = "\"a c red\",\n\"aa\",\n\"aa\",\n\"aa\"};\n";
    // A file size of 0 stands for the text's own length.
    struct { std::string text; bool fits; uint64_t fileSize = 0; } cases[] = {
        {xpm3 + "\"2 3 1 1\",\n" + rows, true},
        {xpm3 + "\"1 1 85000000 1\", \"a c red\", \"a\"};\n", false},
        {xpm3 + "\"30000 30000 1 1\", \"a c red\", \"a\"};\n", false},
        // values hidden behind a comment holding a string of small ones
        {"/* XPM */\n/* \"1 1 1 1\" */ {\"1 1 85000000 1\"};\n", false},
        // 60 bytes: 6 x 5 x 2 = 60 pixel bytes fit, 6 x 5 x 3 = 90 do not
        {"/* XPM */ {\"6 5 1 2\"}" + std::string(60 - 21, ' '), true},
        {"/* XPM */ {\"6 5 1 3\"}" + std::string(60 - 21, ' '), false},
        {"! XPM2\n1 1 85000000 1\na c red\na\n", false}, {"! XPM2 C\n\"1 1 85000000 1\",\n", false},
        {"! XPM2 Lisp\n; \"1 1 1 1\"\n\"1 1 85000000 1\"\n", false},
        // libXpm takes a header comment that never closes (split so it closes nothing here)
        {"/" "* XPM *\n{\"1 1 85000000 0\"};\n", false},
        {"#define a_format 1\n#define a_width 1\n#define a_height 1\n"
         "#define a_ncolors 85000000\n#define a_chars_per_pixel 1\n", false},
        // The head of a 1 MB file: values seen whole are judged by the file's
        // size; cut off by the head's end, or not reached, they are refused.
        {xpm3 + "\"500 500 1 2\",\n\"a", true, 1 << 20}, {xpm3 + "\"500 500 1 5\",\n\"a", false, 1 << 20},
        {xpm3 + "\"500 5", false, 1 << 20}, {xpm3 + "/" "* a long comment", false, 1 << 20},
        {xpm3 + "\"16385 16384 1 1\"", false, 1u << 30},  // over the most pixels taken
        {"! XPM2\n1 1", false, 1 << 20}, {"#define a_format 1\n#define a_width 1\n#def", false, 1 << 20},
        {"not an image at all", true, 1 << 20}, {"not an image at all", true},  // no values to be found: libXpm judges
    };
    for (const auto& c : cases)
        EXPECT_EQ(xpm_sizes_fit(c.text.data(), c.text.size(), c.fileSize ? c.fileSize : c.text.size()), c.fits)
            << c.text;
}
