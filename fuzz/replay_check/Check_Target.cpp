// A target that the tests of the replay driver run: an input that begins with
// "rule" breaks an invariant, one that begins with "int" throws an int, and any
// other runs clean.
#include <string>

#include "../Fuzz_Target.h"

namespace {

void CheckInput(const std::string& bytes) {
    if (bytes.starts_with("rule")) FuzzRequire(false, "the input breaks a rule");
    if (bytes.starts_with("int")) throw 7;
}

}  // namespace

KAVELIN_FUZZ_TARGET(CheckInput, (void)0)
