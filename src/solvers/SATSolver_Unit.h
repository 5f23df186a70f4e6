// SATSolver_Unit: one satisfiability problem (clauses over numbered boolean
// variables, each variable carrying a real value in [0, 1]), its random
// generation as constraint-file text, the reading of that text, and the
// relaxation search that pushes the values towards 0 (false) or 1 (true), shown
// live in a grid of 41 columns, one row per variable.
//
// The constraint file is INI text:
//   [General Datas]          Clause Number=C, Total Literal Number=N
//   [Clause i]  i = 0..C-1   Nb Literals=k, Literal0=L .. Literal<k-1>=L
// with every literal L a signed variable number, +v or -v, v in 1..N.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Colour.h"
#include "base/Line_List.h"

class IGridControl;
class TIniManager;
class TMyStringGrid;

using TClause = std::vector<int32_t>;

// A problem as the files describe it: the number of variables and the clauses.
struct TSatProblem {
    int32_t VariableCount = 0;
    std::vector<TClause> Clauses;
    friend bool operator==(const TSatProblem&, const TSatProblem&) = default;
};

// The most variables a problem may declare: the value table and the grid get one
// entry per variable, so an absurd count is refused rather than allocated.
constexpr int32_t kMaxSatVariables = 1000000;
// The most clauses, and literals in all (clauses times the longest clause), that
// Generate writes: each literal is a line of text.
constexpr int32_t kMaxSatClauses = 1000000;
constexpr int64_t kMaxSatLiterals = 10000000;

// Why Generate refuses these arguments (negative, From > To, literals over no
// variable, or more than the bounds above), or the empty text when it accepts them.
std::string GenerateRefusal(int32_t clauseCount, int32_t variableCount, int32_t from, int32_t to);

// Whether the literals and the variable count fit together: every literal is
// +v or -v with v in 1..VariableCount. Reports nothing.
bool LiteralFits(int32_t literal, int32_t variableCount);

// A clause is valid when one of its literals is satisfied: a positive literal
// whose variable is exactly 1.0, a negative one whose variable is exactly 0.0.
// The literals must index `values`. An empty clause is never valid.
bool IsClauseValid(const TClause& clause, const std::vector<double>& values);

// The result of reading constraint text.
enum class TConstraintRead {
    Read,            // the problem is complete and every literal fits
    NoClauseNumber,  // "Clause Number" is absent from "General Datas"; nothing reported
    Refused,         // a count or literal is missing, not an integer or out of range; reported
};

// Reads the problem held by an INI reader built from constraint text. A refused
// text is reported with one Error naming the section and key at fault.
TConstraintRead ReadConstraints(const TIniManager& ini, TSatProblem& problem);

// Reads constraint text on its own (the solver is not involved). A text without
// "Clause Number" is reported too, naming `source`. True when the problem was read.
bool ReadConstraintText(const TLines& lines, const std::string& source, TSatProblem& problem);

// The constraint-file lines of a problem.
std::vector<std::string> ConstraintLines(const TSatProblem& problem);

class TSatSolver {
  public:
    // The grid control to draw into; none for a solver that only computes.
    explicit TSatSolver(IGridControl* grid);
    ~TSatSolver();
    TSatSolver(const TSatSolver&) = delete;
    TSatSolver& operator=(const TSatSolver&) = delete;

    // Replaces the lines with a random problem of `clauseCount` clauses over
    // `variableCount` variables, each clause of `from` to `to` literals. Reseeds the
    // random source first. The solver itself is not changed. Negative arguments,
    // from > to, literals over no variable, and more than kMaxSatVariables
    // variables, kMaxSatClauses clauses or kMaxSatLiterals possible literals are
    // refused with an Error, and the lines are left as they were. True when a
    // problem was written.
    bool Generate(int32_t clauseCount, int32_t variableCount, int32_t from, int32_t to,
                  TLines& lines) const;
    // ParseLines, then a fresh random value in [0, 1) for every variable 1..N.
    // True when the text's problem was installed.
    bool LoadFromLines(const TLines& lines);
    // Reads the lines into clauses and values through a new INI reader, which
    // replaces the previous one. Without "Clause Number" in "General Datas" the
    // previous problem stays; a refused text (see ReadConstraints) leaves it too.
    // True when the text's problem was installed.
    bool ParseLines(const TLines& lines);
    // Installs a problem whose literals fit (as the DIMACS reader gives it) with
    // fresh random values, as LoadFromLines does for constraint text.
    void LoadProblem(const TSatProblem& problem);

    // One step of the search: status line, explosion, push, clamp, solution or
    // stall decision, display.
    void Step();
    bool IsFinished() const;
    int32_t ValidClauseCount() const;
    // The entries of the whole value table, index 0 included, that are exactly
    // 0.0 or 1.0. Kept up to date as values change.
    int32_t DecidedCount() const { return fDecidedCount; }
    // "Solution trouvée", then one line per variable.
    void ShowSolution() const;
    // Lays out the grid (41 columns, one row per variable) and colours it through
    // ValueColour.
    void ShowValues();
    // While paced, a step leaves the grid as it stands and ShowValues brings it
    // to the newest values: a caller that shows the grid at the screen's pace
    // calls it before each paint can run. Ending the pace shows the values.
    void SetDisplayPaced(bool paced);
    // Green in the column that matches the row's value (column 1 for 0.0, 40 for
    // 1.0), white elsewhere and for rows without a variable.
    TColor ValueColour(int32_t col, int32_t row) const;

    const std::vector<TClause>& Clauses() const { return fClauses; }
    const std::vector<double>& Values() const { return fValues; }
    int32_t VariableCount() const;
    // Whether a problem was ever installed (one of no clause counts): before,
    // the value table is empty and a step has nothing to search.
    bool HasProblem() const { return !fValues.empty(); }
    // Sets the value of variable 1..N (a value in [0, 1]).
    void SetValue(int32_t variable, double value);
    // Sets variable 1..N to exactly 1.0 (true) or 0.0 (false), as another search
    // moving over the same problem does: the grid then recolours only the rows
    // whose value changed, as after a step.
    void SetTruth(int32_t variable, bool value);
    bool IsDisplayPaced() const { return fDisplayPaced; }

  private:
    void Install(TSatProblem problem);
    void DrawValues();
    void RecountDecided();
    // The column of the row's green cell, 1 (false) to 40 (true).
    int32_t GreenColumn(size_t row) const;
    void DecideOneVariable();

    std::unique_ptr<TIniManager> fIni;
    std::vector<TClause> fClauses;
    std::unique_ptr<TMyStringGrid> fGrid;
    std::vector<double> fValues;
    std::vector<double> fSnapshot;  // the values before the push of a step
    int32_t fDecidedCount = 0;
    // ValidClauseCount while the values stay as they are; -1 once they change.
    mutable int32_t fValidCount = -1;
    // The rows and the size the grid was last laid out for (0 before), and the
    // green column of each row as the grid shows it: empty until the grid is
    // laid out, and again once values change outside a step.
    int32_t fLaidOutRows = 0;
    int32_t fLaidOutWidth = 0;
    int32_t fLaidOutHeight = 0;
    std::vector<int32_t> fShownGreen;
    bool fDisplayPaced = false;
};

// The solver of the SAT page: made by the main window's creation, released when
// it closes; the main window owns it.
extern TSatSolver* SatSolver;
