// kavelin-cli sat generate / solve / check, run as a separate program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "base/File_Io.h"
#include "base/Real_Format.h"
#include "cli/Cli_Run.h"
#include "solvers/Complete_Solver_Unit.h"
#include "solvers/Dimacs_Unit.h"
#include "solvers/Sat_Problems.h"
#include "solvers/Sat_Solution.h"
#include "support/Trace_Capture.h"

namespace fs = std::filesystem;

namespace {

const std::string kNoSeed = "-u KAVELIN_SEED LC_ALL=C LANG=C";

std::string DataFile(const std::string& name) {
    return std::string(KAVELIN_TEST_DATA) + "/sat/" + name;
}

TCliRun Sat(const std::vector<std::string>& args) {
    std::vector<std::string> words{"sat"};
    words.insert(words.end(), args.begin(), args.end());
    return RunCliWords(words, false, kNoSeed);
}

// Every clause of the file's problem is valid under the solution lines of `out`.
void ExpectSatisfies(const std::string& file, const std::string& out) {
    TTraceCapture capture;
    TLineList lines;
    lines.LoadFromFile(file);
    TSatProblem problem;
    ASSERT_TRUE(IsDimacsFileName(file) ? ReadDimacs(lines, file, problem)
                                       : ReadConstraintText(lines, file, problem));
    const std::vector<double> values = SolutionValues(SplitLines(out), problem.VariableCount);
    for (const TClause& clause : problem.Clauses) ASSERT_TRUE(IsClauseValid(clause, values)) << out;
}

class SatCli : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(fDir); }
    void TearDown() override { fs::remove_all(fDir); }
    std::string Write(const std::string& name, const std::string& text) {
        WriteFileAtomically((fDir / name).string(), text);
        return (fDir / name).string();
    }
    const fs::path fDir =
        fs::temp_directory_path() / ("kavelin_sat_cli_" + std::to_string(::getpid()));
};

}  // namespace

TEST_F(SatCli, GeneratedAndDimacsProblemsAreSolvedAndChecked) {
    for (const std::string seed : {"1", "2", "3"}) {
        const TCliRun generated = RunCliWords(
            {"--seed", seed, "sat", "generate", "80", "24", "10", "16"}, false, kNoSeed);
        ASSERT_EQ(generated.fStatus, 0);
        EXPECT_EQ(
            generated.fOut.rfind(
                "[General Datas]\nClause Number=80\nTotal Literal Number=24\n[Clause 0]\n", 0),
            0u);
        const std::string file = Write("problem" + seed + ".txt", generated.fOut);

        const TCliRun solved = Sat({"solve", file, "--seed", seed});
        ASSERT_EQ(solved.fStatus, 10) << solved.fOut << solved.fErr;
        EXPECT_NE(solved.fOut.find("\nSolution trouv\xC3\xA9"
                                   "e\nLiteral 1 "),
                  std::string::npos);
        EXPECT_EQ(Sat({"solve", file, "--seed", seed}).fOut, solved.fOut) << "a seeded run repeats";
        ExpectSatisfies(file, solved.fOut);
        const TCliRun checked =
            Sat({"check", file, Write("solution" + seed + ".txt", solved.fOut)});
        EXPECT_EQ(checked.fStatus, 0);
        EXPECT_EQ(checked.fOut, "every clause satisfied: 80 / 80\n");
    }
    // DIMACS, by its name or by its content.
    const TCliRun solved = Sat({"solve", DataFile("classic.cnf")});
    ASSERT_EQ(solved.fStatus, 10) << solved.fErr;
    ExpectSatisfies(DataFile("classic.cnf"), solved.fOut);
    EXPECT_EQ(Sat({"check", DataFile("classic.cnf"), Write("s.txt", solved.fOut)}).fStatus, 0);
    EXPECT_EQ(Sat({"solve", Write("classic.dat", ReadFileBytes(DataFile("classic.cnf")))}).fStatus,
              10);

    const TCliRun hopeless = Sat({"solve", DataFile("unsatisfiable.cnf"), "--max-steps", "50"});
    EXPECT_EQ(hopeless.fStatus, 0);
    EXPECT_EQ(hopeless.fOut.find("Solution"), std::string::npos);
    EXPECT_EQ(hopeless.fOut.rfind("valides : 1 / 2", 0), 0u) << hopeless.fOut;
}

