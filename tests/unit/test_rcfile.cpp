// The resource file store: lookups on a sample file, byte-exact writes, and
// the mended faults (last line without line feed, over-long lines and
// values, failed writes keeping the old file).
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "tessel.h"

namespace {

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class RCFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/tsl-rc-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        chmod(dir.c_str(), 0755);
        path = dir + "/tslrc";
    }
    void TearDown() override
    {
        chmod(dir.c_str(), 0755);
        std::string cmd = "rm -rf '" + dir + "'";
        ASSERT_EQ(system(cmd.c_str()), 0);
    }
    // Writes `before`, sets one value and returns the file afterwards.
    std::string set(const std::string& before, const char* g, const char* k, const char* v)
    {
        write_file(path, before);
        EXPECT_EQ(tslSetRCFileValue(path.c_str(), g, k, v), 1);
        return read_file(path);
    }
    std::string get(const char* g, const char* k, int expect = 1, const char* deflt = "")
    {
        char value[TSL_RC_VALUE_SIZE];
        snprintf(value, sizeof value, "%s", deflt);
        EXPECT_EQ(tslGetRCFileValue(path.c_str(), g, k, value), expect) << g << "/" << k;
        return value;
    }
    std::string dir;
    std::string path;
};

const std::string SAMPLE = TSL_TEST_DATA "/rcfile/sample.tslrc";

}  // namespace

TEST_F(RCFile, LookupsInSampleFile)
{
    write_file(path, read_file(SAMPLE));
    EXPECT_EQ(get("Tessel", "BackColor"), "grey70");
    EXPECT_EQ(get("Tessel", "FontColor"), "black");
    EXPECT_EQ(get("Tessel", "CharCode"), "");
    EXPECT_EQ(get("Tessel", "DoubleClickTime"), "300\r");
    // first header wins: MouseButton lives only under the second [Tessel]
    EXPECT_EQ(get("Tessel", "MouseButton", 0, " dflt "), "dflt");
    EXPECT_EQ(get("Tessel2", "BackColor"), "red");
    // header with text after the bracket; first key wins
    EXPECT_EQ(get("Viewer", "MouseButton"), "3");
    EXPECT_EQ(get("Tessel", "Back", 0), "");
    EXPECT_EQ(get("Tessel", "BackColorX", 0, "keep"), "keep");
}

TEST_F(RCFile, LinesThatAreNotKeys)
{
    write_file(path, read_file(SAMPLE));
    EXPECT_EQ(get("Tessel", "Interval", 0, "\t35 "), "35");
    EXPECT_EQ(get("Tessel", "IM", 0, "FALSE"), "FALSE");
    EXPECT_EQ(get("tessel", "BackColor", 0), "");
    EXPECT_EQ(get("Tessel", "backcolor", 0), "");
    EXPECT_EQ(get("Tesse", "BackColor", 0), "");
}

TEST_F(RCFile, LastLineWithoutLineFeedIsRead)
{
    write_file(path, read_file(SAMPLE));
    EXPECT_EQ(get("Viewer", "Last"), "final");
    write_file(path, "[G]");
    EXPECT_EQ(get("G", "k", 0), "");
    write_file(path, "[G]\nk=v");
    EXPECT_EQ(get("G", "k"), "v");
}

