// A fuzz target as a plain program: every file of the folders it is given runs
// once through the target's LLVMFuzzerTestOneInput, in name order, after its
// LLVMFuzzerInitialize. The normal build links each target with this driver so
// that CTest replays its corpus and its saved inputs in every test run.
//
//   TARGET_replay CORPUS [MORE...]
//
// CORPUS must exist and hold at least one file (a corpus moved or renamed must
// not pass by replaying nothing); the other folders may be missing, as most
// targets have no saved input yet. An input whose run lets an exception out
// (a broken invariant, or any error the target does not expect) is named with
// the exception's text; the program then exits with 1, after the other inputs.
// Each input is named before it runs, so a sanitizer report that ends the
// program at once follows the name of the input that caused it.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "base/File_Io.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

// The regular files of the folder, in name order; empty when it does not exist.
std::vector<fs::path> FilesOf(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    if (!fs::is_directory(folder, error)) return files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Runs one input; returns the text of the exception that escaped, or "" when none did.
std::string Run(const fs::path& file) {
    try {
        const std::string bytes = ReadFileBytes(file.string());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        return std::string();
    } catch (const std::exception& e) {
        return std::string(e.what()).empty() ? std::string("(an exception without text)")
                                             : std::string(e.what());
    } catch (...) {
        return "(an exception of no standard type)";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS [MORE-FOLDERS...]\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> inputs;
    for (int a = 1; a < argc; ++a) {
        const std::vector<fs::path> files = FilesOf(argv[a]);
        if (a == 1 && files.empty()) {
            std::fprintf(stderr, "%s: the corpus %s has no file\n", argv[0], argv[1]);
            return 2;
        }
        inputs.insert(inputs.end(), files.begin(), files.end());
    }
    LLVMFuzzerInitialize(&argc, &argv);

    int failed = 0;
    double slowest = 0;
    std::string slowestName;
    const auto start = std::chrono::steady_clock::now();
    for (const fs::path& file : inputs) {
        // Named before it runs, so that a sanitizer's report follows its name.
        std::printf("%s\n", file.string().c_str());
        std::fflush(stdout);
        const auto before = std::chrono::steady_clock::now();
        const std::string error = Run(file);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
        if (seconds > slowest) {
            slowest = seconds;
            slowestName = file.string();
        }
        if (!error.empty()) {
            ++failed;
            std::printf("FAILED %s: %s\n", file.string().c_str(), error.c_str());
        }
    }
    const double total =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu inputs in %.2f s (slowest %.3f s: %s)\n", inputs.size(), total, slowest,
                slowestName.c_str());
    std::printf("%zu passed, %d failed\n", inputs.size() - static_cast<size_t>(failed), failed);
    return failed == 0 ? 0 : 1;
}
