#include "solvers/SATSolver_Unit.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "base/Integer_Text.h"
#include "base/Real_Format.h"
#include "common/Ini_Manager_Unit.h"
#include "common/Random_Source.h"
#include "common/String_Manager_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "tables/My_String_Grid_Unit.h"

TSatSolver* SatSolver = nullptr;

namespace {

constexpr double kPushFactor = 0.1;
constexpr double kInitialMinimum = 2.0;
constexpr double kInitialMaximum = -1.0;
constexpr int32_t kGridColumns = 41;  // the fixed column and 40 cells across

const char kGeneralSection[] = "General Datas";
const char kClauseNumberKey[] = "Clause Number";
const char kVariableNumberKey[] = "Total Literal Number";
const char kLiteralCountKey[] = "Nb Literals";

bool IsDecided(double value) {
    return value == 0.0 || value == 1.0;
}

std::string ClauseSection(int32_t clause) {
    return "Clause " + IntToStr(clause);
}
std::string LiteralKey(int32_t literal) {
    return "Literal" + IntToStr(literal);
}

// Reads one integer of the constraint text, silently: ReadConstraints reports
// what is wrong once, naming the section and key.
class TConstraintReader {
  public:
    explicit TConstraintReader(const TIniManager& ini) : fIni(ini) {}

    // False, reported, when the key is missing or its value is not a 32-bit
    // integer. `found` is the section's SectionForKeys, when the caller has it
    // at hand for many keys.
    bool Read(const std::string& section, const std::string& key, int32_t& value,
              const TIniSection* found = nullptr) const {
        if (found ? !found->Pairs().HasKey(key) : !fIni.KeyExists(section, key))
            return Refuse(section, key + " is missing");
        const std::string text = found ? found->Pairs().getData(key) : fIni.Get(section, key);
        const std::optional<int32_t> read = ParseInt32(text, TIntegerForm::Pattern);
        if (!read)
            return Refuse(section,
                          key + "=" + TStringManager::Printable(text) + " is not a 32-bit integer");
        value = *read;
        return true;
    }
    bool ReadCount(const std::string& section, const std::string& key, int32_t highest,
                   int32_t& value, const TIniSection* found = nullptr) const {
        if (!Read(section, key, value, found)) return false;
        if (value < 0 || value > highest)
            return Refuse(section,
                          key + "=" + IntToStr(value) + " is outside 0.." + IntToStr(highest));
        return true;
    }
    static bool Refuse(const std::string& section, const std::string& what) {
        Messenger.Error("SATSolver_Unit:ReadConstraints:[" + section + "] " + what +
                        ", problem refused");
        return false;
    }

  private:
    const TIniManager& fIni;
};

}  // namespace

bool LiteralFits(int32_t literal, int32_t variableCount) {
    return literal != 0 && literal != std::numeric_limits<int32_t>::min() &&
           std::abs(literal) <= variableCount;
}

bool IsClauseValid(const TClause& clause, const std::vector<double>& values) {
    for (const int32_t literal : clause) {
        const double value = values[static_cast<size_t>(std::abs(literal))];
        if (literal > 0 ? value == 1.0 : value == 0.0) return true;
    }
    return false;
}

TConstraintRead ReadConstraints(const TIniManager& ini, TSatProblem& problem) {
    if (!ini.KeyExists(kGeneralSection, kClauseNumberKey)) return TConstraintRead::NoClauseNumber;
    const TConstraintReader reader(ini);
    int32_t clauseCount = 0;
    TSatProblem read;
    if (!reader.ReadCount(kGeneralSection, kClauseNumberKey, std::numeric_limits<int32_t>::max(),
                          clauseCount) ||
        !reader.ReadCount(kGeneralSection, kVariableNumberKey, kMaxSatVariables,
                          read.VariableCount))
        return TConstraintRead::Refused;
    for (int32_t i = 0; i < clauseCount; ++i) {
        const std::string section = ClauseSection(i);
        // A text of a million clauses asks for millions of keys: the section
        // is found once for all of its own.
        const TIniSection* found = ini.SectionForKeys(section);
        int32_t length = 0;
        if (!reader.ReadCount(section, kLiteralCountKey, std::numeric_limits<int32_t>::max(),
                              length, found))
            return TConstraintRead::Refused;
        TClause clause;
        for (int32_t j = 0; j < length; ++j) {
            const std::string key = LiteralKey(j);
            int32_t literal = 0;
            if (!reader.Read(section, key, literal, found)) return TConstraintRead::Refused;
            if (!LiteralFits(literal, read.VariableCount)) {
                const std::string n = IntToStr(read.VariableCount);
                TConstraintReader::Refuse(section, key + "=" + IntToStr(literal) +
                                                       " is not a literal of -" + n +
                                                       "..-1 or 1.." + n);
                return TConstraintRead::Refused;
            }
            clause.push_back(literal);
        }
        read.Clauses.push_back(std::move(clause));
    }
    problem = std::move(read);
    return TConstraintRead::Read;
}

