// kavelin-cli text-distance A B: the similarity score in the real format.
#include "analysis/Text_Distance_Unit.h"
#include "base/Real_Format.h"
#include "cli/Cli.h"
#include "diagnostics/Chrono_Unit.h"
#include "diagnostics/TraceUnit.h"

namespace {

int RunTextDistance(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("text-distance", "expects two texts, A and B");
    // Timed under the section of the page's handler, for --profile.
    TChrono chrono;
    TToolProgress progress;
    chrono.StartTimer("distance");
    const std::optional<double> score =
        TTextDistanceManager().Distance(Utf8ToAnsi(args[0]), Utf8ToAnsi(args[1]), progress);
    chrono.StopTimer("distance");
    if (!score) return kExitInterrupted;
    if (JsonOutput()) {
        PrintJson(TJsonObject().Set("score", *score));
        return kExitDone;
    }
    Messenger.SendReal(*score);
    return kExitDone;
}

}  // namespace

KAVELIN_SUBCOMMAND(
    "text-distance", "A B", "the similarity score of two texts, 0 to 100", RunTextDistance,
    "The score of text A against text B, as the \"Text Distance\" page computes it: 100 for "
    "equal texts, 0 for texts without a common character; A is the first text. The texts are "
    "UTF-8 at the terminal and Windows-1252 inside (a character that it lacks becomes \"?\").\n\n"
    "Long texts show their progress on standard error when that is a terminal (or with "
    "--progress); Ctrl+C stops the work with \"Text distance interrupted\" and exit 130.",
    true);
