// The SAT solver: generation, the constraint text and its refusals, the search
// step against the recounting reference, the solution lines and the grid.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "solvers/Sat_Reference.h"
#include "support/Global_Guards.h"
#include "support/Memory_Grid_Control.h"
#include "support/Trace_Capture.h"

namespace {

using TLines_ = std::vector<std::string>;
const std::string kSolutionLine =
    "Solution trouv\xE9"
    "e";

// The solver holds the clauses, with these values for variables 1..N.
void Install(TSatSolver& solver, std::vector<TClause> clauses, const std::vector<double>& values) {
    solver.LoadProblem(TSatProblem{static_cast<int32_t>(values.size()), std::move(clauses)});
    for (size_t v = 0; v < values.size(); ++v)
        solver.SetValue(static_cast<int32_t>(v + 1), values[v]);
}

}  // namespace

TEST(SatGenerate, DrawsInTheStatedOrderAndReadsBackIntoTheSameClauses) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    TLineList lines({"old"});
    {
        const TSeedGuard seed(77);
        solver.Generate(80, 24, 10, 16, lines);
    }

    // Replaying the draws: the clause length, then a sign and a variable per literal.
    RandomSeed(77);
    std::vector<TClause> expected(80);
    for (TClause& clause : expected) {
        clause.resize(static_cast<size_t>(10 + RandomInt(7)));
        for (int32_t& literal : clause)
            literal = RandomInt(2) == 1 ? 1 + RandomInt(24) : -(1 + RandomInt(24));
    }
    EXPECT_EQ(TLines_(lines.Lines().begin(), lines.Lines().begin() + 6),
              (TLines_{"[General Datas]", "Clause Number=80", "Total Literal Number=24",
                       "[Clause 0]", "Nb Literals=" + std::to_string(expected[0].size()),
                       "Literal0=" + std::to_string(expected[0][0])}));
    EXPECT_TRUE(solver.Clauses().empty()) << "Generate leaves the solver alone";
    ASSERT_TRUE(solver.ParseLines(lines));
    EXPECT_EQ(solver.Clauses(), expected);

    solver.Generate(0, 5, 1, 3, lines);
    EXPECT_EQ(lines.Lines(),
              (TLines_{"[General Datas]", "Clause Number=0", "Total Literal Number=5"}));
    solver.Generate(30, 4, 3, 3, lines);
    ASSERT_TRUE(solver.ParseLines(lines));
    for (const TClause& clause : solver.Clauses()) EXPECT_EQ(clause.size(), 3u);
    EXPECT_TRUE(capture.Boxes().empty());

    // Refused: from > to, literals over no variable, negative counts. Nothing is written.
    lines.Assign({"kept"});
    solver.Generate(5, 4, 6, 5, lines);
    solver.Generate(5, 0, 1, 2, lines);
    solver.Generate(-1, 4, 1, 2, lines);
    EXPECT_EQ(lines.Lines(), TLines_{"kept"});
    ASSERT_EQ(capture.Boxes().size(), 3u);
    EXPECT_EQ(capture.Boxes()[0],
              "*ERROR*SATSolver_Unit:TSatSolver.Generate:From 6 > To 5, nothing generated");
}

TEST(SatGenerate, ClausesAndLiteralsInAllAreBounded) {
    // Just inside: a million clauses, ten million literals in all.
    EXPECT_EQ(GenerateRefusal(1000000, 3, 0, 10), "");
    EXPECT_EQ(GenerateRefusal(1, 3, 10000000, 10000000), "");
    EXPECT_EQ(GenerateRefusal(1000001, 3, 0, 0), "1000001 clauses, more than 1000000");
    EXPECT_EQ(GenerateRefusal(2, 3, 1, 5000001),
              "2 clauses of up to 5000001 literals, 10000002 literals in all, more than 10000000");

    TTraceCapture capture;
    const TSatSolver solver(nullptr);
    TLineList lines({"kept"});
    solver.Generate(2000000000, 3, 1, 2, lines);
    solver.Generate(1, 3, 1, 2000000000, lines);
    EXPECT_EQ(lines.Lines(), TLines_{"kept"});
    EXPECT_EQ(capture.Boxes(),
              (TLines_{"*ERROR*SATSolver_Unit:TSatSolver.Generate:2000000000 clauses, more than "
                       "1000000, nothing generated",
                       "*ERROR*SATSolver_Unit:TSatSolver.Generate:1 clauses of up to 2000000000 "
                       "literals, 2000000000 literals in all, more than 10000000, nothing "
                       "generated"}));
}

