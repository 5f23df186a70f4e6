// probSAT: solved problems whose answer is known, its bookkeeping against a
// recount, the rules by clause length, the step's trace and grid values, and the
// limits and the stop of a run.
#include <gtest/gtest.h>

#include <string>

#include "common/Random_Source.h"
#include "solvers/Complete_Solver_Unit.h"
#include "solvers/ProbSat_Unit.h"
#include "solvers/Sat_Problems.h"
#include "support/Global_Guards.h"
#include "support/Trace_Capture.h"

namespace {

int32_t SatisfiedUnder(const TSatProblem& problem, const std::vector<bool>& values) {
    int32_t satisfied = 0;
    for (const TClause& clause : problem.Clauses)
        satisfied += FirstFailingClause(TSatProblem{problem.VariableCount, {clause}}, values) < 0;
    return satisfied;
}

class TStopAt final : public TProgress {
  public:
    bool Report(std::int64_t, std::int64_t) override { return ++fReports >= 2; }
    int fReports = 0;
};

}  // namespace

TEST(ProbSat, SolvesSatisfiableProblemsWithModelsThatHold) {
    TTraceCapture capture;
    RandomSeed(11);
    for (uint64_t seed = 1; seed <= 10; ++seed) {
        for (const int32_t n : {20, 100, 250}) {
            const TSatProblem problem = PlantedKSat(n, n * 426 / 100, 3, seed);
            TProbSat search(problem);
            ASSERT_TRUE(search.Run(10000000)) << n << " " << seed;
            EXPECT_EQ(FirstFailingClause(problem, search.Assignment()), -1);
            EXPECT_EQ(search.ValidClauseCount(), static_cast<int32_t>(problem.Clauses.size()));
        }
    }
    // The page's problems: clauses of 10 to 16 literals, with repeats and
    // tautologies, under the exponential rule.
    for (uint64_t seed = 1; seed <= 5; ++seed) {
        TSatSolver generator(nullptr);
        TLineList lines;
        const TSeedGuard guard(seed);
        ASSERT_TRUE(generator.Generate(80, 24, 10, 16, lines));
        TSatProblem problem;
        ASSERT_TRUE(ReadConstraintText(lines, "generated", problem));
        TProbSat search(problem);
        EXPECT_FALSE(search.Rule().Polynomial);
        ASSERT_TRUE(search.Run(1000000));
        EXPECT_EQ(FirstFailingClause(problem, search.Assignment()), -1);
    }
    EXPECT_TRUE(capture.Lines().empty()) << "a run writes no trace line of its own";
}

TEST(ProbSat, KeepsItsCountsAsARecountWouldAndShowsTheSolverExactValues) {
    TTraceCapture capture;
    RandomSeed(5);
    // Repeated literals and a tautology are read as the clauses mean them.
    TSatProblem problem = RandomKSat(30, 150, 3, 4);
    problem.Clauses.push_back({4, 4, -7});
    problem.Clauses.push_back({9, -9});
    TSatSolver shown(nullptr);
    shown.LoadProblem(problem);
    TProbSat search(problem, &shown);
    for (int flip = 0; flip < 3000 && !search.IsFinished(); ++flip) {
        search.Step();
        const std::vector<bool> values = search.Assignment();
        ASSERT_EQ(search.ValidClauseCount(), SatisfiedUnder(problem, values));
        ASSERT_EQ(shown.ValidClauseCount(), search.ValidClauseCount());
        for (int32_t v = 1; v <= problem.VariableCount; ++v)
            ASSERT_EQ(shown.Values()[static_cast<size_t>(v)],
                      values[static_cast<size_t>(v)] ? 1.0 : 0.0);
    }
    EXPECT_EQ(search.Flips() > 0, true);
}

