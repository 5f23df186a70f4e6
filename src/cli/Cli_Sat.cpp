// kavelin-cli sat generate C N FROM TO: a random problem as constraint text.
// kavelin-cli sat solve FILE [--max-steps N] [--time-limit S] [--seed N]: loads
//   a constraint or DIMACS file and steps the relaxation search until every
//   clause is valid, N steps (10 million unless given) have run or S seconds
//   have passed. The trace then holds the status lines as the trace window would
//   (each replaces the line before, so the one of a step that exploded stays)
//   and, when found, the solution lines. Exit 10 when solved, 0 when the budget
//   ran out, 1 when the file is refused.
// kavelin-cli sat solve FILE --method relaxation|probsat|cdcl [--max-steps N]
//   [--time-limit S] [--seed N] [--proof FILE] [--trace]: the answer in the SAT
//   competition's form, "s SATISFIABLE" and "v ... 0" lines, "s UNSATISFIABLE"
//   or "s UNKNOWN", exit 10, 20 or 0. The steps are the relaxation's steps,
//   probSAT's flips (10 million unless given) or CaDiCaL's conflicts (no limit
//   unless given); --proof writes CaDiCaL's DRAT proof; --trace keeps the
//   search's trace lines before the answer.
// kavelin-cli sat solve FILE --runs N [--method M] [--max-steps M] [--seed S]: N
//   searches from fresh random values (run i seeded from S and i when a seed is
//   given), then the line "runs N solved K steps min A median B max C mean D"
//   over the solved runs and one line "run i steps n solved|budget" per run; for
//   cdcl "runs N satisfiable K unsatisfiable U ms min .." over the decided runs
//   and "run i ms t satisfiable|unsatisfiable|unknown". Exit 10 when every run
//   solved the problem (20 when every cdcl run proved it unsatisfiable), 0
//   otherwise.
// kavelin-cli sat check FILE SOLUTION: whether the values of the solution lines
//   ("Literal v true", "Literal v false", as sat solve prints them) make every
//   clause valid. Exit 0 when they do, 1 otherwise, and 1 with the line's number
//   for a line beginning with "Literal" that is not such a line.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "base/Integer_Text.h"
#include "base/Real_Format.h"
#include "cli/Cli.h"
#include "common/Random_Source.h"
#include "common/String_Manager_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "solvers/Complete_Solver_Unit.h"
#include "solvers/Dimacs_Unit.h"
#include "solvers/ProbSat_Unit.h"
#include "solvers/SATSolver_Unit.h"

namespace {

constexpr int kSolvedStatus = 10;
constexpr int kUnsatisfiableStatus = 20;
constexpr int64_t kMaxTimeLimit = 1000000;  // seconds
constexpr int64_t kDefaultMaxSteps = 10000000;
constexpr int64_t kMaxRuns = 1000000;

bool ParseWhole(const std::string& text, int64_t highest, int64_t& value) {
    if (text.empty() || text[0] == '+') return false;
    const std::optional<uint64_t> parsed = ParseUInt64(text, TIntegerForm::CLike);
    if (!parsed || *parsed > static_cast<uint64_t>(highest)) return false;
    value = static_cast<int64_t>(*parsed);
    return true;
}

// Seconds of --time-limit: a plain decimal number above 0, up to kMaxTimeLimit.
std::optional<double> ParseSeconds(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return {};
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(seconds > 0) || seconds > kMaxTimeLimit) return {};
    return seconds;
}

// A file is read as DIMACS when its name ends in .cnf or its first meaningful
// line is a DIMACS comment or header; as constraint text otherwise.
bool IsDimacsText(const std::string& fileName, const TLines& lines) {
    if (IsDimacsFileName(fileName)) return true;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = lines.Get(i);
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        return line[first] == 'c' || line[first] == 'p';
    }
    return false;
}

