// kavelin-cli genetic [--seed N], run as a separate program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli_Run.h"

namespace {

const std::string kNoSeed = "-u KAVELIN_SEED LC_ALL=C LANG=C";

// The value of the one line "Optimum : X".
double Optimum(const std::string& out) {
    const std::string prefix = "Optimum : ";
    EXPECT_EQ(out.rfind(prefix, 0), 0u) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << out;
    return out.size() > prefix.size() ? std::stod(out.substr(prefix.size())) : 0;
}

TEST(GeneticCli, PrintsTheOptimum) {
    const TCliRun run = RunCliWords({"genetic"}, false, kNoSeed);
    EXPECT_EQ(run.fStatus, 0);
    EXPECT_NEAR(Optimum(run.fOut), std::sqrt(2.0), 1e-3);
}

TEST(GeneticCli, SeededRunsRepeat) {
    const TCliRun first = RunCliWords({"genetic", "--seed", "7"}, false, kNoSeed);
    EXPECT_EQ(first.fStatus, 0);
    EXPECT_NEAR(Optimum(first.fOut), std::sqrt(2.0), 1e-3);
    EXPECT_EQ(RunCliWords({"genetic", "--seed", "7"}, false, kNoSeed).fOut, first.fOut);
    // The global option and the variable give the same run.
    EXPECT_EQ(RunCliWords({"--seed", "7", "genetic"}, false, kNoSeed).fOut, first.fOut);
    EXPECT_EQ(RunCliWords({"genetic"}, false, "KAVELIN_SEED=7 LC_ALL=C").fOut, first.fOut);
}

TEST(GeneticCli, WrongArgumentsFail) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"genetic", "--seed"},
                                                                  {"genetic", "--seed", "x"},
                                                                  {"genetic", "--seed", "-1"},
                                                                  {"genetic", "extra"}}) {
        const TCliRun run = RunCliWords(args, true, kNoSeed);
        EXPECT_EQ(run.fStatus, 2) << args.back();
        EXPECT_EQ(run.fOut.find("Optimum"), std::string::npos) << args.back();
        EXPECT_NE(run.fOut.find("genetic"), std::string::npos) << args.back();
    }
}

TEST(GeneticCli, RunsGiveTheSpreadOfTheOptimaAndRepeatWithTheirSeed) {
    const TCliRun batch = RunCliWords({"genetic", "--runs", "3", "--seed", "7"}, false, kNoSeed);
    EXPECT_EQ(batch.fStatus, 0);
    double least = 0, median = 0, greatest = 0, distance = 0;
    ASSERT_EQ(
        std::sscanf(batch.fOut.c_str(),
                    "runs 3 optimum min %lf median %lf max %lf\nmean |optimum - sqrt(2)| %lf\n",
                    &least, &median, &greatest, &distance),
        4)
        << batch.fOut;
    EXPECT_EQ(std::count(batch.fOut.begin(), batch.fOut.end(), '\n'), 2);
    EXPECT_LE(least, median);
    EXPECT_LE(median, greatest);
    EXPECT_NEAR(least, std::sqrt(2.0), 1e-2);
    EXPECT_NEAR(greatest, std::sqrt(2.0), 1e-2);
    EXPECT_GE(distance, 0);
    EXPECT_LE(distance, std::max(std::sqrt(2.0) - least, greatest - std::sqrt(2.0)));
    EXPECT_EQ(RunCliWords({"--seed", "7", "genetic", "--runs", "3"}, false, kNoSeed).fOut,
              batch.fOut);
    for (const std::string runs : {"0", "-2", "x", "100001"})
        EXPECT_EQ(RunCliWords({"genetic", "--runs", runs}, false, kNoSeed).fStatus, 2) << runs;
}

}  // namespace
