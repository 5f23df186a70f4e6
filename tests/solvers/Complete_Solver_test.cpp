// The complete solver: verdicts on problems whose answer is known, every model
// checked, every unsatisfiable verdict confirmed by picosat, the stops through
// the progress and the time limit, the DRAT proof, and the census.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "solvers/Complete_Solver_Unit.h"
#include "solvers/Sat_Problems.h"
#include "support/Trace_Capture.h"

namespace {

TCompleteOptions Options(double seconds, int64_t conflicts = -1, const std::string& proof = {}) {
    TCompleteOptions options;
    options.TimeLimitSeconds = seconds;
    options.MaxConflicts = conflicts;
    options.ProofFile = proof;
    return options;
}

// Stops at its `stopAt`-th report.
class TStopAfter final : public TProgress {
  public:
    explicit TStopAfter(int stopAt) : fStopAt(stopAt) {}
    bool Report(std::int64_t, std::int64_t) override { return ++fReports >= fStopAt; }
    int fReports = 0;

  private:
    int fStopAt;
};

}  // namespace

TEST(CompleteSolver, SatisfiableProblemsGiveModelsThatSatisfyEveryClause) {
    TTraceCapture capture;
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        for (const int32_t n : {5, 20, 100}) {
            const TSatProblem problem = PlantedKSat(n, n * 426 / 100, 3, seed);
            const TCompleteResult result = SolveComplete(problem);
            ASSERT_EQ(result.Verdict, TSatVerdict::Satisfiable) << n << " " << seed;
            ASSERT_EQ(result.Model.size(), static_cast<size_t>(n) + 1);
            EXPECT_EQ(FirstFailingClause(problem, result.Model), -1);
        }
    }
    // No clause, and variables that no clause names, are satisfiable too.
    EXPECT_EQ(SolveComplete(TSatProblem{0, {}}).Verdict, TSatVerdict::Satisfiable);
    const TCompleteResult loose = SolveComplete(TSatProblem{5, {{2}, {-4}}});
    ASSERT_EQ(loose.Verdict, TSatVerdict::Satisfiable);
    EXPECT_TRUE(loose.Model[2]);
    EXPECT_FALSE(loose.Model[4]);
    EXPECT_TRUE(capture.Boxes().empty());
}

TEST(CompleteSolver, UnsatisfiableVerdictsAgreeWithPicosat) {
    TTraceCapture capture;
    std::vector<TSatProblem> problems{
        TSatProblem{1, {{1}, {-1}}},
        TSatProblem{2, {{1, 2}, {}}},  // an empty clause
        Pigeonhole(5, 4),
        Pigeonhole(6, 5),
    };
    // Random 3-SAT far above the threshold: unsatisfiable in practice, and the
    // verdict must agree with picosat's whichever it is.
    for (uint64_t seed = 1; seed <= 5; ++seed) problems.push_back(RandomKSat(30, 300, 3, seed));
    for (const TSatProblem& problem : problems) {
        const TCompleteResult result = SolveComplete(problem);
        ASSERT_EQ(result.Verdict, TSatVerdict::Unsatisfiable);
        EXPECT_TRUE(result.Model.empty());
        EXPECT_EQ(PicosatStatus(problem), 20);
    }
    // Near the threshold both answers occur: each verdict is picosat's.
    for (uint64_t seed = 1; seed <= 10; ++seed) {
        const TSatProblem problem = RandomKSat(40, 170, 3, seed);
        const TCompleteResult result = SolveComplete(problem);
        EXPECT_EQ(PicosatStatus(problem), result.Verdict == TSatVerdict::Satisfiable ? 10 : 20);
        if (result.Verdict == TSatVerdict::Satisfiable) {
            EXPECT_EQ(FirstFailingClause(problem, result.Model), -1);
        }
    }
}

