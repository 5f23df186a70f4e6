// kavelin-cli genetic [--seed N], run as a separate program.
#include <gtest/gtest.h>

#include <cmath>
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

}  // namespace