// Loads the problem of a file; false, reported, when the file is refused.
bool ReadProblem(const std::string& fileName, TSatProblem& problem) {
    TLineList lines;
    lines.LoadFromFile(fileName);
    return IsDimacsText(fileName, lines) ? ReadDimacs(lines, fileName, problem)
                                         : ReadConstraintText(lines, fileName, problem);
}

int RunGenerate(const std::vector<std::string>& args) {
    if (args.size() != 5) return UsageError("sat", "generate expects C N FROM TO");
    int64_t numbers[4] = {};
    for (size_t k = 0; k < 4; ++k)
        if (!ParseWhole(args[k + 1], INT32_MAX, numbers[k]))
            return UsageError("sat",
                              "generate expects four whole numbers, not '" + args[k + 1] + "'");
    const TSatSolver solver(nullptr);
    TLineList lines;
    solver.Generate(static_cast<int32_t>(numbers[0]), static_cast<int32_t>(numbers[1]),
                    static_cast<int32_t>(numbers[2]), static_cast<int32_t>(numbers[3]), lines);
    for (const std::string& line : lines.Lines()) std::printf("%s\n", AnsiToUtf8(line).c_str());
    return 0;
}

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point start) {
    return std::chrono::duration<double>(TClock::now() - start).count();
}

// The methods of `sat solve --method`.
enum class TMethod { Relaxation, ProbSat, Cdcl };

const char* MethodName(TMethod method) {
    return method == TMethod::Relaxation ? "relaxation"
           : method == TMethod::ProbSat  ? "probsat"
                                         : "cdcl";
}

// What one solve is asked for.
struct TSolveRequest {
    std::string fFileName;
    bool fMethodGiven = false;  // without --method the relaxation's own output is kept
    TMethod fMethod = TMethod::Relaxation;
    int64_t fMaxSteps = kDefaultMaxSteps;
    bool fMaxStepsGiven = false;
    double fTimeLimit = 0;  // seconds, 0 for none
    std::string fProofFile;
    int64_t fRuns = 0;
    bool fTrace = false;
};

// Steps the loaded search until every clause is valid, `maxSteps` steps have run
// or `timeLimit` seconds (0: none) have passed; the number of steps (calls of
// Step).
int64_t Search(TSatSolver& solver, int64_t maxSteps, double timeLimit, bool& solved,
               TProgress& progress = NoProgress()) {
    const TClock::time_point start = TClock::now();
    solved = false;
    int64_t steps = 0;
    while (!solved && steps < maxSteps) {
        if (steps % 64 == 0) {
            if (timeLimit > 0 && SecondsSince(start) >= timeLimit) break;
            if (progress.Report(steps, maxSteps)) {
                Messenger.Send("Solve interrupted");
                break;
            }
        }
        solver.Step();
        ++steps;
        solved = solver.IsFinished();
    }
    return steps;
}

// One search by the request's method, from fresh random values (the complete
// solver draws none). `steps` is the relaxation's steps or probSAT's flips.
struct TSolveOutcome {
    TSatVerdict fVerdict = TSatVerdict::Unknown;
    std::vector<bool> fModel;
    int64_t fSteps = 0;
    double fSeconds = 0;
    bool fFailed = false;
};

