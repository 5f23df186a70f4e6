// The search step written the plain way, as the reference for the solver's
// running decided count: the count is recounted over the whole value table for
// every clause, which makes a step cost clauses x variables. Values only: no
// trace lines and no grid. The explosion draws from the process-wide random
// source as the solver does.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/Random_Source.h"
#include "solvers/SATSolver_Unit.h"

struct TReferenceSat {
    std::vector<TClause> Clauses;
    std::vector<double> Values;

    int32_t DecidedCount() const {
        int32_t count = 0;
        for (const double value : Values)
            if (value == 0.0 || value == 1.0) ++count;
        return count;
    }
    bool IsFinished() const {
        for (const TClause& clause : Clauses)
            if (!IsClauseValid(clause, Values)) return false;
        return true;
    }

    void Step() {
        if (DecidedCount() == static_cast<int32_t>(Values.size()))
            for (size_t v = 1; v < Values.size(); ++v) Values[v] = RandomReal();
        const std::vector<double> snapshot = Values;
        for (const TClause& clause : Clauses) {
            const int32_t decided = DecidedCount();
            const int32_t length = static_cast<int32_t>(clause.size());
            if (length <= decided) continue;
            const double weight = 1.0 / (length - decided);
            for (const int32_t literal : clause) {
                double& value = Values[static_cast<size_t>(std::abs(literal))];
                if (value != 0.0 && value != 1.0)
                    value += (literal < 0 ? -1.0 : 1.0) * weight * 0.1;
            }
        }
        for (size_t v = 1; v < Values.size(); ++v)
            Values[v] = Values[v] < 0.0 ? 0.0 : Values[v] > 1.0 ? 1.0 : Values[v];
        if (IsFinished() || Values != snapshot) return;
        double smallest = 2.0, largest = -1.0;
        size_t smallestAt = 0, largestAt = 0;
        for (size_t v = 0; v < Values.size(); ++v) {
            if (!(Values[v] > 0.0 && Values[v] < 1.0)) continue;
            if (Values[v] < smallest) smallest = Values[smallestAt = v];
            if (Values[v] > largest) largest = Values[largestAt = v];
        }
        if (largest < 0.0) return;
        if (1.0 - largest >= smallest)
            Values[smallestAt] = 0.0;
        else
            Values[largestAt] = 1.0;
    }
};

// A random problem drawn directly (not through constraint text), for the
// differential test and the benchmarks.
inline TSatProblem RandomSatProblem(int32_t clauses, int32_t variables, int32_t from, int32_t to) {
    TSatProblem problem{variables, {}};
    for (int32_t i = 0; i < clauses; ++i) {
        TClause clause(static_cast<size_t>(from + RandomInt(to - from + 1)));
        for (int32_t& literal : clause) {
            const int32_t v = 1 + RandomInt(variables);
            literal = RandomInt(2) == 1 ? v : -v;
        }
        problem.Clauses.push_back(clause);
    }
    return problem;
}
