// kavelin-cli genetic [--seed N]: the genetic search for the maximum, as the
// "Algo Genetique" page runs it.
#include <cstdlib>

#include "cli/Cli.h"
#include "common/Random_Source.h"
#include "common/Real_Format.h"
#include "diagnostics/TraceUnit.h"
#include "solvers/CourbeMaxFinder.h"

namespace {

int RunGenetic(const std::vector<std::string>& args) {
    for (size_t k = 0; k < args.size(); ++k) {
        if (args[k] == "--seed" && k + 1 < args.size()) {
            const std::string& text = args[k + 1];
            char* end = nullptr;
            const unsigned long long seed = std::strtoull(text.c_str(), &end, 10);
            if (text.empty() || text[0] == '-' || *end != '\0')
                return UsageError("genetic", "--seed needs a whole number of 0 or more");
            SetFixedSeed(seed);
            ++k;
            continue;
        }
        if (args[k] == "--seed")
            return UsageError("genetic", "--seed needs a whole number of 0 or more");
        return UsageError("genetic", "unexpected argument '" + args[k] + "'");
    }
    TMaxFinder finder;
    const double value = finder.FindMax();
    Messenger.Send("Optimum : " + FloatToStr(value));
    return 0;
}

}  // namespace

KAVELIN_SUBCOMMAND("genetic", "[--seed N]",
                   "the maximum found by the genetic solver (\"Optimum : \" and the value), "
                   "as the \"Algo Genetique\" page shows it",
                   RunGenetic);
