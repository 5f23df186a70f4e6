// The SAT solver: generation, the constraint text and its refusals, the search
// step against the plain reference, the solution lines and the grid display.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "common/Ini_Manager_Unit.h"
#include "common/Random_Source.h"
#include "platform/Grid_Control.h"
#include "solvers/SATSolver_Unit.h"
#include "solvers/Sat_Reference.h"
#include "support/Trace_Capture.h"

namespace {

class TSeedGuard {
  public:
    explicit TSeedGuard(std::optional<uint64_t> seed) : fSaved(FixedSeed()) { SetFixedSeed(seed); }
    ~TSeedGuard() { SetFixedSeed(fSaved); }

  private:
    std::optional<uint64_t> fSaved;
};

TLineList Lines(std::vector<std::string> lines) {
    return TLineList(std::move(lines));
}

// The constraint text of a problem given as clauses.
TLineList Text(int32_t variables, std::vector<TClause> clauses) {
    return TLineList(ConstraintLines(TSatProblem{variables, std::move(clauses)}));
}

// A solver holding the clauses with the given values for variables 1..N.
void Install(TSatSolver& solver, std::vector<TClause> clauses, const std::vector<double>& values) {
    solver.LoadProblem(TSatProblem{static_cast<int32_t>(values.size()), std::move(clauses)});
    for (size_t v = 0; v < values.size(); ++v)
        solver.SetValue(static_cast<int32_t>(v + 1), values[v]);
}

}  // namespace

TEST(SatGenerate, DrawsInTheStatedOrderAndReadsBackIntoTheSameClauses) {
    TTraceCapture capture;
    const TSeedGuard seed(77);
    TSatSolver solver(nullptr);
    TLineList lines({"old"});
    solver.Generate(80, 24, 10, 16, lines);

    // Replaying the draws: clause length, then a sign and a variable per literal.
    RandomSeed(77);
    std::vector<TClause> expected(80);
    for (TClause& clause : expected) {
        clause.resize(static_cast<size_t>(10 + RandomInt(7)));
        for (int32_t& literal : clause) {
            const bool positive = RandomInt(2) == 1;
            literal = positive ? 1 + RandomInt(24) : -(1 + RandomInt(24));
        }
    }
    EXPECT_EQ(lines.Get(0), "[General Datas]");
    EXPECT_EQ(lines.Get(1), "Clause Number=80");
    EXPECT_EQ(lines.Get(2), "Total Literal Number=24");
    EXPECT_EQ(lines.Get(3), "[Clause 0]");
    EXPECT_EQ(lines.Get(4), "Nb Literals=" + std::to_string(expected[0].size()));
    EXPECT_EQ(lines.Get(5), "Literal0=" + std::to_string(expected[0][0]));

    EXPECT_TRUE(solver.Clauses().empty()) << "Generate leaves the solver alone";
    ASSERT_TRUE(solver.ParseLines(lines));
    EXPECT_EQ(solver.Clauses(), expected);
    EXPECT_EQ(solver.VariableCount(), 24);
    EXPECT_TRUE(capture.Boxes().empty());
}

TEST(SatGenerate, EdgeArgumentsAndRefusals) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    TLineList lines;
    solver.Generate(0, 5, 1, 3, lines);
    EXPECT_EQ(lines.Lines(), (std::vector<std::string>{"[General Datas]", "Clause Number=0",
                                                       "Total Literal Number=5"}));

    solver.Generate(30, 4, 3, 3, lines);
    ASSERT_TRUE(solver.ParseLines(lines));
    for (const TClause& clause : solver.Clauses()) EXPECT_EQ(clause.size(), 3u);

    // Clauses of no literal over no variable are a consistent problem.
    solver.Generate(2, 0, 0, 0, lines);
    EXPECT_EQ(lines.Get(4), "Nb Literals=0");

    lines.Assign({"kept"});
    solver.Generate(5, 4, 6, 5, lines);
    solver.Generate(5, 0, 1, 2, lines);
    solver.Generate(-1, 4, 1, 2, lines);
    solver.Generate(5, 4, -2, 2, lines);
    EXPECT_EQ(lines.Lines(), std::vector<std::string>{"kept"});
    ASSERT_EQ(capture.Boxes().size(), 4u);
    EXPECT_EQ(capture.Boxes()[0],
              "*ERROR*SATSolver_Unit:TSatSolver.Generate:From 6 > To 5, nothing generated");
    EXPECT_NE(capture.Boxes()[1].find("0 variables"), std::string::npos);
}

