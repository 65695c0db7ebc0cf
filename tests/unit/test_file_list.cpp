// The file dialog's listing rules: the order, the filter of each expansion
// mode, the parent entry's place, and the names shown.
#include "testutil.h"
#include "dialogs/file_list.h"

static std::string listed(const std::vector<FileEntry>& entries, int mode, const char* const* filters)
{
    std::string out;
    for (FileEntry e : file_list_arrange(entries, mode, filters))
        out += " " + file_list_label(FileEntry{"", e.directory, e.name});
    return out;
}

TEST(FileList, OrderFilterOfEachModeAndShownNames)
{
    // As alphasort leaves them in the C locale, directories marked "/";
    // "link" is an entry stat could not look at.
    std::vector<FileEntry> dir;
    for (std::string n : {"#old/", "#tmp/", "./", "../", ".cache/", ".x.bmp", "Photos.txt/", "README", "a.bmp",
                          "a.jp", "b.c", "link", "photo.JPG", "z.tar.gz"})
        dir.push_back(FileEntry{n.substr(0, n.find('/')), n.back() == '/', ""});
    const char* mine[] = {".bmp", ".jp", ".JPG", "README", ".gz", nullptr};
    const char* lower[] = {".jpg", nullptr};
    const struct { int mode; const char* const* filters; const char* want; } cases[] = {
        {FILE_EXP_ALL, mine, " ../ #old/ #tmp/ .cache/ Photos.txt/ .x.bmp README a.bmp a.jp b.c link photo.JPG z.tar.gz"},
        {FILE_EXP_NORMAL, mine, " ../ #old/ #tmp/ Photos.txt/ README a.bmp a.jp b.c link photo.JPG z.tar.gz"},
        // a.jp has 4 bytes; an extension is matched exactly, case and all.
        {FILE_EXP_SELECT, mine, " ../ #old/ #tmp/ Photos.txt/ README a.bmp photo.JPG z.tar.gz"},
        {FILE_EXP_SELECT, lower, " ../ #old/ #tmp/ Photos.txt/"},
        {FILE_EXP_SELECT, nullptr, " ../ #old/ #tmp/ Photos.txt/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listed(dir, c.mode, c.filters), c.want) << c.mode;
    // A directory that lists no parent entry (one removed while open) gets one.
    EXPECT_EQ(listed({FileEntry{"a.bmp", false, ""}}, FILE_EXP_SELECT, mine), " ../ a.bmp");
    // Only names that are not plain ASCII are converted; control bytes show as '?'.
    auto mark = [](const std::string& s) { return "<" + s + ">"; };
    const char* names[][2] = {{"plain.bmp", "plain.bmp"}, {"bad\xff.bmp", "<bad\xff.bmp>"},
                              {"tab\tand\x7f", "tab?and?"}, {"\xe6\x97\xa5\n", "<\xe6\x97\xa5?>"}};
    for (const auto& n : names)
        EXPECT_EQ(file_list_shown_name(n[0], mark), n[1]);
}
