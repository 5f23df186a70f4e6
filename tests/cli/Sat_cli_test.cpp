// kavelin-cli sat generate / solve / check, run as a separate program.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/Cli_Run.h"
#include "common/File_Io.h"
#include "common/Ini_Manager_Unit.h"
#include "solvers/Dimacs_Unit.h"
#include "solvers/SATSolver_Unit.h"
#include "support/Trace_Capture.h"

namespace fs = std::filesystem;

namespace {

const std::string kNoSeed = "-u KAVELIN_SEED LC_ALL=C LANG=C";

std::string DataFile(const std::string& name) {
    return std::string(KAVELIN_TEST_DATA) + "/sat/" + name;
}

class SatCli : public ::testing::Test {
  protected:
    void SetUp() override {
        fDir = fs::temp_directory_path() / ("kavelin_sat_cli_" + std::to_string(::getpid()));
        fs::create_directories(fDir);
    }
    void TearDown() override { fs::remove_all(fDir); }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (fDir / name).string();
        WriteFileAtomically(path, text);
        return path;
    }
    fs::path fDir;
};

// Checks, independently of `sat check`, that the "Literal v true/false" lines of
// a solve's output satisfy every clause of the problem.
void ExpectSatisfies(const TSatProblem& problem, const std::string& out) {
    std::vector<double> values(static_cast<size_t>(problem.VariableCount) + 1, 0.5);
    for (const std::string& line : SplitLines(out)) {
        int variable = 0;
        char word[8] = {};
        if (std::sscanf(line.c_str(), "Literal %d %7s", &variable, word) == 2 && variable >= 1 &&
            variable <= problem.VariableCount)
            values[static_cast<size_t>(variable)] = std::string(word) == "true"    ? 1.0
                                                    : std::string(word) == "false" ? 0.0
                                                                                   : 0.5;
    }
    for (const TClause& clause : problem.Clauses) ASSERT_TRUE(IsClauseValid(clause, values)) << out;
}

TSatProblem ProblemOfText(const std::string& text) {
    TTraceCapture capture;
    TSatProblem problem;
    EXPECT_EQ(ReadConstraints(TIniManager(TLineList(SplitLines(text))), problem),
              TConstraintRead::Read);
    return problem;
}

}  // namespace

TEST_F(SatCli, GeneratedProblemsAreSolvedAndChecked) {
    const TCliRun first =
        RunCliWords({"sat", "generate", "80", "24", "10", "16", "--seed", "1"}, false, kNoSeed);
    EXPECT_EQ(first.fStatus, 2) << "generate takes exactly four numbers";
    for (const std::string seed : {"1", "2", "3", "4", "5"}) {
        const TCliRun generated = RunCliWords(
            {"--seed", seed, "sat", "generate", "80", "24", "10", "16"}, false, kNoSeed);
        ASSERT_EQ(generated.fStatus, 0);
        EXPECT_EQ(
            generated.fOut.rfind(
                "[General Datas]\nClause Number=80\nTotal Literal Number=24\n[Clause 0]\n", 0),
            0u);
        EXPECT_EQ(
            RunCliWords({"--seed", seed, "sat", "generate", "80", "24", "10", "16"}, false, kNoSeed)
                .fOut,
            generated.fOut);
        const std::string file = Write("problem" + seed + ".txt", generated.fOut);

        const TCliRun solved = RunCliWords({"sat", "solve", file, "--seed", seed}, false, kNoSeed);
        ASSERT_EQ(solved.fStatus, 10) << solved.fOut << solved.fErr;
        EXPECT_EQ(solved.fOut.rfind("valides : ", 0), 0u);
        EXPECT_NE(solved.fOut.find("\nSolution trouv\xC3\xA9"
                                   "e\nLiteral 1 "),
                  std::string::npos);
        EXPECT_EQ(RunCliWords({"sat", "solve", file, "--seed", seed}, false, kNoSeed).fOut,
                  solved.fOut);
        ExpectSatisfies(ProblemOfText(generated.fOut), solved.fOut);

        const std::string solution = Write("solution" + seed + ".txt", solved.fOut);
        const TCliRun checked = RunCliWords({"sat", "check", file, solution}, false, kNoSeed);
        EXPECT_EQ(checked.fStatus, 0);
        EXPECT_EQ(checked.fOut, "every clause satisfied: 80 / 80\n");
    }
}

