#include "solvers/ProbSat_Unit.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

#include "base/Real_Format.h"
#include "common/Random_Source.h"
#include "diagnostics/TraceUnit.h"

namespace {

// Break counts beyond this are looked up by the formula rather than the table.
constexpr int32_t kWeightTable = 64;

size_t LiteralIndex(int32_t literal) {
    return 2 * static_cast<size_t>(std::abs(literal)) + (literal < 0 ? 1 : 0);
}

}  // namespace

TProbSatRule ProbSatRuleFor(int32_t longestClause) {
    if (longestClause <= 3) return TProbSatRule{true, 2.06, 0.9};
    if (longestClause == 4) return TProbSatRule{false, 3.0, 0};
    if (longestClause == 5) return TProbSatRule{false, 3.7, 0};
    if (longestClause == 6) return TProbSatRule{false, 5.1, 0};
    return TProbSatRule{false, 5.4, 0};
}

TProbSat::TProbSat(const TSatProblem& problem, TSatSolver* shown)
    : fOriginalClauses(static_cast<int32_t>(problem.Clauses.size())),
      fVariables(problem.VariableCount),
      fShown(shown) {
    int32_t longest = 0;
    for (const TClause& clause : problem.Clauses) {
        TClause kept;
        bool tautology = false;
        for (const int32_t literal : clause) {
            if (std::find(kept.begin(), kept.end(), -literal) != kept.end()) tautology = true;
            if (std::find(kept.begin(), kept.end(), literal) == kept.end()) kept.push_back(literal);
        }
        if (tautology) continue;
        longest = std::max(longest, static_cast<int32_t>(kept.size()));
        fClauses.push_back(std::move(kept));
    }
    fRule = ProbSatRuleFor(longest);
    for (int32_t b = 0; b < kWeightTable; ++b) fWeights.push_back(Weight(b));

    const size_t variables = static_cast<size_t>(fVariables) + 1;
    fOccurrences.assign(2 * variables, {});
    for (size_t c = 0; c < fClauses.size(); ++c)
        for (const int32_t literal : fClauses[c])
            fOccurrences[LiteralIndex(literal)].push_back(static_cast<int32_t>(c));
    Restart();
}

double TProbSat::Weight(int32_t breaks) const {
    if (breaks < static_cast<int32_t>(fWeights.size()))
        return fWeights[static_cast<size_t>(breaks)];
    return fRule.Polynomial ? std::pow(fRule.Eps + breaks, -fRule.Cb) : std::pow(fRule.Cb, -breaks);
}

void TProbSat::Restart() {
    const size_t variables = static_cast<size_t>(fVariables) + 1;
    fValues.assign(variables, 0);
    for (size_t v = 1; v < variables; ++v) fValues[v] = static_cast<uint8_t>(RandomInt(2));
    fTrueCount.assign(fClauses.size(), 0);
    fCritical.assign(fClauses.size(), 0);
    fBreaks.assign(variables, 0);
    fUnsatisfied.clear();
    fUnsatisfiedAt.assign(fClauses.size(), -1);
    for (size_t c = 0; c < fClauses.size(); ++c) {
        for (const int32_t literal : fClauses[c]) {
            if (fValues[static_cast<size_t>(std::abs(literal))] != (literal > 0)) continue;
            ++fTrueCount[c];
            fCritical[c] = std::abs(literal);
        }
        if (fTrueCount[c] == 0) MakeUnsatisfied(static_cast<int32_t>(c));
        if (fTrueCount[c] == 1) ++fBreaks[static_cast<size_t>(fCritical[c])];
    }
    MirrorAll();
}

void TProbSat::MakeUnsatisfied(int32_t clause) {
    fUnsatisfiedAt[static_cast<size_t>(clause)] = static_cast<int32_t>(fUnsatisfied.size());
    fUnsatisfied.push_back(clause);
}

void TProbSat::MakeSatisfied(int32_t clause) {
    const int32_t at = fUnsatisfiedAt[static_cast<size_t>(clause)];
    const int32_t last = fUnsatisfied.back();
    fUnsatisfied[static_cast<size_t>(at)] = last;
    fUnsatisfiedAt[static_cast<size_t>(last)] = at;
    fUnsatisfied.pop_back();
    fUnsatisfiedAt[static_cast<size_t>(clause)] = -1;
}

