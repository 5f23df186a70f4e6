// My_String_Grid_Unit: the typed grid, a wrapper around a grid control of text
// cells. It takes over the control's events (calling the handlers installed
// before its own), keeps per-cell backgrounds, fonts, read-only flags and colour
// rules beside the control's texts, numbers the rows in column 0, fits the
// column widths to the texts, sorts the data rows when a column header is
// clicked, lets typing replace a cell's text, and draws every cell itself.
//
// One cell change, from the caller to the screen: SetCell writes the text into
// the control (which marks the cell as changed), then recomputes the cell's
// background from its colour rules; a background that comes out different marks
// the cell too (CellChanged). The control draws the marked cells at the screen's
// pace, asking this wrapper for each (DrawCell, through the taken-over OnDrawCell).
//
// The colour rules live in Color_Constraint_Unit.cpp, the cell types in
// Cell_Type_Unit. Reports go through the Messenger.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Line_List.h"
#include "common/My_Types_Unit.h"
#include "platform/Grid_Control.h"
#include "tables/Color_Constraint_Unit.h"

// Told of the cell being left, with the text it had when it was entered.
using TCellChangeCallback = std::function<void(int32_t col, int32_t row, const std::string& text)>;
// The background of a cell that carries a colour-function rule.
using TColorFunction = std::function<TColor(int32_t col, int32_t row)>;
// Orders two (text, row) pairs: negative, 0 or positive.
using TPairCompare = std::function<int32_t(const TPairOfStringInt&, const TPairOfStringInt&)>;

class TMyStringGrid {
  public:
    // `grid` is not owned and must outlive the wrapper's use of it; the handlers
    // installed on it stay and, once the wrapper is gone, only forward. The cell
    // type checks look up `lists` (not owned), or the process-wide lists.
    TMyStringGrid(IGridControl* grid, TCellChangeCallback changeCallback,
                  TReferenceLists* lists = nullptr);
    ~TMyStringGrid();
    TMyStringGrid(const TMyStringGrid&) = delete;
    TMyStringGrid& operator=(const TMyStringGrid&) = delete;

    void SetAllEnabled(bool value);

    // ---- reading the control ----
    int32_t GetColCount() const { return fGrid->ColCount(); }
    int32_t GetRowCount() const { return fGrid->RowCount(); }
    int32_t GetFixedCols() const { return fGrid->FixedCols(); }
    int32_t GetFixedRows() const { return fGrid->FixedRows(); }
    int32_t GetCol() const { return fGrid->Col(); }
    int32_t GetRow() const { return fGrid->Row(); }
    int32_t GetTopRow() const { return fGrid->TopRow(); }
    int32_t GetWidth() const { return fGrid->Width(); }
    int32_t GetHeight() const { return fGrid->Height(); }
    int32_t GetGridLineWidth() const { return fGrid->GridLineWidth(); }
    int32_t GetColWidth(int32_t col) const { return fGrid->ColWidth(col); }
    int32_t GetRowHeight(int32_t row) const { return fGrid->RowHeight(row); }
    IGridCanvas& GetCanvas() const { return fGrid->Canvas(); }

    // ---- changing the control ----
    void SetColWidth(int32_t col, int32_t pixels) { fGrid->SetColWidth(col, pixels); }
    void SetRowHeight(int32_t row, int32_t pixels) { fGrid->SetRowHeight(row, pixels); }
    void SetColCount(int32_t count);
    void SetRowCount(int32_t count);
    void SetRow(int32_t row);
    void SetTopRow(int32_t row);
    void Refresh();

    // ---- cells ----
    std::string GetCell(int32_t col, int32_t row) const;
    // Refuses read-only cells.
    void SetCell(int32_t col, int32_t row, const std::string& text);
    // The wrapper's own write: no read-only check.
    void PutCell(int32_t col, int32_t row, const std::string& text);
    void CellLeft(int32_t col, int32_t row, const std::string& text);
    void RememberEntered(const std::string& text);
    bool IsReadOnly(int32_t col, int32_t row) const;

    // ---- colours and tables ----
    void InitColors(int32_t col, int32_t row);
    void InitColors(int32_t col);
    void InitColors();
    void ResizeCellTables();
    void NumberRows();
    void FitColWidths();
    TColor CellBackColor(int32_t col, int32_t row) const;
    const TFont& CellFont(int32_t col, int32_t row) const;
    const std::vector<TColorConstraint>& CellColorConstraints(int32_t col, int32_t row) const;

    // ---- colour rules (Color_Constraint_Unit.cpp) ----
    void AddColColorConstraint(int32_t col, TCellType type, TColor color);
    void AddColColorFunction(int32_t col, TColorFunction function);
    void SetColorFunction(TColorFunction function);
    void ClearColorConstraints();
    void EmptyColorConstraints();
    void ExecuteColorconstraints();
    void ExecuteColorconstraints(int32_t col);
    void ExecuteColorconstraints(int32_t col, int32_t row);

    // Whether the text, without its surrounding spaces, is of the type (0 to 53).
    bool CheckType(const std::string& text, TCellType type) {
        return ::CheckType(text, type, *fLists);
    }

    // ---- sorting ----
    void TrierColonne(int32_t col, const TPairCompare& compare);

    std::string EnteredCellText;
    bool SortAscending = false;
    int32_t SortColumn = 0;
    bool NotifyEnabled = true;
    bool ColorsEnabled = true;
    bool ResizeEnabled = true;
    bool AutoNumberRows = true;
    bool AutoColWidths = true;
    bool RememberEnabled = true;
    bool SelectEnabled = true;
    bool BlendSelection = false;
    TColor DefaultBackColor = clWhite;
    TFont HeaderFont;
    TColor SelectedBackColor = clNavy;
    TColor FixedBackColor = clBtnFace;
    TCellChangeCallback CellChangeCallback;
    TColorFunction ColorFunction;

  private:
    struct TTakeOver;

    void InstallHandlers();
    bool InTables(int32_t col, int32_t row) const;
    bool InControl(int32_t col, int32_t row) const;
    bool IsDataCell(int32_t col, int32_t row) const;
    // The wrapper's part of each taken-over event.
    void DrawCell(int32_t col, int32_t row, const TRect& rect, TGridDrawState state);
    void SelectCell(int32_t& col, int32_t row);
    void KeyDown(uint16_t key, TShiftState shift);
    bool DoubleClickOnDataCell() const;
    void Wheel();
    void HeaderClick(int32_t x, int32_t y);
    void FocusLeft();
    // A background, and the control told when it differs from the one before.
    void SetBackColor(int32_t col, int32_t row, TColor colour);
    // The background that the cell's rules give, or `colour` when none applies.
    TColor RuleColour(int32_t col, int32_t row, TColor colour);
    // InitColors and the colour rules of a cell, of a column, of every cell: in
    // one assignment per cell, so that a cell that comes out as it was is not
    // drawn again.
    void Recolour(int32_t col, int32_t row);
    void RecolourColumn(int32_t col);
    void RecolourAll();

    IGridControl* fGrid;
    std::vector<std::vector<TColor>> fGridBackColor;  // [column][row]
    std::vector<std::vector<TFont>> fCellFonts;
    std::vector<std::vector<bool>> fReadOnly;
    std::vector<std::vector<std::vector<TColorConstraint>>> fColorConstraints;
    TReferenceLists* fLists;
    std::shared_ptr<TTakeOver> fTakeOver;
};
