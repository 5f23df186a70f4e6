// CourbeMaxFinder: a genetic search for the maximum of
// 2 - (x - sqrt(2))^2, whose individuals are single reals.
#pragma once

#include <memory>
#include <optional>

#include "solvers/Genetic_Solver_Unit.h"

// The individual of TMaxFinder.
class TMyReal : public TIndividual {
  public:
    TMyReal() = default;
    explicit TMyReal(double value) : Val(value) {}
    double Val = 0;
};

class TMaxFinder : public TGeneticProblem {
  public:
    // Seeds the random generator from the clock.
    TMaxFinder();

    // 2 - (A.Val - sqrt(2))^2, in 80-bit extended precision, rounded to a double.
    double Evaluate(const TIndividual& A) override;
    // (A.Val + B.Val) / 2.
    std::unique_ptr<TIndividual> Cross(const TIndividual& A, const TIndividual& B) override;
    // A.Val shifted by a whole number from -5 to +4.
    std::unique_ptr<TIndividual> Mutate(const TIndividual& A) override;
    // A whole number from -25 to +24.
    std::unique_ptr<TIndividual> CreateRandom() override;
    // Sends A.Val to the Messenger.
    void Display(const TIndividual& A) override;

    // Runs a TGeneticSolver with 1500 members, 125 generations, 30 per cent
    // survivors and 80 per cent mutations; returns the Val of its best individual.
    double FindMax();
    // The same search, telling `progress` the generations done of 125; empty when
    // it asked for a stop, after the solver's "Genetic search interrupted".
    std::optional<double> FindMax(TProgress& progress);
};