TEST_F(SatCli, RefusedFilesWrongSolutionsAndWrongArgumentsFail) {
    for (const std::string name :
         {"beyond_variables.cnf", "beyond_variables.txt", "no_header.cnf"}) {
        const TCliRun run = Sat({"solve", DataFile(name)});
        EXPECT_EQ(run.fStatus, 1) << name;
        EXPECT_EQ(run.fOut.find("valides"), std::string::npos) << name;
        // One line on standard error, named after the subcommand.
        EXPECT_EQ(run.fErr.rfind("kavelin-cli: sat: ", 0), 0u) << run.fErr;
        EXPECT_EQ(std::count(run.fErr.begin(), run.fErr.end(), '\n'), 1) << run.fErr;
    }
    EXPECT_NE(Sat({"solve", DataFile("beyond_variables.txt")})
                  .fErr.find("[Clause 0] Literal1=4 is not a literal"),
              std::string::npos);
    EXPECT_EQ(
        Sat({"solve", Write("none.txt", "[General Datas]\nTotal Literal Number=2\n")}).fStatus, 1);
    EXPECT_EQ(Sat({"solve", (fDir / "missing.txt").string()}).fStatus, 1);

    const TCliRun checked =
        Sat({"check", DataFile("classic.cnf"),
             Write("wrong.txt", "Literal 1 true\nLiteral 2 true\nLiteral 3 All Values Work\n")});
    EXPECT_EQ(checked.fStatus, 1);
    EXPECT_EQ(checked.fOut, "clause 1 not satisfied\n");
    // A malformed solution line is refused with its number, control bytes shown escaped.
    const std::pair<std::string, std::string> malformedLines[] = {
        {"Literal 6 true", "Literal 6 true"},
        {"Literal 0 false", "Literal 0 false"},
        {"Literal x true", "Literal x true"},
        {"Literal 1 maybe", "Literal 1 maybe"},
        {"Literal 1 true ", "Literal 1 true "},
        {std::string("Literal 1\0 true", 15), "Literal 1\\x00 true"}};
    for (const auto& [line, shown] : malformedLines) {
        const TCliRun malformed =
            Sat({"check", DataFile("classic.cnf"),
                 Write("malformed.txt", "valides : 0 / 4\nLiteral 5 true\n" + line + "\n")});
        EXPECT_EQ(malformed.fStatus, 1) << shown;
        EXPECT_NE(malformed.fErr.find("malformed.txt line 3: \"" + shown +
                                      "\" is not \"Literal v "
                                      "true\", \"Literal v false\" or \"Literal v All Values "
                                      "Work\" with v in 1..5\n"),
                  std::string::npos)
            << malformed.fErr;
    }

    const TCliRun refused = Sat({"generate", "5", "4", "6", "5"});
    EXPECT_EQ(refused.fStatus, 1);
    EXPECT_TRUE(refused.fOut.find("[General Datas]") == std::string::npos);
    for (const auto& args :
         std::vector<std::vector<std::string>>{{},
                                               {"guess"},
                                               {"generate", "1", "2", "x", "3"},
                                               {"solve"},
                                               {"solve", "a", "--max-steps", "-1"},
                                               {"check", "a"}})
        EXPECT_EQ(Sat(args).fStatus, 2) << (args.empty() ? "" : args.back());
}

