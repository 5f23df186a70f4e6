// kavelin-cli real VALUE: the value in the program's real format.
#include <cstdlib>

#include "base/Real_Format.h"
#include "cli/Cli.h"
#include "diagnostics/TraceUnit.h"

namespace {

int RunReal(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("real", "expects one number");
    char* end = nullptr;
    const double value = std::strtod(args[0].c_str(), &end);
    if (args[0].empty() || *end != '\0')
        return UsageError("real", "'" + args[0] + "' is not a number");
    Messenger.SendReal(value);
    return kExitDone;
}

}  // namespace

KAVELIN_SUBCOMMAND("real", "VALUE", "prints VALUE in the real format of the pages", RunReal,
                   "VALUE is read in C notation (a point, an optional exponent: 2.5, -1e-3). It "
                   "is printed with at most 15 significant digits, without trailing zeros, with "
                   "the decimal separator of the user's locale (LC_NUMERIC, LC_ALL).");
