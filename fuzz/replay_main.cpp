// Replays files (or every file of a folder) through a fuzz target, for
// builds without libFuzzer.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static int replay_file(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        fprintf(stderr, "replay: can't open %s\n", path.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(f);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 0;
}

static int replay(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        fprintf(stderr, "replay: no such file %s\n", path.c_str());
        return 1;
    }
    if (!S_ISDIR(st.st_mode))
        return replay_file(path);
    DIR* dir = opendir(path.c_str());
    if (!dir)
        return 1;
    int failures = 0;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        failures += replay(path + "/" + name);
    }
    closedir(dir);
    return failures;
}

int main(int argc, char** argv)
{
    int failures = 0;
    for (int i = 1; i < argc; i++)
        failures += replay(argv[i]);
    printf("replayed %d path(s), %d failure(s)\n", argc - 1, failures);
    return failures ? 1 : 0;
}
