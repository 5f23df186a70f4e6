// kavelin-cli text-distance A B: the similarity score in the real format.
#include "analysis/Text_Distance_Unit.h"
#include "cli/Cli.h"
#include "diagnostics/Chrono_Unit.h"
#include "diagnostics/TraceUnit.h"

namespace {

int RunTextDistance(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("text-distance", "expects two texts, A and B");
    // Timed under the section of the page's handler, for --profile.
    TChrono chrono;
    chrono.StartTimer("distance");
    const double score = TTextDistanceManager().Distance(Utf8ToAnsi(args[0]), Utf8ToAnsi(args[1]));
    chrono.StopTimer("distance");
    Messenger.SendReal(score);
    return 0;
}

}  // namespace

KAVELIN_SUBCOMMAND("text-distance", "A B",
                   "the similarity score (0 to 100) of text A against text B, as the "
                   "\"Text Distance\" page computes it",
                   RunTextDistance);
