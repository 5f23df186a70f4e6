// The genetic solver's steps and ownership, and the curve maximum finder.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "common/Random_Source.h"
#include "solvers/CourbeMaxFinder.h"
#include "solvers/Genetic_Solver_Unit.h"
#include "solvers/Progress_Stop.h"
#include "support/Global_Guards.h"
#include "support/Trace_Capture.h"

namespace {

// ---- a problem that watches what the solver does with its individuals ----

struct TCensus {
    int64_t created = 0;
    int64_t freed = 0;
    std::set<int64_t> alive;
    std::vector<int64_t> freedOrder;
};

class TTracked : public TIndividual {
  public:
    TTracked(TCensus& census, double value, bool child)
        : fCensus(census), fId(census.created++), fValue(value), fChild(child) {
        census.alive.insert(fId);
    }
    ~TTracked() override {
        ++fCensus.freed;
        fCensus.alive.erase(fId);
        fCensus.freedOrder.push_back(fId);
    }
    TCensus& fCensus;
    const int64_t fId;
    const double fValue;
    const bool fChild;               // made by Cross
    mutable int64_t fScoredIn = -1;  // the generation of its last Evaluate
};

const TTracked& Tracked(const TIndividual& individual) {
    return dynamic_cast<const TTracked&>(individual);
}

// Scores are the individuals' values: distinct values give a known order. Every
// operation checks that its arguments are alive; Cross checks that both parents
// were scored in the current generation, so that they are survivors, never
// children bred in the same generation.
class TWatchingProblem : public TGeneticProblem {
  public:
    explicit TWatchingProblem(TCensus& census) : fCensus(census) {}

    double Evaluate(const TIndividual& A) override {
        NewPhase();
        ++fEvaluations;
        const TTracked& a = Tracked(A);
        EXPECT_TRUE(fCensus.alive.count(a.fId));
        a.fScoredIn = fGeneration;
        return fScore ? fScore(a) : a.fValue;
    }
    std::unique_ptr<TIndividual> Cross(const TIndividual& A, const TIndividual& B) override {
        fLastWasCross = true;
        ++fCrossings;
        const TTracked& a = Tracked(A);
        const TTracked& b = Tracked(B);
        EXPECT_TRUE(fCensus.alive.count(a.fId) && fCensus.alive.count(b.fId));
        EXPECT_EQ(a.fScoredIn, fGeneration) << "parent A is not a survivor";
        EXPECT_EQ(b.fScoredIn, fGeneration) << "parent B is not a survivor";
        fParents.push_back({a.fId, b.fId});
        return std::make_unique<TTracked>(fCensus, (a.fValue + b.fValue) / 2, true);
    }
    std::unique_ptr<TIndividual> Mutate(const TIndividual& A) override {
        NewPhase();
        ++fMutations;
        const TTracked& a = Tracked(A);
        EXPECT_TRUE(fCensus.alive.count(a.fId));
        fMutated.push_back(a.fId);
        return std::make_unique<TTracked>(fCensus, a.fValue + 0.5, false);
    }
    std::unique_ptr<TIndividual> CreateRandom() override {
        ++fCreations;
        // Distinct values, no random draw.
        return std::make_unique<TTracked>(fCensus, static_cast<double>(fCreations), false);
    }

    int64_t fEvaluations = 0, fCrossings = 0, fMutations = 0, fCreations = 0;
    std::vector<std::pair<int64_t, int64_t>> fParents;  // (A, B) of each Cross
    std::vector<int64_t> fMutated;
    std::function<double(const TTracked&)> fScore;

