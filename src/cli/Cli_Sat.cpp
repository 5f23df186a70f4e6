// kavelin-cli sat generate C N FROM TO: a random problem as constraint text.
// kavelin-cli sat solve FILE [--max-steps N] [--seed N]: loads a constraint or
//   DIMACS file and steps the search until every clause is valid or N steps
//   (10 million unless given) have run. The trace then holds the status lines as
//   the trace window would (each replaces the line before, so the one of a step
//   that exploded stays) and, when found, the solution lines. Exit 10 when
//   solved, 0 when the budget ran out, 1 when the file is refused.
// kavelin-cli sat solve FILE --runs N [--max-steps M] [--seed S]: N searches from
//   fresh random values (run i seeded from S and i when a seed is given), then the
//   line "runs N solved K steps min A median B max C mean D" over the solved runs
//   and one line "run i steps n solved|budget" per run. Exit 10 when every run
//   solved the problem, 0 otherwise.
// kavelin-cli sat check FILE SOLUTION: whether the values of the solution lines
//   ("Literal v true", "Literal v false", as sat solve prints them) make every
//   clause valid. Exit 0 when they do, 1 otherwise, and 1 with the line's number
//   for a line beginning with "Literal" that is not such a line.
#include <cstdio>
#include <optional>
#include <vector>

#include "base/Integer_Text.h"
#include "base/Real_Format.h"
#include "cli/Cli.h"
#include "common/Random_Source.h"
#include "common/String_Manager_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "solvers/Dimacs_Unit.h"
#include "solvers/SATSolver_Unit.h"

namespace {

constexpr int kSolvedStatus = 10;
constexpr int64_t kDefaultMaxSteps = 10000000;
constexpr int64_t kMaxRuns = 1000000;

bool ParseWhole(const std::string& text, int64_t highest, int64_t& value) {
    if (text.empty() || text[0] == '+') return false;
    const std::optional<uint64_t> parsed = ParseUInt64(text, TIntegerForm::CLike);
    if (!parsed || *parsed > static_cast<uint64_t>(highest)) return false;
    value = static_cast<int64_t>(*parsed);
    return true;
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

// Steps the loaded search until every clause is valid or `maxSteps` steps have
// run; the number of steps (calls of Step).
int64_t Search(TSatSolver& solver, int64_t maxSteps, bool& solved) {
    solved = false;
    int64_t steps = 0;
    while (!solved && steps < maxSteps) {
        solver.Step();
        ++steps;
        solved = solver.IsFinished();
    }
    return steps;
}

// `runs` searches of the problem, each from fresh random values; prints the
// summary over the solved runs, then one line per run.
int SolveRuns(const TSatProblem& problem, int64_t runs, int64_t maxSteps) {
    const std::optional<uint64_t> batchSeed = FixedSeed();
    TSatSolver solver(nullptr);
    std::vector<int64_t> steps;
    std::vector<bool> solved;
    std::vector<double> solvedSteps;
    for (int64_t run = 1; run <= runs; ++run) {
        SeedRun(batchSeed, run);
        solver.LoadProblem(problem);
        bool done = false;
        steps.push_back(Search(solver, maxSteps, done));
        solved.push_back(done);
        if (done) solvedSteps.push_back(static_cast<double>(steps.back()));
        // The runs' status and solution lines are not the batch's output.
        Messenger.ClearTrace();
    }
    EndRuns(batchSeed);
    std::string summary = "runs " + IntToStr(runs) + " solved " +
                          IntToStr(static_cast<int64_t>(solvedSteps.size())) + " steps ";
    if (solvedSteps.empty()) {
        summary += "min - median - max - mean -";
    } else {
        const TRunFigures f = FiguresOf(solvedSteps);
        summary += "min " + FloatToStr(f.fMin) + " median " + FloatToStr(f.fMedian) + " max " +
                   FloatToStr(f.fMax) + " mean " + FloatToStr(f.fMean);
    }
    std::printf("%s\n", summary.c_str());
    for (size_t i = 0; i < steps.size(); ++i)
        std::printf("run %zu steps %s %s\n", i + 1, IntToStr(steps[i]).c_str(),
                    solved[i] ? "solved" : "budget");
    return static_cast<int64_t>(solvedSteps.size()) == runs ? kSolvedStatus : 0;
}

int RunSolve(const std::vector<std::string>& args) {
    std::string fileName;
    int64_t maxSteps = kDefaultMaxSteps;
    int64_t runs = 0;
    for (size_t k = 1; k < args.size(); ++k) {
        if (args[k] == "--runs") {
            if (k + 1 >= args.size() || !ParseWhole(args[k + 1], kMaxRuns, runs) || runs < 1)
                return UsageError("sat",
                                  "--runs needs a whole number from 1 to " + IntToStr(kMaxRuns));
            ++k;
        } else if (args[k] == "--max-steps" || args[k] == "--seed") {
            int64_t value = 0;
            if (k + 1 >= args.size() || !ParseWhole(args[k + 1], INT64_MAX, value))
                return UsageError("sat", args[k] + " needs a whole number of 0 or more");
            if (args[k] == "--seed")
                SetFixedSeed(static_cast<uint64_t>(value));
            else
                maxSteps = value;
            ++k;
        } else if (fileName.empty()) {
            fileName = args[k];
        } else {
            return UsageError("sat", "unexpected argument '" + args[k] + "'");
        }
    }
    if (fileName.empty()) return UsageError("sat", "solve expects FILE");
    TSatProblem problem;
    if (!ReadProblem(fileName, problem)) return 1;
    if (runs > 0) return SolveRuns(problem, runs, maxSteps);
    Randomize();
    TSatSolver solver(nullptr);
    solver.LoadProblem(problem);
    bool solved = false;
    Search(solver, maxSteps, solved);
    return solved ? kSolvedStatus : 0;
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
    "generate C N FROM TO | solve FILE [--runs N] [--max-steps N] [--seed N] | check FILE SOLUTION",
    "SAT problems: random constraint text, the relaxation search (exit 10 when solved, "
    "0 when the step budget ran out; with --runs, the steps of N runs), and a check of solution "
    "lines",
    RunSat);
