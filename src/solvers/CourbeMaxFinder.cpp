#include "solvers/CourbeMaxFinder.h"

#include <cmath>

#include "common/Random_Source.h"
#include "diagnostics/TraceUnit.h"

namespace {

// Individuals of this problem are TMyReal; the solver only hands back what this
// problem created.
double ValueOf(const TIndividual& individual) {
    return static_cast<const TMyReal&>(individual).Val;
}

}  // namespace

TMaxFinder::TMaxFinder() {
    Randomize();
}

double TMaxFinder::Evaluate(const TIndividual& A) {
    // -((Val - sqrt 2) x (Val - sqrt 2) - 2), all in extended precision with the
    // square root taken at run time in that precision; rounded to a double at the end.
    const long double root = std::sqrt(2.0L);
    const long double d = static_cast<long double>(ValueOf(A)) - root;
    return static_cast<double>(-(d * d - 2.0L));
}

std::unique_ptr<TIndividual> TMaxFinder::Cross(const TIndividual& A, const TIndividual& B) {
    const long double sum = static_cast<long double>(ValueOf(A)) + ValueOf(B);
    return std::make_unique<TMyReal>(static_cast<double>(sum / 2.0L));
}

std::unique_ptr<TIndividual> TMaxFinder::Mutate(const TIndividual& A) {
    const int32_t r = RandomInt(10);
    const long double value = (static_cast<long double>(r) + ValueOf(A)) - 5.0L;
    return std::make_unique<TMyReal>(static_cast<double>(value));
}

std::unique_ptr<TIndividual> TMaxFinder::CreateRandom() {
    return std::make_unique<TMyReal>(static_cast<double>(RandomInt(50) - 25));
}

void TMaxFinder::Display(const TIndividual& A) {
    Messenger.SendReal(ValueOf(A));
}

double TMaxFinder::FindMax() {
    return FindMax(NoProgress()).value_or(0.0);
}

std::optional<double> TMaxFinder::FindMax(TProgress& progress) {
    TGeneticSolver solver;
    const TIndividual* best = solver.Solve(*this, 1500, 125, 30, 80, progress);
    if (solver.Interrupted()) return std::nullopt;
    return best ? ValueOf(*best) : 0.0;
}