TEST_F(SatCli, RunsListTheirStepsAfterASummaryThatRepeatsWithItsSeed) {
    const std::string problem =
        std::string(KAVELIN_SOURCE_DIR) + "/Data/SATSolver/Default_80x24.txt";
    const TCliRun batch = Sat({"solve", problem, "--runs", "20", "--seed", "3"});
    EXPECT_EQ(batch.fStatus, 10) << batch.fOut << batch.fErr;
    const std::vector<std::string> lines = SplitLines(batch.fOut);
    ASSERT_EQ(lines.size(), 21u) << batch.fOut;
    // Every run of the default problem is solved; the summary is over the steps of
    // the run lines.
    std::vector<double> steps;
    for (size_t i = 1; i < lines.size(); ++i) {
        int run = 0;
        long long n = 0;
        char end[16] = {};
        ASSERT_EQ(std::sscanf(lines[i].c_str(), "run %d steps %lld %15s", &run, &n, end), 3);
        EXPECT_EQ(run, static_cast<int>(i));
        EXPECT_STREQ(end, "solved");
        steps.push_back(static_cast<double>(n));
    }
    std::sort(steps.begin(), steps.end());
    double mean = 0;
    for (const double n : steps) mean += n / 20;
    const std::string summary = "runs 20 solved 20 steps min " + FloatToStr(steps.front()) +
                                " median " + FloatToStr((steps[9] + steps[10]) / 2) + " max " +
                                FloatToStr(steps.back()) + " mean " + FloatToStr(mean);
    EXPECT_EQ(lines[0], summary);
    EXPECT_LT(steps.front(), steps.back()) << "the runs start from different values";

    // A seeded batch repeats, from either --seed; another seed gives other runs.
    EXPECT_EQ(Sat({"solve", problem, "--runs", "20", "--seed", "3"}).fOut, batch.fOut);
    EXPECT_EQ(
        RunCliWords({"--seed", "3", "sat", "solve", problem, "--runs", "20"}, false, kNoSeed).fOut,
        batch.fOut);
    EXPECT_NE(Sat({"solve", problem, "--runs", "20", "--seed", "4"}).fOut, batch.fOut);

    // Runs that use up their budget, and a batch without a solved run.
    const TCliRun budget =
        Sat({"solve", std::string(KAVELIN_SOURCE_DIR) + "/Data/SATSolver/Unsatisfiable_8x3.txt",
             "--runs", "2", "--max-steps", "40"});
    EXPECT_EQ(budget.fStatus, 0);
    EXPECT_EQ(budget.fOut,
              "runs 2 solved 0 steps min - median - max - mean -\n"
              "run 1 steps 40 budget\nrun 2 steps 40 budget\n");
    for (const std::string runs : {"0", "x", "1000001", ""})
        EXPECT_EQ(Sat({"solve", problem, "--runs", runs}).fStatus, 2) << runs;
}

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// The model of the "v" lines of a SAT competition answer, read apart from the
// tool: index v true for "v", false for "-v"; empty when the lines do not end in 0.
std::vector<bool> CompetitionModel(const std::string& out, int32_t variables) {
    std::vector<bool> model(static_cast<size_t>(variables) + 1, false);
    bool ended = false;
    for (const std::string& line : SplitLines(out)) {
        if (line.rfind("v ", 0) != 0) continue;
        std::istringstream words(line.substr(2));
        long long literal = 0;
        while (words >> literal) {
            if (literal == 0) ended = true;
            if (literal == 0 || std::llabs(literal) > variables) continue;
            model[static_cast<size_t>(std::llabs(literal))] = literal > 0;
        }
    }
    return ended ? model : std::vector<bool>{};
}

}  // namespace

TEST_F(SatCli, EveryMethodAnswersInTheCompetitionFormat) {
    // Long clauses, as the page generates them, which the relaxation solves
    // quickly; random 3-SAT at the hard ratio is for the two others.
    const TSatProblem planted = PlantedKSat(50, 120, 10, 7);
    const std::string satisfiable = Write("planted.cnf", JoinLines(DimacsLines(planted)));
    const TSatProblem hard3 = PlantedKSat(100, 426, 3, 7);
    const std::string hard3File = Write("planted3.cnf", JoinLines(DimacsLines(hard3)));
    for (const std::string method : {"probsat", "cdcl"}) {
        const TCliRun run = Sat({"solve", hard3File, "--method", method});
        ASSERT_EQ(run.fStatus, 10) << method << run.fOut << run.fErr;
        EXPECT_EQ(FirstFailingClause(hard3, CompetitionModel(run.fOut, 100)), -1) << method;
    }
    const TSatProblem pigeons = Pigeonhole(6, 5);
    const std::string unsatisfiable = Write("pigeons.cnf", JoinLines(DimacsLines(pigeons)));
    ASSERT_EQ(PicosatStatus(pigeons), 20);
    // The constraint text of the same problem is read as well.
    const std::string text = Write("planted.txt", JoinLines(ConstraintLines(planted)));
    for (const std::string method : {"relaxation", "probsat", "cdcl"}) {
        for (const std::string& file : {satisfiable, text}) {
            const TCliRun run = Sat({"solve", file, "--method", method, "--seed", "5"});
            ASSERT_EQ(run.fStatus, 10) << method << run.fOut << run.fErr;
            EXPECT_EQ(run.fOut.rfind("s SATISFIABLE\nv ", 0), 0u) << method;
            const std::vector<bool> model = CompetitionModel(run.fOut, 50);
            ASSERT_FALSE(model.empty()) << run.fOut;
            EXPECT_EQ(FirstFailingClause(planted, model), -1) << method;
            for (const std::string& line : SplitLines(run.fOut)) EXPECT_LE(line.size(), 78u);
        }
        const TCliRun unknown =
            Sat({"solve", unsatisfiable, "--method", method, "--max-steps", "200"});
        if (method == "cdcl") {
            EXPECT_EQ(unknown.fStatus, 20);
            EXPECT_EQ(unknown.fOut, "s UNSATISFIABLE\n");
        } else {
            EXPECT_EQ(unknown.fStatus, 0) << method;
            EXPECT_EQ(unknown.fOut, "s UNKNOWN\n") << method;
        }
    }
    const TCliRun seeded = Sat({"solve", satisfiable, "--method", "probsat", "--seed", "9"});
    EXPECT_EQ(Sat({"solve", satisfiable, "--method", "probsat", "--seed", "9"}).fOut, seeded.fOut);

    // The relaxation's trace lines stay with --trace, the answer after them.
    const TCliRun traced =
        Sat({"solve", DataFile("classic.cnf"), "--method", "relaxation", "--seed", "1", "--trace"});
    EXPECT_EQ(traced.fStatus, 10);
    EXPECT_EQ(traced.fOut.rfind("valides : ", 0), 0u) << traced.fOut;
    EXPECT_NE(traced.fOut.find("\nSolution trouv\xC3\xA9"
                               "e\n"),
              std::string::npos);
    EXPECT_NE(traced.fOut.find("\ns SATISFIABLE\nv "), std::string::npos);
}