TEST(SatLoad, FreshValuesEachLoadAndSectionNamesInAnyCase) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    const TLineList text = Text(3, {{3, -1}, {-2}});
    solver.LoadFromLines(text);
    const std::vector<double> first = solver.Values();
    solver.LoadFromLines(text);
    EXPECT_EQ(solver.Clauses(), (std::vector<TClause>{{3, -1}, {-2}}));
    ASSERT_EQ(solver.Values().size(), 4u);
    EXPECT_EQ(solver.Values()[0], 0.0);
    for (size_t v = 1; v < 4; ++v) {
        EXPECT_NE(solver.Values()[v], first[v]);
        EXPECT_GE(solver.Values()[v], 0.0);
        EXPECT_LT(solver.Values()[v], 1.0);
    }

    TSatSolver lower(nullptr);
    lower.LoadFromLines(Lines({"[general datas]", "Clause Number=1", "Total Literal Number=2",
                               "  [ CLAUSE 0 ] ", "Nb Literals=2", "Literal1=-2", "Literal0=1"}));
    EXPECT_EQ(lower.Clauses(), (std::vector<TClause>{{1, -2}}));

    // A key in other letter case is not found: the previous problem stays, silently,
    // and its values are drawn again.
    const std::vector<double> before = lower.Values();
    lower.LoadFromLines(Lines({"[General Datas]", "clause number=1", "Total Literal Number=5"}));
    EXPECT_EQ(lower.Clauses(), (std::vector<TClause>{{1, -2}}));
    EXPECT_EQ(lower.Values().size(), 3u);
    EXPECT_NE(lower.Values()[1], before[1]);
    EXPECT_TRUE(capture.Boxes().empty());

    // An empty text is reported by the INI reader; the problem stays.
    lower.LoadFromLines(TLineList());
    EXPECT_EQ(capture.Boxes(),
              std::vector<std::string>{"*ERROR*Ini_Manager_Unit:LoadFromStrings:Strings vide"});
    EXPECT_EQ(lower.Clauses(), (std::vector<TClause>{{1, -2}}));
}

