#include "solvers/Complete_Solver_Unit.h"

#include <cadical.hpp>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <unordered_set>

#include "base/Integer_Text.h"
#include "base/Real_Format.h"
#include "diagnostics/TraceUnit.h"

namespace {

using TClock = std::chrono::steady_clock;

// CaDiCaL asks this between its search steps whether to end. It ends the search
// when the time limit has passed or the progress asks to stop; the progress
// hears from it every few milliseconds, not at each of CaDiCaL's many calls.
class TStopCheck final : public CaDiCaL::Terminator {
  public:
    TStopCheck(double limitSeconds, TProgress& progress)
        : fStart(TClock::now()), fLimitSeconds(limitSeconds), fProgress(progress) {}

    bool terminate() override {
        if (fInterrupted || fLimitReached) return true;
        const TClock::time_point now = TClock::now();
        const double seconds = std::chrono::duration<double>(now - fStart).count();
        if (fLimitSeconds > 0 && seconds >= fLimitSeconds) {
            fLimitReached = true;
            return true;
        }
        if (now - fLastReport >= kReportEvery) {
            fLastReport = now;
            const auto limitMs = static_cast<int64_t>(fLimitSeconds * 1000);
            if (fProgress.Report(static_cast<int64_t>(seconds * 1000), limitMs)) {
                fInterrupted = true;
                return true;
            }
        }
        return false;
    }

    bool fInterrupted = false;
    bool fLimitReached = false;

  private:
    static constexpr std::chrono::milliseconds kReportEvery{5};
    TClock::time_point fStart;
    TClock::time_point fLastReport{};
    double fLimitSeconds;
    TProgress& fProgress;
};

bool Refuse(TCompleteResult& result, const std::string& what) {
    Messenger.Error("Complete_Solver_Unit:SolveComplete:" + what);
    result.Verdict = TSatVerdict::Unknown;
    result.Failed = true;
    result.Model.clear();
    return false;
}

}  // namespace

int64_t FirstFailingClause(const TSatProblem& problem, const std::vector<bool>& model) {
    for (size_t i = 0; i < problem.Clauses.size(); ++i) {
        bool satisfied = false;
        for (const int32_t literal : problem.Clauses[i]) {
            const auto variable = static_cast<size_t>(std::abs(literal));
            if (variable < model.size() && model[variable] == (literal > 0)) {
                satisfied = true;
                break;
            }
        }
        if (!satisfied) return static_cast<int64_t>(i);
    }
    return -1;
}

TCompleteResult SolveComplete(const TSatProblem& problem, const TCompleteOptions& options,
                              TProgress& progress) {
    TCompleteResult result;
    CaDiCaL::Solver solver;
    solver.set("quiet", 1);
    if (options.Seed >= 0) solver.set("seed", static_cast<int>(options.Seed % INT_MAX));
    // The proof must be opened before the first clause is added: a proof
    // started later would miss the clauses before it.
    if (!options.ProofFile.empty()) {
        solver.set("binary", 0);  // DRAT as text lines, readable and accepted by checkers
        if (!solver.trace_proof(options.ProofFile.c_str())) {
            Refuse(result, "the proof file " + options.ProofFile + " cannot be written");
            return result;
        }
    }
    if (problem.VariableCount > 0) solver.reserve(problem.VariableCount);
    for (const TClause& clause : problem.Clauses) {
        for (const int32_t literal : clause) solver.add(literal);
        solver.add(0);
    }
    if (options.MaxConflicts >= 0)
        solver.limit("conflicts",
                     static_cast<int>(std::min<int64_t>(options.MaxConflicts, INT_MAX)));
    TStopCheck stop(options.TimeLimitSeconds, progress);
    solver.connect_terminator(&stop);
    const int answer = solver.solve();
    solver.disconnect_terminator();
    if (!options.ProofFile.empty()) solver.close_proof_trace();

    if (answer == 10) {
        std::vector<bool> model(static_cast<size_t>(problem.VariableCount) + 1, false);
        const int known = solver.vars();
        for (int32_t v = 1; v <= problem.VariableCount && v <= known; ++v)
            model[static_cast<size_t>(v)] = solver.val(v) > 0;
        if (const int64_t failing = FirstFailingClause(problem, model); failing >= 0) {
            Refuse(result, "the model leaves clause " + IntToStr(failing) +
                               " unsatisfied, no verdict given");
            return result;
        }
        result.Verdict = TSatVerdict::Satisfiable;
        result.Model = std::move(model);
        return result;
    }
    if (answer == 20) {
        result.Verdict = TSatVerdict::Unsatisfiable;
        return result;
    }
    result.Verdict = TSatVerdict::Unknown;
    if (stop.fInterrupted) {
        result.Interrupted = true;
        Messenger.Send(std::string(options.WorkName) + " interrupted");
    } else {
        result.LimitReached = true;
    }
    return result;
}

TSatCensus CensusOf(const TSatProblem& problem) {
    TSatCensus census;
    census.Clauses = static_cast<int64_t>(problem.Clauses.size());
    census.Variables = problem.VariableCount;
    std::vector<bool> used(static_cast<size_t>(std::max(problem.VariableCount, 0)) + 1, false);
    std::unordered_set<int32_t> seen;
    for (const TClause& clause : problem.Clauses) {
        census.Literals += static_cast<int64_t>(clause.size());
        if (clause.empty()) ++census.EmptyClauses;
        seen.clear();
        bool tautology = false;
        for (const int32_t literal : clause) {
            if (!seen.insert(literal).second) ++census.RepeatedLiterals;
            if (seen.count(-literal)) tautology = true;
            const auto variable = static_cast<size_t>(std::abs(literal));
            if (variable < used.size()) used[variable] = true;
        }
        if (tautology) ++census.Tautologies;
    }
    for (size_t v = 1; v < used.size(); ++v)
        if (!used[v]) ++census.UnusedVariables;
    return census;
}
