// kavelin-cli sat generate / solve / check, run as a separate program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/File_Io.h"
#include "base/Real_Format.h"
#include "cli/Cli_Run.h"
#include "solvers/Dimacs_Unit.h"
#include "solvers/Sat_Solution.h"
#include "support/Trace_Capture.h"

namespace fs = std::filesystem;

namespace {

const std::string kNoSeed = "-u KAVELIN_SEED LC_ALL=C LANG=C";

std::string DataFile(const std::string& name) {
    return std::string(KAVELIN_TEST_DATA) + "/sat/" + name;
}

TCliRun Sat(const std::vector<std::string>& args) {
    std::vector<std::string> words{"sat"};
    words.insert(words.end(), args.begin(), args.end());
    return RunCliWords(words, false, kNoSeed);
}

// Every clause of the file's problem is valid under the solution lines of `out`.
void ExpectSatisfies(const std::string& file, const std::string& out) {
    TTraceCapture capture;
    TLineList lines;
    lines.LoadFromFile(file);
    TSatProblem problem;
    ASSERT_TRUE(IsDimacsFileName(file) ? ReadDimacs(lines, file, problem)
                                       : ReadConstraintText(lines, file, problem));
    const std::vector<double> values = SolutionValues(SplitLines(out), problem.VariableCount);
    for (const TClause& clause : problem.Clauses) ASSERT_TRUE(IsClauseValid(clause, values)) << out;
}

class SatCli : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(fDir); }
    void TearDown() override { fs::remove_all(fDir); }
    std::string Write(const std::string& name, const std::string& text) {
        WriteFileAtomically((fDir / name).string(), text);
        return (fDir / name).string();
    }
    const fs::path fDir =
        fs::temp_directory_path() / ("kavelin_sat_cli_" + std::to_string(::getpid()));
};

}  // namespace

TEST_F(SatCli, GeneratedAndDimacsProblemsAreSolvedAndChecked) {
    for (const std::string seed : {"1", "2", "3"}) {
        const TCliRun generated = RunCliWords(
            {"--seed", seed, "sat", "generate", "80", "24", "10", "16"}, false, kNoSeed);
        ASSERT_EQ(generated.fStatus, 0);
        EXPECT_EQ(
            generated.fOut.rfind(
                "[General Datas]\nClause Number=80\nTotal Literal Number=24\n[Clause 0]\n", 0),
            0u);
        const std::string file = Write("problem" + seed + ".txt", generated.fOut);

        const TCliRun solved = Sat({"solve", file, "--seed", seed});
        ASSERT_EQ(solved.fStatus, 10) << solved.fOut << solved.fErr;
        EXPECT_NE(solved.fOut.find("\nSolution trouv\xC3\xA9"
                                   "e\nLiteral 1 "),
                  std::string::npos);
        EXPECT_EQ(Sat({"solve", file, "--seed", seed}).fOut, solved.fOut) << "a seeded run repeats";
        ExpectSatisfies(file, solved.fOut);
        const TCliRun checked =
            Sat({"check", file, Write("solution" + seed + ".txt", solved.fOut)});
        EXPECT_EQ(checked.fStatus, 0);
        EXPECT_EQ(checked.fOut, "every clause satisfied: 80 / 80\n");
    }
    // DIMACS, by its name or by its content.
    const TCliRun solved = Sat({"solve", DataFile("classic.cnf")});
    ASSERT_EQ(solved.fStatus, 10) << solved.fErr;
    ExpectSatisfies(DataFile("classic.cnf"), solved.fOut);
    EXPECT_EQ(Sat({"check", DataFile("classic.cnf"), Write("s.txt", solved.fOut)}).fStatus, 0);
    EXPECT_EQ(Sat({"solve", Write("classic.dat", ReadFileBytes(DataFile("classic.cnf")))}).fStatus,
              10);

    const TCliRun hopeless = Sat({"solve", DataFile("unsatisfiable.cnf"), "--max-steps", "50"});
    EXPECT_EQ(hopeless.fStatus, 0);
    EXPECT_EQ(hopeless.fOut.find("Solution"), std::string::npos);
    EXPECT_EQ(hopeless.fOut.rfind("valides : 1 / 2", 0), 0u) << hopeless.fOut;
}