TEST(SatLoad, FreshValuesEachLoadAndSectionNamesInAnyCase) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    const TLineList text(ConstraintLines(TSatProblem{3, {{3, -1}, {-2}}}));
    solver.LoadFromLines(text);
    const std::vector<double> first = solver.Values();
    solver.LoadFromLines(text);
    EXPECT_EQ(solver.Clauses(), (std::vector<TClause>{{3, -1}, {-2}}));
    ASSERT_EQ(solver.Values().size(), 4u);
    EXPECT_EQ(solver.Values()[0], 0.0);
    for (size_t v = 1; v < 4; ++v) {
        EXPECT_NE(solver.Values()[v], first[v]);
        EXPECT_TRUE(solver.Values()[v] >= 0.0 && solver.Values()[v] < 1.0);
    }

    solver.LoadFromLines(
        TLineList({"[general datas]", "Clause Number=1", "Total Literal Number=2",
                   "  [ CLAUSE 0 ] ", "Nb Literals=2", "Literal1=-2", "Literal0=1"}));
    EXPECT_EQ(solver.Clauses(), (std::vector<TClause>{{1, -2}}));
    // A key in other letter case is not found: the problem stays, silently, with new values.
    const std::vector<double> before = solver.Values();
    solver.LoadFromLines(
        TLineList({"[General Datas]", "clause number=1", "Total Literal Number=5"}));
    EXPECT_EQ(solver.Clauses(), (std::vector<TClause>{{1, -2}}));
    EXPECT_EQ(solver.Values().size(), 3u);
    EXPECT_NE(solver.Values()[1], before[1]);
    EXPECT_TRUE(capture.Boxes().empty());

    solver.LoadFromLines(TLineList());
    EXPECT_EQ(capture.Boxes(), TLines_{"*ERROR*Ini_Manager_Unit:LoadFromStrings:Strings vide"});
    EXPECT_EQ(solver.Clauses(), (std::vector<TClause>{{1, -2}}));

    // An empty clause loads and is never valid.
    solver.LoadFromLines(
        TLineList({"[General Datas]", "Clause Number=2", "Total Literal Number=1", "[Clause 0]",
                   "Nb Literals=0", "[Clause 1]", "Nb Literals=1", "Literal0=1"}));
    EXPECT_EQ(solver.Clauses(), (std::vector<TClause>{{}, {1}}));
    solver.SetValue(1, 1.0);
    EXPECT_EQ(solver.ValidClauseCount(), 1);
    EXPECT_FALSE(solver.IsFinished());
}

TEST(SatLoad, RefusesTextsThatWouldIndexBeyondTheValues) {
    const TLines_ head{"[General Datas]", "Clause Number=1", "Total Literal Number=3",
                       "[Clause 0]"};
    const auto with = [&](TLines_ tail) {
        TLines_ lines = head;
        lines.insert(lines.end(), tail.begin(), tail.end());
        return lines;
    };
    const std::vector<std::pair<TLines_, std::string>> cases{
        {with({"Nb Literals=2", "Literal0=1", "Literal1=0"}),
         "[Clause 0] Literal1=0 is not a literal of -3..-1 or 1..3"},
        {with({"Nb Literals=1", "Literal0=-4"}),
         "[Clause 0] Literal0=-4 is not a literal of -3..-1 or 1..3"},
        {with({"Nb Literals=2", "Literal0=2"}), "[Clause 0] Literal1 is missing"},
        {with({"Nb Literals=-1"}), "[Clause 0] Nb Literals=-1 is outside 0..2147483647"},
        {with({"Literal0=1"}), "[Clause 0] Nb Literals is missing"},
        {with({"Nb Literals=1", "Literal0=4294967297"}),
         "[Clause 0] Literal0=4294967297 is not a 32-bit integer"},
        {{"[General Datas]", "Clause Number=1", "[Clause 0]", "Nb Literals=1", "Literal0=1"},
         "[General Datas] Total Literal Number is missing"},
        {{"[General Datas]", "Clause Number=0", "Total Literal Number=1000001"},
         "[General Datas] Total Literal Number=1000001 is outside 0..1000000"},
    };
    for (const auto& [lines, message] : cases) {
        TTraceCapture capture;
        TSatSolver solver(nullptr);
        Install(solver, {{1, 2}, {-2}}, {1.0, 0.25});
        const std::vector<double> values = solver.Values();
        EXPECT_FALSE(solver.ParseLines(TLineList(lines))) << message;
        EXPECT_EQ(capture.Boxes(), TLines_{"*ERROR*SATSolver_Unit:ReadConstraints:" + message +
                                           ", problem refused"});
        solver.LoadFromLines(TLineList(lines));
        EXPECT_EQ(solver.Clauses(), (std::vector<TClause>{{1, 2}, {-2}}));
        EXPECT_EQ(solver.Values(), values);
        EXPECT_EQ(solver.DecidedCount(), 2);
    }
}

