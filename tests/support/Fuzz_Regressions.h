// Test support: the inputs that the fuzz targets found faults with, saved under
// tests/data/fuzz/<target>/, each file one input as the target received it.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "base/File_Io.h"

// (file name, bytes) of every saved input of the target, in name order.
inline std::vector<std::pair<std::string, std::string>> SavedFuzzInputs(const std::string& target) {
    std::vector<std::pair<std::string, std::string>> inputs;
    const std::filesystem::path folder = std::filesystem::path(KAVELIN_TEST_DATA) / "fuzz" / target;
    if (!std::filesystem::is_directory(folder)) return inputs;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            inputs.emplace_back(entry.path().filename().string(),
                                ReadFileBytes(entry.path().string()));
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}
