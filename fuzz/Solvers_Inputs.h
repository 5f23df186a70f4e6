// Fuzz entries of the SAT solver's readers: constraint-file text as the SAT
// page's "Load" reads it (followed by a few steps of the search, which indexes
// the values by literal), and DIMACS text. Both check that a problem read back
// from the text it is written as is the same problem.
#pragma once

#include <cstdlib>
#include <string>

#include "Fuzz_Support.h"
#include "common/Ini_Manager_Unit.h"
#include "solvers/Dimacs_Unit.h"
#include "solvers/SATSolver_Unit.h"

namespace fuzz_detail {

inline void RequireFits(const TSatProblem& problem) {
    FuzzRequire(problem.VariableCount >= 0 && problem.VariableCount <= kMaxSatVariables,
                "variable count");
    for (const TClause& clause : problem.Clauses)
        for (const int32_t literal : clause)
            FuzzRequire(LiteralFits(literal, problem.VariableCount), "literals fit");
}

inline void RequireRoundTrips(const TSatProblem& problem) {
    TSatProblem fromConstraints;
    const TIniManager ini(TLineList(ConstraintLines(problem)));
    FuzzRequire(ReadConstraints(ini, fromConstraints) == TConstraintRead::Read &&
                    fromConstraints == problem,
                "constraint text reads back");
    TSatProblem fromDimacs;
    FuzzRequire(ReadDimacs(TLineList(DimacsLines(problem)), "round trip", fromDimacs) &&
                    fromDimacs == problem,
                "DIMACS text reads back");
}

// A few steps of the search on the installed problem.
inline void Search(TSatSolver& solver) {
    FuzzRequire(solver.Values().size() == static_cast<size_t>(solver.VariableCount()) + 1,
                "one value per variable and index 0");
    for (int step = 0; step < 3 && !solver.IsFinished(); ++step) solver.Step();
}

}  // namespace fuzz_detail

// Loads the text into a solver. Returns whether the problem was installed.
inline bool FuzzConstraintText(const std::string& bytes) {
    const TLineList lines = FuzzLines(bytes);
    TSatSolver solver(nullptr);
    const bool installed = solver.ParseLines(lines);
    if (installed) {
        TSatProblem problem{solver.VariableCount(), solver.Clauses()};
        fuzz_detail::RequireFits(problem);
        fuzz_detail::RequireRoundTrips(problem);
        fuzz_detail::Search(solver);
    }
    return installed;
}

// Reads the text as a DIMACS file into a solver. Returns whether it was read.
inline bool FuzzDimacsText(const std::string& bytes) {
    TSatProblem problem;
    if (!ReadDimacs(FuzzLines(bytes), "fuzz.cnf", problem)) {
        FuzzRequire(problem == TSatProblem{}, "a refused file leaves the problem unchanged");
        return false;
    }
    fuzz_detail::RequireFits(problem);
    fuzz_detail::RequireRoundTrips(problem);
    TSatSolver solver(nullptr);
    solver.LoadProblem(problem);
    fuzz_detail::Search(solver);
    return true;
}