  private:
    // A generation starts with the first Mutate or Evaluate after breeding.
    void NewPhase() {
        if (fLastWasCross) ++fGeneration;
        fLastWasCross = false;
    }
    TCensus& fCensus;
    int64_t fGeneration = 0;
    bool fLastWasCross = false;
};

TEST(GeneticSolver, CountsOfTheSteps) {
    EXPECT_EQ(GeneticMutationCount(80, 1500), 1200);
    EXPECT_EQ(GeneticCullCount(1500, 30), 1050);
    EXPECT_EQ(GeneticCullCount(10, 101), 0);  // -10 / 100 truncates toward zero
    // Valgrind runs x87 arithmetic in 64-bit doubles: then there is no extended
    // precision to check.
    volatile long double one = 1;
    volatile long double epsilon = LDBL_EPSILON;
    if (one + epsilon == one) GTEST_SKIP() << "long double arithmetic is not extended here";
    // In extended precision 13 / 100 x 900 is just below 117 (in double it rounds to 117).
    EXPECT_EQ(GeneticMutationCount(13, 900), 116);
    EXPECT_EQ(GeneticMutationCount(13, 1700), 220);
}

TEST(GeneticSolver, IndividualsCreatedAndFreedWithTheParametersOfFindMax) {
    TSeedGuard seed(11);
    TCensus census;
    TWatchingProblem problem(census);
    {
        auto owned = std::make_unique<TGeneticSolver>();
        TGeneticSolver& solver = *owned;
        const TIndividual* best = solver.Solve(problem, 1500, 125, 30, 80);
        ASSERT_NE(best, nullptr);
        EXPECT_EQ(problem.fCreations, 1500);
        EXPECT_EQ(problem.fMutations, 125 * 1200);
        EXPECT_EQ(problem.fCrossings, 125 * 1050);
        EXPECT_EQ(problem.fEvaluations, 125 * 1500);
        EXPECT_EQ(census.created, 1500 + 125 * (1200 + 1050));
        EXPECT_EQ(census.freed, 125 * (1200 + 1050));
        EXPECT_EQ(solver.Population().size(), 1500u);
        EXPECT_EQ(census.alive.size(), 1500u);
        // The population ends sorted by stored score, the best last.
        const auto& population = solver.Population();
        for (size_t k = 1; k < population.size(); ++k)
            EXPECT_LE(population[k - 1]->Score, population[k]->Score);
        EXPECT_EQ(population.back()->Individual.get(), best);

        // The destructor frees the individuals in list order.
        std::vector<int64_t> order;
        for (const auto& member : population) order.push_back(Tracked(*member->Individual).fId);
        census.freedOrder.clear();
        owned.reset();
        EXPECT_EQ(census.freedOrder, order);
    }
    EXPECT_EQ(census.freed, census.created);
    EXPECT_TRUE(census.alive.empty());
}

TEST(GeneticSolver, FullSurvivalOnlyMutatesAndScores) {
    TSeedGuard seed(3);
    TCensus census;
    TWatchingProblem problem(census);
    {
        TGeneticSolver solver;
        solver.Solve(problem, 40, 6, 100, 50);
        EXPECT_EQ(problem.fCrossings, 0);
        EXPECT_EQ(problem.fMutations, 6 * 20);
        EXPECT_EQ(problem.fEvaluations, 6 * 40);
        EXPECT_EQ(solver.Population().size(), 40u);
        EXPECT_EQ(census.created, 40 + 6 * 20);
        EXPECT_EQ(census.freed, 6 * 20);
        // Every member scored in the last generation, and sorted.
        for (const auto& member : solver.Population())
            EXPECT_EQ(member->Score, Tracked(*member->Individual).fValue);
    }
    EXPECT_EQ(census.freed, census.created);
}

TEST(GeneticSolver, NoGenerationReturnsAnUnscoredMember) {
    for (const int32_t generations : {0, -3}) {
        TCensus census;
        TWatchingProblem problem(census);
        TGeneticSolver solver;
        const TIndividual* best = solver.Solve(problem, 25, generations, 30, 80);
        ASSERT_NE(best, nullptr);
        EXPECT_EQ(problem.fCreations, 25);
        EXPECT_EQ(problem.fEvaluations + problem.fMutations + problem.fCrossings, 0);
        EXPECT_EQ(solver.Population().size(), 25u);
        for (const auto& member : solver.Population()) EXPECT_EQ(member->Score, 0.0);
        EXPECT_TRUE(census.alive.count(Tracked(*best).fId));
    }
}

TEST(GeneticSolver, BreedingDrawsTheParentsFromTheSurvivors) {
    // 5 members, no mutation, 60 per cent survivors: values 1 to 5 score 1 to 5,
    // the sort puts them in that order, 2 are culled, 3 survive (values 3, 4, 5) and
    // 2 children are bred. Each child draws j then k in [0, 3) and is Cross(k, j).
    const uint64_t seedValue = 12345;
    TSeedGuard seed(seedValue);
    TCensus census;
    TWatchingProblem problem(census);
    TGeneticSolver solver;
    solver.Solve(problem, 5, 1, 60, 0);
    ASSERT_EQ(problem.fParents.size(), 2u);
    RandomSeed(seedValue);
    // The individuals of values 3, 4, 5 have ids 2, 3, 4.
    const int64_t survivors[3] = {2, 3, 4};
    for (const auto& parents : problem.fParents) {
        const int32_t j = RandomInt(3);
        const int32_t k = RandomInt(3);
        EXPECT_EQ(parents.first, survivors[k]);
        EXPECT_EQ(parents.second, survivors[j]);
    }
    EXPECT_EQ(census.freed, 2);  // the two culled
}

TEST(GeneticSolver, UnscoredChildrenWinWhenEverySurvivorScoresBelowZero) {
    TSeedGuard seed(5);
    TCensus census;
    TWatchingProblem problem(census);
    problem.fScore = [](const TTracked& t) { return -1.0 - t.fValue; };
    TGeneticSolver solver;
    const TIndividual* best = solver.Solve(problem, 20, 3, 50, 20);
    ASSERT_NE(best, nullptr);
    EXPECT_TRUE(Tracked(*best).fChild);
    EXPECT_EQ(solver.Population().back()->Score, 0.0);
    // The ten children of the last generation are unscored and sort above the survivors.
    for (size_t k = 10; k < 20; ++k) {
        EXPECT_TRUE(Tracked(*solver.Population()[k]->Individual).fChild);
        EXPECT_EQ(solver.Population()[k]->Score, 0.0);
    }
}

// ---- progress and a stop on request ----

std::vector<std::pair<int64_t, int64_t>> GenerationsDone(int64_t count, int64_t total) {
    std::vector<std::pair<int64_t, int64_t>> reports;
    for (int64_t g = 0; g < count; ++g) reports.emplace_back(g, total);
    return reports;
}

TEST(GeneticSolver, AStopEndsTheSearchBeforeTheGenerationItWasAskedAt) {
    // 60 members, 10 generations, 50 per cent survivors, 25 per cent mutations:
    // each generation makes 15 mutations and breeds 30 children.
    for (const int64_t stopAt : {1, 4, 10}) {
        TSeedGuard seed(77);
        TTraceCapture trace;
        TCensus census;
        TWatchingProblem problem(census);
        TStopAtCall progress(stopAt);
        {
            TGeneticSolver solver;
            EXPECT_EQ(solver.Solve(problem, 60, 10, 50, 25, progress), nullptr);
            EXPECT_TRUE(solver.Interrupted());
            EXPECT_EQ(progress.fReports, GenerationsDone(stopAt, 10));
            EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Genetic search interrupted"});
            // Whole generations only, and the population that they left.
            const int64_t generations = stopAt - 1;
            EXPECT_EQ(problem.fCreations, 60);
            EXPECT_EQ(problem.fMutations, generations * 15);
            EXPECT_EQ(problem.fEvaluations, generations * 60);
            EXPECT_EQ(problem.fCrossings, generations * 30);
            EXPECT_EQ(solver.Population().size(), 60u);
            EXPECT_EQ(census.alive.size(), 60u);
        }
        EXPECT_TRUE(census.alive.empty()) << "stop at call " << stopAt;
    }
}

TEST(GeneticSolver, AProgressThatNeverStopsChangesNothing) {
    for (const int32_t generations : {0, 7}) {
        auto run = [generations](TProgress* progress) {
            TSeedGuard seed(31);
            TTraceCapture trace;
            TCensus census;
            TWatchingProblem problem(census);
            TGeneticSolver solver;
            const TIndividual* best =
                progress ? solver.Solve(problem, 50, generations, 40, 60, *progress)
                         : solver.Solve(problem, 50, generations, 40, 60);
            EXPECT_NE(best, nullptr);
            EXPECT_FALSE(solver.Interrupted());
            EXPECT_TRUE(trace.Lines().empty());
            std::vector<std::pair<double, double>> population;
            for (const auto& member : solver.Population())
                population.emplace_back(member->Score, Tracked(*member->Individual).fValue);
            return std::make_pair(problem.fParents, population);
        };
        TStopAtCall never(0);
        EXPECT_EQ(run(&never), run(nullptr));
        EXPECT_EQ(never.fReports, GenerationsDone(generations, generations));
    }
}

// ---- TMaxFinder ----

TEST(MaxFinder, Operations) {
    TMaxFinder finder;
    EXPECT_NEAR(finder.Evaluate(TMyReal(1)), 1.828427, 1e-6);
    EXPECT_NEAR(finder.Evaluate(TMyReal(2)), 1.656854, 1e-6);
    EXPECT_NEAR(finder.Evaluate(TMyReal(0)), 0.0, 1e-15);
    EXPECT_NEAR(finder.Evaluate(TMyReal(-25)), -695.710678, 1e-6);
    EXPECT_EQ(finder.Evaluate(TMyReal(std::sqrt(2.0))), 2.0);
    // 2 - (1 - sqrt 2)^2 = 2 sqrt 2 - 1, rounded once from extended precision.
    EXPECT_EQ(finder.Evaluate(TMyReal(1)), static_cast<double>(2 * std::sqrt(2.0L) - 1));

    const auto child = finder.Cross(TMyReal(1), TMyReal(2));
    EXPECT_EQ(dynamic_cast<const TMyReal&>(*child).Val, 1.5);

    std::set<double> shifts;
    std::set<double> starts;
    for (int k = 0; k < 2000; ++k) {
        const auto mutated = finder.Mutate(TMyReal(0.25));
        shifts.insert(dynamic_cast<const TMyReal&>(*mutated).Val - 0.25);
        const auto random = finder.CreateRandom();
        starts.insert(dynamic_cast<const TMyReal&>(*random).Val);
    }
    EXPECT_EQ(shifts, (std::set<double>{-5, -4, -3, -2, -1, 0, 1, 2, 3, 4}));
    EXPECT_EQ(starts.size(), 50u);
    EXPECT_EQ(*starts.begin(), -25.0);
    EXPECT_EQ(*starts.rbegin(), 24.0);

    TTraceCapture trace;
    finder.Display(TMyReal(1.5));
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_TRUE(trace.Lines()[0] == "1.5" || trace.Lines()[0] == "1,5");
}

// TMaxFinder with individuals that count themselves, through FindMax itself.
int64_t gRealsAlive = 0;
int64_t gRealsCreated = 0;

class TCountedReal : public TMyReal {
  public:
    explicit TCountedReal(double value) : TMyReal(value) {
        ++gRealsAlive;
        ++gRealsCreated;
    }
    ~TCountedReal() override { --gRealsAlive; }
};

class TCountingMaxFinder : public TMaxFinder {
  public:
    std::unique_ptr<TIndividual> Cross(const TIndividual& A, const TIndividual& B) override {
        return Counted(TMaxFinder::Cross(A, B));
    }
    std::unique_ptr<TIndividual> Mutate(const TIndividual& A) override {
        return Counted(TMaxFinder::Mutate(A));
    }
    std::unique_ptr<TIndividual> CreateRandom() override {
        return Counted(TMaxFinder::CreateRandom());
    }