bool ReadConstraintText(const TLines& lines, const std::string& source, TSatProblem& problem) {
    const TIniManager ini(lines);
    switch (ReadConstraints(ini, problem)) {
        case TConstraintRead::Read:
            return true;
        case TConstraintRead::NoClauseNumber:
            Messenger.Error("SATSolver_Unit:ReadConstraintText:" + source + ": no " +
                            kClauseNumberKey + " in [" + kGeneralSection + "]");
            return false;
        case TConstraintRead::Refused:
            break;
    }
    return false;
}

std::vector<std::string> ConstraintLines(const TSatProblem& problem) {
    std::vector<std::string> lines{
        "[" + std::string(kGeneralSection) + "]",
        std::string(kClauseNumberKey) + "=" +
            IntToStr(static_cast<int64_t>(problem.Clauses.size())),
        std::string(kVariableNumberKey) + "=" + IntToStr(problem.VariableCount)};
    for (size_t i = 0; i < problem.Clauses.size(); ++i) {
        const TClause& clause = problem.Clauses[i];
        lines.push_back("[" + ClauseSection(static_cast<int32_t>(i)) + "]");
        lines.push_back(std::string(kLiteralCountKey) + "=" +
                        IntToStr(static_cast<int64_t>(clause.size())));
        for (size_t j = 0; j < clause.size(); ++j)
            lines.push_back(LiteralKey(static_cast<int32_t>(j)) + "=" + IntToStr(clause[j]));
    }
    return lines;
}

TSatSolver::TSatSolver(IGridControl* grid)
    : fGrid(grid ? std::make_unique<TMyStringGrid>(grid, nullptr) : nullptr) {}

TSatSolver::~TSatSolver() = default;

std::string GenerateRefusal(int32_t clauseCount, int32_t variableCount, int32_t from, int32_t to) {
    if (clauseCount < 0 || variableCount < 0 || from < 0)
        return "negative argument in " + IntToStr(clauseCount) + " " + IntToStr(variableCount) +
               " " + IntToStr(from) + " " + IntToStr(to);
    if (from > to) return "From " + IntToStr(from) + " > To " + IntToStr(to);
    if (variableCount == 0 && to > 0 && clauseCount > 0)
        return "0 variables for clauses of up to " + IntToStr(to) + " literals";
    if (variableCount > kMaxSatVariables)
        return IntToStr(variableCount) + " variables, more than " + IntToStr(kMaxSatVariables);
    if (clauseCount > kMaxSatClauses)
        return IntToStr(clauseCount) + " clauses, more than " + IntToStr(kMaxSatClauses);
    const int64_t literals = int64_t{clauseCount} * to;
    if (literals > kMaxSatLiterals)
        return IntToStr(clauseCount) + " clauses of up to " + IntToStr(to) + " literals, " +
               IntToStr(literals) + " literals in all, more than " + IntToStr(kMaxSatLiterals);
    return std::string();
}

bool TSatSolver::Generate(int32_t clauseCount, int32_t variableCount, int32_t from, int32_t to,
                          TLines& lines) const {
    if (const std::string refusal = GenerateRefusal(clauseCount, variableCount, from, to);
        !refusal.empty()) {
        Messenger.Error("SATSolver_Unit:TSatSolver.Generate:" + refusal + ", nothing generated");
        return false;
    }
    Randomize();
    TSatProblem problem;
    problem.VariableCount = variableCount;
    problem.Clauses.resize(static_cast<size_t>(clauseCount));
    for (TClause& clause : problem.Clauses) {
        const int32_t length = from + RandomInt(to - from + 1);
        clause.resize(static_cast<size_t>(length));
        for (int32_t& literal : clause) {
            const bool positive = RandomInt(2) == 1;
            const int32_t variable = 1 + RandomInt(variableCount);
            literal = positive ? variable : -variable;
        }
    }
    lines.Assign(ConstraintLines(problem));
    return true;
}

// A text without "Clause Number" changes no clause but still draws new values; a
// refused text leaves the previous problem whole, its values included.
bool TSatSolver::LoadFromLines(const TLines& lines) {
    const bool installed = ParseLines(lines);
    if (!installed && fIni->KeyExists(kGeneralSection, kClauseNumberKey)) return false;
    DrawValues();
    fShownGreen.clear();
    return installed;
}