TEST(ProbSat, StepsShowTheStatusLineAndTheSolutionAsTheRelaxationDoes) {
    TTraceCapture capture;
    RandomSeed(3);
    const TSatProblem problem = PlantedKSat(12, 50, 3, 8);
    TSatSolver shown(nullptr);
    shown.LoadProblem(problem);
    TProbSat search(problem, &shown);
    int64_t steps = 0;
    while (!search.IsFinished() && steps < 100000) {
        search.Step();
        ++steps;
    }
    ASSERT_TRUE(search.IsFinished());
    ASSERT_TRUE(shown.IsFinished());
    const std::vector<std::string>& lines = capture.Lines();
    ASSERT_EQ(lines.size(), 1u + 1u + 12u) << "one status line, kept replaced, and the solution";
    EXPECT_EQ(lines[0].rfind("valides : ", 0), 0u);
    EXPECT_EQ(lines[1],
              "Solution trouv\xE9"
              "e");
    EXPECT_TRUE(lines[2] == "Literal 1 true" || lines[2] == "Literal 1 false") << lines[2];
    // A further step flips nothing.
    const int64_t flips = search.Flips();
    search.Step();
    EXPECT_EQ(search.Flips(), flips);
}

TEST(ProbSat, RulesFollowTheLongestClause) {
    const TProbSatRule three = ProbSatRuleFor(3);
    EXPECT_TRUE(three.Polynomial);
    EXPECT_DOUBLE_EQ(three.Cb, 2.06);
    EXPECT_DOUBLE_EQ(three.Eps, 0.9);
    EXPECT_TRUE(ProbSatRuleFor(2).Polynomial);
    EXPECT_FALSE(ProbSatRuleFor(4).Polynomial);
    EXPECT_DOUBLE_EQ(ProbSatRuleFor(4).Cb, 3.0);
    EXPECT_DOUBLE_EQ(ProbSatRuleFor(5).Cb, 3.7);
    EXPECT_DOUBLE_EQ(ProbSatRuleFor(6).Cb, 5.1);
    EXPECT_DOUBLE_EQ(ProbSatRuleFor(7).Cb, 5.4);
    EXPECT_DOUBLE_EQ(ProbSatRuleFor(16).Cb, 5.4);
}

TEST(ProbSat, RunsEndAtTheirLimitsAndOnRequest) {
    TTraceCapture capture;
    // Unsatisfiable: only the limits end the run.
    const TSatProblem unsat = Pigeonhole(6, 5);
    TProbSat search(unsat);
    EXPECT_FALSE(search.Run(5000));
    EXPECT_EQ(search.Flips(), 5000);
    EXPECT_FALSE(search.Run(-1, 0.02));
    EXPECT_FALSE(search.Interrupted());
    EXPECT_TRUE(capture.Lines().empty());

    TStopAt stop;
    EXPECT_FALSE(search.Run(-1, 0, stop));
    EXPECT_TRUE(search.Interrupted());
    EXPECT_EQ(stop.fReports, 2);
    ASSERT_EQ(capture.Lines().size(), 1u);
    EXPECT_EQ(capture.Lines()[0], "Solve interrupted");

    // An empty clause is never satisfied; the flips still count.
    TProbSat empty(TSatProblem{2, {{1, 2}, {}}});
    EXPECT_FALSE(empty.Run(100));
    EXPECT_EQ(empty.Flips(), 100);
    empty.Step();
    EXPECT_FALSE(empty.IsFinished());
    // No clause: solved at once.
    EXPECT_TRUE(TProbSat(TSatProblem{3, {}}).Run(0));
}

TEST(ProbSat, ASeededSearchRepeats) {
    const TSatProblem problem = PlantedKSat(100, 426, 3, 21);
    RandomSeed(99);
    TProbSat first(problem);
    ASSERT_TRUE(first.Run(10000000));
    RandomSeed(99);
    TProbSat second(problem);
    ASSERT_TRUE(second.Run(10000000));
    EXPECT_EQ(first.Flips(), second.Flips());
    EXPECT_EQ(first.Assignment(), second.Assignment());
}