  private:
    static std::unique_ptr<TIndividual> Counted(std::unique_ptr<TIndividual> plain) {
        return std::make_unique<TCountedReal>(dynamic_cast<const TMyReal&>(*plain).Val);
    }
};

TEST(MaxFinder, FindMaxFreesEveryIndividual) {
    TSeedGuard seed(2024);
    gRealsAlive = gRealsCreated = 0;
    TCountingMaxFinder finder;
    const double value = finder.FindMax();
    EXPECT_EQ(gRealsCreated, 1500 + 125 * (1200 + 1050));
    EXPECT_EQ(gRealsAlive, 0);
    EXPECT_NEAR(value, std::sqrt(2.0), 1e-3);
}

TEST(MaxFinder, FindMaxIsCloseToTheSquareRootOfTwo) {
    for (const uint64_t s : {1u, 7u, 42u, 1000u}) {
        TSeedGuard seed(s);
        TMaxFinder finder;
        const double value = finder.FindMax();
        EXPECT_NEAR(value, 1.41421356, 1e-3) << "seed " << s;
        // The same seed gives the same run.
        EXPECT_EQ(TMaxFinder().FindMax(), value);
    }
    TSeedGuard clock(std::nullopt);
    EXPECT_NEAR(TMaxFinder().FindMax(), 1.41421356, 1e-3);
}

TEST(MaxFinder, FindMaxStopsOnRequestAndFreesEveryIndividual) {
    TSeedGuard seed(2024);
    TTraceCapture trace;
    gRealsAlive = gRealsCreated = 0;
    TCountingMaxFinder finder;
    TStopAtCall progress(63);
    EXPECT_EQ(finder.FindMax(progress), std::nullopt);
    EXPECT_EQ(progress.fReports, GenerationsDone(63, 125));
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Genetic search interrupted"});
    EXPECT_EQ(gRealsCreated, 1500 + 62 * (1200 + 1050));
    EXPECT_EQ(gRealsAlive, 0);

    // Never stopped, the same run as without a progress.
    TStopAtCall never(0);
    const std::optional<double> value = TMaxFinder().FindMax(never);
    EXPECT_EQ(never.fReports, GenerationsDone(125, 125));
    EXPECT_EQ(value, TMaxFinder().FindMax());
    EXPECT_EQ(trace.Lines().size(), 1u);
}

}  // namespace
