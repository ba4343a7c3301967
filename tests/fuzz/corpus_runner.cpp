// Replays saved inputs through a fuzz target's entry without libFuzzer: each argument is
// an input file, or a folder whose files are all replayed. Exits 0 when every input passed
// (a broken property or a sanitizer report ends the process before that).
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (std::filesystem::is_directory(argv[i], ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
                if (entry.is_regular_file())
                    files.push_back(entry.path().string());
        } else {
            files.push_back(argv[i]);
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s INPUT-FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    for (const std::string& file : files) {
        bool exists = false;
        std::string bytes = fuzz::ReadFile(file, &exists);
        if (!exists) {
            std::fprintf(stderr, "%s: cannot be read\n", file.c_str());
            return 2;
        }
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.c_str(), bytes.size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs passed\n", files.size());
    return 0;
}
