// ProbSat_Unit: probSAT, the stochastic local search of Balint and Schoening
// (2012). From a random assignment of 0 and 1, each flip picks an unsatisfied
// clause at random and flips one of its variables, chosen with a probability
// that falls with the variable's break count (the clauses the flip would leave
// unsatisfied):
//   clauses of at most 3 literals: f(b) = (eps + b)^-cb, cb = 2.06, eps = 0.9;
//   longer clauses: f(b) = cb^-b with cb by the longest clause: 3.0 (4 literals),
//   3.7 (5), 5.1 (6), 5.4 (7 and more).
//
// It steps as the relaxation of SATSolver_Unit does: one flip per Step, the same
// status line in the trace, the values (exactly 0 or 1) shown in the solver's
// grid, and the solution lines once every clause is satisfied.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Progress.h"
#include "solvers/SATSolver_Unit.h"

// The rule a problem's longest clause selects.
struct TProbSatRule {
    bool Polynomial = true;
    double Cb = 2.06;
    double Eps = 0.9;  // the polynomial rule's only
};
TProbSatRule ProbSatRuleFor(int32_t longestClause);

class TProbSat {
  public:
    // Searches `problem` (whose literals fit its variables) from a random
    // assignment drawn from the process-wide random source. When `shown` is
    // given, its values follow the assignment and its grid shows them; it must
    // hold the same problem and outlive this search.
    explicit TProbSat(const TSatProblem& problem, TSatSolver* shown = nullptr);

    // A new random assignment.
    void Restart();
    // One flip: the status line "valides : k / C" replacing the trace's last
    // line, the flip, then the solution lines when every clause is satisfied.
    // Once the problem is solved a step flips nothing and shows the solution
    // again; a problem with an empty clause is never solved.
    void Step();
    // Flips without trace lines until solved, `maxFlips` flips (-1: no limit)
    // or `timeLimitSeconds` (0: none) have passed, or the progress, told the flips
    // done every few milliseconds, asks to stop ("Solve interrupted" then). True
    // when solved. The shown solver receives the assignment at the end.
    bool Run(int64_t maxFlips, double timeLimitSeconds = 0, TProgress& progress = NoProgress());

    bool IsFinished() const { return fUnsatisfied.empty(); }
    int32_t ValidClauseCount() const;
    int64_t Flips() const { return fFlips; }
    const TProbSatRule& Rule() const { return fRule; }
    // Value of variable v at index v (index 0 unused).
    std::vector<bool> Assignment() const;
    // Whether the last Run ended because the progress asked to.
    bool Interrupted() const { return fInterrupted; }

  private:
    void Flip(int32_t variable);
    int32_t PickVariable(const TClause& clause);
    void MakeUnsatisfied(int32_t clause);
    void MakeSatisfied(int32_t clause);
    void Mirror(int32_t variable);
    void MirrorAll();
    double Weight(int32_t breaks) const;

    // Clauses without repeated literals; a clause holding a literal and its
    // negation is always satisfied and left out. Empty clauses stay.
    std::vector<TClause> fClauses;
    int32_t fOriginalClauses = 0;
    int32_t fVariables = 0;
    std::vector<std::vector<int32_t>> fOccurrences;  // by literal: 2v (+v) and 2v+1 (-v)
    std::vector<uint8_t> fValues;                    // by variable
    std::vector<int32_t> fTrueCount;                 // by clause
    std::vector<int32_t> fCritical;                  // the only true variable, by clause
    std::vector<int32_t> fBreaks;                    // by variable
    std::vector<int32_t> fUnsatisfied;               // clause numbers
    std::vector<int32_t> fUnsatisfiedAt;             // by clause: its place there, or -1
    std::vector<double> fWeights;                    // f(b) for small b
    std::vector<double> fChoice;                     // scratch for PickVariable
    TProbSatRule fRule;
    TSatSolver* fShown;
    int64_t fFlips = 0;
    bool fInterrupted = false;
};
