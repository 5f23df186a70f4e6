// kavelin-cli genetic [--seed N]: the genetic search for the maximum, as the
// "Algo Genetique" page runs it.
// kavelin-cli genetic --runs N [--seed S]: N searches (run i seeded from S and i
// when a seed is given), then "runs N optimum min A median B max C" and the mean
// distance of the optima to the square root of 2.
#include <cmath>
#include <vector>

#include "base/Integer_Text.h"
#include "base/Real_Format.h"
#include "cli/Cli.h"
#include "common/Random_Source.h"
#include "diagnostics/TraceUnit.h"
#include "solvers/CourbeMaxFinder.h"

namespace {

constexpr int64_t kMaxRuns = 100000;

int RunBatch(int64_t runs) {
    const std::optional<uint64_t> batchSeed = FixedSeed();
    std::vector<double> optima;
    double distances = 0;
    for (int64_t run = 1; run <= runs; ++run) {
        SeedRun(batchSeed, run);
        TMaxFinder finder;
        optima.push_back(finder.FindMax());
        distances += std::fabs(optima.back() - std::sqrt(2.0));
    }
    EndRuns(batchSeed);
    const TRunFigures f = FiguresOf(optima);
    Messenger.Send("runs " + IntToStr(runs) + " optimum min " + FloatToStr(f.fMin) + " median " +
                   FloatToStr(f.fMedian) + " max " + FloatToStr(f.fMax));
    Messenger.Send("mean |optimum - sqrt(2)| " + FloatToStr(distances / static_cast<double>(runs)));
    return 0;
}

int RunGenetic(const std::vector<std::string>& args) {
    int64_t runs = 0;
    for (size_t k = 0; k < args.size(); ++k) {
        if (args[k] == "--runs") {
            const std::optional<int64_t> parsed =
                ParseInt64(k + 1 < args.size() ? args[k + 1] : "", TIntegerForm::CLike);
            if (!parsed || *parsed < 1 || *parsed > kMaxRuns)
                return UsageError("genetic",
                                  "--runs needs a whole number from 1 to " + IntToStr(kMaxRuns));
            runs = *parsed;
            ++k;
            continue;
        }
        if (args[k] == "--seed" && k + 1 < args.size()) {
            const std::optional<uint64_t> seed = ParseUInt64(args[k + 1], TIntegerForm::CLike);
            if (!seed) return UsageError("genetic", "--seed needs a whole number of 0 or more");
            SetFixedSeed(*seed);
            ++k;
            continue;
        }
        if (args[k] == "--seed")
            return UsageError("genetic", "--seed needs a whole number of 0 or more");
        return UsageError("genetic", "unexpected argument '" + args[k] + "'");
    }
    if (runs > 0) return RunBatch(runs);
    TMaxFinder finder;
    const double value = finder.FindMax();
    Messenger.Send("Optimum : " + FloatToStr(value));
    return 0;
}

}  // namespace

KAVELIN_SUBCOMMAND("genetic", "[--runs N] [--seed N]",
                   "the maximum found by the genetic solver (\"Optimum : \" and the value), "
                   "as the \"Algo Genetique\" page shows it; with --runs, the optima of N runs",
                   RunGenetic);