TEST(SatLoad, RefusesTextsThatWouldIndexBeyondTheValues) {
    const std::vector<TClause> previous{{1, 2}, {-2}};
    struct TCase {
        std::vector<std::string> lines;
        std::string message;
    };
    const std::string refused = ", problem refused";
    const std::vector<TCase> cases{
        {{"[General Datas]", "Clause Number=1", "Total Literal Number=3", "[Clause 0]",
          "Nb Literals=2", "Literal0=1", "Literal1=0"},
         "[Clause 0] Literal1=0 is not a literal of -3..-1 or 1..3"},
        {{"[General Datas]", "Clause Number=1", "Total Literal Number=3", "[Clause 0]",
          "Nb Literals=1", "Literal0=-4"},
         "[Clause 0] Literal0=-4 is not a literal of -3..-1 or 1..3"},
        {{"[General Datas]", "Clause Number=2", "Total Literal Number=3", "[Clause 0]",
          "Nb Literals=1", "Literal0=1", "[Clause 1]", "Nb Literals=2", "Literal0=2"},
         "[Clause 1] Literal1 is missing"},
        {{"[General Datas]", "Clause Number=1", "Total Literal Number=3", "[Clause 0]",
          "Nb Literals=-1"},
         "[Clause 0] Nb Literals=-1 is outside 0..2147483647"},
        {{"[General Datas]", "Clause Number=1", "Total Literal Number=3", "[Clause 0]",
          "Literal0=1"},
         "[Clause 0] Nb Literals is missing"},
        {{"[General Datas]", "Clause Number=1", "[Clause 0]", "Nb Literals=1", "Literal0=1"},
         "[General Datas] Total Literal Number is missing"},
        {{"[General Datas]", "Clause Number=-3", "Total Literal Number=3"},
         "[General Datas] Clause Number=-3 is outside 0..2147483647"},
        {{"[General Datas]", "Clause Number=1", "Total Literal Number=3", "[Clause 0]",
          "Nb Literals=1", "Literal0=+1"},
         "[Clause 0] Literal0=+1 is not a 32-bit integer"},
        {{"[General Datas]", "Clause Number=1", "Total Literal Number=3", "[Clause 0]",
          "Nb Literals=1", "Literal0=4294967297"},
         "[Clause 0] Literal0=4294967297 is not a 32-bit integer"},
        {{"[General Datas]", "Clause Number=0", "Total Literal Number=1000001"},
         "[General Datas] Total Literal Number=1000001 is outside 0..1000000"},
    };
    for (const TCase& c : cases) {
        TTraceCapture capture;
        TSatSolver solver(nullptr);
        Install(solver, previous, {1.0, 0.25});
        const std::vector<double> values = solver.Values();
        EXPECT_FALSE(solver.ParseLines(Lines(c.lines))) << c.message;
        EXPECT_EQ(capture.Boxes(),
                  std::vector<std::string>{"*ERROR*SATSolver_Unit:ReadConstraints:" + c.message +
                                           refused});
        EXPECT_EQ(solver.Clauses(), previous);
        EXPECT_EQ(solver.Values(), values);
        EXPECT_EQ(solver.DecidedCount(), 2);
    }
}

TEST(SatLoad, EmptyClauseIsNeverValidAndNoClausesIsFinished) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    solver.LoadFromLines(
        Lines({"[General Datas]", "Clause Number=2", "Total Literal Number=1", "[Clause 0]",
               "Nb Literals=0", "[Clause 1]", "Nb Literals=1", "Literal0=1"}));
    EXPECT_EQ(solver.Clauses(), (std::vector<TClause>{{}, {1}}));
    solver.SetValue(1, 1.0);
    EXPECT_EQ(solver.ValidClauseCount(), 1);
    EXPECT_FALSE(solver.IsFinished());
    EXPECT_TRUE(capture.Boxes().empty());

    TSatSolver none(nullptr);
    none.LoadFromLines(Text(4, {}));
    EXPECT_TRUE(none.IsFinished());
}

TEST(SatStep, EmptySolverReportsZeroCountsAndFinishes) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    solver.Step();
    EXPECT_EQ(capture.Lines(), (std::vector<std::string>{"valides : 0 / 0",
                                                         "clauses valides avant explosion : 0 / 0",
                                                         "Solution trouv\xE9"
                                                         "e"}));
    EXPECT_TRUE(solver.IsFinished());
}

TEST(SatStep, StallDecisionsAndSingleLiteralClauses) {
    TTraceCapture capture;
    // Single-literal clauses never push (the decided count holds entry 0): the
    // stalled step decides the value nearest to a bound.
    TSatSolver solver(nullptr);
    Install(solver, {{1}, {-2}, {3}}, {0.3, 0.6, 0.8});
    solver.Step();
    EXPECT_EQ(solver.Values(), (std::vector<double>{0.0, 0.3, 0.6, 1.0}));
    solver.Step();
    EXPECT_EQ(solver.Values(), (std::vector<double>{0.0, 0.0, 0.6, 1.0}));

    // Equal distances: the smallest becomes false; with every value 0.5 that is the first.
    Install(solver, {{1}, {2}, {3}}, {0.5, 0.5, 0.5});
    solver.Step();
    EXPECT_EQ(solver.Values(), (std::vector<double>{0.0, 0.0, 0.5, 0.5}));

    // One undecided value x: false when x <= 0.5, true otherwise.
    Install(solver, {{1}, {2}}, {0.5, 1.0});
    solver.Step();
    EXPECT_EQ(solver.Values()[1], 0.0);
    Install(solver, {{1}, {2}}, {0.5000001, 1.0});
    solver.Step();
    EXPECT_EQ(solver.Values()[1], 1.0);
    EXPECT_EQ(solver.DecidedCount(), 3);
}