TEST_F(RCFile, MissingFileOnRead)
{
    char value[TSL_RC_VALUE_SIZE] = "  untouched  ";
    testing::internal::CaptureStderr();
    EXPECT_EQ(tslGetRCFileValue(path.c_str(), "G", "k", value), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Can't open rc file (" + path + ")\n");
    EXPECT_STREQ(value, "  untouched  ");
}

TEST_F(RCFile, SpaceCut)
{
    char a[] = " \t a b \t ";
    char b[] = " \t ";
    char c[] = "\nx\n";
    EXPECT_EQ(tslSpaceCut(a), 1);
    EXPECT_STREQ(a, "a b");
    tslSpaceCut(b);
    EXPECT_STREQ(b, "");
    tslSpaceCut(c);
    EXPECT_STREQ(c, "\nx\n");
}

TEST_F(RCFile, WriteCreatesMissingFile)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(tslSetRCFileValue(path.c_str(), "G", "K", "V"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warring: Can't open rc file (" + path + "). Create it.\n");
    EXPECT_EQ(read_file(path), "[G]\nK=V\n");
    EXPECT_EQ(set("", "G", "K", "V"), "[G]\nK=V\n");
}

TEST_F(RCFile, WriteAppendsGroup)
{
    EXPECT_EQ(set("[A]\nx=1", "B", "k", "v"), "[A]\nx=1\n[B]\nk=v\n");
    EXPECT_EQ(set("[A]\nx=1\n", "B", "k", "v"), "[A]\nx=1\n[B]\nk=v\n");
    // names are case-sensitive: [a] is another group
    EXPECT_EQ(set("[a]\nK=1\n", "A", "K", "2"), "[a]\nK=1\n[A]\nK=2\n");
    EXPECT_EQ(set("[A]\nk=1\n", "A", "K", "2"), "[A]\nk=1\nK=2\n");
}

TEST_F(RCFile, WriteReplacesValueInPlace)
{
    EXPECT_EQ(set("[G]\nk=abc\nz=1\n", "G", "k", "abcdefgh"), "[G]\nk=abcdefgh\nz=1\n");
    EXPECT_EQ(set("[G]\nk=abcdefgh\nz=1\n", "G", "k", "a"), "[G]\nk=a\nz=1\n");
    EXPECT_EQ(set("[G]\nk=\n[H]\nk=x\n", "G", "k", "ab"), "[G]\nk=ab\n[H]\nk=x\n");
    EXPECT_EQ(set("[G]\nk=1\n[H]\nk=x\n", "H", "k", "y"), "[G]\nk=1\n[H]\nk=y\n");
    // the carriage return belongs to the old value
    EXPECT_EQ(set("[G]\r\nk=v\r\nz=1\r\n", "G", "k", "w"), "[G]\r\nk=w\nz=1\r\n");
    // only the first of two equal keys changes; blanks around stay elsewhere
    EXPECT_EQ(set(" k=0\n[G]\n k=1\nk =2\nk=3\nk=4\n", "G", "k", "9"),
              " k=0\n[G]\n k=1\nk =2\nk=9\nk=4\n");
}

TEST_F(RCFile, WriteInsertsNewKeyAfterLastKeyLine)
{
    EXPECT_EQ(set("[G]\na=1\n\n\n[H]\nb=2\n", "G", "c", "3"), "[G]\na=1\nc=3\n\n\n[H]\nb=2\n");
    EXPECT_EQ(set("[G]\n\nnote\n[H]\n", "G", "c", "3"), "[G]\nc=3\n\nnote\n[H]\n");
    EXPECT_EQ(set("[G]\na=1\nnote\n\n", "G", "c", "3"), "[G]\na=1\nc=3\nnote\n\n");
    EXPECT_EQ(set("[G] x\n", "G", "c", "3"), "[G] x\nc=3\n");
    EXPECT_EQ(set("[G]\na=1\r\n\r\n[H]\r\n", "G", "c", "3"), "[G]\na=1\r\nc=3\n\r\n[H]\r\n");
}

TEST_F(RCFile, WriteAfterLastLineWithoutLineFeed)
{
    EXPECT_EQ(set("[G]\nk=v", "G", "k", "w"), "[G]\nk=w\n");
    EXPECT_EQ(set("[G]\na=1", "G", "c", "3"), "[G]\na=1\nc=3\n");
    EXPECT_EQ(set("[G]", "G", "c", "3"), "[G]\nc=3\n");
}

TEST_F(RCFile, LongLineIsCutAndDoesNotEndReading)
{
    std::string longLine(1500, 'x');
    write_file(path, "[G]\n" + longLine + "\nk=v\n");
    EXPECT_EQ(get("G", "k"), "v");
    EXPECT_EQ(set("[G]\n" + longLine + "\nk=v\n", "G", "k", "w"), "[G]\n" + longLine + "\nk=w\n");
    EXPECT_EQ(set("[G]\na=" + longLine + "\n\n[H]\n", "G", "c", "3"),
              "[G]\na=" + longLine + "\nc=3\n\n[H]\n");
    // exactly 1023 and 1024 bytes before the line feed
    write_file(path, "[G]\n" + std::string(1023, 'y') + "\n" + std::string(1024, 'y') + "\nk=v\n");
    EXPECT_EQ(get("G", "k"), "v");
    // a key line longer than the line buffer keeps its whole tail on rewrite
    EXPECT_EQ(set("[G]\nk=" + longLine + "\nz=1\n", "G", "k", "s"), "[G]\nk=s\nz=1\n");
}

TEST_F(RCFile, LongValueIsCutToTheCallersBuffer)
{
    std::string v400(400, 'v');
    write_file(path, "[G]\nk=" + v400 + "\n");
    char buffer[TSL_RC_VALUE_SIZE + 32];
    memset(buffer, '#', sizeof buffer);
    buffer[0] = '\0';
    EXPECT_EQ(tslGetRCFileValue(path.c_str(), "G", "k", buffer), 1);
    EXPECT_EQ(strlen(buffer), (size_t)TSL_RC_VALUE_SIZE - 1);
    for (size_t i = TSL_RC_VALUE_SIZE; i < sizeof buffer; i++) ASSERT_EQ(buffer[i], '#') << i;
    // blanks are trimmed before the cut, so the cut keeps the real value
    write_file(path, "[G]\nk=" + std::string(300, ' ') + "abc  \n");
    EXPECT_EQ(get("G", "k"), "abc");
}

TEST_F(RCFile, OverlongNamesAreRefused)
{
    std::string name(300, 'n');
    write_file(path, "[G]\nk=v\n");
    EXPECT_EQ(get(name.c_str(), "k", 0), "");
    EXPECT_EQ(get("G", name.c_str(), 0), "");
    EXPECT_EQ(tslSetRCFileValue(path.c_str(), name.c_str(), "k", "v"), 0);
    EXPECT_EQ(tslSetRCFileValue(path.c_str(), "G", "k", std::string(260, 'v').c_str()), 0);
    std::string group253(253, 'g');  // "[%s]" fits, "[%s]\n" does not
    EXPECT_EQ(tslSetRCFileValue(path.c_str(), group253.c_str(), "k", "v"), 0);
    EXPECT_EQ(tslSetRCFileValue(path.c_str(), "G", "k", "a\nb"), 0);
    EXPECT_EQ(read_file(path), "[G]\nk=v\n");
    // a key line of exactly 255 bytes is still written
    std::string v(251, 'v');
    EXPECT_EQ(set("[G]\nk=v\n", "G", "k", v.c_str()), "[G]\nk=" + v + "\n");
}

TEST_F(RCFile, WriteIntoReadOnlyDirectoryKeepsOldFile)
{
    const std::string old = "[G]\nk=old\n";
    write_file(path, old);
    chmod(path.c_str(), 0666);
    chmod(dir.c_str(), 0555);
    // Run as an unprivileged user, since root ignores the directory's mode.
    EXPECT_EXIT(
        {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
            _exit(tslSetRCFileValue(path.c_str(), "G", "k", "new") == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "Error: Can't open rc file");
    EXPECT_EQ(read_file(path), old);
}

TEST_F(RCFile, ReadOnlyFileIsNotReplaced)
{
    const std::string old = "[G]\nk=old\n";
    write_file(path, old);
    chmod(path.c_str(), 0444);
    chmod(dir.c_str(), 0777);  // the directory would allow a replacement
    EXPECT_EXIT(
        {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
            _exit(tslSetRCFileValue(path.c_str(), "G", "k", "new") == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "Error: Can't open rc file");
    EXPECT_EQ(read_file(path), old);
}

TEST_F(RCFile, FailedWriteKeepsOldFile)
{
    const std::string old = "[G]\nk=old\n" + std::string(2000, '#') + "\n";
    write_file(path, old);
    // A file size limit makes the write fail the way a full disk does.
    EXPECT_EXIT(
        {
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit;
            limit.rlim_cur = limit.rlim_max = 100;
            setrlimit(RLIMIT_FSIZE, &limit);
            _exit(tslSetRCFileValue(path.c_str(), "G", "k", "new") == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "Error: Can't open rc file");
    EXPECT_EQ(read_file(path), old);
    std::string cmd = "test $(ls -A '" + dir + "' | wc -l) -eq 1";
    EXPECT_EQ(system(cmd.c_str()), 0) << "temporary file left behind";
}

TEST_F(RCFile, WriteKeepsFileModeAndFollowsSymlink)
{
    write_file(path, "[G]\nk=1\n");
    chmod(path.c_str(), 0640);
    std::string link = dir + "/link";
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    EXPECT_EQ(tslSetRCFileValue(link.c_str(), "G", "k", "2"), 1);
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(read_file(path), "[G]\nk=2\n");
}
