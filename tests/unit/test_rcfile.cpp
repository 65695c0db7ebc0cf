// The resource file store: lookups on a sample file, byte-exact writes, and
// the mended faults (last line without line feed, over-long lines and
// values, failed writes keeping the old file).
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "testutil.h"
#include "tessel.h"

namespace {

class RCFile : public ::testing::Test {
protected:
    tu::TempDir dir;
    std::string path = dir / "tslrc";

    // Writes `before`, sets one value and returns the file afterwards.
    std::string set(const std::string& before, const char* g, const char* k, const char* v)
    {
        tu::write_file(path, before);
        EXPECT_EQ(tslSetRCFileValue(path.c_str(), g, k, v), 1);
        return tu::read_file(path);
    }
    std::string get(const char* g, const char* k, int expect = 1, const char* deflt = "")
    {
        char value[TSL_RC_VALUE_SIZE];
        snprintf(value, sizeof value, "%s", deflt);
        EXPECT_EQ(tslGetRCFileValue(path.c_str(), g, k, value), expect) << g << "/" << k;
        return value;
    }
    // Runs a write in a child set up by `limit` (as an unprivileged user when
    // root): it must fail with the message and leave `old` in place.
    void expect_refused(const std::string& old, void (*limit)())
    {
        tu::write_file(path, old);
        EXPECT_EXIT(
            {
                limit();
                _exit(tslSetRCFileValue(path.c_str(), "G", "k", "new") == 0 ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "Error: Can't open rc file");
        EXPECT_EQ(tu::read_file(path), old);
    }
};

void drop_root()
{
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        _exit(3);
}

const std::string SAMPLE = TSL_TEST_DATA "/rcfile/sample.tslrc";

}  // namespace

TEST_F(RCFile, LookupsInSampleFile)
{
    tu::write_file(path, tu::read_file(SAMPLE));
    const struct {
        const char *group, *key;
        int found;
        const char *deflt, *want;
    } cases[] = {
        {"Tessel", "BackColor", 1, "", "grey70"},
        {"Tessel", "FontColor", 1, "", "black"},
        {"Tessel", "CharCode", 1, "x", ""},
        {"Tessel", "DoubleClickTime", 1, "", "300\r"},
        // first header wins: MouseButton lives only under the second [Tessel]
        {"Tessel", "MouseButton", 0, " dflt ", "dflt"},
        {"Tessel2", "BackColor", 1, "", "red"},
        // header with text after the bracket; first key wins
        {"Viewer", "MouseButton", 1, "", "3"},
        {"Viewer", "Last", 1, "", "final"},  // last line without line feed
        {"Tessel", "Back", 0, "", ""},
        {"Tessel", "BackColorX", 0, "keep", "keep"},
        // indented keys and blanks before '=' are not keys; names are case-sensitive
        {"Tessel", "Interval", 0, "\t35 ", "35"},
        {"Tessel", "IM", 0, "FALSE", "FALSE"},
        {"tessel", "BackColor", 0, "", ""},
        {"Tessel", "backcolor", 0, "", ""},
        {"Tesse", "BackColor", 0, "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(get(c.group, c.key, c.found, c.deflt), c.want) << c.group << "/" << c.key;
    tu::write_file(path, "[G]");
    EXPECT_EQ(get("G", "k", 0), "");
    tu::write_file(path, "[G]\nk=v");
    EXPECT_EQ(get("G", "k"), "v");
}

TEST_F(RCFile, MissingFileFifoAndSpaceCut)
{
    char value[TSL_RC_VALUE_SIZE] = "  untouched  ";
    EXPECT_EQ(tu::stderr_of([&] { EXPECT_EQ(tslGetRCFileValue(path.c_str(), "G", "k", value), 0); }),
              "Error: Can't open rc file (" + path + ")\n");
    EXPECT_STREQ(value, "  untouched  ");

    char a[] = " \t a b \t ", b[] = " \t ", c[] = "\nx\n";
    EXPECT_EQ(tslSpaceCut(a), 1);
    EXPECT_STREQ(a, "a b");
    tslSpaceCut(b);
    EXPECT_STREQ(b, "");
    tslSpaceCut(c);
    EXPECT_STREQ(c, "\nx\n");

    // A FIFO in the file's place is refused at once (an open would wait for
    // a writer; the alarm ends a wait), and a write does not replace it.
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    alarm(30);
    EXPECT_EQ(tu::stderr_of([&] {
                  EXPECT_EQ(tslGetRCFileValue(path.c_str(), "G", "k", value), 0);
                  EXPECT_EQ(tslSetRCFileValue(path.c_str(), "G", "k", "v"), 0);
              }),
              "Error: Can't open rc file (" + path + ")\nError: Can't open rc file (" + path + ")\n");
    alarm(0);
    struct stat st;
    EXPECT_TRUE(stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
}

TEST_F(RCFile, WriteCreatesMissingFile)
{
    EXPECT_EQ(tu::stderr_of([&] { EXPECT_EQ(tslSetRCFileValue(path.c_str(), "G", "K", "V"), 1); }),
              "Warring: Can't open rc file (" + path + "). Create it.\n");
    EXPECT_EQ(tu::read_file(path), "[G]\nK=V\n");
    EXPECT_EQ(set("", "G", "K", "V"), "[G]\nK=V\n");
}

TEST_F(RCFile, WritesAreByteExact)
{
    const std::string longLine(1500, 'x'), v251(251, 'v');
    const struct {
        std::string before;
        const char *g, *k, *v;
        std::string after;
    } cases[] = {
        // a new group after a file with or without a final line feed
        {"[A]\nx=1", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
        {"[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
        // names are case-sensitive
        {"[a]\nK=1\n", "A", "K", "2", "[a]\nK=1\n[A]\nK=2\n"},
        {"[A]\nk=1\n", "A", "K", "2", "[A]\nk=1\nK=2\n"},
        // longer and shorter values in place
        {"[G]\nk=abc\nz=1\n", "G", "k", "abcdefgh", "[G]\nk=abcdefgh\nz=1\n"},
        {"[G]\nk=abcdefgh\nz=1\n", "G", "k", "a", "[G]\nk=a\nz=1\n"},
        {"[G]\nk=\n[H]\nk=x\n", "G", "k", "ab", "[G]\nk=ab\n[H]\nk=x\n"},
        {"[G]\nk=1\n[H]\nk=x\n", "H", "k", "y", "[G]\nk=1\n[H]\nk=y\n"},
        // the carriage return belongs to the old value
        {"[G]\r\nk=v\r\nz=1\r\n", "G", "k", "w", "[G]\r\nk=w\nz=1\r\n"},
        // only the first of two equal keys changes; indented keys are not keys
        {" k=0\n[G]\n k=1\nk =2\nk=3\nk=4\n", "G", "k", "9", " k=0\n[G]\n k=1\nk =2\nk=9\nk=4\n"},
        // a new key goes after the group's last key line, before blank lines
        {"[G]\na=1\n\n\n[H]\nb=2\n", "G", "c", "3", "[G]\na=1\nc=3\n\n\n[H]\nb=2\n"},
        {"[G]\n\nnote\n[H]\n", "G", "c", "3", "[G]\nc=3\n\nnote\n[H]\n"},
        {"[G]\na=1\nnote\n\n", "G", "c", "3", "[G]\na=1\nc=3\nnote\n\n"},
        {"[G] x\n", "G", "c", "3", "[G] x\nc=3\n"},
        {"[G]\na=1\r\n\r\n[H]\r\n", "G", "c", "3", "[G]\na=1\r\nc=3\n\r\n[H]\r\n"},
        // after a last line without line feed
        {"[G]\nk=v", "G", "k", "w", "[G]\nk=w\n"},
        {"[G]\na=1", "G", "c", "3", "[G]\na=1\nc=3\n"},
        {"[G]", "G", "c", "3", "[G]\nc=3\n"},
        // lines longer than the line buffer are kept whole
        {"[G]\n" + longLine + "\nk=v\n", "G", "k", "w", "[G]\n" + longLine + "\nk=w\n"},
        {"[G]\na=" + longLine + "\n\n[H]\n", "G", "c", "3", "[G]\na=" + longLine + "\nc=3\n\n[H]\n"},
        {"[G]\nk=" + longLine + "\nz=1\n", "G", "k", "s", "[G]\nk=s\nz=1\n"},
        // a key line of exactly 255 bytes is still written
        {"[G]\nk=v\n", "G", "k", v251.c_str(), "[G]\nk=" + v251 + "\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(set(c.before, c.g, c.k, c.v), c.after) << c.before;
}

TEST_F(RCFile, LongLineIsCutAndDoesNotEndReading)
{
    tu::write_file(path, "[G]\n" + std::string(1500, 'x') + "\nk=v\n");
    EXPECT_EQ(get("G", "k"), "v");
    // exactly 1023 and 1024 bytes before the line feed
    tu::write_file(path, "[G]\n" + std::string(1023, 'y') + "\n" + std::string(1024, 'y') + "\nk=v\n");
    EXPECT_EQ(get("G", "k"), "v");
}

TEST_F(RCFile, LongValueIsCutToTheCallersBuffer)
{
    tu::write_file(path, "[G]\nk=" + std::string(400, 'v') + "\n");
    char buffer[TSL_RC_VALUE_SIZE + 32];
    memset(buffer, '#', sizeof buffer);
    buffer[0] = '\0';
    EXPECT_EQ(tslGetRCFileValue(path.c_str(), "G", "k", buffer), 1);
    EXPECT_EQ(strlen(buffer), (size_t)TSL_RC_VALUE_SIZE - 1);
    for (size_t i = TSL_RC_VALUE_SIZE; i < sizeof buffer; i++)
        ASSERT_EQ(buffer[i], '#') << i;
    // blanks are trimmed before the cut, so the cut keeps the real value
    tu::write_file(path, "[G]\nk=" + std::string(300, ' ') + "abc  \n");
    EXPECT_EQ(get("G", "k"), "abc");
}

TEST_F(RCFile, OverlongNamesAreRefused)
{
    std::string name(300, 'n');
    tu::write_file(path, "[G]\nk=v\n");
    EXPECT_EQ(get(name.c_str(), "k", 0), "");
    EXPECT_EQ(get("G", name.c_str(), 0), "");
    EXPECT_EQ(tslSetRCFileValue(path.c_str(), name.c_str(), "k", "v"), 0);
    EXPECT_EQ(tslSetRCFileValue(path.c_str(), "G", "k", std::string(260, 'v').c_str()), 0);
    std::string group253(253, 'g');  // "[%s]" fits, "[%s]\n" does not
    EXPECT_EQ(tslSetRCFileValue(path.c_str(), group253.c_str(), "k", "v"), 0);
    EXPECT_EQ(tslSetRCFileValue(path.c_str(), "G", "k", "a\nb"), 0);
    EXPECT_EQ(tu::read_file(path), "[G]\nk=v\n");
}

TEST_F(RCFile, FailedWritesKeepTheOldFile)
{
    const std::string old = "[G]\nk=old\n";
    // The folder refuses a new file; the file itself would allow writing.
    tu::write_file(path, old);
    chmod(path.c_str(), 0666);
    chmod(dir.path.c_str(), 0555);
    expect_refused(old, drop_root);
    chmod(dir.path.c_str(), 0777);
    // The file is read-only though the folder would allow a replacement.
    chmod(path.c_str(), 0444);
    expect_refused(old, drop_root);
    chmod(path.c_str(), 0644);
    // A file size limit makes the write fail the way a full disk does.
    expect_refused(old + std::string(2000, '#') + "\n", [] {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit;
        limit.rlim_cur = limit.rlim_max = 100;
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    std::string cmd = "test $(ls -A '" + dir.path + "' | wc -l) -eq 1";
    EXPECT_EQ(system(cmd.c_str()), 0) << "temporary file left behind";
}

TEST_F(RCFile, WriteKeepsFileModeAndFollowsSymlink)
{
    tu::write_file(path, "[G]\nk=1\n");
    chmod(path.c_str(), 0640);
    std::string link = dir / "link";
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    EXPECT_EQ(tslSetRCFileValue(link.c_str(), "G", "k", "2"), 1);
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(tu::read_file(path), "[G]\nk=2\n");
}