TEST(CompleteSolver, StopsThroughTheProgressAndTheLimits) {
    TTraceCapture capture;
    const TSatProblem hard = Pigeonhole(11, 10);
    TStopAfter stop(3);
    TCompleteOptions named;
    named.WorkName = "Check Integrity";
    const TCompleteResult stopped = SolveComplete(hard, named, stop);
    EXPECT_EQ(stopped.Verdict, TSatVerdict::Unknown);
    EXPECT_TRUE(stopped.Interrupted);
    EXPECT_FALSE(stopped.LimitReached);
    EXPECT_EQ(stop.fReports, 3) << "the search ends at the report that asks it to";
    ASSERT_FALSE(capture.Lines().empty());
    EXPECT_EQ(capture.Lines().back(), "Check Integrity interrupted");
    EXPECT_EQ(std::count(capture.Lines().begin(), capture.Lines().end(),
                         std::string("Check Integrity interrupted")),
              1);

    capture.Reset();
    const TCompleteResult timed = SolveComplete(hard, Options(0.05));
    EXPECT_EQ(timed.Verdict, TSatVerdict::Unknown);
    EXPECT_TRUE(timed.LimitReached);
    EXPECT_FALSE(timed.Interrupted);
    const TCompleteResult counted = SolveComplete(hard, Options(0, 100));
    EXPECT_EQ(counted.Verdict, TSatVerdict::Unknown);
    EXPECT_TRUE(counted.LimitReached);
    EXPECT_TRUE(capture.Lines().empty()) << "a limit is no interruption";
}

TEST(CompleteSolver, ModelsAreCheckedAgainstEveryClause) {
    const TSatProblem problem{3, {{1, -2}, {3}, {-1, -3}}};
    EXPECT_EQ(FirstFailingClause(problem, {false, false, false, true}), -1);
    EXPECT_EQ(FirstFailingClause(problem, {false, false, true, true}), 0);
    EXPECT_EQ(FirstFailingClause(problem, {false, true, false, true}), 2);
    EXPECT_EQ(FirstFailingClause(problem, {false, true}), 1) << "a short model fails";
    EXPECT_EQ(FirstFailingClause(TSatProblem{1, {{}}}, {false, true}), 0);
}

TEST(CompleteSolver, WritesADratProofThatEndsInTheEmptyClause) {
    TTraceCapture capture;
    const std::filesystem::path proof = std::filesystem::temp_directory_path() /
                                        ("kavelin_proof_" + std::to_string(::getpid()) + ".drat");
    const TCompleteResult result = SolveComplete(Pigeonhole(6, 5), Options(0, -1, proof.string()));
    EXPECT_EQ(result.Verdict, TSatVerdict::Unsatisfiable);
    std::ifstream in(proof);
    std::string line;
    std::string last;
    int lines = 0;
    while (std::getline(in, line)) {
        ++lines;
        last = line;
        ASSERT_TRUE(line.size() >= 1 && line.back() == '0') << line;
    }
    EXPECT_GT(lines, 1);
    EXPECT_EQ(last, "0");
    std::filesystem::remove(proof);

    const TCompleteResult refused =
        SolveComplete(Pigeonhole(3, 2), Options(0, -1, "/nonexistent-folder/proof.drat"));
    EXPECT_EQ(refused.Verdict, TSatVerdict::Unknown);
    EXPECT_TRUE(refused.Failed);
    ASSERT_EQ(capture.Boxes().size(), 1u);
    EXPECT_NE(capture.Boxes()[0].find("/nonexistent-folder/proof.drat"), std::string::npos);
}

TEST(SatCensus, CountsWhatTheIntegrityCheckReports) {
    const TSatCensus census =
        CensusOf(TSatProblem{6, {{1, 2, -3}, {}, {2, 2, 2}, {4, -4}, {-1, 1, -1}, {}}});
    EXPECT_EQ(census.Clauses, 6);
    EXPECT_EQ(census.Variables, 6);
    EXPECT_EQ(census.Literals, 3 + 0 + 3 + 2 + 3);
    EXPECT_EQ(census.EmptyClauses, 2);
    EXPECT_EQ(census.RepeatedLiterals, 2 + 1);
    EXPECT_EQ(census.Tautologies, 2);
    EXPECT_EQ(census.UnusedVariables, 2);  // 5 and 6
    const TSatCensus empty = CensusOf(TSatProblem{});
    EXPECT_EQ(empty.Clauses + empty.Literals + empty.UnusedVariables, 0);
}
