// Complete_Solver_Unit: a verdict on a satisfiability problem from a complete
// solver (CaDiCaL underneath): satisfiable with a model, unsatisfiable, or
// unknown when a limit or a stop ended the search first. A model is checked
// against every clause before it is reported; one that fails is an error, never
// a "satisfiable".
//
// Also the census of a problem as the SAT page's integrity check reports it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "solvers/SATSolver_Unit.h"

enum class TSatVerdict {
    Satisfiable,
    Unsatisfiable,
    Unknown,  // a limit, a stop or an error ended the search
};

struct TCompleteResult {
    TSatVerdict Verdict = TSatVerdict::Unknown;
    // Satisfiable: the value of variable v at index v (index 0 unused).
    std::vector<bool> Model;
    bool Interrupted = false;   // the progress asked to stop
    bool LimitReached = false;  // the time or conflict limit ended the search
    bool Failed = false;        // reported: a model failed its check, or the proof file
};

struct TCompleteOptions {
    double TimeLimitSeconds = 0;  // 0: no limit
    int64_t MaxConflicts = -1;    // -1: no limit
    int64_t Seed = -1;            // -1: CaDiCaL's own default
    std::string ProofFile;        // empty: no proof; else a DRAT proof is written there
    // The name of the work in the line "<Work> interrupted" sent when the
    // progress asks to stop.
    const char* WorkName = "Solve";
};

// The first clause (from 0) that `model` (index v for variable v) leaves
// unsatisfied, or -1 when every clause is satisfied. An empty clause is never
// satisfied; a model shorter than the variables fails too.
int64_t FirstFailingClause(const TSatProblem& problem, const std::vector<bool>& model);

// Decides `problem` with CaDiCaL. `progress` hears the seconds spent (in
// milliseconds) out of the time limit every few milliseconds of the search;
// answering true stops it, which sends "<WorkName> interrupted".
TCompleteResult SolveComplete(const TSatProblem& problem, const TCompleteOptions& options = {},
                              TProgress& progress = NoProgress());

// What a problem holds, as the integrity check reports it.
struct TSatCensus {
    int64_t Clauses = 0;
    int32_t Variables = 0;         // declared
    int64_t Literals = 0;          // in all clauses
    int64_t EmptyClauses = 0;      // clauses of no literal: never satisfiable
    int64_t RepeatedLiterals = 0;  // occurrences of a literal already in its clause
    int64_t Tautologies = 0;       // clauses holding a literal and its negation
    int32_t UnusedVariables = 0;   // declared variables no clause mentions
};

TSatCensus CensusOf(const TSatProblem& problem);
