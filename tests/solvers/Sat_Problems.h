// Test and bench support: SAT problems whose answer is known by construction,
// and a second opinion from picosat, run as a separate program.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "solvers/Dimacs_Unit.h"
#include "solvers/SATSolver_Unit.h"

// Uniform random k-SAT: `clauses` clauses of `k` distinct variables with random
// signs. At 4.26 clauses per variable about half of the 3-SAT problems are
// satisfiable.
inline TSatProblem RandomKSat(int32_t variables, int32_t clauses, int32_t k, uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int32_t> variable(1, variables);
    TSatProblem problem{variables, {}};
    for (int32_t i = 0; i < clauses; ++i) {
        TClause clause;
        while (static_cast<int32_t>(clause.size()) < k) {
            const int32_t v = variable(random);
            bool repeated = false;
            for (const int32_t l : clause) repeated = repeated || std::abs(l) == v;
            if (!repeated) clause.push_back(random() % 2 ? v : -v);
        }
        problem.Clauses.push_back(clause);
    }
    return problem;
}

// Random k-SAT satisfied by a hidden assignment: a clause that the assignment
// would leave unsatisfied has one of its signs turned. Satisfiable.
inline TSatProblem PlantedKSat(int32_t variables, int32_t clauses, int32_t k, uint64_t seed) {
    TSatProblem problem = RandomKSat(variables, clauses, k, seed);
    std::mt19937_64 random(seed ^ 0x9E3779B97F4A7C15ULL);
    std::vector<bool> hidden(static_cast<size_t>(variables) + 1);
    for (size_t v = 1; v < hidden.size(); ++v) hidden[v] = random() % 2;
    for (TClause& clause : problem.Clauses) {
        bool satisfied = false;
        for (const int32_t l : clause) satisfied = satisfied || hidden[std::abs(l)] == (l > 0);
        if (!satisfied) clause[random() % clause.size()] *= -1;
    }
    return problem;
}

// Pigeons into holes, one pigeon per hole: unsatisfiable when pigeons > holes,
// and hard for resolution (CDCL needs time exponential in the holes).
inline TSatProblem Pigeonhole(int32_t pigeons, int32_t holes) {
    auto var = [holes](int32_t p, int32_t h) { return p * holes + h + 1; };
    TSatProblem problem{pigeons * holes, {}};
    for (int32_t p = 0; p < pigeons; ++p) {
        TClause somewhere;
        for (int32_t h = 0; h < holes; ++h) somewhere.push_back(var(p, h));
        problem.Clauses.push_back(somewhere);
    }
    for (int32_t h = 0; h < holes; ++h)
        for (int32_t p = 0; p < pigeons; ++p)
            for (int32_t q = p + 1; q < pigeons; ++q)
                problem.Clauses.push_back({-var(p, h), -var(q, h)});
    return problem;
}

// picosat's exit status on the problem written as DIMACS: 10 satisfiable, 20
// unsatisfiable; -1 when it could not be run.
inline int PicosatStatus(const TSatProblem& problem) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("kavelin_picosat_" + std::to_string(::getpid()) + ".cnf");
    {
        std::ofstream out(file);
        for (const std::string& line : DimacsLines(problem)) out << line << '\n';
    }
    const std::string command = "picosat '" + file.string() + "' > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    std::filesystem::remove(file);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