// A SIGINT ends the search under way (the tool then exits with its interrupted
// status).
TSolveOutcome SolveOnce(const TSatProblem& problem, const TSolveRequest& request) {
    TToolProgress progress;
    TSolveOutcome outcome;
    const TClock::time_point start = TClock::now();
    switch (request.fMethod) {
        case TMethod::Relaxation: {
            TSatSolver solver(nullptr);
            solver.LoadProblem(problem);
            bool solved = false;
            outcome.fSteps =
                Search(solver, request.fMaxSteps, request.fTimeLimit, solved, progress);
            if (solved) {
                outcome.fVerdict = TSatVerdict::Satisfiable;
                // An undecided variable serves no clause: false does as well as true.
                outcome.fModel.assign(solver.Values().size(), false);
                for (size_t v = 1; v < solver.Values().size(); ++v)
                    outcome.fModel[v] = solver.Values()[v] == 1.0;
            }
            break;
        }
        case TMethod::ProbSat: {
            TProbSat search(problem);
            if (search.Run(request.fMaxSteps, request.fTimeLimit, progress)) {
                outcome.fVerdict = TSatVerdict::Satisfiable;
                outcome.fModel = search.Assignment();
            }
            outcome.fSteps = search.Flips();
            break;
        }
        case TMethod::Cdcl: {
            TCompleteOptions options;
            options.TimeLimitSeconds = request.fTimeLimit;
            if (request.fMaxStepsGiven) options.MaxConflicts = request.fMaxSteps;
            if (const std::optional<uint64_t> seed = FixedSeed())
                options.Seed = static_cast<int64_t>(*seed & 0x7FFFFFFF);
            options.ProofFile = request.fProofFile;
            TCompleteResult result = SolveComplete(problem, options, progress);
            outcome.fVerdict = result.Verdict;
            outcome.fModel = std::move(result.Model);
            outcome.fFailed = result.Failed;
            break;
        }
    }
    outcome.fSeconds = SecondsSince(start);
    return outcome;
}

// The answer's lines in the SAT competition's form: "s" and the verdict, then
// for a model every variable as v or -v, ended by 0, in "v" lines of at most 78
// characters.
std::vector<std::string> AnswerLines(const TSolveOutcome& outcome) {
    switch (outcome.fVerdict) {
        case TSatVerdict::Unsatisfiable:
            return {"s UNSATISFIABLE"};
        case TSatVerdict::Unknown:
            return {"s UNKNOWN"};
        case TSatVerdict::Satisfiable:
            break;
    }
    std::vector<std::string> lines{"s SATISFIABLE"};
    std::string line = "v";
    const auto put = [&](const std::string& word) {
        if (line.size() + 1 + word.size() > 78) {
            lines.push_back(line);
            line = "v";
        }
        line += " " + word;
    };
    for (size_t v = 1; v < outcome.fModel.size(); ++v)
        put(IntToStr(outcome.fModel[v] ? static_cast<int64_t>(v) : -static_cast<int64_t>(v)));
    put("0");
    lines.push_back(line);
    return lines;
}

int StatusOf(TSatVerdict verdict) {
    return verdict == TSatVerdict::Satisfiable     ? kSolvedStatus
           : verdict == TSatVerdict::Unsatisfiable ? kUnsatisfiableStatus
                                                   : 0;
}

const char* VerdictName(TSatVerdict verdict) {
    return verdict == TSatVerdict::Satisfiable     ? "satisfiable"
           : verdict == TSatVerdict::Unsatisfiable ? "unsatisfiable"
                                                   : "unknown";
}

// The answer as a document: the verdict, the relaxation's steps or probSAT's
// flips, the seconds, and for a model the literals of the "v" lines.
int PrintAnswerJson(const TSolveOutcome& outcome, TMethod method) {
    DropTrace();
    if (outcome.fFailed) return 1;
    TJsonObject answer;
    answer.Set("method", MethodName(method)).Set("answer", VerdictName(outcome.fVerdict));
    if (method != TMethod::Cdcl) answer.Set("steps", outcome.fSteps);
    answer.Set("seconds", outcome.fSeconds);
    if (outcome.fVerdict == TSatVerdict::Satisfiable) {
        TJsonArray model;
        for (size_t v = 1; v < outcome.fModel.size(); ++v)
            model.Append(outcome.fModel[v] ? static_cast<int64_t>(v) : -static_cast<int64_t>(v));
        answer.Set("model", model);
    }
    PrintJson(answer);
    return StatusOf(outcome.fVerdict);
}

