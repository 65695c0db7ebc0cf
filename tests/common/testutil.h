// Helpers shared by unit and X tests: whole-file bytes, temporary folders
// and HOME, captured standard error, open descriptors, live heap bytes, and
// builders for bitmap files and readers of reference pictures.
#ifndef TSL_TEST_UTIL_H
#define TSL_TEST_UTIL_H

#include <dirent.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

// The sanitizers' allocator reports its own count; glibc's does otherwise.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace tu {

inline bool starts_with(const std::string& s, const std::string& head)
{
    return s.rfind(head, 0) == 0;
}

inline std::string read_file(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

template <class Bytes>
inline std::string write_file(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), (long)bytes.size());
    return path;
}

inline std::string write_file(const std::string& path, const char* text)
{
    return write_file(path, std::string(text));
}

// A fresh folder removed with its contents when the owner goes.
struct TempDir {
    std::string path;
    TempDir()
    {
        char tmpl[] = "/tmp/tsltest.XXXXXX";
        path = mkdtemp(tmpl) ? tmpl : "";
    }
    ~TempDir()
    {
        std::string cmd = "chmod -R u+rwx '" + path + "' 2>/dev/null; rm -rf '" + path + "'";
        if (starts_with(path, "/tmp/tsltest.") && system(cmd.c_str()) != 0)
            return;
    }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

// HOME pointed at a fresh folder for the owner's lifetime.
struct TempHome : TempDir {
    bool had = getenv("HOME") != nullptr;
    std::string old = had ? getenv("HOME") : "";
    TempHome() { setenv("HOME", path.c_str(), 1); }
    ~TempHome() { had ? setenv("HOME", old.c_str(), 1) : unsetenv("HOME"); }
};

// What f writes to standard error.
template <class F>
inline std::string stderr_of(F&& f)
{
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

inline int open_fds()
{
    int n = 0;
    DIR* d = opendir("/proc/self/fd");
    while (d && readdir(d))
        n++;
    if (d)
        closedir(d);
    return n;
}

// Bytes the program holds from the heap (large blocks are mapped apart),
// so that a test can tell a leak without a leak checker.
inline size_t live_bytes()
{
    if (__sanitizer_get_current_allocated_bytes)
        return __sanitizer_get_current_allocated_bytes();
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// Little-endian numbers of n bytes into a file's bytes.
inline void put32(std::vector<uint8_t>& b, size_t at, uint32_t v, int n = 4)
{
    for (int i = 0; i < n; i++)
        b[at + i] = (uint8_t)(v >> (8 * i));
}

inline void put16(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    put32(b, at, v, 2);
}

struct Rgb {
    uint8_t r, g, b;
};

// Bitmap file bytes; value(x, y) gives a palette index or 0xRRGGBB for the
// picture's row y counted from the top.  colorsUsed < 0 stores the palette size.
inline std::vector<uint8_t> make_bmp(int w, int h, int bits, const std::vector<Rgb>& palette,
                                     const std::function<uint32_t(int, int)>& value,
                                     uint32_t infoSize = 40, long colorsUsed = -1)
{
    size_t palOff = 14 + infoSize;
    size_t dataOff = palOff + 4 * palette.size();
    size_t rb = ((size_t)w * bits + 31) / 32 * 4;
    std::vector<uint8_t> b(dataOff + rb * h, 0);
    b[0] = 'B', b[1] = 'M';
    // offset, value, bytes: file size, pixel offset, header size, width, height, planes, bits, colours used
    const uint32_t header[][3] = {{2, (uint32_t)b.size(), 4}, {10, (uint32_t)dataOff, 4}, {14, infoSize, 4},
                                  {18, (uint32_t)w, 4}, {22, (uint32_t)h, 4}, {26, 1, 2}, {28, (uint32_t)bits, 2},
                                  {46, (uint32_t)(colorsUsed < 0 ? (long)palette.size() : colorsUsed), 4}};
    for (const auto& f : header)
        put32(b, f[0], f[1], (int)f[2]);
    for (size_t i = 0; i < palette.size(); i++)
        b[palOff + 4 * i] = palette[i].b, b[palOff + 4 * i + 1] = palette[i].g, b[palOff + 4 * i + 2] = palette[i].r;
    for (int y = 0; y < h; y++) {
        uint8_t* row = &b[dataOff + rb * (size_t)(h - 1 - y)];
        for (int x = 0; x < w; x++) {
            uint32_t v = value(x, y);
            if (bits == 1)
                row[x / 8] |= (uint8_t)((v & 1) << (7 - x % 8));
            else if (bits == 4)
                row[x / 2] |= (uint8_t)((v & 15) << (x % 2 ? 0 : 4));
            else if (bits == 8)
                row[x] = (uint8_t)v;
            else
                row[3 * x] = (uint8_t)v, row[3 * x + 1] = (uint8_t)(v >> 8), row[3 * x + 2] = (uint8_t)(v >> 16);
        }
    }
    return b;
}

// Pixels of a binary PPM or PGM as written by djpeg, always as RGB triples.
inline std::vector<uint8_t> read_pnm_rgb(const std::string& path)
{
    std::string pnm = read_file(path);
    char magic[3] = {};
    int w = 0, h = 0, maxval = 0, header = 0;
    std::vector<uint8_t> rgb;
    if (sscanf(pnm.c_str(), "%2s %d %d %d%n", magic, &w, &h, &maxval, &header) != 4 || w <= 0 || h <= 0)
        return rgb;
    size_t channels = magic[1] == '6' ? 3 : 1, start = (size_t)header + 1, end = start + (size_t)w * h * channels;
    for (size_t i = start; end <= pnm.size() && i < end; i += channels)
        for (size_t c = 0; c < 3; c++)
            rgb.push_back((uint8_t)pnm[i + (channels == 3 ? c : 0)]);
    return rgb;
}

// Pixels of a PAM file of RGBA tuples (as scripts/make-test-images writes).
inline std::vector<uint8_t> read_pam_rgba(const std::string& path, int* width, int* height)
{
    std::string pam = read_file(path);
    size_t end = pam.find("ENDHDR\n");
    if (end == std::string::npos || sscanf(pam.c_str(), "P7 WIDTH %d HEIGHT %d", width, height) != 2)
        return {};
    return std::vector<uint8_t>(pam.begin() + (long)end + 7, pam.end());
}

// Pictures in the folder scripts/make-test-images fills: the lying ones
// (named "bad_...") or the good ones, without their PAM twins.
inline std::vector<std::string> format_samples(bool bad)
{
    std::vector<std::string> names;
    std::string dir = std::string(TSL_TEST_DATA) + "/image/formats/";
    DIR* d = opendir(dir.c_str());
    while (dirent* e = d ? readdir(d) : nullptr) {
        std::string n = e->d_name;
        if (n[0] != '.' && starts_with(n, "bad_") == bad && n.find(".pam") == std::string::npos)
            names.push_back(dir + n);
    }
    if (d)
        closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tu

#endif
