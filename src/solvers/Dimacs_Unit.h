// Dimacs_Unit: the DIMACS CNF format of satisfiability problems. Lines starting
// with "c" are comments; one header "p cnf V C" gives the number of variables and
// of clauses; each clause is a list of signed variable numbers ended by 0, over
// one or several lines (several clauses may share a line). A line "%" ends the
// clauses: what follows it (the "0" of the classic benchmark files) is ignored.
#pragma once

#include <string>
#include <vector>

#include "base/Line_List.h"
#include "solvers/SATSolver_Unit.h"

// Reads DIMACS lines. A malformed text is reported with one Error naming
// `source` and the line at fault, and `problem` is left unchanged.
bool ReadDimacs(const TLines& lines, const std::string& source, TSatProblem& problem);

// The DIMACS lines of a problem: the header, then one line per clause.
std::vector<std::string> DimacsLines(const TSatProblem& problem);

// Whether a file name ends in ".cnf", in any letter case.
bool IsDimacsFileName(const std::string& fileName);
