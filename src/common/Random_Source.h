// The process-wide pseudo-random source shared by every engine.
#pragma once

#include <cstdint>
#include <optional>

// Reseeds from the clock, unless a fixed seed is set (KAVELIN_SEED in the
// environment, --seed of the command-line tool, or SetFixedSeed): then every
// reseed uses that seed, so that runs can be repeated.
void Randomize();
// A uniform integer in [0, n); 0 when n <= 0.
int32_t RandomInt(int32_t n);
// A uniform real in [0, 1).
double RandomReal();

// Seeds the generator directly.
void RandomSeed(uint64_t seed);
// Sets or clears the seed that Randomize uses instead of the clock.
void SetFixedSeed(std::optional<uint64_t> seed);
std::optional<uint64_t> FixedSeed();
// Reads KAVELIN_SEED; an unparsable value is ignored.
void InitFixedSeedFromEnvironment();