// The clauses of the literal made true gain a true literal; those of the literal
// made false lose one, and one left with a single true literal makes that
// literal's variable critical there.
void TProbSat::Flip(int32_t variable) {
    const auto v = static_cast<size_t>(variable);
    fValues[v] ^= 1;
    const int32_t madeTrue = fValues[v] ? variable : -variable;
    for (const int32_t c : fOccurrences[LiteralIndex(madeTrue)]) {
        const auto clause = static_cast<size_t>(c);
        const int32_t before = fTrueCount[clause]++;
        if (before == 0) {
            MakeSatisfied(c);
            fCritical[clause] = variable;
            ++fBreaks[v];
        } else if (before == 1) {
            --fBreaks[static_cast<size_t>(fCritical[clause])];
        }
    }
    for (const int32_t c : fOccurrences[LiteralIndex(-madeTrue)]) {
        const auto clause = static_cast<size_t>(c);
        const int32_t after = --fTrueCount[clause];
        if (after == 0) {
            MakeUnsatisfied(c);
            --fBreaks[v];
        } else if (after == 1) {
            for (const int32_t literal : fClauses[clause]) {
                const auto other = static_cast<size_t>(std::abs(literal));
                if (fValues[other] == (literal > 0)) {
                    fCritical[clause] = std::abs(literal);
                    ++fBreaks[other];
                    break;
                }
            }
        }
    }
    ++fFlips;
}

int32_t TProbSat::PickVariable(const TClause& clause) {
    fChoice.resize(clause.size());
    double sum = 0;
    for (size_t i = 0; i < clause.size(); ++i) {
        sum += Weight(fBreaks[static_cast<size_t>(std::abs(clause[i]))]);
        fChoice[i] = sum;
    }
    const double drawn = RandomReal() * sum;
    for (size_t i = 0; i + 1 < clause.size(); ++i)
        if (drawn < fChoice[i]) return std::abs(clause[i]);
    return std::abs(clause.back());
}

void TProbSat::Step() {
    Messenger.SetLinesToReplace(1);
    Messenger.Send("valides : " + IntToStr(ValidClauseCount()) + " / " +
                   IntToStr(fOriginalClauses));
    Messenger.RefreshTrace();
    if (!IsFinished()) {
        const TClause& clause = fClauses[static_cast<size_t>(fUnsatisfied[static_cast<size_t>(
            RandomInt(static_cast<int32_t>(fUnsatisfied.size())))])];
        if (clause.empty()) {
            ++fFlips;  // an empty clause: nothing to flip, the step still counts
            return;
        }
        const int32_t variable = PickVariable(clause);
        Flip(variable);
        Mirror(variable);
    }
    // As the relaxation's step does, a step on a solved problem shows the
    // solution again: the page stops stepping once it is solved.
    if (!fShown) return;
    if (IsFinished()) fShown->ShowSolution();
    if (!fShown->IsDisplayPaced()) fShown->ShowValues();
}

bool TProbSat::Run(int64_t maxFlips, double timeLimitSeconds, TProgress& progress) {
    using TClock = std::chrono::steady_clock;
    const TClock::time_point start = TClock::now();
    TClock::time_point lastReport = start;
    fInterrupted = false;
    const int64_t first = fFlips;
    // A problem with an empty clause never ends by itself: only the limits end it.
    bool emptyClause = false;
    for (const int32_t c : fUnsatisfied)
        emptyClause = emptyClause || fClauses[static_cast<size_t>(c)].empty();
    while (!IsFinished() && (maxFlips < 0 || fFlips - first < maxFlips)) {
        if (((fFlips - first) & 1023) == 0) {
            const TClock::time_point now = TClock::now();
            if (timeLimitSeconds > 0 &&
                std::chrono::duration<double>(now - start).count() >= timeLimitSeconds)
                break;
            if (now - lastReport >= std::chrono::milliseconds(5)) {
                lastReport = now;
                if (progress.Report(fFlips - first, maxFlips < 0 ? 0 : maxFlips)) {
                    fInterrupted = true;
                    Messenger.Send("Solve interrupted");
                    break;
                }
            }
        }
        if (emptyClause) {
            ++fFlips;
            continue;
        }
        const TClause& clause = fClauses[static_cast<size_t>(fUnsatisfied[static_cast<size_t>(
            RandomInt(static_cast<int32_t>(fUnsatisfied.size())))])];
        Flip(PickVariable(clause));
    }
    MirrorAll();
    return IsFinished();
}

int32_t TProbSat::ValidClauseCount() const {
    return fOriginalClauses - static_cast<int32_t>(fUnsatisfied.size());
}

std::vector<bool> TProbSat::Assignment() const {
    std::vector<bool> values(fValues.size(), false);
    for (size_t v = 1; v < fValues.size(); ++v) values[v] = fValues[v] != 0;
    return values;
}

void TProbSat::Mirror(int32_t variable) {
    if (fShown) fShown->SetTruth(variable, fValues[static_cast<size_t>(variable)] != 0);
}

void TProbSat::MirrorAll() {
    if (!fShown) return;
    for (int32_t v = 1; v <= fVariables; ++v) Mirror(v);
}