bool TSatSolver::ParseLines(const TLines& lines) {
    fIni = std::make_unique<TIniManager>(lines);
    TSatProblem problem;
    if (ReadConstraints(*fIni, problem) != TConstraintRead::Read) return false;
    Install(std::move(problem));
    return true;
}

void TSatSolver::LoadProblem(const TSatProblem& problem) {
    Install(problem);
    DrawValues();
}

// The value table keeps its previous entries where they still fit; new ones are 0.
void TSatSolver::Install(TSatProblem problem) {
    fClauses = std::move(problem.Clauses);
    fValues.resize(static_cast<size_t>(problem.VariableCount) + 1, 0.0);
    RecountDecided();
    fShownGreen.clear();
}

void TSatSolver::DrawValues() {
    for (size_t v = 1; v < fValues.size(); ++v) fValues[v] = RandomReal();
    RecountDecided();
}

void TSatSolver::RecountDecided() {
    fValidCount = -1;
    fDecidedCount = 0;
    for (const double value : fValues)
        if (IsDecided(value)) ++fDecidedCount;
}

int32_t TSatSolver::VariableCount() const {
    return fValues.empty() ? 0 : static_cast<int32_t>(fValues.size()) - 1;
}

void TSatSolver::SetValue(int32_t variable, double value) {
    double& entry = fValues.at(static_cast<size_t>(variable));
    fDecidedCount +=
        static_cast<int32_t>(IsDecided(value)) - static_cast<int32_t>(IsDecided(entry));
    entry = value;
    fValidCount = -1;
    fShownGreen.clear();
}

void TSatSolver::SetTruth(int32_t variable, bool value) {
    double& entry = fValues.at(static_cast<size_t>(variable));
    const double truth = value ? 1.0 : 0.0;
    if (entry == truth) return;
    if (!IsDecided(entry)) ++fDecidedCount;
    entry = truth;
    fValidCount = -1;
}

int32_t TSatSolver::ValidClauseCount() const {
    if (fValidCount < 0) {
        fValidCount = 0;
        for (const TClause& clause : fClauses)
            if (IsClauseValid(clause, fValues)) ++fValidCount;
    }
    return fValidCount;
}

bool TSatSolver::IsFinished() const {
    return ValidClauseCount() == static_cast<int32_t>(fClauses.size());
}

void TSatSolver::Step() {
    const std::string counts =
        IntToStr(ValidClauseCount()) + " / " + IntToStr(static_cast<int64_t>(fClauses.size()));
    Messenger.SetLinesToReplace(1);
    Messenger.Send("valides : " + counts);
    Messenger.RefreshTrace();

    if (fDecidedCount == static_cast<int32_t>(fValues.size())) {
        Messenger.Send("clauses valides avant explosion : " + counts);
        DrawValues();
    }

    fSnapshot = fValues;
    // Each clause pushes its undecided variables towards satisfying its literals.
    // The decided count is the whole table's, as it stands when the clause begins;
    // a value that reaches exactly 0 or 1 during the push counts from then on.
    for (const TClause& clause : fClauses) {
        const int32_t length = static_cast<int32_t>(clause.size());
        if (length <= fDecidedCount) continue;
        const double weight = 1.0 / (length - fDecidedCount);
        for (const int32_t literal : clause) {
            double& value = fValues[static_cast<size_t>(std::abs(literal))];
            if (IsDecided(value)) continue;
            value += (literal < 0 ? -1.0 : 1.0) * weight * kPushFactor;
            if (IsDecided(value)) ++fDecidedCount;
        }
    }
    for (size_t v = 1; v < fValues.size(); ++v) {
        if (fValues[v] < 0.0) {
            fValues[v] = 0.0;
            ++fDecidedCount;
        } else if (fValues[v] > 1.0) {
            fValues[v] = 1.0;
            ++fDecidedCount;
        }
    }

    // A stalled step decides one variable; when that decision completes the
    // solution, it is reported in this step too, since the caller stops stepping
    // once the problem is finished. The valid clauses are counted once per step:
    // a stalled step without explosion still holds the count of its status line,
    // and the count made here serves the next step's.
    const bool stalled = fValues == fSnapshot;
    if (!stalled) fValidCount = -1;
    bool finished = IsFinished();
    if (!finished && stalled) {
        DecideOneVariable();
        finished = IsFinished();
    }
    if (finished) ShowSolution();
    if (!fDisplayPaced) ShowValues();
}