TEST_F(SatCli, RefusedFilesWrongSolutionsAndWrongArgumentsFail) {
    for (const std::string name :
         {"beyond_variables.cnf", "beyond_variables.txt", "no_header.cnf"}) {
        const TCliRun run = Sat({"solve", DataFile(name)});
        EXPECT_EQ(run.fStatus, 1) << name;
        EXPECT_EQ(run.fOut.find("valides"), std::string::npos) << name;
        EXPECT_NE(run.fErr.find("*ERROR*"), std::string::npos) << name;
    }
    EXPECT_NE(Sat({"solve", DataFile("beyond_variables.txt")})
                  .fErr.find("[Clause 0] Literal1=4 is not a literal"),
              std::string::npos);
    EXPECT_EQ(
        Sat({"solve", Write("none.txt", "[General Datas]\nTotal Literal Number=2\n")}).fStatus, 1);
    EXPECT_EQ(Sat({"solve", (fDir / "missing.txt").string()}).fStatus, 1);

    const TCliRun checked =
        Sat({"check", DataFile("classic.cnf"),
             Write("wrong.txt", "Literal 1 true\nLiteral 2 true\nLiteral 3 All Values Work\n")});
    EXPECT_EQ(checked.fStatus, 1);
    EXPECT_EQ(checked.fOut, "clause 1 not satisfied\n");
    // A malformed solution line is refused with its number, control bytes shown escaped.
    const std::pair<std::string, std::string> malformedLines[] = {
        {"Literal 6 true", "Literal 6 true"},
        {"Literal 0 false", "Literal 0 false"},
        {"Literal x true", "Literal x true"},
        {"Literal 1 maybe", "Literal 1 maybe"},
        {"Literal 1 true ", "Literal 1 true "},
        {std::string("Literal 1\0 true", 15), "Literal 1\\x00 true"}};
    for (const auto& [line, shown] : malformedLines) {
        const TCliRun malformed =
            Sat({"check", DataFile("classic.cnf"),
                 Write("malformed.txt", "valides : 0 / 4\nLiteral 5 true\n" + line + "\n")});
        EXPECT_EQ(malformed.fStatus, 1) << shown;
        EXPECT_NE(malformed.fErr.find("malformed.txt line 3: \"" + shown +
                                      "\" is not \"Literal v "
                                      "true\", \"Literal v false\" or \"Literal v All Values "
                                      "Work\" with v in 1..5\n"),
                  std::string::npos)
            << malformed.fErr;
    }

    const TCliRun refused = Sat({"generate", "5", "4", "6", "5"});
    EXPECT_EQ(refused.fStatus, 1);
    EXPECT_TRUE(refused.fOut.find("[General Datas]") == std::string::npos);
    for (const auto& args :
         std::vector<std::vector<std::string>>{{},
                                               {"guess"},
                                               {"generate", "1", "2", "x", "3"},
                                               {"solve"},
                                               {"solve", "a", "--max-steps", "-1"},
                                               {"check", "a"}})
        EXPECT_EQ(Sat(args).fStatus, 2) << (args.empty() ? "" : args.back());
}

TEST_F(SatCli, RunsListTheirStepsAfterASummaryThatRepeatsWithItsSeed) {
    const std::string problem =
        std::string(KAVELIN_SOURCE_DIR) + "/Data/SATSolver/Default_80x24.txt";
    const TCliRun batch = Sat({"solve", problem, "--runs", "20", "--seed", "3"});
    EXPECT_EQ(batch.fStatus, 10) << batch.fOut << batch.fErr;
    const std::vector<std::string> lines = SplitLines(batch.fOut);
    ASSERT_EQ(lines.size(), 21u) << batch.fOut;
    // Every run of the default problem is solved; the summary is over the steps of
    // the run lines.
    std::vector<double> steps;
    for (size_t i = 1; i < lines.size(); ++i) {
        int run = 0;
        long long n = 0;
        char end[16] = {};
        ASSERT_EQ(std::sscanf(lines[i].c_str(), "run %d steps %lld %15s", &run, &n, end), 3);
        EXPECT_EQ(run, static_cast<int>(i));
        EXPECT_STREQ(end, "solved");
        steps.push_back(static_cast<double>(n));
    }
    std::sort(steps.begin(), steps.end());
    double mean = 0;
    for (const double n : steps) mean += n / 20;
    const std::string summary = "runs 20 solved 20 steps min " + FloatToStr(steps.front()) +
                                " median " + FloatToStr((steps[9] + steps[10]) / 2) + " max " +
                                FloatToStr(steps.back()) + " mean " + FloatToStr(mean);
    EXPECT_EQ(lines[0], summary);
    EXPECT_LT(steps.front(), steps.back()) << "the runs start from different values";

    // A seeded batch repeats, from either --seed; another seed gives other runs.
    EXPECT_EQ(Sat({"solve", problem, "--runs", "20", "--seed", "3"}).fOut, batch.fOut);
    EXPECT_EQ(
        RunCliWords({"--seed", "3", "sat", "solve", problem, "--runs", "20"}, false, kNoSeed).fOut,
        batch.fOut);
    EXPECT_NE(Sat({"solve", problem, "--runs", "20", "--seed", "4"}).fOut, batch.fOut);

    // Runs that use up their budget, and a batch without a solved run.
    const TCliRun budget =
        Sat({"solve", std::string(KAVELIN_SOURCE_DIR) + "/Data/SATSolver/Unsatisfiable_8x3.txt",
             "--runs", "2", "--max-steps", "40"});
    EXPECT_EQ(budget.fStatus, 0);
    EXPECT_EQ(budget.fOut,
              "runs 2 solved 0 steps min - median - max - mean -\n"
              "run 1 steps 40 budget\nrun 2 steps 40 budget\n");
    for (const std::string runs : {"0", "x", "1000001", ""})
        EXPECT_EQ(Sat({"solve", problem, "--runs", runs}).fStatus, 2) << runs;
}
