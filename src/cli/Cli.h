// The command-line tool's subcommands. Each engine's subcommand lives in a file of
// its own and registers itself with one KAVELIN_SUBCOMMAND line, so adding one
// touches nothing else.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TSubcommand {
    std::string fName;
    std::string fUsage;    // the arguments, as --help shows them
    std::string fSummary;  // one line
    // Receives the arguments after the subcommand's name as the command line gave
    // them: file names stay the system's bytes, and each subcommand converts the
    // texts it hands to an engine with Utf8ToAnsi. Returns the exit status.
    std::function<int(const std::vector<std::string>&)> fRun;
};

struct TSubcommandRegistrar {
    explicit TSubcommandRegistrar(TSubcommand subcommand);
};

#define KAVELIN_SUBCOMMAND_CAT2(a, b) a##b
#define KAVELIN_SUBCOMMAND_CAT(a, b) KAVELIN_SUBCOMMAND_CAT2(a, b)
#define KAVELIN_SUBCOMMAND(...)                                          \
    static const TSubcommandRegistrar KAVELIN_SUBCOMMAND_CAT(registrar_, \
                                                             __LINE__)(TSubcommand{__VA_ARGS__})

const std::vector<TSubcommand>& Subcommands();

// Conversions at the terminal's boundary: arguments and output are UTF-8, engine
// text is Windows-1252; characters the code page lacks become "?". A text that is
// not valid UTF-8 is taken as Windows-1252 already and passes unchanged.
std::string Utf8ToAnsi(const std::string& text);
std::string AnsiToUtf8(const std::string& text);

// Reports a usage error of a subcommand on standard error; returns exit status 2.
int UsageError(const std::string& subcommand, const std::string& message);

// Batches of runs of a randomised engine (--runs N).
//
// Seeds run `run` (from 1) of a batch: with the batch seed S (--seed or
// KAVELIN_SEED), every reseed of the run uses a seed drawn from S and the run's
// number, so that a whole batch repeats and its runs differ; without one, the run
// reseeds from the clock. EndRuns puts the batch seed back.
void SeedRun(const std::optional<uint64_t>& batchSeed, int64_t run);
void EndRuns(const std::optional<uint64_t>& batchSeed);

// The least, median (the mean of the two middle values for an even count),
// greatest and mean of a batch's figures.
struct TRunFigures {
    double fMin = 0;
    double fMedian = 0;
    double fMax = 0;
    double fMean = 0;
};
// `values` must not be empty.
TRunFigures FiguresOf(std::vector<double> values);