TEST(SatStep, AStallDecisionThatCompletesTheSolutionReportsIt) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    Install(solver, {{1}, {-2}}, {0.7, 0.0});
    capture.Reset();
    solver.Step();
    EXPECT_TRUE(solver.IsFinished());
    EXPECT_EQ(capture.Lines(), (std::vector<std::string>{"valides : 1 / 2",
                                                         "Solution trouv\xE9"
                                                         "e",
                                                         "Literal 1 true", "Literal 2 false"}));
}

TEST(SatStep, ExplosionAndStatusLineReplacement) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    Install(solver, {{1, 2}, {-1}}, {1.0, 0.0});
    capture.Reset();
    solver.Step();
    EXPECT_EQ(capture.Lines(), (std::vector<std::string>{
                                   "valides : 1 / 2", "clauses valides avant explosion : 1 / 2"}));
    EXPECT_LT(solver.DecidedCount(), 3);

    // The next status line replaces the explosion line.
    Install(solver, {{1}, {-1}}, {0.4});
    solver.Step();
    EXPECT_EQ(capture.Lines(), (std::vector<std::string>{"valides : 1 / 2", "valides : 0 / 2"}));
}

TEST(SatStep, SolutionLinesListUndecidedVariables) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    // Clause length 3 over a decided count of 2 pushes with weight 1: 0.96 passes 1.
    Install(solver, {{1, -2, 3}}, {0.96, 0.0, 0.5, 0.5});
    solver.Step();
    EXPECT_EQ(solver.Values()[1], 1.0);
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{"valides : 1 / 1",
                                        "Solution trouv\xE9"
                                        "e",
                                        "Literal 1 true", "Literal 2 false",
                                        "Literal 3 All Values Work", "Literal 4 All Values Work"}));
}

// Once the decided count reaches a clause's length, the clause stops pushing.
TEST(SatStep, ClausesStopPushingAtTheDecidedCount) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    Install(solver, {{2, 3}}, {0.0, 0.7, 0.4});
    solver.Step();  // decided count 2 (entries 0 and 1) = clause length: stall, 0.7 -> true
    EXPECT_EQ(solver.Values(), (std::vector<double>{0.0, 0.0, 1.0, 0.4}));

    // A value reaching exactly 1.0 in the middle of the push counts for the next
    // clause at once: {2, 3} then has the decided count 2 and no longer pushes.
    ASSERT_EQ(0.9 + 1.0 * 0.1, 1.0);
    Install(solver, {{1, -1}, {2, 3}}, {0.9, 0.5, 0.5});
    solver.Step();
    EXPECT_EQ(solver.Values(), (std::vector<double>{0.0, 1.0, 0.5, 0.5}));
    EXPECT_EQ(solver.DecidedCount(), 2);
}