TEST_F(SatCli, TheCompleteSolverWritesProofsAndKeepsItsLimits) {
    const std::string unsatisfiable =
        Write("pigeons.cnf", JoinLines(DimacsLines(Pigeonhole(6, 5))));
    const std::string proof = (fDir / "proof.drat").string();
    const TCliRun proved = Sat({"solve", unsatisfiable, "--method", "cdcl", "--proof", proof});
    EXPECT_EQ(proved.fStatus, 20) << proved.fErr;
    const std::vector<std::string> steps = SplitLines(ReadFileBytes(proof));
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), "0") << "the proof ends in the empty clause";

    const std::string hard = Write("hard.cnf", JoinLines(DimacsLines(Pigeonhole(12, 11))));
    const TCliRun timed = Sat({"solve", hard, "--method", "cdcl", "--time-limit", "0.2"});
    EXPECT_EQ(timed.fStatus, 0);
    EXPECT_EQ(timed.fOut, "s UNKNOWN\n");
    EXPECT_EQ(Sat({"solve", hard, "--method", "cdcl", "--max-steps", "50"}).fOut, "s UNKNOWN\n");

    const TCliRun runs = Sat({"solve", unsatisfiable, "--method", "cdcl", "--runs", "3"});
    EXPECT_EQ(runs.fStatus, 20);
    const std::vector<std::string> lines = SplitLines(runs.fOut);
    ASSERT_EQ(lines.size(), 4u) << runs.fOut;
    EXPECT_EQ(lines[0].rfind("runs 3 satisfiable 0 unsatisfiable 3 ms min ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[3].rfind("run 3 ms ", 0), 0u);
    EXPECT_NE(lines[3].find(" unsatisfiable"), std::string::npos);

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"solve", unsatisfiable, "--method", "walk"},
             {"solve", unsatisfiable, "--method"},
             {"solve", unsatisfiable, "--proof", proof},
             {"solve", unsatisfiable, "--method", "probsat", "--proof", proof},
             {"solve", unsatisfiable, "--method", "cdcl", "--proof", proof, "--runs", "2"},
             {"solve", unsatisfiable, "--time-limit", "0"},
             {"solve", unsatisfiable, "--time-limit", "-1"},
             {"solve", unsatisfiable, "--time-limit", "soon"}}) {
        const TCliRun refused = Sat(args);
        EXPECT_EQ(refused.fStatus, 2) << args.back();
        EXPECT_EQ(refused.fOut, "") << args.back();
    }
    const TCliRun unwritable = Sat({"solve", unsatisfiable, "--method", "cdcl", "--proof",
                                    (fDir / "no-folder" / "proof.drat").string()});
    EXPECT_EQ(unwritable.fStatus, 1);
    EXPECT_NE(unwritable.fErr.find("proof.drat"), std::string::npos);
}