// With --trace the search's trace lines stay, and the answer follows them in the
// trace; without it the answer is the whole output.
int PrintAnswer(const TSolveOutcome& outcome, bool trace) {
    if (!trace) Messenger.ClearTrace();
    if (outcome.fFailed) return 1;
    for (const std::string& line : AnswerLines(outcome)) {
        if (trace)
            Messenger.Send(line);
        else
            std::printf("%s\n", line.c_str());
    }
    return StatusOf(outcome.fVerdict);
}

std::string FiguresText(const std::string& name, const std::vector<double>& values) {
    if (values.empty()) return name + " min - median - max - mean -";
    const TRunFigures f = FiguresOf(values);
    return name + " min " + FloatToStr(f.fMin) + " median " + FloatToStr(f.fMedian) + " max " +
           FloatToStr(f.fMax) + " mean " + FloatToStr(f.fMean);
}

// The same figures as a document (none over no value).
TJsonObject FiguresJson(const std::vector<double>& values) {
    if (values.empty()) return TJsonObject();
    const TRunFigures f = FiguresOf(values);
    return TJsonObject()
        .Set("min", f.fMin)
        .Set("median", f.fMedian)
        .Set("max", f.fMax)
        .Set("mean", f.fMean);
}

// The batch of --runs as a document: the summary's figures, then each run.
void PrintRunsJson(const TSolveRequest& request, const std::vector<TSolveOutcome>& outcomes,
                   int64_t satisfiable, int64_t unsatisfiable,
                   const std::vector<double>& solvedSteps, const std::vector<double>& decidedMs) {
    DropTrace();
    const bool cdcl = request.fMethod == TMethod::Cdcl;
    TJsonObject batch;
    batch.Set("method", MethodName(request.fMethod)).Set("runs", request.fRuns);
    if (cdcl)
        batch.Set("satisfiable", satisfiable)
            .Set("unsatisfiable", unsatisfiable)
            .Set("ms", FiguresJson(decidedMs));
    else
        batch.Set("solved", satisfiable).Set("steps", FiguresJson(solvedSteps));
    TJsonArray each;
    for (size_t i = 0; i < outcomes.size(); ++i) {
        TJsonObject run;
        run.Set("run", static_cast<int64_t>(i + 1));
        if (cdcl)
            run.Set("ms", outcomes[i].fSeconds * 1000);
        else
            run.Set("steps", outcomes[i].fSteps);
        each.Append(run.Set("answer", VerdictName(outcomes[i].fVerdict)));
    }
    PrintJson(batch.Set("each", each));
}

// `runs` searches of the problem, each from fresh random values; prints the
// summary over the solved runs, then one line per run. The complete solver's
// runs count milliseconds and also its unsatisfiable answers, as it has no
// steps of its own.
int SolveRuns(const TSatProblem& problem, const TSolveRequest& request) {
    const std::optional<uint64_t> batchSeed = FixedSeed();
    std::vector<TSolveOutcome> outcomes;
    std::vector<double> solvedSteps;
    std::vector<double> decidedMs;
    int64_t satisfiable = 0;
    int64_t unsatisfiable = 0;
    for (int64_t run = 1; run <= request.fRuns; ++run) {
        SeedRun(batchSeed, run);
        outcomes.push_back(SolveOnce(problem, request));
        const TSolveOutcome& outcome = outcomes.back();
        if (outcome.fFailed) {
            EndRuns(batchSeed);
            return 1;
        }
        if (outcome.fVerdict == TSatVerdict::Satisfiable) {
            ++satisfiable;
            solvedSteps.push_back(static_cast<double>(outcome.fSteps));
        }
        if (outcome.fVerdict == TSatVerdict::Unsatisfiable) ++unsatisfiable;
        if (outcome.fVerdict != TSatVerdict::Unknown) decidedMs.push_back(outcome.fSeconds * 1000);
        if (StopAsked()) break;
        // The runs' status and solution lines are not the batch's output.
        Messenger.ClearTrace();
    }
    EndRuns(batchSeed);
    const int status = satisfiable == request.fRuns     ? kSolvedStatus
                       : unsatisfiable == request.fRuns ? kUnsatisfiableStatus
                                                        : 0;
    if (JsonOutput()) {
        PrintRunsJson(request, outcomes, satisfiable, unsatisfiable, solvedSteps, decidedMs);
        return status;
    }
    const std::string runs = "runs " + IntToStr(request.fRuns) + " ";
    if (request.fMethod == TMethod::Cdcl) {
        std::printf("%s\n", (runs + "satisfiable " + IntToStr(satisfiable) + " unsatisfiable " +
                             IntToStr(unsatisfiable) + " " + FiguresText("ms", decidedMs))
                                .c_str());
        for (size_t i = 0; i < outcomes.size(); ++i) {
            const TSatVerdict verdict = outcomes[i].fVerdict;
            std::printf("run %zu ms %s %s\n", i + 1,
                        FloatToStr(outcomes[i].fSeconds * 1000).c_str(), VerdictName(verdict));
        }
        return status;
    }
    std::printf("%s\n",
                (runs + "solved " + IntToStr(satisfiable) + " " + FiguresText("steps", solvedSteps))
                    .c_str());
    for (size_t i = 0; i < outcomes.size(); ++i)
        std::printf("run %zu steps %s %s\n", i + 1, IntToStr(outcomes[i].fSteps).c_str(),
                    outcomes[i].fVerdict == TSatVerdict::Satisfiable ? "solved" : "budget");
    return status;
}

