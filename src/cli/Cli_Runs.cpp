// Helpers for the --runs batches of the randomised engines' subcommands.
#include <algorithm>
#include <numeric>
#include <random>

#include "cli/Cli.h"
#include "common/Random_Source.h"

void SeedRun(const std::optional<uint64_t>& batchSeed, int64_t run) {
    if (batchSeed) {
        // std::seed_seq mixes the two numbers the same way on every standard
        // library, so a batch repeats everywhere.
        const auto seed = static_cast<uint64_t>(*batchSeed);
        const auto number = static_cast<uint64_t>(run);
        std::seed_seq sequence{static_cast<uint32_t>(seed), static_cast<uint32_t>(seed >> 32),
                               static_cast<uint32_t>(number), static_cast<uint32_t>(number >> 32)};
        uint32_t words[2] = {};
        sequence.generate(words, words + 2);
        SetFixedSeed((uint64_t{words[1]} << 32) | words[0]);
    }
    Randomize();
}

void EndRuns(const std::optional<uint64_t>& batchSeed) {
    SetFixedSeed(batchSeed);
}

TRunFigures FiguresOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    TRunFigures figures;
    figures.fMin = values.front();
    figures.fMax = values.back();
    figures.fMedian = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    figures.fMean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(n);
    return figures;
}
