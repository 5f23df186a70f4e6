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

// The progress of run `run` of `runs`, told to the tool's display as the
// generations of the whole batch.
class TBatchProgress : public TProgress {
  public:
    TBatchProgress(TProgress& whole, int64_t runs) : fWhole(whole), fRuns(runs) {}
    void StartRun(int64_t run) { fRun = run; }
    bool Report(std::int64_t done, std::int64_t total) override {
        return fWhole.Report((fRun - 1) * total + done, fRuns * total);
    }

  private:
    TProgress& fWhole;
    int64_t fRuns;
    int64_t fRun = 1;
};

int RunBatch(int64_t runs) {
    const std::optional<uint64_t> batchSeed = FixedSeed();
    std::vector<double> optima;
    double distances = 0;
    TToolProgress display;
    TBatchProgress progress(display, runs);
    for (int64_t run = 1; run <= runs; ++run) {
        SeedRun(batchSeed, run);
        progress.StartRun(run);
        TMaxFinder finder;
        const std::optional<double> optimum = finder.FindMax(progress);
        if (!optimum) {
            EndRuns(batchSeed);
            return kExitInterrupted;
        }
        optima.push_back(*optimum);
        distances += std::fabs(optima.back() - std::sqrt(2.0));
    }
    EndRuns(batchSeed);
    const TRunFigures f = FiguresOf(optima);
    const double meanDistance = distances / static_cast<double>(runs);
    if (JsonOutput()) {
        DropTrace();
        PrintJson(
            TJsonObject()
                .Set("runs", runs)
                .Set("optimum",
                     TJsonObject().Set("min", f.fMin).Set("median", f.fMedian).Set("max", f.fMax))
                .Set("mean_distance_to_sqrt2", meanDistance));
        return kExitDone;
    }
    Messenger.Send("runs " + IntToStr(runs) + " optimum min " + FloatToStr(f.fMin) + " median " +
                   FloatToStr(f.fMedian) + " max " + FloatToStr(f.fMax));
    Messenger.Send("mean |optimum - sqrt(2)| " + FloatToStr(meanDistance));
    return kExitDone;
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
    TToolProgress progress;
    TMaxFinder finder;
    const std::optional<double> value = finder.FindMax(progress);
    if (!value) return kExitInterrupted;
    if (JsonOutput()) {
        DropTrace();
        PrintJson(TJsonObject().Set("optimum", *value));
        return kExitDone;
    }
    Messenger.Send("Optimum : " + FloatToStr(*value));
    return kExitDone;
}

}  // namespace

KAVELIN_SUBCOMMAND(
    "genetic", "[--runs N] [--seed N]", "the maximum that the genetic search finds", RunGenetic,
    "Runs the genetic search of the \"Algo Genetique\" page (a population of 1500 over 125 "
    "generations, 30 % surviving each, 80 % mutated, looking for the maximum of its curve, "
    "near the square root of 2) and prints "
    "\"Optimum : \" and the value found.\n\n"
    "  --runs N   N searches, 1 to 100000: prints \"runs N optimum min A median B\n"
    "             max C\" and \"mean |optimum - sqrt(2)| D\"\n"
    "  --seed N   every reseed uses N (with --runs, run i is seeded from N and i, so\n"
    "             that a batch repeats and its runs differ)",
    true);
