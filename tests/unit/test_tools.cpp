// Small services without a display: sleeping splits seconds from the
// remainder, the bell byte, and prefixing the working directory within the
// caller's buffer size.
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

TEST(Tools, SleepSplitsSecondsAndRemainder)
{
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(tslSleep(1500000), 0);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(ms, 1490);
    EXPECT_LT(ms, 2500);
}

TEST(Tools, ConvFullPathFitsOrRefuses)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    std::string expect = std::string(cwd) + "/pic.jpg";
    // needs strlen(cwd) + strlen(path) + 1 < size: one byte for '/', one for NUL
    char exact[4200] = "pic.jpg", tight[4200] = "pic.jpg";
    unsigned int fits = (unsigned int)expect.size() + 1;
    EXPECT_EQ(tslConvFullPath(exact, fits), exact);
    EXPECT_EQ(std::string(exact), expect);
    EXPECT_EQ(tslConvFullPath(tight, fits - 1), nullptr);
    EXPECT_STREQ(tight, "pic.jpg");

    // an absolute path is prefixed all the same
    char abs[4200] = "/etc/x";
    EXPECT_EQ(tslConvFullPath(abs, sizeof abs), abs);
    EXPECT_EQ(std::string(abs), std::string(cwd) + "//etc/x");
    EXPECT_EQ(tslConvFullPath(nullptr, 100), nullptr);
}

TEST(Tools, AllocAndBell)
{
    void* p = tslAlloc(0);
    ASSERT_NE(p, nullptr);
    free(p);
    std::string err = tu::stderr_of([] { EXPECT_EQ(tslAlloc((size_t)-1 / 2), nullptr); });
    const std::string msg = "Error: Can't allocate memory.\n";
    ASSERT_GE(err.size(), msg.size());
    EXPECT_EQ(err.substr(err.size() - msg.size()), msg);  // after any sanitizer note
    EXPECT_EQ(tu::stderr_of([] { EXPECT_EQ(tslBell(), 1); }), "\a");
}
