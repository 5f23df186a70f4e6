#include "common/Random_Source.h"

#include <chrono>
#include <cstdlib>
#include <random>

#include "base/Integer_Text.h"

namespace {

// mt19937_64 gives the same sequence on every standard library; the mapping to
// integers and reals below is written out so that it does too.
std::mt19937_64& Generator() {
    static std::mt19937_64 generator(5489u);
    return generator;
}

std::optional<uint64_t> gFixedSeed;

}  // namespace

void RandomSeed(uint64_t seed) {
    Generator().seed(seed);
}

void Randomize() {
    if (gFixedSeed) {
        RandomSeed(*gFixedSeed);
        return;
    }
    RandomSeed(static_cast<uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

int32_t RandomInt(int32_t n) {
    if (n <= 0) return 0;
    // The high half of a 64 x 32 bit product: uniform enough for these engines and
    // free of the modulo's bias towards small values.
    const uint64_t x = Generator()() >> 32;
    return static_cast<int32_t>((x * static_cast<uint64_t>(n)) >> 32);
}

double RandomReal() {
    return static_cast<double>(Generator()() >> 11) * 0x1.0p-53;
}

void SetFixedSeed(std::optional<uint64_t> seed) {
    gFixedSeed = seed;
}

std::optional<uint64_t> FixedSeed() {
    return gFixedSeed;
}

void InitFixedSeedFromEnvironment() {
    const char* text = std::getenv("KAVELIN_SEED");
    if (!text || !*text) return;
    if (const std::optional<uint64_t> seed = ParseUInt64(text, TIntegerForm::CLike))
        gFixedSeed = *seed;
}