TEST_F(SatCli, DimacsFilesSolveAndTheBudgetEndsHopelessRuns) {
    const TCliRun solved = RunCliWords({"sat", "solve", DataFile("classic.cnf")}, false, kNoSeed);
    ASSERT_EQ(solved.fStatus, 10) << solved.fErr;
    TSatProblem problem;
    {
        TTraceCapture capture;
        TLineList lines;
        lines.LoadFromFile(DataFile("classic.cnf"));
        ASSERT_TRUE(ReadDimacs(lines, "classic.cnf", problem));
    }
    ExpectSatisfies(problem, solved.fOut);
    EXPECT_EQ(RunCliWords({"sat", "check", DataFile("classic.cnf"), Write("s.txt", solved.fOut)},
                          false, kNoSeed)
                  .fStatus,
              0);

    // A DIMACS text is recognised by its content too.
    const std::string renamed = Write("classic.dat", ReadFileBytes(DataFile("classic.cnf")));
    EXPECT_EQ(RunCliWords({"sat", "solve", renamed}, false, kNoSeed).fStatus, 10);

    const TCliRun hopeless = RunCliWords(
        {"sat", "solve", DataFile("unsatisfiable.cnf"), "--max-steps", "50"}, false, kNoSeed);
    EXPECT_EQ(hopeless.fStatus, 0);
    EXPECT_EQ(hopeless.fOut.find("Solution"), std::string::npos);
    EXPECT_EQ(hopeless.fOut.rfind("valides : 1 / 2", 0), 0u) << hopeless.fOut;
    EXPECT_TRUE(hopeless.fErr.empty());
}

TEST_F(SatCli, RefusedFilesAndWrongSolutionsFail) {
    for (const std::string name :
         {"beyond_variables.cnf", "beyond_variables.txt", "no_header.cnf"}) {
        const TCliRun run = RunCliWords({"sat", "solve", DataFile(name)}, false, kNoSeed);
        EXPECT_EQ(run.fStatus, 1) << name;
        EXPECT_EQ(run.fOut.find("valides"), std::string::npos) << name;
        EXPECT_NE(run.fErr.find("*ERROR*"), std::string::npos) << name;
    }
    EXPECT_NE(RunCliWords({"sat", "solve", DataFile("beyond_variables.txt")}, false, kNoSeed)
                  .fErr.find("[Clause 0] Literal1=4 is not a literal of -3..-1 or 1..3"),
              std::string::npos);
    EXPECT_EQ(RunCliWords(
                  {"sat", "solve", Write("none.txt", "[General Datas]\nTotal Literal Number=2\n")},
                  false, kNoSeed)
                  .fStatus,
              1);
    EXPECT_EQ(
        RunCliWords({"sat", "solve", (fDir / "missing.txt").string()}, false, kNoSeed).fStatus, 1);

    const std::string wrong =
        Write("wrong.txt", "Literal 1 true\nLiteral 2 true\nLiteral 3 All Values Work\n");
    const TCliRun checked =
        RunCliWords({"sat", "check", DataFile("classic.cnf"), wrong}, false, kNoSeed);
    EXPECT_EQ(checked.fStatus, 1);
    EXPECT_EQ(checked.fOut, "clause 1 not satisfied\n");

    const TCliRun refused = RunCliWords({"sat", "generate", "5", "4", "6", "5"}, false, kNoSeed);
    EXPECT_EQ(refused.fStatus, 1);
    EXPECT_EQ(refused.fOut.find("[General Datas]"), std::string::npos);

    for (const auto& args :
         std::vector<std::vector<std::string>>{{"sat"},
                                               {"sat", "guess"},
                                               {"sat", "generate", "1", "2", "3"},
                                               {"sat", "generate", "1", "2", "x", "3"},
                                               {"sat", "solve"},
                                               {"sat", "solve", "a", "b"},
                                               {"sat", "solve", "a", "--max-steps", "-1"},
                                               {"sat", "check", "a"}})
        EXPECT_EQ(RunCliWords(args, false, kNoSeed).fStatus, 2) << args.back();
}