TEST(SatStep, TraceLinesOfTheEmptySolverAnExplosionAndASolution) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    solver.Step();
    EXPECT_EQ(capture.Lines(), (TLines_{"valides : 0 / 0",
                                        "clauses valides avant explosion : 0 / 0", kSolutionLine}));

    // Every variable decided and a clause not valid: the values are drawn again.
    // The next status line replaces the explosion line.
    Install(solver, {{1, 2}, {-1}}, {1.0, 0.0});
    capture.Reset();
    solver.Step();
    EXPECT_EQ(capture.Lines(),
              (TLines_{"valides : 1 / 2", "clauses valides avant explosion : 1 / 2"}));
    EXPECT_LT(solver.DecidedCount(), 3);
    Install(solver, {{1}, {-1}}, {0.4});
    solver.Step();
    EXPECT_EQ(capture.Lines(), (TLines_{"valides : 1 / 2", "valides : 0 / 2"}));

    // Length 3 over a decided count of 2 pushes by 0.1: 0.96 passes 1 and is clamped.
    // Variables the clauses do not need are listed with " All Values Work".
    capture.Reset();
    Install(solver, {{1, -2, 3}}, {0.96, 0.0, 0.5, 0.5});
    solver.Step();
    EXPECT_EQ(capture.Lines(),
              (TLines_{"valides : 1 / 1", kSolutionLine, "Literal 1 true", "Literal 2 false",
                       "Literal 3 All Values Work", "Literal 4 All Values Work"}));

    // A stall decision that completes the solution reports it in the same step.
    capture.Reset();
    Install(solver, {{1}, {-2}}, {0.7, 0.0});
    solver.Step();
    EXPECT_EQ(capture.Lines(),
              (TLines_{"valides : 1 / 2", kSolutionLine, "Literal 1 true", "Literal 2 false"}));
}

TEST(SatStep, StallDecisionsAndTheDecidedCountThatStopsPushes) {
    TTraceCapture capture;
    TSatSolver solver(nullptr);
    // Single-literal clauses never push (entry 0 is always decided); the stalled
    // step decides the value nearest to a bound.
    Install(solver, {{1}, {-2}, {3}}, {0.3, 0.6, 0.8});
    solver.Step();
    EXPECT_EQ(solver.Values(), (std::vector<double>{0.0, 0.3, 0.6, 1.0}));
    solver.Step();
    EXPECT_EQ(solver.Values(), (std::vector<double>{0.0, 0.0, 0.6, 1.0}));
    // Equal distances: the smallest, the first of equal values, becomes false.
    Install(solver, {{1}, {2}, {3}}, {0.5, 0.5, 0.5});
    solver.Step();
    EXPECT_EQ(solver.Values(), (std::vector<double>{0.0, 0.0, 0.5, 0.5}));
    Install(solver, {{1}, {-2}}, {0.5000001, 1.0});
    solver.Step();
    EXPECT_EQ(solver.Values()[1], 1.0);

    // Decided count 2 = the clause's length: no push, a stall.
    Install(solver, {{2, 3}}, {0.0, 0.7, 0.4});
    solver.Step();
    EXPECT_EQ(solver.Values(), (std::vector<double>{0.0, 0.0, 1.0, 0.4}));
    // A value reaching exactly 1.0 within the push counts for the next clause at once.
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
    for (const auto [clauses, variables, from, to] : std::vector<std::array<int32_t, 4>>{
             {80, 24, 10, 16}, {218, 50, 3, 3}, {60, 8, 1, 4}, {20, 30, 2, 40}, {5, 3, 0, 2}}) {
        for (uint64_t seed = 1; seed <= 6; ++seed) {
            RandomSeed(seed);
            const TSatProblem problem = RandomSatProblem(clauses, variables, from, to);
            TSatSolver solver(nullptr);
            solver.LoadProblem(problem);
            TReferenceSat reference{problem.Clauses, solver.Values()};
            for (int step = 0; step < 400 && !solver.IsFinished(); ++step) {
                const bool exploding =
                    solver.DecidedCount() == static_cast<int32_t>(solver.Values().size());
                RandomSeed(seed * 1000 + static_cast<uint64_t>(step));
                solver.Step();
                RandomSeed(seed * 1000 + static_cast<uint64_t>(step));
                reference.Step();
                ASSERT_EQ(solver.Values(), reference.Values) << "seed " << seed << " step " << step;
                ASSERT_EQ(solver.DecidedCount(), reference.DecidedCount());
                explosions += exploding;
                solutions += solver.IsFinished();
            }
        }
    }
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
    EXPECT_EQ(solver.ValueColour(1, 25), clWhite);

    solver.ShowValues();
    EXPECT_EQ(control.ColCount(), 41);
    EXPECT_EQ(control.RowCount(), 25);
    EXPECT_EQ(control.ColWidth(0), 20);
    EXPECT_EQ(control.ColWidth(40), 8);    // trunc(381 / 40) - 1
    EXPECT_EQ(control.RowHeight(24), 12);  // trunc(373 / 25 - 1) - 1
    for (int32_t row = 1; row < 25; ++row) {
        for (int32_t col = 1; col < 41; ++col) {
            if (col == control.Col() && row == control.Row()) continue;  // drawn as selected
            control.DrawCell(col, row);
            const TRect r = control.CellRect(col, row);
            const int32_t green =
                static_cast<int32_t>(std::trunc(39 * solver.Values()[static_cast<size_t>(row)])) +
                1;
            ASSERT_EQ(control.fBitmap.Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2),
                      col == green ? clGreen : clWhite)
                << col << " " << row;
        }
    }
    // Rows too many for the grid's height keep one pixel.
    solver.LoadProblem(TSatProblem{400, {}});
    solver.ShowValues();
    EXPECT_EQ(control.RowHeight(400), 1);
    EXPECT_TRUE(capture.Boxes().empty());
}

