// Genetic_Solver_Unit: a small generic genetic algorithm.
//
// The solver knows the individuals of a problem only through the five operations
// of TGeneticProblem. Individuals are objects of the problem's own class, derived
// from TIndividual; the operations that make one return it as a unique_ptr, and the
// solver owns it from then on, through the member that holds it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/Progress.h"

// The root of every problem's individuals: an opaque object to the solver.
class TIndividual {
  public:
    TIndividual() = default;
    virtual ~TIndividual() = default;
    TIndividual(const TIndividual&) = delete;
    TIndividual& operator=(const TIndividual&) = delete;
};

// The problem: its five virtual operations in slot order. Cross, Mutate and
// CreateRandom always return a new individual and neither keep nor free their
// arguments. Slots 1 to 4 have no body in the base; Display does nothing there.
class TGeneticProblem {
  public:
    TGeneticProblem() = default;
    virtual ~TGeneticProblem() = default;
    TGeneticProblem(const TGeneticProblem&) = delete;
    TGeneticProblem& operator=(const TGeneticProblem&) = delete;

    // 1. A's score, higher is better.
    virtual double Evaluate(const TIndividual& A) = 0;
    // 2. A new individual, the child of A and B.
    virtual std::unique_ptr<TIndividual> Cross(const TIndividual& A, const TIndividual& B) = 0;
    // 3. A new individual, a mutated copy of A.
    virtual std::unique_ptr<TIndividual> Mutate(const TIndividual& A) = 0;
    // 4. A new random individual.
    virtual std::unique_ptr<TIndividual> CreateRandom() = 0;
    // 5. Shows A; the solver never calls it.
    virtual void Display(const TIndividual& A);
};

// One member of the population; its individual is owned by the member, and the
// member by its solver.
struct TConcurrent {
    std::unique_ptr<TIndividual> Individual;
    double Score = 0;
};

class TGeneticSolver {
  public:
    TGeneticSolver() = default;
    // Frees, for every member in list order, first its individual and then the
    // member, and then the list.
    ~TGeneticSolver();
    TGeneticSolver(const TGeneticSolver&) = delete;
    TGeneticSolver& operator=(const TGeneticSolver&) = delete;

    // Runs the whole search: the initial population, then for each generation
    // mutation, scoring, sort, culling and breeding, then a last sort. Returns the
    // best individual of the final population, still owned by the solver: valid as
    // long as the solver lives. When culling leaves no survivor nothing is bred, and
    // an empty population returns nullptr.
    const TIndividual* Solve(TGeneticProblem& Problem, int32_t PopulationSize, int32_t Generations,
                             int32_t SurvivalPercent, int32_t MutationPercent);
    // The same search, telling `progress` the generations done of Generations
    // before each generation. When it asks for a stop, the search ends there
    // with the one trace line "Genetic search interrupted" and returns nullptr,
    // and Interrupted() is true; the population stays as that many whole
    // generations left it (after breeding, unsorted), freed with the solver.
    const TIndividual* Solve(TGeneticProblem& Problem, int32_t PopulationSize, int32_t Generations,
                             int32_t SurvivalPercent, int32_t MutationPercent, TProgress& progress);
    // True when the last Solve was stopped before its end.
    bool Interrupted() const { return fInterrupted; }

    // The population, in its current order (after Solve: ascending stored scores).
    const std::vector<std::unique_ptr<TConcurrent>>& Population() const { return fPopulation; }

  private:
    void SortByScore();
    // Frees the member's individual, then the member.
    static void Release(std::unique_ptr<TConcurrent>& member);

    std::vector<std::unique_ptr<TConcurrent>> fPopulation;
    bool fInterrupted = false;
};

// The counts of Solve, in the floating point of the original program (80-bit
// extended, truncated toward zero): Trunc((MutationPercent / 100) x PopulationSize)
// and Trunc((PopulationSize x (100 - SurvivalPercent)) / 100).
int64_t GeneticMutationCount(int32_t MutationPercent, int32_t PopulationSize);
int64_t GeneticCullCount(int32_t PopulationSize, int32_t SurvivalPercent);