// --json carries the text form's answer, model, statuses and run figures, for
// one solve and for --runs, and a missing file is said before anything is read.
TEST_F(SatCli, JsonDocumentsHoldTheFiguresOfTheTextForm) {
    using nlohmann::json;
    const TSatProblem planted = PlantedKSat(30, 126, 3, 4);
    const std::string satisfiable = Write("planted.cnf", JoinLines(DimacsLines(planted)));
    const TSatProblem pigeons = Pigeonhole(4, 3);
    const std::string unsatisfiable = Write("pigeons.cnf", JoinLines(DimacsLines(pigeons)));
    for (const std::string method : {"relaxation", "probsat", "cdcl"}) {
        const std::vector<std::string> call{"solve",  satisfiable, "--method",    method,
                                            "--seed", "3",         "--max-steps", "100000"};
        std::vector<std::string> jsonCall = call;
        jsonCall.push_back("--json");
        const TCliRun text = Sat(call);
        const TCliRun document = Sat(jsonCall);
        ASSERT_EQ(document.fStatus, text.fStatus) << method << document.fErr;
        EXPECT_EQ(document.fErr, "");
        const json answer = json::parse(document.fOut);
        EXPECT_EQ(answer.at("method"), method);
        if (text.fStatus != 10) {
            EXPECT_EQ(answer.at("answer"), "unknown") << method;
            continue;
        }
        EXPECT_EQ(answer.at("answer"), "satisfiable");
        std::string vLines = "s SATISFIABLE\nv";
        for (const json& literal : answer.at("model")) {
            const std::string word = " " + std::to_string(literal.get<int64_t>());
            if (vLines.size() - vLines.rfind('\n') - 1 + word.size() > 78) vLines += "\nv";
            vLines += word;
        }
        EXPECT_EQ(vLines + (vLines.size() - vLines.rfind('\n') + 1 > 78 ? "\nv 0\n" : " 0\n"),
                  text.fOut)
            << method;
        EXPECT_EQ(answer.contains("steps"), method != "cdcl");
    }
    const TCliRun proved = Sat({"solve", unsatisfiable, "--method", "cdcl", "--json"});
    EXPECT_EQ(proved.fStatus, 20);
    EXPECT_EQ(json::parse(proved.fOut).at("answer"), "unsatisfiable");
    EXPECT_FALSE(json::parse(proved.fOut).contains("model"));

    // --runs: the summary's figures and one entry per run, as the text lists them.
    const std::vector<std::string> runs{"solve",  satisfiable, "--method", "probsat",
                                        "--runs", "4",         "--seed",   "11"};
    std::vector<std::string> runsJson = runs;
    runsJson.push_back("--json");
    const TCliRun text = Sat(runs);
    const TCliRun document = Sat(runsJson);
    ASSERT_EQ(document.fStatus, text.fStatus) << document.fErr;
    const json batch = json::parse(document.fOut);
    EXPECT_EQ(batch.at("runs"), 4);
    const std::vector<std::string> lines = SplitLines(text.fOut);
    ASSERT_EQ(lines.size(), 5u) << text.fOut;
    EXPECT_EQ(lines[0], "runs 4 solved " + std::to_string(batch.at("solved").get<int64_t>()) +
                            " steps min " + FloatToStr(batch.at("steps").at("min")) + " median " +
                            FloatToStr(batch.at("steps").at("median")) + " max " +
                            FloatToStr(batch.at("steps").at("max")) + " mean " +
                            FloatToStr(batch.at("steps").at("mean")));
    for (size_t i = 0; i < 4; ++i) {
        const json& run = batch.at("each").at(i);
        EXPECT_EQ(lines[i + 1], "run " + std::to_string(i + 1) + " steps " +
                                    std::to_string(run.at("steps").get<int64_t>()) + " " +
                                    (run.at("answer") == "satisfiable" ? "solved" : "budget"));
    }
    const TCliRun cdclRuns =
        Sat({"solve", unsatisfiable, "--method", "cdcl", "--runs", "2", "--json"});
    EXPECT_EQ(cdclRuns.fStatus, 20);
    EXPECT_EQ(json::parse(cdclRuns.fOut).at("unsatisfiable"), 2);

    const TCliRun missing = Sat({"solve", (fDir / "none.cnf").string(), "--json"});
    EXPECT_EQ(missing.fStatus, 1);
    EXPECT_EQ(missing.fOut, "");
    EXPECT_EQ(missing.fErr,
              "kavelin-cli: sat: file '" + (fDir / "none.cnf").string() + "' does not exist\n");
}