// Reads the options of `sat solve`; a usage error's status, or -1 when they hold.
int ReadSolveRequest(const std::vector<std::string>& args, TSolveRequest& request) {
    for (size_t k = 1; k < args.size(); ++k) {
        const std::string& option = args[k];
        const bool hasValue = k + 1 < args.size();
        if (option == "--runs") {
            if (!hasValue || !ParseWhole(args[k + 1], kMaxRuns, request.fRuns) || request.fRuns < 1)
                return UsageError("sat",
                                  "--runs needs a whole number from 1 to " + IntToStr(kMaxRuns));
            ++k;
        } else if (option == "--max-steps" || option == "--seed") {
            int64_t value = 0;
            if (!hasValue || !ParseWhole(args[k + 1], INT64_MAX, value))
                return UsageError("sat", option + " needs a whole number of 0 or more");
            if (option == "--seed") {
                SetFixedSeed(static_cast<uint64_t>(value));
            } else {
                request.fMaxSteps = value;
                request.fMaxStepsGiven = true;
            }
            ++k;
        } else if (option == "--time-limit") {
            const std::optional<double> seconds =
                hasValue ? ParseSeconds(args[k + 1]) : std::nullopt;
            if (!seconds)
                return UsageError("sat", "--time-limit needs seconds, a number above 0 and up to " +
                                             IntToStr(kMaxTimeLimit));
            request.fTimeLimit = *seconds;
            ++k;
        } else if (option == "--method") {
            const std::string method = hasValue ? args[k + 1] : std::string();
            if (method == "relaxation")
                request.fMethod = TMethod::Relaxation;
            else if (method == "probsat")
                request.fMethod = TMethod::ProbSat;
            else if (method == "cdcl")
                request.fMethod = TMethod::Cdcl;
            else
                return UsageError("sat", "--method needs relaxation, probsat or cdcl");
            request.fMethodGiven = true;
            ++k;
        } else if (option == "--proof") {
            if (!hasValue || args[k + 1].empty())
                return UsageError("sat", "--proof needs the file to write the proof to");
            request.fProofFile = args[k + 1];
            ++k;
        } else if (option == "--trace") {
            request.fTrace = true;
        } else if (request.fFileName.empty() && (option.empty() || option[0] != '-')) {
            request.fFileName = option;
        } else {
            return UsageError("sat", "unexpected argument '" + option + "'");
        }
    }
    if (request.fFileName.empty()) return UsageError("sat", "solve expects FILE");
    if (!request.fProofFile.empty() && request.fMethod != TMethod::Cdcl)
        return UsageError("sat", "--proof needs --method cdcl");
    if (!request.fProofFile.empty() && request.fRuns > 0)
        return UsageError("sat", "--proof writes the proof of one run, not of --runs");
    return -1;
}

