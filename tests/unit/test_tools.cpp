// Utilities without a display: rectangle arithmetic and packed geometry, the
// object array's index rules, sleeping, the bell, the checked allocator and
// prefixing the working directory within the caller's buffer.
#include <chrono>
#include <cstring>

#include "testutil.h"
#include "tessel.h"

// Under the address sanitizer a failed allocation must return null here,
// as it does in a plain build, instead of aborting.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}

namespace {

std::string str(TslRect r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

std::string joined(ObjArray arr)
{
    std::string s;
    for (int i = 0; i < tslGetTotal_ObjArray(arr); i++)
        s += (i ? "," : "") + std::string(static_cast<const char*>(tslGetItem_ObjArray(arr, i)));
    return s;
}

}  // namespace

TEST(Tools, RectsObjectArraysSleepAllocBellAndFullPath)
{
    EXPECT_EQ(str(tslSetOffsetRect(tslSetRect(32767, 7, 1, 1), 1, -10)), "-32768,-3 1x1");  // wraps like the record
    EXPECT_EQ(tslIsEmptyRect(tslSetRect(3, 3, 0, 5)) + tslIsEmptyRect(tslSetRect(3, 3, 5, 0)), 2);
    EXPECT_EQ(tslIsEmptyRect(tslSetRect(3, 3, 1, 1)), 0);
    unsigned int pos = tslPos(-10, 20), size = tslSize(65535, 65535);
    EXPECT_EQ(str(tslUnpackRect(pos, size)), "-10,20 65535x65535");
    EXPECT_TRUE(tslRectPos(tslUnpackRect(pos, size)) == pos && tslRectSize(tslUnpackRect(pos, size)) == size);

    // Points on any edge of (10, 20) 30 x 40 are outside.
    const int points[][3] = {{10, 20, 0}, {11, 21, 1}, {39, 59, 1}, {40, 30, 0}, {20, 60, 0}, {10, 30, 0}, {20, 20, 0}};
    for (const auto& p : points)
        EXPECT_EQ(tslPointInRect(p[0], p[1], tslSetRect(10, 20, 30, 40)), p[2]) << p[0] << "," << p[1];
    EXPECT_EQ(tslPointInRect(20, 30, tslSetRect(-100, -100, 0, 500)), 0);

    const struct {
        TslRect a, b;
        const char* want;
    } cases[] = {
        {{0, 0, 100, 100}, {50, 60, 100, 100}, "50,60 50x40"},
        {{10, 10, 10, 10}, {30, 30, 5, 5}, "0,0 0x0"},  // disjoint
        {{10, 10, 10, 10}, {12, 12, 2, 2}, "12,12 2x2"}, {{-50, -50, 100, 100}, {-10, -20, 30, 40}, "-10,-20 30x40"},
        // touching edges give zero size, side by side and stacked
        {{10, 10, 10, 10}, {20, 10, 10, 10}, "20,10 0x10"}, {{10, 10, 10, 10}, {10, 20, 10, 10}, "10,20 10x0"},
        // a shared edge on x = 0 reads as no overlap
        {{-10, 0, 10, 10}, {0, 0, 10, 10}, "0,0 0x0"},
        // wholly negative: right clamps to 0, which is below left
        {{-30, -30, 5, 5}, {-40, -40, 20, 20}, "0,0 0x0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(str(tslGetInRect(c.a, c.b)), c.want) << str(c.a) << " and " << str(c.b);

    ObjArray arr = tslAddItem_ObjArray(tslNew_ObjArray(), strdup("a"), -1);
    arr = tslAddItem_ObjArray(arr, strdup("b"), 0);  // one item before: stays last
    arr = tslAddItem_ObjArray(arr, strdup("c"), 0);  // from two on the index holds
    arr = tslAddItem_ObjArray(arr, strdup("d"), 2);
    arr = tslAddItem_ObjArray(arr, strdup("e"), 4);  // equal to the count: appended
    arr = tslAddItem_ObjArray(arr, strdup("f"), 9);  // past the end: appended
    arr = tslAddItem_ObjArray(arr, nullptr, 0);      // refused, the array stays whole
    arr = tslAddItemEx_ObjArray(arr, 6, strdup("g"), 1);
    EXPECT_TRUE(joined(arr) == "c,g,a,d,b,e,f" && arr[7] == nullptr) << joined(arr);
    // Lookups: -1 is the last; other negatives and the count are nothing.
    EXPECT_STREQ(static_cast<char*>(tslGetItem_ObjArray(arr, -1)), "f");
    EXPECT_TRUE(!tslGetItem_ObjArray(arr, 7) && !tslGetItem_ObjArray(arr, -2) && !tslGetItem_ObjArray(nullptr, 0));
    // Deletes: any negative index is the last; past the end nothing.
    arr = tslDelItem_ObjArray(arr, -7);
    arr = tslDelItem_ObjArray(arr, 0);
    EXPECT_EQ(tslDelItem_ObjArray(arr, 5), arr);
    EXPECT_EQ(joined(arr), "g,a,d,b,e");
    for (int i = 0; i < 5; i++)
        arr = tslDelItem_ObjArray(arr, 0);
    ASSERT_NE(arr, nullptr);
    EXPECT_TRUE(tslGetTotal_ObjArray(arr) == 0 && arr[0] == nullptr && tslDelItem_ObjArray(arr, -1) == arr);
    EXPECT_EQ(tslFree_ObjArray(arr) + tslFree_ObjArray(nullptr), 2);
    EXPECT_TRUE(!tslDelItem_ObjArray(nullptr, -1) && !tslAddItemEx_ObjArray(nullptr, 0, nullptr, 0));
    // Every item is released with the array: 2,000 arrays of a 1 kB item.
    size_t before = tu::live_bytes();
    for (int i = 0; i < 2000; i++)
        tslFree_ObjArray(tslAddItem_ObjArray(tslNew_ObjArray(), tslAlloc(1000), -1));
    EXPECT_LT(tu::live_bytes(), before + 100000);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(tslSleep(1100000), 0);  // seconds and the remainder apart
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(ms >= 1090 && ms < 2000) << ms;

    void* p = tslAlloc(0);
    EXPECT_NE(p, nullptr);
    free(p);
    std::string err = tu::stderr_of([] { EXPECT_EQ(tslAlloc((size_t)-1 / 2), nullptr); });
    const std::string msg = "Error: Can't allocate memory.\n";
    EXPECT_TRUE(err.size() >= msg.size() && err.substr(err.size() - msg.size()) == msg) << err;  // after any sanitizer note
    EXPECT_EQ(tu::stderr_of([] { EXPECT_EQ(tslBell(), 1); }), "\a");

    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    // needs strlen(cwd) + strlen(path) + 1 < size: one byte for '/', one for NUL
    std::string expect = std::string(cwd) + "/pic.jpg";
    char exact[4200] = "pic.jpg", tight[4200] = "pic.jpg", abs[4200] = "/etc/x";
    EXPECT_EQ(tslConvFullPath(exact, (unsigned)expect.size() + 1), exact);
    EXPECT_EQ(tslConvFullPath(tight, (unsigned)expect.size()), nullptr);
    EXPECT_EQ(tslConvFullPath(abs, sizeof abs), abs);  // an absolute path is prefixed all the same
    EXPECT_EQ(std::string(exact) + " " + tight + " " + abs, expect + " pic.jpg " + cwd + "//etc/x");
    EXPECT_EQ(tslConvFullPath(nullptr, 100), nullptr);
}