// Whether every cell of the value columns is drawn in its ValueColour.
testing::AssertionResult CellsAtValueColour(TMemoryGridControl& control, const TSatSolver& solver) {
    for (int32_t row = 1; row < control.RowCount(); ++row)
        for (int32_t col = 1; col < 41; ++col) {
            if (col == control.Col() && row == control.Row()) continue;
            control.DrawCell(col, row);
            const TRect r = control.CellRect(col, row);
            if (control.fBitmap.Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2) !=
                solver.ValueColour(col, row))
                return testing::AssertionFailure() << "cell " << col << " " << row;
        }
    return testing::AssertionSuccess();
}

// Steps after the first colour only the cells whose colour changed; every cell
// still shows ValueColour, across explosions, new problems and set values.
TEST(SatDisplay, EachStepLeavesEveryCellAtItsValueColour) {
    TTraceCapture capture;
    TMemoryGridControl control(5, 5, 1, 1, 401, 393);
    TSatSolver solver(&control);
    RandomSeed(5);
    const TSatProblem problem = RandomSatProblem(218, 50, 3, 3);
    solver.LoadProblem(problem);
    int checks = 0;
    for (int step = 0; step < 400; ++step) {
        if (step == 150) solver.LoadProblem(RandomSatProblem(80, 24, 10, 16));
        if (step == 300) solver.SetValue(3, 0.5);
        const int changedBefore = control.fCellsChanged;
        solver.Step();
        if (step > 0 && step != 150 && step != 300) {
            EXPECT_LE(control.fCellsChanged - changedBefore, 2 * control.RowCount()) << step;
        }
        if (step % 25 != 0 && step != 150 && step != 300) continue;
        ++checks;
        ASSERT_TRUE(CellsAtValueColour(control, solver)) << "step " << step;
    }
    EXPECT_EQ(checks, 16);
    EXPECT_TRUE(capture.Boxes().empty());
}

// Paced steps leave the grid alone; ShowValues, after any number of them and
// across a new problem, and the end of the pace colour it for the newest values.
TEST(SatDisplay, PacedStepsAreColouredWhenShown) {
    TTraceCapture capture;
    TMemoryGridControl control(5, 5, 1, 1, 401, 393);
    TSatSolver solver(&control);
    RandomSeed(7);
    solver.LoadProblem(RandomSatProblem(218, 50, 3, 3));
    solver.Step();
    solver.SetDisplayPaced(true);
    for (int step = 1; step < 300; ++step) {
        if (step == 120) solver.LoadProblem(RandomSatProblem(80, 24, 10, 16));
        const int changedBefore = control.fCellsChanged;
        solver.Step();
        ASSERT_EQ(control.fCellsChanged, changedBefore) << step;
        if (step % 37 == 0) {
            solver.ShowValues();
            ASSERT_TRUE(CellsAtValueColour(control, solver)) << "step " << step;
        }
    }
    solver.SetDisplayPaced(false);
    EXPECT_TRUE(CellsAtValueColour(control, solver));
    solver.Step();
    EXPECT_TRUE(CellsAtValueColour(control, solver));
    EXPECT_TRUE(capture.Boxes().empty());
}