TEST(SatStep, RunningDecidedCountMatchesTheRecountStepByStep) {
    TTraceCapture capture;
    int explosions = 0;
    int solutions = 0;
    struct TShape {
        int32_t clauses, variables, from, to, steps;
    };
    for (const TShape shape :
         {TShape{80, 24, 10, 16, 400}, TShape{218, 50, 3, 3, 400}, TShape{60, 8, 1, 4, 400},
          TShape{20, 30, 2, 40, 200}, TShape{5, 3, 0, 2, 100}}) {
        for (uint64_t seed = 1; seed <= 6; ++seed) {
            RandomSeed(seed);
            const TSatProblem problem =
                RandomSatProblem(shape.clauses, shape.variables, shape.from, shape.to);
            TSatSolver solver(nullptr);
            solver.LoadProblem(problem);
            TReferenceSat reference{problem.Clauses, solver.Values()};
            for (int step = 0; step < shape.steps; ++step) {
                capture.Reset();
                RandomSeed(seed * 1000 + static_cast<uint64_t>(step));
                solver.Step();
                const std::vector<std::string> lines = capture.Lines();
                capture.Reset();
                RandomSeed(seed * 1000 + static_cast<uint64_t>(step));
                reference.Step();
                ASSERT_EQ(solver.Values(), reference.Values) << "seed " << seed << " step " << step;
                ASSERT_EQ(lines, capture.Lines());
                if (lines.size() > 1) ++(lines[1][0] == 'S' ? solutions : explosions);
                ASSERT_EQ(solver.DecidedCount(), reference.DecidedCount());
                ASSERT_EQ(solver.IsFinished(), reference.IsFinished());
                if (solver.IsFinished()) break;
            }
        }
    }
    // Both ends of the search were walked through.
    EXPECT_GT(explosions, 10);
    EXPECT_GT(solutions, 10);
}

TEST(SatDisplay, ValueColourColumnsAndTheLaidOutGrid) {
    TTraceCapture capture;
    TMemoryGridControl control(5, 5, 1, 1, 401, 393);
    TSatSolver solver(&control);
    std::vector<double> values(24, 0.25);
    values[0] = 0.5;
    values[1] = 1.0;
    values[2] = 0.0;
    values[3] = 0.999;
    Install(solver, {{1}}, values);
    EXPECT_EQ(solver.ValueColour(20, 1), clGreen);
    EXPECT_EQ(solver.ValueColour(19, 1), clWhite);
    EXPECT_EQ(solver.ValueColour(40, 2), clGreen);
    EXPECT_EQ(solver.ValueColour(1, 3), clGreen);
    EXPECT_EQ(solver.ValueColour(39, 4), clGreen);
    EXPECT_EQ(solver.ValueColour(1, 0), clWhite);
    EXPECT_EQ(solver.ValueColour(1, 25), clWhite);

    solver.ShowValues();
    EXPECT_EQ(control.ColCount(), 41);
    EXPECT_EQ(control.RowCount(), 25);
    EXPECT_EQ(control.ColWidth(0), 20);
    EXPECT_EQ(control.ColWidth(40), 8);  // trunc(381 / 40) - 1
    EXPECT_EQ(control.RowHeight(0), 20);
    EXPECT_EQ(control.RowHeight(24), 12);  // trunc(373 / 25 - 1) - 1
    EXPECT_EQ(control.Cell(5, 3), "");
    for (int32_t row = 1; row < 25; ++row) {
        for (int32_t col = 1; col < 41; ++col) {
            if (col == control.Col() && row == control.Row()) continue;  // drawn as selected
            control.DrawCell(col, row);
            const TRect rect = control.CellRect(col, row);
            const TColor expected = col == static_cast<int32_t>(std::trunc(
                                               39 * solver.Values()[static_cast<size_t>(row)])) +
                                                1
                                        ? clGreen
                                        : clWhite;
            ASSERT_EQ(
                control.fBitmap.Pixel((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2),
                expected)
                << col << " " << row;
        }
    }

    // Rows too many for the grid's height keep one pixel.
    solver.LoadProblem(TSatProblem{400, {}});
    solver.ShowValues();
    EXPECT_EQ(control.RowCount(), 401);
    EXPECT_EQ(control.RowHeight(400), 1);
    EXPECT_TRUE(capture.Boxes().empty());
}
