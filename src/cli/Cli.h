// The command-line tool's subcommands. Each engine's subcommand lives in a file of
// its own and registers itself with one KAVELIN_SUBCOMMAND line, so adding one
// touches nothing else.
//
// The rules every subcommand keeps, so that scripts can trust the tool:
// - Standard output carries the result and the trace lines that are the run's
//   record, nothing else. Every error, warning and refusal goes once to standard
//   error, as one line "kavelin-cli: <command>: <message>" (ReportError; the
//   engines' Messenger errors and warnings reach it by themselves: an error as
//   its message alone, without the box's "*ERROR*" and the trace's banners, a
//   warning as its whole "Warning : ..." line).
// - The exit status follows one rule: kExitDone, kExitFailed (a file that cannot
//   be read, a refused input, an engine error), kExitUsage (an unknown option, a
//   missing argument, a value outside its documented range), kExitInterrupted
//   (SIGINT). `sat solve` keeps the SAT competition's statuses instead.
// - Arguments are checked against what they mean before any work: a file that
//   is missing is said first (RequireFile); an output file's extension must name
//   the format written (RequireExtension), otherwise the call is a usage error.
// - `kavelin-cli help SUBCOMMAND`, and `--help` or `-h` anywhere among a
//   subcommand's arguments, print
//   the usage, the summary and fHelp, wrapped to 80 columns; the tool handles
//   them before fRun is called. fSummary fits the general help's one line: 60
//   columns at most. fHelp that documents its own exit statuses ("Exit status:")
//   replaces the tool's paragraph about them.
// - `--json` (before the subcommand, or among its arguments: TakeFlag) asks a
//   subcommand whose result is a record for one JSON document on standard output
//   (TJsonObject, PrintJson), with the same figures as the text form.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Progress.h"

struct TSubcommand {
    std::string fName;
    std::string fUsage;    // the arguments, as --help shows them
    std::string fSummary;  // one line
    // Receives the arguments after the subcommand's name as the command line gave
    // them: file names stay the system's bytes, and each subcommand converts the
    // texts it hands to an engine with Utf8ToAnsi. Returns the exit status.
    std::function<int(const std::vector<std::string>&)> fRun;
    // What `help SUBCOMMAND` adds after the usage and the summary: the options,
    // their ranges, the meaning of kinds or types, the exit statuses that differ
    // from the tool's rule. Paragraphs part with a blank line; a line that begins
    // with two spaces is kept as it stands (a table), any other is wrapped to 80
    // columns.
    std::string fHelp = {};
    // Whether the subcommand answers --json; the tool then takes every "--json"
    // out of its arguments and sets JsonOutput.
    bool fJson = false;
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

// The exit statuses of every subcommand but `sat solve`.
constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

// Writes "kavelin-cli: <command>: <message>" to standard error as one line (line
// ends inside the message become spaces). `message` is UTF-8; engine text goes
// through AnsiToUtf8 first. An empty command gives "kavelin-cli: <message>".
void ReportError(const std::string& command, const std::string& message);
// ReportError, then exit status kExitUsage.
int UsageError(const std::string& subcommand, const std::string& message);
// ReportError, then exit status kExitFailed.
int Failure(const std::string& subcommand, const std::string& message);

// The name of the subcommand under way ("" before one is chosen).
const std::string& CurrentSubcommand();

// Removes every `flag` from `args`; true when there was one.
bool TakeFlag(std::vector<std::string>& args, const std::string& flag);

// Whether a file can be read: false, reported as "<what> '<file>' does not exist"
// (or "... is a folder"), when it cannot. Call it before anything else reads the
// file; the caller returns kExitFailed. An empty name passes, for the engine to
// refuse in its own words.
bool RequireFile(const std::string& subcommand, const std::string& file,
                 const std::string& what = "file");
// Whether the output file's name ends in `extension` (".png", ".txt", ...),
// letter case aside; false, reported, when it does not: the caller returns
// kExitUsage. The tool never writes a format under another format's name.
bool RequireExtension(const std::string& subcommand, const std::string& option,
                      const std::string& file, const std::string& extension);

// --json: set by the tool's own option, or by the subcommand when its arguments
// hold one (TakeFlag(args, "--json")).
bool JsonOutput();
void SetJsonOutput(bool json);

// A JSON record, written through Qt's JSON writer. Texts are UTF-8.
class TJsonArray;
class TJsonObject {
  public:
    TJsonObject();
    ~TJsonObject();
    TJsonObject(const TJsonObject& other);
    TJsonObject& operator=(const TJsonObject& other);

    TJsonObject& Set(const std::string& key, double value);
    TJsonObject& Set(const std::string& key, int64_t value);
    TJsonObject& Set(const std::string& key, int32_t value) {
        return Set(key, static_cast<int64_t>(value));
    }
    TJsonObject& Set(const std::string& key, bool value);
    TJsonObject& Set(const std::string& key, const std::string& value);
    TJsonObject& Set(const std::string& key, const char* value) {
        return Set(key, std::string(value));
    }
    TJsonObject& Set(const std::string& key, const TJsonObject& value);
    TJsonObject& Set(const std::string& key, const TJsonArray& value);

  private:
    friend class TJsonArray;
    friend void PrintJson(const TJsonObject& object, std::FILE* stream);
    struct TData;
    std::unique_ptr<TData> fData;
};

class TJsonArray {
  public:
    TJsonArray();
    ~TJsonArray();
    TJsonArray(const TJsonArray& other);
    TJsonArray& operator=(const TJsonArray& other);

    TJsonArray& Append(double value);
    TJsonArray& Append(int64_t value);
    TJsonArray& Append(int32_t value) { return Append(static_cast<int64_t>(value)); }
    TJsonArray& Append(const std::string& value);
    TJsonArray& Append(const TJsonObject& value);
    TJsonArray& Append(const TJsonArray& value);

  private:
    friend class TJsonObject;
    struct TData;
    std::unique_ptr<TData> fData;
};

// Writes the document, indented, with a final line end.
void PrintJson(const TJsonObject& object, std::FILE* stream = stdout);

// The trace lines sent so far (engine text, Windows-1252): a subcommand that
// answers --json builds its document from them, and its record is then the
// document alone (DropTrace).
std::vector<std::string> TraceLines();
void DropTrace();

// The progress sink for an engine's long work: a one-line display on standard
// error ("kavelin-cli: <command>: <done> of <total> (<percent> %)") when that is
// a terminal or with --progress, nothing otherwise, cleared when it goes. While
// one exists, the first SIGINT asks the work to stop (Report answers true, and
// the tool exits with kExitInterrupted once the engine has returned); a second
// SIGINT ends the tool at once, with the same status. Without one, SIGINT ends
// the tool at once.
class TToolProgress final : public TProgress {
  public:
    TToolProgress();
    ~TToolProgress() override;
    TToolProgress(const TToolProgress&) = delete;
    TToolProgress& operator=(const TToolProgress&) = delete;

    bool Report(std::int64_t done, std::int64_t total) override;

  private:
    bool fShown = false;
    std::int64_t fLastShownMs = -1;
};
// Whether a SIGINT has asked for a stop.
bool StopAsked();
// Clears the progress line, when one shows, so that an error line starts on a
// line of its own (ReportError calls it); the display comes back at its next
// redraw.
void ClearProgressLine();
// --progress: show the display even when standard error is no terminal.
void SetProgressForced(bool forced);

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
