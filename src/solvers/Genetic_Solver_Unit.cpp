#include "solvers/Genetic_Solver_Unit.h"

#include <algorithm>
#include <cmath>

#include "common/Random_Source.h"
#include "diagnostics/TraceUnit.h"

void TGeneticProblem::Display(const TIndividual&) {}

TGeneticSolver::~TGeneticSolver() {
    for (auto& member : fPopulation) Release(member);
    fPopulation.clear();
}

void TGeneticSolver::Release(std::unique_ptr<TConcurrent>& member) {
    if (!member) return;
    member->Individual.reset();
    member.reset();
}

int64_t GeneticMutationCount(int32_t MutationPercent, int32_t PopulationSize) {
    // The original computes the count on the x87 in extended precision, where for
    // instance (13 / 100) x 900 is just below 117; long double is that format here.
    const long double count = (static_cast<long double>(MutationPercent) / 100.0L) *
                              static_cast<long double>(PopulationSize);
    return static_cast<int64_t>(count);  // truncation toward zero
}

int64_t GeneticCullCount(int32_t PopulationSize, int32_t SurvivalPercent) {
    const int64_t product =
        static_cast<int64_t>(PopulationSize) * (100 - static_cast<int64_t>(SurvivalPercent));
    return static_cast<int64_t>(static_cast<long double>(product) / 100.0L);
}

void TGeneticSolver::SortByScore() {
    // Ascending, unstable (equal scores in no fixed order). A NaN score, which no
    // problem of the program gives, sorts first instead of breaking the sort.
    std::sort(fPopulation.begin(), fPopulation.end(),
              [](const std::unique_ptr<TConcurrent>& a, const std::unique_ptr<TConcurrent>& b) {
                  if (std::isnan(a->Score)) return !std::isnan(b->Score);
                  return a->Score < b->Score;
              });
}

const TIndividual* TGeneticSolver::Solve(TGeneticProblem& Problem, int32_t PopulationSize,
                                         int32_t Generations, int32_t SurvivalPercent,
                                         int32_t MutationPercent) {
    return Solve(Problem, PopulationSize, Generations, SurvivalPercent, MutationPercent,
                 NoProgress());
}

const TIndividual* TGeneticSolver::Solve(TGeneticProblem& Problem, int32_t PopulationSize,
                                         int32_t Generations, int32_t SurvivalPercent,
                                         int32_t MutationPercent, TProgress& progress) {
    fInterrupted = false;
    // 1.
    Randomize();
    // 2. Initial population, after the members already there.
    for (int32_t k = 0; k < PopulationSize; ++k) {
        auto member = std::make_unique<TConcurrent>();
        member->Individual = Problem.CreateRandom();
        member->Score = 0;
        fPopulation.push_back(std::move(member));
    }
    // 3. Generations.
    for (int32_t generation = 0; generation < Generations; ++generation) {
        // A generation of FindMax takes well under a millisecond: asking once per
        // generation reaches the caller often enough and costs nothing measurable.
        if (progress.Report(generation, Generations)) {
            fInterrupted = true;
            Messenger.Send("Genetic search interrupted");
            return nullptr;
        }
        // 3.1 Mutation: a member drawn twice mutates the result of the first draw.
        const int64_t mutations = GeneticMutationCount(MutationPercent, PopulationSize);
        for (int64_t k = 0; k < mutations && !fPopulation.empty(); ++k) {
            const int32_t i = RandomInt(static_cast<int32_t>(fPopulation.size()));
            TConcurrent& member = *fPopulation[static_cast<size_t>(i)];
            std::unique_ptr<TIndividual> mutated = Problem.Mutate(*member.Individual);
            member.Individual = std::move(mutated);  // frees the old one
        }
        // 3.2 Scoring, in list order.
        for (auto& member : fPopulation) member->Score = Problem.Evaluate(*member->Individual);
        // 3.3 Sort.
        SortByScore();
        // 3.4 Culling: the lowest scores go, first member first.
        const int64_t culled = std::min<int64_t>(GeneticCullCount(PopulationSize, SurvivalPercent),
                                                 static_cast<int64_t>(fPopulation.size()));
        if (culled > 0) {
            for (int64_t k = 0; k < culled; ++k) Release(fPopulation[static_cast<size_t>(k)]);
            fPopulation.erase(fPopulation.begin(), fPopulation.begin() + culled);
        }
        // 3.5 Breeding from the survivors only (the first s members).
        const int64_t survivors = static_cast<int64_t>(fPopulation.size());
        if (survivors > 0) {
            for (int64_t k = survivors; k < PopulationSize; ++k) {
                auto member = std::make_unique<TConcurrent>();
                const int32_t j = RandomInt(static_cast<int32_t>(survivors));
                const int32_t kk = RandomInt(static_cast<int32_t>(survivors));
                member->Individual =
                    Problem.Cross(*fPopulation[static_cast<size_t>(kk)]->Individual,
                                  *fPopulation[static_cast<size_t>(j)]->Individual);
                member->Score = 0;
                fPopulation.push_back(std::move(member));
            }
        }
    }
    // 4. The last sort, unscored children at 0; the best is the last member.
    SortByScore();
    if (fPopulation.empty()) return nullptr;
    return fPopulation.back()->Individual.get();
}