// The push has stalled: the undecided value nearest to a bound is decided, the
// smallest one to false when it is at least as near to 0 as the largest is to 1.
void TSatSolver::DecideOneVariable() {
    double smallest = kInitialMinimum;
    double largest = kInitialMaximum;
    size_t smallestAt = 0;
    size_t largestAt = 0;
    bool found = false;
    for (size_t v = 0; v < fValues.size(); ++v) {
        const double value = fValues[v];
        if (value <= 0.0 || value >= 1.0) continue;
        found = true;
        if (value < smallest) {
            smallest = value;
            smallestAt = v;
        }
        if (value > largest) {
            largest = value;
            largestAt = v;
        }
    }
    if (!found) return;
    if (1.0 - largest >= smallest)
        fValues[smallestAt] = 0.0;
    else
        fValues[largestAt] = 1.0;
    ++fDecidedCount;
    fValidCount = -1;
}

void TSatSolver::ShowSolution() const {
    Messenger.Send(
        "Solution trouv\xE9"
        "e");
    for (size_t v = 1; v < fValues.size(); ++v) {
        const double value = fValues[v];
        const char* meaning = value == 1.0 ? " true" : value == 0.0 ? " false" : " All Values Work";
        Messenger.Send("Literal " + IntToStr(static_cast<int64_t>(v)) + meaning);
    }
}

void TSatSolver::ShowValues() {
    if (!fGrid) return;
    TMyStringGrid& grid = *fGrid;
    grid.AutoColWidths = false;
    if (fValues.size() < 2) return;
    const auto recolour = [&grid](int32_t col, size_t row) {
        grid.InitColors(col, static_cast<int32_t>(row));
        grid.ExecuteColorconstraints(col, static_cast<int32_t>(row));
    };
    if (fLaidOutRows == static_cast<int32_t>(fValues.size()) && fLaidOutWidth == grid.GetWidth() &&
        fLaidOutHeight == grid.GetHeight()) {
        // Laid out by an earlier step for as many rows: the layout would change
        // nothing. Only the cells whose colour the values change are coloured
        // again (all of them after new values came from outside a step), which
        // leaves every cell as colouring them all would.
        if (fShownGreen.size() != fValues.size()) {
            fShownGreen.assign(fValues.size(), 0);
            for (size_t row = 1; row < fValues.size(); ++row)
                for (int32_t col = 1; col < kGridColumns; ++col) recolour(col, row);
        }
        for (size_t row = 1; row < fValues.size(); ++row) {
            const int32_t green = GreenColumn(row);
            if (green == fShownGreen[row]) continue;
            recolour(std::exchange(fShownGreen[row], green), row);
            recolour(green, row);
        }
        return;
    }
    const int32_t rows = static_cast<int32_t>(fValues.size());
    grid.SetColCount(kGridColumns);
    grid.SetRowCount(rows);

    // Sizes that the arithmetic would make zero or negative (a grid too small for
    // its rows) stay at one pixel.
    grid.SetColWidth(0, 20);
    const int32_t colWidth = static_cast<int32_t>(std::trunc(
                                 static_cast<double>(grid.GetWidth() - grid.GetColWidth(0)) / 40)) -
                             grid.GetGridLineWidth();
    for (int32_t c = 1; c < grid.GetColCount(); ++c) grid.SetColWidth(c, std::max(1, colWidth));
    grid.SetRowHeight(0, 20);
    const int32_t rowHeight =
        static_cast<int32_t>(
            std::trunc(static_cast<double>(grid.GetHeight() - grid.GetRowHeight(0)) / rows - 1)) -
        grid.GetGridLineWidth();
    for (int32_t r = 1; r < grid.GetRowCount(); ++r) grid.SetRowHeight(r, std::max(1, rowHeight));

    grid.ClearColorConstraints();
    grid.SetColorFunction([this](int32_t col, int32_t row) { return ValueColour(col, row); });
    grid.Refresh();
    fShownGreen.assign(fValues.size(), 0);
    for (size_t row = 1; row < fValues.size(); ++row) fShownGreen[row] = GreenColumn(row);
    fLaidOutRows = rows;
    fLaidOutWidth = grid.GetWidth();
    fLaidOutHeight = grid.GetHeight();
}

void TSatSolver::SetDisplayPaced(bool paced) {
    fDisplayPaced = paced;
    if (!paced) ShowValues();
}

int32_t TSatSolver::GreenColumn(size_t row) const {
    return static_cast<int32_t>(std::trunc(39 * fValues[row])) + 1;
}

TColor TSatSolver::ValueColour(int32_t col, int32_t row) const {
    if (row < 1 || static_cast<size_t>(row) >= fValues.size()) return clWhite;
    return col == GreenColumn(static_cast<size_t>(row)) ? clGreen : clWhite;
}
