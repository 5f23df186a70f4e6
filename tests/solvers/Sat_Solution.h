// Test support: the values that solution lines give, read apart from the
// program's own check: 1.0 for "Literal v true", 0.0 for "Literal v false" and
// 0.5 (undecided, satisfying nothing) for variables listed otherwise or not at all.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

inline std::vector<double> SolutionValues(const std::vector<std::string>& lines,
                                          int32_t variables) {
    std::vector<double> values(static_cast<size_t>(variables) + 1, 0.5);
    values[0] = 0.0;
    for (const std::string& line : lines) {
        int variable = 0;
        char word[8] = {};
        if (std::sscanf(line.c_str(), "Literal %d %7s", &variable, word) != 2 || variable < 1 ||
            variable > variables)
            continue;
        const std::string meaning = word;
        values[static_cast<size_t>(variable)] = meaning == "true"    ? 1.0
                                                : meaning == "false" ? 0.0
                                                                     : 0.5;
    }
    return values;
}
