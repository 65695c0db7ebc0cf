// The resource file store: lookups, byte-exact writes, long lines and
// values, failed writes keeping the old file, and no memory kept by a call.
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
        EXPECT_EQ(tslSetRCFileValue(path.c_str(), g, k, v), 1) << before;
        return tu::read_file(path);
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

const std::string SAMPLE = tu::read_file(TSL_TEST_DATA "/rcfile/sample.tslrc");

}  // namespace

TEST_F(RCFile, Lookups)
{
    const std::string x1500(1500, 'x'), v400(400, 'v'), n300(300, 'n');
    const struct {
        std::string file;
        const char *group, *key;
        int found;
        const char* deflt;
        std::string want;
    } cases[] = {
        {SAMPLE, "Tessel", "BackColor", 1, "", "grey70"}, {SAMPLE, "Tessel", "FontColor", 1, "", "black"},
        {SAMPLE, "Tessel", "CharCode", 1, "x", ""}, {SAMPLE, "Tessel", "DoubleClickTime", 1, "", "300\r"},
        // first header wins: MouseButton lives only under the second [Tessel]
        {SAMPLE, "Tessel", "MouseButton", 0, " dflt ", "dflt"}, {SAMPLE, "Tessel2", "BackColor", 1, "", "red"},
        // header with text after the bracket; first key wins; last line without line feed
        {SAMPLE, "Viewer", "MouseButton", 1, "", "3"}, {SAMPLE, "Viewer", "Last", 1, "", "final"},
        {SAMPLE, "Tessel", "Back", 0, "", ""}, {SAMPLE, "Tessel", "BackColorX", 0, "keep", "keep"},
        // indented keys and blanks before '=' are not keys; names are case-sensitive
        {SAMPLE, "Tessel", "Interval", 0, "\t35 ", "35"}, {SAMPLE, "Tessel", "IM", 0, "FALSE", "FALSE"},
        {SAMPLE, "tessel", "BackColor", 0, "", ""}, {SAMPLE, "Tessel", "backcolor", 0, "", ""},
        {SAMPLE, "Tesse", "BackColor", 0, "", ""}, {"[G]", "G", "k", 0, "", ""}, {"[G]\nk=v", "G", "k", 1, "", "v"},
        // a line longer than the line buffer, 1023 and 1024 bytes: reading goes on
        {"[G]\n" + x1500 + "\nk=v\n", "G", "k", 1, "", "v"},
        {"[G]\n" + x1500.substr(477) + "\n" + x1500.substr(476) + "\nk=v\n", "G", "k", 1, "", "v"},
        // a value is cut to the caller's 256 bytes, after blanks are trimmed; too long a name is never found
        {"[G]\nk=" + v400 + "\n", "G", "k", 1, "", v400.substr(145)},
        {"[G]\nk=" + std::string(300, ' ') + "abc  \n", "G", "k", 1, "", "abc"},
        {"[G]\nk=v\n", n300.c_str(), "k", 0, "", ""},
    };
    for (const auto& c : cases) {
        tu::write_file(path, c.file);
        char value[TSL_RC_VALUE_SIZE];
        snprintf(value, sizeof value, "%s", c.deflt);
        EXPECT_EQ(tslGetRCFileValue(path.c_str(), c.group, c.key, value), c.found) << c.group << "/" << c.key;
        EXPECT_EQ(value, c.want) << c.group << "/" << c.key;
    }
    char blanks[] = " \t a b \t ", only[] = " \t ", feeds[] = "\nx\n";
    EXPECT_EQ(tslSpaceCut(blanks) + tslSpaceCut(only) + tslSpaceCut(feeds), 3);
    EXPECT_EQ(std::string(blanks) + "|" + only + "|" + feeds, "a b||\nx\n");
    // A FIFO in the file's place is refused at once (an open would wait for
    // a writer; the alarm ends a wait), the value untouched, and a write does not replace it.
    char value[TSL_RC_VALUE_SIZE] = "  untouched  ";
    ASSERT_EQ(unlink(path.c_str()) | mkfifo(path.c_str(), 0600), 0);
    alarm(30);
    EXPECT_EQ(tu::stderr_of([&] {
                  EXPECT_EQ(tslGetRCFileValue(path.c_str(), "G", "k", value), 0);
                  EXPECT_EQ(tslSetRCFileValue(path.c_str(), "G", "k", "v"), 0);
              }),
              "Error: Can't open rc file (" + path + ")\nError: Can't open rc file (" + path + ")\n");
    alarm(0);
    struct stat st;
    EXPECT_TRUE(stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode) && !strcmp(value, "  untouched  "));
}