int RunSolve(const std::vector<std::string>& args) {
    TSolveRequest request;
    if (const int usage = ReadSolveRequest(args, request); usage >= 0) return usage;
    if (!RequireFile("sat", request.fFileName)) return kExitFailed;
    TSatProblem problem;
    if (!ReadProblem(request.fFileName, problem)) return 1;
    if (request.fRuns > 0) return SolveRuns(problem, request);
    Randomize();
    if (JsonOutput()) return PrintAnswerJson(SolveOnce(problem, request), request.fMethod);
    if (!request.fMethodGiven) {
        // The relaxation's own output: its trace lines, the solution lines when found.
        TToolProgress progress;
        TSatSolver solver(nullptr);
        solver.LoadProblem(problem);
        bool solved = false;
        Search(solver, request.fMaxSteps, request.fTimeLimit, solved, progress);
        return solved ? kSolvedStatus : 0;
    }
    return PrintAnswer(SolveOnce(problem, request), request.fTrace);
}

// A line of the solution: "Literal v true" (value 1), "Literal v false" (0) or
// "Literal v All Values Work" (undecided), v in 1..variableCount, gives v and
// its value; other lines that begin with "Literal" are malformed (false); any
// other line (a status line, the line announcing the solution) gives variable 0.
bool ReadSolutionLine(const std::string& line, int32_t variableCount, int32_t& variable,
                      double& value) {
    variable = 0;
    if (line.rfind("Literal", 0) != 0) return true;
    const size_t space = line.find(' ', 8);
    if (line.size() < 9 || line[7] != ' ' || space == std::string::npos) return false;
    const std::string digits = line.substr(8, space - 8);
    int64_t number = 0;
    if (digits.find_first_not_of("0123456789") != std::string::npos ||
        !ParseWhole(digits, variableCount, number) || number < 1)
        return false;
    const std::string meaning = line.substr(space + 1);
    if (meaning != "true" && meaning != "false" && meaning != "All Values Work") return false;
    variable = static_cast<int32_t>(number);
    value = meaning == "true" ? 1.0 : meaning == "false" ? 0.0 : 0.5;
    return true;
}

int RunCheck(const std::vector<std::string>& args) {
    if (args.size() != 3) return UsageError("sat", "check expects FILE SOLUTION");
    if (!RequireFile("sat", args[1]) || !RequireFile("sat", args[2], "solution"))
        return kExitFailed;
    TSatProblem problem;
    if (!ReadProblem(args[1], problem)) return 1;
    TSatSolver solver(nullptr);
    solver.LoadProblem(problem);
    // Variables that the solution does not name stay undecided and satisfy nothing.
    for (int32_t v = 1; v <= solver.VariableCount(); ++v) solver.SetValue(v, 0.5);
    TLineList solution;
    solution.LoadFromFile(args[2]);
    for (int i = 0; i < solution.Count(); ++i) {
        int32_t variable = 0;
        double value = 0.5;
        if (!ReadSolutionLine(solution.Get(i), solver.VariableCount(), variable, value)) {
            Messenger.Error("sat check:" + args[2] + " line " + IntToStr(i + 1) + ": \"" +
                            TStringManager::Printable(solution.Get(i)) +
                            "\" is not \"Literal v true\", \"Literal v false\" or \"Literal v "
                            "All Values Work\" with v in 1.." +
                            IntToStr(solver.VariableCount()));
            return 1;
        }
        if (variable > 0) solver.SetValue(variable, value);
    }
    for (size_t i = 0; i < solver.Clauses().size(); ++i) {
        if (!IsClauseValid(solver.Clauses()[i], solver.Values())) {
            Messenger.Send("clause " + IntToStr(static_cast<int64_t>(i)) + " not satisfied");
            return 1;
        }
    }
    Messenger.Send("every clause satisfied: " + IntToStr(solver.ValidClauseCount()) + " / " +
                   IntToStr(static_cast<int64_t>(solver.Clauses().size())));
    return 0;
}

