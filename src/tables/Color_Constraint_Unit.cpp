// The colour rules of the typed grid: adding them to whole columns, the colour
// function, and applying the rules of a cell, a column or the grid.
#include <algorithm>

#include "diagnostics/TraceUnit.h"
#include "tables/My_String_Grid_Unit.h"

void TMyStringGrid::AddColColorConstraint(int32_t col, TCellType type, TColor color) {
    if (col < 0 || col >= static_cast<int32_t>(fColorConstraints.size())) {
        Messenger.ErrorInt("TMyStringGrid.AddColColorConstraint : Bad Col Param : ", col);
        return;
    }
    for (auto& rules : fColorConstraints[static_cast<size_t>(col)]) rules.push_back({type, color});
    RecolourColumn(col);
}

void TMyStringGrid::AddColColorFunction(int32_t col, TColorFunction function) {
    ColorFunction = std::move(function);
    AddColColorConstraint(col, ctColorFunction, clWhite);
}

void TMyStringGrid::SetColorFunction(TColorFunction function) {
    ColorFunction = function;
    for (int32_t col = GetFixedCols(); col < GetColCount(); ++col)
        AddColColorFunction(col, function);
}

void TMyStringGrid::ClearColorConstraints() {
    fColorConstraints.clear();
    ResizeCellTables();
}

void TMyStringGrid::EmptyColorConstraints() {
    for (auto& column : fColorConstraints)
        for (auto& rules : column) rules.clear();
}

void TMyStringGrid::ExecuteColorconstraints() {
    for (int32_t col = 0; col < GetColCount(); ++col) ExecuteColorconstraints(col);
}

void TMyStringGrid::ExecuteColorconstraints(int32_t col) {
    if (col < 0 || col >= static_cast<int32_t>(fGridBackColor.size())) {
        Messenger.ErrorInt("TMyStringGrid.ExecuteColorconstraints: Bad Params col ", col);
        return;
    }
    for (int32_t row = 0; row < GetRowCount(); ++row) ExecuteColorconstraints(col, row);
}

void TMyStringGrid::ExecuteColorconstraints(int32_t col, int32_t row) {
    if (!ColorsEnabled) return;
    if (col < 0 || col >= static_cast<int32_t>(fGridBackColor.size())) {
        Messenger.ErrorInt("TMyStringGrid.ExecuteColorconstraints: Bad Params Col ", col);
        return;
    }
    auto& column = fGridBackColor[static_cast<size_t>(col)];
    if (row < 0 || row >= static_cast<int32_t>(column.size())) {
        Messenger.ErrorInt("TMyStringGrid.ExecuteColorconstraints: Bad Params Row ", row);
        return;
    }
    SetBackColor(col, row, RuleColour(col, row, column[static_cast<size_t>(row)]));
}

TColor TMyStringGrid::RuleColour(int32_t col, int32_t row, TColor colour) {
    if (col < GetFixedCols() || row < GetFixedRows()) return colour;
    const std::vector<TColorConstraint>& rules = CellColorConstraints(col, row);
    const bool byFunction = std::any_of(rules.begin(), rules.end(), [](const TColorConstraint& r) {
        return r.Type == ctColorFunction;
    });
    if (byFunction) return ColorFunction ? ColorFunction(col, row) : colour;
    for (const TColorConstraint& rule : rules)
        if (CheckType(GetCell(col, row), rule.Type)) return rule.Color;
    return colour;
}

void TMyStringGrid::SetBackColor(int32_t col, int32_t row, TColor colour) {
    TColor& background = fGridBackColor[static_cast<size_t>(col)][static_cast<size_t>(row)];
    if (background == colour) return;
    background = colour;
    fGrid->CellChanged(col, row);
}

void TMyStringGrid::Recolour(int32_t col, int32_t row) {
    if (!ColorsEnabled) return;
    if (!InTables(col, row)) {  // both report the position
        InitColors(col, row);
        ExecuteColorconstraints(col, row);
        return;
    }
    SetBackColor(col, row, RuleColour(col, row, DefaultBackColor));
}

void TMyStringGrid::RecolourColumn(int32_t col) {
    if (!ColorsEnabled) return;
    const auto rows = static_cast<int32_t>(fGridBackColor[static_cast<size_t>(col)].size());
    for (int32_t row = 0; row < std::min(rows, GetRowCount()); ++row) Recolour(col, row);
    for (int32_t row = GetRowCount(); row < rows; ++row) InitColors(col, row);
}

void TMyStringGrid::RecolourAll() {
    for (int32_t col = 0; col < static_cast<int32_t>(fGridBackColor.size()); ++col)
        RecolourColumn(col);
}