TEST_F(RCFile, WritesAreByteExactFailedWritesKeepTheOldFileAndCallsKeepNoMemory)
{
    const std::string longLine(1500, 'x'), v251(251, 'v');
    const struct { std::string before; const char *g, *k, *v; std::string after; } cases[] = {
        {"", "G", "K", "V", "[G]\nK=V\n"},
        // a new group after a file with or without a final line feed
        {"[A]\nx=1", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"}, {"[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
        // names are case-sensitive
        {"[a]\nK=1\n", "A", "K", "2", "[a]\nK=1\n[A]\nK=2\n"}, {"[A]\nk=1\n", "A", "K", "2", "[A]\nk=1\nK=2\n"},
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
        {"[G]\na=1\nnote\n\n", "G", "c", "3", "[G]\na=1\nc=3\nnote\n\n"}, {"[G] x\n", "G", "c", "3", "[G] x\nc=3\n"},
        {"[G]\na=1\r\n\r\n[H]\r\n", "G", "c", "3", "[G]\na=1\r\nc=3\n\r\n[H]\r\n"},
        // after a last line without line feed; a key line of exactly 255 bytes is still written
        {"[G]\nk=v", "G", "k", "w", "[G]\nk=w\n"}, {"[G]\na=1", "G", "c", "3", "[G]\na=1\nc=3\n"},
        {"[G]", "G", "c", "3", "[G]\nc=3\n"}, {"[G]\nk=v\n", "G", "k", v251.c_str(), "[G]\nk=" + v251 + "\n"},
        // lines longer than the line buffer are kept whole
        {"[G]\n" + longLine + "\nk=v\n", "G", "k", "w", "[G]\n" + longLine + "\nk=w\n"},
        {"[G]\na=" + longLine + "\n\n[H]\n", "G", "c", "3", "[G]\na=" + longLine + "\nc=3\n\n[H]\n"},
        {"[G]\nk=" + longLine + "\nz=1\n", "G", "k", "s", "[G]\nk=s\nz=1\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(set(c.before, c.g, c.k, c.v), c.after) << c.before;
    unlink(path.c_str());
    EXPECT_EQ(tu::stderr_of([&] { EXPECT_EQ(tslSetRCFileValue(path.c_str(), "G", "K", "V"), 1); }),
              "Warring: Can't open rc file (" + path + "). Create it.\n");

    // Names, values and lines that do not fit, and line feeds, are refused.
    const std::string n300(300, 'n'), v260(260, 'v'), g253(253, 'g');  // "[%s]" fits, "[%s]\n" does not
    const char* refused[][3] = {{n300.c_str(), "k", "v"}, {"G", "k", v260.c_str()}, {g253.c_str(), "k", "v"},
                                {"G", "k", "a\nb"}, {"G\n", "k", "v"}};
    tu::write_file(path, std::string("[G]\nk=v\n"));
    for (const auto& r : refused)
        EXPECT_EQ(tslSetRCFileValue(path.c_str(), r[0], r[1], r[2]), 0) << r[0] << "/" << r[2];
    EXPECT_EQ(tu::read_file(path), "[G]\nk=v\n");

    // No call keeps memory.
    tu::write_file(path, SAMPLE);
    char value[TSL_RC_VALUE_SIZE];
    tslGetRCFileValue(path.c_str(), "Viewer", "Last", value);
    size_t before = tu::live_bytes();
    for (int i = 0; i < 1000; i++) {
        tslGetRCFileValue(path.c_str(), "Viewer", "Last", value);
        if (i % 10 == 0)
            tslSetRCFileValue(path.c_str(), "Viewer", "Last", i % 20 ? "odd" : "even");
    }
    // A working copy kept by each call would be some 200 bytes a call.
    EXPECT_LT(tu::live_bytes(), before + 8000);

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

    // A write through a link replaces the file it names, with its mode.
    chmod(path.c_str(), 0640);
    std::string link = dir / "link";
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    EXPECT_EQ(tslSetRCFileValue(link.c_str(), "G", "k", "2"), 1);
    struct stat st;
    EXPECT_TRUE(lstat(link.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && stat(path.c_str(), &st) == 0 &&
                (st.st_mode & 0777) == 0640);
    EXPECT_EQ(tu::read_file(path), "[G]\nk=2\n" + std::string(2000, '#') + "\n");
}