int RunSat(const std::vector<std::string>& args) {
    if (args.empty()) return UsageError("sat", "expects generate, solve or check");
    if (args[0] == "generate") return RunGenerate(args);
    if (args[0] == "solve") return RunSolve(args);
    if (args[0] == "check") return RunCheck(args);
    return UsageError("sat", "unknown action '" + args[0] + "' (generate, solve or check)");
}

}  // namespace

KAVELIN_SUBCOMMAND(
    "sat",
    "generate C N FROM TO | solve FILE [--method relaxation|probsat|cdcl] [--runs N] "
    "[--max-steps N] [--time-limit S] [--seed N] [--proof FILE] [--trace] | check FILE SOLUTION",
    "SAT problems: generate, solve by three methods, check", RunSat,
    "generate writes a random problem of C clauses over N variables, FROM to TO literals "
    "each, as constraint text. solve reads a constraint or DIMACS file (DIMACS by a .cnf name "
    "or a first line that is a DIMACS comment or header). check tells whether the solution "
    "lines (\"Literal v true\", \"Literal v false\") make every clause of FILE valid.\n\n"
    "Without --method, solve steps the relaxation search and prints its trace: the status "
    "line and, when found, \"Solution trouv\xC3\xA9"
    "e\" with one line per variable. With "
    "--method the answer takes the SAT competition's form: \"s SATISFIABLE\" and \"v ... 0\" "
    "lines, \"s UNSATISFIABLE\" or \"s UNKNOWN\".\n\n"
    "  --method M      relaxation (the page's search), probsat (probSAT local\n"
    "                  search) or cdcl (CaDiCaL, the only one that proves a problem\n"
    "                  unsatisfiable)\n"
    "  --max-steps N   relaxation steps or probSAT flips (10000000 unless given),\n"
    "                  CaDiCaL conflicts (no limit unless given)\n"
    "  --time-limit S  seconds, above 0 and up to 1000000, for every method\n"
    "  --seed N        every reseed uses N (CaDiCaL's own seed too)\n"
    "  --proof FILE    with cdcl: CaDiCaL's DRAT proof, as text lines\n"
    "  --trace         with --method: the search's trace lines before the answer\n"
    "  --runs N        N runs, 1 to 1000000: \"runs N solved K steps min A median B\n"
    "                  max C mean D\" over the solved runs, then \"run i steps n\n"
    "                  solved|budget\"; with cdcl \"runs N satisfiable K\n"
    "                  unsatisfiable U ms min ..\" and \"run i ms t satisfiable|\n"
    "                  unsatisfiable|unknown\"\n\n"
    "Exit status: solve gives 10 satisfiable (every run, with --runs), 20 unsatisfiable (every "
    "cdcl run), 0 unknown or the budget ran out; 1 a file that cannot be read or is refused, or "
    "an engine error; 2 usage; 130 interrupted (SIGINT). check exits 0 when every clause is "
    "valid, 1 otherwise; generate 0, or 1 for refused numbers.\n\n"
    "With --json, solve prints one document: {\"method\", \"answer\" (satisfiable, "
    "unsatisfiable or unknown), \"steps\" (not for cdcl), \"seconds\", \"model\" (the "
    "literals of the v lines, when satisfiable)}; with --runs {\"method\", \"runs\", "
    "\"solved\" and \"steps\" (min, median, max, mean), or for cdcl \"satisfiable\", "
    "\"unsatisfiable\" and \"ms\", then \"each\": one {\"run\", \"steps\" or \"ms\", "
    "\"answer\"} per run}. The exit status is the text form's.",
    true);
